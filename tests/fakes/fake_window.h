// fake_window.h -- a window service that records every call, can be told to fail any of them,
// and tracks what is held. It never touches the current OpenGL context.
#pragma once
#include <set>
#include <string>
#include <vector>
#include "platform/window.h"

// Names of the calls since the last reset, in order: "registerWindowClass",
// "unregisterWindowClass", "changeDisplayMode", "restoreDisplayMode", "createWindow",
// "destroyWindow", "getDeviceContext", "releaseDeviceContext", "choosePixelFormat",
// "setPixelFormat", "createGLContext", "makeGLContextCurrent", "releaseGLContext" (the
// make-current call with no context), "deleteGLContext", "showWindow", "clientToScreen".
extern std::vector<std::string> fakeWindowCalls;

// Calls (by the names above) that report failure.
extern std::set<std::string> fakeWindowFailures;

// What is held now.
extern bool fakeClassRegistered;
extern bool fakeDisplayModeChanged;
extern bool fakeWindowOpen;
extern bool fakeDeviceHeld;
extern bool fakeContextExists;

// The last window asked for.
extern std::string fakeWindowTitle;
extern int fakeWindowWidth;
extern int fakeWindowHeight;
extern bool fakeWindowFullscreenStyle;

// Where the client area sits on the screen; clientToScreen adds it.
constexpr int FAKE_CLIENT_LEFT = 16;
constexpr int FAKE_CLIENT_TOP = 40;

// Buffer swaps since the last reset; fakeOnSwap (if set) runs after each.
extern int fakeSwapCount;
extern void (*fakeOnSwap)();

// How many calls of the given name the log holds.
int countFakeWindowCalls(const std::string &name);

void resetFakeWindow();
