// masonry.cpp -- the seamless room surfaces: stone wall, paved floor and plastered ceiling.
#include <algorithm>
#include <cmath>

#include "artwork/artwork.h"

namespace {
float smoothStep(float edge0, float edge1, float x) {
    float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// One course (row) of a bond: its height, where it starts, and its block widths, laid from a
// horizontal offset so that blocks may run across the right edge and return on the left.
struct Course {
    int top;
    int height;
    int offset;
    std::vector<int> widths;
};

std::vector<int> blockWidths(int total, int minWidth, int maxWidth, int seed) {
    std::vector<int> widths;
    int left = total;
    for (int k = 0; left > 0; ++k) {
        if (left <= maxWidth) {
            widths.push_back(left);
            break;
        }
        int most = std::min(maxWidth, left - minWidth);
        int width = minWidth + static_cast<int>(hashUnit(seed, k, 11) * (most - minWidth + 1));
        widths.push_back(width);
        left -= width;
    }
    return widths;
}

std::vector<int> jointPositions(const Course &course, int size) {
    std::vector<int> joints;
    int x = -course.offset;
    for (int width : course.widths) {
        joints.push_back(((x % size) + size) % size);
        x += width;
    }
    return joints;
}

// Courses whose vertical joints stay clear of the joints of the course above and below.
std::vector<Course> layBond(const std::vector<int> &heights, int size, int minWidth, int maxWidth,
                            int minStagger, int seed) {
    std::vector<Course> courses;
    int top = 0;
    for (size_t c = 0; c < heights.size(); ++c) {
        for (int attempt = 0;; ++attempt) {
            int courseSeed = seed * 1000 + static_cast<int>(c) * 37 + attempt;
            Course course{top, heights[c], static_cast<int>(hashUnit(courseSeed, 5, 3) * size),
                          blockWidths(size, minWidth, maxWidth, courseSeed)};
            bool clear = true;
            auto tooClose = [&](const Course &other) {
                for (int a : jointPositions(course, size))
                    for (int b : jointPositions(other, size)) {
                        int d = std::abs(a - b);
                        if (std::min(d, size - d) < minStagger)
                            return true;
                    }
                return false;
            };
            if (c > 0 && tooClose(courses.back()))
                clear = false;
            if (c + 1 == heights.size() && tooClose(courses.front()))
                clear = false;
            if (clear || attempt > 500) {
                courses.push_back(course);
                break;
            }
        }
        top += heights[c];
    }
    return courses;
}

// Where pixel (x, y) lies in the bond: its block and its distances to the block's four sides.
struct BondCell {
    int course;
    int block;
    float toJointX;    // distance to the nearer vertical joint
    float toJointY;    // distance to the nearer horizontal joint
    float fromMiddleX; // signed distance from the block's centre
    float fromMiddleY;
};

BondCell locate(const std::vector<Course> &courses, int size, int x, int y) {
    BondCell cell{0, 0, 0, 0, 0, 0};
    for (size_t c = 0; c < courses.size(); ++c) {
        const Course &course = courses[c];
        if (y >= course.top && y < course.top + course.height) {
            cell.course = static_cast<int>(c);
            float ly = y + 0.5f - course.top;
            cell.toJointY = std::min(ly, course.height - ly);
            cell.fromMiddleY = ly - 0.5f * course.height;
            int xx = (x + course.offset) % size;
            int start = 0;
            for (size_t b = 0; b < course.widths.size(); ++b) {
                int end = start + course.widths[b];
                if (xx < end) {
                    cell.block = static_cast<int>(b);
                    float lx = xx + 0.5f - start;
                    cell.toJointX = std::min(lx, end - start - lx);
                    cell.fromMiddleX = lx - 0.5f * (end - start);
                    break;
                }
                start = end;
            }
        }
    }
    return cell;
}

struct Paving {
    std::vector<int> courseHeights;
    int minWidth, maxWidth, minStagger, seed;
    float joint;       // half width of the joints
    float jointJitter; // how much the joint width wanders
    float edgeJitter;  // how far the stone edges wander
    float bevel;       // width of the rounded stone edges
    float rise;        // height of a stone above its joints
    float roughness;   // height of the surface grain
    Colour stone;      // average stone colour
    Colour stoneAlt;   // the colour some stones lean towards
    float toneSpread;  // brightness spread between stones
    Colour mortar;
    Finish finish;
};

Canvas paintPaving(const Paving &p) {
    const int size = 256;
    std::vector<Course> courses =
        layBond(p.courseHeights, size, p.minWidth, p.maxWidth, p.minStagger, p.seed);
    Field joints = makeField(size, size);
    std::vector<BondCell> cells;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            BondCell cell = locate(courses, size, x, y);
            cells.push_back(cell);
            float wander = p.edgeJitter * fractalNoise(x, y, size, size, 16, 16, 3, p.seed + 1);
            float width =
                p.joint + p.jointJitter * fractalNoise(x, y, size, size, 8, 8, 2, p.seed + 2);
            if (std::min(cell.toJointX, cell.toJointY) + wander < width)
                joints.at(x, y) = 1.0f;
        }
    }
    Field inside = distanceTo(joints, true);
    Field height = makeField(size, size);
    Canvas albedo = makeCanvas(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const BondCell &cell = cells[y * size + x];
            size_t i = static_cast<size_t>(y) * size + x;
            int id = cell.course * 64 + cell.block;
            float grain = fractalNoise(x, y, size, size, 16, 16, 4, p.seed + 3);
            float fine = fractalNoise(x, y, size, size, 64, 64, 2, p.seed + 4);
            float d = inside.at(x, y);
            if (d <= 0.0f) {
                float sand = hashUnit(x, y, p.seed + 5);
                height.at(x, y) = 0.3f * fine;
                albedo.colour[i] = p.mortar * (0.85f + 0.25f * sand + 0.1f * grain);
                continue;
            }
            float edge = smoothStep(0.0f, p.bevel, d);
            // Each stone leans a little, so neighbours catch the light differently.
            float tiltX = (hashUnit(id, 1, p.seed) - 0.5f) * 0.04f;
            float tiltY = (hashUnit(id, 2, p.seed) - 0.5f) * 0.04f;
            height.at(x, y) = (p.rise + p.roughness * (grain + 0.5f * fine) +
                               tiltX * cell.fromMiddleX + tiltY * cell.fromMiddleY) *
                              edge;
            float tone = 1.0f + p.toneSpread * (hashUnit(id, 3, p.seed) - 0.5f) * 2.0f;
            Colour base = mix(p.stone, p.stoneAlt, hashUnit(id, 4, p.seed));
            float speckle = hashUnit(x, y, p.seed + 6);
            float spot = speckle > 0.985f ? -0.12f : (speckle < 0.01f ? 0.08f : 0.0f);
            float grime = 0.12f * (1.0f - smoothStep(0.0f, p.bevel * 1.5f, d));
            albedo.colour[i] = base * (tone + 0.07f * grain + 0.05f * fine + spot - grime);
        }
    }
    Canvas canvas = makeCanvas(size, size);
    shadeRelief(canvas, blur(height, 1, true), albedo, p.finish, true);
    return canvas;
}
} // namespace

