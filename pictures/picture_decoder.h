// picture_decoder.h -- a picture file decoded straight to the size its frame shows, upright,
// within a memory bound counted before any pixel exists. Nothing here touches a global, an
// image-library image or a GL object: Thread: any.
#pragma once
#include <cstddef>
#include <cstdint>

#include "pictures/picture.h"

// Most memory one picture's decoding may take (decoded pixels and the decoder's own buffers
// that grow with the picture); a picture that would need more is refused before it is
// allocated.
constexpr uint64_t PICTURE_MEMORY_LIMIT = 256ull << 20;

enum PictureDecodeResult {
    PICTURE_DECODED,
    PICTURE_NOT_OPENED,  // missing, unreadable, or not a regular file
    PICTURE_TOO_LARGE,   // would need more than PICTURE_MEMORY_LIMIT, or more decoding work
                         // than the bounds of pictures/picture_extent.h allow
    PICTURE_UNDECODABLE, // not a JPEG, GIF, BMP or PNG, or broken
    PICTURE_READ_FAILED, // reading the file failed part-way (an I/O error): says nothing of
                         // the picture, which may read well later
};

// The file is read only as far as its picture reaches (see picture_extent.h): a long tail after
// the picture is never read.
//
// Decodes the file at path upright (EXIF orientation applied) at the size fitPictureSize
// gives it inside an innerWidth x innerHeight area, so it needs no further shrinking.
PictureDecodeResult decodePicture(const char *path, uint32_t innerWidth, uint32_t innerHeight,
                                  Picture *picture);

// The same for a file's bytes already in memory.
PictureDecodeResult decodePictureBytes(const unsigned char *bytes, size_t size, uint32_t innerWidth,
                                       uint32_t innerHeight, Picture *picture);
