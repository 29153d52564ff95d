// tiling_painters.cpp -- hexagon tiles, Truchet arcs, low-poly triangles and stained glass.
#include "samples/painters.h"

#include <cmath>

namespace {

const float SQRT3 = 1.7320508f;

} // namespace

void paintHexagons(Picture &picture, int variant) {
    static const int choices[] = {GRADIENT_OCEAN, GRADIENT_AUTUMN, GRADIENT_MINT, GRADIENT_CANDY};
    const Gradient &gradient = namedGradient(choices[variant % 4]);
    const uint32_t seed = 8000u + variant;
    const float size = 0.07f + 0.01f * (variant % 3); // centre to corner
    const float inner = size * SQRT3 * 0.5f;
    const Colour grout = scaleColour(gradient.stops[0], 0.5f);
    const Frame frame = frameOf(picture);
    renderPicture(picture, 2, [&](float x, float y) {
        const float px = (x - frame.centreX) * frame.unit;
        const float py = (y - frame.centreY) * frame.unit;
        // Axial coordinates of pointy-top hexagons, rounded through cube coordinates.
        const float q = (SQRT3 / 3.0f * px - py / 3.0f) / size;
        const float r = (2.0f / 3.0f * py) / size;
        const float s = -q - r;
        float rq = std::round(q);
        float rr = std::round(r);
        const float rs = std::round(s);
        const float dq = std::fabs(rq - q);
        const float dr = std::fabs(rr - r);
        const float ds = std::fabs(rs - s);
        if (dq > dr && dq > ds) {
            rq = -rr - rs;
        } else if (dr > ds) {
            rr = -rq - rs;
        }
        const float dx = px - size * SQRT3 * (rq + rr * 0.5f);
        const float dy = py - size * 1.5f * rr;
        const float reach =
            std::fmax(std::fabs(dx), std::fmax(std::fabs(dx * 0.5f + dy * SQRT3 * 0.5f),
                                               std::fabs(dx * 0.5f - dy * SQRT3 * 0.5f)));
        const float edge = inner - reach;
        if (edge < inner * 0.08f) {
            return grout;
        }
        const int cellQ = static_cast<int>(rq);
        const int cellR = static_cast<int>(rr);
        Colour colour = gradientAt(gradient, 0.2f + 0.75f * hashUnit(cellQ, cellR, seed));
        const float light = 1.0f - 0.45f * (dx * 0.6f + dy * 0.8f) / size;
        colour = scaleColour(colour, light);
        if (edge < inner * 0.2f) {
            colour = scaleColour(colour, 0.8f);
        }
        return colour;
    });
}

void paintTruchet(Picture &picture, int variant) {
    static const int choices[] = {GRADIENT_SEPIA, GRADIENT_FOREST, GRADIENT_ICE, GRADIENT_FIRE};
    const Gradient &gradient = namedGradient(choices[variant % 4]);
    const uint32_t seed = 9000u + variant;
    const float cellSize = 1.0f / (7 + variant % 4);
    const float halfBand = 0.13f;
    const Colour shades[2] = {gradientAt(gradient, 0.3f), gradientAt(gradient, 0.75f)};
    const Colour band = gradientAt(gradient, 0.98f);
    const Frame frame = frameOf(picture);
    renderPicture(picture, 2, [&](float x, float y) {
        const float px = (x - frame.centreX) * frame.unit / cellSize + 100.0f;
        const float py = (y - frame.centreY) * frame.unit / cellSize + 100.0f;
        const int column = static_cast<int>(std::floor(px));
        const int row = static_cast<int>(std::floor(py));
        const int flip = hashCell(column, row, seed) & 1;
        float fx = px - column;
        const float fy = py - row;
        if (flip) {
            fx = 1.0f - fx;
        }
        const float nearCorner = std::sqrt(fx * fx + fy * fy);
        const float farCorner = std::sqrt((1.0f - fx) * (1.0f - fx) + (1.0f - fy) * (1.0f - fy));
        const float distance = std::fmin(std::fabs(nearCorner - 0.5f), std::fabs(farCorner - 0.5f));
        if (distance < halfBand) {
            const float tube = std::sqrt(1.0f - (distance / halfBand) * (distance / halfBand));
            return scaleColour(band, 0.45f + 0.55f * tube);
        }
        const int inCorner = nearCorner < 0.5f || farCorner < 0.5f;
        return shades[inCorner ^ ((column + row) & 1) ^ flip];
    });
}

