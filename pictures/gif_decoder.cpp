// gif_decoder.cpp -- a GIF's blocks walked byte by byte, its first image's LZW codes drawn
// straight onto the canvas: no copy of the compressed data, no buffer of colour indexes.
#include "pictures/gif_decoder.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t MAX_CODES = 4096;
constexpr uint32_t MAX_CODE_SIZE = 12;

// Interlaced rows come in four passes: every 8th row from row 0, every 8th from 4, every 4th
// from 2, every 2nd from 1.
constexpr uint32_t PASS_START[4] = {0, 4, 2, 1};
constexpr uint32_t PASS_STEP[4] = {8, 8, 4, 2};

uint32_t littleEndian16(const unsigned char *bytes) {
    return bytes[0] | (uint32_t)bytes[1] << 8;
}

// Bytes in a colour table whose size field is bits.
uint32_t colourTableBytes(unsigned char bits) {
    return 3u << ((bits & 7) + 1);
}

} // namespace

GifDecoder::GifDecoder(ChooseDecodeSize chooseSize, void *context)
    : chooseSize(chooseSize), context(context) {}

void GifDecoder::askSecondSize(uint32_t width, uint32_t height) {
    secondWidth = width;
    secondHeight = height;
}

bool GifDecoder::feed(const unsigned char *bytes, size_t size) {
    size_t i = 0;
    while (i < size && at != DONE && at != BROKEN && !wasRefused) {
        if (at == DATA && subBlockLeft > 0) {
            // The bulk of a file: an image's data, taken a sub-block at a time.
            size_t n = std::min<size_t>(subBlockLeft, size - i);
            for (size_t k = 0; k < n && !streamEnded; ++k) {
                bits |= (uint32_t)bytes[i + k] << bitCount;
                bitCount += 8;
                while (bitCount >= codeSize && !streamEnded) {
                    uint32_t code = bits & ((1u << codeSize) - 1);
                    bits >>= codeSize;
                    bitCount -= codeSize;
                    decodeCode(code);
                }
            }
            i += n;
            subBlockLeft -= (uint32_t)n;
            continue;
        }
        step(bytes[i++]);
    }
    return at != DONE && at != BROKEN && !wasRefused;
}

void GifDecoder::step(unsigned char byte) {
    switch (at) {
    case HEADER:
        header[filled++] = byte;
        if (filled == sizeof header)
            endHeader();
        break;
    case GLOBAL_MAP:
        globalMap[filled++] = byte;
        if (filled == expected)
            at = BLOCK;
        break;
    case BLOCK:
        if (byte == 0x21) {
            at = LABEL;
        } else if (byte == 0x2C) {
            filled = 0;
            at = DESCRIPTOR;
        } else if (byte == 0x3B) {
            at = BROKEN; // the trailer before any image: nothing to show
        }
        // Any other byte is passed over, as the common decoders do.
        break;
    case LABEL:
        controlBlock = byte == 0xF9;
        subBlockLeft = 0;
        filled = 0;
        controlFlags = controlIndex = 0;
        at = EXTENSION;
        break;
    case EXTENSION:
        if (subBlockLeft == 0) { // a sub-block's size; 0 ends the extension
            if (byte == 0)
                at = BLOCK;
            subBlockLeft = byte;
            break;
        }
        // A graphic control block's first sub-block: flags, delay (2 bytes), transparent index.
        if (controlBlock) {
            if (filled == 0)
                controlFlags = byte;
            else if (filled == 3)
                controlIndex = byte;
            ++filled;
            if (subBlockLeft == 1) {
                transparent = (controlFlags & 1) ? controlIndex : -1;
                controlBlock = false;
            }
        }
        --subBlockLeft;
        break;
    case DESCRIPTOR:
        descriptor[filled++] = byte;
        if (filled == sizeof descriptor)
            endDescriptor();
        break;
    case LOCAL_MAP:
        localMap[filled++] = byte;
        if (filled == expected)
            at = CODE_SIZE;
        break;
    case CODE_SIZE:
        startData(byte);
        break;
    case DATA:
        // A sub-block's size: 0 ends the image, which is all that is shown.
        if (byte == 0)
            at = DONE;
        subBlockLeft = byte;
        break;
    case DONE:
    case BROKEN:
        break;
    }
}

void GifDecoder::endHeader() {
    if (memcmp(header, "GIF87a", 6) != 0 && memcmp(header, "GIF89a", 6) != 0) {
        at = BROKEN;
        return;
    }
    canvasWidth = littleEndian16(header + 6);
    canvasHeight = littleEndian16(header + 8);
    uint32_t chosenWidth, chosenHeight;
    if (canvasWidth == 0 || canvasHeight == 0) {
        at = BROKEN;
        return;
    }
    if (!chooseSize(context, canvasWidth, canvasHeight, &chosenWidth, &chosenHeight)) {
        wasRefused = true;
        return;
    }
    rgba.assign((size_t)canvasWidth * canvasHeight * 4, 0);
    hasGlobalMap = (header[10] & 0x80) != 0;
    filled = 0;
    expected = colourTableBytes(header[10]);
    at = hasGlobalMap ? GLOBAL_MAP : BLOCK;
}

