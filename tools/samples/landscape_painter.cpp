// landscape_painter.cpp -- skies with a sun or moon over layered hills, some with a lake.
#include "samples/painters.h"

#include <cmath>

namespace {

struct LandscapeMood {
    uint32_t skyTop;
    uint32_t skyHorizon;
    uint32_t sun;
    uint32_t hillFar;
    uint32_t hillNear;
    uint32_t water;
    float sunHeight; // above the horizon, in picture heights
    float sunRadius;
    float cloudiness;
    float roughness; // 0 for smooth dunes, 1 for jagged hills
    float trees;     // pine trees per unit of width on the nearest hills
    bool stars;
};

const LandscapeMood moods[] = {
    {0x1d2b5a, 0xf39a5b, 0xfff1c1, 0x8a5a7a, 0x1e1a2e, 0x2a3a5a, 0.04f, 0.050f, 0.5f, 0.8f, 0,
     false},
    {0x2f6fb5, 0xcfe9f7, 0xfffbe8, 0x7fa8c0, 0x2e5a2a, 0x3c6f8f, 0.30f, 0.040f, 0.6f, 0.9f, 9,
     false},
    {0x020412, 0x1b2a55, 0xf3f0dc, 0x2a3557, 0x070a14, 0x0b1226, 0.25f, 0.035f, 0.2f, 0.7f, 14,
     true},
    {0x7b8ec8, 0xf7c6c7, 0xfff4d6, 0xb39cc0, 0x4a4f6e, 0x8a9cc4, 0.02f, 0.060f, 0.4f, 0.6f, 0,
     false},
    {0x3c7fc1, 0xf4dcb0, 0xffffff, 0xd9a36a, 0x8a4a1f, 0x6a8ab0, 0.35f, 0.030f, 0.1f, 0.0f, 0,
     false},
    {0x8fa9b8, 0xe0e6e0, 0xfbfbf0, 0x9fb3a5, 0x1f3b26, 0x6f8a88, 0.20f, 0.080f, 0.0f, 1.0f, 22,
     false},
    {0x3a1c4a, 0xf2a65a, 0xffe2a0, 0x9c4f3a, 0x2b1208, 0x3a2430, 0.05f, 0.070f, 0.3f, 0.8f, 6,
     false},
};
const int MOOD_COUNT = sizeof(moods) / sizeof(moods[0]);
const int LAYER_COUNT = 5;
const int SAMPLES = 2;

struct Landscape {
    const LandscapeMood *mood;
    uint32_t seed;
    float horizon;   // where the sky meets the farthest hills, top = 0, bottom = 1
    float waterline; // above 1 when there is no lake
    float sunU;
    float sunV;
    float scale; // picture height in pixels
    int layers;
    std::vector<float> ridges[LAYER_COUNT]; // ridge height per sample column
    Colour layerColours[LAYER_COUNT];
};

float ridgeAt(const Landscape &land, int layer, float u) {
    const std::vector<float> &ridge = land.ridges[layer];
    int index = static_cast<int>(u * land.scale * SAMPLES);
    index = index < 0 ? 0 : (index >= static_cast<int>(ridge.size()) ? ridge.size() - 1 : index);
    return ridge[index];
}

Colour skyAt(const Landscape &land, float u, float v) {
    const LandscapeMood &mood = *land.mood;
    const float t = std::pow(std::fmin(std::fmax(v / land.horizon, 0.0f), 1.0f), 1.4f);
    Colour sky = mixColour(hexColour(mood.skyTop), hexColour(mood.skyHorizon), t);
    const Colour sun = hexColour(mood.sun);
    const float du = u - land.sunU;
    const float dv = v - land.sunV;
    const float distance = std::sqrt(du * du + dv * dv);
    const float glowStrength = mood.stars ? 0.35f : 1.0f;
    sky = addColour(
        sky, scaleColour(sun, glowStrength * (0.45f * std::exp(-distance * distance * 30.0f) +
                                              0.18f * std::exp(-distance * 5.0f))));
    if (mood.cloudiness > 0.0f) {
        const float n = fractalNoise(u * 2.2f, v * 9.0f, land.seed + 50, 5);
        const float cloud = smoothStep(0.52f, 0.72f, n) * mood.cloudiness * (1.0f - 0.7f * t);
        const Colour lit = mixColour(hexColour(mood.skyHorizon), hexColour(0xffffff),
                                     0.35f + 0.4f * std::exp(-distance * 3.0f));
        sky = mixColour(sky, mood.stars ? scaleColour(lit, 0.25f) : lit, cloud);
    }
    if (mood.stars) {
        const int cellU = static_cast<int>(std::floor(u * 220.0f));
        const int cellV = static_cast<int>(std::floor(v * 220.0f));
        const float chance = hashUnit(cellU, cellV, land.seed + 7);
        if (chance > 0.975f) {
            const float cu = (cellU + 0.5f) / 220.0f - u;
            const float cv = (cellV + 0.5f) / 220.0f - v;
            const float spot = std::exp(-(cu * cu + cv * cv) * 220.0f * 220.0f * 6.0f);
            sky = addColour(sky, scaleColour(hexColour(0xfff8e8),
                                             spot * (chance - 0.975f) * 40.0f * (1.0f - t)));
        }
    }
    const float disc = smoothStep(mood.sunRadius, mood.sunRadius * 0.9f, distance);
    return mixColour(sky, sun, disc);
}

// The hills and sky, without the lake.
Colour landAt(const Landscape &land, float u, float v) {
    const LandscapeMood &mood = *land.mood;
    for (int layer = land.layers - 1; layer >= 0; layer--) {
        const float ridge = ridgeAt(land, layer, u);
        if (v < ridge) {
            continue;
        }
        const float depth = v - ridge;
        Colour colour = land.layerColours[layer];
        colour = scaleColour(colour, 1.0f - 0.35f * std::fmin(depth * 2.5f, 1.0f));
        const float nearness = layer / float(land.layers - 1);
        if (nearness > 0.4f && mood.roughness > 0.0f) {
            const float texture = fractalNoise(u * 60.0f, v * 60.0f, land.seed + 300 + layer, 3);
            colour = scaleColour(colour, 0.85f + 0.3f * texture * mood.roughness);
        } else if (mood.roughness == 0.0f) {
            const float ripple = 0.5f + 0.5f * std::sin((u * 9.0f + depth * 60.0f) + layer);
            colour = scaleColour(colour, 0.92f + 0.1f * ripple);
        }
        const float rim = std::exp(-depth * 90.0f) * (1.0f - nearness * 0.5f);
        return addColour(colour, scaleColour(hexColour(mood.sun), 0.18f * rim));
    }
    return skyAt(land, u, v);
}

Colour sceneAt(const Landscape &land, float u, float v) {
    if (v < land.waterline) {
        return landAt(land, u, v);
    }
    const float below = v - land.waterline;
    const float wave = std::sin(v * 420.0f / (1.0f + below * 8.0f) + u * 13.0f);
    const float mirrored = land.waterline - below + wave * 0.003f * (1.0f + below * 12.0f);
    Colour colour = landAt(land, u + wave * 0.002f, mirrored);
    colour = mixColour(scaleColour(colour, 0.8f), hexColour(land.mood->water), 0.3f + below);
    const float spread = 0.02f + below * 0.35f;
    const float column = std::exp(-std::pow((u - land.sunU) / spread, 2.0f));
    const float sparkle = smoothStep(0.55f, 0.8f, valueNoise(u * 90.0f, v * 500.0f, land.seed + 9));
    return addColour(colour, scaleColour(hexColour(land.mood->sun), 0.7f * column * sparkle));
}

// Raises a row of pines, each a narrow triangle standing on the ridge, onto a ridge table.
void plantTrees(Landscape &land, int layer, float perUnit, float aspect) {
    std::vector<float> &ridge = land.ridges[layer];
    const std::vector<float> ground = ridge;
    const float columnsPerUnit = land.scale * SAMPLES;
    Random random = {land.seed + 77u * layer};
    const int count = static_cast<int>(perUnit * aspect);
    for (int tree = 0; tree < count; tree++) {
        const float u = randomRange(random, 0.0f, aspect);
        const float height = randomRange(random, 0.04f, 0.11f);
        const float halfWidth = height * randomRange(random, 0.16f, 0.24f);
        const int centre = static_cast<int>(u * columnsPerUnit);
        if (centre < 0 || centre >= static_cast<int>(ground.size())) {
            continue;
        }
        const float top = ground[centre] - height;
        const int first = static_cast<int>((u - halfWidth) * columnsPerUnit);
        const int last = static_cast<int>((u + halfWidth) * columnsPerUnit);
        for (int column = first < 0 ? 0 : first;
             column <= last && column < static_cast<int>(ridge.size()); column++) {
            const float offset = std::fabs((column + 0.5f) / columnsPerUnit - u) / halfWidth;
            // Tiers of branches: the outline steps back in three saw teeth on the way down.
            const float tier = std::fmod(offset * 3.0f, 1.0f);
            const float edge = top + height * (offset * 0.85f + 0.15f * tier * offset);
            ridge[column] = std::fmin(ridge[column], edge);
        }
    }
}

} // namespace

