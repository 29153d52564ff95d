// tiff_header.h -- what a TIFF structure says before decoding: the first image's orientation and
// size. A TIFF file is one, and so is the EXIF block of a JPEG.
#pragma once
#include <cstddef>
#include <cstdint>

// The orientation entry (1-8) of the first image directory; 1 when absent or invalid.
// Thread: any.
int tiffOrientation(const unsigned char *data, size_t size);

// The width and height of the first image directory; false when either is missing or zero.
// Safe on any bytes: what is cut off or malformed is not found. Thread: any.
bool tiffImageSize(const unsigned char *data, size_t size, uint32_t *width, uint32_t *height);

// The date and time the picture was taken, "YYYY:MM:DD HH:MM:SS": the EXIF original date, else
// the image directory's own date. False, with date empty, when neither is there or valid.
// Thread: any.
bool tiffDateTaken(const unsigned char *data, size_t size, char date[20]);
