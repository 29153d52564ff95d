// room_landing.cpp -- finding the room that shows a picture or a door by paging on from the
// first room, and the pose before that picture or door.
#include "gallery/room_landing.h"

#include "gallery/gallery_state.h"
#include "gallery/room_paging.h"

namespace {

constexpr float SLOT_PITCH = 2.5f;
// Where along its slot the eye stands: the middle of a picture, and the middle of the band
// (0.45 to 0.65 of the slot) in which a door opens.
constexpr float PICTURE_SPOT = 0.5f;
constexpr float DOOR_SPOT = 0.55f;

// The picture slot showing picture index in the current room window, or WALL_SLOTS.
uint32_t slotOfPicture(uint32_t index) {
    uint32_t found;
    for (uint32_t slot = 0; slot < WALL_SLOTS; slot++)
        if (pictureInSlot(slot, &found) && found == index)
            return slot;
    return WALL_SLOTS;
}

// The door slot showing folderNames[index] in the current room window, or WALL_SLOTS.
uint32_t slotOfFolderDoor(uint32_t index) {
    uint32_t found;
    for (uint32_t slot = 0; slot < WALL_SLOTS; slot++)
        if (doorInSlot(slot, &found) == DOOR_SLOT_FOLDER && found == index)
            return slot;
    return WALL_SLOTS;
}

// Pages from the first room on to the first room whose window shows the entry; returns its
// slot and clears roomLoaded when the window differs from the one before.
uint32_t pageToSlot(uint32_t (*slotOf)(uint32_t), uint32_t index, bool *changed) {
    const uint32_t oldPicture = firstPicture;
    const uint32_t oldFolder = firstFolder;
    const int32_t oldRoom = roomNumber;
    firstPicture = 0;
    firstFolder = 0;
    roomNumber = 1;
    uint32_t slot;
    while ((slot = slotOf(index)) == WALL_SLOTS && hasNextRoom())
        pageRoomWindowForward();
    *changed = firstPicture != oldPicture || firstFolder != oldFolder || roomNumber != oldRoom;
    if (*changed)
        roomLoaded = false;
    return slot;
}

// The side stop beside the wall, facing it, with the eye at the given spot of the slot.
void standAtWall(float x, float heading, uint32_t slot, float spot) {
    viewX = x;
    viewY = -0.5f;
    viewZ = (static_cast<float>(slot) + spot) * SLOT_PITCH - roomLength * 0.5f;
    viewHeading = heading;
    viewPitch = 0.0f;
}

} // namespace

bool standBeforePicture(uint32_t index) {
    if (index >= pictureCount)
        return false;
    bool changed;
    uint32_t slot = pageToSlot(slotOfPicture, index, &changed);
    // The picture wall is at x = -2; the eye stands at -viewX.
    standAtWall(lateralLimit, 90.0f, slot, PICTURE_SPOT);
    return changed;
}

bool standBeforeFolderDoor(uint32_t index) {
    if (index >= folderCount)
        return false;
    bool changed;
    uint32_t slot = pageToSlot(slotOfFolderDoor, index, &changed);
    standAtWall(-lateralLimit, 270.0f, slot, DOOR_SPOT);
    return changed;
}