void GifDecoder::endDescriptor() {
    left = littleEndian16(descriptor);
    top = littleEndian16(descriptor + 2);
    width = littleEndian16(descriptor + 4);
    height = littleEndian16(descriptor + 6);
    interlaced = (descriptor[8] & 0x40) != 0;
    // An empty image, or one of 2 GB of pixels or more, is not one the common decoders show.
    if (width == 0 || height == 0 || (uint64_t)width * 4 * height >= 0x7FFFFFFF) {
        at = BROKEN;
        return;
    }
    filled = 0;
    if (descriptor[8] & 0x80) {
        map = localMap;
        expected = colourTableBytes(descriptor[8]);
        at = LOCAL_MAP;
    } else if (hasGlobalMap) {
        map = globalMap;
        at = CODE_SIZE;
    } else {
        at = BROKEN; // no colours to show it in
    }
}

void GifDecoder::startData(unsigned char size) {
    if (size >= MAX_CODE_SIZE) {
        at = BROKEN;
        return;
    }
    minCodeSize = codeSize = size + 1u;
    clearCode = 1u << size;
    endCode = clearCode + 1;
    for (uint32_t code = 0; code <= endCode; ++code) {
        suffix[code] = first[code] = (unsigned char)code;
        length[code] = 1;
    }
    tableSize = endCode + 1;
    previous = -1;
    column = row = pass = canvasRow = 0;
    streamEnded = false;
    subBlockLeft = 0;
    at = DATA;
}

void GifDecoder::decodeCode(uint32_t code) {
    if (code == endCode) {
        streamEnded = true;
        return;
    }
    if (code == clearCode) {
        tableSize = endCode + 1;
        codeSize = minCodeSize;
        previous = -1;
        return;
    }
    // Every code after the first adds the previous string extended by the first index of this
    // one; a code just beyond the table is that new string itself.
    if (previous >= 0 && tableSize < MAX_CODES) {
        uint32_t from = code < tableSize ? code : (uint32_t)previous;
        prefix[tableSize] = (uint16_t)previous;
        suffix[tableSize] = first[from];
        first[tableSize] = first[previous];
        length[tableSize] = (uint16_t)(length[previous] + 1);
        ++tableSize;
        if (tableSize == (1u << codeSize) && codeSize < MAX_CODE_SIZE)
            ++codeSize;
    }
    if (code >= tableSize) {
        streamEnded = true; // a code no encoder writes: what was drawn stays
        return;
    }
    drawString(code);
    previous = (int)code;
}

// Draws the string of a code from the next pixel on, a row at a time. Only a string with a
// pixel inside the canvas is spelled out, so an image far larger than its canvas costs little.
void GifDecoder::drawString(uint32_t code) {
    uint32_t count = length[code];
    bool spelled = false;
    uint32_t done = 0;
    while (done < count && row < height) {
        uint32_t n = std::min(count - done, width - column);
        uint32_t y = top + canvasRow;
        uint32_t x = left + column;
        if (y < canvasHeight && x < canvasWidth) {
            if (!spelled) {
                uint32_t c = code;
                for (uint32_t i = count; i-- > 0; c = prefix[c])
                    stack[i] = suffix[c];
                spelled = true;
            }
            uint32_t visible = std::min(n, canvasWidth - x);
            unsigned char *out = rgba.data() + ((size_t)y * canvasWidth + x) * 4;
            for (uint32_t k = 0; k < visible; ++k, out += 4) {
                unsigned char index = stack[done + k];
                if (index == transparent)
                    continue;
                memcpy(out, map + index * 3, 3);
                out[3] = 255;
            }
        }
        done += n;
        column += n;
        if (column < width)
            continue;
        column = 0;
        ++row;
        if (!interlaced) {
            canvasRow = row;
            if (top + row >= canvasHeight)
                row = height; // every row left lies below the canvas
            continue;
        }
        canvasRow += PASS_STEP[pass];
        while (canvasRow >= height && pass < 3)
            canvasRow = PASS_START[++pass];
    }
    if (row >= height)
        streamEnded = true;
}

bool GifDecoder::finish(CodecPixels *pixels) {
    if (at != DONE || wasRefused)
        return false;
    if (secondWidth > 0 && !scalePixels(rgba.data(), canvasWidth, canvasHeight, secondWidth,
                                        secondHeight, &pixels->secondRgba))
        return false;
    if (secondWidth > 0) {
        pixels->secondWidth = secondWidth;
        pixels->secondHeight = secondHeight;
    }
    pixels->width = canvasWidth;
    pixels->height = canvasHeight;
    pixels->rgba.swap(rgba);
    return true;
}
