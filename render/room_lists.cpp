// room_lists.cpp -- the shared display-list block and the room shell: walls, floor, ceiling.
#include "render/room_lists.h"

#include "render/texture_names.h"
#include "render/grid_planes.h"

GLuint displayListBase = 0;

// Cells are 0.5 by 0.5 units: each extent doubled, cut toward zero. The side walls' normals
// point out of the room (the sense of the YZ grid's flag), the other faces' into it.
bool buildRoomShell(float width, float height, float length) {
    const int cellsW = static_cast<int>(width * 2.0f);
    const int cellsH = static_cast<int>(height * 2.0f);
    const int cellsL = static_cast<int>(length * 2.0f);
    const float halfW = width / 2.0f;
    const float halfL = length / 2.0f;

    // Picture wall.
    glPushMatrix();
    glTranslatef(-halfW, 0.0f, 0.0f);
    glBindTexture(GL_TEXTURE_2D, textureNames[TEX_WALL]);
    drawGridYZ(0.0f, halfL, height, -halfL, cellsH, cellsL, true, true, false);
    glPopMatrix();

    // Door wall.
    glPushMatrix();
    glTranslatef(halfW, 0.0f, 0.0f);
    glBindTexture(GL_TEXTURE_2D, textureNames[TEX_WALL]);
    drawGridYZ(0.0f, halfL, height, -halfL, cellsH, cellsL, false, true, false);
    glPopMatrix();

    // Floor.
    glPushMatrix();
    glBindTexture(GL_TEXTURE_2D, textureNames[TEX_FLOOR]);
    glColor3f(1.0f, 1.0f, 1.0f);
    drawGridXZ(-halfW, halfL, halfW, -halfL, cellsW, cellsL, true, true, false);
    glPopMatrix();

    // Ceiling.
    glPushMatrix();
    glTranslatef(0.0f, height, 0.0f);
    glBindTexture(GL_TEXTURE_2D, textureNames[TEX_CEILING]);
    glColor3f(1.0f, 1.0f, 1.0f);
    drawGridXZ(-halfW, halfL, halfW, -halfL, cellsW, cellsL, false, true, false);
    glPopMatrix();

    // End wall toward the previous room.
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, halfL);
    glBindTexture(GL_TEXTURE_2D, textureNames[TEX_WALL]);
    glColor3f(1.0f, 1.0f, 1.0f);
    drawGridXY(-halfW, 0.0f, halfW, height, cellsW, cellsH, false, true, false);
    glPopMatrix();

    // End wall toward the next room.
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, -halfL);
    glBindTexture(GL_TEXTURE_2D, textureNames[TEX_WALL]);
    glColor3f(1.0f, 1.0f, 1.0f);
    drawGridXY(-halfW, 0.0f, halfW, height, cellsW, cellsH, true, true, false);
    glPopMatrix();

    return true;
}
