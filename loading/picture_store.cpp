// picture_store.cpp -- a short list of entries under one lock, the least recently used let go
// first; made for the two kinds of image the stores hold.
#include "loading/picture_store.h"

namespace {

// Callers hold the store's lock, here and below.
template <typename Image> void dropEntry(PictureStore<Image> *store, size_t index) {
    store->bytes -= store->entries[index].image->pixels.size();
    store->entries.erase(store->entries.begin() + (long)index);
}

template <typename Image> size_t indexOf(const PictureStore<Image> *store, const char *path) {
    for (size_t i = 0; i < store->entries.size(); i++)
        if (store->entries[i].path == path)
            return i;
    return store->entries.size();
}

template <typename Image> void fitBudget(PictureStore<Image> *store) {
    while (store->bytes > store->budget) {
        size_t oldest = 0;
        for (size_t i = 1; i < store->entries.size(); i++)
            if (store->entries[i].lastUse < store->entries[oldest].lastUse)
                oldest = i;
        dropEntry(store, oldest);
    }
}

// The entry for this version of the file, or entries.size(); an older version is let go.
template <typename Image>
size_t currentEntry(PictureStore<Image> *store, const char *path, const FileStamp &stamp) {
    size_t index = indexOf(store, path);
    if (index < store->entries.size() && !sameFileStamp(store->entries[index].stamp, stamp)) {
        dropEntry(store, index);
        return store->entries.size();
    }
    return index;
}

} // namespace

template <typename Image>
void keepPicture(PictureStore<Image> *store, const char *path, const FileStamp &stamp,
                 std::shared_ptr<const Image> image) {
    std::lock_guard<std::mutex> guard(store->lock);
    size_t index = indexOf(store, path);
    if (index < store->entries.size())
        dropEntry(store, index);
    if (image == nullptr || image->pixels.size() > store->budget)
        return;
    store->bytes += image->pixels.size();
    store->entries.push_back({path, stamp, std::move(image), ++store->useClock});
    fitBudget(store);
}

template <typename Image>
std::shared_ptr<const Image> findPicture(PictureStore<Image> *store, const char *path,
                                         const FileStamp &stamp) {
    std::lock_guard<std::mutex> guard(store->lock);
    size_t index = currentEntry(store, path, stamp);
    if (index == store->entries.size())
        return nullptr;
    store->entries[index].lastUse = ++store->useClock;
    return store->entries[index].image;
}

template <typename Image>
std::shared_ptr<const Image> takePicture(PictureStore<Image> *store, const char *path,
                                         const FileStamp &stamp) {
    std::lock_guard<std::mutex> guard(store->lock);
    size_t index = currentEntry(store, path, stamp);
    if (index == store->entries.size())
        return nullptr;
    std::shared_ptr<const Image> image = store->entries[index].image;
    dropEntry(store, index);
    return image;
}

template <typename Image>
std::shared_ptr<const Image> findAnyVersion(PictureStore<Image> *store, const char *path,
                                            FileStamp *stamp) {
    std::lock_guard<std::mutex> guard(store->lock);
    size_t index = indexOf(store, path);
    if (index == store->entries.size())
        return nullptr;
    *stamp = store->entries[index].stamp;
    return store->entries[index].image;
}

template <typename Image> bool touchPicture(PictureStore<Image> *store, const char *path) {
    std::lock_guard<std::mutex> guard(store->lock);
    size_t index = indexOf(store, path);
    if (index == store->entries.size())
        return false;
    store->entries[index].lastUse = ++store->useClock;
    return true;
}

template <typename Image>
bool holdsPicture(PictureStore<Image> *store, const char *path, const FileStamp &stamp) {
    std::lock_guard<std::mutex> guard(store->lock);
    return currentEntry(store, path, stamp) < store->entries.size();
}

template <typename Image> void setPictureStoreBudget(PictureStore<Image> *store, size_t bytes) {
    std::lock_guard<std::mutex> guard(store->lock);
    store->budget = bytes;
    fitBudget(store);
}

template <typename Image> size_t pictureStoreBytes(PictureStore<Image> *store) {
    std::lock_guard<std::mutex> guard(store->lock);
    return store->bytes;
}

template <typename Image> void clearPictureStore(PictureStore<Image> *store) {
    std::lock_guard<std::mutex> guard(store->lock);
    store->entries.clear();
    store->bytes = 0;
}

#define QM_STORE_OF(Image)                                                                         \
    template void keepPicture(PictureStore<Image> *, const char *, const FileStamp &,              \
                              std::shared_ptr<const Image>);                                       \
    template std::shared_ptr<const Image> findPicture(PictureStore<Image> *, const char *,         \
                                                      const FileStamp &);                          \
    template std::shared_ptr<const Image> takePicture(PictureStore<Image> *, const char *,         \
                                                      const FileStamp &);                          \
    template std::shared_ptr<const Image> findAnyVersion(PictureStore<Image> *, const char *,      \
                                                         FileStamp *);                             \
    template bool touchPicture(PictureStore<Image> *, const char *);                               \
    template bool holdsPicture(PictureStore<Image> *, const char *, const FileStamp &);            \
    template void setPictureStoreBudget(PictureStore<Image> *, size_t);                            \
    template size_t pictureStoreBytes(PictureStore<Image> *);                                      \
    template void clearPictureStore(PictureStore<Image> *);

QM_STORE_OF(Picture)
QM_STORE_OF(SlotImage)
