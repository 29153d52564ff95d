// grid_planes.h -- axis-aligned rectangles cut into a grid of strips, so that per-vertex
// lighting falls smoothly across them. One operation per coordinate plane.
#pragma once

// (uStart, vStart) and (uEnd, vEnd) are opposite corners in the plane's (U, V) axes; columns
// and rows count cells. False when columns or rows is 0 (nothing drawn), true otherwise.
bool drawGridXZ(float uStart, float vStart, float uEnd, float vEnd, int columns, int rows,
                bool normalFlag, bool textured, bool lines);
bool drawGridYZ(float uStart, float vStart, float uEnd, float vEnd, int columns, int rows,
                bool normalFlag, bool textured, bool lines);
bool drawGridXY(float uStart, float vStart, float uEnd, float vEnd, int columns, int rows,
                bool normalFlag, bool textured, bool lines);
