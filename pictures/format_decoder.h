// format_decoder.h -- the decoder a picture's bytes go to: our own for a GIF, the system's for
// every other format, behind one interface.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

#include "pictures/gif_decoder.h"
#include "platform/picture_codec.h"

// One picture's decoder, released with it. The calls are those of picture_codec.h. Thread: any.
class FormatDecoder {
  public:
    FormatDecoder(PictureFormat format, ChooseDecodeSize chooseSize, void *context);
    ~FormatDecoder();
    FormatDecoder(const FormatDecoder &) = delete;
    FormatDecoder &operator=(const FormatDecoder &) = delete;

    // False when the system has no decoder for the format.
    bool opened() const { return gif != nullptr || codec != nullptr; }
    bool feed(const unsigned char *bytes, size_t size);
    void askSecondSize(uint32_t width, uint32_t height);
    bool finish(CodecPixels *pixels);
    bool refused() const;

  private:
    std::unique_ptr<GifDecoder> gif;
    PictureCodec *codec = nullptr;
};
