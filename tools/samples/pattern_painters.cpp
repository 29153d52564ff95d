// pattern_painters.cpp -- plasma, wave interference, stripes, warped checkers, rosettes, bokeh.
#include "samples/painters.h"

#include <cmath>

namespace {

const float TWO_PI = 6.28318530718f;

const Gradient &gradientFor(int variant, const int *choices, int count) {
    return namedGradient(choices[variant % count]);
}

float vignette(float px, float py) {
    return 1.0f - 0.35f * (px * px + py * py);
}

} // namespace

void paintPlasma(Picture &picture, int variant) {
    static const int choices[] = {GRADIENT_NEON,  GRADIENT_CANDY, GRADIENT_OCEAN,
                                  GRADIENT_ROYAL, GRADIENT_MINT,  GRADIENT_FIRE};
    const Gradient &gradient = gradientFor(variant, choices, 6);
    Random random = {2000u + variant * 31u};
    float frequency[5];
    float phase[5];
    for (int i = 0; i < 5; i++) {
        frequency[i] = randomRange(random, 4.0f, 12.0f);
        phase[i] = randomRange(random, 0.0f, TWO_PI);
    }
    const float cx = randomRange(random, -0.3f, 0.3f);
    const float cy = randomRange(random, -0.3f, 0.3f);
    const Frame frame = frameOf(picture);
    renderPicture(picture, 1, [&](float x, float y) {
        const float px = (x - frame.centreX) * frame.unit;
        const float py = (y - frame.centreY) * frame.unit;
        const float radius = std::sqrt((px - cx) * (px - cx) + (py - cy) * (py - cy));
        const float sum = std::sin(px * frequency[0] + phase[0]) +
                          std::sin(py * frequency[1] + phase[1]) +
                          std::sin(px * frequency[2] + py * frequency[3] + phase[2]) +
                          std::sin(radius * frequency[4] * 1.5f + phase[4]);
        return gradientCycle(gradient, sum * 0.2f + 0.5f);
    });
}

void paintInterference(Picture &picture, int variant) {
    static const int choices[] = {GRADIENT_OCEAN, GRADIENT_ICE, GRADIENT_SEPIA, GRADIENT_ROYAL};
    const Gradient &gradient = gradientFor(variant, choices, 4);
    Random random = {3000u + variant * 17u};
    const int sourceCount = 2 + variant % 3;
    float sourceX[4];
    float sourceY[4];
    for (int i = 0; i < sourceCount; i++) {
        sourceX[i] = randomRange(random, -0.7f, 0.7f);
        sourceY[i] = randomRange(random, -0.5f, 0.5f);
    }
    const float wavenumber = randomRange(random, 45.0f, 80.0f);
    const Frame frame = frameOf(picture);
    renderPicture(picture, 2, [&](float x, float y) {
        const float px = (x - frame.centreX) * frame.unit;
        const float py = (y - frame.centreY) * frame.unit;
        float sum = 0.0f;
        for (int i = 0; i < sourceCount; i++) {
            const float dx = px - sourceX[i];
            const float dy = py - sourceY[i];
            sum += std::cos(std::sqrt(dx * dx + dy * dy) * wavenumber);
        }
        const float level = 0.5f + 0.5f * sum / sourceCount;
        return scaleColour(gradientAt(gradient, 0.1f + 0.85f * level), vignette(px, py));
    });
}

void paintStripes(Picture &picture, int variant) {
    static const int choices[] = {GRADIENT_CANDY, GRADIENT_AUTUMN, GRADIENT_RAINBOW, GRADIENT_MINT,
                                  GRADIENT_SUNSET};
    const Gradient &gradient = gradientFor(variant, choices, 5);
    Random random = {4000u + variant * 13u};
    const float angle = randomRange(random, 0.2f, 1.2f);
    const float period = randomRange(random, 0.05f, 0.1f);
    const float amplitude = randomRange(random, 0.02f, 0.07f);
    const float waveFrequency = randomRange(random, 5.0f, 11.0f);
    const uint32_t seed = 4000u + variant;
    const Frame frame = frameOf(picture);
    renderPicture(picture, 2, [&](float x, float y) {
        const float px = (x - frame.centreX) * frame.unit;
        const float py = (y - frame.centreY) * frame.unit;
        const float along = px * std::cos(angle) + py * std::sin(angle);
        const float across = -px * std::sin(angle) + py * std::cos(angle);
        const float warped = along + amplitude * std::sin(across * waveFrequency);
        const float position = warped / period;
        const int index = static_cast<int>(std::floor(position));
        const float within = position - index;
        Colour colour = gradientAt(gradient, hashUnit(index, 0, seed));
        colour = scaleColour(colour, 0.82f + 0.18f * std::sin(within * 3.14159f));
        if (within < 0.08f) {
            colour = mixColour(colour, hexColour(0xffffff), 0.35f);
        }
        return colour;
    });
}

