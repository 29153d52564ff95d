// view_pictures.cpp -- one worker thread that decodes the next wished picture not yet taken.
#include "loading/view_pictures.h"

#include <climits>

#include "loading/pixel_budget.h"

#include "platform/this_thread.h"

ViewPictures::ViewPictures() : worker(&ViewPictures::work, this) {}

ViewPictures::~ViewPictures() {
    askToStop();
    if (worker.joinable())
        worker.join();
}

void ViewPictures::askToStop() {
    {
        std::lock_guard<std::mutex> guard(lock);
        stopping = true;
    }
    changed.notify_all();
    cancelling = true;
    decodedPixelBudget().wakeWaiters();
}

bool ViewPictures::stopWithin(std::chrono::milliseconds limit) {
    askToStop();
    {
        std::unique_lock<std::mutex> guard(lock);
        if (!changed.wait_for(guard, limit, [&] { return ended; }))
            return false;
    }
    if (worker.joinable())
        worker.join();
    return true;
}

ViewPictures::Entry *ViewPictures::findEntry(const std::string &path, ViewPictureSize size) {
    for (Entry &entry : entries)
        if (entry.wish.size == size && entry.wish.path == path)
            return &entry;
    return nullptr;
}

void ViewPictures::wish(const std::vector<ViewPictureWish> &wishes, uint32_t width,
                        uint32_t height) {
    std::vector<Entry> next;
    {
        std::lock_guard<std::mutex> guard(lock);
        bool sameWindow = width == windowWidth && height == windowHeight;
        for (const ViewPictureWish &wished : wishes) {
            Entry *held = sameWindow ? findEntry(wished.path, wished.size) : nullptr;
            next.push_back(held != nullptr ? *held : Entry{wished, false, nullptr});
        }
        entries.swap(next);
        windowWidth = width;
        windowHeight = height;
    }
    changed.notify_all();
    // The pictures no longer wished are released here, outside the lock.
}

std::shared_ptr<const ViewPicture> ViewPictures::find(const std::string &path,
                                                      ViewPictureSize size) {
    std::lock_guard<std::mutex> guard(lock);
    Entry *entry = findEntry(path, size);
    return entry != nullptr ? entry->decoded : nullptr;
}

bool ViewPictures::waitFor(const std::string &path, ViewPictureSize size,
                           std::chrono::milliseconds limit) {
    std::unique_lock<std::mutex> guard(lock);
    return changed.wait_for(guard, limit, [&] {
        Entry *entry = findEntry(path, size);
        return entry != nullptr && entry->decoded != nullptr;
    });
}

size_t ViewPictures::heldBytes() {
    std::lock_guard<std::mutex> guard(lock);
    size_t bytes = 0;
    for (const Entry &entry : entries)
        if (entry.decoded != nullptr)
            bytes += entry.decoded->picture.pixels.size();
    return bytes;
}

void ViewPictures::work() {
    nameThisThread("qm-view");
    std::unique_lock<std::mutex> guard(lock);
    for (;;) {
        Entry *next = nullptr;
        changed.wait(guard, [&] {
            next = nullptr;
            for (Entry &entry : entries)
                if (!entry.taken) {
                    next = &entry;
                    break;
                }
            return stopping || next != nullptr;
        });
        if (stopping) {
            ended = true;
            changed.notify_all();
            return;
        }
        next->taken = true;
        ViewPictureWish wished = next->wish;
        uint32_t width = wished.size == SIZE_FULL ? UINT32_MAX : windowWidth;
        uint32_t height = wished.size == SIZE_FULL ? UINT32_MAX : windowHeight;
        guard.unlock();

        auto decoded = std::make_shared<ViewPicture>();
        decoded->result = decodePictureForWindow(wished.path.c_str(), width, height,
                                                 &decoded->picture, decoded->dateTaken);
        guard.lock();
        // Kept only while still wished for: a newer list may have dropped it, or wished it
        // anew for another window (then it is not taken yet).
        Entry *entry = findEntry(wished.path, wished.size);
        if (entry != nullptr && entry->taken && entry->decoded == nullptr)
            entry->decoded = std::move(decoded);
        guard.unlock();
        changed.notify_all();
        // A picture not kept is released here, outside the lock.
        decoded.reset();
        guard.lock();
    }
}
