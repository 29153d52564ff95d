// picture_orientation.h -- a picture turned the way the photographer held the camera.
#pragma once
#include <cstdint>
#include <vector>

// True for the EXIF orientations (5-8) that swap width and height.
bool orientationSwapsSides(int orientation);

// Turns width x height RGBA pixels (top row first) stored with the given EXIF orientation
// (1-8; anything else is 1) upright, in place; width and height become the upright sides.
// Thread: any.
void turnUpright(std::vector<unsigned char> *rgba, uint32_t *width, uint32_t *height,
                 int orientation);
