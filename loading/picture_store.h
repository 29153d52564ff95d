// picture_store.h -- images held in memory within a byte budget, keyed by file path and stamp,
// so that a file changed on disk is never shown from an older copy. Kept for decoded pictures
// and for slot images alike. Every function here locks the store: Thread: any.
#pragma once
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "pictures/picture.h"
#include "platform/file_stamp.h"

template <typename Image> struct StoredImage {
    std::string path;
    FileStamp stamp;
    std::shared_ptr<const Image> image;
    unsigned long long lastUse;
};

// Image is Picture or SlotImage.
template <typename Image> struct PictureStore {
    std::mutex lock; // guards everything below
    std::vector<StoredImage<Image>> entries;
    size_t bytes = 0;
    size_t budget;
    unsigned long long useClock = 0;

    explicit PictureStore(size_t budgetBytes) : budget(budgetBytes) {}
};

// Holds the image made from the file at path when it had the given stamp, in place of anything
// held for that path. The least recently used images are let go until the total fits the
// budget; an image larger than the whole budget is not held.
template <typename Image>
void keepPicture(PictureStore<Image> *store, const char *path, const FileStamp &stamp,
                 std::shared_ptr<const Image> image);

// The image held for path if it was made from the version of the file with this stamp; null
// otherwise. An image held for an older version is let go.
template <typename Image>
std::shared_ptr<const Image> findPicture(PictureStore<Image> *store, const char *path,
                                         const FileStamp &stamp);

// Like findPicture, but the image is let go of as it is handed over.
template <typename Image>
std::shared_ptr<const Image> takePicture(PictureStore<Image> *store, const char *path,
                                         const FileStamp &stamp);

// The image held for path, whichever version of the file it was made from, with that
// version's stamp; null when none is held.
template <typename Image>
std::shared_ptr<const Image> findAnyVersion(PictureStore<Image> *store, const char *path,
                                            FileStamp *stamp);

// Counts as a use of the image held for path, whichever version, so that it is let go of
// after the others; false when none is held.
template <typename Image> bool touchPicture(PictureStore<Image> *store, const char *path);

// True when the store holds an image for this version of the file; unlike findPicture it does
// not count as a use.
template <typename Image>
bool holdsPicture(PictureStore<Image> *store, const char *path, const FileStamp &stamp);

// Changes the budget, letting go of images as needed.
template <typename Image> void setPictureStoreBudget(PictureStore<Image> *store, size_t bytes);

// Bytes of pixels held now.
template <typename Image> size_t pictureStoreBytes(PictureStore<Image> *store);

// Lets go of every image.
template <typename Image> void clearPictureStore(PictureStore<Image> *store);
