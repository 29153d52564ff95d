// picture_source.cpp -- the store first, then the thumbnail cache, then decoding.
#include "images/picture_source.h"

#include <cstring>
#include <gdk-pixbuf/gdk-pixbuf.h>

#include "images/picture_fit.h"
#include "images/prepared_pictures.h"
#include "images/room_preparation.h"
#include "platform/thumbnail_cache.h"

namespace {

// The picture's size as a thumbnail records it; the thumbnail's own size when it records
// none. A recorded size turned the other way from the thumbnail (before EXIF orientation, as
// some programs write it) is turned to match.
void originalSizeOf(const CachedThumbnail &thumbnail, uint32_t *width, uint32_t *height) {
    *width = (uint32_t)thumbnail.width;
    *height = (uint32_t)thumbnail.height;
    if (thumbnail.originalWidth <= 0 || thumbnail.originalHeight <= 0)
        return;
    bool recordedWide = thumbnail.originalWidth > thumbnail.originalHeight;
    bool recordedTall = thumbnail.originalWidth < thumbnail.originalHeight;
    bool swapped = (recordedWide && thumbnail.width < thumbnail.height) ||
                   (recordedTall && thumbnail.width > thumbnail.height);
    *width = (uint32_t)(swapped ? thumbnail.originalHeight : thumbnail.originalWidth);
    *height = (uint32_t)(swapped ? thumbnail.originalWidth : thumbnail.originalHeight);
}

// Scales a cached thumbnail to the size the original takes inside the inner area. The frame
// hugs the original's proportions, not the thumbnail's rounded ones.
bool fitThumbnail(const CachedThumbnail &thumbnail, uint32_t innerWidth, uint32_t innerHeight,
                  DecodedPicture *picture) {
    uint32_t originalWidth, originalHeight, fitWidth, fitHeight;
    originalSizeOf(thumbnail, &originalWidth, &originalHeight);
    fitPictureSize(originalWidth, originalHeight, innerWidth, innerHeight, &fitWidth, &fitHeight);
    picture->width = fitWidth;
    picture->height = fitHeight;
    picture->originalWidth = originalWidth;
    picture->originalHeight = originalHeight;
    size_t rowBytes = (size_t)fitWidth * 4;
    picture->pixels.resize(rowBytes * fitHeight);
    if (fitWidth == (uint32_t)thumbnail.width && fitHeight == (uint32_t)thumbnail.height) {
        memcpy(picture->pixels.data(), thumbnail.rgba.data(), picture->pixels.size());
        return true;
    }
    // Only read from: the pixbuf wraps the thumbnail's pixels.
    GdkPixbuf *source = gdk_pixbuf_new_from_data(
        const_cast<unsigned char *>(thumbnail.rgba.data()), GDK_COLORSPACE_RGB, TRUE, 8,
        thumbnail.width, thumbnail.height, thumbnail.width * 4, nullptr, nullptr);
    GdkPixbuf *scaled =
        gdk_pixbuf_scale_simple(source, (int)fitWidth, (int)fitHeight, GDK_INTERP_BILINEAR);
    g_object_unref(source);
    if (scaled == nullptr)
        return false;
    const guint8 *rows = gdk_pixbuf_read_pixels(scaled);
    size_t stride = (size_t)gdk_pixbuf_get_rowstride(scaled);
    for (size_t y = 0; y < fitHeight; ++y)
        memcpy(picture->pixels.data() + y * rowBytes, rows + y * stride, rowBytes);
    g_object_unref(scaled);
    return true;
}

} // namespace

PictureDecodeResult obtainPicture(const char *path, uint32_t innerWidth, uint32_t innerHeight,
                                  DecodedPicture *picture) {
    // The stamp is read before anything of the file is, so that a file changed meanwhile is
    // kept under its older stamp and looked at again next time.
    FileStamp stamp;
    if (!readFileStamp(path, &stamp))
        return decodePicture(path, innerWidth, innerHeight, picture);

    std::shared_ptr<const DecodedPicture> held = takePicture(&decodedPictures, path, stamp);
    if (held != nullptr) {
        *picture = *held;
        return PICTURE_DECODED;
    }

    CachedThumbnail cached;
    ThumbnailLookup lookup = readCachedThumbnail(path, stamp, &cached);
    PictureDecodeResult result;
    if (lookup == THUMBNAIL_KNOWN_TO_FAIL) {
        result = PICTURE_UNDECODABLE;
    } else if (lookup == THUMBNAIL_FOUND) {
        result = fitThumbnail(cached, innerWidth, innerHeight, picture) ? PICTURE_DECODED
                                                                        : PICTURE_UNDECODABLE;
    } else {
        result = decodePicture(path, innerWidth, innerHeight, picture);
        // A file that could not be opened may be readable later; one that could but did not
        // decode is recorded, as the cache's other users do.
        if (result == PICTURE_DECODED)
            queueThumbnailWrite(path);
        else if (result != PICTURE_NOT_OPENED)
            recordThumbnailFailure(path, stamp);
    }
    return result;
}

void writeThumbnailOf(const char *path) {
    FileStamp stamp;
    CachedThumbnail cached;
    if (!readFileStamp(path, &stamp) ||
        readCachedThumbnail(path, stamp, &cached) != THUMBNAIL_MISSING)
        return;
    DecodedPicture thumbnail;
    PictureDecodeResult result =
        decodePicture(path, CACHED_THUMBNAIL_SIZE, CACHED_THUMBNAIL_SIZE, &thumbnail);
    if (result == PICTURE_DECODED)
        writeCachedThumbnail(path, stamp, (int)thumbnail.originalWidth,
                             (int)thumbnail.originalHeight, (int)thumbnail.width,
                             (int)thumbnail.height, thumbnail.pixels.data());
    else if (result != PICTURE_NOT_OPENED)
        recordThumbnailFailure(path, stamp);
}
