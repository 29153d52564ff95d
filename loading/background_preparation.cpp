// background_preparation.cpp -- one background thread working through the rooms to prepare,
// then the thumbnails to write; started on first use, joined by its owner.
#include "loading/background_preparation.h"

#include "loading/pixel_budget.h"
#include "loading/prepared_pictures.h"
#include "platform/file_stamp.h"
#include "platform/this_thread.h"

namespace {

BackgroundPreparation *inUse = nullptr;

} // namespace

BackgroundPreparation::BackgroundPreparation() {
    REQUIRE_MAIN_THREAD();
    inUse = this;
}

BackgroundPreparation::~BackgroundPreparation() {
    stop();
    if (inUse == this)
        inUse = nullptr;
}

bool BackgroundPreparation::hasWork() const {
    return !thumbnailsInHand.empty() || nextPending < pending.size() ||
           !pendingDoorFolder.empty() || !thumbnailQueue.empty();
}

// Callers hold lock. Only the owner starts the thread; work queued meanwhile waits for it.
void BackgroundPreparation::startThreadIfNeeded() {
    if (thread.joinable())
        return;
    stopping = false;
    ended = false;
    cancelling = false;
    thread = std::thread(&BackgroundPreparation::work, this);
}

// A picture is prepared once either store holds this version of it; a file whose stamp cannot
// be read is left for the room load to report. Its stamp is read once.
void BackgroundPreparation::preparePicture(const std::string &path, uint32_t width,
                                           uint32_t height) {
    PictureStamp stamp = readPictureStamp(path.c_str());
    if (!stamp.read || holdsPicture(&framedPictures, path.c_str(), stamp.stamp) ||
        holdsPicture(&decodedPictures, path.c_str(), stamp.stamp))
        return;
    auto picture = std::make_shared<Picture>();
    std::unique_ptr<ThumbnailToWrite> thumbnail;
    if (obtainPicture(path.c_str(), stamp, width, height, picture.get(), &thumbnail, &cancelling) ==
        PICTURE_DECODED)
        keepPicture(&decodedPictures, path.c_str(), stamp.stamp,
                    std::shared_ptr<const Picture>(std::move(picture)));
    if (thumbnail != nullptr) {
        std::lock_guard<std::mutex> guard(lock);
        queueThumbnailLocked(std::move(thumbnail));
    }
}

void BackgroundPreparation::work() {
    nameThisThread("qm-prepare");
    lowerThisThreadPriority();
    std::unique_lock<std::mutex> guard(lock);
    for (;;) {
        changed.wait(guard, [&] { return stopping || hasWork(); });
        if (stopping) {
            ended = true;
            changed.notify_all();
            return;
        }
        busy = true;
        if (!thumbnailsInHand.empty()) {
            std::unique_ptr<ThumbnailToWrite> thumbnail = std::move(thumbnailsInHand.front());
            thumbnailsInHand.pop_front();
            guard.unlock();
            writeThumbnail(*thumbnail, &cancelling);
            thumbnail.reset();
            guard.lock();
        } else if (nextPending < pending.size()) {
            std::string path = pending[nextPending++];
            uint32_t width = preparedWidth, height = preparedHeight;
            guard.unlock();
            preparePicture(path, width, height);
            guard.lock();
        } else if (!pendingDoorFolder.empty()) {
            std::string folder;
            folder.swap(pendingDoorFolder);
            FirstRoomLister lister = firstRoomLister;
            guard.unlock();
            std::vector<std::string> paths = lister(folder);
            guard.lock();
            // Unless the list was replaced meanwhile, the door's room comes next.
            if (nextPending == pending.size() && pendingDoorFolder.empty())
                pending.insert(pending.end(), paths.begin(), paths.end());
        } else {
            std::unique_ptr<ThumbnailToWrite> thumbnail = std::move(thumbnailQueue.front());
            thumbnailQueue.pop_front();
            guard.unlock();
            writeThumbnail(*thumbnail, &cancelling);
            thumbnail.reset();
            guard.lock();
        }
        busy = false;
        changed.notify_all();
    }
}

