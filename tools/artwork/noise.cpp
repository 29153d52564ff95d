// noise.cpp -- integer hashing and periodic gradient noise, so painted surfaces tile.
#include <cmath>

#include "artwork/artwork.h"

uint32_t hashInts(int a, int b, int c) {
    uint32_t h = 0x9e3779b9u;
    for (uint32_t v :
         {static_cast<uint32_t>(a), static_cast<uint32_t>(b), static_cast<uint32_t>(c)}) {
        h ^= v + 0x7f4a7c15u + (h << 6) + (h >> 2);
        h *= 0x85ebca6bu;
        h ^= h >> 13;
        h *= 0xc2b2ae35u;
        h ^= h >> 16;
    }
    return h;
}

float hashUnit(int a, int b, int c) {
    return (hashInts(a, b, c) >> 8) * (1.0f / 16777216.0f);
}

static int wrapIndex(int i, int period) {
    return ((i % period) + period) % period;
}

static float fade(float t) {
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

// Dot product of the lattice point's pseudo-random unit gradient with the offset to it.
static float gradientDot(int ix, int iy, int periodX, int periodY, int seed, float dx, float dy) {
    float angle = hashUnit(wrapIndex(ix, periodX), wrapIndex(iy, periodY), seed) * 6.2831853f;
    return std::cos(angle) * dx + std::sin(angle) * dy;
}

float periodicNoise(float x, float y, int periodX, int periodY, int seed) {
    int ix = static_cast<int>(std::floor(x));
    int iy = static_cast<int>(std::floor(y));
    float fx = x - ix;
    float fy = y - iy;
    float n00 = gradientDot(ix, iy, periodX, periodY, seed, fx, fy);
    float n10 = gradientDot(ix + 1, iy, periodX, periodY, seed, fx - 1, fy);
    float n01 = gradientDot(ix, iy + 1, periodX, periodY, seed, fx, fy - 1);
    float n11 = gradientDot(ix + 1, iy + 1, periodX, periodY, seed, fx - 1, fy - 1);
    float u = fade(fx);
    float v = fade(fy);
    float top = n00 + (n10 - n00) * u;
    float bottom = n01 + (n11 - n01) * u;
    return (top + (bottom - top) * v) * 1.41f;
}

float fractalNoise(float x, float y, int width, int height, int cellsX, int cellsY, int octaves,
                   int seed) {
    float sum = 0.0f;
    float amplitude = 1.0f;
    float total = 0.0f;
    for (int octave = 0; octave < octaves; ++octave) {
        int periodX = cellsX << octave;
        int periodY = cellsY << octave;
        sum += amplitude * periodicNoise(x * periodX / width, y * periodY / height, periodX,
                                         periodY, seed + octave * 7919);
        total += amplitude;
        amplitude *= 0.5f;
    }
    return sum / total * 1.6f;
}
