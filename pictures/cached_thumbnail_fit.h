// cached_thumbnail_fit.h -- a thumbnail from the desktop's cache made into the picture a frame
// shows, in the proportions of the original rather than the thumbnail's rounded ones.
#pragma once
#include <cstdint>

#include "pictures/picture.h"
#include "platform/thumbnail_cache.h"

// Scales the thumbnail to the size the original takes inside an innerWidth x innerHeight area.
// False when the scaling fails. Thread: any.
bool fitCachedThumbnail(const CachedThumbnail &thumbnail, uint32_t innerWidth, uint32_t innerHeight,
                        Picture *picture);
