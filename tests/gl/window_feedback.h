// window_feedback.h -- records what 2D drawing emits, in window pixels, through GL feedback
// mode: polygons with their texture coordinates and the raster position of every bitmap.
#pragma once
#include <GL/gl.h>
#include <vector>

struct WindowVertex {
    float x, y; // window pixels from the bottom-left corner
    float s, t;
};

struct WindowPrimitive {
    GLenum token; // GL_POLYGON_TOKEN, GL_BITMAP_TOKEN, ...
    std::vector<WindowVertex> vertices;
};

// Enters feedback mode; what is drawn from now on is recorded, not rendered.
void startWindowFeedback();

// Back to rendering; returns what was recorded since startWindowFeedback.
std::vector<WindowPrimitive> stopWindowFeedback();

// The raster positions of the bitmaps, in drawing order, split into runs: a run (one line of
// text) ends where the next bitmap is not on the same baseline to its right.
std::vector<std::vector<WindowVertex>> bitmapRuns(const std::vector<WindowPrimitive> &recorded);

// The polygons alone, in drawing order (a quad may come out as two triangles).
std::vector<WindowPrimitive> polygonsOf(const std::vector<WindowPrimitive> &recorded);
