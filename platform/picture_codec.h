// picture_codec.h -- the system's picture decoders: the bytes of a picture of a known format in,
// RGBA pixels out at a size chosen once the stored size is known and before any pixel exists;
// and the bilinear scaler that goes with them. Nothing here touches a global: Thread: any.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

enum PictureFormat {
    PICTURE_JPEG,
    PICTURE_PNG,
    PICTURE_GIF,
    PICTURE_BMP,
    PICTURE_WEBP,
    PICTURE_TIFF,
    PICTURE_HEIF, // HEVC-coded HEIF, as phones write it
    PICTURE_AVIF,
};

// Pixels as the file stores them (no orientation applied): RGBA, 4 bytes a pixel, top row first.
struct CodecPixels {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<unsigned char> rgba;
    int orientation = 0; // the EXIF orientation 1-8 the decoder read, 0 when it reads none
    // The second copy asked for with askPictureCodecForSecondSize; empty when none was made.
    uint32_t secondWidth = 0;
    uint32_t secondHeight = 0;
    std::vector<unsigned char> secondRgba;
};

// Told the stored size before the decoder allocates any pixel. False refuses the picture;
// otherwise sets the size to decode to, which the decoder reaches while it decodes where it
// can (codecDecodeSize) and by scaling afterwards.
typedef bool (*ChooseDecodeSize)(void *context, uint32_t storedWidth, uint32_t storedHeight,
                                 uint32_t *width, uint32_t *height);

struct PictureCodec;

// A decoder for one picture of the given format; null when the system has none.
PictureCodec *openPictureCodec(PictureFormat format, ChooseDecodeSize chooseSize, void *context);

// Hands the decoder the next bytes of the file. False once the picture is known to be broken
// or has been refused; nothing more need be fed then.
bool feedPictureCodec(PictureCodec *codec, const unsigned char *bytes, size_t size);

// Asked from within chooseSize, before any pixel exists: also make the picture at
// width x height (stored orientation), scaled from the same decoded pixels as the size chosen,
// which comes out exactly as it would alone. Only for a size no larger than the pixels the
// decoder holds (codecDecodeSize); a decoder that cannot makes no second copy.
void askPictureCodecForSecondSize(PictureCodec *codec, uint32_t width, uint32_t height);

// Ends the input. True, with the pixels, when a whole picture was decoded and not refused.
bool finishPictureCodec(PictureCodec *codec, CodecPixels *pixels);

// True when the decoder was told the stored size and its choice refused the picture.
bool pictureCodecRefused(const PictureCodec *codec);

void closePictureCodec(PictureCodec *codec);

// The size the decoder holds a stored width x height picture at while decoding it to
// targetWidth x targetHeight (some shrink while they decode, others decode it all): what a
// picture's memory bound counts.
void codecDecodeSize(PictureFormat format, uint32_t width, uint32_t height, uint32_t targetWidth,
                     uint32_t targetHeight, uint64_t *decodedWidth, uint64_t *decodedHeight);

// Scales RGBA pixels (top row first) to newWidth x newHeight with bilinear filtering. False
// when the memory for it cannot be had.
bool scalePixels(const unsigned char *rgba, uint32_t width, uint32_t height, uint32_t newWidth,
                 uint32_t newHeight, std::vector<unsigned char> *scaled);
