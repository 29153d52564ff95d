// raster.cpp -- pixel buffers, colours, gradients, value noise and seeded random numbers.
#include "samples/raster.h"

#include <cmath>
#include <initializer_list>

Picture makePicture(int width, int height) {
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.rgb.assign(static_cast<size_t>(width) * height * 3, 0);
    return picture;
}

static unsigned char toByte(float channel) {
    if (!(channel > 0.0f)) {
        return 0;
    }
    if (channel >= 1.0f) {
        return 255;
    }
    return static_cast<unsigned char>(channel * 255.0f + 0.5f);
}

void putPixel(Picture &picture, int x, int y, Colour colour) {
    unsigned char *pixel = &picture.rgb[(static_cast<size_t>(y) * picture.width + x) * 3];
    pixel[0] = toByte(colour.r);
    pixel[1] = toByte(colour.g);
    pixel[2] = toByte(colour.b);
}

Colour hexColour(uint32_t rgb) {
    return {((rgb >> 16) & 255) / 255.0f, ((rgb >> 8) & 255) / 255.0f, (rgb & 255) / 255.0f};
}

Colour mixColour(Colour a, Colour b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour scaleColour(Colour colour, float factor) {
    return {colour.r * factor, colour.g * factor, colour.b * factor};
}

Colour addColour(Colour a, Colour b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}

float smoothStep(float edge0, float edge1, float x) {
    float t = (x - edge0) / (edge1 - edge0);
    t = t < 0.0f ? 0.0f : (t > 1.0f ? 1.0f : t);
    return t * t * (3.0f - 2.0f * t);
}

Colour gradientAt(const Gradient &gradient, float t) {
    const int last = static_cast<int>(gradient.stops.size()) - 1;
    if (!(t > 0.0f)) {
        return gradient.stops[0];
    }
    if (t >= 1.0f) {
        return gradient.stops[last];
    }
    const float position = t * last;
    const int index = static_cast<int>(position);
    return mixColour(gradient.stops[index], gradient.stops[index + 1], position - index);
}

// Wrapping runs the gradient forward and back again, so a cycle has no seam.
Colour gradientCycle(const Gradient &gradient, float t) {
    float phase = t - std::floor(t);
    phase = phase < 0.5f ? phase * 2.0f : 2.0f - phase * 2.0f;
    return gradientAt(gradient, phase);
}

static Gradient gradientOf(std::initializer_list<uint32_t> stops) {
    Gradient gradient;
    for (uint32_t stop : stops) {
        gradient.stops.push_back(hexColour(stop));
    }
    return gradient;
}

const Gradient &namedGradient(int name) {
    static const Gradient gradients[GRADIENT_COUNT] = {
        gradientOf({0x0b1d3a, 0x3b2a5e, 0xa8436b, 0xf08a4b, 0xffd27a}),
        gradientOf({0x000000, 0x5c0a0a, 0xc0301a, 0xf5891f, 0xffe680, 0xffffff}),
        gradientOf({0x02111f, 0x0a3d62, 0x1e7f9c, 0x5cc5c0, 0xe0fff5}),
        gradientOf({0x0e2a12, 0x2f5a22, 0x6c8f32, 0xc4c56b, 0xf3eeb8}),
        gradientOf({0x2d0b3d, 0x8e2c7a, 0xff6f91, 0xffc75f, 0xf9f871}),
        gradientOf({0x0a1030, 0x2a4b8d, 0x6fa8dc, 0xcfe8ff, 0xffffff}),
        gradientOf({0x3b1405, 0x8a2e0b, 0xd9661f, 0xf2b33d, 0xfbe7a1}),
        gradientOf({0x052e2b, 0x0f766e, 0x34d399, 0xa7f3d0, 0xf0fdf4}),
        gradientOf({0x1c130c, 0x4a3322, 0x8c6a48, 0xc9a97f, 0xf3e6cf}),
        gradientOf({0x0d0221, 0x261447, 0xff3864, 0x2de2e6, 0xf6019d}),
        gradientOf({0x3d1f0a, 0x8b5a2b, 0xd49a5a, 0xf0cf8e, 0xfff1d0}),
        gradientOf({0x10002b, 0x3c096c, 0x7b2cbf, 0xc77dff, 0xe0aaff}),
        gradientOf({0xe6194b, 0xf58231, 0xffe119, 0x3cb44b, 0x42d4f4, 0x4363d8, 0x911eb4}),
    };
    return gradients[name % GRADIENT_COUNT];
}

uint32_t hashCell(int x, int y, uint32_t seed) {
    uint32_t h = seed * 0x9e3779b9u;
    h ^= static_cast<uint32_t>(x) * 0x85ebca6bu;
    h = (h ^ (h >> 15)) * 0x2c1b3c6du;
    h ^= static_cast<uint32_t>(y) * 0xc2b2ae35u;
    h = (h ^ (h >> 13)) * 0x297a2d39u;
    return h ^ (h >> 16);
}

float hashUnit(int x, int y, uint32_t seed) {
    return (hashCell(x, y, seed) >> 8) / 16777216.0f;
}

float valueNoise(float x, float y, uint32_t seed) {
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const float tx = smoothStep(0.0f, 1.0f, x - fx);
    const float ty = smoothStep(0.0f, 1.0f, y - fy);
    const float top =
        hashUnit(ix, iy, seed) + (hashUnit(ix + 1, iy, seed) - hashUnit(ix, iy, seed)) * tx;
    const float bottom = hashUnit(ix, iy + 1, seed) +
                         (hashUnit(ix + 1, iy + 1, seed) - hashUnit(ix, iy + 1, seed)) * tx;
    return top + (bottom - top) * ty;
}

float fractalNoise(float x, float y, uint32_t seed, int octaves) {
    float sum = 0.0f;
    float amplitude = 0.5f;
    float total = 0.0f;
    for (int octave = 0; octave < octaves; octave++) {
        sum += valueNoise(x, y, seed + octave * 101u) * amplitude;
        total += amplitude;
        x = x * 2.03f + 17.1f;
        y = y * 2.03f + 5.7f;
        amplitude *= 0.5f;
    }
    return sum / total;
}

float randomUnit(Random &random) {
    // splitmix64
    uint64_t z = (random.state += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    z ^= z >> 31;
    return static_cast<float>(z >> 40) / 16777216.0f;
}

float randomRange(Random &random, float low, float high) {
    return low + (high - low) * randomUnit(random);
}
