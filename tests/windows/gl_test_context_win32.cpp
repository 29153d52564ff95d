// gl_test_context_win32.cpp -- the GL tests' contexts on Windows: a hidden window with a WGL
// context, its client area the size asked for (read back from its back buffer).
#include "gl/gl_test_context.h"

#include <cstdio>
#include <windows.h>

namespace {

struct TestContext {
    int depthBits = 0;
    HWND window = nullptr;
    HDC device = nullptr;
    HGLRC context = nullptr;
    int width = 0;
    int height = 0;
};

// One context per depth size asked for: the usual 16 bits, and a deeper one.
TestContext contexts[2];
const wchar_t CLASS_NAME[] = L"QuillmereTestContext";

bool registerClass() {
    static bool registered = false;
    if (registered)
        return true;
    WNDCLASSW windowClass = {};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = CLASS_NAME;
    registered = RegisterClassW(&windowClass) != 0;
    return registered;
}

// A never-shown window whose client area is width x height.
HWND makeWindow(int width, int height) {
    RECT outer = {0, 0, width, height};
    AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, FALSE, 0);
    return CreateWindowExW(0, CLASS_NAME, L"GL test", WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS, 0, 0,
                           outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

// A compatibility context (fixed-function pipeline, display lists): 8-bit RGBA and the depth
// asked for.
bool openContext(TestContext *test, int width, int height, int depthBits) {
    test->window = makeWindow(width, height);
    if (test->window == nullptr)
        return false;
    test->device = GetDC(test->window);
    PIXELFORMATDESCRIPTOR request = {};
    request.nSize = sizeof request;
    request.nVersion = 1;
    request.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    request.iPixelType = PFD_TYPE_RGBA;
    request.cColorBits = 32;
    request.cAlphaBits = 8;
    request.cDepthBits = (BYTE)depthBits;
    request.iLayerType = PFD_MAIN_PLANE;
    int format = ChoosePixelFormat(test->device, &request);
    if (format == 0 || !SetPixelFormat(test->device, format, &request))
        return false;
    test->context = wglCreateContext(test->device);
    test->depthBits = depthBits;
    test->width = width;
    test->height = height;
    return test->context != nullptr;
}

} // namespace

bool makeTestGLContextCurrent(int width, int height, int depthBits) {
    if (!registerClass()) {
        fprintf(stderr, "No window class for the test context\n");
        return false;
    }
    TestContext *test = &contexts[depthBits > 16 ? 1 : 0];
    if (test->context == nullptr && !openContext(test, width, height, depthBits)) {
        fprintf(stderr, "No WGL context with %d depth bits\n", depthBits);
        return false;
    }
    if (width != test->width || height != test->height) {
        RECT outer = {0, 0, width, height};
        AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, FALSE, 0);
        SetWindowPos(test->window, nullptr, 0, 0, outer.right - outer.left,
                     outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        test->width = width;
        test->height = height;
    }
    return wglMakeCurrent(test->device, test->context) != 0;
}

void releaseTestGLContext() {
    wglMakeCurrent(nullptr, nullptr);
}
