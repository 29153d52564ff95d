// picture_decoder.cpp -- pictures decoded with GdkPixbuf, shrunk while they decode, bounded in
// memory before anything is allocated, and turned upright.
#include "images/picture_decoder.h"

#include <algorithm>
#include <cstring>
#include <gdk-pixbuf/gdk-pixbuf.h>

#include "images/jpeg_header.h"
#include "images/picture_fit.h"
#include "platform/picture_file.h"

namespace {

// The leading bytes read before decoding starts: enough for the EXIF block (at most 64 KB)
// and the segments that usually precede the frame header.
constexpr size_t HEAD_SIZE = 256 * 1024;
constexpr size_t CHUNK_SIZE = 64 * 1024;

// A source of a picture's bytes: the count read, 0 at the end, -1 on error.
struct ByteSource {
    long (*read)(void *context, unsigned char *buffer, size_t size);
    void *context;
};

struct DecodeState {
    const char *format;
    JpegHeader jpeg;
    uint32_t innerWidth;
    uint32_t innerHeight;
    bool sized;
    bool refused;
    uint32_t uprightWidth; // the stored size turned upright, once known
    uint32_t uprightHeight;
};

// Largest offset of a BMP's pixel data accepted: headers, masks and a full palette take
// little more than 1 KB.
constexpr uint32_t BMP_MAX_PIXEL_OFFSET = 1024 * 1024;

uint32_t littleEndian32(const unsigned char *bytes) {
    return (uint32_t)bytes[0] | (uint32_t)bytes[1] << 8 | (uint32_t)bytes[2] << 16 |
           (uint32_t)bytes[3] << 24;
}

// The BMP decoder sizes its header and palette buffers from the header's declared length, the
// pixel offset and the palette's colour count before any picture size is known; a few bytes
// could make it reserve gigabytes.
bool plausibleBmpHeader(const unsigned char *bytes, size_t size) {
    if (size < 18)
        return false;
    uint32_t infoSize = littleEndian32(bytes + 14);
    uint32_t pixelOffset = littleEndian32(bytes + 10);
    bool knownInfo = infoSize == 12 || infoSize == 16 || infoSize == 40 || infoSize == 52 ||
                     infoSize == 56 || infoSize == 64 || infoSize == 108 || infoSize == 124;
    if (!knownInfo || pixelOffset > BMP_MAX_PIXEL_OFFSET)
        return false;
    // Headers of 40 bytes and more count their palette's colours at offset 46; at most 256.
    if (infoSize >= 40)
        return size >= 50 && littleEndian32(bytes + 46) <= 256;
    return true;
}

// Only these four decoders ever see a user's file, chosen from its first bytes.
const char *sniffFormat(const unsigned char *bytes, size_t size) {
    if (size >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF)
        return "jpeg";
    if (size >= 8 && memcmp(bytes, "\x89PNG\r\n\x1a\n", 8) == 0)
        return "png";
    if (size >= 6 && (memcmp(bytes, "GIF87a", 6) == 0 || memcmp(bytes, "GIF89a", 6) == 0))
        return "gif";
    if (size >= 2 && bytes[0] == 'B' && bytes[1] == 'M')
        return plausibleBmpHeader(bytes, size) ? "bmp" : nullptr;
    return nullptr;
}

bool swapsSides(int orientation) {
    return orientation >= 5;
}

uint64_t ceilDiv(uint64_t value, uint64_t divisor) {
    return (value + divisor - 1) / divisor;
}

// Memory the decoder needs for a stored width x height picture asked for at
// targetWidth x targetHeight: what it decodes into, plus the shrunk copy, the turned copy and
// our own copy of it.
uint64_t decodeMemory(const DecodeState &state, uint64_t width, uint64_t height,
                      uint64_t targetWidth, uint64_t targetHeight) {
    uint64_t decodedWidth = width;
    uint64_t decodedHeight = height;
    uint64_t extra = 0;
    if (strcmp(state.format, "jpeg") == 0) {
        // The JPEG decoder scales by 1/2, 1/4 or 1/8 while it decodes, the smallest scale that
        // still covers the size asked for.
        for (uint64_t denominator = 2; denominator <= 8; denominator *= 2) {
            if (ceilDiv(width, denominator) < targetWidth ||
                ceilDiv(height, denominator) < targetHeight)
                break;
            decodedWidth = ceilDiv(width, denominator);
            decodedHeight = ceilDiv(height, denominator);
        }
        // A progressive frame keeps every DCT coefficient of the whole picture: 128 bytes per
        // 8 x 8 block and component. Unknown frames count as progressive CMYK.
        bool progressive = !state.jpeg.frameFound || state.jpeg.progressive;
        uint64_t components = state.jpeg.frameFound ? (uint64_t)state.jpeg.components : 4;
        if (progressive)
            extra = ceilDiv(width, 8) * ceilDiv(height, 8) * 128 * components;
    }
    return decodedWidth * decodedHeight * 4 + 3 * targetWidth * targetHeight * 4 + extra;
}

// Called once the decoder knows the stored size, before it allocates any pixel: asks for the
// fitting size, or for nothing at all when the picture is too large.
void onSizePrepared(GdkPixbufLoader *loader, int width, int height, gpointer data) {
    DecodeState *state = (DecodeState *)data;
    state->sized = true;
    if (width <= 0 || height <= 0)
        return;
    bool swap = swapsSides(state->jpeg.orientation);
    uint32_t uprightWidth = swap ? (uint32_t)height : (uint32_t)width;
    uint32_t uprightHeight = swap ? (uint32_t)width : (uint32_t)height;
    state->uprightWidth = uprightWidth;
    state->uprightHeight = uprightHeight;
    uint32_t fitWidth, fitHeight;
    bool shrink = fitPictureSize(uprightWidth, uprightHeight, state->innerWidth, state->innerHeight,
                                 &fitWidth, &fitHeight);
    uint32_t targetWidth = swap ? fitHeight : fitWidth;
    uint32_t targetHeight = swap ? fitWidth : fitHeight;
    if (decodeMemory(*state, (uint64_t)width, (uint64_t)height, targetWidth, targetHeight) >
        PICTURE_MEMORY_LIMIT) {
        state->refused = true;
        // A zero size tells the decoder to stop before allocating.
        gdk_pixbuf_loader_set_size(loader, 0, 0);
        return;
    }
    if (shrink)
        gdk_pixbuf_loader_set_size(loader, (int)targetWidth, (int)targetHeight);
}

// The picture as the photographer saw it, for EXIF orientations 2-8; a new reference.
GdkPixbuf *turnUpright(GdkPixbuf *stored, int orientation) {
    GdkPixbuf *turned = nullptr;
    switch (orientation) {
    case 2:
        return gdk_pixbuf_flip(stored, TRUE);
    case 3:
        return gdk_pixbuf_rotate_simple(stored, GDK_PIXBUF_ROTATE_UPSIDEDOWN);
    case 4:
        return gdk_pixbuf_flip(stored, FALSE);
    case 5: // transposed: turned clockwise, then mirrored
    case 7: // transversed: turned clockwise, then flipped
        turned = gdk_pixbuf_rotate_simple(stored, GDK_PIXBUF_ROTATE_CLOCKWISE);
        if (turned == nullptr)
            return nullptr;
        {
            GdkPixbuf *result = gdk_pixbuf_flip(turned, orientation == 5);
            g_object_unref(turned);
            return result;
        }
    case 6:
        return gdk_pixbuf_rotate_simple(stored, GDK_PIXBUF_ROTATE_CLOCKWISE);
    case 8:
        return gdk_pixbuf_rotate_simple(stored, GDK_PIXBUF_ROTATE_COUNTERCLOCKWISE);
    default:
        return GDK_PIXBUF(g_object_ref(stored));
    }
}

// Copies an 8-bit RGB or RGBA pixbuf into RGBA bytes, top row first.
bool copyPixels(GdkPixbuf *pixbuf, DecodedPicture *picture) {
    int channels = gdk_pixbuf_get_n_channels(pixbuf);
    if (gdk_pixbuf_get_colorspace(pixbuf) != GDK_COLORSPACE_RGB ||
        gdk_pixbuf_get_bits_per_sample(pixbuf) != 8 || (channels != 3 && channels != 4))
        return false;
    size_t width = (size_t)gdk_pixbuf_get_width(pixbuf);
    size_t height = (size_t)gdk_pixbuf_get_height(pixbuf);
    size_t stride = (size_t)gdk_pixbuf_get_rowstride(pixbuf);
    const guint8 *rows = gdk_pixbuf_read_pixels(pixbuf);
    picture->width = (uint32_t)width;
    picture->height = (uint32_t)height;
    picture->pixels.resize(width * height * 4);
    unsigned char *out = picture->pixels.data();
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

// Shrinks (if the decoder could not) and turns the decoded picture, then copies it out.
bool finishPicture(GdkPixbuf *decoded, const DecodeState &state, DecodedPicture *picture) {
    int orientation = state.jpeg.orientation;
    bool swap = swapsSides(orientation);
    uint32_t storedWidth = (uint32_t)gdk_pixbuf_get_width(decoded);
    uint32_t storedHeight = (uint32_t)gdk_pixbuf_get_height(decoded);
    uint32_t fitWidth, fitHeight;
    fitPictureSize(swap ? storedHeight : storedWidth, swap ? storedWidth : storedHeight,
                   state.innerWidth, state.innerHeight, &fitWidth, &fitHeight);
    uint32_t targetWidth = swap ? fitHeight : fitWidth;
    uint32_t targetHeight = swap ? fitWidth : fitHeight;

    GdkPixbuf *sized = nullptr;
    if (targetWidth == storedWidth && targetHeight == storedHeight)
        sized = GDK_PIXBUF(g_object_ref(decoded));
    else
        sized = gdk_pixbuf_scale_simple(decoded, (int)targetWidth, (int)targetHeight,
                                        GDK_INTERP_BILINEAR);
    if (sized == nullptr)
        return false;
    GdkPixbuf *upright = turnUpright(sized, orientation);
    g_object_unref(sized);
    if (upright == nullptr)
        return false;
    bool copied = copyPixels(upright, picture);
    g_object_unref(upright);
    return copied;
}

// Feeds the source to the decoder chosen from its first bytes, stopping as soon as the
// picture is refused or broken.
PictureDecodeResult decodeSource(ByteSource source, uint32_t innerWidth, uint32_t innerHeight,
                                 DecodedPicture *picture) {
    std::vector<unsigned char> buffer(HEAD_SIZE);
    size_t headSize = 0;
    while (headSize < HEAD_SIZE) {
        long n = source.read(source.context, buffer.data() + headSize, HEAD_SIZE - headSize);
        if (n < 0)
            return PICTURE_UNDECODABLE;
        if (n == 0)
            break;
        headSize += (size_t)n;
    }

    DecodeState state = {};
    state.format = sniffFormat(buffer.data(), headSize);
    if (state.format == nullptr)
        return PICTURE_UNDECODABLE;
    state.jpeg = readJpegHeader(buffer.data(), headSize);
    state.innerWidth = innerWidth;
    state.innerHeight = innerHeight;

    GdkPixbufLoader *loader = gdk_pixbuf_loader_new_with_type(state.format, nullptr);
    if (loader == nullptr)
        return PICTURE_UNDECODABLE;
    g_signal_connect(loader, "size-prepared", G_CALLBACK(onSizePrepared), &state);

    bool written = gdk_pixbuf_loader_write(loader, buffer.data(), headSize, nullptr);
    if (headSize == HEAD_SIZE) {
        while (written && !state.refused) {
            long n = source.read(source.context, buffer.data(), CHUNK_SIZE);
            if (n <= 0) {
                written = n == 0;
                break;
            }
            written = gdk_pixbuf_loader_write(loader, buffer.data(), (size_t)n, nullptr);
        }
    }
    std::vector<unsigned char>().swap(buffer);
    bool closed = gdk_pixbuf_loader_close(loader, nullptr);

    PictureDecodeResult result = PICTURE_UNDECODABLE;
    GdkPixbuf *decoded = gdk_pixbuf_loader_get_pixbuf(loader);
    if (state.refused)
        result = PICTURE_TOO_LARGE;
    else if (written && closed && decoded != nullptr && finishPicture(decoded, state, picture)) {
        result = PICTURE_DECODED;
        bool known = state.uprightWidth > 0 && state.uprightHeight > 0;
        picture->originalWidth = known ? state.uprightWidth : picture->width;
        picture->originalHeight = known ? state.uprightHeight : picture->height;
    }
    g_object_unref(loader);
    return result;
}

long readFromFile(void *context, unsigned char *buffer, size_t size) {
    return readPictureFile((PictureFile *)context, buffer, size);
}

struct MemoryReader {
    const unsigned char *bytes;
    size_t left;
};

long readFromMemory(void *context, unsigned char *buffer, size_t size) {
    MemoryReader *reader = (MemoryReader *)context;
    size_t n = std::min(size, reader->left);
    if (n == 0)
        return 0;
    memcpy(buffer, reader->bytes, n);
    reader->bytes += n;
    reader->left -= n;
    return (long)n;
}

} // namespace

PictureDecodeResult decodePicture(const char *path, uint32_t innerWidth, uint32_t innerHeight,
                                  DecodedPicture *picture) {
    PictureFile *file = openPictureFile(path);
    if (file == nullptr)
        return PICTURE_NOT_OPENED;
    PictureDecodeResult result =
        decodeSource({readFromFile, file}, innerWidth, innerHeight, picture);
    closePictureFile(file);
    return result;
}

PictureDecodeResult decodePictureBytes(const unsigned char *bytes, size_t size, uint32_t innerWidth,
                                       uint32_t innerHeight, DecodedPicture *picture) {
    MemoryReader reader = {bytes, size};
    return decodeSource({readFromMemory, &reader}, innerWidth, innerHeight, picture);
}
