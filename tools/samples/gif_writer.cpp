// gif_writer.cpp -- GIF89a files: one image, a global colour table and LZW-compressed indices.
#include "samples/picture_writers.h"

#include <cstdint>

namespace {

const int MAX_CODES = 4096;

// Packs codes of varying width into bytes, least significant bit first.
struct BitWriter {
    std::vector<unsigned char> bytes;
    uint32_t buffer = 0;
    int bits = 0;
};

void putCode(BitWriter &writer, int code, int width) {
    writer.buffer |= static_cast<uint32_t>(code) << writer.bits;
    writer.bits += width;
    while (writer.bits >= 8) {
        writer.bytes.push_back(static_cast<unsigned char>(writer.buffer & 255));
        writer.buffer >>= 8;
        writer.bits -= 8;
    }
}

void flushBits(BitWriter &writer) {
    if (writer.bits > 0) {
        writer.bytes.push_back(static_cast<unsigned char>(writer.buffer & 255));
    }
    writer.buffer = 0;
    writer.bits = 0;
}

void putWord(std::vector<unsigned char> &bytes, int value) {
    bytes.push_back(static_cast<unsigned char>(value & 255));
    bytes.push_back(static_cast<unsigned char>((value >> 8) & 255));
}

// nextCodeTable[prefix * 256 + symbol] is the code of prefix followed by symbol, 0 when not yet
// made. The table is kept between calls and left all zero; madeSlots lists the entries to reset.
std::vector<uint16_t> nextCodeTable(static_cast<size_t>(MAX_CODES) * 256, 0);
std::vector<size_t> madeSlots;

void resetCodeTable() {
    for (size_t slot : madeSlots) {
        nextCodeTable[slot] = 0;
    }
    madeSlots.clear();
}

} // namespace

std::vector<unsigned char> encodeGifLzw(const std::vector<unsigned char> &indices,
                                        int minCodeSize) {
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    BitWriter writer;
    int width = minCodeSize + 1;
    int nextCode = endCode + 1;
    putCode(writer, clearCode, width);
    if (indices.empty()) {
        putCode(writer, endCode, width);
        flushBits(writer);
        return writer.bytes;
    }
    int prefix = indices[0];
    for (size_t i = 1; i < indices.size(); i++) {
        const int symbol = indices[i];
        const size_t slot = static_cast<size_t>(prefix) * 256 + symbol;
        if (nextCodeTable[slot] != 0) {
            prefix = nextCodeTable[slot];
            continue;
        }
        putCode(writer, prefix, width);
        nextCodeTable[slot] = static_cast<uint16_t>(nextCode++);
        madeSlots.push_back(slot);
        // The decoder adds its entry one code later, so the width grows once the code just
        // made no longer fits.
        if (nextCode > (1 << width) && width < 12) {
            width++;
        }
        if (nextCode == MAX_CODES) {
            putCode(writer, clearCode, width);
            resetCodeTable();
            width = minCodeSize + 1;
            nextCode = endCode + 1;
        }
        prefix = symbol;
    }
    resetCodeTable();
    putCode(writer, prefix, width);
    // The decoder makes one more entry on reading that last code, which may widen the end code.
    if (nextCode < MAX_CODES && nextCode + 1 > (1 << width) && width < 12) {
        width++;
    }
    putCode(writer, endCode, width);
    flushBits(writer);
    return writer.bytes;
}

std::vector<unsigned char> encodeGif(const IndexedPicture &picture) {
    std::vector<unsigned char> bytes = {'G', 'I', 'F', '8', '9', 'a'};
    putWord(bytes, picture.width);
    putWord(bytes, picture.height);
    bytes.push_back(0xF7); // global colour table of 256 entries, 8 bits per primary
    bytes.push_back(0);    // background colour index
    bytes.push_back(0);    // square pixels
    bytes.insert(bytes.end(), picture.palette, picture.palette + 256 * 3);

    bytes.push_back(0x2C);
    putWord(bytes, 0);
    putWord(bytes, 0);
    putWord(bytes, picture.width);
    putWord(bytes, picture.height);
    bytes.push_back(0); // no local table, not interlaced

    const int minCodeSize = 8;
    bytes.push_back(minCodeSize);
    const std::vector<unsigned char> codes = encodeGifLzw(picture.indices, minCodeSize);
    for (size_t start = 0; start < codes.size(); start += 255) {
        const size_t length = codes.size() - start < 255 ? codes.size() - start : 255;
        bytes.push_back(static_cast<unsigned char>(length));
        bytes.insert(bytes.end(), codes.begin() + start, codes.begin() + start + length);
    }
    bytes.push_back(0); // end of the image data
    bytes.push_back(0x3B);
    return bytes;
}