void paintCheckerWaves(Picture &picture, int variant) {
    static const int choices[] = {GRADIENT_ROYAL, GRADIENT_OCEAN, GRADIENT_FIRE, GRADIENT_FOREST};
    const Gradient &gradient = gradientFor(variant, choices, 4);
    Random random = {5000u + variant * 7u};
    const float size = randomRange(random, 0.06f, 0.1f);
    const float phaseX = randomRange(random, 0.0f, TWO_PI);
    const float phaseY = randomRange(random, 0.0f, TWO_PI);
    const Colour light = gradientAt(gradient, 0.85f);
    const Colour dark = gradientAt(gradient, 0.25f);
    const Frame frame = frameOf(picture);
    renderPicture(picture, 2, [&](float x, float y) {
        const float px = (x - frame.centreX) * frame.unit;
        const float py = (y - frame.centreY) * frame.unit;
        const float qx = px + 0.05f * std::sin(py * 9.0f + phaseX);
        const float qy = py + 0.05f * std::sin(px * 7.0f + phaseY);
        const int cell = static_cast<int>(std::floor(qx / size) + std::floor(qy / size));
        const Colour colour = (cell & 1) ? light : dark;
        return scaleColour(colour, vignette(px, py) + 0.1f * std::sin((qx + qy) * 6.0f));
    });
}

void paintRosette(Picture &picture, int variant) {
    static const int choices[] = {GRADIENT_RAINBOW, GRADIENT_SUNSET, GRADIENT_MINT, GRADIENT_ROYAL,
                                  GRADIENT_AUTUMN};
    const Gradient &gradient = gradientFor(variant, choices, 5);
    Random random = {6000u + variant * 23u};
    const int ringCount = 4 + variant % 3;
    int petals[6];
    float twist[6];
    for (int ring = 0; ring < ringCount; ring++) {
        petals[ring] = 6 + 2 * static_cast<int>(randomRange(random, 0.0f, 6.0f));
        twist[ring] = randomRange(random, 0.0f, TWO_PI);
    }
    const Colour background = scaleColour(gradient.stops[0], 0.25f);
    const Frame frame = frameOf(picture);
    renderPicture(picture, 2, [&](float x, float y) {
        const float px = (x - frame.centreX) * frame.unit;
        const float py = (y - frame.centreY) * frame.unit;
        const float radius = std::sqrt(px * px + py * py) / 0.47f;
        const float angle = std::atan2(py, px);
        Colour colour = scaleColour(background, 1.6f - radius);
        for (int ring = 0; ring < ringCount; ring++) {
            const float outer = 1.0f - ring * (0.8f / ringCount);
            const float wave =
                std::pow(std::fabs(std::cos(petals[ring] * angle * 0.5f + twist[ring])), 1.5f);
            const float edge = outer * (0.72f + 0.28f * wave);
            if (radius < edge) {
                const float t = (ring + radius / edge) / ringCount;
                colour = gradientCycle(gradient, t * 0.9f + 0.05f);
                colour = scaleColour(colour, 0.7f + 0.3f * (radius / edge));
                if (edge - radius < 0.012f) {
                    colour = scaleColour(colour, 0.35f);
                }
            }
        }
        if (radius < 0.06f) {
            colour =
                mixColour(gradientAt(gradient, 0.95f), hexColour(0xffffff), 1.0f - radius / 0.06f);
        }
        return colour;
    });
}

void paintBokeh(Picture &picture, int variant) {
    static const int choices[] = {GRADIENT_SUNSET, GRADIENT_NEON, GRADIENT_OCEAN, GRADIENT_AUTUMN};
    const Gradient &gradient = gradientFor(variant, choices, 4);
    Random random = {7000u + variant * 19u};
    const int circleCount = 55;
    struct Circle {
        float x, y, radius, alpha;
        Colour colour;
    } circles[circleCount];
    const Frame frame = frameOf(picture);
    const float halfWidth = picture.width * 0.5f * frame.unit;
    const float halfHeight = picture.height * 0.5f * frame.unit;
    for (Circle &circle : circles) {
        circle.x = randomRange(random, -halfWidth, halfWidth);
        circle.y = randomRange(random, -halfHeight, halfHeight);
        circle.radius = randomRange(random, 0.02f, 0.11f);
        circle.alpha = randomRange(random, 0.12f, 0.4f);
        circle.colour = gradientAt(gradient, randomRange(random, 0.45f, 1.0f));
    }
    renderPicture(picture, 2, [&](float x, float y) {
        const float px = (x - frame.centreX) * frame.unit;
        const float py = (y - frame.centreY) * frame.unit;
        Colour colour = scaleColour(
            gradientAt(gradient, 0.15f + 0.25f * (py / halfHeight * 0.5f + 0.5f)), 0.6f);
        for (const Circle &circle : circles) {
            const float dx = px - circle.x;
            const float dy = py - circle.y;
            const float distance = std::sqrt(dx * dx + dy * dy);
            if (distance < circle.radius) {
                const float cover = smoothStep(circle.radius, circle.radius * 0.9f, distance);
                const float rim =
                    1.0f + 0.5f * smoothStep(circle.radius * 0.75f, circle.radius, distance);
                colour = mixColour(colour, scaleColour(circle.colour, rim), circle.alpha * cover);
            }
        }
        return colour;
    });
}
