// room_load_benchmark.cpp -- time and peak memory of loading a room of ten 12-megapixel
// photographs into the picture slots, against the decoder's one-thread shrink-on-load and
// DevIL's full decode of the same files.
#include <GL/gl.h>
#include <IL/il.h>
#include <IL/ilu.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "gallery/display_settings.h"
#include "gallery/gallery_state.h"
#include "images/embedded_textures.h"
#include "images/picture_decoder.h"
#include "images/room_picture_loader.h"
#include "render/room_lists.h"
#include "render/text.h"
#include "gl/gl_test_context.h"

static const int PICTURE_COUNT = 10;
static const int PICTURE_WIDTH = 4000;
static const int PICTURE_HEIGHT = 3000;
static const int RUNS = 3;

// Wall-clock and process CPU seconds: on a shared machine the CPU figure is the steadier one.
struct Seconds {
    double wall;
    double cpu;
};

struct Stopwatch {
    std::chrono::steady_clock::time_point wall;
    std::clock_t cpu;
};

static Stopwatch startWatch() {
    return {std::chrono::steady_clock::now(), std::clock()};
}

static void addElapsed(const Stopwatch &start, Seconds *total) {
    total->wall +=
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start.wall).count();
    total->cpu += (double)(std::clock() - start.cpu) / CLOCKS_PER_SEC;
}

// A landscape: a sky gradient with soft clouds over rolling hills, fields with fine texture
// and a little sensor grain, different for every n. Smooth areas and detail in the proportions
// of a photograph, so the files compress like a camera's at quality 90.
static void paintLandscape(GdkPixbuf *pixbuf, int n) {
    int width = gdk_pixbuf_get_width(pixbuf);
    int height = gdk_pixbuf_get_height(pixbuf);
    int stride = gdk_pixbuf_get_rowstride(pixbuf);
    guchar *pixels = gdk_pixbuf_get_pixels(pixbuf);
    std::vector<int> horizon(width), texture(4096), cloud(4096);
    for (int x = 0; x < width; x++)
        horizon[x] = (int)(height * (0.45 + 0.08 * std::sin(x * 0.0021 + n) +
                                     0.03 * std::sin(x * 0.011 + 2 * n)));
    for (int i = 0; i < 4096; i++) {
        texture[i] = (int)(14 * std::sin(i * 0.37) * std::sin(i * 0.051 + n));
        cloud[i] = (int)(30 * std::sin(i * 0.004 + n) * std::sin(i * 0.0097));
    }
    unsigned seed = 12345u + (unsigned)n;
    for (int y = 0; y < height; y++) {
        guchar *row = pixels + (size_t)y * stride;
        for (int x = 0; x < width; x++) {
            seed = seed * 1103515245u + 12345u;
            int grain = (int)((seed >> 16) & 7) - 4;
            int r, g, b;
            if (y < horizon[x]) {
                int c = cloud[(x + 2 * y) & 4095] + cloud[(3 * x - y) & 4095] / 2;
                r = 90 + y * 80 / height + c + grain;
                g = 140 + y * 60 / height + c + grain;
                b = 220 - y * 30 / height + c / 2 + grain;
            } else {
                int depth = y - horizon[x];
                int t = texture[(x * 3 + depth * 5) & 4095] + texture[(x - depth * 7) & 4095];
                int field = ((x / 400 + depth / 300 + n) % 3) * 25;
                r = 60 + field + t + grain;
                g = 120 + depth * 60 / height - field / 2 + t + grain;
                b = 40 + t / 2 + grain;
            }
            row[x * 3 + 0] = (guchar)(r < 0 ? 0 : r > 255 ? 255 : r);
            row[x * 3 + 1] = (guchar)(g < 0 ? 0 : g > 255 ? 255 : g);
            row[x * 3 + 2] = (guchar)(b < 0 ? 0 : b > 255 ? 255 : b);
        }
    }
}

static bool writePictures(const std::string &folder, std::string names[], long *totalBytes) {
    GdkPixbuf *pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, PICTURE_WIDTH, PICTURE_HEIGHT);
    bool written = pixbuf != nullptr;
    *totalBytes = 0;
    for (int n = 0; n < PICTURE_COUNT && written; n++) {
        paintLandscape(pixbuf, n);
        char name[32];
        snprintf(name, sizeof name, "photo%02d.jpg", n);
        names[n] = name;
        std::string path = folder + "/" + name;
        written = gdk_pixbuf_save(pixbuf, path.c_str(), "jpeg", nullptr, "quality", "90", nullptr);
        FILE *file = fopen(path.c_str(), "rb");
        if (file != nullptr) {
            fseek(file, 0, SEEK_END);
            *totalBytes += ftell(file);
            fclose(file);
        }
    }
    if (pixbuf != nullptr)
        g_object_unref(pixbuf);
    return written;
}

// A "VmRSS:" or "VmHWM:" figure of this process in MB, or -1.
static double statusMegabytes(const char *field) {
    FILE *status = fopen("/proc/self/status", "r");
    if (status == nullptr)
        return -1;
    char line[256];
    double megabytes = -1;
    while (fgets(line, sizeof line, status) != nullptr)
        if (strncmp(line, field, strlen(field)) == 0)
            megabytes = atof(line + strlen(field)) / 1024.0;
    fclose(status);
    return megabytes;
}

