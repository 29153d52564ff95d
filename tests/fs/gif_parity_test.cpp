// gif_parity_test.cpp -- our GIF decoder gives, byte for byte, the canvas GdkPixbuf's loader
// gives for GIFs an encoder wrote: a photograph's colours, interlaced rows, a transparent image
// placed on a larger canvas, the first frame of an animation.
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "pictures/gif_decoder.h"
#include "support/temp_tree.h"

namespace {

bool keepSize(void *, uint32_t width, uint32_t height, uint32_t *chosenWidth,
              uint32_t *chosenHeight) {
    *chosenWidth = width;
    *chosenHeight = height;
    return true;
}

std::vector<unsigned char> readAll(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

// The loader's canvas as RGBA rows, or nothing when it cannot decode the file.
CodecPixels loaderCanvas(const std::vector<unsigned char> &file) {
    CodecPixels pixels;
    GdkPixbufLoader *loader = gdk_pixbuf_loader_new_with_type("gif", nullptr);
    bool written = gdk_pixbuf_loader_write(loader, file.data(), file.size(), nullptr);
    bool closed = gdk_pixbuf_loader_close(loader, nullptr);
    GdkPixbuf *pixbuf = written && closed ? gdk_pixbuf_loader_get_pixbuf(loader) : nullptr;
    if (pixbuf != nullptr && gdk_pixbuf_get_n_channels(pixbuf) == 4) {
        pixels.width = (uint32_t)gdk_pixbuf_get_width(pixbuf);
        pixels.height = (uint32_t)gdk_pixbuf_get_height(pixbuf);
        const guint8 *rows = gdk_pixbuf_read_pixels(pixbuf);
        size_t stride = (size_t)gdk_pixbuf_get_rowstride(pixbuf);
        for (uint32_t y = 0; y < pixels.height; ++y)
            pixels.rgba.insert(pixels.rgba.end(), rows + y * stride,
                               rows + y * stride + pixels.width * 4);
    }
    g_object_unref(loader);
    return pixels;
}

} // namespace

TEST(GifParity, OurCanvasIsTheSystemLoadersByteForByte) {
    std::string folder = makeTempFolder();
    ASSERT_FALSE(folder.empty());
    struct Case {
        const char *name;
        std::string arguments;
        uint32_t width, height;
    };
    const Case cases[] = {
        {"photo.gif", "-size 160x120 -seed 7 plasma:fractal", 160, 120},
        {"interlaced.gif", "-size 160x120 -seed 8 plasma:fractal -interlace GIF", 160, 120},
        {"placed.gif",
         "-size 60x40 xc:none -fill 'rgb(200,30,30)' -draw 'circle 30,20 30,5' "
         "-repage 100x80+25+17",
         100, 80},
        {"animation.gif", "-delay 10 -size 50x40 xc:'rgb(250,10,10)' xc:blue -loop 0", 50, 40},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = folder + "/" + c.name;
        ASSERT_EQ(system(("convert " + c.arguments + " '" + path + "'").c_str()), 0);
        std::vector<unsigned char> file = readAll(path);
        CodecPixels expected = loaderCanvas(file);
        ASSERT_EQ(expected.width, c.width);
        ASSERT_EQ(expected.height, c.height);

        GifDecoder decoder(keepSize, nullptr);
        decoder.feed(file.data(), file.size());
        CodecPixels ours;
        ASSERT_TRUE(decoder.finish(&ours));
        EXPECT_EQ(ours.width, expected.width);
        EXPECT_EQ(ours.height, expected.height);
        EXPECT_TRUE(ours.rgba == expected.rgba);
    }
    removeTree(folder);
}
