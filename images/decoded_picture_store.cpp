// decoded_picture_store.cpp -- the decoded-picture store: a short list of entries under one
// lock, the least recently used let go first.
#include "images/decoded_picture_store.h"

#include <mutex>
#include <string>

struct StoredPicture {
    std::string path;
    FileStamp stamp;
    std::shared_ptr<const DecodedPicture> picture;
    unsigned long long lastUse;
};

static std::mutex storeLock;
static std::vector<StoredPicture> storedPictures;
static size_t storedBytes = 0;
static size_t storeBudget = DECODED_PICTURE_BUDGET;
static unsigned long long useClock = 0;

static bool sameStamp(const FileStamp &a, const FileStamp &b) {
    return a.mtime == b.mtime && a.mtimeNanoseconds == b.mtimeNanoseconds && a.size == b.size;
}

static size_t bytesOf(const StoredPicture &entry) {
    return entry.picture->rgba.size();
}

// Callers hold storeLock.
static void dropEntry(size_t index) {
    storedBytes -= bytesOf(storedPictures[index]);
    storedPictures.erase(storedPictures.begin() + index);
}

static size_t indexOf(const char *path) {
    for (size_t i = 0; i < storedPictures.size(); i++)
        if (storedPictures[i].path == path)
            return i;
    return storedPictures.size();
}

static void fitBudget() {
    while (storedBytes > storeBudget) {
        size_t oldest = 0;
        for (size_t i = 1; i < storedPictures.size(); i++)
            if (storedPictures[i].lastUse < storedPictures[oldest].lastUse)
                oldest = i;
        dropEntry(oldest);
    }
}

void keepDecodedPicture(const char *path, const FileStamp &stamp,
                        std::shared_ptr<const DecodedPicture> picture) {
    std::lock_guard<std::mutex> guard(storeLock);
    size_t index = indexOf(path);
    if (index < storedPictures.size())
        dropEntry(index);
    if (picture == nullptr || picture->rgba.size() > storeBudget)
        return;
    storedPictures.push_back({path, stamp, std::move(picture), ++useClock});
    storedBytes += bytesOf(storedPictures.back());
    fitBudget();
}

std::shared_ptr<const DecodedPicture> findDecodedPicture(const char *path, const FileStamp &stamp) {
    std::lock_guard<std::mutex> guard(storeLock);
    size_t index = indexOf(path);
    if (index == storedPictures.size())
        return nullptr;
    if (!sameStamp(storedPictures[index].stamp, stamp)) {
        dropEntry(index);
        return nullptr;
    }
    storedPictures[index].lastUse = ++useClock;
    return storedPictures[index].picture;
}

void setDecodedPictureBudget(size_t bytes) {
    std::lock_guard<std::mutex> guard(storeLock);
    storeBudget = bytes;
    fitBudget();
}

size_t decodedPictureBytes() {
    std::lock_guard<std::mutex> guard(storeLock);
    return storedBytes;
}

void clearDecodedPictures() {
    std::lock_guard<std::mutex> guard(storeLock);
    storedPictures.clear();
    storedBytes = 0;
}
