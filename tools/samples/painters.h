// painters.h -- the procedural pictures of the sample gallery.
#pragma once

#include "samples/raster.h"

enum PainterKind {
    PAINT_LANDSCAPE,
    PAINT_MANDELBROT,
    PAINT_JULIA,
    PAINT_PLASMA,
    PAINT_INTERFERENCE,
    PAINT_STRIPES,
    PAINT_CHECKER_WAVES,
    PAINT_ROSETTE,
    PAINT_BOKEH,
    PAINT_HEXAGONS,
    PAINT_TRUCHET,
    PAINT_TRIANGLES,
    PAINT_STAINED_GLASS,
};

// Paints a whole picture of the given kind; the variant picks colours, layout and seeds, so
// the same kind, variant and size always give the same pixels.
// Centred coordinates in which the shorter side of the picture runs from -0.5 to 0.5.
struct Frame {
    float centreX;
    float centreY;
    float unit;
};

inline Frame frameOf(const Picture &picture) {
    const int shorter = picture.width < picture.height ? picture.width : picture.height;
    return {picture.width * 0.5f, picture.height * 0.5f, 1.0f / shorter};
}

void paintSample(Picture &picture, PainterKind kind, int variant);

void paintLandscape(Picture &picture, int variant);
void paintMandelbrot(Picture &picture, int variant);
void paintJulia(Picture &picture, int variant);
void paintPlasma(Picture &picture, int variant);
void paintInterference(Picture &picture, int variant);
void paintStripes(Picture &picture, int variant);
void paintCheckerWaves(Picture &picture, int variant);
void paintRosette(Picture &picture, int variant);
void paintBokeh(Picture &picture, int variant);
void paintHexagons(Picture &picture, int variant);
void paintTruchet(Picture &picture, int variant);
void paintTriangles(Picture &picture, int variant);
void paintStainedGlass(Picture &picture, int variant);
