// door.cpp -- the riveted iron door under a segmental stone arch, with transparent sides.
#include <algorithm>
#include <cmath>

#include "artwork/artwork.h"

namespace {
constexpr int SIZE = 512;
constexpr int BAND_LEFT = 81;   // first opaque column
constexpr int BAND_RIGHT = 422; // last opaque column
constexpr float OPENING_LEFT = 125.0f;
constexpr float OPENING_RIGHT = 379.0f;
constexpr float ARCH_X = 252.0f; // centre of the arch circle
constexpr float ARCH_Y = 270.0f;
constexpr float ARCH_INNER = 200.0f;
constexpr float ARCH_OUTER = 250.0f;
constexpr int VOUSSOIRS = 9;

constexpr int TRANSPARENT = -2;
constexpr int OPENING = -1;

float smoothStep(float edge0, float edge1, float x) {
    float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// Which part of the picture a pixel belongs to: a stone's id (0 or more), the opening that
// the iron door fills, or the transparent sides.
int partAt(int x, int y) {
    if (x < BAND_LEFT || x > BAND_RIGHT)
        return TRANSPARENT;
    float px = x + 0.5f;
    float py = y + 0.5f;
    float dx = px - ARCH_X;
    float dy = ARCH_Y - py;
    float r = std::sqrt(dx * dx + dy * dy);
    if (px >= OPENING_LEFT && px <= OPENING_RIGHT && (dy <= 0.0f || r <= ARCH_INNER))
        return OPENING;
    const float springing = std::asin((OPENING_RIGHT - ARCH_X) / ARCH_INNER);
    float angle = std::atan2(dx, dy);
    int side = dx < 0.0f ? 0 : 1;
    if (dy > 0.0f && std::fabs(angle) <= springing) {
        int k = std::clamp(static_cast<int>((angle + springing) / (2 * springing) * VOUSSOIRS), 0,
                           VOUSSOIRS - 1);
        bool keystone = k == VOUSSOIRS / 2;
        if (r <= ARCH_OUTER || (keystone && r <= ARCH_OUTER + 40.0f))
            return 100 + k;
        // The spandrels above the arch: two stones a side.
        return 200 + side * 2 + (py < 46.0f ? 0 : 1);
    }
    // The jambs: courses of quoins down to a plinth.
    static const float courseTops[] = {0.0f, 168.0f, 236.0f, 312.0f, 380.0f, 452.0f};
    int course = 0;
    for (int c = 0; c < 6; ++c)
        if (py >= courseTops[c] + (side ? 10.0f : 0.0f))
            course = c;
    return 300 + side * 10 + course;
}

struct Rivet {
    float x, y, radius;
};

std::vector<Rivet> doorRivets() {
    std::vector<Rivet> rivets;
    // Along the straps.
    for (float y : {186.0f, 318.0f, 450.0f})
        for (float x = OPENING_LEFT + 30.0f; x < OPENING_RIGHT - 25.0f; x += 24.5f)
            rivets.push_back({x, y, 4.5f});
    // Along the border band, up the sides and round the arch.
    for (float y = 300.0f; y < SIZE - 10.0f; y += 32.0f) {
        rivets.push_back({OPENING_LEFT + 9.0f, y, 4.5f});
        rivets.push_back({OPENING_RIGHT - 9.0f, y, 4.5f});
    }
    rivets.push_back({OPENING_LEFT + 9.0f, 268.0f, 4.5f});
    rivets.push_back({OPENING_RIGHT - 9.0f, 268.0f, 4.5f});
    const float springing = std::asin((OPENING_RIGHT - ARCH_X) / ARCH_INNER);
    for (int k = 0; k <= 8; ++k) {
        float a = -springing + 0.06f + (2 * springing - 0.12f) * k / 8.0f;
        rivets.push_back({ARCH_X + (ARCH_INNER - 9.0f) * std::sin(a),
                          ARCH_Y - (ARCH_INNER - 9.0f) * std::cos(a), 4.5f});
    }
    return rivets;
}

float ringHandle(float px, float py, float *albedoShift) {
    const float hx = 344.0f, hy = 362.0f;
    float height = 0.0f;
    // Small round plate holding the staple the ring hangs from.
    float plate = std::hypot(px - hx, py - (hy - 18.0f));
    if (plate < 9.0f)
        height = std::max(height, 2.4f * smoothStep(9.0f, 7.0f, plate));
    // The pull ring hanging from it: a torus seen from the front.
    float ring = std::hypot(px - hx, py - hy);
    float tube = std::fabs(ring - 15.0f);
    if (tube < 3.8f) {
        height = std::max(height, 3.0f + 2.2f * std::sqrt(1.0f - (tube / 3.8f) * (tube / 3.8f)));
        *albedoShift = 0.04f;
    }
    // Keyhole below.
    float kx = px - hx, ky = py - (hy + 36.0f);
    if (std::hypot(kx, ky) < 3.5f || (std::fabs(kx) < 1.8f && ky > 0.0f && ky < 9.0f)) {
        height = -1.5f;
        *albedoShift = -0.2f;
    }
    return height;
}
} // namespace

Canvas paintDoor() {
    std::vector<int> parts(static_cast<size_t>(SIZE) * SIZE);
    for (int y = 0; y < SIZE; ++y)
        for (int x = 0; x < SIZE; ++x)
            parts[y * SIZE + x] = partAt(x, y);
    auto part = [&](int x, int y) {
        return parts[std::clamp(y, 0, SIZE - 1) * SIZE + std::clamp(x, 0, SIZE - 1)];
    };

    // Joints lie where two stones meet; stones end at the joints, the opening and the sides.
    Field stoneEdges = makeField(SIZE, SIZE);
    Field openingEdges = makeField(SIZE, SIZE);
    for (int y = 0; y < SIZE; ++y) {
        for (int x = 0; x < SIZE; ++x) {
            int here = part(x, y);
            if (here < 0) {
                stoneEdges.at(x, y) = 1.0f;
                continue;
            }
            openingEdges.at(x, y) = 1.0f;
            for (int d = -2; d <= 2; ++d) {
                int other1 = part(x + d, y);
                int other2 = part(x, y + d);
                if ((other1 >= 0 && other1 != here) || (other2 >= 0 && other2 != here))
                    stoneEdges.at(x, y) = 1.0f;
            }
        }
    }
    Field toStoneEdge = distanceTo(stoneEdges, false);
    Field toOpeningEdge = distanceTo(openingEdges, false);
    std::vector<Rivet> rivets = doorRivets();

    Field height = makeField(SIZE, SIZE);
    Canvas albedo = makeCanvas(SIZE, SIZE);
    std::vector<bool> iron(static_cast<size_t>(SIZE) * SIZE, false);
    const Colour stone = {0.80f, 0.77f, 0.70f};
    const Colour mortar = {0.56f, 0.54f, 0.49f};
    const Colour ironColour = {0.30f, 0.31f, 0.34f};
    const Colour rust = {0.38f, 0.24f, 0.15f};
    for (int y = 0; y < SIZE; ++y) {
        for (int x = 0; x < SIZE; ++x) {
            size_t i = static_cast<size_t>(y) * SIZE + x;
            int here = parts[i];
            float grain = fractalNoise(x, y, SIZE, SIZE, 16, 16, 4, 71);
            float fine = fractalNoise(x, y, SIZE, SIZE, 128, 128, 2, 72);
            if (here == TRANSPARENT) {
                height.at(x, y) = 7.0f;
                albedo.alpha[i] = 0.0f;
                continue;
            }
            if (here >= 0) {
                float d = toStoneEdge.at(x, y);
                if (d <= 0.0f) {
                    height.at(x, y) = 5.0f + 0.3f * fine;
                    albedo.colour[i] = mortar * (0.9f + 0.2f * hashUnit(x, y, 73));
                    continue;
                }
                float edge = smoothStep(0.0f, 5.0f, d);
                height.at(x, y) = 6.0f + (3.0f + 0.9f * grain + 0.3f * fine) * edge;
                float tone = 1.0f + 0.10f * (hashUnit(here, 1, 74) - 0.5f);
                float speck = hashUnit(x, y, 75) > 0.99f ? -0.1f : 0.0f;
                float grime = 0.10f * (1.0f - smoothStep(0.0f, 7.0f, d));
                albedo.colour[i] = stone * (tone + 0.06f * grain + 0.04f * fine + speck - grime);
                continue;
            }
            // The iron door.
            iron[i] = true;
            float px = x + 0.5f, py = y + 0.5f;
            float fromEdge = toOpeningEdge.at(x, y);
            float h = 0.25f * fine + 0.15f * grain;
            float raised = 0.0f;
            // Border band round the door's edge.
            if (fromEdge < 19.0f)
                raised = smoothStep(19.0f, 16.5f, fromEdge);
            // Three horizontal straps.
            for (float strapY : {186.0f, 318.0f, 450.0f})
                raised = std::max(raised, smoothStep(12.5f, 10.0f, std::fabs(py - strapY)));
            h += 1.8f * raised;
            // Seams between the door's plates.
            for (float seamX : {189.0f, 315.0f})
                if (std::fabs(px - seamX) < 1.5f && raised < 0.5f)
                    h -= 0.8f;
            float shift = 0.0f;
            for (const Rivet &rivet : rivets) {
                float rd = std::hypot(px - rivet.x, py - rivet.y);
                if (rd < rivet.radius) {
                    float q = rd / rivet.radius;
                    h = std::max(h, 1.8f + 2.6f * std::sqrt(1.0f - q * q));
                    shift = 0.05f;
                }
            }
            float handle = ringHandle(px, py, &shift);
            if (handle != 0.0f)
                h = handle < 0.0f ? handle : std::max(h, 1.8f * raised + handle);
            height.at(x, y) = h;
            float patina = fractalNoise(x, y, SIZE, SIZE, 8, 8, 4, 76);
            Colour metal = ironColour * (1.0f + 0.12f * grain + 0.08f * fine - 0.1f * raised);
            metal = mix(metal, rust, std::clamp((patina - 0.35f) * 0.9f, 0.0f, 0.35f));
            albedo.colour[i] = metal + Colour{shift, shift, shift};
        }
    }

    Finish stoneFinish;
    stoneFinish.ambient = 0.45f;
    stoneFinish.shadow = 0.6f;
    Finish ironFinish;
    ironFinish.ambient = 0.4f;
    ironFinish.shadow = 0.6f;
    ironFinish.specular = 0.35f;
    ironFinish.shininess = 30.0f;
    ironFinish.highlight = {0.85f, 0.87f, 0.9f};
    Field smooth = blur(height, 1, false);
    Canvas stoneLit = makeCanvas(SIZE, SIZE);
    Canvas ironLit = makeCanvas(SIZE, SIZE);
    shadeRelief(stoneLit, smooth, albedo, stoneFinish, false);
    shadeRelief(ironLit, smooth, albedo, ironFinish, false);
    Canvas canvas = makeCanvas(SIZE, SIZE);
    for (size_t i = 0; i < canvas.colour.size(); ++i) {
        canvas.colour[i] = iron[i] ? ironLit.colour[i] : stoneLit.colour[i];
        canvas.alpha[i] = albedo.alpha[i];
    }
    // Transparent texels take the colour of the nearest opaque column, so filtering at the
    // door's sides never bleeds a dark fringe into it.
    for (int y = 0; y < SIZE; ++y) {
        for (int x = 0; x < SIZE; ++x) {
            int source = x < BAND_LEFT ? BAND_LEFT : (x > BAND_RIGHT ? BAND_RIGHT : x);
            canvas.colour[y * SIZE + x] = canvas.colour[y * SIZE + source];
        }
    }
    return canvas;
}
