// room_contents.h -- the pictures, doors, name plates and labels that hang in the current room,
// compiled into roomContentsList.
#pragma once
#include <cstdint>

#include "gallery/gallery_state.h"
#include "gallery/text_limits.h"

enum FixtureKind { FIXTURE_PICTURE, FIXTURE_DOOR, FIXTURE_NEAR_DOOR, FIXTURE_FAR_DOOR };

// One thing on a wall of the room: a picture or door in a side-wall slot, or an end door.
struct RoomFixture {
    FixtureKind kind;
    uint32_t slot; // wall slot 0..9 counted from the near end; 0 for the end doors
    int texture;   // entry of textureNames
    char label[FORMAT_BUFFER_SIZE];
};

// Ten pictures, ten doors and the two end doors.
constexpr uint32_t MAX_ROOM_FIXTURES = 2 * WALL_SLOTS + 2;

// z of the centre of side-wall slot i; slot 0 lies next to the near (previous-room) end.
float slotCenterZ(uint32_t slot);

// Lists what the current room window shows, in drawing order: pictures by slot, doors by slot,
// then the near and the far end door. out must hold MAX_ROOM_FIXTURES entries; returns the count.
uint32_t collectRoomFixtures(RoomFixture *out);

// Compiles roomContentsList for the current room. Expects a current context with texturing on,
// the front material set and the polygon offset at (-1, -1).
void buildRoomContents();
