// room_preparation.cpp -- one background thread working through the rooms to prepare, then the
// thumbnails to write; started on first use.
#include "images/room_preparation.h"

#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <thread>

#include "gallery/folder_scanner.h"
#include "gallery/gallery_state.h"
#include "gallery/path_model.h"
#include "images/picture_source.h"
#include "images/prepared_pictures.h"
#include "platform/folder_enum.h"
#include "platform/thread_priority.h"

namespace {

std::mutex lock;
std::condition_variable changed;
// Guarded by lock, like everything below.
std::vector<std::string> pending;
size_t nextPending = 0;
std::string pendingDoorFolder;
uint32_t preparedWidth = 0;
uint32_t preparedHeight = 0;
std::deque<std::string> thumbnailQueue;
bool busy = false;
// The running thread's generation; a thread whose generation has passed ends.
unsigned generation = 0;
bool running = false;
std::thread worker; // touched by the main thread only
bool exitHookSet = false;

bool hasWork() {
    return nextPending < pending.size() || !pendingDoorFolder.empty() || !thumbnailQueue.empty();
}

// The paths of the first room's pictures of a folder, in the order the folder scanner lists
// them.
std::vector<std::string> firstRoomOf(const std::string &folder) {
    std::vector<std::string> paths;
    FolderSearch *search = openFolderSearch(folder.c_str());
    if (search == nullptr)
        return paths;
    FolderEntry entry;
    while (paths.size() < picturesPerRoom && nextFolderEntry(search, &entry) == FOLDER_NEXT_ENTRY) {
        if (entry.isDirectory || !isPictureFile(entry.name))
            continue;
        char path[PATH_BUFFER_SIZE];
        pathJoin(path, sizeof path, folder.c_str(), entry.name, NATIVE_PATH_STYLE);
        paths.push_back(path);
    }
    closeFolderSearch(search);
    return paths;
}

// A picture is prepared once either store holds this version of it; a file whose stamp cannot
// be read is left for the room load to report.
void preparePicture(const std::string &path, uint32_t width, uint32_t height) {
    FileStamp stamp;
    if (!readFileStamp(path.c_str(), &stamp) ||
        holdsPicture(&framedPictures, path.c_str(), stamp) ||
        holdsPicture(&decodedPictures, path.c_str(), stamp))
        return;
    auto picture = std::make_shared<DecodedPicture>();
    if (obtainPicture(path.c_str(), width, height, picture.get()) == PICTURE_DECODED)
        keepPicture(&decodedPictures, path.c_str(), stamp, std::move(picture));
}

void workInBackground(unsigned ownGeneration) {
    lowerThisThreadPriority();
    std::unique_lock<std::mutex> guard(lock);
    for (;;) {
        changed.wait(guard, [&] { return generation != ownGeneration || hasWork(); });
        if (generation != ownGeneration)
            return;
        busy = true;
        if (nextPending < pending.size()) {
            std::string path = pending[nextPending++];
            uint32_t width = preparedWidth, height = preparedHeight;
            guard.unlock();
            preparePicture(path, width, height);
            guard.lock();
        } else if (!pendingDoorFolder.empty()) {
            std::string folder;
            folder.swap(pendingDoorFolder);
            guard.unlock();
            std::vector<std::string> paths = firstRoomOf(folder);
            guard.lock();
            // Unless the list was replaced meanwhile, the door's room comes next.
            if (nextPending == pending.size() && pendingDoorFolder.empty())
                pending.insert(pending.end(), paths.begin(), paths.end());
        } else {
            std::string path = thumbnailQueue.front();
            thumbnailQueue.pop_front();
            guard.unlock();
            writeThumbnailOf(path.c_str());
            guard.lock();
        }
        busy = false;
        changed.notify_all();
    }
}

// Callers hold lock. Only the main thread starts the thread; work queued from elsewhere waits
// for it.
void startWorkerIfNeeded() {
    if (running)
        return;
    running = true;
    worker = std::thread(workInBackground, generation);
    if (!exitHookSet) {
        exitHookSet = true;
        atexit(stopRoomPreparation);
    }
}

} // namespace

void prepareRooms(const std::vector<std::string> &paths, const std::string &doorFolder,
                  uint32_t innerWidth, uint32_t innerHeight) {
    {
        std::lock_guard<std::mutex> guard(lock);
        pending = paths;
        nextPending = 0;
        pendingDoorFolder = doorFolder;
        preparedWidth = innerWidth;
        preparedHeight = innerHeight;
        // No thread for nothing: a room with no neighbours and no thumbnail to write needs none.
        if (hasWork())
            startWorkerIfNeeded();
    }
    changed.notify_all();
}

void queueThumbnailWrite(const char *path) {
    {
        std::lock_guard<std::mutex> guard(lock);
        for (const std::string &queued : thumbnailQueue)
            if (queued == path)
                return;
        thumbnailQueue.push_back(path);
    }
    changed.notify_all();
}

std::vector<std::string> roomsBeingPrepared() {
    std::lock_guard<std::mutex> guard(lock);
    return pending;
}

void waitForRoomPreparation() {
    std::unique_lock<std::mutex> guard(lock);
    changed.wait(guard, [] { return !running || (!busy && !hasWork()); });
}

void stopRoomPreparation() {
    {
        std::lock_guard<std::mutex> guard(lock);
        if (!running)
            return;
        running = false;
        generation++;
        pending.clear();
        nextPending = 0;
        pendingDoorFolder.clear();
        thumbnailQueue.clear();
    }
    changed.notify_all();
    worker.join();
}
