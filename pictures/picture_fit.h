// picture_fit.h -- the size a picture is shown at inside a thumbnail's frame.
#pragma once
#include <cstdint>

// The size a pictureWidth x pictureHeight picture takes inside an innerWidth x innerHeight
// area: unchanged when it fits, otherwise fitted by height (taller than wide) or by width,
// never thinner than one pixel. True when the picture has to be shrunk. Thread: any.
bool fitPictureSize(uint32_t pictureWidth, uint32_t pictureHeight, uint32_t innerWidth,
                    uint32_t innerHeight, uint32_t *width, uint32_t *height);