void paintLandscape(Picture &picture, int variant) {
    Landscape land;
    land.mood = &moods[variant % MOOD_COUNT];
    land.seed = 1000u + variant * 7919u;
    Random random = {land.seed};
    const bool lake = variant % 3 == 2 && land.mood->roughness > 0.0f;
    land.scale = static_cast<float>(picture.height);
    land.horizon = randomRange(random, 0.55f, 0.62f);
    land.waterline = lake ? land.horizon + 0.14f : 2.0f;
    const float aspect = picture.width / land.scale;
    land.sunU = aspect * randomRange(random, 0.2f, 0.8f);
    land.layers = lake ? 3 : LAYER_COUNT;

    const LandscapeMood &mood = *land.mood;
    const int columns = picture.width * SAMPLES;
    for (int layer = 0; layer < land.layers; layer++) {
        const float nearness = layer / float(land.layers - 1);
        const float base = land.horizon - 0.12f + (lake ? 0.06f : 0.09f) * layer;
        const float amplitude = (0.16f - 0.02f * layer) * (0.6f + 0.4f * mood.roughness);
        const float frequency = 1.1f + 0.8f * layer;
        const int octaves = mood.roughness > 0.0f ? 5 : 2;
        land.ridges[layer].resize(columns);
        for (int column = 0; column < columns; column++) {
            const float u = (column + 0.5f) / (land.scale * SAMPLES);
            const float n = fractalNoise(u * frequency, layer * 3.7f, land.seed + layer, octaves);
            land.ridges[layer][column] = base - amplitude * (n - 0.35f) * 2.0f;
        }
        const Colour colour =
            mixColour(hexColour(mood.hillFar), hexColour(mood.hillNear), nearness);
        land.layerColours[layer] =
            mixColour(colour, hexColour(mood.skyHorizon), (1.0f - nearness) * 0.5f);
    }
    if (mood.trees > 0.0f) {
        plantTrees(land, land.layers - 1, mood.trees, aspect);
        plantTrees(land, land.layers - 2, mood.trees * 0.6f, aspect);
    }
    // The sun stands just above (or, low, partly behind) the farthest hills.
    land.sunV = ridgeAt(land, 0, land.sunU) - mood.sunHeight;
    const float scale = land.scale;
    renderPicture(picture, SAMPLES,
                  [&](float x, float y) { return sceneAt(land, x / scale, y / scale); });
}
