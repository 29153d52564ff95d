// scene_frame.cpp -- one frame of the gallery, making the room ready first when it is not.
#include "render/scene_frame.h"

#include <GL/gl.h>

#include "gallery/gallery_state.h"
#include "platform/cursor.h"
#include "platform/window.h"
#include "render/depth_offset.h"
#include "render/facing_captions.h"
#include "render/overlays.h"
#include "render/room_contents.h"
#include "render/room_lists.h"
#include "render/room_picture_loader.h"

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

// Loads the room's pictures (drawing and presenting the loading screens) and compiles its
// contents list, under the busy cursor. The loader's result is not needed: a slot it could not
// fill is still hung with its plate and label.
void makeRoomReady() {
    showBusyCursor();
    // The offset in force for the first fixture of the contents list.
    setPolygonOffset(-1.0f, -1.0f);
    loadRoomPictures(drawProgressScreen);
    buildRoomContents();
    showArrowCursor();
    roomLoaded = true;
    // Drop what the loading screens left in the back buffer.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

} // namespace

bool drawScene() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    applyCamera();
    setLightAndMaterial();
    glEnable(GL_TEXTURE_2D);

    if (!roomLoaded)
        makeRoomReady();

    glCallList(roomShellList());
    // The fixtures lie in the wall planes; their compiled negative offsets keep them in front.
    glEnable(GL_POLYGON_OFFSET_FILL);
    glCallList(roomContentsList());
    glDisable(GL_POLYGON_OFFSET_FILL);

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    drawFacingCaption();
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);

    if (helpVisible)
        drawHelpOverlay();

    swapWindowBuffers();
    // After the frame is on its way: a little of the work that makes the next rooms instant.
    prepareRoomsAhead();
    return true;
}
