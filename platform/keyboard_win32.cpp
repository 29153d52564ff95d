// keyboard_win32.cpp -- the Shift state as of the message being handled, from GetKeyState.
#include "platform/keyboard.h"

#include <windows.h>

bool isShiftDown() {
    return (GetKeyState(VK_SHIFT) & 0x8000) != 0;
}
