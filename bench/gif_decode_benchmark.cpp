// gif_decode_benchmark.cpp -- a GIF through the program's picture path, fitted to a picture
// slot, against GdkPixbuf's own GIF loader fed the same file in the program's 256 KB reads, for
// photographs turned into GIFs at 12 and 27 megapixels and for a flat 64-megapixel canvas of a
// few dozen kilobytes; or for the GIFs named on its command line.
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "pictures/picture_decoder.h"
#include "support/crafted_pictures.h"
#include "support/photographs.h"
#include "support/temp_tree.h"

static const size_t READ_SIZE = 256 * 1024;
static const uint32_t SLOT_SIZE = 480;

static double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The library alone: its loader, fed as the program fed it, to the pixbuf of the first frame.
static double timeLoader(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> file((std::istreambuf_iterator<char>(in)), {});
    auto start = std::chrono::steady_clock::now();
    GdkPixbufLoader *loader = gdk_pixbuf_loader_new_with_type("gif", nullptr);
    for (size_t at = 0; at < file.size(); at += READ_SIZE)
        gdk_pixbuf_loader_write(loader, file.data() + at, std::min(READ_SIZE, file.size() - at),
                                nullptr);
    gdk_pixbuf_loader_close(loader, nullptr);
    bool shown = gdk_pixbuf_loader_get_pixbuf(loader) != nullptr;
    g_object_unref(loader);
    double seconds = secondsSince(start);
    return shown ? seconds : -1;
}

static double timeProgram(const std::string &path) {
    auto start = std::chrono::steady_clock::now();
    Picture picture;
    PictureDecodeResult result = decodePicture(path.c_str(), SLOT_SIZE, SLOT_SIZE, &picture);
    double seconds = secondsSince(start);
    return result == PICTURE_DECODED ? seconds : -1;
}

static void report(const char *what, const std::string &path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    double program = timeProgram(path);
    double loader = timeLoader(path);
    printf("%-34s %8.1f MB  program %7.3f s  loader alone %8.3f s  ratio %.3f\n", what,
           (double)in.tellg() / 1e6, program, loader, program / loader);
}

int main(int argc, char **argv) {
    // GIFs named on the command line are timed instead of the benchmark's own.
    if (argc > 1) {
        for (int i = 1; i < argc; ++i)
            report(argv[i], argv[i]);
        return 0;
    }
    std::string folder = makeTempFolder();
    long bytes = 0;
    std::string photo = folder + "/photo.jpg";
    if (folder.empty() || !writePhotograph(photo, 0, &bytes)) {
        fprintf(stderr, "cannot write the photograph\n");
        return 1;
    }
    // ImageMagick turns the photograph into GIFs of 256 dithered colours, as a GIF export does.
    std::string at12 = folder + "/photo12.gif", at27 = folder + "/photo27.gif";
    std::string make12 = "convert '" + photo + "' '" + at12 + "'";
    std::string make27 = "convert '" + photo + "' -resize 6000x4500 '" + at27 + "'";
    if (system(make12.c_str()) != 0 || system(make27.c_str()) != 0) {
        fprintf(stderr, "cannot make the GIFs (is ImageMagick installed?)\n");
        return 1;
    }
    GifImage flat;
    flat.width = flat.height = 7999;
    flat.indexes.assign((size_t)flat.width * flat.height, 100);
    Bytes canvas = indexedGif(7999, 7999, Bytes(768, 90), flat);
    std::string at64 = folder + "/flat64.gif";
    writeBytes(at64, canvas);

    printf("GIF to a %u-pixel slot, one thread; the ratio is program / loader alone\n", SLOT_SIZE);
    report("photograph, 4000 x 3000", at12);
    report("photograph, 6000 x 4500", at27);
    report("one colour, 7999 x 7999", at64);
    removeTree(folder);
    return 0;
}
