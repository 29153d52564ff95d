// room_landing.h -- putting the viewer before a given picture or door of the current folder, in
// the room that paging on from the first room reaches first, so that paging back and forth from
// there goes exactly as if the viewer had walked there.
#pragma once
#include <cstdint>

// Puts the viewer in the room that shows picture `index` of the current folder, before it
// and facing it; true when the room window changed (roomLoaded is then false). An index past
// the list changes nothing.
bool standBeforePicture(uint32_t index);

// Puts the viewer in the room that shows the door of folderNames[index] (a sub-folder, or a
// drive at the drive list), before it and facing it, in the middle of the spot where Enter
// opens it; true when the room window changed (roomLoaded is then false). An index past the
// list changes nothing.
bool standBeforeFolderDoor(uint32_t index);
