// picture_batch.h -- a list of pictures obtained on worker threads, one per core, and handed to
// the main thread in list order as each is ready.
#pragma once
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "images/picture_decoder.h"

struct PictureSlot {
    std::string path;
    PictureDecodeResult result = PICTURE_UNDECODABLE;
    DecodedPicture picture;
    bool done = false;
};

struct PictureBatch {
    std::vector<PictureSlot> slots;
    uint32_t innerWidth = 0;
    uint32_t innerHeight = 0;
    std::mutex lock;
    std::condition_variable slotDone;
    size_t nextSlot = 0; // the next slot a worker takes; guarded by lock
    std::vector<std::thread> workers;
};

// Starts obtaining the pictures at paths (obtainPicture: from memory, the thumbnail cache or the
// file), each to fit an innerWidth x innerHeight area, on as
// many worker threads as the machine has cores (at least two, at most one per picture).
void startPictureBatch(PictureBatch *batch, const std::vector<std::string> &paths,
                       uint32_t innerWidth, uint32_t innerHeight);

// Waits at most the given time for the picture of the given slot to be decoded (or refused);
// true when it is.
bool waitForPictureSlotFor(PictureBatch *batch, size_t slot, std::chrono::milliseconds limit);

// Waits until the picture of the given slot is decoded (or refused) and returns it.
PictureSlot *waitForPictureSlot(PictureBatch *batch, size_t slot);

// Lets the workers finish the picture each holds, skips the rest, and joins them.
void finishPictureBatch(PictureBatch *batch);
