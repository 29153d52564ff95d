// keyboard_sdl.cpp -- the Shift state from SDL's modifier keys.
#include "platform/keyboard.h"

#include <SDL.h>

bool isShiftDown() {
    return (SDL_GetModState() & KMOD_SHIFT) != 0;
}
