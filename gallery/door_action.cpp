// door_action.cpp -- passing through the door the viewer faces: the end doors page between the
// rooms of a folder, the side doors enter a drive, the parent folder or a sub-folder.
#include "gallery/door_action.h"

#include <cstdio>

#include "gallery/folder_scanner.h"
#include "gallery/gallery_state.h"
#include "gallery/path_model.h"

namespace {

// The end doors are open only to a viewer centred on them and standing at the end stop.
bool centredOnEndDoor() {
    return viewX >= -0.5f && viewX <= 0.5f;
}

void goToPreviousRoom() {
    if (!hasPreviousRoom())
        return;
    printf("Loading Room %d...\n", roomNumber - 1);
    fflush(stdout);
    firstPicture = firstPicture >= picturesPerRoom ? firstPicture - picturesPerRoom : 0;
    firstFolder = firstFolder >= doorsPerRoom ? firstFolder - doorsPerRoom : 0;
    roomNumber -= 1;
    takeRoomEndPose();
    roomLoaded = false;
}

// The next window start, or the list's last entry when the step runs past its end; a shorter
// list thus keeps showing its last entry while the longer one pages on.
uint32_t advanceIndex(uint32_t first, uint32_t step, uint32_t count) {
    if (first + step < count)
        return first + step;
    return count > 0 ? count - 1 : 0;
}

void goToNextRoom() {
    if (!hasNextRoom())
        return;
    printf("Loading Room %d...\n", roomNumber + 1);
    fflush(stdout);
    firstPicture = advanceIndex(firstPicture, picturesPerRoom, pictureCount);
    firstFolder = advanceIndex(firstFolder, doorsPerRoom, folderCount);
    roomNumber += 1;
    takeRoomStartPose();
    roomLoaded = false;
}

// Edits currentPath for the side door in the given slot; an empty slot leaves it alone.
void editPathForSlot(uint32_t slot) {
    if (pathIsDriveList(currentPath, NATIVE_PATH_STYLE)) {
        uint32_t i = firstFolder + slot;
        if (i < folderCount)
            pathEnterDrive(currentPath, sizeof currentPath, folderNames[i], NATIVE_PATH_STYLE);
    } else if (slot == 0) {
        pathParentStep(currentPath, sizeof currentPath, NATIVE_PATH_STYLE);
    } else {
        uint32_t i = firstFolder + slot - 1;
        if (i < folderCount)
            pathEnterSubfolder(currentPath, sizeof currentPath, folderNames[i], NATIVE_PATH_STYLE);
    }
}

void enterSideDoor() {
    // Slots are 2.5 apart from the near end wall; the door is faced in the middle of its slot.
    float s = (viewZ + roomLength * 0.5f) * 0.4f;
    if (s < 0.0f)
        return;
    int slot = static_cast<int>(s);
    float frac = s - static_cast<float>(slot);
    if (frac < 0.45f || frac > 0.65f)
        return;
    printf("Folder Index: %d\n", slot);
    fflush(stdout);
    editPathForSlot(static_cast<uint32_t>(slot));
    // Even an unchanged path is scanned again and entered at its first room.
    scanFolder();
    roomNumber = 1;
    takeRoomStartPose();
    roomLoaded = false;
}

} // namespace

void openFacingDoor() {
    float limit = zLimit();
    float h = viewHeading;
    if (viewZ == -limit && centredOnEndDoor() && h >= 160.0f && h <= 200.0f)
        goToPreviousRoom();
    else if (viewZ == limit && centredOnEndDoor() && (h >= 340.0f || h <= 20.0f))
        goToNextRoom();
    else if (viewX <= -1.3f && h >= 250.0f && h <= 290.0f)
        enterSideDoor();
}
