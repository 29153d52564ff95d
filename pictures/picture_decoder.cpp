// picture_decoder.cpp -- a file's first bytes tell its format and orientation; the system's
// decoder then shrinks it while decoding, within the memory bound, and it is turned upright.
#include "pictures/picture_decoder.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "pictures/container_header.h"
#include "pictures/jpeg_header.h"
#include "pictures/picture_fit.h"
#include "pictures/picture_format.h"
#include "pictures/picture_extent.h"
#include "pictures/picture_orientation.h"
#include "pictures/tiff_header.h"
#include "pictures/format_decoder.h"
#include "platform/picture_codec.h"
#include "platform/picture_file.h"

namespace {

// The leading bytes read before decoding starts: enough for the EXIF block (at most 64 KB)
// and the segments that usually precede the frame header.
constexpr size_t HEAD_SIZE = 256 * 1024;
// Reads as large as the head: on network storage each read costs a round trip.
constexpr size_t CHUNK_SIZE = HEAD_SIZE;

// A source of a picture's bytes: the count read, 0 at the end, -1 on error.
struct ByteSource {
    long (*read)(void *context, unsigned char *buffer, size_t size);
    void *context;
};

// HEIF and AVIF decoders hold the picture's colour planes, at up to 3 bytes a pixel (4:2:0 at
// 10 or 12 bits), besides the RGBA picture they make of them.
constexpr uint64_t PLANE_BYTES_PER_PIXEL = 3;

struct DecodeState {
    PictureFormat format;
    JpegHeader jpeg;
    int orientation; // EXIF orientation 1-8 from the file's own header
    uint32_t innerWidth;
    uint32_t innerHeight;
    bool windowFit;        // fitted to a window (whole, any proportions) rather than to a frame
    uint32_t uprightWidth; // the stored size turned upright, once known
    uint32_t uprightHeight;
    const DecodeMemoryGate *gate; // null: memory is not shared
    uint64_t reserved;            // taken from the gate so far
    bool cancelled;               // the gate gave none
    uint32_t thumbnailSize;       // a thumbnail is made beside the picture; 0: none
    FormatDecoder *decoder;       // once opened
};

// The upright size a picture of the given upright size is decoded at.
void fitSize(const DecodeState &state, uint32_t width, uint32_t height, uint32_t *fitWidth,
             uint32_t *fitHeight) {
    if (state.windowFit)
        fitPictureToWindow(width, height, state.innerWidth, state.innerHeight, fitWidth, fitHeight);
    else
        fitPictureSize(width, height, state.innerWidth, state.innerHeight, fitWidth, fitHeight);
}

uint64_t ceilDiv(uint64_t value, uint64_t divisor) {
    return (value + divisor - 1) / divisor;
}

// Memory the decoder needs for a stored width x height picture asked for at
// targetWidth x targetHeight: what it decodes into, plus the shrunk copy, the turned copy and
// our own copy of it.
uint64_t decodeMemory(const DecodeState &state, uint32_t width, uint32_t height,
                      uint32_t targetWidth, uint32_t targetHeight) {
    uint64_t decodedWidth, decodedHeight;
    codecDecodeSize(state.format, width, height, targetWidth, targetHeight, &decodedWidth,
                    &decodedHeight);
    uint64_t extra = 0;
    if (state.format == PICTURE_JPEG) {
        // A progressive frame keeps every DCT coefficient of the whole picture: 128 bytes per
        // 8 x 8 block and component. Unknown frames count as progressive CMYK.
        bool progressive = !state.jpeg.frameFound || state.jpeg.progressive;
        uint64_t components = state.jpeg.frameFound ? (uint64_t)state.jpeg.components : 4;
        if (progressive)
            extra = ceilDiv(width, 8) * ceilDiv(height, 8) * 128 * components;
    } else if (state.format == PICTURE_HEIF || state.format == PICTURE_AVIF) {
        extra = (uint64_t)width * height * PLANE_BYTES_PER_PIXEL;
    }
    return decodedWidth * decodedHeight * 4 + 3 * (uint64_t)targetWidth * targetHeight * 4 + extra;
}

// The size, in stored orientation, of a stored width x height picture fitted upright to a
// size x size square.
void thumbnailTarget(int orientation, uint32_t width, uint32_t height, uint32_t size,
                     uint32_t *targetWidth, uint32_t *targetHeight) {
    bool swap = orientationSwapsSides(orientation);
    uint32_t fitWidth, fitHeight;
    fitPictureSize(swap ? height : width, swap ? width : height, size, size, &fitWidth, &fitHeight);
    *targetWidth = swap ? fitHeight : fitWidth;
    *targetHeight = swap ? fitWidth : fitHeight;
}

// Asks the decoder for the thumbnail beside the picture when the pixels it decodes at will
// cover it and its memory (the decoder's copy, ours and the turned one) fits beside the
// picture's needs; its memory then. Otherwise the thumbnail is given up: it never makes a
// picture too large, nor is it ever enlarged. A TIFF decoder may turn the picture its own way:
// none is asked for there.
uint64_t thumbnailMemory(DecodeState *state, uint32_t width, uint32_t height, uint32_t targetWidth,
                         uint32_t targetHeight, uint64_t needed) {
    if (state->thumbnailSize == 0 || state->decoder == nullptr || state->format == PICTURE_TIFF)
        return 0;
    uint32_t thumbWidth, thumbHeight;
    thumbnailTarget(state->orientation, width, height, state->thumbnailSize, &thumbWidth,
                    &thumbHeight);
    uint64_t decodedWidth, decodedHeight;
    codecDecodeSize(state->format, width, height, targetWidth, targetHeight, &decodedWidth,
                    &decodedHeight);
    uint64_t bytes = 3 * (uint64_t)thumbWidth * thumbHeight * 4;
    if (decodedWidth < thumbWidth || decodedHeight < thumbHeight ||
        needed + bytes > PICTURE_MEMORY_LIMIT) {
        state->thumbnailSize = 0;
        state->decoder->askSecondSize(0, 0); // asked once, given up now
        return 0;
    }
    state->decoder->askSecondSize(thumbWidth, thumbHeight);
    return bytes;
}

// The decoder knows the stored size and has allocated no pixel yet: the fitting size, in
// stored orientation, or a refusal when the picture is too large.
bool chooseDecodeSize(void *context, uint32_t width, uint32_t height, uint32_t *targetWidth,
                      uint32_t *targetHeight) {
    DecodeState *state = (DecodeState *)context;
    bool swap = orientationSwapsSides(state->orientation);
    state->uprightWidth = swap ? height : width;
    state->uprightHeight = swap ? width : height;
    uint32_t fitWidth, fitHeight;
    fitSize(*state, state->uprightWidth, state->uprightHeight, &fitWidth, &fitHeight);
    *targetWidth = swap ? fitHeight : fitWidth;
    *targetHeight = swap ? fitWidth : fitHeight;
    uint64_t needed = decodeMemory(*state, width, height, *targetWidth, *targetHeight);
    if (needed > PICTURE_MEMORY_LIMIT)
        return false;
    needed += thumbnailMemory(state, width, height, *targetWidth, *targetHeight, needed);
    if (state->gate != nullptr && needed > state->reserved) {
        if (!state->gate->reserve(state->gate->context, needed - state->reserved)) {
            state->cancelled = true;
            return false;
        }
        state->reserved = needed;
    }
    return true;
}

// The size WebP, HEIF and AVIF files declare, read before their decoders see them: not all of
// them ask whether the picture may be allocated before they allocate it. A file whose size
// cannot be read is refused, as is one too large to decode. TIFF's directory may lie beyond the
// head: its decoder asks first.
bool declaredSize(const DecodeState &state, const unsigned char *head, size_t size, uint32_t *width,
                  uint32_t *height, bool *required) {
    *required = state.format == PICTURE_WEBP || state.format == PICTURE_HEIF ||
                state.format == PICTURE_AVIF;
    switch (state.format) {
    case PICTURE_WEBP:
        return webpPictureSize(head, size, width, height);
    case PICTURE_HEIF:
    case PICTURE_AVIF:
        return isoPictureSize(head, size, width, height);
    case PICTURE_TIFF:
        return tiffImageSize(head, size, width, height);
    default:
        return false;
    }
}

// PICTURE_DECODED when the picture may go on to its decoder.
PictureDecodeResult checkDeclaredSize(const DecodeState &state, const unsigned char *head,
                                      size_t size) {
    uint32_t width, height, targetWidth, targetHeight;
    bool required;
    if (!declaredSize(state, head, size, &width, &height, &required))
        return required ? PICTURE_UNDECODABLE : PICTURE_DECODED;
    DecodeState probe = state;
    probe.gate = nullptr; // only the decode itself takes memory
    return chooseDecodeSize(&probe, width, height, &targetWidth, &targetHeight) ? PICTURE_DECODED
                                                                                : PICTURE_TOO_LARGE;
}

// The thumbnail the decoder made beside the picture, turned upright; left empty without one.
void takeThumbnail(CodecPixels *decoded, int orientation, Picture *thumbnail) {
    if (decoded->secondRgba.empty())
        return;
    thumbnail->width = decoded->secondWidth;
    thumbnail->height = decoded->secondHeight;
    thumbnail->pixels.swap(decoded->secondRgba);
    turnUpright(&thumbnail->pixels, &thumbnail->width, &thumbnail->height, orientation);
}

// Shrinks the decoded pixels (if the decoder could not) and turns them upright, and the
// thumbnail with them when one is asked for.
bool finishPicture(CodecPixels *decoded, const DecodeState &state, Picture *picture,
                   Picture *thumbnail) {
    // A TIFF decoder may flip the picture as its orientation says but cannot turn it; what is
    // left to do, it tells. One that reads no orientation leaves all of it to be done here.
    int orientation = state.orientation;
    if (state.format == PICTURE_TIFF && decoded->orientation >= 1)
        orientation = decoded->orientation;
    bool swap = orientationSwapsSides(orientation);
    uint32_t storedWidth = decoded->width, storedHeight = decoded->height;
    uint32_t fitWidth, fitHeight;
    fitSize(state, swap ? storedHeight : storedWidth, swap ? storedWidth : storedHeight, &fitWidth,
            &fitHeight);
    uint32_t targetWidth = swap ? fitHeight : fitWidth;
    uint32_t targetHeight = swap ? fitWidth : fitHeight;
    if (thumbnail != nullptr)
        takeThumbnail(decoded, orientation, thumbnail);

    picture->width = storedWidth;
    picture->height = storedHeight;
    if (targetWidth == storedWidth && targetHeight == storedHeight)
        picture->pixels.swap(decoded->rgba);
    else if (scalePixels(decoded->rgba.data(), storedWidth, storedHeight, targetWidth, targetHeight,
                         &picture->pixels)) {
        picture->width = targetWidth;
        picture->height = targetHeight;
    } else
        return false;
    std::vector<unsigned char>().swap(decoded->rgba);
    turnUpright(&picture->pixels, &picture->width, &picture->height, orientation);
    return true;
}

// Hands the decoder the first kept of the bytes just walked, and the walk's closing byte when
// it has ended: true while more should be read; false once the picture is refused, broken (the
// decoder remembers) or complete.
bool feedWalked(FormatDecoder *decoder, PictureWalk *walk, const unsigned char *bytes,
                size_t kept) {
    if (walk->refused || (kept > 0 && !decoder->feed(bytes, kept)))
        return false;
    if (walk->ended && walk->closing >= 0) {
        unsigned char closing = (unsigned char)walk->closing;
        decoder->feed(&closing, 1);
    }
    return !walk->ended;
}

// What a decode is asked for: the area to fit, how, where the date taken goes (or null),
// where its memory comes from (null: not shared), and the square a thumbnail beside it is
// fitted to (0 and null: none).
struct DecodeRequest {
    uint32_t innerWidth;
    uint32_t innerHeight;
    bool windowFit;
    char *dateTaken;
    const DecodeMemoryGate *gate;
    uint32_t thumbnailSize;
    Picture *thumbnail;
};

// Feeds the source to the decoder chosen from its first bytes, stopping as soon as the
// picture is refused, broken or complete.
PictureDecodeResult decodeSource(ByteSource source, const DecodeRequest &request,
                                 Picture *picture) {
    std::vector<unsigned char> buffer(HEAD_SIZE);
    size_t headSize = 0;
    while (headSize < HEAD_SIZE) {
        long n = source.read(source.context, buffer.data() + headSize, HEAD_SIZE - headSize);
        if (n < 0)
            return PICTURE_READ_FAILED;
        if (n == 0)
            break;
        headSize += (size_t)n;
    }

    DecodeState state = {};
    if (!sniffPictureFormat(buffer.data(), headSize, &state.format))
        return PICTURE_UNDECODABLE;
    state.jpeg = readJpegHeader(buffer.data(), headSize);
    state.orientation = state.format == PICTURE_JPEG   ? state.jpeg.orientation
                        : state.format == PICTURE_TIFF ? tiffOrientation(buffer.data(), headSize)
                                                       : 1;
    state.innerWidth = request.innerWidth;
    state.innerHeight = request.innerHeight;
    state.windowFit = request.windowFit;
    state.gate = request.gate;
    state.thumbnailSize = request.thumbnail != nullptr ? request.thumbnailSize : 0;
    if (request.dateTaken != nullptr) {
        if (state.format == PICTURE_JPEG)
            memcpy(request.dateTaken, state.jpeg.dateTaken, sizeof state.jpeg.dateTaken);
        else if (state.format != PICTURE_TIFF ||
                 !tiffDateTaken(buffer.data(), headSize, request.dateTaken))
            request.dateTaken[0] = '\0';
    }
    PictureDecodeResult sized = checkDeclaredSize(state, buffer.data(), headSize);
    if (sized != PICTURE_DECODED)
        return sized;
    // The head is walked whole before the decoder sees any of it: a small file's scans are
    // all counted before the first is decoded.
    PictureWalk walk;
    startPictureWalk(&walk, state.format, buffer.data(), headSize);
    size_t kept = walkPictureBytes(&walk, buffer.data(), headSize);
    if (walk.refused)
        return PICTURE_TOO_LARGE;

    auto decoder = std::make_unique<FormatDecoder>(state.format, chooseDecodeSize, &state);
    if (!decoder->opened())
        return PICTURE_UNDECODABLE;
    state.decoder = decoder.get();
    bool readFailed = false;
    bool more = feedWalked(decoder.get(), &walk, buffer.data(), kept) && headSize == HEAD_SIZE;
    while (more) {
        long n = source.read(source.context, buffer.data(), CHUNK_SIZE);
        readFailed = n < 0;
        more = n > 0 && feedWalked(decoder.get(), &walk, buffer.data(),
                                   walkPictureBytes(&walk, buffer.data(), (size_t)n));
    }
    std::vector<unsigned char>().swap(buffer);

    PictureDecodeResult result = readFailed ? PICTURE_READ_FAILED : PICTURE_UNDECODABLE;
    CodecPixels decoded;
    bool finished = !readFailed && !walk.refused && decoder->finish(&decoded);
    if (state.cancelled)
        result = PICTURE_CANCELLED;
    else if (decoder->refused() || walk.refused)
        result = PICTURE_TOO_LARGE;
    else if (finished && finishPicture(&decoded, state, picture, request.thumbnail)) {
        result = PICTURE_DECODED;
        bool known = state.uprightWidth > 0 && state.uprightHeight > 0;
        picture->originalWidth = known ? state.uprightWidth : picture->width;
        picture->originalHeight = known ? state.uprightHeight : picture->height;
        if (request.thumbnail != nullptr) {
            request.thumbnail->originalWidth = picture->originalWidth;
            request.thumbnail->originalHeight = picture->originalHeight;
        }
    }
    if (result != PICTURE_DECODED && request.thumbnail != nullptr)
        *request.thumbnail = Picture();
    state.decoder = nullptr;
    decoder.reset(); // what it holds is given back before its memory is
    if (state.reserved > 0)
        request.gate->release(request.gate->context, state.reserved);
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
                                  Picture *picture, const DecodeMemoryGate *gate) {
    PictureFile *file = openPictureFile(path);
    if (file == nullptr)
        return PICTURE_NOT_OPENED;
    PictureDecodeResult result = decodeSource(
        {readFromFile, file}, {innerWidth, innerHeight, false, nullptr, gate, 0, nullptr}, picture);
    closePictureFile(file);
    return result;
}

PictureDecodeResult decodeRegularPicture(const char *path, uint32_t innerWidth,
                                         uint32_t innerHeight, Picture *picture,
                                         const DecodeMemoryGate *gate, uint32_t thumbnailSize,
                                         Picture *thumbnail) {
    if (thumbnail != nullptr)
        *thumbnail = Picture();
    PictureFile *file = openRegularPictureFile(path);
    if (file == nullptr)
        return PICTURE_NOT_OPENED;
    PictureDecodeResult result = decodeSource(
        {readFromFile, file},
        {innerWidth, innerHeight, false, nullptr, gate, thumbnailSize, thumbnail}, picture);
    closePictureFile(file);
    return result;
}

PictureDecodeResult decodePictureForWindow(const char *path, uint32_t windowWidth,
                                           uint32_t windowHeight, Picture *picture,
                                           char dateTaken[20], const DecodeMemoryGate *gate) {
    dateTaken[0] = '\0';
    PictureFile *file = openPictureFile(path);
    if (file == nullptr)
        return PICTURE_NOT_OPENED;
    PictureDecodeResult result =
        decodeSource({readFromFile, file},
                     {windowWidth, windowHeight, true, dateTaken, gate, 0, nullptr}, picture);
    closePictureFile(file);
    return result;
}

PictureDecodeResult decodePictureBytes(const unsigned char *bytes, size_t size, uint32_t innerWidth,
                                       uint32_t innerHeight, Picture *picture) {
    MemoryReader reader = {bytes, size};
    return decodeSource({readFromMemory, &reader},
                        {innerWidth, innerHeight, false, nullptr, nullptr, 0, nullptr}, picture);
}
