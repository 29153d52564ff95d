// fake_window.cpp -- window, surface and context stand-ins that only keep books.
#include "fakes/fake_window.h"

#include <algorithm>

std::vector<std::string> fakeWindowCalls;
std::set<std::string> fakeWindowFailures;
bool fakeClassRegistered = false;
bool fakeDisplayModeChanged = false;
bool fakeWindowOpen = false;
bool fakeDeviceHeld = false;
bool fakeContextExists = false;
std::string fakeWindowTitle;
int fakeWindowWidth = 0;
int fakeWindowHeight = 0;
bool fakeWindowFullscreenStyle = false;
int fakeSwapCount = 0;
void (*fakeOnSwap)() = nullptr;

// Distinct non-null addresses to hand out as handles.
static char windowToken, deviceToken, contextToken;

// Logs the call; true when it is to succeed.
static bool call(const char *name) {
    fakeWindowCalls.push_back(name);
    return fakeWindowFailures.count(name) == 0;
}

bool registerWindowClass() {
    if (!call("registerWindowClass"))
        return false;
    fakeClassRegistered = true;
    return true;
}

bool unregisterWindowClass() {
    // Like the window system, refuses when there is nothing to unregister.
    if (!call("unregisterWindowClass") || !fakeClassRegistered)
        return false;
    fakeClassRegistered = false;
    return true;
}

bool changeDisplayMode(int, int, int) {
    if (!call("changeDisplayMode"))
        return false;
    fakeDisplayModeChanged = true;
    return true;
}

void restoreDisplayMode() {
    call("restoreDisplayMode");
    fakeDisplayModeChanged = false;
}

WindowHandle createWindow(const char *title, int width, int height, bool fullscreenStyle) {
    fakeWindowTitle = title;
    fakeWindowWidth = width;
    fakeWindowHeight = height;
    fakeWindowFullscreenStyle = fullscreenStyle;
    if (!call("createWindow"))
        return nullptr;
    fakeWindowOpen = true;
    return (WindowHandle)&windowToken;
}

bool destroyWindow(WindowHandle window) {
    bool ok = call("destroyWindow") && window == (WindowHandle)&windowToken;
    fakeWindowOpen = false;
    return ok;
}

DeviceHandle getDeviceContext(WindowHandle) {
    if (!call("getDeviceContext"))
        return nullptr;
    fakeDeviceHeld = true;
    return (DeviceHandle)&deviceToken;
}

bool releaseDeviceContext(WindowHandle, DeviceHandle device) {
    bool ok = call("releaseDeviceContext") && device == (DeviceHandle)&deviceToken;
    fakeDeviceHeld = false;
    return ok;
}

int choosePixelFormat(DeviceHandle, int, int) {
    return call("choosePixelFormat") ? 1 : 0;
}

bool setPixelFormat(DeviceHandle, int format) {
    return call("setPixelFormat") && format == 1;
}

ContextHandle createGLContext(DeviceHandle) {
    if (!call("createGLContext"))
        return nullptr;
    fakeContextExists = true;
    return (ContextHandle)&contextToken;
}

bool makeGLContextCurrent(DeviceHandle, ContextHandle context) {
    // The test's own context stays current either way.
    return call(context ? "makeGLContextCurrent" : "releaseGLContext");
}

bool deleteGLContext(ContextHandle context) {
    bool ok = call("deleteGLContext") && context == (ContextHandle)&contextToken;
    fakeContextExists = false;
    return ok;
}

void showWindow(WindowHandle) {
    call("showWindow");
}

void clientToScreen(WindowHandle, int *x, int *y) {
    call("clientToScreen");
    *x += FAKE_CLIENT_LEFT;
    *y += FAKE_CLIENT_TOP;
}

void swapWindowBuffers() {
    fakeSwapCount++;
    if (fakeOnSwap)
        fakeOnSwap();
}

int countFakeWindowCalls(const std::string &name) {
    return (int)std::count(fakeWindowCalls.begin(), fakeWindowCalls.end(), name);
}

void resetFakeWindow() {
    fakeWindowCalls.clear();
    fakeWindowFailures.clear();
    fakeClassRegistered = false;
    fakeDisplayModeChanged = false;
    fakeWindowOpen = false;
    fakeDeviceHeld = false;
    fakeContextExists = false;
    fakeWindowTitle.clear();
    fakeWindowWidth = 0;
    fakeWindowHeight = 0;
    fakeWindowFullscreenStyle = false;
    fakeSwapCount = 0;
    fakeOnSwap = nullptr;
}
