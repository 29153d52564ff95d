// picture_source.h -- a room's picture from wherever it is cheapest: pictures decoded earlier in
// this run, the desktop's thumbnail cache, or the file itself.
#pragma once
#include <atomic>
#include <cstdint>

#include "pictures/picture_decoder.h"

// The picture at path fitted to an innerWidth x innerHeight area, as decodePicture gives it:
// taken out of the decoded-picture store when it holds this version of the file, else scaled
// from a matching x-large thumbnail of the desktop's cache, else decoded. Whichever way, its
// size is the one fitted from the original's. One that cannot be decoded is recorded in the
// cache, so later visits do not try it again. thumbnailWanted is set when the picture was
// decoded from a file the cache has no thumbnail of: the caller then has writeThumbnailOf run
// when nothing more urgent is left. A decode waits for its memory in decodedPixelBudget; once
// cancel (may be null) is set and the budget's waiters woken, it gives up with
// PICTURE_CANCELLED, and nothing is recorded. Thread: any.
PictureDecodeResult obtainPicture(const char *path, uint32_t innerWidth, uint32_t innerHeight,
                                  Picture *picture, bool *thumbnailWanted,
                                  const std::atomic<bool> *cancel = nullptr);

// Decodes the picture at path to the cache's x-large size and writes its thumbnail, unless the
// cache already holds one (or a failure record) for this version of the file. Slow: for the
// background. Its memory comes from decodedPixelBudget, as for obtainPicture. Thread: any.
void writeThumbnailOf(const char *path, const std::atomic<bool> *cancel = nullptr);
