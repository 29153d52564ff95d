// picture_format.cpp -- file signatures, and the bounds a BMP's leading fields must keep.
#include "pictures/picture_format.h"

#include <cstdint>
#include <cstring>

#include "pictures/container_header.h"

namespace {

// Largest offset of a BMP's pixel data accepted: headers, masks and a full palette take
// little more than 1 KB.
constexpr uint32_t BMP_MAX_PIXEL_OFFSET = 1024 * 1024;

uint32_t littleEndian32(const unsigned char *bytes) {
    return (uint32_t)bytes[0] | (uint32_t)bytes[1] << 8 | (uint32_t)bytes[2] << 16 |
           (uint32_t)bytes[3] << 24;
}

} // namespace

bool plausibleBmpHeader(const unsigned char *bytes, size_t size) {
    if (size < 18)
        return false;
    uint32_t infoSize = littleEndian32(bytes + 14);
    uint32_t pixelOffset = littleEndian32(bytes + 10);
    bool knownInfo = infoSize == 12 || infoSize == 16 || infoSize == 40 || infoSize == 52 ||
                     infoSize == 56 || infoSize == 64 || infoSize == 108 || infoSize == 124;
    if (!knownInfo || pixelOffset > BMP_MAX_PIXEL_OFFSET)
        return false;
    // Headers of 40 bytes and more count their palette's colours at offset 46; at most 256.
    if (infoSize >= 40)
        return size >= 50 && littleEndian32(bytes + 46) <= 256;
    return true;
}

bool sniffPictureFormat(const unsigned char *bytes, size_t size, PictureFormat *format) {
    if (size >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF)
        *format = PICTURE_JPEG;
    else if (size >= 8 && memcmp(bytes, "\x89PNG\r\n\x1a\n", 8) == 0)
        *format = PICTURE_PNG;
    else if (size >= 6 && (memcmp(bytes, "GIF87a", 6) == 0 || memcmp(bytes, "GIF89a", 6) == 0))
        *format = PICTURE_GIF;
    else if (size >= 2 && bytes[0] == 'B' && bytes[1] == 'M' && plausibleBmpHeader(bytes, size))
        *format = PICTURE_BMP;
    else if (size >= 12 && memcmp(bytes, "RIFF", 4) == 0 && memcmp(bytes + 8, "WEBP", 4) == 0)
        *format = PICTURE_WEBP;
    else if (size >= 4 && (memcmp(bytes, "II*\0", 4) == 0 || memcmp(bytes, "MM\0*", 4) == 0))
        *format = PICTURE_TIFF;
    else if (isoPictureBrand(bytes, size) == ISO_HEIF)
        *format = PICTURE_HEIF;
    else if (isoPictureBrand(bytes, size) == ISO_AVIF)
        *format = PICTURE_AVIF;
    else
        return false;
    return true;
}
