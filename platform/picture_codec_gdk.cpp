// picture_codec_gdk.cpp -- the picture decoders of GdkPixbuf, fed incrementally through its
// loader, whose size-prepared signal comes before any pixel is allocated.
#include "platform/picture_codec.h"

#include <cstring>
#include <gdk-pixbuf/gdk-pixbuf.h>

struct PictureCodec {
    GdkPixbufLoader *loader;
    PictureFormat format;
    ChooseDecodeSize chooseSize;
    void *context;
    bool refused;
    bool failed;
    bool closed; // the loader has been told the input ended
    // With a second size, the loader stops at the size it decodes at, and both copies are
    // scaled from there as the loader itself would scale.
    uint32_t secondWidth;
    uint32_t secondHeight;
    uint32_t targetWidth;
    uint32_t targetHeight;
};

namespace {

const char *loaderType(PictureFormat format) {
    switch (format) {
    case PICTURE_JPEG:
        return "jpeg";
    case PICTURE_PNG:
        return "png";
    case PICTURE_GIF:
        return "gif";
    case PICTURE_BMP:
        return "bmp";
    case PICTURE_WEBP:
        return "webp";
    case PICTURE_TIFF:
        return "tiff";
    case PICTURE_HEIF:
        return "heif/avif"; // libheif's loader
    case PICTURE_AVIF:
        return "avif"; // libavif's loader
    }
    return nullptr;
}

void onSizePrepared(GdkPixbufLoader *loader, int width, int height, gpointer data) {
    PictureCodec *codec = (PictureCodec *)data;
    if (width <= 0 || height <= 0)
        return;
    uint32_t wantedWidth = (uint32_t)width, wantedHeight = (uint32_t)height;
    if (!codec->chooseSize(codec->context, (uint32_t)width, (uint32_t)height, &wantedWidth,
                           &wantedHeight)) {
        codec->refused = true;
        // A zero size tells the decoder to stop before allocating.
        gdk_pixbuf_loader_set_size(loader, 0, 0);
        return;
    }
    codec->targetWidth = wantedWidth;
    codec->targetHeight = wantedHeight;
    if (codec->secondWidth > 0) {
        uint64_t decodedWidth, decodedHeight;
        codecDecodeSize(codec->format, (uint32_t)width, (uint32_t)height, wantedWidth, wantedHeight,
                        &decodedWidth, &decodedHeight);
        if (decodedWidth >= codec->secondWidth && decodedHeight >= codec->secondHeight) {
            wantedWidth = (uint32_t)decodedWidth;
            wantedHeight = (uint32_t)decodedHeight;
        } else
            codec->secondWidth = codec->secondHeight = 0;
    }
    if (wantedWidth != (uint32_t)width || wantedHeight != (uint32_t)height)
        gdk_pixbuf_loader_set_size(loader, (int)wantedWidth, (int)wantedHeight);
}

// Copies an 8-bit RGB or RGBA pixbuf into RGBA bytes, top row first.
bool copyPixels(GdkPixbuf *pixbuf, CodecPixels *pixels) {
    int channels = gdk_pixbuf_get_n_channels(pixbuf);
    if (gdk_pixbuf_get_colorspace(pixbuf) != GDK_COLORSPACE_RGB ||
        gdk_pixbuf_get_bits_per_sample(pixbuf) != 8 || (channels != 3 && channels != 4))
        return false;
    size_t width = (size_t)gdk_pixbuf_get_width(pixbuf);
    size_t height = (size_t)gdk_pixbuf_get_height(pixbuf);
    size_t stride = (size_t)gdk_pixbuf_get_rowstride(pixbuf);
    const guint8 *rows = gdk_pixbuf_read_pixels(pixbuf);
    pixels->width = (uint32_t)width;
    pixels->height = (uint32_t)height;
    pixels->rgba.resize(width * height * 4);
    unsigned char *out = pixels->rgba.data();
    for (size_t y = 0; y < height; ++y) {
        const guint8 *in = rows + y * stride;
        for (size_t x = 0; x < width; ++x, in += channels, out += 4) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            out[3] = channels == 4 ? in[3] : 255;
        }
    }
    return true;
}

uint64_t ceilDiv(uint64_t value, uint64_t divisor) {
    return (value + divisor - 1) / divisor;
}

// The pixbuf at width x height: scaled bilinearly, as the loader scales to a size set on it,
// which gives the same pixels. The caller unrefs the result.
GdkPixbuf *sizedPixbuf(GdkPixbuf *pixbuf, uint32_t width, uint32_t height) {
    if (gdk_pixbuf_get_width(pixbuf) == (int)width && gdk_pixbuf_get_height(pixbuf) == (int)height)
        return (GdkPixbuf *)g_object_ref(pixbuf);
    return gdk_pixbuf_scale_simple(pixbuf, (int)width, (int)height, GDK_INTERP_BILINEAR);
}

