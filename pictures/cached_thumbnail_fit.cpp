// cached_thumbnail_fit.cpp -- the original's size as the thumbnail records it, and the scaling.
#include "pictures/cached_thumbnail_fit.h"

#include <cstring>

#include "pictures/picture_fit.h"
#include "platform/picture_codec.h"

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

} // namespace

bool fitCachedThumbnail(const CachedThumbnail &thumbnail, uint32_t innerWidth, uint32_t innerHeight,
                        Picture *picture) {
    uint32_t originalWidth, originalHeight, fitWidth, fitHeight;
    originalSizeOf(thumbnail, &originalWidth, &originalHeight);
    fitPictureSize(originalWidth, originalHeight, innerWidth, innerHeight, &fitWidth, &fitHeight);
    picture->width = fitWidth;
    picture->height = fitHeight;
    picture->originalWidth = originalWidth;
    picture->originalHeight = originalHeight;
    if (fitWidth == (uint32_t)thumbnail.width && fitHeight == (uint32_t)thumbnail.height) {
        picture->pixels = thumbnail.rgba;
        return true;
    }
    return scalePixels(thumbnail.rgba.data(), (uint32_t)thumbnail.width, (uint32_t)thumbnail.height,
                       fitWidth, fitHeight, &picture->pixels);
}
