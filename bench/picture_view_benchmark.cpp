// picture_view_benchmark.cpp -- the full-size picture view on 12-megapixel photographs at
// 1024 x 768: from Enter to the first frame that shows the picture, and stepping to a neighbour
// decoded ahead, against GdkPixbuf's own shrink-on-load of the same file to the window size on
// one thread; and the decoded pixels the view holds.
#include <GL/gl.h>
#include <chrono>
#include <cstdio>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <string>
#include <unistd.h>

#include "app/picture_view_screen.h"
#include "gallery/display_settings.h"
#include "gallery/gallery_state.h"
#include "gallery/picture_view.h"
#include "gallery/room_landing.h"
#include "gl/gl_test_context.h"
#include "loading/view_pictures.h"
#include "render/facing_captions.h"
#include "render/room_lists.h"
#include "render/text.h"
#include "render/texture_names.h"
#include "support/photographs.h"
#include "support/temp_tree.h"

static const int PICTURE_COUNT = 10;
// Openings timed after the first, which also pays for the process's first pixel rectangle: that
// one is shown on its own.
static const int RUNS = 4;
static const int WINDOW_WIDTH = 1024;
static const int WINDOW_HEIGHT = 768;

using Clock = std::chrono::steady_clock;

static double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The library alone: GdkPixbuf shrinking the JPEG while it decodes it to fit the window.
static double anchorMilliseconds(const std::string &path) {
    Clock::time_point start = Clock::now();
    GdkPixbuf *pixbuf =
        gdk_pixbuf_new_from_file_at_scale(path.c_str(), WINDOW_WIDTH, WINDOW_HEIGHT, TRUE, nullptr);
    double elapsed = millisecondsSince(start);
    if (pixbuf != nullptr)
        g_object_unref(pixbuf);
    return elapsed;
}

// Frames of the view until one shows its picture (its size is then known), as the main loop
// draws them; the time until that frame is finished.
static double drawUntilShown(Clock::time_point start) {
    for (int frame = 0; frame < 100000; ++frame) {
        drawPictureViewScreen();
        if (pictureView.zoom > 0.0)
            break;
    }
    glFinish();
    return millisecondsSince(start);
}

int main() {
    if (!makeTestGLContextCurrent(WINDOW_WIDTH, WINDOW_HEIGHT)) {
        fprintf(stderr, "No offscreen OpenGL context\n");
        return 1;
    }
    screenWidth = WINDOW_WIDTH;
    screenHeight = WINDOW_HEIGHT;
    glViewport(0, 0, WINDOW_WIDTH, WINDOW_HEIGHT);
    glGenTextures(TEXTURE_COUNT, textureNames);
    displayListBase = glGenLists(DISPLAY_LIST_COUNT);
    if (!buildFonts())
        return 1;

    std::string folder = makeTempFolder();
    std::string names[PICTURE_COUNT];
    char *namePointers[PICTURE_COUNT];
    long totalBytes = 0;
    for (int n = 0; n < PICTURE_COUNT; n++) {
        char name[32];
        snprintf(name, sizeof name, "photo%02d.jpg", n);
        names[n] = name;
        namePointers[n] = &names[n][0];
        if (!writePhotograph(folder + "/" + name, n, &totalBytes)) {
            fprintf(stderr, "Cannot write the pictures\n");
            return 1;
        }
    }
    snprintf(currentPath, PATH_BUFFER_SIZE, "%s", folder.c_str());
    pictureNames = namePointers;
    pictureCount = PICTURE_COUNT;

    // The decoders' own set-up (GdkPixbuf loads its JPEG module on first use) happens once per
    // process, in the program while the first room loads: not here, in the first timed run.
    anchorMilliseconds(folder + "/" + names[PICTURE_COUNT - 1]);
    double open = 0, step = 0, anchor = 0, worstOpen = 0, worstStep = 0;
    std::string eachOpen;
    size_t heldMost = 0;
    double firstOpening = 0;
    for (int run = 0; run <= RUNS; run++) {
        // A cold start every run: a new decoder, a picture not opened before.
        ViewPictures pictures;
        setViewPictures(&pictures);
        uint32_t index = (uint32_t)(2 * run);
        standBeforePicture(index);
        // What the window showed when Enter was pressed: the picture's caption, drawn as the
        // scene frame draws it.
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        drawFacingCaption();
        glDisable(GL_BLEND);
        glFinish();
        Clock::time_point enter = Clock::now();
        if (!openPictureViewScreen()) {
            fprintf(stderr, "The view did not open before picture %u\n", index);
            return 1;
        }
        double opened = drawUntilShown(enter);
        // The next picture, once decoded ahead.
        std::string next = folder + "/" + names[index + 1];
        pictures.waitFor(next, SIZE_WINDOW, std::chrono::seconds(10));
        heldMost = std::max(heldMost, pictures.heldBytes());
        Clock::time_point right = Clock::now();
        stepPictureView(1);
        double stepped = drawUntilShown(right);
        closePictureView();
        afterPictureViewInput();
        setViewPictures(nullptr);

        double alone = anchorMilliseconds(folder + "/" + names[index]);
        char figure[16];
        snprintf(figure, sizeof figure, " %.0f", opened);
        eachOpen += figure;
        if (run == 0) {
            firstOpening = opened;
            continue;
        }
        open += opened;
        step += stepped;
        anchor += alone;
        worstOpen = std::max(worstOpen, opened);
        worstStep = std::max(worstStep, stepped);
    }

    const double screenPicture = 4.0 * WINDOW_WIDTH * WINDOW_HEIGHT;
    printf("picture view at %dx%d on %d JPEGs of 4000x3000 at quality 90 (%.1f MB), mean of %d "
           "openings after the first, %ld cores\n",
           WINDOW_WIDTH, WINDOW_HEIGHT, PICTURE_COUNT, totalBytes / 1e6, RUNS,
           sysconf(_SC_NPROCESSORS_ONLN));
    printf("  Enter to the first frame showing the picture: %7.1f ms (worst %.1f; goal <= 120)\n",
           open / RUNS, worstOpen);
    printf("  each opening, in order (ms):%s; the first in the process, which also draws its\n"
           "  first pixel rectangle: %.1f ms\n",
           eachOpen.c_str(), firstOpening);
    printf("  GdkPixbuf shrink-on-load to the window, one thread: %7.1f ms\n", anchor / RUNS);
    printf("  view / shrink-on-load: %.2f\n", open / anchor);
    printf("  Right to the next picture, decoded ahead: %7.1f ms (worst %.1f; goal <= 30)\n",
           step / RUNS, worstStep);
    printf("  decoded pixels held by the view: %.1f MB, %.2f screen-size pictures (goal <= 3)\n",
           heldMost / 1e6, heldMost / screenPicture);

    pictureNames = nullptr;
    pictureCount = 0;
    removeTree(folder);
    glDeleteLists(displayListBase, DISPLAY_LIST_COUNT);
    glDeleteTextures(TEXTURE_COUNT, textureNames);
    return 0;
}
