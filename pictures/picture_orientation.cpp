// picture_orientation.cpp -- the eight EXIF orientations as pixel moves: each upright pixel
// (x, y) is read from where the stored picture keeps it.
#include "pictures/picture_orientation.h"

#include <cstring>

bool orientationSwapsSides(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

void turnUpright(std::vector<unsigned char> *rgba, uint32_t *width, uint32_t *height,
                 int orientation) {
    if (orientation < 2 || orientation > 8)
        return;
    const size_t storedWidth = *width, storedHeight = *height;
    const bool swap = orientationSwapsSides(orientation);
    const size_t uprightWidth = swap ? storedHeight : storedWidth;
    const size_t uprightHeight = swap ? storedWidth : storedHeight;
    std::vector<unsigned char> turned(rgba->size());
    const unsigned char *in = rgba->data();
    unsigned char *out = turned.data();
    for (size_t y = 0; y < uprightHeight; ++y) {
        for (size_t x = 0; x < uprightWidth; ++x) {
            size_t sx = x, sy = y; // where the stored picture keeps upright pixel (x, y)
            switch (orientation) {
            case 2: // mirrored
                sx = storedWidth - 1 - x;
                break;
            case 3: // upside down
                sx = storedWidth - 1 - x;
                sy = storedHeight - 1 - y;
                break;
            case 4: // flipped
                sy = storedHeight - 1 - y;
                break;
            case 5: // transposed
                sx = y;
                sy = x;
                break;
            case 6: // stored turned a quarter anticlockwise
                sx = y;
                sy = storedHeight - 1 - x;
                break;
            case 7: // transversed
                sx = storedWidth - 1 - y;
                sy = storedHeight - 1 - x;
                break;
            case 8: // stored turned a quarter clockwise
                sx = storedWidth - 1 - y;
                sy = x;
                break;
            }
            memcpy(out + (y * uprightWidth + x) * 4, in + (sy * storedWidth + sx) * 4, 4);
        }
    }
    rgba->swap(turned);
    *width = (uint32_t)uprightWidth;
    *height = (uint32_t)uprightHeight;
}
