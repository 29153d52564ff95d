// artwork_test.cpp -- the embedded images: stored format, the door's transparent sides, the
// frame's tiles and the seamless surfaces.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "pictures/embedded_artwork.h"
#include "platform/embedded_resource_table.h"
#include "platform/image_library.h"

namespace {
const EmbeddedResource *embedded(int id) {
    for (const EmbeddedResource *entry = embeddedResources; entry->type != nullptr; ++entry)
        if (entry->id == id && std::strcmp(entry->type, "TEXTURES") == 0)
            return entry;
    return nullptr;
}

uint32_t bigEndian(const unsigned char *bytes) {
    return (uint32_t(bytes[0]) << 24) | (uint32_t(bytes[1]) << 16) | (uint32_t(bytes[2]) << 8) |
           bytes[3];
}

// An embedded image decoded to RGBA bytes, rows as decoded.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba;
    const unsigned char *at(int x, int y) const { return &rgba[(y * width + x) * 4]; }
};

Pixels decode(int id) {
    Pixels pixels;
    const EmbeddedResource *entry = embedded(id);
    if (entry == nullptr)
        return pixels;
    ilInit();
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    if (ilLoadL(IL_PNG, entry->bytes, static_cast<ILuint>(entry->size)) &&
        ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE)) {
        pixels.width = ilGetInteger(IL_IMAGE_WIDTH);
        pixels.height = ilGetInteger(IL_IMAGE_HEIGHT);
        const ILubyte *data = ilGetData();
        pixels.rgba.assign(data, data + pixels.width * pixels.height * 4);
    }
    ilDeleteImages(1, &image);
    return pixels;
}

// Mean absolute colour difference between column a and column b (or rows, when `rows`),
// taken over `length` pixels starting at `from` along the line.
double lineDifference(const Pixels &p, int a, int b, bool rows, int from = 0, int length = -1) {
    if (length < 0)
        length = rows ? p.width : p.height;
    double sum = 0;
    for (int k = from; k < from + length; ++k)
        for (int c = 0; c < 3; ++c) {
            const unsigned char *pa = rows ? p.at(k, a) : p.at(a, k);
            const unsigned char *pb = rows ? p.at(k, b) : p.at(b, k);
            sum += std::abs(pa[c] - pb[c]);
        }
    return sum / (3.0 * length);
}

// Across the wrap the last and first lines must look like neighbours, not like two lines
// from unrelated parts of the image: nearer the mean neighbour difference than the mean
// difference between lines a third of the image apart.
void expectSeamless(int id) {
    Pixels p = decode(id);
    ASSERT_GT(p.width, 0);
    for (bool rows : {false, true}) {
        int size = rows ? p.height : p.width;
        double neighbours = 0;
        double unrelated = 0;
        for (int k = 0; k < size; ++k) {
            neighbours += lineDifference(p, k, (k + 1) % size, rows);
            unrelated += lineDifference(p, k, (k + size / 3) % size, rows);
        }
        neighbours /= size;
        unrelated /= size;
        double across = lineDifference(p, size - 1, 0, rows);
        EXPECT_LT(across, (neighbours + unrelated) / 2)
            << "id " << id << (rows ? " rows" : " columns");
    }
}
} // namespace

TEST(Artwork, EveryImageHasItsSizeAndEightBitNonInterlacedColourType) {
    const struct {
        int id, width, height, colourType;
    } images[] = {
        {IDR_TEX_WALL, 256, 256, 2},        {IDR_TEX_FLOOR, 256, 256, 2},
        {IDR_TEX_DOOR, 512, 512, 6},        {IDR_TEX_FRAME, 48, 48, 2},
        {IDR_TEX_PROGRESS_FILL, 32, 32, 2}, {IDR_TEX_PROGRESS_TRACK, 32, 32, 2},
        {IDR_TEX_CEILING, 256, 256, 2},     {IDR_TEX_PLATE, 256, 256, 2},
    };
    for (const auto &image : images) {
        SCOPED_TRACE(image.id);
        const EmbeddedResource *entry = embedded(image.id);
        ASSERT_NE(entry, nullptr);
        ASSERT_GT(entry->size, 33u);
        const unsigned char *b = entry->bytes;
        EXPECT_EQ(std::memcmp(b, "\x89PNG\r\n\x1a\n", 8), 0);
        EXPECT_EQ(std::memcmp(b + 12, "IHDR", 4), 0);
        EXPECT_EQ(bigEndian(b + 16), uint32_t(image.width));
        EXPECT_EQ(bigEndian(b + 20), uint32_t(image.height));
        EXPECT_EQ(b[24], 8);                // bits per channel
        EXPECT_EQ(b[25], image.colourType); // 2 RGB, 6 RGBA
        EXPECT_EQ(b[28], 0);                // not interlaced
    }
}

TEST(Artwork, DoorIsTransparentExactlyInItsSideColumns) {
    Pixels door = decode(IDR_TEX_DOOR);
    ASSERT_EQ(door.width, 512);
    int wrong = 0;
    for (int y = 0; y < door.height; ++y)
        for (int x = 0; x < door.width; ++x)
            wrong += door.at(x, y)[3] != ((x <= 80 || x >= 423) ? 0 : 255);
    EXPECT_EQ(wrong, 0);
}

TEST(Artwork, SurfacesAndProgressPatternsTileSeamlessly) {
    for (int id : {IDR_TEX_WALL, IDR_TEX_FLOOR, IDR_TEX_CEILING, IDR_TEX_PROGRESS_FILL,
                   IDR_TEX_PROGRESS_TRACK})
        expectSeamless(id);
}

// The frame's edge tiles are repeated and the last copy may be cut anywhere, so any column of
// a horizontal edge must meet the next corner (and any row of a vertical edge likewise).
TEST(Artwork, FrameEdgeTilesJoinTheirCornersWhereverTheyAreCut) {
    Pixels frame = decode(IDR_TEX_FRAME);
    ASSERT_EQ(frame.width, 48);
    for (int k = 16; k < 32; ++k) {
        SCOPED_TRACE(k);
        EXPECT_LE(lineDifference(frame, k, 32, false, 0, 16), 4.0);  // top edge, right corner
        EXPECT_LE(lineDifference(frame, k, 32, false, 32, 16), 4.0); // bottom edge
        EXPECT_LE(lineDifference(frame, k, 32, true, 0, 16), 4.0);   // left edge, lower corner
        EXPECT_LE(lineDifference(frame, k, 32, true, 32, 16), 4.0);  // right edge
        EXPECT_LE(lineDifference(frame, 15, k, false, 0, 16), 4.0);  // left corner, top edge
        EXPECT_LE(lineDifference(frame, 15, k, true, 0, 16), 4.0);   // upper corner, left edge
    }
    // The centre tile is never used and stays near white.
    double centre = 0;
    for (int y = 16; y < 32; ++y)
        for (int x = 16; x < 32; ++x)
            centre += frame.at(x, y)[0] + frame.at(x, y)[1] + frame.at(x, y)[2];
    EXPECT_GT(centre / (16 * 16 * 3), 230.0);
    // The moulding itself is clearly not that background.
    EXPECT_GT(lineDifference(frame, 8, 24, true, 16, 16), 60.0);
}
