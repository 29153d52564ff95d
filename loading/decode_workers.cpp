// decode_workers.cpp -- worker threads that take the next picture not yet taken until none is
// left.
#include "loading/decode_workers.h"

#include <algorithm>

#include "loading/picture_source.h"
#include "platform/this_thread.h"

DecodeWorkers::DecodeWorkers(const std::vector<std::string> &paths, uint32_t width, uint32_t height)
    : entries(paths.size()), innerWidth(width), innerHeight(height) {
    for (size_t i = 0; i < paths.size(); ++i)
        entries[i].path = paths[i];
    size_t cores = std::max(2u, std::thread::hardware_concurrency());
    size_t count = std::min(cores, paths.size());
    for (size_t i = 0; i < count; ++i)
        workers.emplace_back(&DecodeWorkers::work, this);
}

DecodeWorkers::~DecodeWorkers() {
    {
        std::lock_guard<std::mutex> guard(lock);
        nextEntry = entries.size();
    }
    for (std::thread &worker : workers)
        worker.join();
}

void DecodeWorkers::work() {
    nameThisThread("qm-decode");
    std::unique_lock<std::mutex> guard(lock);
    while (nextEntry < entries.size()) {
        DecodedEntry &entry = entries[nextEntry++];
        guard.unlock();
        Picture picture;
        bool thumbnailWanted = false;
        PictureDecodeResult result =
            obtainPicture(entry.path.c_str(), innerWidth, innerHeight, &picture, &thumbnailWanted);
        guard.lock();
        entry.result = result;
        entry.picture = std::move(picture);
        entry.thumbnailWanted = thumbnailWanted;
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
