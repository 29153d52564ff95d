// picture_source.h -- a room's picture from wherever it is cheapest: pictures decoded earlier in
// this run, the desktop's thumbnail cache, or the file itself.
#pragma once
#include <cstdint>

#include "images/picture_decoder.h"

// The picture at path fitted to an innerWidth x innerHeight area, as decodePicture gives it:
// taken out of the decoded-picture store when it holds this version of the file, else scaled
// from a matching x-large thumbnail of the desktop's cache, else decoded. Whichever way, its
// size is the one fitted from the original's. A picture
// decoded from its file is handed to the background to have its thumbnail written; one that
// cannot be decoded is recorded in the cache, so later visits do not try it again. Safe on any
// thread, like decodePicture.
PictureDecodeResult obtainPicture(const char *path, uint32_t innerWidth, uint32_t innerHeight,
                                  DecodedPicture *picture);

// Decodes the picture at path to the cache's x-large size and writes its thumbnail, unless the
// cache already holds one (or a failure record) for this version of the file. For the
// background; slow, and safe on any thread.
void writeThumbnailOf(const char *path);
