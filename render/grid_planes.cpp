// grid_planes.cpp -- tessellated axis-aligned planes drawn as strips, one strip per row.
#include "render/grid_planes.h"

#include <GL/gl.h>
#include <cstdint>

namespace {

enum GridPlane { PLANE_XZ, PLANE_YZ, PLANE_XY };

void sendNormal(GridPlane plane, bool normalFlag) {
    switch (plane) {
    case PLANE_XZ:
        glNormal3f(0.0f, normalFlag ? 1.0f : -1.0f, 0.0f);
        break;
    case PLANE_YZ:
        // The flag has the opposite sense in this plane: set points toward -x.
        glNormal3f(normalFlag ? -1.0f : 1.0f, 0.0f, 0.0f);
        break;
    case PLANE_XY:
        glNormal3f(0.0f, 0.0f, normalFlag ? 1.0f : -1.0f);
        break;
    }
}

void sendPoint(GridPlane plane, float u, float v, bool textured) {
    switch (plane) {
    case PLANE_XZ:
        if (textured)
            glTexCoord2f(u, v);
        glVertex3f(u, 0.0f, v);
        break;
    case PLANE_YZ:
        // Texture s runs along z and t along y.
        if (textured)
            glTexCoord2f(v, u);
        glVertex3f(0.0f, u, v);
        break;
    case PLANE_XY:
        if (textured)
            glTexCoord2f(u, v);
        glVertex3f(u, v, 0.0f);
        break;
    }
}

// Each row is one strip zig-zagging between its two edges from the uStart side. Positions
// advance by repeated single-precision addition, so every grid of the same arguments lands on
// the very same coordinates.
bool drawGrid(GridPlane plane, float uStart, float vStart, float uEnd, float vEnd, int columns,
              int rows, bool normalFlag, bool textured, bool lines) {
    if (columns == 0 || rows == 0)
        return false;
    const float stepU = (uEnd - uStart) / static_cast<float>(columns);
    const float stepV = (vEnd - vStart) / static_cast<float>(rows);
    if (rows < 0)
        return true;
    const GLenum mode = lines ? GL_LINE_STRIP : GL_TRIANGLE_STRIP;
    float v = vStart;
    for (int row = 0; row < rows; ++row) {
        glBegin(mode);
        sendNormal(plane, normalFlag);
        if (columns >= 0) {
            const float vNext = v + stepV;
            float u = uStart;
            for (int64_t column = 0; column <= columns; ++column) {
                sendPoint(plane, u, v, textured);
                sendPoint(plane, u, vNext, textured);
                u = u + stepU;
            }
        }
        glEnd();
        v = v + stepV;
    }
    return true;
}

} // namespace

bool drawGridXZ(float uStart, float vStart, float uEnd, float vEnd, int columns, int rows,
                bool normalFlag, bool textured, bool lines) {
    return drawGrid(PLANE_XZ, uStart, vStart, uEnd, vEnd, columns, rows, normalFlag, textured,
                    lines);
}

bool drawGridYZ(float uStart, float vStart, float uEnd, float vEnd, int columns, int rows,
                bool normalFlag, bool textured, bool lines) {
    return drawGrid(PLANE_YZ, uStart, vStart, uEnd, vEnd, columns, rows, normalFlag, textured,
                    lines);
}

bool drawGridXY(float uStart, float vStart, float uEnd, float vEnd, int columns, int rows,
                bool normalFlag, bool textured, bool lines) {
    return drawGrid(PLANE_XY, uStart, vStart, uEnd, vEnd, columns, rows, normalFlag, textured,
                    lines);
}
