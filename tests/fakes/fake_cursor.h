// fake_cursor.h -- records cursor visibility, warps and shapes instead of changing them.
#pragma once
#include <vector>
#include "platform/cursor.h"

struct CursorPoint {
    int x;
    int y;
};

enum FakeCursorShape { FAKE_CURSOR_ARROW, FAKE_CURSOR_BUSY };

// The display counter showCursor keeps (0 at reset: visible).
extern int fakeCursorCounter;
// Every setCursorPos since the last reset, in order.
extern std::vector<CursorPoint> fakeCursorWarps;
// The shape last chosen, and how many times each was chosen.
extern FakeCursorShape fakeCursorShape;
extern int fakeBusyCursorCalls;
extern int fakeArrowCursorCalls;

void resetFakeCursor();
