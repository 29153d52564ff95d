// scene_frame.cpp -- one frame of the gallery: camera, light, room shell, presentation.
#include "render/scene_frame.h"

#include <GL/gl.h>

#include "gallery/gallery_state.h"
#include "platform/window.h"
#include "render/room_lists.h"

namespace {

// w = 0: a directional light from above the door wall, fixed in room coordinates because it
// is given after the camera transform.
const GLfloat lightPosition[4] = {1.0f, 1.0f, 0.0f, 0.0f};

// Lighting is on and colour tracking off, so this material, modulated by the textures,
// colours every lit surface.
const GLfloat sceneMaterial[4] = {0.5f, 0.5f, 0.5f, 0.5f};

// The camera is stored as the world transform; the eye stands at -view.
void applyCamera() {
    glRotatef(viewPitch, 1.0f, 0.0f, 0.0f);
    glRotatef(360.0f - viewHeading, 0.0f, 1.0f, 0.0f);
    glTranslatef(viewX, viewY, viewZ);
}

void setLightAndMaterial() {
    glLightfv(GL_LIGHT1, GL_POSITION, lightPosition);
    glColor3f(1.0f, 1.0f, 1.0f);
    glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, sceneMaterial);
}

} // namespace

bool drawScene() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    applyCamera();
    setLightAndMaterial();
    glEnable(GL_TEXTURE_2D);

    glCallList(roomShellList());

    glDisable(GL_TEXTURE_2D);
    swapWindowBuffers();
    return true;
}
