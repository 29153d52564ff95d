// overlays.h -- the 2D screens drawn over or instead of the scene: the loading screen with its
// progress bar, and the help overlay with its frames-per-second counter.
#pragma once
#include <cstdint>

// Height of the progress bar in pixels, and the length of one repetition of its textures.
constexpr int32_t progressBarHeight = 32;

constexpr int HELP_LINE_COUNT = 23;
extern const char *const helpLines[HELP_LINE_COUNT];

// Frame counter: overlay frames since the last update, the tick of that update, and the rate
// shown. All start at 0.
extern uint32_t framesCounted;
extern uint32_t lastFpsTick;
extern uint32_t framesPerSecond;

// Clears the window, draws the message over a bar filled to percent (clamped to 0..100) and
// presents it at once. Always true.
bool drawProgressScreen(const char *message, int percent);

// Writes the help text and the frame counter over the current frame, without clearing or
// presenting. Always true.
bool drawHelpOverlay();
