// screen_space.h -- drawing in window pixels over the 3D scene: an orthographic projection of
// the whole window, with depth test and lighting off, undone afterwards.
#pragma once

// Pushes the lighting, depth, list and texture attribute groups, switches depth test and
// lighting off and texturing on or off as asked, and pushes an orthographic projection from
// (0, 0) to (screenWidth, screenHeight) with an identity model-view matrix.
void beginScreenSpace(bool textured);

// Pops both matrices (leaving model-view the current mode) and the attribute groups.
void endScreenSpace();
