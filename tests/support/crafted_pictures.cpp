// crafted_pictures.cpp -- JPEG markers and Huffman codes, GIF blocks and LZW codes, BMP
// headers, each the least a decoder accepts.
#include "support/crafted_pictures.h"

#include <algorithm>
#include <cstdio>

namespace {

void put16be(Bytes *out, int value) {
    out->push_back((unsigned char)(value >> 8));
    out->push_back((unsigned char)value);
}

void put16le(Bytes *out, unsigned value) {
    out->push_back((unsigned char)value);
    out->push_back((unsigned char)(value >> 8));
}

void put32le(Bytes *out, unsigned value) {
    put16le(out, value & 0xFFFF);
    put16le(out, value >> 16);
}

// LZW codes packed least significant bit first, then written as an image's data sub-blocks
// of up to 255 bytes and the empty one that ends them.
struct GifCodes {
    Bytes bytes;
    unsigned bits = 0;
    int used = 0;
    void put(unsigned code, int width) {
        bits |= code << used;
        used += width;
        while (used >= 8) {
            bytes.push_back((unsigned char)bits);
            bits >>= 8;
            used -= 8;
        }
    }
    void writeTo(Bytes *out) {
        if (used > 0)
            bytes.push_back((unsigned char)bits);
        for (size_t at = 0; at < bytes.size(); at += 255) {
            size_t n = bytes.size() - at < 255 ? bytes.size() - at : 255;
            out->push_back((unsigned char)n);
            out->insert(out->end(), bytes.begin() + (long)at, bytes.begin() + (long)(at + n));
        }
        out->push_back(0);
    }
};

// Entropy-coded bits, most significant first, 0xFF followed by a stuffed 0x00; the last byte
// padded with ones.
struct JpegBits {
    Bytes *out;
    unsigned byte = 0;
    int used = 0;
    void put(unsigned value, int count) {
        for (int i = count - 1; i >= 0; --i) {
            byte = byte << 1 | ((value >> i) & 1);
            if (++used == 8)
                flushByte();
        }
    }
    void flushByte() {
        out->push_back((unsigned char)byte);
        if (byte == 0xFF)
            out->push_back(0x00);
        byte = 0;
        used = 0;
    }
    void finish() {
        if (used > 0)
            put(0xFF, 8 - used);
    }
};

void marker(Bytes *out, int code, int length) {
    out->push_back(0xFF);
    out->push_back((unsigned char)code);
    put16be(out, length);
}

void scanHeader(Bytes *out, int start, int end) {
    marker(out, 0xDA, 8);
    out->insert(out->end(), {1, 1, 0x00, (unsigned char)start, (unsigned char)end, 0x00});
}

} // namespace