// Starts a new peak: the kernel then counts VmHWM from the present resident size.
static bool resetPeakMemory() {
    FILE *clear = fopen("/proc/self/clear_refs", "w");
    if (clear == nullptr)
        return false;
    bool reset = fputs("5", clear) >= 0;
    return fclose(clear) == 0 && reset;
}

// Runs the loader with its progress lines sent nowhere.
static void timeWholeRoom(Seconds *room) {
    fflush(stdout);
    int saved = dup(STDOUT_FILENO);
    FILE *sink = fopen("/dev/null", "w");
    dup2(fileno(sink), STDOUT_FILENO);
    Stopwatch start = startWatch();
    loadRoomPictures(nullptr);
    glFinish();
    fflush(stdout);
    addElapsed(start, room);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    fclose(sink);
}

static void timeShrinkOnLoad(const std::string &folder, const std::string names[],
                             Seconds *decode) {
    Stopwatch start = startWatch();
    for (int n = 0; n < PICTURE_COUNT; n++) {
        DecodedPicture picture;
        decodePicture((folder + "/" + names[n]).c_str(), 480, 480, &picture);
    }
    addElapsed(start, decode);
}

static void timeDevilDecode(const std::string &folder, const std::string names[], Seconds *decode) {
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    Stopwatch start = startWatch();
    for (int n = 0; n < PICTURE_COUNT; n++)
        ilLoadImage((folder + "/" + names[n]).c_str());
    addElapsed(start, decode);
    ilDeleteImages(1, &image);
}

static void printSeconds(const char *label, Seconds total) {
    printf("  %-44s %7.3f s wall %7.3f s CPU\n", label, total.wall / RUNS, total.cpu / RUNS);
}

int main() {
    if (!makeTestGLContextCurrent(800, 600)) {
        fprintf(stderr, "No offscreen OpenGL context\n");
        return 1;
    }
    glViewport(0, 0, 800, 600);
    ilInit();
    iluInit();
    ilEnable(IL_FORMAT_SET);
    ilSetInteger(IL_FORMAT_MODE, IL_RGBA);
    glGenTextures(TEXTURE_COUNT, textureNames);
    displayListBase = glGenLists(DISPLAY_LIST_COUNT);
    if (!buildFonts())
        return 1;

    char folderTemplate[] = "/tmp/quillmere-bench-XXXXXX";
    if (mkdtemp(folderTemplate) == nullptr)
        return 1;
    std::string folder = folderTemplate;
    std::string names[PICTURE_COUNT];
    long totalBytes = 0;
    if (!writePictures(folder, names, &totalBytes)) {
        fprintf(stderr, "Cannot write the pictures\n");
        return 1;
    }

    char *namePointers[PICTURE_COUNT];
    for (int n = 0; n < PICTURE_COUNT; n++)
        namePointers[n] = &names[n][0];
    snprintf(currentPath, PATH_BUFFER_SIZE, "%s", folder.c_str());
    pictureNames = namePointers;
    pictureCount = PICTURE_COUNT;
    firstPicture = 0;

    // Peak memory of the first room load, above what the process held just before it.
    double before = statusMegabytes("VmRSS:");
    bool peakReset = resetPeakMemory();
    Seconds room = {}, shrinkOnLoad = {}, devil = {};
    timeWholeRoom(&room);
    double peak = statusMegabytes("VmHWM:");
    room = {};

    for (int run = 0; run < RUNS; run++) {
        timeWholeRoom(&room);
        timeShrinkOnLoad(folder, names, &shrinkOnLoad);
        timeDevilDecode(folder, names, &devil);
    }

    printf("room of %d JPEGs of %dx%d at quality 90 (%.1f MB in all), mean of %d runs, %ld "
           "cores\n",
           PICTURE_COUNT, PICTURE_WIDTH, PICTURE_HEIGHT, totalBytes / 1e6, RUNS,
           sysconf(_SC_NPROCESSORS_ONLN));
    printSeconds("loadRoomPictures (decode, compose, upload):", room);
    printSeconds("decoder shrink-on-load, one thread:", shrinkOnLoad);
    printSeconds("DevIL full decode:", devil);
    printf("  room / one-thread shrink-on-load: %.2f wall (goal <= 1; room goal <= 0.35 s)\n",
           room.wall / shrinkOnLoad.wall);
    printf("  DevIL full decode / shrink-on-load: %.1f wall, %.1f CPU\n",
           devil.wall / shrinkOnLoad.wall, devil.cpu / shrinkOnLoad.cpu);
    if (peakReset && before >= 0 && peak >= 0)
        printf("  peak resident memory of a room load: %.1f MB above the %.1f MB before it\n",
               peak - before, before);

    pictureNames = nullptr;
    pictureCount = 0;
    for (int n = 0; n < PICTURE_COUNT; n++)
        remove((folder + "/" + names[n]).c_str());
    rmdir(folder.c_str());
    glDeleteLists(displayListBase, DISPLAY_LIST_COUNT);
    glDeleteTextures(TEXTURE_COUNT, textureNames);
    ilShutDown();
    return 0;
}
