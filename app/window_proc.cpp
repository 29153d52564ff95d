// window_proc.cpp -- routes window messages to resizing, activation, keys and mouse steering, or
// to the picture view while it is open.
#include "app/window_proc.h"

#include "app/main_window.h"
#include "app/picture_view_screen.h"
#include "gallery/display_settings.h"
#include "gallery/key_handling.h"
#include "gallery/picture_view.h"
#include "gallery/picture_view_input.h"
#include "platform/events.h"

bool windowActive = true;

namespace {

// Keys, clicks, wheel and drags while the picture view is open; true when the message was one.
bool routeToPictureView(unsigned message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
        handleViewKey((uint32_t)wParam, message == WM_KEYDOWN);
        break;
    case WM_MOUSEMOVE:
        dragView(pointX(lParam), pointY(lParam));
        break;
    case WM_LBUTTONDOWN:
        beginViewDrag(pointX(lParam), pointY(lParam));
        break;
    case WM_LBUTTONUP:
        endViewDrag();
        break;
    case WM_RBUTTONDOWN:
        closePictureView();
        break;
    case WM_MOUSEWHEEL:
        handleViewWheel((int16_t)highWord((intptr_t)wParam) / WHEEL_DELTA,
                        (wParam & MK_CONTROL) != 0, pointX(lParam), pointY(lParam));
        break;
    default:
        return false;
    }
    afterPictureViewInput();
    return true;
}

// Enter, Space or a click where a picture's caption shows opens the picture view; elsewhere
// they act on the door in front.
void openOrPress(uint32_t keyCode) {
    if (!openPictureViewScreen())
        handleKey(keyCode, true);
}

} // namespace

intptr_t mainWindowProc(unsigned message, uintptr_t wParam, intptr_t lParam) {
    if (pictureView.open && routeToPictureView(message, wParam, lParam))
        return 0;
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
        if (wParam == VK_RETURN || wParam == VK_SPACE)
            openOrPress((uint32_t)wParam);
        else
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
        // A click acts as Enter: it opens the picture or the door in front.
        openOrPress(VK_RETURN);
        return 0;
    }
    return defWindowProc(message, wParam, lParam);
}