void BackgroundPreparation::prepare(const std::vector<std::string> &paths,
                                    const std::string &doorFolder, FirstRoomLister lister,
                                    uint32_t innerWidth, uint32_t innerHeight) {
    {
        std::lock_guard<std::mutex> guard(lock);
        pending = paths;
        nextPending = 0;
        pendingDoorFolder = lister != nullptr ? doorFolder : "";
        firstRoomLister = lister;
        preparedWidth = innerWidth;
        preparedHeight = innerHeight;
        // No thread for nothing: a room with no neighbours and no thumbnail to write needs none.
        if (hasWork())
            startThreadIfNeeded();
    }
    changed.notify_all();
}

std::vector<std::string> BackgroundPreparation::wanted() {
    std::lock_guard<std::mutex> guard(lock);
    return pending;
}

// One thumbnail per file: a later one with pixels in hand takes the place of one without.
void BackgroundPreparation::queueThumbnailLocked(std::unique_ptr<ThumbnailToWrite> thumbnail) {
    for (const std::unique_ptr<ThumbnailToWrite> &queued : thumbnailsInHand)
        if (queued->path == thumbnail->path)
            return;
    for (auto queued = thumbnailQueue.begin(); queued != thumbnailQueue.end(); ++queued)
        if ((*queued)->path == thumbnail->path) {
            if (thumbnail->picture.pixels.empty())
                return;
            thumbnailQueue.erase(queued);
            break;
        }
    if (thumbnail->picture.pixels.empty())
        thumbnailQueue.push_back(std::move(thumbnail));
    else
        thumbnailsInHand.push_back(std::move(thumbnail));
}

// The thread is not started for this: thumbnails wait for the next request for rooms, which
// follows the room load that decoded them, so they never compete with that load.
void BackgroundPreparation::queueThumbnail(std::unique_ptr<ThumbnailToWrite> thumbnail) {
    {
        std::lock_guard<std::mutex> guard(lock);
        queueThumbnailLocked(std::move(thumbnail));
    }
    changed.notify_all();
}

void BackgroundPreparation::waitUntilIdle() {
    std::unique_lock<std::mutex> guard(lock);
    changed.wait(guard, [&] { return !thread.joinable() || (!busy && !hasWork()); });
}

void BackgroundPreparation::stop() {
    if (askToStop()) {
        thread.join();
        thread = std::thread();
    }
}

bool BackgroundPreparation::askToStop() {
    {
        std::lock_guard<std::mutex> guard(lock);
        if (!thread.joinable())
            return false;
        stopping = true;
        pending.clear();
        nextPending = 0;
        pendingDoorFolder.clear();
        thumbnailsInHand.clear();
        thumbnailQueue.clear();
    }
    changed.notify_all();
    // A decode waiting for memory gives up; one under way is finished.
    cancelling = true;
    decodedPixelBudget().wakeWaiters();
    return true;
}

bool BackgroundPreparation::stopWithin(std::chrono::milliseconds limit) {
    if (!askToStop())
        return true;
    {
        std::unique_lock<std::mutex> guard(lock);
        if (!changed.wait_for(guard, limit, [&] { return ended; }))
            return false;
    }
    thread.join();
    thread = std::thread();
    return true;
}

void prepareRooms(const std::vector<std::string> &paths, const std::string &doorFolder,
                  FirstRoomLister lister, uint32_t innerWidth, uint32_t innerHeight) {
    REQUIRE_MAIN_THREAD();
    if (inUse != nullptr)
        inUse->prepare(paths, doorFolder, lister, innerWidth, innerHeight);
}

std::vector<std::string> roomsBeingPrepared() {
    REQUIRE_MAIN_THREAD();
    return inUse != nullptr ? inUse->wanted() : std::vector<std::string>();
}

void queueThumbnailWrite(std::unique_ptr<ThumbnailToWrite> thumbnail) {
    REQUIRE_MAIN_THREAD();
    if (inUse != nullptr)
        inUse->queueThumbnail(std::move(thumbnail));
}

void waitForRoomPreparation() {
    REQUIRE_MAIN_THREAD();
    if (inUse != nullptr)
        inUse->waitUntilIdle();
}

void stopRoomPreparation() {
    REQUIRE_MAIN_THREAD();
    if (inUse != nullptr)
        inUse->stop();
}
