// jpeg_header.h -- what a JPEG's leading segments tell before decoding: its EXIF orientation
// and whether its frame is progressive.
#pragma once
#include <cstddef>

struct JpegHeader {
    int orientation;    // EXIF orientation 1-8; 1 when absent or invalid
    bool frameFound;    // a start-of-frame segment lies within the bytes given
    bool progressive;   // that frame is progressive (the decoder then holds every coefficient)
    int components;     // colour components of that frame
    char dateTaken[20]; // EXIF "YYYY:MM:DD HH:MM:SS" when the picture was taken, or empty
};

// Reads the segments of bytes up to the start of frame or of scan. Safe on any bytes: what is
// cut off or malformed is simply not found. Thread: any.
JpegHeader readJpegHeader(const unsigned char *bytes, size_t size);
