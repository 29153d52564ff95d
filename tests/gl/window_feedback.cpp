// window_feedback.cpp -- feedback-mode recording of 2D drawing in window coordinates.
#include "gl/window_feedback.h"

#include <cmath>

namespace {
constexpr int FEEDBACK_FLOATS = 1 << 18;
constexpr int VERTEX_FLOATS = 11; // GL_3D_COLOR_TEXTURE in RGBA mode
GLfloat buffer[FEEDBACK_FLOATS];

WindowVertex readVertex(const GLfloat *data) {
    return {data[0], data[1], data[7] / data[10], data[8] / data[10]};
}
} // namespace

void startWindowFeedback() {
    glFeedbackBuffer(FEEDBACK_FLOATS, GL_3D_COLOR_TEXTURE, buffer);
    glRenderMode(GL_FEEDBACK);
}

std::vector<WindowPrimitive> stopWindowFeedback() {
    GLint used = glRenderMode(GL_RENDER);
    std::vector<WindowPrimitive> recorded;
    GLint at = 0;
    while (at < used) {
        WindowPrimitive primitive;
        primitive.token = static_cast<GLenum>(buffer[at++]);
        int count = 1; // points, bitmaps and pixel rectangles carry one vertex
        if (primitive.token == GL_POLYGON_TOKEN)
            count = static_cast<int>(buffer[at++]);
        else if (primitive.token == GL_LINE_TOKEN || primitive.token == GL_LINE_RESET_TOKEN)
            count = 2;
        else if (primitive.token == GL_PASS_THROUGH_TOKEN) {
            count = 0;
            at += 1;
        }
        for (int i = 0; i < count && at + VERTEX_FLOATS <= used; ++i, at += VERTEX_FLOATS)
            primitive.vertices.push_back(readVertex(buffer + at));
        recorded.push_back(primitive);
    }
    return recorded;
}

std::vector<std::vector<WindowVertex>> bitmapRuns(const std::vector<WindowPrimitive> &recorded) {
    std::vector<std::vector<WindowVertex>> runs;
    for (const WindowPrimitive &primitive : recorded) {
        if (primitive.token != GL_BITMAP_TOKEN || primitive.vertices.empty())
            continue;
        const WindowVertex &v = primitive.vertices[0];
        if (runs.empty() || std::fabs(runs.back().back().y - v.y) > 0.5f ||
            runs.back().back().x > v.x)
            runs.emplace_back();
        runs.back().push_back(v);
    }
    return runs;
}

std::vector<WindowPrimitive> polygonsOf(const std::vector<WindowPrimitive> &recorded) {
    std::vector<WindowPrimitive> polygons;
    for (const WindowPrimitive &primitive : recorded)
        if (primitive.token == GL_POLYGON_TOKEN)
            polygons.push_back(primitive);
    return polygons;
}