Canvas paintWall() {
    Paving p;
    p.courseHeights = {40, 48, 36, 44, 40, 48};
    p.minWidth = 36;
    p.maxWidth = 112;
    p.minStagger = 16;
    p.seed = 17;
    p.joint = 2.2f;
    p.jointJitter = 0.8f;
    p.edgeJitter = 2.4f;
    p.bevel = 9.0f;
    p.rise = 4.5f;
    p.roughness = 2.0f;
    p.stone = {0.55f, 0.55f, 0.55f};
    p.stoneAlt = {0.53f, 0.52f, 0.50f};
    p.toneSpread = 0.14f;
    p.mortar = {0.31f, 0.30f, 0.28f};
    p.finish.ambient = 0.40f;
    p.finish.shadow = 0.55f;
    return paintPaving(p);
}

Canvas paintFloor() {
    Paving p;
    p.courseHeights = {72, 56, 72, 56};
    p.minWidth = 64;
    p.maxWidth = 136;
    p.minStagger = 20;
    p.seed = 29;
    p.joint = 1.3f;
    p.jointJitter = 0.3f;
    p.edgeJitter = 0.6f;
    p.bevel = 4.0f;
    p.rise = 2.0f;
    p.roughness = 0.6f;
    p.stone = {0.66f, 0.62f, 0.54f};
    p.stoneAlt = {0.60f, 0.59f, 0.56f};
    p.toneSpread = 0.08f;
    p.mortar = {0.33f, 0.31f, 0.27f};
    p.finish.ambient = 0.5f;
    p.finish.shadow = 0.45f;
    return paintPaving(p);
}

Canvas paintCeiling() {
    const int size = 256;
    Field height = makeField(size, size);
    Canvas albedo = makeCanvas(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            float broad = fractalNoise(x, y, size, size, 4, 4, 3, 41);
            float lumps = fractalNoise(x, y, size, size, 16, 16, 3, 42);
            float grit = fractalNoise(x, y, size, size, 64, 64, 2, 43);
            // Trowelled patches: flattened tops where the plaster was smoothed over.
            float swirl = fractalNoise(x, y, size, size, 8, 8, 2, 44);
            float trowel = std::max(0.0f, swirl) * 1.6f;
            height.at(x, y) = 1.2f * lumps + 0.45f * grit + trowel;
            float pit = hashUnit(x, y, 45) > 0.992f ? -0.08f : 0.0f;
            Colour plaster = {0.79f, 0.82f, 0.75f};
            Colour shade = {0.74f, 0.78f, 0.72f};
            albedo.colour[y * size + x] =
                mix(plaster, shade, 0.5f + 0.5f * broad) * (1.0f + 0.03f * grit + pit);
        }
    }
    Canvas canvas = makeCanvas(size, size);
    Finish finish;
    finish.ambient = 0.6f;
    finish.relief = 0.9f;
    finish.shadow = 0.25f;
    shadeRelief(canvas, height, albedo, finish, true);
    return canvas;
}
