// keyboard_sdl.cpp -- the Shift state of the key message being handled, from SDL's modifiers.
#include "platform/keyboard.h"

#include <SDL.h>

#include "platform/key_event_state.h"

namespace {
bool keyEventSeen = false;
uint16_t keyEventModifiers = 0;
} // namespace

void noteKeyEventModifiers(uint16_t modifiers) {
    keyEventSeen = true;
    keyEventModifiers = modifiers;
}

bool isShiftDown() {
    uint16_t modifiers =
        keyEventSeen ? keyEventModifiers : static_cast<uint16_t>(SDL_GetModState());
    return (modifiers & KMOD_SHIFT) != 0;
}
