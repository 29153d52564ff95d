// glyph_flattening.h -- a glyph's contours in font units, as lines and quadratic and cubic
// Bézier curves, flattened into the closed straight-edged contours of a GlyphOutline: what the
// FreeType and the GDI font back ends share.
#pragma once
#include "platform/fonts.h"

// One outline being flattened, in the order its contours are drawn. Each call is false once the
// outline holds GLYPH_MAX_POINTS points or GLYPH_MAX_CONTOURS contours: the glyph cannot be
// drawn then. Thread: any (one flattener per thread).
class OutlineFlattener {
  public:
    OutlineFlattener(GlyphOutline *outline, double unitsPerEm);

    // Ends the open contour and starts the next at (x, y).
    bool moveTo(double x, double y);
    bool lineTo(double x, double y);
    bool conicTo(double controlX, double controlY, double x, double y);
    bool cubicTo(double control1X, double control1Y, double control2X, double control2Y, double x,
                 double y);
    // Ends the last contour; false when the outline did not fit.
    bool finish();

  private:
    void closeContour();

    GlyphOutline *outline;
    double scale;     // font units to em
    double tolerance; // in font units
    double penX = 0.0;
    double penY = 0.0;
    bool overflow = false;
};
