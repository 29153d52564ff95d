// fake_keyboard.cpp -- keyboard state set by the tests.
#include "fakes/fake_keyboard.h"

bool fakeShiftDown = false;

bool isShiftDown() {
    return fakeShiftDown;
}
