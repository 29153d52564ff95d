// fittings.cpp -- the small pieces: gilded frame tiles, progress-bar stripes and the riveted
// name plate.
#include <algorithm>
#include <cmath>

#include "artwork/artwork.h"

namespace {
constexpr float PI = 3.14159265f;

float smoothStep(float edge0, float edge1, float x) {
    float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// Cross-section of the frame moulding: height at distance t (0 to 16) from its outer edge.
float mouldingProfile(float t) {
    if (t < 3.0f) { // rounded outer lip
        float u = (3.0f - t) / 3.0f;
        return 0.6f + 2.6f * std::sqrt(std::max(0.0f, 1.0f - u * u));
    }
    if (t < 5.0f) // cove
        return 1.7f + 1.5f * (0.5f + 0.5f * std::cos(PI * (t - 3.0f) / 2.0f));
    if (t < 10.0f) // the main round
        return 1.7f + 2.8f * std::sin(PI * (t - 5.0f) / 5.0f);
    if (t < 12.0f) // fillet with a small bead
        return 1.7f + 0.7f * std::sin(PI * (t - 10.0f) / 2.0f);
    // Slope down to the sight edge beside the picture.
    return 1.7f - 1.2f * smoothStep(12.0f, 15.6f, t);
}

// Diagonal stripes of period 16 along x + y, `width` pixels of each period covered; the
// coverage of a pixel, sampled 4 x 4 times so the edges are smooth.
float stripeCoverage(int x, int y, float width) {
    float covered = 0.0f;
    for (int sy = 0; sy < 4; ++sy) {
        for (int sx = 0; sx < 4; ++sx) {
            float u = std::fmod(x + (sx + 0.5f) / 4.0f + y + (sy + 0.5f) / 4.0f, 16.0f);
            if (u < width)
                covered += 1.0f;
        }
    }
    return covered / 16.0f;
}

Canvas paintStripes(Colour ground, Colour stripe, float width, float relief) {
    const int size = 32;
    Field height = makeField(size, size);
    Canvas albedo = makeCanvas(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            float cover = stripeCoverage(x, y, width);
            height.at(x, y) = relief * cover;
            float grain = 0.03f * (hashUnit(x, y, 91) - 0.5f);
            albedo.colour[y * size + x] = mix(ground, stripe, cover) * (1.0f + grain);
        }
    }
    Canvas canvas = makeCanvas(size, size);
    Finish finish;
    finish.ambient = 0.75f;
    shadeRelief(canvas, height, albedo, finish, true);
    return canvas;
}
} // namespace

Canvas paintFrame() {
    const int size = 48;
    const int tile = 16;
    Field height = makeField(size, size);
    Canvas albedo = makeCanvas(size, size);
    const Colour gold = {0.76f, 0.56f, 0.20f};
    const Colour deepGold = {0.32f, 0.20f, 0.06f};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            size_t i = static_cast<size_t>(y) * size + x;
            bool centre = x >= tile && x < 2 * tile && y >= tile && y < 2 * tile;
            if (centre) {
                albedo.colour[i] = {0.96f, 0.96f, 0.94f};
                continue;
            }
            // Distance from the frame's outer edge, averaged over sub-samples so that the
            // mitres in the corners are smooth.
            float sum = 0.0f;
            for (int sy = 0; sy < 4; ++sy) {
                for (int sx = 0; sx < 4; ++sx) {
                    float px = x + (sx + 0.5f) / 4.0f;
                    float py = y + (sy + 0.5f) / 4.0f;
                    float t = std::min(std::min(px, py), std::min(size - px, size - py));
                    sum += mouldingProfile(t);
                }
            }
            float h = sum / 16.0f;
            height.at(x, y) = h;
            // Gilding rubbed thin on the high parts, dark in the hollows.
            albedo.colour[i] = mix(deepGold, gold, smoothStep(0.6f, 3.0f, h));
            // A fine dark line along the mitre joint of each corner.
            float mx = x < tile ? x + 0.5f : size - (x + 0.5f);
            float my = y < tile ? y + 0.5f : size - (y + 0.5f);
            bool corner = (x < tile || x >= 2 * tile) && (y < tile || y >= 2 * tile);
            if (corner && std::fabs(mx - my) < 0.75f)
                albedo.colour[i] = albedo.colour[i] * 0.75f;
        }
    }
    Canvas canvas = makeCanvas(size, size);
    Finish finish;
    finish.ambient = 0.30f;
    finish.relief = 1.0f;
    finish.specular = 0.45f;
    finish.shininess = 16.0f;
    finish.highlight = {1.0f, 0.90f, 0.60f};
    shadeRelief(canvas, height, albedo, finish, false);
    for (int y = tile; y < 2 * tile; ++y)
        for (int x = tile; x < 2 * tile; ++x)
            canvas.colour[y * size + x] = {0.96f, 0.96f, 0.94f};
    return canvas;
}

Canvas paintProgressFill() {
    return paintStripes({0.34f, 0.30f, 0.26f}, {0.22f, 0.19f, 0.16f}, 6.0f, 1.0f);
}

Canvas paintProgressTrack() {
    return paintStripes({0.93f, 0.93f, 0.92f}, {0.36f, 0.36f, 0.37f}, 6.0f, 0.0f);
}

Canvas paintPlate() {
    const int size = 256;
    Field height = makeField(size, size);
    Canvas albedo = makeCanvas(size, size);
    const Colour steel = {0.44f, 0.45f, 0.47f};
    const float rivetRows[] = {24.0f, 232.0f};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            float px = x + 0.5f, py = y + 0.5f;
            size_t i = static_cast<size_t>(y) * size + x;
            // Rounded top and bottom edges; left and right run on into the next copy.
            float edge = std::min(py, size - py);
            float h = 3.0f * smoothStep(0.0f, 9.0f, edge);
            // Brushed grain running along the plate.
            float streaks = fractalNoise(x, y, size, size, 2, 64, 3, 81);
            float scratch = fractalNoise(x, y, size, size, 4, 128, 2, 82);
            float shift = 0.0f;
            for (float ry : rivetRows) {
                for (int k = 0; k < 4; ++k) {
                    float rx = 32.0f + 64.0f * k;
                    float rd = std::hypot(px - rx, py - ry);
                    if (rd < 13.0f) // a shallow ring pressed round each rivet
                        h -= 0.5f * std::sin(PI * std::clamp((rd - 9.0f) / 4.0f, 0.0f, 1.0f));
                    if (rd < 9.0f) {
                        float q = rd / 9.0f;
                        h = 3.0f + 4.0f * std::sqrt(1.0f - q * q);
                        shift = 0.03f;
                    }
                }
            }
            height.at(x, y) = h;
            albedo.colour[i] =
                steel * (1.0f + 0.07f * streaks + 0.04f * scratch) + Colour{shift, shift, shift};
        }
    }
    Canvas canvas = makeCanvas(size, size);
    Finish finish;
    finish.ambient = 0.45f;
    finish.specular = 0.3f;
    finish.shininess = 28.0f;
    finish.shadow = 0.5f;
    shadeRelief(canvas, height, albedo, finish, true);
    return canvas;
}