// Both copies from the pixels the loader stopped at, the second first.
bool copyBothSizes(PictureCodec *codec, GdkPixbuf *decoded, CodecPixels *pixels) {
    GdkPixbuf *second = sizedPixbuf(decoded, codec->secondWidth, codec->secondHeight);
    CodecPixels copy;
    bool copied = second != nullptr && copyPixels(second, &copy);
    if (second != nullptr)
        g_object_unref(second);
    GdkPixbuf *first = sizedPixbuf(decoded, codec->targetWidth, codec->targetHeight);
    if (first == nullptr || !copyPixels(first, pixels)) {
        if (first != nullptr)
            g_object_unref(first);
        return false;
    }
    g_object_unref(first);
    if (copied) {
        pixels->secondWidth = copy.width;
        pixels->secondHeight = copy.height;
        pixels->secondRgba.swap(copy.rgba);
    }
    return true;
}

} // namespace

PictureCodec *openPictureCodec(PictureFormat format, ChooseDecodeSize chooseSize, void *context) {
    GdkPixbufLoader *loader = gdk_pixbuf_loader_new_with_type(loaderType(format), nullptr);
    if (loader == nullptr)
        return nullptr;
    PictureCodec *codec =
        new PictureCodec{loader, format, chooseSize, context, false, false, false, 0, 0, 0, 0};
    g_signal_connect(loader, "size-prepared", G_CALLBACK(onSizePrepared), codec);
    return codec;
}

bool feedPictureCodec(PictureCodec *codec, const unsigned char *bytes, size_t size) {
    if (codec->failed || codec->refused)
        return false;
    if (!gdk_pixbuf_loader_write(codec->loader, bytes, size, nullptr))
        codec->failed = true;
    return !codec->failed && !codec->refused;
}

bool finishPictureCodec(PictureCodec *codec, CodecPixels *pixels) {
    codec->closed = true;
    bool closed = gdk_pixbuf_loader_close(codec->loader, nullptr);
    if (!closed || codec->failed || codec->refused)
        return false;
    GdkPixbuf *decoded = gdk_pixbuf_loader_get_pixbuf(codec->loader);
    if (decoded == nullptr)
        return false;
    if (codec->secondWidth > 0 ? !copyBothSizes(codec, decoded, pixels)
                               : !copyPixels(decoded, pixels))
        return false;
    const gchar *orientation = gdk_pixbuf_get_option(decoded, "orientation");
    if (orientation != nullptr && orientation[0] >= '1' && orientation[0] <= '8' &&
        orientation[1] == '\0')
        pixels->orientation = orientation[0] - '0';
    return true;
}

void askPictureCodecForSecondSize(PictureCodec *codec, uint32_t width, uint32_t height) {
    codec->secondWidth = width;
    codec->secondHeight = height;
}

bool pictureCodecRefused(const PictureCodec *codec) {
    return codec->refused;
}

void closePictureCodec(PictureCodec *codec) {
    if (codec == nullptr)
        return;
    // A loader left part-way (the picture refused, or its file unreadable) is closed all the
    // same: GdkPixbuf insists, and only complains of the data that is missing.
    if (!codec->closed)
        gdk_pixbuf_loader_close(codec->loader, nullptr);
    g_object_unref(codec->loader);
    delete codec;
}

void codecDecodeSize(PictureFormat format, uint32_t width, uint32_t height, uint32_t targetWidth,
                     uint32_t targetHeight, uint64_t *decodedWidth, uint64_t *decodedHeight) {
    *decodedWidth = width;
    *decodedHeight = height;
    if (format != PICTURE_JPEG)
        return;
    // The JPEG decoder scales by 1/2, 1/4 or 1/8 while it decodes, the smallest scale that
    // still covers the size asked for.
    for (uint64_t denominator = 2; denominator <= 8; denominator *= 2) {
        if (ceilDiv(width, denominator) < targetWidth ||
            ceilDiv(height, denominator) < targetHeight)
            break;
        *decodedWidth = ceilDiv(width, denominator);
        *decodedHeight = ceilDiv(height, denominator);
    }
}

bool scalePixels(const unsigned char *rgba, uint32_t width, uint32_t height, uint32_t newWidth,
                 uint32_t newHeight, std::vector<unsigned char> *scaled) {
    // Only read from: the pixbuf wraps the caller's pixels.
    GdkPixbuf *source =
        gdk_pixbuf_new_from_data(const_cast<unsigned char *>(rgba), GDK_COLORSPACE_RGB, TRUE, 8,
                                 (int)width, (int)height, (int)width * 4, nullptr, nullptr);
    if (source == nullptr)
        return false;
    GdkPixbuf *result =
        gdk_pixbuf_scale_simple(source, (int)newWidth, (int)newHeight, GDK_INTERP_BILINEAR);
    g_object_unref(source);
    if (result == nullptr)
        return false;
    size_t rowBytes = (size_t)newWidth * 4;
    const guint8 *rows = gdk_pixbuf_read_pixels(result);
    size_t stride = (size_t)gdk_pixbuf_get_rowstride(result);
    scaled->resize(rowBytes * newHeight);
    for (size_t y = 0; y < newHeight; ++y)
        memcpy(scaled->data() + y * rowBytes, rows + y * stride, rowBytes);
    g_object_unref(result);
    return true;
}
