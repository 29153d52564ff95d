// neighbour_rooms.cpp -- which rooms neighbour the current one, handed to the background
// preparation, and the framing of what it prepared, a picture a frame.
#include "images/neighbour_rooms.h"

#include <string>
#include <vector>

#include "gallery/door_action.h"
#include "gallery/facing_zone.h"
#include "gallery/gallery_state.h"
#include "gallery/path_model.h"
#include "images/prepared_pictures.h"
#include "images/room_preparation.h"
#include "images/slot_composer.h"

namespace {

bool active = false;
uint32_t preparedWidth = 0;
uint32_t preparedHeight = 0;
std::vector<std::string> roomPaths; // the next room's pictures, then the previous room's
std::string doorFolder;             // the faced side door's folder, or empty

void appendPicturePaths(uint32_t first, uint32_t count) {
    for (uint32_t i = first; i < first + count && i < pictureCount; ++i) {
        char path[PATH_BUFFER_SIZE];
        pathJoin(path, sizeof path, currentPath, pictureNames[i], NATIVE_PATH_STYLE);
        roomPaths.push_back(path);
    }
}

// The folder behind the side door the viewer stands at and faces, or empty. Walking along the
// door wall counts, not only standing right in front of a door, so the room is on its way
// before the person gets there.
std::string facedDoorFolder() {
    FacingZone zone = facingZone();
    char path[PATH_BUFFER_SIZE];
    if (zone.kind == ZONE_DOOR_WALL && sideDoorFolder((uint32_t)zone.slot, path, sizeof path))
        return path;
    return "";
}

} // namespace

void prepareNeighbourRooms(uint32_t innerWidth, uint32_t innerHeight) {
    active = true;
    preparedWidth = innerWidth;
    preparedHeight = innerHeight;
    roomPaths.clear();
    if (hasNextRoom())
        appendPicturePaths(nextRoomFirstPicture(), picturesPerRoom);
    if (hasPreviousRoom())
        appendPicturePaths(previousRoomFirstPicture(), picturesPerRoom);
    doorFolder = facedDoorFolder();
    prepareRooms(roomPaths, doorFolder, innerWidth, innerHeight);
}

bool keepNeighbourRoomsReady() {
    if (!active || !roomLoaded)
        return false;
    std::string faced = facedDoorFolder();
    if (faced != doorFolder) {
        doorFolder = faced;
        prepareRooms(roomPaths, doorFolder, preparedWidth, preparedHeight);
    }

    // The rooms asked for are kept ahead of any other in the framed store: walking past a row
    // of doors never pushes out the next room.
    std::vector<std::string> wanted = roomsBeingPrepared();
    for (const std::string &path : wanted)
        touchPicture(&framedPictures, path.c_str());
    for (const std::string &path : wanted) {
        FileStamp stamp;
        std::shared_ptr<const DecodedPicture> decoded =
            findAnyVersion(&decodedPictures, path.c_str(), &stamp);
        if (decoded == nullptr || holdsPicture(&framedPictures, path.c_str(), stamp))
            continue;
        SlotComposer composer;
        if (!openSlotComposer(&composer)) {
            active = false; // said once; the room load will say it again
            return false;
        }
        std::shared_ptr<const DecodedPicture> framed = frameSlotPicture(composer, *decoded);
        if (framed != nullptr)
            keepPicture(&framedPictures, path.c_str(), stamp, framed);
        closeSlotComposer(&composer);
        takePicture(&decodedPictures, path.c_str(), stamp);
        return framed != nullptr;
    }
    return false;
}

void resetNeighbourRooms() {
    active = false;
    roomPaths.clear();
    doorFolder.clear();
    stopRoomPreparation();
    clearPictureStore(&decodedPictures);
    clearPictureStore(&framedPictures);
}
