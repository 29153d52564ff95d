// bmp_writer.cpp -- 24-bit uncompressed BMP files and the shared file writer.
#include "samples/picture_writers.h"

#include <cstdint>
#include <cstdio>

namespace {

void putLittleEndian(std::vector<unsigned char> &bytes, uint32_t value, int size) {
    for (int i = 0; i < size; i++) {
        bytes.push_back(static_cast<unsigned char>((value >> (8 * i)) & 255));
    }
}

} // namespace

std::vector<unsigned char> encodeBmp(const Picture &picture) {
    const uint32_t rowSize = (picture.width * 3 + 3) & ~3u;
    const uint32_t pixelBytes = rowSize * picture.height;
    const uint32_t headerBytes = 14 + 40;
    std::vector<unsigned char> bytes = {'B', 'M'};
    putLittleEndian(bytes, headerBytes + pixelBytes, 4);
    putLittleEndian(bytes, 0, 4); // reserved
    putLittleEndian(bytes, headerBytes, 4);

    putLittleEndian(bytes, 40, 4);
    putLittleEndian(bytes, picture.width, 4);
    putLittleEndian(bytes, picture.height, 4); // positive: bottom row first
    putLittleEndian(bytes, 1, 2);              // planes
    putLittleEndian(bytes, 24, 2);             // bits per pixel
    putLittleEndian(bytes, 0, 4);              // BI_RGB
    putLittleEndian(bytes, pixelBytes, 4);
    putLittleEndian(bytes, 2835, 4); // 72 dots per inch
    putLittleEndian(bytes, 2835, 4);
    putLittleEndian(bytes, 0, 4);
    putLittleEndian(bytes, 0, 4);

    for (int y = picture.height - 1; y >= 0; y--) {
        const unsigned char *row = &picture.rgb[static_cast<size_t>(y) * picture.width * 3];
        for (int x = 0; x < picture.width; x++) {
            bytes.push_back(row[x * 3 + 2]);
            bytes.push_back(row[x * 3 + 1]);
            bytes.push_back(row[x * 3]);
        }
        for (uint32_t pad = picture.width * 3; pad < rowSize; pad++) {
            bytes.push_back(0);
        }
    }
    return bytes;
}

bool writeFileBytes(const char *path, const std::vector<unsigned char> &bytes) {
    FILE *file = std::fopen(path, "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}