Bytes progressiveJpeg(int width, int height, int scans) {
    Bytes out = {0xFF, 0xD8};
    marker(&out, 0xDB, 67);
    out.push_back(0x00);
    out.insert(out.end(), 64, 1);
    marker(&out, 0xC2, 11);
    out.push_back(8);
    put16be(&out, height);
    put16be(&out, width);
    out.insert(out.end(), {1, 1, 0x11, 0});
    // DC table: one code, "0", for a difference of 0. AC table: the fifteen end-of-band runs
    // EOB0..EOB14, 4-bit codes 0..14 in that order.
    marker(&out, 0xC4, 20);
    out.insert(out.end(), {0x00, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00});
    marker(&out, 0xC4, 34);
    out.insert(out.end(), {0x10, 0, 0, 0, 15, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    for (int run = 0; run < 15; ++run)
        out.push_back((unsigned char)(run << 4));

    long blocks = (long)((width + 7) / 8) * ((height + 7) / 8);
    scanHeader(&out, 0, 0);
    JpegBits dc{&out};
    for (long i = 0; i < blocks; ++i)
        dc.put(0, 1);
    dc.finish();
    for (int scan = 1; scan < scans; ++scan) {
        scanHeader(&out, 1, 63);
        JpegBits ac{&out};
        for (long left = blocks; left > 0;) {
            long run = left < 32767 ? left : 32767;
            int bits = 0;
            while ((2L << bits) <= run)
                ++bits;
            ac.put((unsigned)bits, 4);
            ac.put((unsigned)(run - (1L << bits)), bits);
            left -= run;
        }
        ac.finish();
    }
    out.insert(out.end(), {0xFF, 0xD9});
    return out;
}

Bytes solidGif(int width, int height, bool red, int frames) {
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    put16le(&out, (unsigned)width);
    put16le(&out, (unsigned)height);
    out.insert(out.end(), {0x80, 0, 0});           // a global table of two colours
    out.insert(out.end(), {255, 0, 0, 0, 0, 255}); // red, blue
    unsigned colour = red ? 0 : 1;
    for (int frame = 0; frame < frames; ++frame) {
        out.push_back(0x2C);
        put16le(&out, 0);
        put16le(&out, 0);
        put16le(&out, (unsigned)width);
        put16le(&out, (unsigned)height);
        out.push_back(0x00);
        out.push_back(2); // LZW minimum code size: codes 0-3 colours, 4 clear, 5 end
        // 3-bit codes throughout: a clear code before every two pixels keeps the table from
        // growing to the next code width.
        GifCodes codes;
        long pixels = (long)width * height;
        for (long i = 0; i < pixels; ++i) {
            if (i % 2 == 0)
                codes.put(4, 3);
            codes.put(colour, 3);
        }
        codes.put(5, 3);
        codes.writeTo(&out);
    }
    out.push_back(0x3B);
    return out;
}

Bytes indexedGif(int canvasWidth, int canvasHeight, const Bytes &globalMap, const GifImage &image) {
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    put16le(&out, (unsigned)canvasWidth);
    put16le(&out, (unsigned)canvasHeight);
    out.insert(out.end(), {(unsigned char)(globalMap.empty() ? 0 : 0x87), 0, 0});
    out.insert(out.end(), globalMap.begin(), globalMap.end());
    if (image.transparent >= 0)
        out.insert(out.end(), {0x21, 0xF9, 4, 1, 0, 0, (unsigned char)image.transparent, 0});
    out.push_back(0x2C);
    put16le(&out, (unsigned)image.left);
    put16le(&out, (unsigned)image.top);
    put16le(&out, (unsigned)image.width);
    put16le(&out, (unsigned)image.height);
    out.push_back(
        (unsigned char)((image.localMap.empty() ? 0 : 0x87) | (image.interlaced ? 0x40 : 0)));
    out.insert(out.end(), image.localMap.begin(), image.localMap.end());
    out.push_back(8); // LZW minimum code size: 0-255 colours, 256 clear, 257 end

    GifCodes codes;
    unsigned width = 9, next = 258;
    auto put = [&](unsigned code) { codes.put(code, (int)width); };
    // table[prefix * 256 + index]: the code of a string extended by one index, 0 when none.
    std::vector<unsigned short> table(4096 * 256, 0);
    put(256);
    int prefix = -1;
    for (unsigned char index : image.indexes) {
        if (prefix < 0) {
            prefix = index;
            continue;
        }
        unsigned short &known = table[(size_t)prefix * 256 + index];
        if (known != 0) {
            prefix = known;
            continue;
        }
        put((unsigned)prefix);
        if (next < 4096) {
            known = (unsigned short)next++;
            if (next > (1u << width) && width < 12)
                ++width; // the decoder, a code behind, widens after the next one
        } else {
            put(256);
            std::fill(table.begin(), table.end(), 0);
            next = 258;
            width = 9;
        }
        prefix = index;
    }
    if (prefix >= 0)
        put((unsigned)prefix);
    put(257);
    codes.writeTo(&out);
    out.push_back(0x3B);
    return out;
}

Bytes solidBmp(int width, int height, unsigned char red, unsigned char green, unsigned char blue) {
    unsigned rowBytes = ((unsigned)width * 3 + 3) / 4 * 4;
    unsigned pixelBytes = rowBytes * (unsigned)height;
    Bytes out = {'B', 'M'};
    put32le(&out, 54 + pixelBytes);
    put32le(&out, 0);
    put32le(&out, 54);
    put32le(&out, 40);
    put32le(&out, (unsigned)width);
    put32le(&out, (unsigned)height);
    put16le(&out, 1);
    put16le(&out, 24);
    put32le(&out, 0);
    put32le(&out, pixelBytes);
    put32le(&out, 2835);
    put32le(&out, 2835);
    put32le(&out, 0);
    put32le(&out, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            out.insert(out.end(), {blue, green, red});
        out.insert(out.end(), rowBytes - (unsigned)width * 3, 0);
    }
    return out;
}

bool writeBytes(const std::string &path, const Bytes &bytes) {
    FILE *file = fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && written;
}
