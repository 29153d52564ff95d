// tiff_header.cpp -- a bounded read of a TIFF structure's first image directory.
#include "pictures/tiff_header.h"

#include <cstring>

namespace {

constexpr uint16_t TIFF_IMAGE_WIDTH_TAG = 0x0100;
constexpr uint16_t TIFF_IMAGE_LENGTH_TAG = 0x0101;
constexpr uint16_t TIFF_ORIENTATION_TAG = 0x0112;
constexpr uint16_t TIFF_DATE_TIME_TAG = 0x0132;
constexpr uint16_t EXIF_DIRECTORY_TAG = 0x8769;
constexpr uint16_t EXIF_DATE_TIME_ORIGINAL_TAG = 0x9003;
constexpr uint16_t TIFF_ASCII_TYPE = 2;
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

// Calls visit(tiff, tag, type, entry offset) for each entry of the directory at offset
// directory, until it returns false; false when the directory is broken.
template <typename Visit>
bool walkDirectory(const TiffReader &tiff, uint32_t directory, Visit visit) {
    uint16_t entries;
    if (!readTiff16(tiff, directory, &entries))
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

// The same for the first image directory; false when the header or the directory is broken.
template <typename Visit>
bool walkFirstDirectory(const unsigned char *data, size_t size, Visit visit) {
    if (size < 8)
        return false;
    TiffReader tiff = {data, size, false};
    if (memcmp(data, "MM", 2) == 0)
        tiff.bigEndian = true;
    else if (memcmp(data, "II", 2) != 0)
        return false;
    uint16_t magic;
    uint32_t directory;
    if (!readTiff16(tiff, 2, &magic) || magic != 42 || !readTiff32(tiff, 4, &directory))
        return false;
    return walkDirectory(tiff, directory, visit);
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

namespace {

// An ASCII entry in the EXIF date form "YYYY:MM:DD HH:MM:SS" (20 bytes with its end), copied.
bool dateEntry(const TiffReader &tiff, uint16_t type, size_t entry, char date[20]) {
    uint32_t count, offset;
    if (type != TIFF_ASCII_TYPE || !readTiff32(tiff, entry + 4, &count) || count != 20 ||
        !readTiff32(tiff, entry + 8, &offset) || offset > tiff.size || tiff.size - offset < 20)
        return false;
    const char *text = (const char *)tiff.data + offset;
    for (int i = 0; i < 19; ++i) {
        bool digit = text[i] >= '0' && text[i] <= '9';
        char separator = i == 4 || i == 7 ? ':' : i == 10 ? ' ' : i == 13 || i == 16 ? ':' : 0;
        if (separator != 0 ? text[i] != separator : !digit)
            return false;
    }
    // Cameras without a set clock write zeros: no date at all.
    if (memcmp(text, "0000", 4) == 0)
        return false;
    memcpy(date, text, 19);
    date[19] = '\0';
    return true;
}

} // namespace

bool tiffDateTaken(const unsigned char *data, size_t size, char date[20]) {
    date[0] = '\0';
    uint32_t exifDirectory = 0;
    char modified[20] = "";
    bool walked = walkFirstDirectory(
        data, size, [&](const TiffReader &tiff, uint16_t tag, uint16_t type, size_t entry) {
            if (tag == EXIF_DIRECTORY_TAG)
                entryValue(tiff, type, entry, &exifDirectory);
            else if (tag == TIFF_DATE_TIME_TAG)
                dateEntry(tiff, type, entry, modified);
            return true;
        });
    if (!walked)
        return false;
    if (exifDirectory != 0) {
        TiffReader tiff = {data, size, memcmp(data, "MM", 2) == 0};
        walkDirectory(tiff, exifDirectory,
                      [&](const TiffReader &reader, uint16_t tag, uint16_t type, size_t entry) {
                          if (tag != EXIF_DATE_TIME_ORIGINAL_TAG)
                              return true;
                          dateEntry(reader, type, entry, date);
                          return false;
                      });
    }
    // The time the picture was taken, else the time the file was last written by the camera.
    if (date[0] == '\0')
        memcpy(date, modified, sizeof modified);
    return date[0] != '\0';
}
