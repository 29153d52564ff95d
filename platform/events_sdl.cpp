// events_sdl.cpp -- SDL events translated into window messages.
#include "platform/events.h"
#include "platform/key_event_state.h"

#include <SDL.h>

static bool quitPosted = false;
static int quitExitCode = 0;

// The navigation key a keypad key stands for while Num Lock is off, or the key itself.
static SDL_Keycode keypadTwin(SDL_Keycode key, uint16_t modifiers) {
    if (modifiers & KMOD_NUM)
        return key;
    switch (key) {
    case SDLK_KP_8:
        return SDLK_UP;
    case SDLK_KP_2:
        return SDLK_DOWN;
    case SDLK_KP_4:
        return SDLK_LEFT;
    case SDLK_KP_6:
        return SDLK_RIGHT;
    case SDLK_KP_7:
        return SDLK_HOME;
    case SDLK_KP_1:
        return SDLK_END;
    case SDLK_KP_9:
        return SDLK_PAGEUP;
    case SDLK_KP_3:
        return SDLK_PAGEDOWN;
    case SDLK_KP_0:
        return SDLK_INSERT;
    case SDLK_KP_PERIOD:
        return SDLK_DELETE;
    default:
        return key;
    }
}

// Virtual-key code of a key: letters as their capitals, digits as their characters, the
// function and navigation keys as the classic codes; 0 for keys the codes do not cover.
static uintptr_t virtualKey(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z)
        return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9)
        return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return 112 + (key - SDLK_F1);
    switch (key) {
    case SDLK_BACKSPACE:
        return 8;
    case SDLK_TAB:
        return 9;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return 13;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return 16;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        return 17;
    case SDLK_LALT:
    case SDLK_RALT:
        return 18;
    case SDLK_PAUSE:
        return 19;
    case SDLK_CAPSLOCK:
        return 20;
    case SDLK_ESCAPE:
        return 27;
    case SDLK_SPACE:
        return 32;
    case SDLK_PAGEUP:
        return 33;
    case SDLK_PAGEDOWN:
        return 34;
    case SDLK_END:
        return 35;
    case SDLK_HOME:
        return 36;
    case SDLK_LEFT:
        return 37;
    case SDLK_UP:
        return 38;
    case SDLK_RIGHT:
        return 39;
    case SDLK_DOWN:
        return 40;
    case SDLK_INSERT:
        return 45;
    case SDLK_DELETE:
        return 46;
    case SDLK_KP_0:
        return 0x60;
    case SDLK_KP_1:
        return 0x61;
    case SDLK_KP_PLUS:
        return 0x6B;
    case SDLK_KP_MINUS:
        return 0x6D;
    case SDLK_PLUS:
    case SDLK_EQUALS:
        return 0xBB;
    case SDLK_MINUS:
        return 0xBD;
    default:
        return 0;
    }
}

// The MK_ flags of a mouse message: the left button as the button state says, Ctrl as the
// keyboard's.
static uintptr_t mouseKeys(uint32_t buttons) {
    uintptr_t keys = 0;
    if (buttons & SDL_BUTTON_LMASK)
        keys |= MK_LBUTTON;
    if (SDL_GetModState() & KMOD_CTRL)
        keys |= MK_CONTROL;
    return keys;
}

// Left button down and up, right button down; other buttons are not used.
static bool buttonMessage(const SDL_MouseButtonEvent &button, WindowMessage *out) {
    if (!SDL_GetWindowFromID(button.windowID))
        return false;
    unsigned message;
    if (button.button == SDL_BUTTON_LEFT)
        message = button.type == SDL_MOUSEBUTTONDOWN ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    else if (button.button == SDL_BUTTON_RIGHT && button.type == SDL_MOUSEBUTTONDOWN)
        message = WM_RBUTTONDOWN;
    else
        return false;
    uintptr_t keys = mouseKeys(SDL_GetMouseState(nullptr, nullptr));
    *out = {message, keys, makeLParam(button.x, button.y)};
    return true;
}

