// room_load_benchmark.cpp -- time of loading a room of ten 4000 x 3000 JPEGs into the picture
// slots, split into decode, shrink-and-compose and upload, against DevIL decoding them alone.
#include <GL/gl.h>
#include <IL/il.h>
#include <IL/ilu.h>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "gallery/display_settings.h"
#include "gallery/gallery_state.h"
#include "images/embedded_textures.h"
#include "images/room_picture_loader.h"
#include "images/thumbnails.h"
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

// Ten photographs' worth of detail: smooth gradients with a fine deterministic texture, so the
// files compress like real pictures rather than flat colour.
static bool writePictures(const std::string &folder, std::string names[]) {
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    ilTexImage(PICTURE_WIDTH, PICTURE_HEIGHT, 1, 3, IL_RGB, IL_UNSIGNED_BYTE, nullptr);
    ILubyte *data = ilGetData();
    bool written = true;
    for (int n = 0; n < PICTURE_COUNT && written; n++) {
        unsigned seed = 12345u + (unsigned)n;
        for (int y = 0; y < PICTURE_HEIGHT; y++) {
            for (int x = 0; x < PICTURE_WIDTH; x++) {
                seed = seed * 1103515245u + 12345u;
                int grain = (int)((seed >> 16) & 31) - 16;
                ILubyte *p = data + ((size_t)y * PICTURE_WIDTH + x) * 3;
                p[0] = (ILubyte)((x * 255 / PICTURE_WIDTH + grain + n * 20) & 255);
                p[1] = (ILubyte)((y * 255 / PICTURE_HEIGHT + grain) & 255);
                p[2] = (ILubyte)(((x + y) / 16 + grain) & 255);
            }
        }
        char name[32];
        snprintf(name, sizeof name, "photo%02d.jpg", n);
        names[n] = name;
        written = ilSaveImage((folder + "/" + name).c_str());
    }
    ilDeleteImages(1, &image);
    return written;
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

// The loader's three stages one after the other, timed apart.
static void timeStages(const std::string &folder, const std::string names[], Seconds *decode,
                       Seconds *compose, Seconds *upload) {
    ILuint images[4];
    ilGenImages(4, images);
    ilBindImage(images[0]);
    ilTexImage(THUMBNAIL_SIZE, THUMBNAIL_SIZE, 1, 4, IL_RGBA, IL_UNSIGNED_BYTE, nullptr);
    ilBindImage(images[1]);
    loadTextureResource(IDR_TEX_FRAME);
    for (int n = 0; n < PICTURE_COUNT; n++) {
        Stopwatch start = startWatch();
        ilBindImage(images[2]);
        ilLoadImage((folder + "/" + names[n]).c_str());
        addElapsed(start, decode);

        start = startWatch();
        makeThumbnail(images[0], images[2], images[1], images[3]);
        addElapsed(start, compose);

        start = startWatch();
        ilBindImage(images[0]);
        glBindTexture(GL_TEXTURE_2D, textureNames[TEX_PICTURE0 + n]);
        glTexImage2D(GL_TEXTURE_2D, 0, 4, THUMBNAIL_SIZE, THUMBNAIL_SIZE, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, ilGetData());
        glFinish();
        addElapsed(start, upload);
    }
    ilDeleteImages(4, images);
}

static void timeDecodeAlone(const std::string &folder, const std::string names[], Seconds *decode) {
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
    printf("  %-34s %8.3f s wall %8.3f s CPU\n", label, total.wall / RUNS, total.cpu / RUNS);
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
    if (!writePictures(folder, names)) {
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

    Seconds room = {}, decode = {}, compose = {}, upload = {}, decodeAlone = {};
    for (int run = 0; run < RUNS; run++) {
        timeWholeRoom(&room);
        timeStages(folder, names, &decode, &compose, &upload);
        timeDecodeAlone(folder, names, &decodeAlone);
    }

    printf("room of %d JPEGs of %dx%d, mean of %d runs\n", PICTURE_COUNT, PICTURE_WIDTH,
           PICTURE_HEIGHT, RUNS);
    printSeconds("loadRoomPictures, per room:", room);
    printSeconds("  of which decode:", decode);
    printSeconds("  of which shrink and compose:", compose);
    printSeconds("  of which upload:", upload);
    printSeconds("DevIL decoding the ten files alone:", decodeAlone);
    printf("  room / decoding alone: %.2f wall, %.2f CPU\n", room.wall / decodeAlone.wall,
           room.cpu / decodeAlone.cpu);

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
