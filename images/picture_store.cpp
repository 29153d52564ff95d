// picture_store.cpp -- a short list of entries under one lock, the least recently used let go
// first.
#include "images/picture_store.h"

namespace {

bool sameStamp(const FileStamp &a, const FileStamp &b) {
    return a.mtime == b.mtime && a.mtimeNanoseconds == b.mtimeNanoseconds && a.size == b.size;
}

// Callers hold the store's lock, here and below.
void dropEntry(PictureStore *store, size_t index) {
    store->bytes -= store->entries[index].picture->pixels.size();
    store->entries.erase(store->entries.begin() + (long)index);
}

size_t indexOf(const PictureStore *store, const char *path) {
    for (size_t i = 0; i < store->entries.size(); i++)
        if (store->entries[i].path == path)
            return i;
    return store->entries.size();
}

void fitBudget(PictureStore *store) {
    while (store->bytes > store->budget) {
        size_t oldest = 0;
        for (size_t i = 1; i < store->entries.size(); i++)
            if (store->entries[i].lastUse < store->entries[oldest].lastUse)
                oldest = i;
        dropEntry(store, oldest);
    }
}

// The entry for this version of the file, or entries.size(); an older version is let go.
size_t currentEntry(PictureStore *store, const char *path, const FileStamp &stamp) {
    size_t index = indexOf(store, path);
    if (index < store->entries.size() && !sameStamp(store->entries[index].stamp, stamp)) {
        dropEntry(store, index);
        return store->entries.size();
    }
    return index;
}

} // namespace

void keepPicture(PictureStore *store, const char *path, const FileStamp &stamp,
                 std::shared_ptr<const DecodedPicture> picture) {
    std::lock_guard<std::mutex> guard(store->lock);
    size_t index = indexOf(store, path);
    if (index < store->entries.size())
        dropEntry(store, index);
    if (picture == nullptr || picture->pixels.size() > store->budget)
        return;
    store->bytes += picture->pixels.size();
    store->entries.push_back({path, stamp, std::move(picture), ++store->useClock});
    fitBudget(store);
}

std::shared_ptr<const DecodedPicture> findPicture(PictureStore *store, const char *path,
                                                  const FileStamp &stamp) {
    std::lock_guard<std::mutex> guard(store->lock);
    size_t index = currentEntry(store, path, stamp);
    if (index == store->entries.size())
        return nullptr;
    store->entries[index].lastUse = ++store->useClock;
    return store->entries[index].picture;
}

std::shared_ptr<const DecodedPicture> takePicture(PictureStore *store, const char *path,
                                                  const FileStamp &stamp) {
    std::lock_guard<std::mutex> guard(store->lock);
    size_t index = currentEntry(store, path, stamp);
    if (index == store->entries.size())
        return nullptr;
    std::shared_ptr<const DecodedPicture> picture = store->entries[index].picture;
    dropEntry(store, index);
    return picture;
}

std::shared_ptr<const DecodedPicture> findAnyVersion(PictureStore *store, const char *path,
                                                     FileStamp *stamp) {
    std::lock_guard<std::mutex> guard(store->lock);
    size_t index = indexOf(store, path);
    if (index == store->entries.size())
        return nullptr;
    *stamp = store->entries[index].stamp;
    return store->entries[index].picture;
}

bool touchPicture(PictureStore *store, const char *path) {
    std::lock_guard<std::mutex> guard(store->lock);
    size_t index = indexOf(store, path);
    if (index == store->entries.size())
        return false;
    store->entries[index].lastUse = ++store->useClock;
    return true;
}

bool holdsPicture(PictureStore *store, const char *path, const FileStamp &stamp) {
    std::lock_guard<std::mutex> guard(store->lock);
    return currentEntry(store, path, stamp) < store->entries.size();
}

void setPictureStoreBudget(PictureStore *store, size_t bytes) {
    std::lock_guard<std::mutex> guard(store->lock);
    store->budget = bytes;
    fitBudget(store);
}

size_t pictureStoreBytes(PictureStore *store) {
    std::lock_guard<std::mutex> guard(store->lock);
    return store->bytes;
}

void clearPictureStore(PictureStore *store) {
    std::lock_guard<std::mutex> guard(store->lock);
    store->entries.clear();
    store->bytes = 0;
}
