// room_load.h -- one room's pictures as slot images, in slot order: straight from the
// framed-picture store when the room was prepared while the person looked, otherwise obtained
// on decode workers and framed as they are taken. Every file is looked at on the workers, once.
#pragma once
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "loading/decode_workers.h"
#include "pictures/slot_composer.h"

// Owns the decode workers and the framing images of one room load. Thread: main only.
class RoomLoad {
  public:
    // Opens the framing images and starts the workers, which look every picture up in the
    // framed-picture store under the stamp its file has now (so a file changed since it was
    // framed is not shown from the older copy) and obtain the rest. Nothing is started when the
    // framing images cannot be made: opened() is false after a line on standard error.
    explicit RoomLoad(const std::vector<std::string> &paths);
    // Lets the workers finish the picture each holds and joins them; releases the images.
    ~RoomLoad();
    RoomLoad(const RoomLoad &) = delete;
    RoomLoad &operator=(const RoomLoad &) = delete;

    bool opened() const { return composerOpen; }
    // The area inside the frame that pictures are fitted to.
    uint32_t innerWidth() const { return composer.innerWidth; }
    uint32_t innerHeight() const { return composer.innerHeight; }

    // True when slot's image can be had without waiting longer than limit.
    bool ready(size_t slot, std::chrono::milliseconds limit);

    // Slot's image, waiting for its picture if need be. A picture framed now is kept for later
    // visits; one refused or not decoded is reported with "ERROR: Unable to load %s" and gets
    // the empty frame, which is not kept, and shown is set false.
    std::shared_ptr<const SlotImage> take(size_t slot, bool *shown);

  private:
    SlotComposer composer;
    bool composerOpen;
    std::vector<std::string> paths;
    std::vector<std::shared_ptr<const SlotImage>> framed; // per slot, once taken
    std::unique_ptr<DecodeWorkers> workers;
};
