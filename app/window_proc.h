// window_proc.h -- the gallery window's message handler.
#pragma once
#include <cstdint>

// False only while the window is minimised; the main loop draws only while it is true.
extern bool windowActive;

// Acts on one window message: 0 for the messages the gallery handles, the default handling's
// result for the others.
intptr_t mainWindowProc(unsigned message, uintptr_t wParam, intptr_t lParam);
