// gif_decoder.h -- the first image of a GIF, decoded by our own code as its bytes arrive, in
// time proportional to the file and the picture. The system's loaders decode the image anew
// whenever their input pauses within it and shift their whole buffer for each data block, which
// made a large GIF take minutes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/picture_codec.h"

// Fed the bytes of a GIF, it hands chooseSize the canvas (the logical screen) before any pixel
// exists, then draws the first image onto it: transparent black where the image does not reach,
// is transparent, or its data ends early. One decoder per picture; Thread: any.
class GifDecoder {
  public:
    GifDecoder(ChooseDecodeSize chooseSize, void *context);
    GifDecoder(const GifDecoder &) = delete;
    GifDecoder &operator=(const GifDecoder &) = delete;

    // The next bytes of the file. False once the picture is broken, refused or complete:
    // nothing more need be fed then.
    bool feed(const unsigned char *bytes, size_t size);
    // Also make the picture at width x height, scaled from the canvas (0 x 0: none).
    void askSecondSize(uint32_t width, uint32_t height);
    // True, with the canvas and the size chosen for it, once the first image has ended and the
    // picture was not refused.
    bool finish(CodecPixels *pixels);
    bool refused() const { return wasRefused; }

  private:
    enum Step {
        HEADER,
        GLOBAL_MAP,
        BLOCK,
        LABEL,
        EXTENSION,
        DESCRIPTOR,
        LOCAL_MAP,
        CODE_SIZE,
        DATA,
        DONE,
        BROKEN
    };

    void step(unsigned char byte);
    void endHeader();
    void endDescriptor();
    void startData(unsigned char codeSize);
    void decodeCode(uint32_t code);
    void drawString(uint32_t code);
    void advance(uint32_t count);

    ChooseDecodeSize chooseSize;
    void *context;
    bool wasRefused = false;
    Step at = HEADER;
    unsigned char header[13] = {};
    uint32_t filled = 0;   // bytes of the header, descriptor or colour map so far
    uint32_t expected = 0; // bytes of the colour map being read
    uint32_t subBlockLeft = 0;
    bool inSubBlocks = false;
    bool controlBlock = false; // within a graphic control extension's first sub-block
    unsigned char controlFlags = 0, controlIndex = 0;
    int transparent = -1;
    uint32_t canvasWidth = 0, canvasHeight = 0;
    uint32_t secondWidth = 0, secondHeight = 0;
    std::vector<unsigned char> rgba; // the canvas
    unsigned char globalMap[256 * 3] = {};
    unsigned char localMap[256 * 3] = {};
    bool hasGlobalMap = false;
    const unsigned char *map = nullptr;
    unsigned char descriptor[9] = {};
    uint32_t left = 0, top = 0, width = 0, height = 0;
    bool interlaced = false;

    // The LZW stream: codes gathered bit by bit, the table of strings each as the code it
    // extends, its last index, its first index and its length.
    uint32_t bits = 0, bitCount = 0;
    uint32_t minCodeSize = 0, codeSize = 0, clearCode = 0, endCode = 0, tableSize = 0;
    int previous = -1; // the last code decoded since a clear, or -1
    bool streamEnded = false;
    uint16_t prefix[4096] = {};
    unsigned char suffix[4096] = {};
    unsigned char first[4096] = {};
    uint16_t length[4096] = {};
    unsigned char stack[4096] = {};

    // Where the next pixel of the image goes: its column, and its row as the pass and the row
    // within the pass for an interlaced image.
    uint32_t column = 0;
    uint32_t row = 0;  // the next row in storage order, 0 to height
    uint32_t pass = 0; // interlaced: 0 to 3
    uint32_t canvasRow = 0;
};
