// tiff_header.cpp -- a bounded read of a TIFF structure's first image directory.
#include "pictures/tiff_header.h"

#include <cstring>

namespace {

constexpr uint16_t TIFF_IMAGE_WIDTH_TAG = 0x0100;
constexpr uint16_t TIFF_IMAGE_LENGTH_TAG = 0x0101;
constexpr uint16_t TIFF_ORIENTATION_TAG = 0x0112;
constexpr uint16_t TIFF_SHORT_TYPE = 3;
constexpr uint16_t TIFF_LONG_TYPE = 4;

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

// Calls visit(tag, type, entry offset) for each entry of the first image directory, until it
// returns false; false when the header or the directory is broken.
template <typename Visit>
bool walkFirstDirectory(const unsigned char *data, size_t size, Visit visit) {
    if (size < 8)
        return false;
    TiffReader tiff = {data, size, false};
    if (memcmp(data, "MM", 2) == 0)
        tiff.bigEndian = true;
    else if (memcmp(data, "II", 2) != 0)
        return false;
    uint16_t magic, entries;
    uint32_t directory;
    if (!readTiff16(tiff, 2, &magic) || magic != 42 || !readTiff32(tiff, 4, &directory) ||
        !readTiff16(tiff, directory, &entries))
        return false;
    for (size_t i = 0; i < entries; ++i) {
        size_t entry = (size_t)directory + 2 + 12 * i;
        uint16_t tag, type;
        if (!readTiff16(tiff, entry, &tag) || !readTiff16(tiff, entry + 2, &type))
            return false;
        if (!visit(tiff, tag, type, entry))
            return true;
    }
    return true;
}

// A SHORT or LONG value held in the entry itself.
bool entryValue(const TiffReader &tiff, uint16_t type, size_t entry, uint32_t *value) {
    uint16_t shortValue;
    if (type == TIFF_SHORT_TYPE && readTiff16(tiff, entry + 8, &shortValue)) {
        *value = shortValue;
        return true;
    }
    return type == TIFF_LONG_TYPE && readTiff32(tiff, entry + 8, value);
}

} // namespace

int tiffOrientation(const unsigned char *data, size_t size) {
    int orientation = 1;
    walkFirstDirectory(data, size,
                       [&](const TiffReader &tiff, uint16_t tag, uint16_t type, size_t entry) {
                           if (tag != TIFF_ORIENTATION_TAG)
                               return true;
                           uint16_t value;
                           if (type == TIFF_SHORT_TYPE && readTiff16(tiff, entry + 8, &value) &&
                               value >= 1 && value <= 8)
                               orientation = value;
                           return false;
                       });
    return orientation;
}

bool tiffImageSize(const unsigned char *data, size_t size, uint32_t *width, uint32_t *height) {
    *width = *height = 0;
    walkFirstDirectory(data, size,
                       [&](const TiffReader &tiff, uint16_t tag, uint16_t type, size_t entry) {
                           if (tag == TIFF_IMAGE_WIDTH_TAG)
                               entryValue(tiff, type, entry, width);
                           else if (tag == TIFF_IMAGE_LENGTH_TAG)
                               entryValue(tiff, type, entry, height);
                           return *width == 0 || *height == 0;
                       });
    return *width > 0 && *height > 0;
}
