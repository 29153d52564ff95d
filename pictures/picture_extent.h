// picture_extent.h -- how far a picture's bytes reach and how much decoding work they ask for,
// found by walking the file's structure as its bytes arrive, just ahead of the decoder.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/picture_codec.h"

// Most scans a JPEG may have. libjpeg's progressive script writes 10 for colour and 6 for
// grey, optimisers and jpegtran scripts a few dozen at most; each scan of a progressive frame
// costs the decoder a pass over the whole picture, so a few thousand repeated scans in a small
// file would keep it busy for a minute.
constexpr uint32_t JPEG_SCAN_LIMIT = 100;

// Most scans times 8 x 8 blocks (summed over the components) a progressive JPEG may ask for:
// one pass takes about 45 ns a block, so this keeps the passes of any frame under about a
// second, while the largest progressive frame the memory bound lets through (about 2 million
// blocks) still has room for the 10 scans encoders write.
constexpr uint64_t JPEG_SCAN_WORK_LIMIT = 24000000;

// Most items an ISO media picture (HEIF, AVIF) may list: a grid picture holds its tiles as
// items, and a 12000 x 12000 grid of 512-pixel tiles has under 600 of them.
constexpr uint32_t ISO_ITEM_LIMIT = 4096;

// Declared picture bytes per pixel, for the formats whose end is not marked: 8 bytes (16-bit
// RGBA) stored at worst twice its raw size, past the headers and metadata allowed for below.
constexpr uint64_t DECLARED_BYTES_PER_PIXEL = 16;
constexpr uint64_t METADATA_ALLOWANCE = 4ull << 20;

// Most coded bytes a JPEG block may take over all its scans: a baseline block at its worst is
// under 200, and a progressive one's refinements add a bit a coefficient at most.
constexpr uint64_t JPEG_BYTES_PER_BLOCK = 512;

struct PictureWalk {
    PictureFormat format = PICTURE_JPEG;
    uint64_t offset = 0;  // bytes walked so far
    uint64_t limit = 0;   // the picture's bytes end here at the latest; 0 when unbounded
    bool ended = false;   // the picture's last byte has been walked: read no more
    bool refused = false; // it would take the decoder too much work
    // A byte to hand the decoder after the last one walked (a GIF cut after its first image
    // gets its trailer), or -1.
    int closing = -1;
    // JPEG: marker state, the segment being skipped, the frame, the scans counted.
    int state = 0;
    int next = 0;
    uint32_t remaining = 0;
    unsigned char segment[24] = {};
    uint32_t segmentSize = 0;
    unsigned char marker = 0;
    bool progressive = false;
    uint64_t frameBlocks = 0;
    uint32_t scans = 0;
};

// Begins the walk of a picture of the given format whose leading bytes are head (what the
// formats without an end marker declare of their size is read from it). Thread: any.
void startPictureWalk(PictureWalk *walk, PictureFormat format, const unsigned char *head,
                      size_t headSize);

// Walks the next bytes of the file: how many of them belong to the picture (fewer than size
// once its end lies among them; 0 after that). Sets refused as soon as a scan or an item
// beyond the limits above is seen, before the decoder is handed it. Thread: any.
size_t walkPictureBytes(PictureWalk *walk, const unsigned char *bytes, size_t size);
