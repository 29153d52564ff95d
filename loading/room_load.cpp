// room_load.cpp -- a room's slot images from the framed-picture store or from the decode
// workers, framed in slot order.
#include "loading/room_load.h"

#include <cstdio>

#include "loading/background_preparation.h"
#include "loading/prepared_pictures.h"
#include "platform/this_thread.h"

RoomLoad::RoomLoad(const std::vector<std::string> &paths) : paths(paths), framed(paths.size()) {
    REQUIRE_MAIN_THREAD();
    composerOpen = openSlotComposer(&composer);
    if (!composerOpen)
        return;
    workers = std::make_unique<DecodeWorkers>(paths, composer.innerWidth, composer.innerHeight);
}

RoomLoad::~RoomLoad() {
    workers.reset();
    if (composerOpen)
        closeSlotComposer(&composer);
}

bool RoomLoad::ready(size_t slot, std::chrono::milliseconds limit) {
    return framed[slot] != nullptr || workers->waitFor(slot, limit);
}

std::shared_ptr<const SlotImage> RoomLoad::take(size_t slot, bool *shown) {
    *shown = true;
    if (framed[slot] != nullptr)
        return framed[slot];
    DecodedEntry *decoded = workers->wait(slot);
    if (decoded->framed != nullptr) {
        framed[slot] = decoded->framed;
        return framed[slot];
    }
    std::shared_ptr<const SlotImage> image;
    if (decoded->result != PICTURE_DECODED)
        fprintf(stderr, "ERROR: Unable to load %s\n", paths[slot].c_str());
    else
        image = frameSlotPicture(composer, decoded->picture);
    decoded->picture = Picture();
    // The thumbnail is written in the background once this room is shown.
    if (decoded->thumbnail != nullptr)
        queueThumbnailWrite(std::move(decoded->thumbnail));
    if (image == nullptr) {
        *shown = false;
        return frameEmptySlot(composer);
    }
    framed[slot] = image;
    // Kept under the stamp read before the file was: a file changed since is looked at again.
    if (decoded->stamp.read)
        keepPicture(&framedPictures, paths[slot].c_str(), decoded->stamp.stamp, image);
    return image;
}
