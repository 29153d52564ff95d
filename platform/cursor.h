// cursor.h -- the mouse cursor: a counted show/hide, warping, and the busy and arrow shapes.
#pragma once

// Raises (show) or lowers (hide) the display counter and returns it; the cursor is visible
// while the counter is 0 or more. It starts at 0.
int showCursor(bool show);

// Moves the cursor to a point in screen coordinates.
void setCursorPos(int x, int y);

// The wait cursor while the gallery is busy, and the normal arrow.
void showBusyCursor();
void showArrowCursor();
