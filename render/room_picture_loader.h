// room_picture_loader.h -- the current room's pictures framed into the picture-slot textures,
// with a loading screen whenever a picture keeps the person waiting, and the rooms they may
// enter next made ready while they look. Thread: main only (GL).
#pragma once

// Fills TEX_PICTURE0 + i for every picture position of the current room; slots the room does
// not fill are left alone. A picture that cannot be loaded or framed is reported, its slot
// gets an empty frame, and loading goes on; the result is then false. False also, with no
// slot changed, when the destination or the frame image cannot be prepared.
//
// When a picture is not ready within a frame's time, drawProgress (the loading screen) is
// handed the caption and the percentage done before it is waited for; it may be null. The wait
// goes in short steps, each followed by the window-answering function and the loading screen
// drawn again, so the window answers however long a picture takes.
bool loadRoomPictures(bool (*drawProgress)(const char *caption, int percent));

// The function that handles the window's messages while a picture is waited for (null: none).
// It may end the program; it must not change the room. Handed down by the program at start-up.
void setWindowAnswering(void (*answer)());

// Once a frame, after it is presented: follows the side door the viewer faces and frames one
// picture the background has prepared, so that entering its room only uploads it. Does
// nothing before a room is loaded. True when a picture was framed.
bool prepareRoomsAhead();
