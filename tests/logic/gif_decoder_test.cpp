// gif_decoder_test.cpp -- our GIF decoder against canvases worked out from the indexes that
// went into crafted files: colours, placement, interlacing, transparency, however the bytes
// arrive, and the files it must not show.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "pictures/gif_decoder.h"
#include "support/crafted_pictures.h"

namespace {

// A colour table whose entries all differ: index i is (i, 255 - i, i * 7).
Bytes rampMap() {
    Bytes map;
    for (int i = 0; i < 256; ++i)
        map.insert(map.end(), {(unsigned char)i, (unsigned char)(255 - i), (unsigned char)(i * 7)});
    return map;
}

// Indexes that compress as a photograph's do: smooth runs broken by a repeating texture.
std::vector<unsigned char> photoIndexes(int width, int height) {
    std::vector<unsigned char> indexes;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            indexes.push_back((unsigned char)((x / 3 + y / 5 + (x * y % 7)) & 0xFF));
    return indexes;
}

struct Chooser {
    uint32_t width = 0, height = 0;
    bool allow = true;
};

bool choose(void *context, uint32_t width, uint32_t height, uint32_t *chosenWidth,
            uint32_t *chosenHeight) {
    Chooser *chooser = (Chooser *)context;
    chooser->width = *chosenWidth = width;
    chooser->height = *chosenHeight = height;
    return chooser->allow;
}

// Decodes the file fed in pieces of the given size; false when the decoder does not finish.
bool decode(const Bytes &file, size_t piece, CodecPixels *pixels, Chooser *chooser) {
    GifDecoder decoder(choose, chooser);
    for (size_t at = 0; at < file.size(); at += piece)
        if (!decoder.feed(file.data() + at, std::min(piece, file.size() - at)))
            break;
    return decoder.finish(pixels);
}

// The canvas the image should make: transparent black, then the image's pixels where they
// are on the canvas and not transparent.
std::vector<unsigned char> expectedCanvas(int canvasWidth, int canvasHeight, const Bytes &map,
                                          const GifImage &image) {
    std::vector<unsigned char> canvas((size_t)canvasWidth * canvasHeight * 4, 0);
    std::vector<int> rows;
    for (int pass = 0; pass < (image.interlaced ? 4 : 1); ++pass) {
        static const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
        for (int y = image.interlaced ? start[pass] : 0; y < image.height;
             y += image.interlaced ? step[pass] : 1)
            rows.push_back(y);
    }
    for (size_t i = 0; i < image.indexes.size(); ++i) {
        int x = image.left + (int)(i % image.width);
        int y = image.top + rows[i / image.width];
        unsigned char index = image.indexes[i];
        if (x >= canvasWidth || y >= canvasHeight || index == image.transparent)
            continue;
        unsigned char *out = &canvas[((size_t)y * canvasWidth + x) * 4];
        memcpy(out, &map[index * 3], 3);
        out[3] = 255;
    }
    return canvas;
}

} // namespace

TEST(GifDecoder, DrawsEveryPixelInItsColourHoweverTheBytesArrive) {
    GifImage image;
    image.width = 300;
    image.height = 200; // enough codes to fill the table and clear it several times
    image.indexes = photoIndexes(image.width, image.height);
    Bytes file = indexedGif(300, 200, rampMap(), image);
    std::vector<unsigned char> expected = expectedCanvas(300, 200, rampMap(), image);
    for (size_t piece : {(size_t)1, (size_t)7, (size_t)256, file.size()}) {
        SCOPED_TRACE(piece);
        Chooser chooser;
        CodecPixels pixels;
        ASSERT_TRUE(decode(file, piece, &pixels, &chooser));
        EXPECT_EQ(chooser.width, 300u);
        EXPECT_EQ(chooser.height, 200u);
        EXPECT_EQ(pixels.width, 300u);
        EXPECT_EQ(pixels.height, 200u);
        EXPECT_TRUE(pixels.rgba == expected);
    }
}

