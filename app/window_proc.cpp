// window_proc.cpp -- routes window messages to resizing, activation, keys and mouse steering.
#include "app/window_proc.h"

#include "gallery/display_settings.h"
#include "app/main_window.h"
#include "gallery/key_handling.h"
#include "platform/events.h"

bool windowActive = true;

intptr_t mainWindowProc(unsigned message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
    case WM_SIZE:
        resizeView(lowWord(lParam), highWord(lParam));
        return 0;
    case WM_ACTIVATE:
        windowActive = highWord((intptr_t)wParam) == 0;
        return 0;
    case WM_CLOSE:
        postQuitMessage(0);
        return 0;
    case WM_KEYDOWN:
        handleKey((uint32_t)wParam, true);
        return 0;
    case WM_KEYUP:
        handleKey((uint32_t)wParam, false);
        return 0;
    case WM_SYSCOMMAND:
        // No screen saver and no monitor power-off while the gallery is open.
        if (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER)
            return 0;
        break;
    case WM_MOUSEMOVE:
        if (mouseNavigation)
            mouseLook(pointX(lParam), pointY(lParam));
        return 0;
    case WM_LBUTTONDOWN:
        // A click acts as Enter: it opens the door in front.
        handleKey(VK_RETURN, true);
        return 0;
    }
    return defWindowProc(message, wParam, lParam);
}
