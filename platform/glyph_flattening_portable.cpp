// glyph_flattening_portable.cpp -- curves split into chords uniformly, as few as keep every chord
// within 1/512 em of its curve; repeated points and contours without area dropped.
#include "platform/glyph_flattening.h"

#include <cmath>

namespace {

// Curves are flattened until no chord strays more than this from the curve.
constexpr double FLATTEN_TOLERANCE_EM = 1.0 / 512.0;
constexpr int FLATTEN_MAX_SEGMENTS = 64;

int segmentsFor(double deviation, double factor, double tolerance) {
    int n = static_cast<int>(std::ceil(std::sqrt(deviation * factor / tolerance)));
    return n < 1 ? 1 : (n > FLATTEN_MAX_SEGMENTS ? FLATTEN_MAX_SEGMENTS : n);
}

} // namespace

OutlineFlattener::OutlineFlattener(GlyphOutline *outline, double unitsPerEm)
    : outline(outline), scale(1.0 / unitsPerEm), tolerance(FLATTEN_TOLERANCE_EM * unitsPerEm) {}

bool OutlineFlattener::moveTo(double x, double y) {
    closeContour();
    return !overflow && lineTo(x, y);
}

bool OutlineFlattener::lineTo(double x, double y) {
    penX = x;
    penY = y;
    float ex = static_cast<float>(x * scale);
    float ey = static_cast<float>(y * scale);
    int start = outline->contourCount > 0 ? outline->contourEnds[outline->contourCount - 1] : 0;
    if (outline->pointCount > start) {
        const float *last = outline->points[outline->pointCount - 1];
        if (last[0] == ex && last[1] == ey)
            return true; // a repeated point is a zero-length edge
    }
    if (outline->pointCount >= GLYPH_MAX_POINTS) {
        overflow = true;
        return false;
    }
    outline->points[outline->pointCount][0] = ex;
    outline->points[outline->pointCount][1] = ey;
    outline->pointCount++;
    return true;
}

bool OutlineFlattener::conicTo(double controlX, double controlY, double x, double y) {
    double x0 = penX, y0 = penY;
    // A uniform split into n chords strays at most |P0 - 2P1 + P2| / (4 n^2).
    double deviation = std::hypot(x0 - 2.0 * controlX + x, y0 - 2.0 * controlY + y);
    int n = segmentsFor(deviation, 0.25, tolerance);
    for (int i = 1; i <= n; i++) {
        double t = static_cast<double>(i) / n, s = 1.0 - t;
        if (!lineTo(s * s * x0 + 2.0 * s * t * controlX + t * t * x,
                    s * s * y0 + 2.0 * s * t * controlY + t * t * y))
            return false;
    }
    return true;
}

bool OutlineFlattener::cubicTo(double control1X, double control1Y, double control2X,
                               double control2Y, double x, double y) {
    double x0 = penX, y0 = penY;
    // The second derivative is bounded by 6 times the larger second difference; a uniform
    // split into n chords strays at most that over 8 n^2.
    double d1 = std::hypot(x0 - 2.0 * control1X + control2X, y0 - 2.0 * control1Y + control2Y);
    double d2 = std::hypot(control1X - 2.0 * control2X + x, control1Y - 2.0 * control2Y + y);
    int n = segmentsFor(d1 > d2 ? d1 : d2, 0.75, tolerance);
    for (int i = 1; i <= n; i++) {
        double t = static_cast<double>(i) / n, s = 1.0 - t;
        double a = s * s * s, b = 3.0 * s * s * t, c = 3.0 * s * t * t, d = t * t * t;
        if (!lineTo(a * x0 + b * control1X + c * control2X + d * x,
                    a * y0 + b * control1Y + c * control2Y + d * y))
            return false;
    }
    return true;
}

bool OutlineFlattener::finish() {
    closeContour();
    return !overflow;
}

// Ends the open contour; drops a closing point that repeats the first.
void OutlineFlattener::closeContour() {
    int start = outline->contourCount > 0 ? outline->contourEnds[outline->contourCount - 1] : 0;
    int count = outline->pointCount - start;
    if (count > 1 && outline->points[start][0] == outline->points[outline->pointCount - 1][0] &&
        outline->points[start][1] == outline->points[outline->pointCount - 1][1]) {
        outline->pointCount--;
        count--;
    }
    if (count < 3) { // no area: nothing to fill
        outline->pointCount = start;
        return;
    }
    if (outline->contourCount >= GLYPH_MAX_CONTOURS) {
        overflow = true;
        return;
    }
    outline->contourEnds[outline->contourCount++] = outline->pointCount;
}
