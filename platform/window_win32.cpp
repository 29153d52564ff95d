// window_win32.cpp -- the gallery window, its pixel format and WGL context, and the fullscreen
// display mode through Win32.
#include "platform/window.h"

#include <windows.h>

#include "platform/wide_text.h"
#include "platform/window_proc_win32.h"

namespace {
const wchar_t CLASS_NAME[] = L"OpenGL";
HINSTANCE appInstance = nullptr;
HWND window = nullptr;
HDC windowDevice = nullptr;
PIXELFORMATDESCRIPTOR formatRequest;
bool swapIntervalAsked = false;

// Frames are paced by the swap where the driver syncs to the display; elsewhere (a virtual
// display, a software renderer) by waiting out the rest of the display's frame here.
void paceFrame() {
    static LARGE_INTEGER lastSwap = {};
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    int refresh = GetDeviceCaps(windowDevice, VREFRESH);
    if (refresh <= 1)
        refresh = 60;
    LONGLONG period = frequency.QuadPart / refresh;
    if (lastSwap.QuadPart != 0 && now.QuadPart - lastSwap.QuadPart < period) {
        Sleep((DWORD)((period - (now.QuadPart - lastSwap.QuadPart)) * 1000 / frequency.QuadPart));
        QueryPerformanceCounter(&now);
    }
    lastSwap = now;
}

// Vertical sync where the driver offers it (WGL_EXT_swap_control), once per context.
void askForSwapInterval() {
    typedef BOOL(WINAPI * SwapIntervalProc)(int);
    SwapIntervalProc swapInterval =
        (SwapIntervalProc)(void *)wglGetProcAddress("wglSwapIntervalEXT");
    if (swapInterval != nullptr)
        swapInterval(1);
}
} // namespace

bool registerWindowClass() {
    appInstance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = galleryWindowProc;
    windowClass.hInstance = appInstance;
    // The program's own icon, or the system's when it has none.
    windowClass.hIcon = LoadIconW(appInstance, MAKEINTRESOURCEW(1));
    if (windowClass.hIcon == nullptr)
        windowClass.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32517)); // IDI_WINLOGO
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.lpszClassName = CLASS_NAME;
    return RegisterClassW(&windowClass) != 0;
}

bool unregisterWindowClass() {
    bool unregistered = UnregisterClassW(CLASS_NAME, appInstance) != 0;
    appInstance = nullptr;
    return unregistered;
}

bool changeDisplayMode(int width, int height, int) {
    // Width and height only: the colour depth stays the display's own, since current displays
    // offer no 16-bit modes at all.
    DEVMODEW mode = {};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = (DWORD)width;
    mode.dmPelsHeight = (DWORD)height;
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    return ChangeDisplaySettingsW(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
}

void restoreDisplayMode() {
    ChangeDisplaySettingsW(nullptr, 0);
}

WindowHandle createWindow(const char *title, int width, int height, bool fullscreenStyle) {
    if (window != nullptr)
        return nullptr;
    DWORD exStyle = fullscreenStyle ? WS_EX_APPWINDOW : WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
    DWORD style = fullscreenStyle ? WS_POPUP : WS_OVERLAPPEDWINDOW;
    RECT outer = {0, 0, width, height};
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    window = CreateWindowExW(
        exStyle, CLASS_NAME, widen(title).c_str(), style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
        outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr, appInstance, nullptr);
    if (window == nullptr)
        return nullptr;
    // No screen saver and no display power-off while the gallery is open.
    SetThreadExecutionState(ES_CONTINUOUS | ES_DISPLAY_REQUIRED);
    return (WindowHandle)window;
}

bool destroyWindow(WindowHandle handle) {
    if (window == nullptr || (HWND)handle != window)
        return false;
    bool destroyed = DestroyWindow(window) != 0;
    window = nullptr;
    SetThreadExecutionState(ES_CONTINUOUS);
    return destroyed;
}

DeviceHandle getDeviceContext(WindowHandle handle) {
    windowDevice = GetDC((HWND)handle);
    return (DeviceHandle)windowDevice;
}

bool releaseDeviceContext(WindowHandle handle, DeviceHandle device) {
    if ((HDC)device == windowDevice)
        windowDevice = nullptr;
    return ReleaseDC((HWND)handle, (HDC)device) == 1;
}

int choosePixelFormat(DeviceHandle device, int colorBits, int depthBits) {
    formatRequest = {};
    formatRequest.nSize = sizeof formatRequest;
    formatRequest.nVersion = 1;
    formatRequest.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    formatRequest.iPixelType = PFD_TYPE_RGBA;
    formatRequest.cColorBits = (BYTE)colorBits;
    formatRequest.cDepthBits = (BYTE)depthBits;
    formatRequest.iLayerType = PFD_MAIN_PLANE;
    return ChoosePixelFormat((HDC)device, &formatRequest);
}

bool setPixelFormat(DeviceHandle device, int format) {
    return SetPixelFormat((HDC)device, format, &formatRequest) != 0;
}

ContextHandle createGLContext(DeviceHandle device) {
    swapIntervalAsked = false;
    return (ContextHandle)wglCreateContext((HDC)device);
}

bool makeGLContextCurrent(DeviceHandle device, ContextHandle context) {
    if (wglMakeCurrent((HDC)device, (HGLRC)context) == 0)
        return false;
    if (context != nullptr && !swapIntervalAsked) {
        askForSwapInterval();
        swapIntervalAsked = true;
    }
    return true;
}

bool deleteGLContext(ContextHandle context) {
    return wglDeleteContext((HGLRC)context) != 0;
}

void showWindow(WindowHandle handle) {
    ShowWindow((HWND)handle, SW_SHOW);
    SetForegroundWindow((HWND)handle);
    SetFocus((HWND)handle);
}

void clientToScreen(WindowHandle handle, int *x, int *y) {
    POINT point = {*x, *y};
    ClientToScreen((HWND)handle, &point);
    *x = point.x;
    *y = point.y;
}

void swapWindowBuffers() {
    if (windowDevice == nullptr)
        return;
    SwapBuffers(windowDevice);
    paceFrame();
}
