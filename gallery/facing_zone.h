// facing_zone.h -- where the viewer stands and which way they face, as the door action and the
// facing captions both read it: an end door, a side wall's slot, or nothing.
#pragma once
#include <cstdint>

enum FacingZoneKind {
    ZONE_NONE,
    ZONE_PREVIOUS_ROOM_DOOR, // at the near-end stop, centred, facing back
    ZONE_NEXT_ROOM_DOOR,     // at the far-end stop, centred, facing on
    ZONE_DOOR_WALL,          // close to the door wall and facing it
    ZONE_PICTURE_WALL,       // close to the picture wall and facing it
};

struct FacingZone {
    FacingZoneKind kind;
    // For the side walls: the wall slot beside the eye and how far along it the eye stands
    // (0 at its near-end edge, 1 at its far-end edge).
    int slot;
    double frac;
};

// The zone of the current camera; the end doors come first, then the door wall, then the
// picture wall. The slot position is computed in double precision from the single-precision
// camera, so the door action and the captions agree on every position.
FacingZone facingZone();

// A side door is faced from the middle of its slot only.
bool facesSideDoor(const FacingZone &zone);

// True when the viewer stands before a picture and faces it, where its caption shows: at the
// picture wall, within 0.2 to 0.8 of a slot that holds a picture; *index is then that picture.
bool facedPicture(uint32_t *index);
