// picture.h -- the two kinds of image the picture path hands on: a decoded picture, upright and
// top row first, and a slot image, the framed square a picture slot's texture takes.
#pragma once
#include <cstdint>
#include <vector>

// A picture as decoded, usually shrunk to fit the frame. Rows top row first.
struct Picture {
    uint32_t width = 0; // as decoded
    uint32_t height = 0;
    uint32_t originalWidth = 0; // the picture's own size, upright
    uint32_t originalHeight = 0;
    std::vector<unsigned char> pixels; // RGBA, 4 bytes a pixel
};

// A picture framed on its transparent square, THUMBNAIL_SIZE a side, in the row order GL takes
// from the image library: bottom row first.
struct SlotImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<unsigned char> pixels; // RGBA, 4 bytes a pixel
};
