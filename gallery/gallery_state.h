// gallery_state.h -- where the viewer is: the open folder, its name lists, the room window
// onto them and the camera. Module-level state shared by the whole program.
#pragma once
#include <cstdint>
#include "gallery/text_limits.h"

// Room window: pictures and doors per room, and the paging steps.
constexpr uint32_t WALL_SLOTS = 10;
constexpr uint32_t picturesPerRoom = 10;
constexpr uint32_t doorsPerRoom = 9;

// Room geometry in room units.
constexpr float roomWidth = 4.0f;
constexpr float roomHeight = 2.5f;
constexpr float wallMargin = 0.6f;
constexpr float lateralLimit = 1.4f;

// Folder and contents.
extern char currentPath[PATH_BUFFER_SIZE];
extern char **pictureNames;
extern char *pictureNamePool;
extern uint32_t pictureCount;
extern char **folderNames;
extern char *folderNamePool;
extern uint32_t folderCount;

// Room window.
extern uint32_t firstPicture;
extern uint32_t firstFolder;
extern int32_t roomNumber;
extern bool hasParentDoor;

// Room length along z; nothing changes it at run time.
extern float roomLength;

// Camera, stored as the transform applied to the world: the eye is at (-viewX, -viewY, -viewZ).
extern float viewX;
extern float viewY;
extern float viewZ;
extern float viewHeading;
extern float viewPitch;

extern bool roomLoaded;
extern bool helpVisible;

// End stop of viewZ, roomLength * 0.5 - wallMargin rounded to single precision; the end-door
// tests compare viewZ with it for exact equality.
float zLimit();

// More pictures or folders before / after the current room (unsigned 32-bit arithmetic).
bool hasPreviousRoom();
bool hasNextRoom();

// Slot mapping. A picture slot (0..9) holds pictureNames[*index] when it returns true.
bool pictureInSlot(uint32_t slot, uint32_t *index);

enum DoorSlotKind { DOOR_SLOT_EMPTY, DOOR_SLOT_PARENT, DOOR_SLOT_FOLDER };
// A door slot (0..9): the parent door, a folder door showing folderNames[*index], or empty.
DoorSlotKind doorInSlot(uint32_t slot, uint32_t *index);

// The two standard camera poses: at the near end looking down the room, and at the far end
// looking back.
void takeRoomStartPose();
void takeRoomEndPose();

// Puts every variable back to its load-time value and releases the name lists.
void resetGalleryState();
