// neighbour_rooms.cpp -- the rooms asked of the background, and the framing of what it
// prepared, a picture a frame.
#include "loading/neighbour_rooms.h"

#include "loading/prepared_pictures.h"
#include "pictures/slot_composer.h"
#include "platform/this_thread.h"

namespace {

bool active = false;
uint32_t preparedWidth = 0;
uint32_t preparedHeight = 0;
std::vector<std::string> roomPaths; // the next room's pictures, then the previous room's
std::string doorFolder;             // the faced side door's folder, or empty
FirstRoomLister doorRoomLister = nullptr;

} // namespace

void prepareNeighbourRooms(const std::vector<std::string> &paths, const std::string &faced,
                           FirstRoomLister lister, uint32_t innerWidth, uint32_t innerHeight) {
    REQUIRE_MAIN_THREAD();
    active = true;
    preparedWidth = innerWidth;
    preparedHeight = innerHeight;
    roomPaths = paths;
    doorFolder = faced;
    doorRoomLister = lister;
    prepareRooms(roomPaths, doorFolder, doorRoomLister, innerWidth, innerHeight);
}

bool keepNeighbourRoomsReady(const std::string &faced) {
    REQUIRE_MAIN_THREAD();
    if (!active)
        return false;
    if (faced != doorFolder) {
        doorFolder = faced;
        prepareRooms(roomPaths, doorFolder, doorRoomLister, preparedWidth, preparedHeight);
    }

    // The rooms asked for are kept ahead of any other in the framed store: walking past a row
    // of doors never pushes out the next room.
    std::vector<std::string> wanted = roomsBeingPrepared();
    for (const std::string &path : wanted)
        touchPicture(&framedPictures, path.c_str());
    for (const std::string &path : wanted) {
        FileStamp stamp;
        std::shared_ptr<const Picture> decoded =
            findAnyVersion(&decodedPictures, path.c_str(), &stamp);
        if (decoded == nullptr || holdsPicture(&framedPictures, path.c_str(), stamp))
            continue;
        SlotComposer composer;
        if (!openSlotComposer(&composer)) {
            active = false; // said once; the room load will say it again
            return false;
        }
        std::shared_ptr<const SlotImage> framed = frameSlotPicture(composer, *decoded);
        if (framed != nullptr)
            keepPicture(&framedPictures, path.c_str(), stamp, framed);
        closeSlotComposer(&composer);
        takePicture(&decodedPictures, path.c_str(), stamp);
        return framed != nullptr;
    }
    return false;
}

void resetNeighbourRooms() {
    REQUIRE_MAIN_THREAD();
    active = false;
    roomPaths.clear();
    doorFolder.clear();
    doorRoomLister = nullptr;
    stopRoomPreparation();
    clearPictureStore(&decodedPictures);
    clearPictureStore(&framedPictures);
}
