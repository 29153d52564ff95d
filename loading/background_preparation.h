// background_preparation.h -- the work done in the background while the person looks: the
// pictures of the rooms they may enter next made ready in the decoded-picture store, and
// thumbnails written to the desktop's cache. One thread, at the lowest priority, so it never
// slows what they wait for.
#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "loading/picture_source.h"

// Lists the pictures of the first room of a folder, as the folder scanner would show them.
// Handed down by the gallery; runs on the background thread. Thread: background.
typedef std::vector<std::string> (*FirstRoomLister)(const std::string &folder);

// Owns the background thread ("qm-prepare"), started on the first request and joined by stop
// and by the destructor. While one exists, the functions below hand it their work; with none,
// rooms are not prepared and thumbnails not written. One at a time. Thread: main only.
class BackgroundPreparation {
  public:
    BackgroundPreparation();
    ~BackgroundPreparation();
    BackgroundPreparation(const BackgroundPreparation &) = delete;
    BackgroundPreparation &operator=(const BackgroundPreparation &) = delete;

    void prepare(const std::vector<std::string> &paths, const std::string &doorFolder,
                 FirstRoomLister lister, uint32_t innerWidth, uint32_t innerHeight);
    std::vector<std::string> wanted();
    void queueThumbnail(std::unique_ptr<ThumbnailToWrite> thumbnail);
    void waitUntilIdle();
    void stop();
    // Stops the thread as stop does, but waits at most limit for it (a read of a hung file
    // may never return). False when it has not ended: it is left running, and the object must
    // then outlive the process, which the caller ends at once.
    bool stopWithin(std::chrono::milliseconds limit);

  private:
    bool askToStop();
    bool hasWork() const;
    void queueThumbnailLocked(std::unique_ptr<ThumbnailToWrite> thumbnail);
    void startThreadIfNeeded();
    void preparePicture(const std::string &path, uint32_t width, uint32_t height);
    void work();

    std::mutex lock;
    std::condition_variable changed;
    // Guarded by lock, like everything below but the thread.
    std::vector<std::string> pending;
    size_t nextPending = 0;
    std::string pendingDoorFolder;
    FirstRoomLister firstRoomLister = nullptr;
    uint32_t preparedWidth = 0;
    uint32_t preparedHeight = 0;
    // Thumbnails whose pixels are in hand, written first to give their memory back; then
    // those whose files are decoded again, last of all.
    std::deque<std::unique_ptr<ThumbnailToWrite>> thumbnailsInHand;
    std::deque<std::unique_ptr<ThumbnailToWrite>> thumbnailQueue;
    bool busy = false;
    bool stopping = false;
    bool ended = false;                  // the thread has left its loop
    std::atomic<bool> cancelling{false}; // a decode waiting for memory gives up
    std::thread thread;                  // touched by the owner only
};

// Replaces whatever the background was preparing with these pictures, in this order, each
// fitted to innerWidth x innerHeight and left in the decoded-picture store (a picture already
// held framed or decoded is skipped). Then, when doorFolder is not empty, the first room of that
// folder is listed with lister and prepared as well. The picture being decoded meanwhile is
// finished in the background; nothing here waits for it. Thread: main only.
void prepareRooms(const std::vector<std::string> &paths, const std::string &doorFolder,
                  FirstRoomLister lister, uint32_t innerWidth, uint32_t innerHeight);

// The pictures asked for by the last prepareRooms, the door's room included once listed.
// Thread: main only.
std::vector<std::string> roomsBeingPrepared();

// Asks for the picture's x-large thumbnail to be written: before anything else is prepared when
// its pixels are in hand, else once nothing else is left. Thread: main only.
void queueThumbnailWrite(std::unique_ptr<ThumbnailToWrite> thumbnail);

// Waits until every picture asked for is prepared and every thumbnail written. Thread: main only.
void waitForRoomPreparation();

// Drops what is left to do, waits for the picture in hand and ends the thread; it starts again
// on the next request. Thread: main only.
void stopRoomPreparation();
