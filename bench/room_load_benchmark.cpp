// room_load_benchmark.cpp -- time and peak memory of loading a room of ten 12-megapixel
// photographs into the picture slots, against the decoder's one-thread shrink-on-load and
// DevIL's full decode of the same files.
#include <GL/gl.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <unistd.h>

#include "gallery/display_settings.h"
#include "gallery/gallery_state.h"
#include "render/texture_names.h"
#include "loading/neighbour_rooms.h"
#include "pictures/picture_decoder.h"
#include "render/room_picture_loader.h"
#include "render/room_lists.h"
#include "render/text.h"
#include "gl/gl_test_context.h"
#include "support/photographs.h"
#include "support/temp_tree.h"
#include "support/process_memory.h"
#include "platform/image_library.h"

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

static bool writePictures(const std::string &folder, std::string names[], long *totalBytes) {
    *totalBytes = 0;
    for (int n = 0; n < PICTURE_COUNT; n++) {
        char name[32];
        snprintf(name, sizeof name, "photo%02d.jpg", n);
        names[n] = name;
        if (!writePhotograph(folder + "/" + name, n, totalBytes))
            return false;
    }
    return true;
}

// Starts a new peak: the kernel then counts VmHWM from the present resident size.
static bool resetPeakMemory() {
    FILE *clear = fopen("/proc/self/clear_refs", "w");
    if (clear == nullptr)
        return false;
    bool reset = fputs("5", clear) >= 0;
    return fclose(clear) == 0 && reset;
}

// Runs the loader cold, as on a first visit: nothing held in memory, an empty thumbnail cache,
// no background work; its progress lines are sent nowhere.
static void timeWholeRoom(Seconds *room) {
    resetNeighbourRooms();
    std::string cache = makeTempFolder();
    setenv("XDG_CACHE_HOME", cache.c_str(), 1);
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
    resetNeighbourRooms();
    removeTree(cache);
}

static void timeShrinkOnLoad(const std::string &folder, const std::string names[],
                             Seconds *decode) {
    Stopwatch start = startWatch();
    for (int n = 0; n < PICTURE_COUNT; n++) {
        Picture picture;
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

    std::string folder = makeTempFolder();
    if (folder.empty())
        return 1;
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
    removeTree(folder);
    glDeleteLists(displayListBase, DISPLAY_LIST_COUNT);
    glDeleteTextures(TEXTURE_COUNT, textureNames);
    ilShutDown();
    return 0;
}
