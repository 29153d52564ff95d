// image_module_portable.cpp -- the image module: images by name, DevIL's blit and bilinear
// shrink, and PNG through the system's picture codec.
#include "platform/image_module.h"

#include <cstring>
#include <map>
#include <vector>

#include "platform/picture_codec.h"

namespace image_module {

namespace {

struct Image {
    unsigned width = 1;
    unsigned height = 1;
    unsigned format = RGBA;
    unsigned bpp = 4;
    unsigned origin = ORIGIN_LOWER_LEFT;
    std::vector<unsigned char> data = std::vector<unsigned char>(4, 0);
};

// Image 0 is the fallback bound when the bound image is deleted, always there; image 1 is
// created and bound by ilInit, as in DevIL.
std::map<unsigned, Image> images;
unsigned boundName = 0;
// Names are handed out as DevIL hands them: the most recently freed first, then one above the
// highest name yet used.
std::vector<unsigned> freedNames;
unsigned highestName = 0;
bool formatSet = false;
unsigned formatMode = RGBA;
bool blitBlend = true;

Image &bound() {
    return images[boundName];
}

unsigned channelsOf(unsigned format) {
    switch (format) {
    case RGB:
        return 3;
    case RGBA:
        return 4;
    case LUMINANCE:
        return 1;
    default:
        return 0;
    }
}

// Stored row of a row counted from the top.
unsigned storedRow(const Image &image, unsigned row) {
    return image.origin == ORIGIN_LOWER_LEFT ? image.height - 1 - row : row;
}

// One pixel in another format: luminance as grey, missing alpha opaque.
void convertPixel(const unsigned char *from, unsigned fromFormat, unsigned char *to,
                  unsigned toFormat) {
    unsigned char rgba[4];
    if (fromFormat == LUMINANCE)
        rgba[0] = rgba[1] = rgba[2] = from[0];
    else
        memcpy(rgba, from, 3);
    rgba[3] = fromFormat == RGBA ? from[3] : 255;
    if (toFormat == LUMINANCE)
        to[0] =
            (unsigned char)((rgba[0] * 0.212671f) + (rgba[1] * 0.715160f) + (rgba[2] * 0.072169f));
    else
        memcpy(to, rgba, channelsOf(toFormat));
}

bool convertImage(Image *image, unsigned format) {
    unsigned channels = channelsOf(format);
    if (channels == 0)
        return false;
    if (format == image->format)
        return true;
    std::vector<unsigned char> converted((size_t)image->width * image->height * channels);
    size_t pixels = (size_t)image->width * image->height;
    for (size_t i = 0; i < pixels; i++)
        convertPixel(&image->data[i * image->bpp], image->format, &converted[i * channels], format);
    image->data.swap(converted);
    image->format = format;
    image->bpp = channels;
    return true;
}

} // namespace

void ilInit() {
    images.clear();
    images[0] = Image();
    images[1] = Image();
    boundName = 1;
    freedNames.clear();
    highestName = 1;
    formatSet = false;
    formatMode = RGBA;
    blitBlend = true;
}

void ilShutDown() {
    images.clear();
    boundName = 0;
}

void iluInit() {}

void ilGenImages(int count, unsigned *names) {
    for (int i = 0; i < count; i++) {
        unsigned name;
        if (!freedNames.empty()) {
            name = freedNames.back();
            freedNames.pop_back();
        } else {
            name = ++highestName;
        }
        names[i] = name;
        images[name] = Image();
    }
}

void ilBindImage(unsigned name) {
    if (images.count(name) == 0)
        images[name] = Image();
    if (name > highestName)
        highestName = name;
    boundName = name;
}

void ilDeleteImages(int count, const unsigned *names) {
    for (int i = 0; i < count; i++) {
        if (names[i] == 0 || images.erase(names[i]) == 0)
            continue;
        freedNames.push_back(names[i]);
        if (names[i] == boundName)
            boundName = 0;
    }
}

bool ilIsImage(unsigned name) {
    return name != 0 && images.count(name) != 0;
}

bool ilTexImage(unsigned width, unsigned height, unsigned depth, unsigned char bpp, unsigned format,
                unsigned type, void *data) {
    if (width == 0 || height == 0 || depth != 1 || type != UNSIGNED_BYTE ||
        channelsOf(format) != bpp)
        return false;
    Image &image = bound();
    size_t size = (size_t)width * height * bpp;
    image.width = width;
    image.height = height;
    image.format = format;
    image.bpp = bpp;
    image.origin = ORIGIN_LOWER_LEFT;
    image.data.assign(size, 0);
    if (data != nullptr)
        memcpy(image.data.data(), data, size);
    return true;
}

bool ilBlit(unsigned source, int destX, int destY, int, unsigned srcX, unsigned srcY, unsigned,
            unsigned width, unsigned height, unsigned) {
    if (images.count(source) == 0 || destX < 0 || destY < 0)
        return false;
    Image &dest = bound();
    Image from = images[source];
    if (!convertImage(&from, dest.format))
        return false;
    if (srcX >= from.width || srcY >= from.height)
        return false;
    if (width > from.width - srcX)
        width = from.width - srcX;
    if (height > from.height - srcY)
        height = from.height - srcY;
    if ((unsigned)destX >= dest.width || (unsigned)destY >= dest.height)
        return true;
    if (width > dest.width - (unsigned)destX)
        width = dest.width - (unsigned)destX;
    if (height > dest.height - (unsigned)destY)
        height = dest.height - (unsigned)destY;
    unsigned bpp = dest.bpp;
    for (unsigned y = 0; y < height; y++) {
        const unsigned char *in =
            &from.data[((size_t)storedRow(from, srcY + y) * from.width + srcX) * bpp];
        unsigned char *out = &dest.data[((size_t)storedRow(dest, (unsigned)destY + y) * dest.width +
                                         (unsigned)destX) *
                                        bpp];
        for (unsigned x = 0; x < width; x++, in += bpp, out += bpp) {
            if (!blitBlend) {
                memcpy(out, in, bpp);
                continue;
            }
            // DevIL takes the last byte of the converted source pixel as its alpha whatever the
            // format: the other bytes are mixed by it, the destination keeps its last byte. So
            // an RGB destination is mixed by the source's blue, and a luminance one is kept.
            float front = in[bpp - 1] / 255.0f;
            float back = 1.0f - front;
            for (unsigned c = 0; c + 1 < bpp; c++)
                out[c] = (unsigned char)(in[c] * front + out[c] * back);
        }
    }
    return true;
}

unsigned char *ilGetData() {
    return bound().data.data();
}

int ilGetInteger(unsigned mode) {
    const Image &image = bound();
    switch (mode) {
    case IMAGE_WIDTH:
        return (int)image.width;
    case IMAGE_HEIGHT:
        return (int)image.height;
    case IMAGE_DEPTH:
        return 1;
    case IMAGE_SIZE_OF_DATA:
        return (int)image.data.size();
    case IMAGE_BPP:
        return (int)image.bpp;
    case IMAGE_FORMAT:
        return (int)image.format;
    case IMAGE_TYPE:
        return (int)UNSIGNED_BYTE;
    case IMAGE_ORIGIN:
        return (int)image.origin;
    case CUR_IMAGE:
        return (int)boundName;
    case FORMAT_MODE:
        return (int)formatMode;
    default:
        return 0;
    }
}

static bool setEnabled(unsigned mode, bool on) {
    if (mode == FORMAT_SET)
        formatSet = on;
    else if (mode == BLIT_BLEND)
        blitBlend = on;
    else
        return false;
    return true;
}

bool ilEnable(unsigned mode) {
    return setEnabled(mode, true);
}

bool ilDisable(unsigned mode) {
    return setEnabled(mode, false);
}

bool ilIsEnabled(unsigned mode) {
    return mode == FORMAT_SET ? formatSet : mode == BLIT_BLEND ? blitBlend : false;
}

void ilSetInteger(unsigned mode, int value) {
    if (mode == FORMAT_MODE && channelsOf((unsigned)value) != 0)
        formatMode = (unsigned)value;
}

bool ilRegisterOrigin(unsigned origin) {
    if (origin != ORIGIN_LOWER_LEFT && origin != ORIGIN_UPPER_LEFT)
        return false;
    bound().origin = origin;
    return true;
}

bool ilConvertImage(unsigned format, unsigned type) {
    return type == UNSIGNED_BYTE && convertImage(&bound(), format);
}

// The format DevIL loads a PNG into by its IHDR colour type: grey, RGB, or (for the types with
// alpha or a palette, which the module does not tell apart) RGBA. The artwork is RGB and RGBA.
static unsigned storedPngFormat(const unsigned char *png, unsigned size) {
    if (size < 26 || memcmp(png + 12, "IHDR", 4) != 0)
        return RGBA;
    switch (png[25]) {
    case 0:
        return LUMINANCE;
    case 2:
        return RGB;
    default:
        return RGBA;
    }
}

static bool acceptStoredSize(void *, uint32_t width, uint32_t height, uint32_t *targetWidth,
                             uint32_t *targetHeight) {
    *targetWidth = width;
    *targetHeight = height;
    return true;
}

bool ilLoadL(unsigned type, const void *lump, unsigned size) {
    if (type != PNG || lump == nullptr || size == 0)
        return false;
    PictureCodec *codec = openPictureCodec(PICTURE_PNG, acceptStoredSize, nullptr);
    if (codec == nullptr)
        return false;
    CodecPixels pixels;
    bool decoded = feedPictureCodec(codec, static_cast<const unsigned char *>(lump), size) &&
                   finishPictureCodec(codec, &pixels);
    closePictureCodec(codec);
    if (!decoded)
        return false;
    Image &image = bound();
    image.width = pixels.width;
    image.height = pixels.height;
    image.format = RGBA;
    image.bpp = 4;
    image.origin = ORIGIN_UPPER_LEFT;
    image.data.swap(pixels.rgba);
    // First as stored (grey taken as it is, not weighed again), then as FORMAT_MODE asks.
    unsigned stored = storedPngFormat(static_cast<const unsigned char *>(lump), size);
    if (stored == LUMINANCE) {
        size_t count = (size_t)image.width * image.height;
        for (size_t i = 0; i < count; i++)
            image.data[i] = image.data[i * 4];
        image.data.resize(count);
        image.format = LUMINANCE;
        image.bpp = 1;
    } else if (!convertImage(&image, stored)) {
        return false;
    }
    return !formatSet || convertImage(&image, formatMode);
}

void iluImageParameter(unsigned, unsigned) {}

// ILU's bilinear filter: each target pixel samples the source at (x, y) divided by the scale,
// mixing the four stored neighbours with weights in single precision, summed in ILU's order.
bool iluScale(unsigned width, unsigned height, unsigned) {
    Image &image = bound();
    if (width == 0)
        width = 1;
    if (height == 0)
        height = 1;
    if (width == image.width && height == image.height)
        return true;
    unsigned bpp = image.bpp;
    std::vector<unsigned char> scaled((size_t)width * height * bpp);
    float scaleX = (float)width / image.width;
    float scaleY = (float)height / image.height;
    for (unsigned y = 0; y < height; y++) {
        for (unsigned x = 0; x < width; x++) {
            float sourceX = (float)x / scaleX;
            float sourceY = (float)y / scaleY;
            unsigned x0 = (unsigned)sourceX;
            unsigned y0 = (unsigned)sourceY;
            float fractionX = sourceX - (float)x0;
            float fractionY = sourceY - (float)y0;
            unsigned x1 = x0 < image.width - 1 ? x0 + 1 : x0;
            unsigned y1 = y0 < image.height - 1 ? y0 + 1 : y0;
            float ul = (1.0f - fractionX) * (1.0f - fractionY);
            float ll = (1.0f - fractionX) * fractionY;
            float ur = fractionX * (1.0f - fractionY);
            float lr = fractionX * fractionY;
            const unsigned char *pul = &image.data[((size_t)y0 * image.width + x0) * bpp];
            const unsigned char *pll = &image.data[((size_t)y1 * image.width + x0) * bpp];
            const unsigned char *pur = &image.data[((size_t)y0 * image.width + x1) * bpp];
            const unsigned char *plr = &image.data[((size_t)y1 * image.width + x1) * bpp];
            unsigned char *out = &scaled[((size_t)y * width + x) * bpp];
            for (unsigned c = 0; c < bpp; c++)
                out[c] = (unsigned char)(pul[c] * ul + pll[c] * ll + pur[c] * ur + plr[c] * lr);
        }
    }
    image.data.swap(scaled);
    image.width = width;
    image.height = height;
    return true;
}

} // namespace image_module
