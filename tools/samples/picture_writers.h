// picture_writers.h -- encoders of BMP, GIF and JPEG files and the GIF colour quantiser.
#pragma once

#include "samples/raster.h"

#include <vector>

// A picture of palette indices, with a palette of 256 RGB entries (unused ones black).
struct IndexedPicture {
    int width = 0;
    int height = 0;
    unsigned char palette[256 * 3] = {};
    std::vector<unsigned char> indices;
};

// Reduces a picture to at most 256 colours by median cut over a 15-bit colour histogram.
IndexedPicture quantizePicture(const Picture &picture);
// The RGB picture that an indexed picture shows.
Picture expandIndexed(const IndexedPicture &indexed);

// 24-bit uncompressed BMP, bottom row first.
std::vector<unsigned char> encodeBmp(const Picture &picture);
// GIF89a with one image, a global 256-colour table and 8-bit LZW codes.
std::vector<unsigned char> encodeGif(const IndexedPicture &picture);
// The LZW code stream of a GIF image (before it is cut into sub-blocks).
std::vector<unsigned char> encodeGifLzw(const std::vector<unsigned char> &indices, int minCodeSize);
// Baseline JPEG with the standard tables, 4:2:0 chroma, at the given quality (1-100).
bool encodeJpeg(const Picture &picture, int quality, std::vector<unsigned char> &bytes);

bool writeFileBytes(const char *path, const std::vector<unsigned char> &bytes);
