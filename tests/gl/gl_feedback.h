// gl_feedback.h -- captures what a piece of drawing code emits, through GL feedback mode, in the
// drawing code's own object coordinates; and lights that reveal each vertex's normal.
#pragma once
#include <GL/gl.h>
#include <functional>
#include <vector>

struct FeedbackVertex {
    float x, y, z;    // object coordinates (identity model-view assumed)
    float r, g, b, a; // lit or current colour
    float s, t;       // texture coordinates
};

struct FeedbackPrimitive {
    GLenum token; // GL_POLYGON_TOKEN, GL_LINE_RESET_TOKEN, GL_LINE_TOKEN, GL_POINT_TOKEN, ...
    std::vector<FeedbackVertex> vertices;
};

// Runs draw in feedback mode under an orthographic view of the cube [-16, 16]^3 with an
// identity model-view, and returns the primitives it produced. Leaves both matrices identity.
std::vector<FeedbackPrimitive> captureFeedback(const std::function<void()> &draw);

// Six directional lights on the axes, each adding to one colour channel: a unit normal along
// +x gives red 1, along -x red 0.5, likewise green for y and blue for z. Lighting is left on.
void useNormalProbeLights();
// Back to lighting off and the probe lights disabled.
void dropNormalProbeLights();

// The axis-aligned normal a probe-lit vertex had, from its colour.
struct ProbedNormal {
    int x, y, z;
};
ProbedNormal probedNormal(const FeedbackVertex &vertex);
