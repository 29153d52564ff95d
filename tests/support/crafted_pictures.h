// crafted_pictures.h -- picture files built byte by byte for tests, on both platforms: a
// progressive JPEG with as many scans as asked, GIFs and a 24-bit BMP.
#pragma once
#include <string>
#include <vector>

typedef std::vector<unsigned char> Bytes;

// A flat grey progressive JPEG, one component: a DC scan, then the same full AC scan `scans - 1`
// times (each a few bytes: one run of empty blocks).
Bytes progressiveJpeg(int width, int height, int scans);

// A GIF of one colour (red when red is true, else blue) with the given number of frames, and
// its trailer.
Bytes solidGif(int width, int height, bool red, int frames = 1);

// One image of a GIF: where it lies on the canvas, its colour indexes in the order they are
// stored (pass by pass when interlaced), its own colour table (empty: none) and its transparent
// index (-1: none).
struct GifImage {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool interlaced = false;
    std::vector<unsigned char> indexes;
    Bytes localMap;
    int transparent = -1;
};

// A GIF of one image on a canvas, LZW-coded as encoders do (the table grows, codes widen, a
// clear code when it is full); globalMap empty: no global table. Tables are 256 colours.
Bytes indexedGif(int canvasWidth, int canvasHeight, const Bytes &globalMap, const GifImage &image);

// An uncompressed 24-bit BMP of one colour; its size depends only on width and height.
Bytes solidBmp(int width, int height, unsigned char red, unsigned char green, unsigned char blue);

// Writes bytes to a new file at path; false when it cannot.
bool writeBytes(const std::string &path, const Bytes &bytes);
