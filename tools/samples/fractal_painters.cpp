// fractal_painters.cpp -- Mandelbrot and Julia sets with smooth escape-time colouring.
#include "samples/painters.h"

#include <cmath>

namespace {

struct FractalView {
    double centreX;
    double centreY;
    double halfHeight;
    double juliaX; // the Julia constant; unused for the Mandelbrot set
    double juliaY;
    int maxIterations;
    int gradient;
    float colourScale;
    float colourOffset;
};

const FractalView mandelbrotViews[] = {
    {-0.65, 0.0, 1.2, 0, 0, 300, GRADIENT_OCEAN, 0.55f, 0.0f},
    {-0.7453, 0.1127, 0.0065, 0, 0, 700, GRADIENT_FIRE, 0.5f, 0.1f},
    {-0.7269, 0.1889, 0.004, 0, 0, 900, GRADIENT_ROYAL, 0.6f, 0.3f},
    {0.2850, 0.0118, 0.012, 0, 0, 700, GRADIENT_MINT, 0.5f, 0.0f},
    {-1.2506, 0.0201, 0.0008, 0, 0, 900, GRADIENT_AUTUMN, 0.55f, 0.2f},
    {-0.1011, 0.9563, 0.012, 0, 0, 700, GRADIENT_CANDY, 0.5f, 0.4f},
    {-0.7436447860, 0.1318252536, 0.00012, 0, 0, 1400, GRADIENT_ICE, 0.45f, 0.0f},
    {-1.7497, 0.0, 0.015, 0, 0, 600, GRADIENT_NEON, 0.6f, 0.1f},
};

const FractalView juliaViews[] = {
    {0.0, 0.0, 1.0, -0.8, 0.156, 500, GRADIENT_SUNSET, 0.6f, 0.0f},
    {0.0, 0.0, 1.3, -0.4, 0.6, 500, GRADIENT_OCEAN, 0.6f, 0.2f},
    {0.0, 0.0, 1.2, 0.285, 0.01, 500, GRADIENT_FOREST, 0.55f, 0.1f},
    {0.0, 0.0, 1.2, -0.70176, -0.3842, 500, GRADIENT_CANDY, 0.6f, 0.0f},
    {0.0, 0.0, 1.1, -0.835, -0.2321, 500, GRADIENT_ICE, 0.6f, 0.3f},
    {0.0, 0.0, 1.2, 0.355, 0.355, 500, GRADIENT_AUTUMN, 0.55f, 0.0f},
    {0.0, 0.0, 1.25, -0.54, 0.54, 500, GRADIENT_ROYAL, 0.6f, 0.1f},
    {0.0, 0.0, 1.1, -0.1, 0.651, 500, GRADIENT_MINT, 0.6f, 0.2f},
};

const double ESCAPE_RADIUS_SQUARED = 65536.0;

// Escape time with the fractional part that hides the iteration bands; negative inside the set.
double escapeTime(double zx, double zy, double cx, double cy, int maxIterations) {
    for (int iteration = 0; iteration < maxIterations; iteration++) {
        const double xx = zx * zx;
        const double yy = zy * zy;
        if (xx + yy > ESCAPE_RADIUS_SQUARED) {
            return iteration + 1.0 - std::log2(std::log(xx + yy) * 0.5);
        }
        zy = 2.0 * zx * zy + cy;
        zx = xx - yy + cx;
    }
    return -1.0;
}

bool insideMainBulbs(double cx, double cy) {
    const double q = (cx - 0.25) * (cx - 0.25) + cy * cy;
    if (q * (q + (cx - 0.25)) <= 0.25 * cy * cy) {
        return true;
    }
    return (cx + 1.0) * (cx + 1.0) + cy * cy <= 0.0625;
}

Colour colourOf(const FractalView &view, double time) {
    const Gradient &gradient = namedGradient(view.gradient);
    if (time < 0.0) {
        return scaleColour(gradient.stops[0], 0.35f);
    }
    return gradientCycle(gradient, static_cast<float>(std::log(time + 1.0)) * view.colourScale +
                                       view.colourOffset);
}

void paintFractal(Picture &picture, const FractalView &view, bool julia) {
    const double pixel = 2.0 * view.halfHeight / picture.height;
    const double left = view.centreX - pixel * picture.width * 0.5;
    const double top = view.centreY + view.halfHeight;
    renderPicture(picture, 2, [&](float x, float y) {
        const double px = left + x * pixel;
        const double py = top - y * pixel;
        if (julia) {
            return colourOf(view, escapeTime(px, py, view.juliaX, view.juliaY, view.maxIterations));
        }
        if (insideMainBulbs(px, py)) {
            return colourOf(view, -1.0);
        }
        return colourOf(view, escapeTime(0.0, 0.0, px, py, view.maxIterations));
    });
}

} // namespace

void paintMandelbrot(Picture &picture, int variant) {
    const int count = sizeof(mandelbrotViews) / sizeof(mandelbrotViews[0]);
    paintFractal(picture, mandelbrotViews[variant % count], false);
}

void paintJulia(Picture &picture, int variant) {
    const int count = sizeof(juliaViews) / sizeof(juliaViews[0]);
    paintFractal(picture, juliaViews[variant % count], true);
}
