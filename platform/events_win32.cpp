// events_win32.cpp -- window messages through PeekMessageW and the window procedure: the
// messages the gallery acts on wait in a queue until pollMessage hands them over.
#include "platform/events.h"
#include "platform/window_proc_win32.h"

#include <windowsx.h>

#include <deque>

namespace {
// Posted messages pass through DispatchMessageW and sent ones (size, activation, close) come
// straight to the procedure; both join this queue in the order they arrived. Main thread only.
std::deque<WindowMessage> queued;

void enqueue(UINT message, WPARAM wParam, LPARAM lParam) {
    queued.push_back({message, (uintptr_t)wParam, (intptr_t)lParam});
}
} // namespace

LRESULT CALLBACK galleryWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
    case WM_ACTIVATE:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
        enqueue(message, wParam, lParam);
        return 0;
    case WM_MOUSEWHEEL: {
        // The system gives the pointer on the screen; the gallery takes window coordinates.
        POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(window, &point);
        enqueue(message, wParam, MAKELPARAM(point.x, point.y));
        return 0;
    }
    case WM_CLOSE:
        // The gallery posts the quit request; the window is destroyed by its own teardown.
        enqueue(message, wParam, lParam);
        return 0;
    case WM_SYSCOMMAND:
        // The answer is needed now, so the refusal the gallery makes is made here. F10 or a
        // lone Alt would also start the window's menu loop, which holds the walk still until
        // another key ends it: the gallery has no menu, so that is refused too.
        if ((wParam & 0xFFF0) == SC_SCREENSAVE || (wParam & 0xFFF0) == SC_MONITORPOWER ||
            (wParam & 0xFFF0) == SC_KEYMENU)
            return 0;
        break;
    }
    // System keys (Alt combinations such as Alt+F4) and everything else get the default
    // handling.
    return DefWindowProcW(window, message, wParam, lParam);
}

bool pollMessage(WindowMessage *out) {
    for (;;) {
        if (!queued.empty()) {
            *out = queued.front();
            queued.pop_front();
            return true;
        }
        MSG message;
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            return false;
        if (message.message == WM_QUIT) {
            *out = {WM_QUIT, (uintptr_t)message.wParam, 0};
            return true;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// The window procedure already gave every message the default handling it needs.
intptr_t defWindowProc(unsigned, uintptr_t, intptr_t) {
    return 0;
}

void postQuitMessage(int exitCode) {
    PostQuitMessage(exitCode);
}
