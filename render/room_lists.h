// room_lists.h -- the block of display lists the renderer shares, and the room shell.
#pragma once
#include <GL/gl.h>

constexpr GLsizei DISPLAY_LIST_COUNT = 514;

// First name of the block; reserved afresh with every rendering context.
extern GLuint displayListBase;

inline GLuint roomShellList() {
    return displayListBase + 0;
}
inline GLuint roomContentsList() {
    return displayListBase + 1;
}
inline GLuint outlineFontBase() {
    return displayListBase + 2;
}
inline GLuint bitmapFontBase() {
    return displayListBase + 258;
}

// Emits walls, floor and ceiling into the display list being compiled. Always true.
bool buildRoomShell(float width, float height, float length);
