// gl_state.cpp -- sets up everything one rendering context holds for its lifetime.
#include "render/gl_state.h"

#include <GL/gl.h>
#include <cstdio>

#include "gallery/display_settings.h"
#include "gallery/gallery_state.h"
#include "platform/image_library.h"
#include "platform/message_box.h"
#include "platform/this_thread.h"
#include "render/depth_offset.h"
#include "render/room_lists.h"
#include "render/scene_textures.h"
#include "render/text.h"
#include "render/texture_names.h"

namespace {

// Line, polygon and point smoothing with their hints, then the perspective hint, as the
// antialiasing level asks.
void setSmoothing(int level) {
    glEnable(GL_LINE_SMOOTH);
    glHint(GL_LINE_SMOOTH_HINT, level == ANTIALIAS_LOW ? GL_FASTEST : GL_NICEST);
    if (level >= ANTIALIAS_MEDIUM) {
        glEnable(GL_POLYGON_SMOOTH);
        glHint(GL_POLYGON_SMOOTH_HINT, level == ANTIALIAS_MEDIUM ? GL_FASTEST : GL_NICEST);
    }
    if (level >= ANTIALIAS_HIGH) {
        glEnable(GL_POINT_SMOOTH);
        glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    }
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, level == ANTIALIAS_LOW ? GL_FASTEST : GL_NICEST);
}

} // namespace

bool initGLState() {
    REQUIRE_MAIN_THREAD();
    // Every image loaded from here on is delivered as RGBA.
    ilInit();
    ilEnable(IL_FORMAT_SET);
    ilSetInteger(IL_FORMAT_MODE, IL_RGBA);

    glGenTextures(TEXTURE_COUNT, textureNames);
    displayListBase = glGenLists(DISPLAY_LIST_COUNT);

    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glShadeModel(GL_SMOOTH);
    setSmoothing(antialiasLevel);

    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    measureDepthResolution();

    glEnable(GL_LIGHTING);
    glEnable(GL_NORMALIZE);
    // One white light; its position is set by every frame.
    const GLfloat white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    glLightfv(GL_LIGHT1, GL_AMBIENT, white);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, white);
    glEnable(GL_LIGHT1);

    if (!loadSceneTextures()) {
        showMessageBox("Failed to load textures", "Initialization Error", MESSAGE_BOX_ERROR);
        fprintf(stderr, "ERROR: Unable to load textures\n");
        return false;
    }

    glNewList(roomShellList(), GL_COMPILE);
    buildRoomShell(roomWidth, roomHeight, roomLength);
    glEndList();

    return buildFonts();
}

void releaseGLState() {
    REQUIRE_MAIN_THREAD();
    ilShutDown();
    glDeleteTextures(TEXTURE_COUNT, textureNames);
    freeFonts();
    glDeleteLists(displayListBase, DISPLAY_LIST_COUNT);
}
