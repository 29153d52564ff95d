// room_contents.cpp -- the room's pictures, doors, name plates and labels as one display list.
#include "render/room_contents.h"

#include <GL/gl.h>
#include <cstdio>

#include "render/texture_names.h"
#include "render/depth_offset.h"
#include "render/grid_planes.h"
#include "render/room_lists.h"
#include "render/text.h"

namespace {

// Emission brightens the grey letters of a label; it is switched off again after each label.
const GLfloat labelEmission[4] = {0.5f, 0.5f, 0.5f, 0.0f};
const GLfloat noEmission[4] = {0.0f, 0.0f, 0.0f, 0.0f};

// Label widths in glyph units: 2.0 and 1.0 room units after the 0.1 scale of the letters.
constexpr float PICTURE_LABEL_WIDTH = 20.0f;
constexpr float DOOR_LABEL_WIDTH = 10.0f;

// Heights of plate and label baseline in a fixture's own frame.
constexpr float PICTURE_LABEL_HEIGHT = 2.15f;
constexpr float DOOR_LABEL_HEIGHT = 1.7f;

// The fixtures of the room being compiled; too large for the stack.
RoomFixture fixtures[MAX_ROOM_FIXTURES];

void setFixture(RoomFixture *fixture, FixtureKind kind, uint32_t slot, int texture) {
    fixture->kind = kind;
    fixture->slot = slot;
    fixture->texture = texture;
}

// A plate 2.0 wide and 0.3 high around the current origin, 0.12 below it and 0.18 above; the
// plate texture repeats across it. The two constants are the floats nearest 10/3 and 20/3.
void drawPlateFace() {
    glScalef(0.3f, 0.3f, 1.0f);
    glTranslatef(-3.3333333f, -0.4f, 0.0f);
    glBindTexture(GL_TEXTURE_2D, textureNames[TEX_PLATE]);
    drawGridXY(0.0f, 0.0f, 6.6666665f, 1.0f, 20, 20, true, true, false);
}

void drawNamePlate(float height) {
    glTranslatef(0.0f, height, 0.0f);
    drawPlateFace();
}

// Picture on the left wall: a 2 x 2 square standing 0.1 above the floor, plate and label over
// it. Local +x runs toward the far end, the front faces into the room.
void drawPicture(const RoomFixture &fixture) {
    glPushMatrix();
    glTranslatef(-2.0f, 0.1f, slotCenterZ(fixture.slot));
    glRotatef(90.0f, 0.0f, 1.0f, 0.0f);

    glPushMatrix();
    drawNamePlate(PICTURE_LABEL_HEIGHT);
    glPopMatrix();

    setPolygonOffset(-2.0f, -2.0f);
    glPushMatrix();
    glTranslatef(0.0f, PICTURE_LABEL_HEIGHT, 0.0f);
    glMaterialfv(GL_FRONT, GL_EMISSION, labelEmission);
    glScalef(0.1f, 0.1f, 0.1f);
    drawOutlineText(ALIGN_CENTER, PICTURE_LABEL_WIDTH, "%s", fixture.label);
    glMaterialfv(GL_FRONT, GL_EMISSION, noEmission);
    glPopMatrix();

    glScalef(2.0f, 2.0f, 1.0f);
    glTranslatef(-0.5f, 0.0f, 0.0f);
    glBindTexture(GL_TEXTURE_2D, textureNames[fixture.texture]);
    drawGridXY(0.0f, 0.0f, 1.0f, 1.0f, 20, 20, true, true, false);

    setPolygonOffset(-1.0f, -1.0f);
    glPopMatrix();
}

// Door on the right wall: a 1.5 x 1.5 leaf on the floor, plate and label over it. The letters
// are turned to face into the room; the leaf is turned so its first texture row is at the top.
void drawSideDoor(const RoomFixture &fixture) {
    glPushMatrix();
    glTranslatef(2.0f, 0.0f, slotCenterZ(fixture.slot));
    glRotatef(90.0f, 0.0f, 1.0f, 0.0f);

    glPushMatrix();
    drawNamePlate(DOOR_LABEL_HEIGHT);
    glPopMatrix();

    setPolygonOffset(-2.0f, -2.0f);
    glPushMatrix();
    glTranslatef(0.0f, DOOR_LABEL_HEIGHT, 0.0f);
    glScalef(0.1f, 0.1f, 0.05f);
    glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
    glMaterialfv(GL_FRONT, GL_EMISSION, labelEmission);
    drawOutlineText(ALIGN_CENTER, DOOR_LABEL_WIDTH, "%s", fixture.label);
    glMaterialfv(GL_FRONT, GL_EMISSION, noEmission);
    glPopMatrix();

    setPolygonOffset(-1.0f, -1.0f);
    glScalef(1.5f, 1.5f, 1.0f);
    glRotatef(180.0f, 0.0f, 0.0f, 1.0f);
    glTranslatef(-0.5f, -1.0f, 0.0f);
    glBindTexture(GL_TEXTURE_2D, textureNames[fixture.texture]);
    drawGridXY(0.0f, 0.0f, 1.0f, 1.0f, 20, 20, true, true, false);
    glPopMatrix();
}

// Door in an end wall at z. The near wall's plate and letters are turned to face into the
// room; the far wall's already do.
void drawEndDoor(const RoomFixture &fixture, float z, bool turnToRoom) {
    glPushMatrix();
    glTranslatef(0.0f, DOOR_LABEL_HEIGHT, z);
    if (turnToRoom)
        glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
    drawPlateFace();
    glPopMatrix();

    setPolygonOffset(-2.0f, -2.0f);
    glPushMatrix();
    glTranslatef(0.0f, DOOR_LABEL_HEIGHT, z);
    glScalef(0.1f, 0.1f, 0.05f);
    glMaterialfv(GL_FRONT, GL_EMISSION, labelEmission);
    if (turnToRoom)
        glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
    drawOutlineText(ALIGN_CENTER, DOOR_LABEL_WIDTH, "%s", fixture.label);
    glMaterialfv(GL_FRONT, GL_EMISSION, noEmission);
    glPopMatrix();

    setPolygonOffset(-1.0f, -1.0f);
    // The translation follows the scale, so the leaf spans 0..1.5 in y while z, scaled by 1,
    // stays on the wall.
    glPushMatrix();
    glScalef(1.5f, 1.5f, 1.0f);
    glTranslatef(0.0f, 0.5f, z);
    glRotatef(180.0f, 0.0f, 0.0f, 1.0f);
    glTranslatef(-0.5f, -0.5f, 0.0f);
    glBindTexture(GL_TEXTURE_2D, textureNames[fixture.texture]);
    drawGridXY(0.0f, 0.0f, 1.0f, 1.0f, 2, 2, false, true, false);
    glPopMatrix();
}

void drawFixture(const RoomFixture &fixture) {
    switch (fixture.kind) {
    case FIXTURE_PICTURE:
        drawPicture(fixture);
        break;
    case FIXTURE_DOOR:
        drawSideDoor(fixture);
        break;
    case FIXTURE_NEAR_DOOR:
        drawEndDoor(fixture, roomLength / 2.0f, true);
        break;
    case FIXTURE_FAR_DOOR:
        drawEndDoor(fixture, -roomLength / 2.0f, false);
        break;
    }
}

} // namespace

