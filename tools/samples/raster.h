// raster.h -- pixel buffers, colours, gradients, value noise and seeded random numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A colour with channels from 0 to 1.
struct Colour {
    float r;
    float g;
    float b;
};

// An RGB picture, top row first, three bytes per pixel.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
};

// Colour stops spread evenly from 0 to 1.
struct Gradient {
    std::vector<Colour> stops;
};

// A small generator with a fixed starting state, so every run draws the same numbers.
struct Random {
    uint64_t state;
};

Picture makePicture(int width, int height);
void putPixel(Picture &picture, int x, int y, Colour colour);

Colour hexColour(uint32_t rgb);
Colour mixColour(Colour a, Colour b, float t);
Colour scaleColour(Colour colour, float factor);
Colour addColour(Colour a, Colour b);
float smoothStep(float edge0, float edge1, float x);

// Position t in [0, 1] (clamped) or anywhere (wrapping) along a gradient.
Colour gradientAt(const Gradient &gradient, float t);
Colour gradientCycle(const Gradient &gradient, float t);

enum GradientName {
    GRADIENT_SUNSET,
    GRADIENT_FIRE,
    GRADIENT_OCEAN,
    GRADIENT_FOREST,
    GRADIENT_CANDY,
    GRADIENT_ICE,
    GRADIENT_AUTUMN,
    GRADIENT_MINT,
    GRADIENT_SEPIA,
    GRADIENT_NEON,
    GRADIENT_DESERT,
    GRADIENT_ROYAL,
    GRADIENT_RAINBOW,
    GRADIENT_COUNT
};
const Gradient &namedGradient(int name);

uint32_t hashCell(int x, int y, uint32_t seed);
float hashUnit(int x, int y, uint32_t seed);
// Smoothly interpolated lattice noise in [0, 1]; the fractal form sums octaves.
float valueNoise(float x, float y, uint32_t seed);
float fractalNoise(float x, float y, uint32_t seed, int octaves);

float randomUnit(Random &random);
float randomRange(Random &random, float low, float high);

// Fills the picture with the mean of samples x samples calls of shade(x, y) per pixel, where
// x and y are pixel coordinates (the pixel at column 0 spans x from 0 to 1).
template <typename Shade> void renderPicture(Picture &picture, int samples, Shade shade) {
    const float step = 1.0f / samples;
    const float weight = 1.0f / (samples * samples);
    for (int y = 0; y < picture.height; y++) {
        for (int x = 0; x < picture.width; x++) {
            Colour sum = {0, 0, 0};
            for (int sy = 0; sy < samples; sy++) {
                for (int sx = 0; sx < samples; sx++) {
                    sum = addColour(sum, shade(x + (sx + 0.5f) * step, y + (sy + 0.5f) * step));
                }
            }
            putPixel(picture, x, y, scaleColour(sum, weight));
        }
    }
}
