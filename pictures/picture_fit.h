// picture_fit.h -- the size a picture is shown at inside a thumbnail's frame.
#pragma once
#include <cstdint>

// The size a pictureWidth x pictureHeight picture takes inside an innerWidth x innerHeight
// area: unchanged when it fits, otherwise fitted by height (taller than wide) or by width,
// never thinner than one pixel. True when the picture has to be shrunk. Thread: any.
bool fitPictureSize(uint32_t pictureWidth, uint32_t pictureHeight, uint32_t innerWidth,
                    uint32_t innerHeight, uint32_t *width, uint32_t *height);

// The size a pictureWidth x pictureHeight picture is shown at in a windowWidth x windowHeight
// window: the largest that fits whole, keeping its proportions, never enlarged, never thinner
// than one pixel. True when the picture has to be shrunk. Thread: any.
bool fitPictureToWindow(uint32_t pictureWidth, uint32_t pictureHeight, uint32_t windowWidth,
                        uint32_t windowHeight, uint32_t *width, uint32_t *height);