TEST(GifDecoder, AnInterlacedImageWithItsOwnColoursLandsInPlaceAndIsCutAtTheCanvasEdge) {
    Bytes local = rampMap();
    std::reverse(local.begin(), local.end());
    GifImage image;
    image.left = 7;
    image.top = 5;
    image.width = 50;
    image.height = 37; // rows past the canvas's 40 are cut, as are columns past its 52
    image.interlaced = true;
    image.localMap = local;
    image.transparent = 9;
    image.indexes = photoIndexes(image.width, image.height);
    // The data ends four rows early: those rows stay transparent.
    image.indexes.resize(image.indexes.size() - 4 * 50);
    Bytes file = indexedGif(52, 40, rampMap(), image);
    Chooser chooser;
    CodecPixels pixels;
    ASSERT_TRUE(decode(file, 100, &pixels, &chooser));
    EXPECT_TRUE(pixels.rgba == expectedCanvas(52, 40, local, image));
    // Spot checks that the expectation itself is not empty: a transparent corner, a pixel in the
    // image's own colours.
    EXPECT_EQ(pixels.rgba[3], 0);
    const unsigned char *inside = &pixels.rgba[((5 * 52) + 7) * 4];
    unsigned char index = image.indexes[0];
    EXPECT_EQ(inside[0], local[index * 3]);
    EXPECT_EQ(inside[3], index == 9 ? 0 : 255);
}

TEST(GifDecoder, AnImageFarWiderThanItsCanvasIsDrawnOnlyWhereItShows) {
    GifImage image;
    image.width = 20000;
    image.height = 30;
    image.indexes.assign((size_t)image.width * image.height, 3);
    for (int y = 0; y < image.height; ++y)
        image.indexes[(size_t)y * image.width + 2] = (unsigned char)(10 + y);
    Bytes file = indexedGif(6, 8, rampMap(), image);
    Chooser chooser;
    CodecPixels pixels;
    ASSERT_TRUE(decode(file, file.size(), &pixels, &chooser));
    EXPECT_TRUE(pixels.rgba == expectedCanvas(6, 8, rampMap(), image));
    EXPECT_EQ(pixels.rgba[((7 * 6) + 2) * 4], 17); // row 7's own index
}

TEST(GifDecoder, FilesWithNothingToShowAreNotFinished) {
    GifImage image;
    image.width = 4;
    image.height = 4;
    image.indexes.assign(16, 1);
    Bytes good = indexedGif(4, 4, rampMap(), image);
    Chooser chooser;
    CodecPixels pixels;
    ASSERT_TRUE(decode(good, good.size(), &pixels, &chooser));

    Bytes noColours = indexedGif(4, 4, Bytes(), image);
    Bytes cut(good.begin(), good.end() - 2); // the image's terminator and the trailer gone
    Bytes badVersion = good;
    badVersion[4] = '8';
    Bytes wideCodes = good;
    wideCodes[13 + 768 + 10] = 12; // the LZW code size byte, after screen, table and descriptor
    Bytes noImage(good.begin(), good.begin() + 13 + 768);
    noImage.push_back(0x3B);
    Bytes emptyCanvas = good;
    emptyCanvas[6] = emptyCanvas[7] = 0;
    const std::pair<const char *, const Bytes *> broken[] = {
        {"no colour table", &noColours}, {"cut", &cut},          {"version", &badVersion},
        {"code size", &wideCodes},       {"no image", &noImage}, {"empty canvas", &emptyCanvas}};
    for (const auto &[name, file] : broken) {
        CodecPixels none;
        EXPECT_FALSE(decode(*file, 64, &none, &chooser)) << name;
        EXPECT_TRUE(none.rgba.empty()) << name;
    }
}

TEST(GifDecoder, ARefusedCanvasIsNeverAllocatedAndTheScaledCopyComesFromTheSamePixels) {
    GifImage image;
    image.width = 40;
    image.height = 20;
    image.indexes.assign(800, 200);
    Bytes file = indexedGif(40, 20, rampMap(), image);

    Chooser refuse;
    refuse.allow = false;
    GifDecoder refused(choose, &refuse);
    EXPECT_FALSE(refused.feed(file.data(), file.size()));
    EXPECT_TRUE(refused.refused());
    CodecPixels none;
    EXPECT_FALSE(refused.finish(&none));
    EXPECT_EQ(refuse.width, 40u);

    Chooser allow;
    GifDecoder decoder(choose, &allow);
    decoder.askSecondSize(10, 5);
    decoder.feed(file.data(), file.size());
    CodecPixels pixels;
    ASSERT_TRUE(decoder.finish(&pixels));
    EXPECT_FALSE(decoder.refused());
    ASSERT_EQ(pixels.secondWidth, 10u);
    ASSERT_EQ(pixels.secondHeight, 5u);
    ASSERT_EQ(pixels.secondRgba.size(), 10u * 5 * 4);
    const unsigned char colour[4] = {200, 55, (unsigned char)(200 * 7), 255};
    EXPECT_EQ(memcmp(&pixels.secondRgba[4 * 23], colour, 4), 0);
}
