// picture_decoder.h -- a picture file decoded straight to the size its thumbnail shows, upright;
// safe to call from any thread (it touches no global, no DevIL image and no GL object).
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Most memory one picture's decoding may take (decoded pixels and the decoder's own buffers
// that grow with the picture); a picture that would need more is refused before it is
// allocated.
constexpr uint64_t PICTURE_MEMORY_LIMIT = 256ull << 20;

enum PictureDecodeResult {
    PICTURE_DECODED,
    PICTURE_NOT_OPENED,  // missing, unreadable, or not a regular file
    PICTURE_TOO_LARGE,   // would need more than PICTURE_MEMORY_LIMIT
    PICTURE_UNDECODABLE, // not a JPEG, GIF, BMP or PNG, or broken
};

struct DecodedPicture {
    uint32_t width = 0; // as decoded: usually shrunk to fit
    uint32_t height = 0;
    uint32_t originalWidth = 0; // the picture's own size, upright
    uint32_t originalHeight = 0;
    std::vector<unsigned char> pixels; // RGBA, 4 bytes a pixel, top row first
};

// Decodes the file at path upright (EXIF orientation applied) at the size fitPictureSize
// gives it inside an innerWidth x innerHeight area, so it needs no further shrinking.
PictureDecodeResult decodePicture(const char *path, uint32_t innerWidth, uint32_t innerHeight,
                                  DecodedPicture *picture);

// The same for a file's bytes already in memory.
PictureDecodeResult decodePictureBytes(const unsigned char *bytes, size_t size, uint32_t innerWidth,
                                       uint32_t innerHeight, DecodedPicture *picture);
