// view_angles.cpp -- tilt clamped to +-89 degrees, heading wrapped onto the circle.
#include "gallery/view_angles.h"

#include <cmath>

float tiltWithinLimits(float pitch, float change) {
    // As an angle from level: negative up, positive down.
    float fromLevel = pitch > 180.0f ? pitch - 360.0f : pitch;
    fromLevel += change;
    if (fromLevel > PITCH_LIMIT)
        fromLevel = PITCH_LIMIT;
    else if (fromLevel < -PITCH_LIMIT)
        fromLevel = -PITCH_LIMIT;
    if (fromLevel >= 0.0f)
        return fromLevel;
    float stored = fromLevel + 360.0f;
    // A hair above level rounds to 360, which is level itself.
    return stored >= 360.0f ? 0.0f : stored;
}

float turnedHeading(float heading, float change) {
    float turned = std::fmod(heading + change, 360.0f);
    if (turned < 0.0f)
        turned += 360.0f;
    return turned >= 360.0f ? 0.0f : turned;
}