float slotCenterZ(uint32_t slot) {
    // A 2.0-wide picture and a 0.5 gap per slot.
    const float i = static_cast<float>(slot);
    return -((2.0f * i - roomLength / 2.0f) + (i + 1.0f) * 0.5f) - 0.8f;
}

uint32_t collectRoomFixtures(RoomFixture *out) {
    uint32_t count = 0;
    for (uint32_t slot = 0; slot < WALL_SLOTS; slot++) {
        uint32_t index = 0;
        if (!pictureInSlot(slot, &index))
            continue;
        RoomFixture *fixture = &out[count++];
        setFixture(fixture, FIXTURE_PICTURE, slot, TEX_PICTURE0 + static_cast<int>(slot));
        snprintf(fixture->label, sizeof fixture->label, "%s", pictureNames[index]);
    }
    for (uint32_t slot = 0; slot < WALL_SLOTS; slot++) {
        uint32_t index = 0;
        const DoorSlotKind door = doorInSlot(slot, &index);
        if (door == DOOR_SLOT_EMPTY)
            continue;
        RoomFixture *fixture = &out[count++];
        setFixture(fixture, FIXTURE_DOOR, slot, TEX_DOOR);
        snprintf(fixture->label, sizeof fixture->label, "%s",
                 door == DOOR_SLOT_PARENT ? "Parent Folder(..)" : folderNames[index]);
    }
    if (hasPreviousRoom()) {
        RoomFixture *fixture = &out[count++];
        setFixture(fixture, FIXTURE_NEAR_DOOR, 0, TEX_DOOR);
        snprintf(fixture->label, sizeof fixture->label, "Room - %d", roomNumber - 1);
    }
    if (hasNextRoom()) {
        RoomFixture *fixture = &out[count++];
        setFixture(fixture, FIXTURE_FAR_DOOR, 0, TEX_DOOR);
        snprintf(fixture->label, sizeof fixture->label, "Room - %d", roomNumber + 1);
    }
    return count;
}

void buildRoomContents() {
    const uint32_t count = collectRoomFixtures(fixtures);
    // The labels' glyphs are made before the list is compiled; it calls them by name.
    startOutlineTextBatch();
    for (uint32_t i = 0; i < count; i++) {
        prepareOutlineText(fixtures[i].kind == FIXTURE_PICTURE ? PICTURE_LABEL_WIDTH
                                                               : DOOR_LABEL_WIDTH,
                           "%s", fixtures[i].label);
    }
    glNewList(roomContentsList(), GL_COMPILE);
    // Texels of alpha 0 leave no fragment: the wall shows beside a door leaf and around a
    // framed picture.
    glColor3f(1.0f, 1.0f, 1.0f);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
    for (uint32_t i = 0; i < count; i++)
        drawFixture(fixtures[i]);
    glDisable(GL_ALPHA_TEST);
    glEndList();
}
