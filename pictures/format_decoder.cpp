// format_decoder.cpp -- GIFs to our own decoder, the rest to the system's.
#include "pictures/format_decoder.h"

FormatDecoder::FormatDecoder(PictureFormat format, ChooseDecodeSize chooseSize, void *context) {
    if (format == PICTURE_GIF)
        gif = std::make_unique<GifDecoder>(chooseSize, context);
    else
        codec = openPictureCodec(format, chooseSize, context);
}

FormatDecoder::~FormatDecoder() {
    closePictureCodec(codec);
}

bool FormatDecoder::feed(const unsigned char *bytes, size_t size) {
    return gif != nullptr ? gif->feed(bytes, size) : feedPictureCodec(codec, bytes, size);
}

void FormatDecoder::askSecondSize(uint32_t width, uint32_t height) {
    if (gif != nullptr)
        gif->askSecondSize(width, height);
    else
        askPictureCodecForSecondSize(codec, width, height);
}

bool FormatDecoder::finish(CodecPixels *pixels) {
    return gif != nullptr ? gif->finish(pixels) : finishPictureCodec(codec, pixels);
}

bool FormatDecoder::refused() const {
    return gif != nullptr ? gif->refused() : pictureCodecRefused(codec);
}
