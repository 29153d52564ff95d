// key_event_state.h -- shared by the SDL event and keyboard services: the modifier keys as
// they were when the key message now being handled was made, not as they are after the whole
// queue was read, so a quick Shift chord is seen as a chord.
#pragma once
#include <cstdint>

// Called by the event translation for every key press and release.
void noteKeyEventModifiers(uint16_t modifiers);
