// glyph_flattening_test.cpp -- curves become chords that stay within 1/512 em of them, contours
// close without repeated points, contours without area go, and an outline too large is refused.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "platform/glyph_flattening.h"

namespace {

const double UNITS_PER_EM = 2048.0;
const double TOLERANCE_EM = 1.0 / 512.0;

// The cubic from (0, 0) through controls (c1) and (c2) to (p3) at t.
void cubicAt(const double c[8], double t, double *x, double *y) {
    double s = 1.0 - t;
    *x = s * s * s * c[0] + 3 * s * s * t * c[2] + 3 * s * t * t * c[4] + t * t * t * c[6];
    *y = s * s * s * c[1] + 3 * s * s * t * c[3] + 3 * s * t * t * c[5] + t * t * t * c[7];
}

} // namespace

TEST(GlyphFlattening, CurvesBecomeChordsWithinASmallFractionOfAnEm) {
    // A quarter of a circle of radius one em, as a cubic, then as a quadratic back.
    const double k = 0.5523 * UNITS_PER_EM, r = UNITS_PER_EM;
    const double cubic[8] = {r, 0, r, k, k, r, 0, r};
    auto outline = std::make_unique<GlyphOutline>();
    *outline = GlyphOutline();
    OutlineFlattener flattener(outline.get(), UNITS_PER_EM);
    ASSERT_TRUE(flattener.moveTo(cubic[0], cubic[1]));
    ASSERT_TRUE(flattener.cubicTo(cubic[2], cubic[3], cubic[4], cubic[5], cubic[6], cubic[7]));
    int cubicPoints = outline->pointCount;
    ASSERT_TRUE(flattener.conicTo(r, r, r, 0));
    ASSERT_TRUE(flattener.finish());

    ASSERT_EQ(outline->contourCount, 1);
    EXPECT_EQ(outline->contourEnds[0], outline->pointCount);
    // Uniform chords: the curve at each chord's middle parameter lies near the chord's middle.
    int chords = cubicPoints - 1;
    EXPECT_GE(chords, 4);
    EXPECT_LE(chords, 64);
    for (int i = 0; i < chords; ++i) {
        double x, y;
        cubicAt(cubic, (i + 0.5) / chords, &x, &y);
        double mx = (outline->points[i][0] + outline->points[i + 1][0]) / 2.0;
        double my = (outline->points[i][1] + outline->points[i + 1][1]) / 2.0;
        EXPECT_LT(std::hypot(x / UNITS_PER_EM - mx, y / UNITS_PER_EM - my), TOLERANCE_EM) << i;
    }
    // The quadratic came back to the start: that point is not repeated at the end.
    EXPECT_NE(outline->points[outline->pointCount - 1][1], outline->points[0][1]);
    EXPECT_FLOAT_EQ(outline->points[0][0], 1.0f);
}

TEST(GlyphFlattening, RepeatedPointsAndContoursWithoutAreaAreDropped) {
    auto outline = std::make_unique<GlyphOutline>();
    *outline = GlyphOutline();
    OutlineFlattener flattener(outline.get(), 1000);
    // A line there and back: no area.
    flattener.moveTo(0, 0);
    flattener.lineTo(500, 0);
    flattener.lineTo(0, 0);
    // A square with a repeated corner, closed on its start.
    flattener.moveTo(0, 0);
    flattener.lineTo(1000, 0);
    flattener.lineTo(1000, 0);
    flattener.lineTo(1000, 1000);
    flattener.lineTo(0, 1000);
    flattener.lineTo(0, 0);
    ASSERT_TRUE(flattener.finish());
    ASSERT_EQ(outline->contourCount, 1);
    ASSERT_EQ(outline->pointCount, 4);
    const float square[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(outline->points[i][0], square[i][0]) << i;
        EXPECT_FLOAT_EQ(outline->points[i][1], square[i][1]) << i;
    }
}

TEST(GlyphFlattening, AnOutlineTooLargeIsRefused) {
    auto outline = std::make_unique<GlyphOutline>();
    *outline = GlyphOutline();
    OutlineFlattener points(outline.get(), 1000);
    bool fitted = points.moveTo(0, 0);
    for (int i = 1; i <= GLYPH_MAX_POINTS && fitted; ++i)
        fitted = points.lineTo(i, i % 2);
    EXPECT_FALSE(fitted);

    *outline = GlyphOutline();
    OutlineFlattener contours(outline.get(), 1000);
    for (int i = 0; i <= GLYPH_MAX_CONTOURS; ++i) {
        contours.moveTo(i * 10, 0);
        contours.lineTo(i * 10 + 5, 0);
        contours.lineTo(i * 10 + 5, 5);
    }
    EXPECT_FALSE(contours.finish());
}
