// jpeg_header.cpp -- a bounded walk over a JPEG's marker segments and its EXIF block.
#include "pictures/jpeg_header.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr uint16_t EXIF_ORIENTATION_TAG = 0x0112;
constexpr uint16_t EXIF_SHORT_TYPE = 3;

struct TiffReader {
    const unsigned char *data;
    size_t size;
    bool bigEndian;
};

bool readTiff16(const TiffReader &tiff, size_t at, uint16_t *value) {
    if (at > tiff.size || tiff.size - at < 2)
        return false;
    const unsigned char *p = tiff.data + at;
    *value = tiff.bigEndian ? (uint16_t)(p[0] << 8 | p[1]) : (uint16_t)(p[1] << 8 | p[0]);
    return true;
}

bool readTiff32(const TiffReader &tiff, size_t at, uint32_t *value) {
    uint16_t first, second;
    if (!readTiff16(tiff, at, &first) || !readTiff16(tiff, at + 2, &second))
        return false;
    *value = tiff.bigEndian ? (uint32_t)first << 16 | second : (uint32_t)second << 16 | first;
    return true;
}

// The orientation entry of the first image directory of an EXIF block, or 1.
int exifOrientation(const unsigned char *data, size_t size) {
    if (size < 8)
        return 1;
    TiffReader tiff = {data, size, false};
    if (memcmp(data, "MM", 2) == 0)
        tiff.bigEndian = true;
    else if (memcmp(data, "II", 2) != 0)
        return 1;
    uint16_t magic, entries;
    uint32_t directory;
    if (!readTiff16(tiff, 2, &magic) || magic != 42 || !readTiff32(tiff, 4, &directory) ||
        !readTiff16(tiff, directory, &entries))
        return 1;
    for (size_t i = 0; i < entries; ++i) {
        size_t entry = (size_t)directory + 2 + 12 * i;
        uint16_t tag, type, value;
        if (!readTiff16(tiff, entry, &tag) || !readTiff16(tiff, entry + 2, &type) ||
            !readTiff16(tiff, entry + 8, &value))
            return 1;
        if (tag == EXIF_ORIENTATION_TAG)
            return type == EXIF_SHORT_TYPE && value >= 1 && value <= 8 ? value : 1;
    }
    return 1;
}

bool isFrameMarker(unsigned char marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

} // namespace

JpegHeader readJpegHeader(const unsigned char *bytes, size_t size) {
    JpegHeader header = {1, false, false, 0};
    if (size < 2 || bytes[0] != 0xFF || bytes[1] != 0xD8)
        return header;
    bool exifSeen = false;
    size_t at = 2;
    while (at < size) {
        if (bytes[at] != 0xFF)
            return header; // not a marker where one must be
        while (at < size && bytes[at] == 0xFF)
            ++at; // fill bytes
        if (at >= size)
            return header;
        unsigned char marker = bytes[at++];
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8))
            continue; // markers without a segment
        if (marker == 0xD9 || marker == 0xDA || at + 2 > size)
            return header;
        size_t length = (size_t)bytes[at] << 8 | bytes[at + 1];
        if (length < 2 || length > size - at)
            return header;
        const unsigned char *segment = bytes + at + 2;
        size_t segmentSize = length - 2;
        if (marker == 0xE1 && !exifSeen && segmentSize >= 6 &&
            memcmp(segment, "Exif\0\0", 6) == 0) {
            exifSeen = true;
            header.orientation = exifOrientation(segment + 6, segmentSize - 6);
        } else if (isFrameMarker(marker)) {
            header.frameFound = true;
            header.progressive = (marker & 0x03) == 0x02;
            header.components = segmentSize >= 6 ? segment[5] : 0;
            return header;
        }
        at += length;
    }
    return header;
}
