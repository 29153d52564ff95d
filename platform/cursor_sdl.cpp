// cursor_sdl.cpp -- the counted cursor visibility, warping and cursor shapes through SDL.
#include "platform/cursor.h"

#include <SDL.h>

static int displayCounter = 0;
static SDL_Cursor *busyCursor = nullptr;

int showCursor(bool show) {
    displayCounter += show ? 1 : -1;
    SDL_ShowCursor(displayCounter >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return displayCounter;
}

void setCursorPos(int x, int y) {
    if (SDL_WarpMouseGlobal(x, y) == 0)
        return;
    // Window systems without global warping still move the pointer inside a window.
    SDL_Window *window = SDL_GetMouseFocus();
    if (!window)
        window = SDL_GetKeyboardFocus();
    if (!window)
        return;
    int left = 0, top = 0;
    SDL_GetWindowPosition(window, &left, &top);
    SDL_WarpMouseInWindow(window, x - left, y - top);
}

void showBusyCursor() {
    if (!busyCursor)
        busyCursor = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT);
    if (busyCursor)
        SDL_SetCursor(busyCursor);
}

void showArrowCursor() {
    SDL_Cursor *arrow = SDL_GetDefaultCursor();
    if (arrow)
        SDL_SetCursor(arrow);
    // The busy cursor lives only while it is shown: a closed window system frees every cursor.
    if (busyCursor) {
        SDL_FreeCursor(busyCursor);
        busyCursor = nullptr;
    }
}
