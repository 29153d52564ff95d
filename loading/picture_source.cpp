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

PictureStamp readPictureStamp(const char *path) {
    PictureStamp stamp;
    stamp.read = readFileStampAndKind(path, &stamp.stamp, &stamp.regular);
    return stamp;
}

ThumbnailToWrite::~ThumbnailToWrite() {
    decodedPixelBudget().releaseKept(kept);
}

PictureDecodeResult obtainPicture(const char *path, const PictureStamp &stamp, uint32_t innerWidth,
                                  uint32_t innerHeight, Picture *picture,
                                  std::unique_ptr<ThumbnailToWrite> *thumbnail,
                                  const std::atomic<bool> *cancel) {
    thumbnail->reset();
    BudgetGate budget(&decodedPixelBudget(), cancel);
    // The stamp was read before anything of the file is, so that a file changed meanwhile is
    // kept under its older stamp and looked at again next time.
    if (!stamp.read)
        return decodePicture(path, innerWidth, innerHeight, picture, &budget.gate);
    if (!stamp.regular)
        return PICTURE_NOT_OPENED;

    std::shared_ptr<const Picture> held = takePicture(&decodedPictures, path, stamp.stamp);
    if (held != nullptr) {
        *picture = *held;
        return PICTURE_DECODED;
    }

    CachedThumbnail cached;
    ThumbnailLookup lookup = readCachedThumbnail(path, stamp.stamp, &cached);
    if (lookup == THUMBNAIL_KNOWN_TO_FAIL)
        return PICTURE_UNDECODABLE;
    if (lookup == THUMBNAIL_FOUND)
        return fitCachedThumbnail(cached, innerWidth, innerHeight, picture) ? PICTURE_DECODED
                                                                            : PICTURE_UNDECODABLE;
    // The cache's thumbnail is made from the same decode when its pixels allow, so the
    // background need not read the file a second time.
    Picture inHand;
    PictureDecodeResult result = decodeRegularPicture(path, innerWidth, innerHeight, picture,
                                                      &budget.gate, CACHED_THUMBNAIL_SIZE, &inHand);
    // One that was read but did not decode is recorded, as the cache's other users do.
    if (result == PICTURE_DECODED) {
        *thumbnail = std::make_unique<ThumbnailToWrite>(path, stamp.stamp);
        if (!inHand.pixels.empty() && decodedPixelBudget().keep(inHand.pixels.size())) {
            (*thumbnail)->kept = inHand.pixels.size();
            (*thumbnail)->picture = std::move(inHand);
        }
    } else if (recordedAsFailure(result))
        recordThumbnailFailure(path, stamp.stamp);
    return result;
}

void writeThumbnail(const ThumbnailToWrite &thumbnail, const std::atomic<bool> *cancel) {
    if (thumbnail.picture.pixels.empty()) {
        writeThumbnailOf(thumbnail.path.c_str(), cancel);
        return;
    }
    const Picture &picture = thumbnail.picture;
    CachedThumbnail cached;
    if (readCachedThumbnail(thumbnail.path.c_str(), thumbnail.stamp, &cached) == THUMBNAIL_MISSING)
        writeCachedThumbnail(thumbnail.path.c_str(), thumbnail.stamp, (int)picture.originalWidth,
                             (int)picture.originalHeight, (int)picture.width, (int)picture.height,
                             picture.pixels.data());
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
