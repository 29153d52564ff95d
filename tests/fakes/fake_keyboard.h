// fake_keyboard.h -- a settable Shift key.
#pragma once
#include "platform/keyboard.h"

// What isShiftDown reports.
extern bool fakeShiftDown;
