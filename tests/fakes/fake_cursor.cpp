// fake_cursor.cpp -- a cursor that only keeps count.
#include "fakes/fake_cursor.h"

int fakeCursorCounter = 0;
std::vector<CursorPoint> fakeCursorWarps;
FakeCursorShape fakeCursorShape = FAKE_CURSOR_ARROW;
int fakeBusyCursorCalls = 0;
int fakeArrowCursorCalls = 0;

int showCursor(bool show) {
    fakeCursorCounter += show ? 1 : -1;
    return fakeCursorCounter;
}

void setCursorPos(int x, int y) {
    fakeCursorWarps.push_back({x, y});
}

void showBusyCursor() {
    fakeCursorShape = FAKE_CURSOR_BUSY;
    fakeBusyCursorCalls++;
}

void showArrowCursor() {
    fakeCursorShape = FAKE_CURSOR_ARROW;
    fakeArrowCursorCalls++;
}

void resetFakeCursor() {
    fakeCursorCounter = 0;
    fakeCursorWarps.clear();
    fakeCursorShape = FAKE_CURSOR_ARROW;
    fakeBusyCursorCalls = 0;
    fakeArrowCursorCalls = 0;
}
