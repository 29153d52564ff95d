// ticks_sdl.cpp -- the millisecond clock from SDL.
#include "platform/ticks.h"

#include <SDL.h>

uint32_t getTickCount() {
    return (uint32_t)SDL_GetTicks();
}
