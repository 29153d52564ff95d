// picture_store.h -- pictures held in memory within a byte budget, keyed by file path and stamp,
// so that a file changed on disk is never shown from an older copy. Filled by decoding threads
// and read by the main thread: every function here may be called from any thread.
#pragma once
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "images/picture_decoder.h"
#include "platform/file_stamp.h"

struct StoredPicture {
    std::string path;
    FileStamp stamp;
    std::shared_ptr<const DecodedPicture> picture;
    unsigned long long lastUse;
};

struct PictureStore {
    std::mutex lock; // guards everything below
    std::vector<StoredPicture> entries;
    size_t bytes = 0;
    size_t budget;
    unsigned long long useClock = 0;

    explicit PictureStore(size_t budgetBytes) : budget(budgetBytes) {}
};

// Holds the picture made from the file at path when it had the given stamp, in place of
// anything held for that path. The least recently used pictures are let go until the total
// fits the budget; a picture larger than the whole budget is not held.
void keepPicture(PictureStore *store, const char *path, const FileStamp &stamp,
                 std::shared_ptr<const DecodedPicture> picture);

// The picture held for path if it was made from the version of the file with this stamp;
// null otherwise. A picture held for an older version is let go.
std::shared_ptr<const DecodedPicture> findPicture(PictureStore *store, const char *path,
                                                  const FileStamp &stamp);

// Like findPicture, but the picture is let go of as it is handed over.
std::shared_ptr<const DecodedPicture> takePicture(PictureStore *store, const char *path,
                                                  const FileStamp &stamp);

// The picture held for path, whichever version of the file it was made from, with that
// version's stamp; null when none is held.
std::shared_ptr<const DecodedPicture> findAnyVersion(PictureStore *store, const char *path,
                                                     FileStamp *stamp);

// Counts as a use of the picture held for path, whichever version, so that it is let go of
// after the others; false when none is held.
bool touchPicture(PictureStore *store, const char *path);

// True when the store holds a picture for this version of the file; unlike findPicture it
// does not count as a use.
bool holdsPicture(PictureStore *store, const char *path, const FileStamp &stamp);

// Changes the budget, letting go of pictures as needed.
void setPictureStoreBudget(PictureStore *store, size_t bytes);

// Bytes of pixels held now.
size_t pictureStoreBytes(PictureStore *store);

// Lets go of every picture.
void clearPictureStore(PictureStore *store);
