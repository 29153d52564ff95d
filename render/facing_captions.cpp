// facing_captions.cpp -- chooses and draws the caption of the picture, door or end door the
// viewer faces, with an opacity that grows toward the middle of its spot and a square view.
#include "render/facing_captions.h"

#include <GL/gl.h>
#include <cmath>
#include <cstdio>

#include "gallery/display_settings.h"
#include "gallery/facing_zone.h"
#include "gallery/gallery_state.h"
#include "gallery/text_limits.h"
#include "render/text.h"
#include "render/text_layout.h"

namespace {

// Each term of a caption's opacity lies within 0 to 0.5.
double clampTerm(double v) {
    if (v > 0.5)
        return 0.5;
    if (v < 0.0)
        return 0.0;
    return v;
}

// 0.5 when facing the target head-on, 0 at either end of the 40-degree window.
double headingTerm(float deviation) {
    return clampTerm((20.0f - deviation) * 0.05f * 0.5f);
}

// A name as the caption; one longer than the buffer (a deep mount point) is cut between
// characters.
void nameCaption(char *text, size_t size, const char *name) {
    if (static_cast<size_t>(snprintf(text, size, "%s", name)) >= size)
        text[completeCharactersLength(text, size - 1)] = '\0';
}

// The caption of the side door faced, the same door Enter would open.
bool doorWallCaption(char *text, size_t size, const FacingZone &zone) {
    if (!facesSideDoor(zone))
        return false;
    uint32_t index = 0;
    switch (doorInSlot(static_cast<uint32_t>(zone.slot), &index)) {
    case DOOR_SLOT_PARENT:
        snprintf(text, size, "%s", "Parent Folder(..)");
        return true;
    case DOOR_SLOT_FOLDER:
        nameCaption(text, size, folderNames[index]);
        return true;
    default:
        return false;
    }
}

// The name of the picture faced.
bool pictureWallCaption(char *text, size_t size) {
    uint32_t index = 0;
    if (!facedPicture(&index))
        return false;
    nameCaption(text, size, pictureNames[index]);
    return true;
}

} // namespace

bool chooseFacingCaption(char *text, size_t size, float *alpha) {
    const FacingZone zone = facingZone();
    const float h = viewHeading;
    const double frac = zone.frac;
    switch (zone.kind) {
    case ZONE_PREVIOUS_ROOM_DOOR:
        if (!hasPreviousRoom())
            return false;
        snprintf(text, size, "Room - %d", roomNumber - 1);
        *alpha = static_cast<float>(clampTerm(0.5f - std::fabs(viewX)) +
                                    headingTerm(std::fabs(180.0f - h)));
        return true;
    case ZONE_NEXT_ROOM_DOOR: {
        if (!hasNextRoom())
            return false;
        float deviation = h >= 340.0f ? 360.0f - h : h;
        snprintf(text, size, "Room - %d", roomNumber + 1);
        *alpha = static_cast<float>(clampTerm(0.5f - std::fabs(viewX)) + headingTerm(deviation));
        return true;
    }
    case ZONE_DOOR_WALL:
        if (!doorWallCaption(text, size, zone))
            return false;
        *alpha = static_cast<float>(clampTerm((0.1f - std::fabs(0.5f - frac)) * 10 * 0.5) +
                                    headingTerm(std::fabs(270.0f - h)));
        return true;
    case ZONE_PICTURE_WALL:
        if (!pictureWallCaption(text, size))
            return false;
        *alpha = static_cast<float>(clampTerm((0.3f - std::fabs(0.5f - frac)) * 3.3333333f * 0.5) +
                                    headingTerm(std::fabs(90.0f - h)));
        return true;
    case ZONE_NONE:
        break;
    }
    return false;
}

void drawFacingCaption() {
    char text[CAPTION_BUFFER_SIZE];
    float alpha = 0.0f;
    if (!chooseFacingCaption(text, sizeof text, &alpha))
        return;
    glColor4f(1.0f, 1.0f, 1.0f, alpha);
    drawScreenText(screenWidth / 2, screenHeight / 2, ALIGN_CENTER, screenWidth - 20, "%s", text);
}
