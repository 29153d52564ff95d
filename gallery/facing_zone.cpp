// facing_zone.cpp -- the one decision of which door zone or wall slot the viewer stands in.
#include "gallery/facing_zone.h"

#include "gallery/gallery_state.h"

namespace {

// The end doors are open only to a viewer centred on them and standing at the end stop.
bool centredOnEndDoor() {
    return viewX >= -0.5f && viewX <= 0.5f;
}

} // namespace

FacingZone facingZone() {
    const float limit = zLimit();
    const float h = viewHeading;
    // Slots are 2.5 apart from the near end wall.
    const double s = (roomLength / 2.0f + static_cast<double>(viewZ)) * static_cast<double>(0.4f);
    const int slot = static_cast<int>(s);
    FacingZone zone = {ZONE_NONE, slot, s - slot};

    if (viewZ == -limit && centredOnEndDoor() && h >= 160.0f && h <= 200.0f)
        zone.kind = ZONE_PREVIOUS_ROOM_DOOR;
    // The stop keeps viewZ at the limit; at or past it counts.
    else if (viewZ >= limit && centredOnEndDoor() && (h >= 340.0f || h <= 20.0f))
        zone.kind = ZONE_NEXT_ROOM_DOOR;
    else if (viewX <= -1.3f && h >= 250.0f && h <= 290.0f)
        zone.kind = ZONE_DOOR_WALL;
    else if (viewX >= 1.3f && h >= 70.0f && h <= 110.0f)
        zone.kind = ZONE_PICTURE_WALL;
    return zone;
}

bool facesSideDoor(const FacingZone &zone) {
    return zone.kind == ZONE_DOOR_WALL && zone.slot >= 0 && zone.frac >= 0.45f &&
           zone.frac <= 0.65f;
}

bool facedPicture(uint32_t *index) {
    const FacingZone zone = facingZone();
    if (zone.kind != ZONE_PICTURE_WALL || zone.slot < 0 || zone.frac < 0.2f || zone.frac > 0.8f)
        return false;
    return pictureInSlot(static_cast<uint32_t>(zone.slot), index);
}
