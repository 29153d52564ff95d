// picture_fit.cpp -- the shrunk size of a picture that does not fit its frame.
#include "pictures/picture_fit.h"

#include <algorithm>
#include <cmath>

bool fitPictureSize(uint32_t pictureWidth, uint32_t pictureHeight, uint32_t innerWidth,
                    uint32_t innerHeight, uint32_t *width, uint32_t *height) {
    *width = pictureWidth;
    *height = pictureHeight;
    if (pictureWidth <= innerWidth && pictureHeight <= innerHeight)
        return false;
    // The double-precision order of operations is deliberate; it can give one pixel less than
    // the integer ratio.
    double ws = pictureWidth;
    double hs = pictureHeight;
    if (pictureHeight > pictureWidth) {
        *height = innerHeight;
        *width = (uint32_t)(ws - ws * ((hs - innerHeight) / hs));
    } else {
        *width = innerWidth;
        *height = (uint32_t)(hs - hs * ((ws - innerWidth) / ws));
    }
    // A very elongated picture would lose its short side entirely; keep it one pixel thick so
    // it still hangs as a framed line rather than an empty frame.
    if (*width == 0)
        *width = 1;
    if (*height == 0)
        *height = 1;
    return true;
}

bool fitPictureToWindow(uint32_t pictureWidth, uint32_t pictureHeight, uint32_t windowWidth,
                        uint32_t windowHeight, uint32_t *width, uint32_t *height) {
    *width = pictureWidth;
    *height = pictureHeight;
    if (pictureWidth <= windowWidth && pictureHeight <= windowHeight)
        return false;
    double scale =
        std::min((double)windowWidth / pictureWidth, (double)windowHeight / pictureHeight);
    // The side that sets the scale fills the window exactly; the other is rounded.
    *width = std::min(windowWidth, (uint32_t)std::lround(pictureWidth * scale));
    *height = std::min(windowHeight, (uint32_t)std::lround(pictureHeight * scale));
    *width = std::max(*width, 1u);
    *height = std::max(*height, 1u);
    return true;
}
