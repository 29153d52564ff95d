// gallery_state.cpp -- the gallery state's variables, predicates, slot mapping and poses.
#include "gallery/gallery_state.h"

#include <cstdlib>
#include <cstring>

char currentPath[PATH_BUFFER_SIZE] = ".";
char **pictureNames = nullptr;
char *pictureNamePool = nullptr;
uint32_t pictureCount = 0;
char **folderNames = nullptr;
char *folderNamePool = nullptr;
uint32_t folderCount = 0;

uint32_t firstPicture = 0;
uint32_t firstFolder = 0;
int32_t roomNumber = 1;
bool hasParentDoor = true;

float roomLength = 25.0f;

float viewX = 0.0f;
float viewY = -0.5f;
float viewZ = -(25.0f * 0.5f - wallMargin);
float viewHeading = 0.0f;
float viewPitch = 0.0f;

bool roomLoaded = false;
bool helpVisible = false;

float zLimit() {
    // Stored through a float so no wider intermediate survives.
    volatile float limit = roomLength * 0.5f - wallMargin;
    return limit;
}

bool hasPreviousRoom() {
    return firstPicture != 0 || firstFolder != 0;
}

bool hasNextRoom() {
    return pictureCount >= firstPicture + 11u || folderCount >= firstFolder + 10u;
}

bool pictureInSlot(uint32_t slot, uint32_t *index) {
    uint32_t i = firstPicture + slot;
    if (slot >= WALL_SLOTS || i >= pictureCount)
        return false;
    *index = i;
    return true;
}

DoorSlotKind doorInSlot(uint32_t slot, uint32_t *index) {
    if (slot >= WALL_SLOTS)
        return DOOR_SLOT_EMPTY;
    if (hasParentDoor && slot == 0)
        return DOOR_SLOT_PARENT;
    uint32_t i = hasParentDoor ? firstFolder + slot - 1 : firstFolder + slot;
    if (i >= folderCount)
        return DOOR_SLOT_EMPTY;
    *index = i;
    return DOOR_SLOT_FOLDER;
}

void takeRoomStartPose() {
    viewHeading = 0.0f;
    viewPitch = 0.0f;
    viewX = 0.0f;
    viewZ = -zLimit();
    viewY = -0.5f;
}

void takeRoomEndPose() {
    viewHeading = 180.0f;
    viewPitch = 0.0f;
    viewX = 0.0f;
    viewZ = zLimit();
    viewY = -0.5f;
}

void resetGalleryState() {
    free(pictureNames);
    free(pictureNamePool);
    free(folderNames);
    free(folderNamePool);
    pictureNames = nullptr;
    pictureNamePool = nullptr;
    folderNames = nullptr;
    folderNamePool = nullptr;
    pictureCount = 0;
    folderCount = 0;
    strcpy(currentPath, ".");
    firstPicture = 0;
    firstFolder = 0;
    roomNumber = 1;
    hasParentDoor = true;
    roomLength = 25.0f;
    takeRoomStartPose();
    roomLoaded = false;
    helpVisible = false;
}
