// depth_offset.cpp -- polygon offsets scaled to the depth buffer the context really has.
#include "render/depth_offset.h"

#include <GL/gl.h>
#include <cmath>

namespace {
// Depth steps of the real buffer per step of a 16-bit buffer.
float stepsPerSixteenBitStep = 1.0f;
} // namespace

void measureDepthResolution() {
    GLint bits = 16;
    glGetIntegerv(GL_DEPTH_BITS, &bits);
    stepsPerSixteenBitStep = bits > 16 ? std::ldexp(1.0f, bits - 16) : 1.0f;
}

void setPolygonOffset(float factor, float units) {
    glPolygonOffset(factor, units * stepsPerSixteenBitStep);
}
