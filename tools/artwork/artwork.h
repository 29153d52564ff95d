// artwork.h -- the procedural painting kit behind make_artwork: colour canvases, periodic
// noise, height-field relief shading, and the painters of the eight embedded images.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct Colour {
    float r, g, b;
};

Colour operator+(Colour a, Colour b);
Colour operator*(Colour a, float k);
Colour operator*(Colour a, Colour b);
Colour mix(Colour a, Colour b, float t);

// A picture being painted: colour and alpha per pixel, row 0 at the top.
struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<Colour> colour;
    std::vector<float> alpha;
};

Canvas makeCanvas(int width, int height);

// A scalar per pixel (heights, masks, distances), row 0 at the top.
struct Field {
    int width = 0;
    int height = 0;
    std::vector<float> value;
    float &at(int x, int y) { return value[y * width + x]; }
    float at(int x, int y) const { return value[y * width + x]; }
};

Field makeField(int width, int height, float initial = 0.0f);

// Writes an 8-bit, non-interlaced PNG with 3 (RGB) or 4 (RGBA) channels.
bool savePng(const Canvas &canvas, int channels, const std::string &path);

// Deterministic hashing and noise. Periodic noise repeats every `period` lattice cells, so a
// texture whose size is a whole number of periods tiles without a seam.
uint32_t hashInts(int a, int b, int c);
float hashUnit(int a, int b, int c);                                       // in [0, 1)
float periodicNoise(float x, float y, int periodX, int periodY, int seed); // in [-1, 1]
// Fractal sum over the whole image: `cells` lattice cells across the first octave (a divisor
// of the image size), doubling per octave, amplitude halving. Roughly in [-1, 1].
float fractalNoise(float x, float y, int width, int height, int cellsX, int cellsY, int octaves,
                   int seed);

// Distance (in pixels) from every pixel to the nearest pixel where `sources` is non-zero;
// `wrap` measures across the edges as on a torus.
Field distanceTo(const Field &sources, bool wrap);

// Box blur of the given radius, wrapping or clamping at the edges.
Field blur(const Field &field, int radius, bool wrap);

// Lighting for relief painting: a light from the upper left, the viewer straight in front.
struct Finish {
    float ambient = 0.38f;   // share of light that reaches a surface facing away
    float relief = 1.0f;     // scale of the heights when computing normals
    float specular = 0.0f;   // strength of the highlight
    float shininess = 24.0f; // tightness of the highlight
    Colour highlight = {1, 1, 1};
    float shadow = 0.0f; // darkness of cast shadows (0 none, 1 black)
};

// Lights `albedo` over the height field (heights in pixels) and writes it into the canvas.
void shadeRelief(Canvas &canvas, const Field &height, const Canvas &albedo, const Finish &finish,
                 bool wrap);

Canvas paintWall();
Canvas paintFloor();
Canvas paintCeiling();
Canvas paintDoor();
Canvas paintFrame();
Canvas paintProgressFill();
Canvas paintProgressTrack();
Canvas paintPlate();
