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
    PICTURE_CANCELLED,   // given up while waiting for memory; says nothing about the file
    PICTURE_READ_FAILED, // reading the file failed part-way (an I/O error): says nothing of
                         // the picture, which may read well later
};

// Where a decode's memory comes from, when it is shared with other decodes. Once the picture's
// size is known and before any pixel is allocated, reserve is asked for the bytes it will need
// (at most PICTURE_MEMORY_LIMIT) and may wait for them; false gives the decode up. What was
// reserved is released when the decode ends, on every path.
struct DecodeMemoryGate {
    bool (*reserve)(void *context, uint64_t bytes);
    void (*release)(void *context, uint64_t bytes);
    void *context;
};

// The file is read only as far as its picture reaches (see picture_extent.h): a long tail after
// the picture is never read.
//
// Decodes the file at path upright (EXIF orientation applied) at the size fitPictureSize
// gives it inside an innerWidth x innerHeight area, so it needs no further shrinking. With a
// gate, its memory is taken from there.
PictureDecodeResult decodePicture(const char *path, uint32_t innerWidth, uint32_t innerHeight,
                                  Picture *picture, const DecodeMemoryGate *gate = nullptr);

// Decodes as decodePicture does a file that the caller has just found to be a regular file
// (readFileStampAndKind): it is opened without looking at it again. With a thumbnail, that
// also gets the picture fitted upright to a thumbnailSize square, never enlarged, scaled from
// the same decoded pixels as the picture, when the decoder can make it so, those pixels cover
// that size and its memory fits within the same bound; otherwise it is left empty. The picture
// is the same either way, to the byte.
PictureDecodeResult decodeRegularPicture(const char *path, uint32_t innerWidth,
                                         uint32_t innerHeight, Picture *picture,
                                         const DecodeMemoryGate *gate, uint32_t thumbnailSize,
                                         Picture *thumbnail);

// The file at path decoded upright for a full-size look: fitted whole inside a
// windowWidth x windowHeight window, keeping its proportions and never enlarged (so a window of
// at least the picture's own size gives it at 100 %), within the same memory bound. dateTaken
// gets the EXIF "YYYY:MM:DD HH:MM:SS" of a JPEG or TIFF when it has one, else "". With a gate,
// its memory is taken from there.
PictureDecodeResult decodePictureForWindow(const char *path, uint32_t windowWidth,
                                           uint32_t windowHeight, Picture *picture,
                                           char dateTaken[20],
                                           const DecodeMemoryGate *gate = nullptr);

// The same as decodePicture for a file's bytes already in memory.
PictureDecodeResult decodePictureBytes(const unsigned char *bytes, size_t size, uint32_t innerWidth,
                                       uint32_t innerHeight, Picture *picture);
