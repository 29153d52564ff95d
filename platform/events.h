// events.h -- the window system's events as window messages, polled without waiting.
#pragma once
#include <cstdint>

// Message ids, numbered like the classic window messages they stand for. On Windows they are
// the system's own, and windows.h, wherever a file includes it, defines these same names.
#ifndef WM_SIZE
enum : unsigned {
    WM_SIZE = 0x0005,
    WM_ACTIVATE = 0x0006,
    WM_CLOSE = 0x0010,
    WM_QUIT = 0x0012,
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_SYSKEYDOWN = 0x0104,
    WM_SYSKEYUP = 0x0105,
    WM_SYSCOMMAND = 0x0112,
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_RBUTTONDOWN = 0x0204,
    WM_MOUSEWHEEL = 0x020A,
};

// Mouse messages' wParam low word: the buttons and keys held.
enum : unsigned { MK_LBUTTON = 0x0001, MK_CONTROL = 0x0008 };
// One notch of the wheel.
constexpr int WHEEL_DELTA = 120;

// WM_SYSCOMMAND requests the window refuses while it is open. SDL delivers no system commands
// (the window refuses the screen saver itself); the Windows window system does.
enum : unsigned { SC_SCREENSAVE = 0xF140, SC_MONITORPOWER = 0xF170 };
#endif

// One message. WM_SIZE: lParam = width | height << 16. WM_ACTIVATE: wParam high word non-zero
// when minimised. WM_KEYDOWN/WM_KEYUP: wParam = virtual-key code (13 Enter, 27 Escape, 32 Space,
// 37-40 arrows, 65-90 letters as capitals, 112 F1, 113 F2; the keypad's arrows and Enter as
// these; + and - as 0xBB and 0xBD, on the keypad 0x6B and 0x6D). WM_SYSKEYDOWN/WM_SYSKEYUP: the
// same for system keys: any key with Alt held, Alt itself, and F10. WM_MOUSEMOVE,
// WM_LBUTTONDOWN, WM_LBUTTONUP and WM_RBUTTONDOWN: lParam = client x | client y << 16, wParam
// = the MK_ flags held. WM_MOUSEWHEEL: wParam = MK_ flags | signed wheel delta << 16 (120 a
// notch, positive away from the user); lParam = the pointer in client coordinates (unlike the
// system's own message, which gives it on the screen). WM_QUIT: wParam = exit code.
struct WindowMessage {
    unsigned message;
    uintptr_t wParam;
    intptr_t lParam;
};

// Packs two 16-bit values the way the message parameters carry them.
inline intptr_t makeLParam(int low, int high) {
    return (intptr_t)(((uint32_t)(uint16_t)low) | ((uint32_t)(uint16_t)high << 16));
}
inline int lowWord(intptr_t value) {
    return (int)(uint16_t)(value & 0xFFFF);
}
inline int highWord(intptr_t value) {
    return (int)(uint16_t)((value >> 16) & 0xFFFF);
}
// Signed coordinates from a mouse message's lParam.
inline int pointX(intptr_t value) {
    return (int)(int16_t)(value & 0xFFFF);
}
inline int pointY(intptr_t value) {
    return (int)(int16_t)((value >> 16) & 0xFFFF);
}

// Takes the next pending message, if any, without waiting.
bool pollMessage(WindowMessage *out);

// The window system's own handling of a message the gallery leaves alone, and its result.
intptr_t defWindowProc(unsigned message, uintptr_t wParam, intptr_t lParam);

// Asks the main loop to end: the next poll yields WM_QUIT.
void postQuitMessage(int exitCode);
