// cursor_win32.cpp -- the counted cursor visibility, warping and cursor shapes of Win32.
#include "platform/cursor.h"

#include <windows.h>

int showCursor(bool show) {
    return ShowCursor(show ? TRUE : FALSE);
}

void setCursorPos(int x, int y) {
    SetCursorPos(x, y);
}

void showBusyCursor() {
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514))); // IDC_WAIT
}

void showArrowCursor() {
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32512))); // IDC_ARROW
}
