// picture_batch.cpp -- worker threads that take the next undecoded picture until none is left.
#include "images/picture_batch.h"

#include <algorithm>

#include "images/picture_source.h"

namespace {

void decodeSlots(PictureBatch *batch) {
    std::unique_lock<std::mutex> guard(batch->lock);
    while (batch->nextSlot < batch->slots.size()) {
        PictureSlot &slot = batch->slots[batch->nextSlot++];
        guard.unlock();
        DecodedPicture picture;
        PictureDecodeResult result =
            obtainPicture(slot.path.c_str(), batch->innerWidth, batch->innerHeight, &picture);
        guard.lock();
        slot.result = result;
        slot.picture = std::move(picture);
        slot.done = true;
        batch->slotDone.notify_all();
    }
}

} // namespace

void startPictureBatch(PictureBatch *batch, const std::vector<std::string> &paths,
                       uint32_t innerWidth, uint32_t innerHeight) {
    batch->slots.clear();
    batch->slots.resize(paths.size());
    for (size_t i = 0; i < paths.size(); ++i)
        batch->slots[i].path = paths[i];
    batch->innerWidth = innerWidth;
    batch->innerHeight = innerHeight;
    batch->nextSlot = 0;
    size_t cores = std::max(2u, std::thread::hardware_concurrency());
    size_t count = std::min(cores, paths.size());
    for (size_t i = 0; i < count; ++i)
        batch->workers.emplace_back(decodeSlots, batch);
}

bool waitForPictureSlotFor(PictureBatch *batch, size_t slot, std::chrono::milliseconds limit) {
    std::unique_lock<std::mutex> guard(batch->lock);
    return batch->slotDone.wait_for(guard, limit, [&] { return batch->slots[slot].done; });
}

PictureSlot *waitForPictureSlot(PictureBatch *batch, size_t slot) {
    std::unique_lock<std::mutex> guard(batch->lock);
    batch->slotDone.wait(guard, [&] { return batch->slots[slot].done; });
    return &batch->slots[slot];
}

void finishPictureBatch(PictureBatch *batch) {
    {
        std::lock_guard<std::mutex> guard(batch->lock);
        batch->nextSlot = batch->slots.size();
    }
    for (std::thread &worker : batch->workers)
        worker.join();
    batch->workers.clear();
}
