// picture_source.cpp -- the store first, then the thumbnail cache, then decoding.
#include "loading/picture_source.h"

#include "loading/pixel_budget.h"
#include "loading/prepared_pictures.h"
#include "pictures/cached_thumbnail_fit.h"
#include "platform/thumbnail_cache.h"

namespace {

// Only what the file's own bytes said is recorded as a failure: a file that could not be
// opened or read (an I/O error, a storage gone away) may well decode later.
bool recordedAsFailure(PictureDecodeResult result) {
    return result == PICTURE_UNDECODABLE || result == PICTURE_TOO_LARGE;
}

} // namespace

PictureDecodeResult obtainPicture(const char *path, uint32_t innerWidth, uint32_t innerHeight,
                                  Picture *picture, bool *thumbnailWanted,
                                  const std::atomic<bool> *cancel) {
    *thumbnailWanted = false;
    BudgetGate budget(&decodedPixelBudget(), cancel);
    // The stamp is read before anything of the file is, so that a file changed meanwhile is
    // kept under its older stamp and looked at again next time.
    FileStamp stamp;
    if (!readFileStamp(path, &stamp))
        return decodePicture(path, innerWidth, innerHeight, picture, &budget.gate);

    std::shared_ptr<const Picture> held = takePicture(&decodedPictures, path, stamp);
    if (held != nullptr) {
        *picture = *held;
        return PICTURE_DECODED;
    }

    CachedThumbnail cached;
    ThumbnailLookup lookup = readCachedThumbnail(path, stamp, &cached);
    if (lookup == THUMBNAIL_KNOWN_TO_FAIL)
        return PICTURE_UNDECODABLE;
    if (lookup == THUMBNAIL_FOUND)
        return fitCachedThumbnail(cached, innerWidth, innerHeight, picture) ? PICTURE_DECODED
                                                                            : PICTURE_UNDECODABLE;
    PictureDecodeResult result =
        decodePicture(path, innerWidth, innerHeight, picture, &budget.gate);
    // One that was read but did not decode is recorded, as the cache's other users do.
    if (result == PICTURE_DECODED)
        *thumbnailWanted = true;
    else if (recordedAsFailure(result))
        recordThumbnailFailure(path, stamp);
    return result;
}

void writeThumbnailOf(const char *path, const std::atomic<bool> *cancel) {
    FileStamp stamp;
    CachedThumbnail cached;
    if (!readFileStamp(path, &stamp) ||
        readCachedThumbnail(path, stamp, &cached) != THUMBNAIL_MISSING)
        return;
    Picture thumbnail;
    BudgetGate budget(&decodedPixelBudget(), cancel);
    PictureDecodeResult result =
        decodePicture(path, CACHED_THUMBNAIL_SIZE, CACHED_THUMBNAIL_SIZE, &thumbnail, &budget.gate);
    if (result == PICTURE_DECODED)
        writeCachedThumbnail(path, stamp, (int)thumbnail.originalWidth,
                             (int)thumbnail.originalHeight, (int)thumbnail.width,
                             (int)thumbnail.height, thumbnail.pixels.data());
    else if (recordedAsFailure(result))
        recordThumbnailFailure(path, stamp);
}
