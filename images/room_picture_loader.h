// room_picture_loader.h -- decoding, framing and uploading the current room's pictures into
// the picture-slot textures, with a loading screen per picture.
#pragma once

// Fills TEX_PICTURE0 + i for every picture position of the current room; slots the room does
// not fill are left alone. A picture that cannot be loaded or framed is reported, its slot
// gets an empty frame, and loading goes on; the result is then false. False also, with no
// slot changed, when the destination or the frame image cannot be prepared.
//
// Before each picture, drawProgress (the renderer's loading screen) is handed the caption and
// the percentage done; it may be null.
bool loadRoomPictures(bool (*drawProgress)(const char *caption, int percent));