void paintTriangles(Picture &picture, int variant) {
    static const int choices[] = {GRADIENT_ICE, GRADIENT_SUNSET, GRADIENT_FOREST, GRADIENT_ROYAL};
    const Gradient &gradient = namedGradient(choices[variant % 4]);
    const uint32_t seed = 10000u + variant;
    const float side = 0.09f + 0.015f * (variant % 3);
    const Frame frame = frameOf(picture);
    renderPicture(picture, 2, [&](float x, float y) {
        const float px = (x - frame.centreX) * frame.unit;
        const float py = (y - frame.centreY) * frame.unit;
        const float skewY = py / (side * SQRT3 * 0.5f) + 100.0f;
        const float skewX = px / side - skewY * 0.5f + 100.0f;
        const int column = static_cast<int>(std::floor(skewX));
        const int row = static_cast<int>(std::floor(skewY));
        const float fx = skewX - column;
        const float fy = skewY - row;
        const bool upper = fx + fy > 1.0f;
        const float edge = upper ? std::fmin(std::fmin(1.0f - fx, 1.0f - fy), fx + fy - 1.0f)
                                 : std::fmin(std::fmin(fx, fy), 1.0f - fx - fy);
        // Colour each triangle from smooth noise at its corner, so neighbours shade together.
        const float n = fractalNoise(column * 0.35f + (upper ? 0.2f : 0.0f), row * 0.35f, seed, 3);
        const float jitter = hashUnit(column * 2 + upper, row, seed + 1) * 0.12f;
        Colour colour = gradientAt(gradient, std::fmin(n * 1.3f - 0.1f + jitter, 1.0f));
        if (edge < 0.03f) {
            colour = mixColour(colour, hexColour(0xffffff), 0.25f);
        }
        return colour;
    });
}

void paintStainedGlass(Picture &picture, int variant) {
    static const int choices[] = {GRADIENT_RAINBOW, GRADIENT_ROYAL, GRADIENT_FIRE, GRADIENT_OCEAN};
    const Gradient &gradient = namedGradient(choices[variant % 4]);
    const uint32_t seed = 11000u + variant;
    const float cellSize = 0.13f + 0.02f * (variant % 3);
    const Colour lead = hexColour(0x1c1a1e);
    const Frame frame = frameOf(picture);
    renderPicture(picture, 2, [&](float x, float y) {
        const float px = (x - frame.centreX) * frame.unit / cellSize + 100.0f;
        const float py = (y - frame.centreY) * frame.unit / cellSize + 100.0f;
        const int column = static_cast<int>(std::floor(px));
        const int row = static_cast<int>(std::floor(py));
        float nearest = 10.0f;
        float second = 10.0f;
        int nearestColumn = column;
        int nearestRow = row;
        for (int j = row - 1; j <= row + 1; j++) {
            for (int i = column - 1; i <= column + 1; i++) {
                const float sx = i + 0.1f + 0.8f * hashUnit(i, j, seed);
                const float sy = j + 0.1f + 0.8f * hashUnit(i, j, seed + 1);
                const float distance = std::sqrt((px - sx) * (px - sx) + (py - sy) * (py - sy));
                if (distance < nearest) {
                    second = nearest;
                    nearest = distance;
                    nearestColumn = i;
                    nearestRow = j;
                } else if (distance < second) {
                    second = distance;
                }
            }
        }
        if (second - nearest < 0.07f) {
            return scaleColour(lead, 1.0f + 4.0f * (second - nearest));
        }
        Colour colour = gradientCycle(gradient, hashUnit(nearestColumn, nearestRow, seed + 2));
        const float glow = 0.75f + 0.35f * (1.0f - std::fmin(nearest, 1.0f));
        const float grain = 0.92f + 0.16f * valueNoise(px * 9.0f, py * 9.0f, seed + 3);
        return scaleColour(colour, glow * grain);
    });
}
