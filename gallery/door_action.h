// door_action.h -- passing through the door the viewer faces: paging rooms, changing folders.
#pragma once
#include <cstddef>
#include <cstdint>

// Enter, Space and a left click. Does nothing unless the viewer stands in a door zone.
void openFacingDoor();

// The folder a sub-folder (or drive) door in the given slot leads to, written to path (size
// at least PATH_BUFFER_SIZE); false for the parent door, an empty slot, a slot out of range or
// a folder whose path does not fit the buffer. Changes nothing.
bool sideDoorFolder(uint32_t slot, char *path, size_t size);
