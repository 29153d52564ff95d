// key_handling.h -- walking, turning, looking and the other key actions of the gallery.
#pragma once
#include <cstdint>

// Virtual-key codes the gallery acts on (on Windows the system's own, from windows.h where a
// file includes it).
#ifndef VK_RETURN
constexpr uint32_t VK_RETURN = 13;
constexpr uint32_t VK_ESCAPE = 27;
constexpr uint32_t VK_SPACE = 32;
constexpr uint32_t VK_LEFT = 37;
constexpr uint32_t VK_UP = 38;
constexpr uint32_t VK_RIGHT = 39;
constexpr uint32_t VK_DOWN = 40;
constexpr uint32_t VK_F1 = 112;
constexpr uint32_t VK_F2 = 113;
#endif

// F2's window/fullscreen switch lives in the window layer above; it hands it down at start-up.
// Until then F2 does nothing.
void setFullscreenToggle(void (*toggle)());

// One key press (pressed true) or release; a left click arrives as a press of VK_RETURN.
void handleKey(uint32_t keyCode, bool pressed);
