// view_angles.h -- turning and tilting the view by any amount, the tilt kept short of straight
// up and down (the smooth mouse's rule, which the keys follow while it is on).
#pragma once

// How far the view may tilt from level, in degrees.
constexpr float PITCH_LIMIT = 89.0f;

// pitch + change, kept within PITCH_LIMIT of level. Pitch is stored 0..360 with positive
// tilting down, so the result lies in [0, 89] (down) or [271, 360) (up); a pitch that was
// outside (the view turned over) comes back to the nearer limit.
float tiltWithinLimits(float pitch, float change);

// heading + change, wrapped into [0, 360).
float turnedHeading(float heading, float change);
