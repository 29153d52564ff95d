// gl_feedback.cpp -- feedback-mode capture and normal-probing lights for the GL tests.
#include "gl/gl_feedback.h"

namespace {
constexpr int FEEDBACK_FLOATS = 1 << 20;
constexpr int VERTEX_FLOATS = 11; // GL_3D_COLOR_TEXTURE in RGBA mode
constexpr float BOX = 16.0f;

FeedbackVertex readVertex(const GLfloat *data) {
    FeedbackVertex vertex;
    // Viewport 32 x 32 over the box [-16, 16]: window x and y are object x and y plus 16,
    // window depth 0..1 runs from z = +16 to z = -16.
    vertex.x = data[0] - BOX;
    vertex.y = data[1] - BOX;
    vertex.z = BOX - 2.0f * BOX * data[2];
    vertex.r = data[3];
    vertex.g = data[4];
    vertex.b = data[5];
    vertex.a = data[6];
    vertex.s = data[7] / data[10];
    vertex.t = data[8] / data[10];
    return vertex;
}

int channelSign(float value) {
    if (value > 0.75f)
        return 1;
    if (value > 0.25f)
        return -1;
    return 0;
}
} // namespace

std::vector<FeedbackPrimitive> captureFeedback(const std::function<void()> &draw) {
    static GLfloat buffer[FEEDBACK_FLOATS];
    glViewport(0, 0, 2 * BOX, 2 * BOX);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-BOX, BOX, -BOX, BOX, -BOX, BOX);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_CULL_FACE);
    glFeedbackBuffer(FEEDBACK_FLOATS, GL_3D_COLOR_TEXTURE, buffer);
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    std::vector<FeedbackPrimitive> primitives;
    GLint at = 0;
    while (at < used) {
        FeedbackPrimitive primitive;
        primitive.token = static_cast<GLenum>(buffer[at++]);
        int count = 0;
        switch (primitive.token) {
        case GL_POLYGON_TOKEN:
            count = static_cast<int>(buffer[at++]);
            break;
        case GL_LINE_TOKEN:
        case GL_LINE_RESET_TOKEN:
            count = 2;
            break;
        case GL_PASS_THROUGH_TOKEN:
            at += 1;
            break;
        default: // points, bitmaps and pixel rectangles carry one vertex
            count = 1;
            break;
        }
        for (int i = 0; i < count && at + VERTEX_FLOATS <= used; ++i, at += VERTEX_FLOATS)
            primitive.vertices.push_back(readVertex(buffer + at));
        primitives.push_back(primitive);
    }
    return primitives;
}

void useNormalProbeLights() {
    const GLfloat none[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    const GLfloat white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, none);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, none);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, none);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, none);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    for (int axis = 0; axis < 3; ++axis) {
        for (int side = 0; side < 2; ++side) {
            const GLenum light = GL_LIGHT0 + axis * 2 + side;
            GLfloat direction[4] = {0.0f, 0.0f, 0.0f, 0.0f};
            direction[axis] = side == 0 ? 1.0f : -1.0f;
            GLfloat colour[4] = {0.0f, 0.0f, 0.0f, 1.0f};
            colour[axis] = side == 0 ? 1.0f : 0.5f;
            glLightfv(light, GL_POSITION, direction);
            glLightfv(light, GL_AMBIENT, none);
            glLightfv(light, GL_DIFFUSE, colour);
            glLightfv(light, GL_SPECULAR, none);
            glEnable(light);
        }
    }
    glEnable(GL_LIGHTING);
}

void dropNormalProbeLights() {
    for (int i = 0; i < 6; ++i)
        glDisable(GL_LIGHT0 + i);
    glDisable(GL_LIGHTING);
}

ProbedNormal probedNormal(const FeedbackVertex &vertex) {
    return {channelSign(vertex.r), channelSign(vertex.g), channelSign(vertex.b)};
}
