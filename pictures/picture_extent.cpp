// picture_extent.cpp -- byte-by-byte walks of JPEG markers, GIF blocks and PNG chunks, and
// byte bounds from the sizes BMP, WebP, TIFF and ISO media files declare.
#include "pictures/picture_extent.h"

#include <algorithm>
#include <cstring>

#include "pictures/container_header.h"
#include "pictures/tiff_header.h"

namespace {

// States of the walks. SKIP passes over walk->remaining bytes, then goes on in walk->next.
enum {
    SKIP,
    JPEG_MARKER, // a marker must come: other bytes are skipped, as decoders do
    JPEG_FILL,   // after 0xFF: fill bytes, then the marker's code
    JPEG_LENGTH_HIGH,
    JPEG_LENGTH_LOW,
    JPEG_SEGMENT,    // a segment's body, its first bytes kept
    JPEG_ENTROPY,    // coded data after a scan header
    JPEG_ENTROPY_FF, // 0xFF in coded data: stuffing, a restart, or a marker
    GIF_SCREEN,      // the header and logical screen descriptor
    GIF_BLOCK,       // an extension, an image or the trailer
    GIF_LABEL,       // an extension's label
    GIF_IMAGE,       // an image descriptor
    GIF_CODE_SIZE,   // the LZW code size before an image's data
    GIF_SUB_BLOCK,   // a data sub-block's size, 0 ending the block
    PNG_CHUNK,       // a chunk's length and type
};

uint32_t bigEndian16(const unsigned char *p) {
    return (uint32_t)p[0] << 8 | p[1];
}

uint32_t littleEndian16(const unsigned char *p) {
    return (uint32_t)p[0] | (uint32_t)p[1] << 8;
}

uint32_t littleEndian32(const unsigned char *p) {
    return littleEndian16(p) | littleEndian16(p + 2) << 16;
}

uint64_t ceilDiv(uint64_t value, uint64_t divisor) {
    return (value + divisor - 1) / divisor;
}

bool isFrameMarker(unsigned char marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

void skipThen(PictureWalk *walk, uint64_t count, int next) {
    walk->remaining = (uint32_t)count;
    walk->next = next;
    walk->state = count > 0 ? SKIP : next;
}

// 8 x 8 blocks of a frame summed over its components, each sampled at its share of the
// largest sampling factors.
void readFrame(PictureWalk *walk, unsigned char marker) {
    const unsigned char *s = walk->segment;
    walk->progressive = (marker & 0x03) == 0x02;
    uint32_t kept = std::min<uint32_t>(walk->segmentSize, sizeof walk->segment);
    if (kept < 6)
        return;
    uint64_t height = bigEndian16(s + 1), width = bigEndian16(s + 3);
    uint32_t components = std::min<uint32_t>(s[5], (kept - 6) / 3);
    uint32_t maxH = 1, maxV = 1;
    for (uint32_t c = 0; c < components; ++c) {
        maxH = std::max<uint32_t>(maxH, s[7 + 3 * c] >> 4);
        maxV = std::max<uint32_t>(maxV, s[7 + 3 * c] & 0x0F);
    }
    walk->frameBlocks = 0;
    for (uint32_t c = 0; c < components; ++c) {
        uint64_t h = s[7 + 3 * c] >> 4, v = s[7 + 3 * c] & 0x0F;
        walk->frameBlocks +=
            ceilDiv(ceilDiv(width * h, maxH), 8) * ceilDiv(ceilDiv(height * v, maxV), 8);
    }
}

// A whole scan header has been walked: one scan more, refused past the limits.
void countScan(PictureWalk *walk) {
    ++walk->scans;
    if (walk->scans > JPEG_SCAN_LIMIT ||
        (walk->progressive && walk->scans * walk->frameBlocks > JPEG_SCAN_WORK_LIMIT))
        walk->refused = true;
}

// What follows the code of a marker.
void jpegMarker(PictureWalk *walk, unsigned char code) {
    if (code == 0xD9) {
        walk->ended = true; // end of image
    } else if (code == 0xD8 || code == 0x01 || (code >= 0xD0 && code <= 0xD7)) {
        walk->state = JPEG_MARKER; // no segment follows
    } else {
        walk->marker = code;
        walk->state = JPEG_LENGTH_HIGH;
    }
}

// at: where the segment ends in the file.
void jpegSegmentDone(PictureWalk *walk, uint64_t at) {
    if (isFrameMarker(walk->marker)) {
        // Coded data with no end in sight (a cut file and a long tail) is not read past what
        // the frame's blocks could take.
        readFrame(walk, walk->marker);
        walk->limit = at + METADATA_ALLOWANCE + walk->frameBlocks * JPEG_BYTES_PER_BLOCK;
    }
    if (walk->marker == 0xDA) {
        countScan(walk);
        walk->state = JPEG_ENTROPY;
    } else {
        walk->state = JPEG_MARKER;
    }
}

// Walks bytes[at..size) of a JPEG up to its end: the index after the last byte walked.
size_t walkJpeg(PictureWalk *walk, const unsigned char *bytes, size_t at, size_t size) {
    while (at < size && !walk->ended && !walk->refused) {
        if (walk->limit > 0 && walk->offset + at >= walk->limit) {
            walk->ended = true;
            break;
        }
        unsigned char byte = bytes[at];
        switch (walk->state) {
        case JPEG_MARKER:
            if (byte == 0xFF)
                walk->state = JPEG_FILL;
            ++at;
            break;
        case JPEG_FILL:
        case JPEG_ENTROPY_FF:
            ++at;
            if (byte == 0xFF)
                break;
            if (walk->state == JPEG_ENTROPY_FF && (byte == 0x00 || (byte >= 0xD0 && byte <= 0xD7)))
                walk->state = JPEG_ENTROPY; // stuffed 0xFF or a restart: the scan goes on
            else
                jpegMarker(walk, byte);
            break;
        case JPEG_LENGTH_HIGH:
            walk->segmentSize = (uint32_t)byte << 8;
            walk->state = JPEG_LENGTH_LOW;
            ++at;
            break;
        case JPEG_LENGTH_LOW:
            ++at;
            walk->segmentSize |= byte;
            if (walk->segmentSize < 2) {
                walk->ended = true; // broken: the decoder has all it can use
                break;
            }
            walk->segmentSize -= 2;
            walk->remaining = walk->segmentSize;
            walk->state = JPEG_SEGMENT;
            if (walk->remaining == 0)
                jpegSegmentDone(walk, walk->offset + at);
            break;
        case JPEG_SEGMENT: {
            size_t n = std::min<size_t>(walk->remaining, size - at);
            uint32_t done = walk->segmentSize - walk->remaining;
            if (done < sizeof walk->segment)
                memcpy(walk->segment + done, bytes + at,
                       std::min<size_t>(n, sizeof walk->segment - done));
            at += n;
            walk->remaining -= (uint32_t)n;
            if (walk->remaining == 0)
                jpegSegmentDone(walk, walk->offset + at);
            break;
        }
        case JPEG_ENTROPY: {
            const void *mark = memchr(bytes + at, 0xFF, size - at);
            if (mark == nullptr) {
                at = size;
            } else {
                at = (size_t)((const unsigned char *)mark - bytes) + 1;
                walk->state = JPEG_ENTROPY_FF;
            }
            break;
        }
        }
    }
    return at;
}

// Walks a GIF up to the end of its first image (the one shown), then hands the decoder the
// trailer: frames after it cost nothing.
size_t walkGif(PictureWalk *walk, const unsigned char *bytes, size_t at, size_t size) {
    while (at < size && !walk->ended) {
        unsigned char byte = bytes[at++];
        switch (walk->state) {
        case GIF_SCREEN:
            // The 13 bytes of header and screen; the flags are the 11th.
            if (walk->offset + at == 11 && (byte & 0x80))
                walk->remaining = 3u << ((byte & 7) + 1); // the global colour table, after
            if (walk->offset + at == 13)
                skipThen(walk, walk->remaining, GIF_BLOCK);
            break;
        case GIF_BLOCK:
            if (byte == 0x21) {
                walk->state = GIF_LABEL;
            } else if (byte == 0x2C) {
                walk->remaining = 9;
                walk->state = GIF_IMAGE;
            } else {
                walk->ended = true; // the trailer, or something no decoder reads on from
            }
            break;
        case GIF_LABEL:
            walk->marker = 0; // not an image's data
            walk->state = GIF_SUB_BLOCK;
            break;
        case GIF_IMAGE:
            if (--walk->remaining == 0)
                skipThen(walk, (byte & 0x80) ? 3u << ((byte & 7) + 1) : 0, GIF_CODE_SIZE);
            break;
        case GIF_CODE_SIZE:
            walk->marker = 1; // an image's data
            walk->state = GIF_SUB_BLOCK;
            break;
        case GIF_SUB_BLOCK:
            if (byte != 0) {
                skipThen(walk, byte, GIF_SUB_BLOCK);
            } else if (walk->marker == 1) {
                walk->ended = true;
                walk->closing = 0x3B;
            } else {
                walk->state = GIF_BLOCK;
            }
            break;
        case SKIP: {
            --at;
            size_t n = std::min<size_t>(walk->remaining, size - at);
            at += n;
            walk->remaining -= (uint32_t)n;
            if (walk->remaining == 0)
                walk->state = walk->next;
            break;
        }
        }
    }
    return at;
}

// Walks a PNG's chunks up to the end of IEND.
size_t walkPng(PictureWalk *walk, const unsigned char *bytes, size_t at, size_t size) {
    while (at < size && !walk->ended) {
        if (walk->state == SKIP) {
            size_t n = std::min<size_t>(walk->remaining, size - at);
            at += n;
            walk->remaining -= (uint32_t)n;
            if (walk->remaining == 0) {
                walk->state = walk->next;
                walk->ended = walk->marker == 1;
            }
            continue;
        }
        walk->segment[walk->segmentSize++] = bytes[at++];
        if (walk->segmentSize < 8)
            continue;
        walk->segmentSize = 0;
        uint64_t length =
            (uint64_t)bigEndian16(walk->segment) << 16 | bigEndian16(walk->segment + 2);
        if (length > 0x7FFFFFFF) {
            walk->ended = true; // no such chunk: the decoder stops here anyway
            break;
        }
        walk->marker = memcmp(walk->segment + 4, "IEND", 4) == 0 ? 1 : 0;
        skipThen(walk, length + 4, PNG_CHUNK); // its data and CRC
    }
    return at;
}

// Where a BMP's pixel data end: from its header's size, depth and compression.
uint64_t bmpLimit(const unsigned char *head, size_t size) {
    if (size < 26)
        return 0;
    uint64_t pixelOffset = littleEndian32(head + 10);
    uint32_t infoSize = littleEndian32(head + 14);
    uint64_t width, height, bits, compression = 0, dataSize = 0;
    if (infoSize == 12) {
        width = littleEndian16(head + 18);
        height = littleEndian16(head + 20);
        bits = littleEndian16(head + 24);
    } else {
        if (size < 38)
            return 0;
        width = littleEndian32(head + 18);
        int32_t signedHeight = (int32_t)littleEndian32(head + 22);
        height = signedHeight < 0 ? -(int64_t)signedHeight : signedHeight;
        bits = littleEndian16(head + 28);
        compression = littleEndian32(head + 30);
        dataSize = littleEndian32(head + 34);
    }
    uint64_t rowBytes = ceilDiv(width * std::max<uint64_t>(bits, 1), 32) * 4;
    uint64_t pixels = rowBytes * height;
    if (compression != 0 && compression != 3 && compression != 6) {
        // Run-length data takes at worst 2 bytes a pixel and a line end a row; embedded JPEG
        // or PNG data says its size.
        pixels = std::max(dataSize, 2 * width * height + 4 * height + 4);
    }
    return pixelOffset + pixels;
}

// Where the formats without an end marker end at the latest: WebP's RIFF size, else the size
// the picture declares at DECLARED_BYTES_PER_PIXEL; 0 when neither is known.
uint64_t declaredLimit(PictureFormat format, const unsigned char *head, size_t size) {
    uint32_t width = 0, height = 0;
    switch (format) {
    case PICTURE_BMP:
        return bmpLimit(head, size);
    case PICTURE_WEBP:
        return size >= 8 ? 8 + (uint64_t)littleEndian32(head + 4) + 1 : 0;
    case PICTURE_TIFF:
        if (!tiffImageSize(head, size, &width, &height))
            return 0;
        break;
    case PICTURE_HEIF:
    case PICTURE_AVIF:
        if (!isoPictureSize(head, size, &width, &height))
            return 0;
        break;
    default:
        return 0;
    }
    return METADATA_ALLOWANCE + (uint64_t)width * height * DECLARED_BYTES_PER_PIXEL;
}

} // namespace

void startPictureWalk(PictureWalk *walk, PictureFormat format, const unsigned char *head,
                      size_t headSize) {
    *walk = PictureWalk();
    walk->format = format;
    switch (format) {
    case PICTURE_JPEG:
        walk->state = JPEG_MARKER;
        break;
    case PICTURE_GIF:
        walk->state = GIF_SCREEN;
        break;
    case PICTURE_PNG:
        skipThen(walk, 8, PNG_CHUNK); // the signature
        break;
    default:
        walk->limit = declaredLimit(format, head, headSize);
        break;
    }
    uint32_t items;
    if ((format == PICTURE_HEIF || format == PICTURE_AVIF) &&
        isoItemCount(head, headSize, &items) && items > ISO_ITEM_LIMIT)
        walk->refused = true;
}

size_t walkPictureBytes(PictureWalk *walk, const unsigned char *bytes, size_t size) {
    if (walk->ended || walk->refused)
        return 0;
    size_t walked = size;
    switch (walk->format) {
    case PICTURE_JPEG:
        walked = walkJpeg(walk, bytes, 0, size);
        break;
    case PICTURE_GIF:
        walked = walkGif(walk, bytes, 0, size);
        break;
    case PICTURE_PNG:
        walked = walkPng(walk, bytes, 0, size);
        break;
    default:
        if (walk->limit > 0 && walk->limit - walk->offset <= size) {
            walked = (size_t)(walk->limit - walk->offset);
            walk->ended = true;
        }
        break;
    }
    walk->offset += walked;
    return walked;
}
