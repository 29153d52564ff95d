// decode_workers.cpp -- worker threads that take the next picture not yet taken until none is
// left.
#include "loading/decode_workers.h"

#include <algorithm>
#include <cstdlib>

#include "loading/pixel_budget.h"
#include "loading/prepared_pictures.h"
#include "platform/this_thread.h"

size_t decodingCores() {
    // The one place the core count can be set, to see how the program behaves on another
    // machine: QUILLMERE_CORES=16 gives sixteen workers on two cores.
    const char *set = getenv("QUILLMERE_CORES");
    if (set != nullptr) {
        long cores = strtol(set, nullptr, 10);
        if (cores >= 1 && cores <= 1024)
            return (size_t)cores;
    }
    return std::thread::hardware_concurrency();
}

DecodeWorkers::DecodeWorkers(const std::vector<std::string> &paths, uint32_t width, uint32_t height)
    : entries(paths.size()), innerWidth(width), innerHeight(height) {
    for (size_t i = 0; i < paths.size(); ++i)
        entries[i].path = paths[i];
    size_t cores = std::max<size_t>(2, decodingCores());
    size_t count = std::min(cores, paths.size());
    for (size_t i = 0; i < count; ++i)
        workers.emplace_back(&DecodeWorkers::work, this);
}

DecodeWorkers::~DecodeWorkers() {
    {
        std::lock_guard<std::mutex> guard(lock);
        nextEntry = entries.size();
    }
    // A worker waiting for memory has nothing in hand yet: it gives up at once.
    cancelled = true;
    decodedPixelBudget().wakeWaiters();
    for (std::thread &worker : workers)
        worker.join();
}

void DecodeWorkers::work() {
    nameThisThread("qm-decode");
    std::unique_lock<std::mutex> guard(lock);
    while (nextEntry < entries.size()) {
        DecodedEntry &entry = entries[nextEntry++];
        guard.unlock();
        const char *path = entry.path.c_str();
        PictureStamp stamp = readPictureStamp(path);
        std::shared_ptr<const SlotImage> framed;
        if (stamp.read)
            framed = findPicture(&framedPictures, path, stamp.stamp);
        Picture picture;
        std::unique_ptr<ThumbnailToWrite> thumbnail;
        PictureDecodeResult result = framed != nullptr
                                         ? PICTURE_DECODED
                                         : obtainPicture(path, stamp, innerWidth, innerHeight,
                                                         &picture, &thumbnail, &cancelled);
        guard.lock();
        entry.stamp = stamp;
        entry.framed = std::move(framed);
        entry.result = result;
        entry.picture = std::move(picture);
        entry.thumbnail = std::move(thumbnail);
        entry.done = true;
        entryDone.notify_all();
    }
}

bool DecodeWorkers::waitFor(size_t index, std::chrono::milliseconds limit) {
    std::unique_lock<std::mutex> guard(lock);
    return entryDone.wait_for(guard, limit, [&] { return entries[index].done; });
}

DecodedEntry *DecodeWorkers::wait(size_t index) {
    std::unique_lock<std::mutex> guard(lock);
    entryDone.wait(guard, [&] { return entries[index].done; });
    return &entries[index];
}
