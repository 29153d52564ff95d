// door_action.cpp -- passing through the door the viewer faces: the end doors page between the
// rooms of a folder, the side doors enter a drive, the parent folder or a sub-folder.
#include "gallery/door_action.h"

#include <cstdio>
#include <cstring>

#include "gallery/facing_zone.h"
#include "gallery/folder_scanner.h"
#include "gallery/gallery_state.h"
#include "gallery/path_model.h"
#include "gallery/room_landing.h"
#include "gallery/room_paging.h"

namespace {

void goToPreviousRoom() {
    if (!hasPreviousRoom())
        return;
    printf("Loading Room %d...\n", roomNumber - 1);
    fflush(stdout);
    pageRoomWindowBack();
    takeRoomEndPose();
    roomLoaded = false;
}

void goToNextRoom() {
    if (!hasNextRoom())
        return;
    printf("Loading Room %d...\n", roomNumber + 1);
    fflush(stdout);
    pageRoomWindowForward();
    takeRoomStartPose();
    roomLoaded = false;
}

// Edits path (currentPath or a copy of it) for the side door in the given slot; an empty slot
// leaves it alone. False when the folder the door leads to does not fit the buffer.
bool editPathForSlot(uint32_t slot, char *path, size_t size) {
    if (pathIsDriveList(currentPath, NATIVE_PATH_STYLE)) {
        uint32_t i = firstFolder + slot;
        if (i < folderCount)
            return pathEnterDrive(path, size, folderNames[i], NATIVE_PATH_STYLE);
    } else if (slot == 0) {
        pathParentStep(path, size, NATIVE_PATH_STYLE);
    } else {
        uint32_t i = firstFolder + slot - 1;
        if (i < folderCount)
            return pathEnterSubfolder(path, size, folderNames[i], NATIVE_PATH_STYLE);
    }
    return true;
}

// The door of the current folder that leads to the given folder: the sub-folder, or at the
// drive list the drive, whose entry gives exactly that path.
bool doorLeadingTo(const char *folder, uint32_t *index) {
    const bool atDriveList = pathIsDriveList(currentPath, NATIVE_PATH_STYLE);
    char path[PATH_BUFFER_SIZE];
    for (uint32_t i = 0; i < folderCount; i++) {
        memcpy(path, currentPath, sizeof path);
        bool fits = atDriveList
                        ? pathEnterDrive(path, sizeof path, folderNames[i], NATIVE_PATH_STYLE)
                        : pathEnterSubfolder(path, sizeof path, folderNames[i], NATIVE_PATH_STYLE);
        if (fits && strcmp(path, folder) == 0) {
            *index = i;
            return true;
        }
    }
    return false;
}

void enterSideDoor(uint32_t slot) {
    printf("Folder Index: %d\n", static_cast<int>(slot));
    fflush(stdout);
    char path[PATH_BUFFER_SIZE];
    memcpy(path, currentPath, sizeof path);
    if (!editPathForSlot(slot, path, sizeof path)) {
        // A cut path would open some other folder, or none; the viewer stays where they are.
        uint32_t i = 0;
        doorInSlot(slot, &i);
        fprintf(stderr, "ERROR: Unable to open folder %s: its path is too long\n", folderNames[i]);
        return;
    }
    const bool goingUp = hasParentDoor && slot == 0;
    char cameFrom[PATH_BUFFER_SIZE];
    memcpy(cameFrom, currentPath, sizeof cameFrom);
    memcpy(currentPath, path, sizeof currentPath);
    // Even an unchanged path is scanned again.
    scanFolder();
    roomNumber = 1;
    // Up through the parent door, the viewer finds themselves before the door they came out
    // of; everywhere else, and when that door is gone, at the start of the first room.
    uint32_t door;
    if (goingUp && doorLeadingTo(cameFrom, &door))
        standBeforeFolderDoor(door);
    else
        takeRoomStartPose();
    roomLoaded = false;
}

} // namespace

void openFacingDoor() {
    const FacingZone zone = facingZone();
    if (zone.kind == ZONE_PREVIOUS_ROOM_DOOR)
        goToPreviousRoom();
    else if (zone.kind == ZONE_NEXT_ROOM_DOOR)
        goToNextRoom();
    else if (facesSideDoor(zone))
        enterSideDoor(static_cast<uint32_t>(zone.slot));
}

bool sideDoorFolder(uint32_t slot, char *path, size_t size) {
    uint32_t index;
    DoorSlotKind kind = doorInSlot(slot, &index);
    if (kind != DOOR_SLOT_FOLDER || size < sizeof currentPath)
        return false;
    memcpy(path, currentPath, sizeof currentPath);
    return editPathForSlot(slot, path, size) && !pathIsDriveList(path, NATIVE_PATH_STYLE);
}
