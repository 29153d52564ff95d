// make_artwork.cpp -- paints the eight embedded images (room surfaces, door, frame, name plate
// and progress-bar patterns) and writes them as PNG files: make_artwork [output folder].
#include <IL/il.h>
#include <cstdio>
#include <string>

#include "artwork/artwork.h"

namespace {
struct Artwork {
    const char *file;
    Canvas (*paint)();
    int channels;
};

const Artwork artworks[] = {
    {"wall.png", paintWall, 3},
    {"floor.png", paintFloor, 3},
    {"door.png", paintDoor, 4},
    {"frame.png", paintFrame, 3},
    {"progress_fill.png", paintProgressFill, 3},
    {"progress_track.png", paintProgressTrack, 3},
    {"ceiling.png", paintCeiling, 3},
    {"plate.png", paintPlate, 3},
};
} // namespace

int main(int argc, char **argv) {
    std::string folder = argc > 1 ? argv[1] : "resources";
    std::string only = argc > 2 ? argv[2] : "";
    ilInit();
    int failures = 0;
    for (const Artwork &artwork : artworks) {
        if (!only.empty() && only != artwork.file)
            continue;
        std::string path = folder + "/" + artwork.file;
        if (savePng(artwork.paint(), artwork.channels, path)) {
            printf("Wrote %s\n", path.c_str());
        } else {
            fprintf(stderr, "Cannot write %s\n", path.c_str());
            ++failures;
        }
    }
    ilShutDown();
    return failures == 0 ? 0 : 1;
}
