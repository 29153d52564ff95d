// room_load.cpp -- a room's slot images from the framed-picture store or from the decode
// workers, framed in slot order.
#include "loading/room_load.h"

#include <cstdio>

#include "loading/background_preparation.h"
#include "loading/prepared_pictures.h"
#include "platform/this_thread.h"

RoomLoad::RoomLoad(const std::vector<std::string> &paths) {
    REQUIRE_MAIN_THREAD();
    composerOpen = openSlotComposer(&composer);
    if (!composerOpen)
        return;
    std::vector<std::string> toDecode;
    for (const std::string &path : paths) {
        Slot slot;
        slot.path = path;
        slot.stamped = readFileStamp(path.c_str(), &slot.stamp);
        if (slot.stamped)
            slot.framed = findPicture(&framedPictures, path.c_str(), slot.stamp);
        slot.workIndex = toDecode.size();
        if (slot.framed == nullptr)
            toDecode.push_back(path);
        slots.push_back(slot);
    }
    workers = std::make_unique<DecodeWorkers>(toDecode, composer.innerWidth, composer.innerHeight);
}

RoomLoad::~RoomLoad() {
    workers.reset();
    if (composerOpen)
        closeSlotComposer(&composer);
}

bool RoomLoad::ready(size_t slot, std::chrono::milliseconds limit) {
    return slots[slot].framed != nullptr || workers->waitFor(slots[slot].workIndex, limit);
}

std::shared_ptr<const SlotImage> RoomLoad::take(size_t index, bool *shown) {
    Slot &slot = slots[index];
    *shown = true;
    if (slot.framed != nullptr)
        return slot.framed;
    DecodedEntry *decoded = workers->wait(slot.workIndex);
    std::shared_ptr<const SlotImage> framed;
    if (decoded->result != PICTURE_DECODED)
        fprintf(stderr, "ERROR: Unable to load %s\n", slot.path.c_str());
    else
        framed = frameSlotPicture(composer, decoded->picture);
    decoded->picture = Picture();
    // The thumbnail is written in the background once this room is shown.
    if (decoded->thumbnailWanted)
        queueThumbnailWrite(slot.path.c_str());
    if (framed == nullptr) {
        *shown = false;
        return frameEmptySlot(composer);
    }
    slot.framed = framed;
    if (slot.stamped)
        keepPicture(&framedPictures, slot.path.c_str(), slot.stamp, framed);
    return framed;
}
