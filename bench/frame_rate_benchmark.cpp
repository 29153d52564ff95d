// frame_rate_benchmark.cpp -- frames per second of the gallery frame for a loaded room of ten
// pictures at 800 x 600, and how a frame's time splits between its list calls and the rest.
#include <GL/gl.h>
#include <chrono>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "gallery/display_settings.h"
#include "app/main_window.h"
#include "gallery/folder_scanner.h"
#include "gallery/gallery_state.h"
#include "render/texture_names.h"
#include "platform/window.h"
#include "render/facing_captions.h"
#include "render/gl_state.h"
#include "render/room_lists.h"
#include "render/scene_frame.h"
#include "gl/gl_test_context.h"
#include "platform/image_library.h"

static const int WIDTH = 800;
static const int HEIGHT = 600;
static const int PICTURE_COUNT = 10;
static const int WARM_UP_FRAMES = 30;
static const int FRAMES = 300;

typedef std::chrono::steady_clock Clock;

static double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Ten 640 x 480 pictures, half BMP and half JPEG, each a different colour gradient.
static bool writePictures(const std::string &folder) {
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    bool written = ilTexImage(640, 480, 1, 3, IL_RGB, IL_UNSIGNED_BYTE, nullptr);
    for (int n = 0; n < PICTURE_COUNT && written; n++) {
        ILubyte *data = ilGetData();
        for (int y = 0; y < 480; y++)
            for (int x = 0; x < 640; x++) {
                ILubyte *p = data + ((size_t)y * 640 + x) * 3;
                p[0] = (ILubyte)(x * 255 / 640);
                p[1] = (ILubyte)(y * 255 / 480);
                p[2] = (ILubyte)(n * 25);
            }
        char name[32];
        snprintf(name, sizeof name, "picture%02d.%s", n, n % 2 ? "jpg" : "bmp");
        written = ilSaveImage((folder + "/" + name).c_str());
    }
    ilDeleteImages(1, &image);
    return written;
}

static void removeFolder(const std::string &folder) {
    for (int n = 0; n < PICTURE_COUNT; n++) {
        char name[32];
        snprintf(name, sizeof name, "picture%02d.%s", n, n % 2 ? "jpg" : "bmp");
        remove((folder + "/" + name).c_str());
    }
    rmdir(folder.c_str());
}

// The first frame of the room loads it; its progress lines are sent nowhere.
static void makeRoomReady() {
    fflush(stdout);
    int saved = dup(STDOUT_FILENO);
    FILE *sink = fopen("/dev/null", "w");
    if (sink)
        dup2(fileno(sink), STDOUT_FILENO);
    roomLoaded = false;
    drawScene();
    glFinish();
    fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    if (sink)
        fclose(sink);
}

// Whole frames, each finished with glFinish: the real window's swap would wait for the
// rendering, but here there is no window and the swap does nothing.
static double framesPerSecond() {
    for (int i = 0; i < WARM_UP_FRAMES; i++)
        drawScene();
    glFinish();
    Clock::time_point start = Clock::now();
    for (int i = 0; i < FRAMES; i++) {
        drawScene();
        glFinish();
    }
    return FRAMES / secondsSince(start);
}

struct Phases {
    double setup;       // clear, camera, light, material
    double lists;       // room shell and room contents
    double captionSwap; // blending, caption, swap
};

// The frame's steps replayed phase by phase, with glFinish closing each phase so its
// rendering is counted in it.
static Phases timePhases() {
    Phases phases = {0, 0, 0};
    const GLfloat lightPosition[4] = {1.0f, 1.0f, 0.0f, 0.0f};
    const GLfloat sceneMaterial[4] = {0.5f, 0.5f, 0.5f, 0.5f};
    for (int i = 0; i < FRAMES; i++) {
        Clock::time_point start = Clock::now();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        glRotatef(viewPitch, 1.0f, 0.0f, 0.0f);
        glRotatef(360.0f - viewHeading, 0.0f, 1.0f, 0.0f);
        glTranslatef(viewX, viewY, viewZ);
        glLightfv(GL_LIGHT1, GL_POSITION, lightPosition);
        glColor3f(1.0f, 1.0f, 1.0f);
        glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, sceneMaterial);
        glEnable(GL_TEXTURE_2D);
        glFinish();
        phases.setup += secondsSince(start);

        start = Clock::now();
        glCallList(roomShellList());
        glEnable(GL_POLYGON_OFFSET_FILL);
        glCallList(roomContentsList());
        glDisable(GL_POLYGON_OFFSET_FILL);
        glFinish();
        phases.lists += secondsSince(start);

        start = Clock::now();
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        drawFacingCaption();
        glDisable(GL_BLEND);
        glDisable(GL_TEXTURE_2D);
        swapWindowBuffers();
        glFinish();
        phases.captionSwap += secondsSince(start);
    }
    return phases;
}

static void report(const char *pose) {
    double fps = framesPerSecond();
    Phases phases = timePhases();
    double total = phases.setup + phases.lists + phases.captionSwap;
    printf("%s\n", pose);
    printf("  drawScene: %.1f frames per second (%.3f ms per frame)\n", fps, 1000.0 / fps);
    printf("  phases, ms per frame: setup %.3f, list calls %.3f, caption and swap %.3f\n",
           1000.0 * phases.setup / FRAMES, 1000.0 * phases.lists / FRAMES,
           1000.0 * phases.captionSwap / FRAMES);
    printf("  share of time: list calls %.1f %%, caption and swap %.1f %%, setup %.1f %%\n",
           100.0 * phases.lists / total, 100.0 * phases.captionSwap / total,
           100.0 * phases.setup / total);
}

int main() {
    if (!makeTestGLContextCurrent(WIDTH, HEIGHT)) {
        fprintf(stderr, "No offscreen OpenGL context\n");
        return 1;
    }
    screenWidth = WIDTH;
    screenHeight = HEIGHT;
    if (!initGLState())
        return 1;
    resizeView(WIDTH, HEIGHT);

    char folderTemplate[] = "/tmp/quillmere-bench-XXXXXX";
    if (mkdtemp(folderTemplate) == nullptr)
        return 1;
    std::string folder = folderTemplate;
    if (!writePictures(folder)) {
        fprintf(stderr, "Cannot write the pictures\n");
        removeFolder(folder);
        return 1;
    }
    snprintf(currentPath, PATH_BUFFER_SIZE, "%s", folder.c_str());
    scanFolder();
    if (pictureCount != PICTURE_COUNT) {
        fprintf(stderr, "The folder lists %u pictures, not %d\n", pictureCount, PICTURE_COUNT);
        removeFolder(folder);
        return 1;
    }
    makeRoomReady();

    printf("room of %d pictures at %dx%d, offscreen (surfaceless EGL, %s)\n", PICTURE_COUNT, WIDTH,
           HEIGHT, (const char *)glGetString(GL_RENDERER));
    printf("each frame and each phase ends with glFinish (glFinish-separated timing), %d frames\n",
           FRAMES);
    takeRoomStartPose();
    report("start pose, looking down the room (no caption)");
    // Close to the picture wall, facing the first picture: its caption is drawn.
    viewX = 1.4f;
    viewZ = -11.25f;
    viewHeading = 90.0f;
    report("before the first picture (caption shown)");

    resetGalleryState();
    removeFolder(folder);
    glDeleteLists(displayListBase, DISPLAY_LIST_COUNT);
    glDeleteTextures(TEXTURE_COUNT, textureNames);
    ilShutDown();
    return 0;
}
