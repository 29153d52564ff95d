// room_load_benchmark_win32.cpp -- the Windows program entering a room of ten 12-megapixel
// photographs (scan, decode through WIC, frame, upload), against WIC decoding the same files to
// their fit size on one thread: bench_room_load FOLDER, run under Wine on this machine.
#include <GL/gl.h>
#include <chrono>
#include <cstdio>
#include <windows.h>

#include "gallery/folder_scanner.h"
#include "gallery/gallery_state.h"
#include "gl/gl_test_context.h"
#include "loading/neighbour_rooms.h"
#include "pictures/picture_decoder.h"
#include "platform/image_library.h"
#include "render/room_lists.h"
#include "render/room_picture_loader.h"
#include "render/text.h"
#include "render/texture_names.h"

static const int RUNS = 3;

static double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Enters the folder cold, as on a first visit: nothing held in memory. Its progress lines go
// to standard output with the figures (the script leaves them out).
static double timeEntering(const char *folder) {
    resetNeighbourRooms();
    auto start = std::chrono::steady_clock::now();
    snprintf(currentPath, PATH_BUFFER_SIZE, "%s", folder);
    scanFolder();
    loadRoomPictures(nullptr);
    glFinish();
    double seconds = secondsSince(start);
    resetNeighbourRooms();
    return seconds;
}

static double timeOneThreadDecode(const char *folder) {
    auto start = std::chrono::steady_clock::now();
    for (uint32_t n = 0; n < pictureCount; n++) {
        char path[PATH_BUFFER_SIZE + 64];
        snprintf(path, sizeof path, "%s\\%s", folder, pictureNames[n]);
        Picture picture;
        decodePicture(path, 480, 480, &picture);
    }
    return secondsSince(start);
}

int main(int argc, char **argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: bench_room_load FOLDER\n");
        return 2;
    }
    if (!makeTestGLContextCurrent(800, 600)) {
        fprintf(stderr, "No OpenGL context\n");
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

    timeEntering(argv[1]); // the first entry warms the codecs and the file cache
    if (pictureCount == 0) {
        fprintf(stderr, "No pictures in %s\n", argv[1]);
        return 1;
    }
    double room = 0, decode = 0;
    for (int run = 0; run < RUNS; run++) {
        room += timeEntering(argv[1]);
        decode += timeOneThreadDecode(argv[1]);
    }
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    printf("room of %u pictures in %s, mean of %d runs, %lu cores\n", pictureCount, argv[1], RUNS,
           system.dwNumberOfProcessors);
    printf("  %-44s %7.3f s\n", "entering (scan, decode, frame, upload):", room / RUNS);
    printf("  %-44s %7.3f s\n", "WIC decode to fit size, one thread:", decode / RUNS);
    printf("  room / one-thread decode: %.2f (goal <= 1; room goal <= 0.6 s)\n", room / decode);
    glDeleteLists(displayListBase, DISPLAY_LIST_COUNT);
    glDeleteTextures(TEXTURE_COUNT, textureNames);
    ilShutDown();
    return 0;
}
