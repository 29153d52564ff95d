// painters.cpp -- picks the painter of a picture kind.
#include "samples/painters.h"

void paintSample(Picture &picture, PainterKind kind, int variant) {
    switch (kind) {
    case PAINT_LANDSCAPE:
        paintLandscape(picture, variant);
        break;
    case PAINT_MANDELBROT:
        paintMandelbrot(picture, variant);
        break;
    case PAINT_JULIA:
        paintJulia(picture, variant);
        break;
    case PAINT_PLASMA:
        paintPlasma(picture, variant);
        break;
    case PAINT_INTERFERENCE:
        paintInterference(picture, variant);
        break;
    case PAINT_STRIPES:
        paintStripes(picture, variant);
        break;
    case PAINT_CHECKER_WAVES:
        paintCheckerWaves(picture, variant);
        break;
    case PAINT_ROSETTE:
        paintRosette(picture, variant);
        break;
    case PAINT_BOKEH:
        paintBokeh(picture, variant);
        break;
    case PAINT_HEXAGONS:
        paintHexagons(picture, variant);
        break;
    case PAINT_TRUCHET:
        paintTruchet(picture, variant);
        break;
    case PAINT_TRIANGLES:
        paintTriangles(picture, variant);
        break;
    case PAINT_STAINED_GLASS:
        paintStainedGlass(picture, variant);
        break;
    }
}
