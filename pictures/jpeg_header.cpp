// jpeg_header.cpp -- a bounded walk over a JPEG's marker segments and its EXIF block.
#include "pictures/jpeg_header.h"

#include "pictures/tiff_header.h"

#include <cstdint>
#include <cstring>

namespace {

bool isFrameMarker(unsigned char marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

} // namespace

JpegHeader readJpegHeader(const unsigned char *bytes, size_t size) {
    JpegHeader header = {1, false, false, 0, ""};
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
            header.orientation = tiffOrientation(segment + 6, segmentSize - 6);
            tiffDateTaken(segment + 6, segmentSize - 6, header.dateTaken);
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
