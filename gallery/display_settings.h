// display_settings.h -- the choices of the startup dialog that shape the window and rendering.
#pragma once
#include <cstdint>

struct Resolution {
    int32_t width;
    int32_t height;
};

constexpr int RESOLUTION_COUNT = 3;
extern const Resolution resolutionTable[RESOLUTION_COUNT]; // 640x480, 800x600, 1024x768

// Bits per pixel of the fullscreen mode and colour bits of the pixel format.
constexpr int colorBits = 16;

enum AntialiasLevel { ANTIALIAS_LOW = 0, ANTIALIAS_MEDIUM = 1, ANTIALIAS_HIGH = 2 };

extern int32_t screenWidth;    // 800
extern int32_t screenHeight;   // 600
extern bool fullscreen;        // false
extern int32_t antialiasLevel; // ANTIALIAS_HIGH
extern bool mouseNavigation;   // true
// With mouse navigation: turn and tilt in proportion to the mouse's movement, the tilt kept
// short of straight up and down, instead of one fixed step per movement.
extern bool smoothMouse; // false

// Back to the initial values (the dialog's initial selections).
void resetDisplaySettings();