// High word of WM_ACTIVATE's wParam: non-zero while the window is minimised.
static uintptr_t activation(const SDL_WindowEvent &event, bool active) {
    SDL_Window *window = SDL_GetWindowFromID(event.windowID);
    bool minimised = window && (SDL_GetWindowFlags(window) & SDL_WINDOW_MINIMIZED);
    return (uintptr_t)(active ? 1 : 0) | ((uintptr_t)(minimised ? 1 : 0) << 16);
}

// Keys with Alt held, Alt itself and F10 are system keys: the window system's own (menus,
// window moves), never the gallery's.
static unsigned keyMessage(const SDL_KeyboardEvent &key) {
    bool system = (key.keysym.mod & KMOD_ALT) || key.keysym.sym == SDLK_F10 ||
                  key.keysym.sym == SDLK_LALT || key.keysym.sym == SDLK_RALT;
    if (key.type == SDL_KEYDOWN)
        return system ? WM_SYSKEYDOWN : WM_KEYDOWN;
    return system ? WM_SYSKEYUP : WM_KEYUP;
}

// The message an event stands for; false for events the gallery has no message for, and for
// events of a window that no longer exists (left over from a fullscreen switch).
static bool translate(const SDL_Event &event, WindowMessage *out) {
    switch (event.type) {
    case SDL_QUIT:
        *out = {WM_CLOSE, 0, 0};
        return true;
    case SDL_WINDOWEVENT:
        if (!SDL_GetWindowFromID(event.window.windowID))
            return false;
        switch (event.window.event) {
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            *out = {WM_SIZE, 0, makeLParam(event.window.data1, event.window.data2)};
            return true;
        case SDL_WINDOWEVENT_MINIMIZED:
            *out = {WM_ACTIVATE, (uintptr_t)1 << 16, 0};
            return true;
        case SDL_WINDOWEVENT_RESTORED:
            *out = {WM_ACTIVATE, 1, 0};
            return true;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            *out = {WM_ACTIVATE, activation(event.window, true), 0};
            return true;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            *out = {WM_ACTIVATE, activation(event.window, false), 0};
            return true;
        case SDL_WINDOWEVENT_CLOSE:
            *out = {WM_CLOSE, 0, 0};
            return true;
        default:
            return false;
        }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (!SDL_GetWindowFromID(event.key.windowID))
            return false;
        noteKeyEventModifiers(event.key.keysym.mod);
        // Auto-repeated presses arrive as further key-down messages.
        *out = {keyMessage(event.key),
                virtualKey(keypadTwin(event.key.keysym.sym, event.key.keysym.mod)), 0};
        return true;
    case SDL_MOUSEMOTION:
        if (!SDL_GetWindowFromID(event.motion.windowID))
            return false;
        *out = {WM_MOUSEMOVE, mouseKeys(event.motion.state),
                makeLParam(event.motion.x, event.motion.y)};
        return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        return buttonMessage(event.button, out);
    case SDL_MOUSEWHEEL: {
        if (!SDL_GetWindowFromID(event.wheel.windowID) || event.wheel.y == 0)
            return false;
        int y = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
        int pointerX = 0, pointerY = 0;
        uint32_t buttons = SDL_GetMouseState(&pointerX, &pointerY);
        uintptr_t delta = (uintptr_t)(uint16_t)(int16_t)(y * WHEEL_DELTA);
        *out = {WM_MOUSEWHEEL, mouseKeys(buttons) | delta << 16, makeLParam(pointerX, pointerY)};
        return true;
    }
    default:
        return false;
    }
}

bool pollMessage(WindowMessage *out) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (translate(event, out))
            return true;
    }
    // Like the classic queue, the quit request comes once nothing else is waiting.
    if (quitPosted) {
        quitPosted = false;
        *out = {WM_QUIT, (uintptr_t)quitExitCode, 0};
        return true;
    }
    return false;
}

// SDL and the window manager already do the default handling themselves.
intptr_t defWindowProc(unsigned, uintptr_t, intptr_t) {
    return 0;
}

void postQuitMessage(int exitCode) {
    quitPosted = true;
    quitExitCode = exitCode;
}
