// window.h -- the gallery's top-level window, its drawing surface and OpenGL context, the
// fullscreen display mode, and buffer swapping. One window exists at a time.
#pragma once

// Opaque handles; null while not held.
typedef struct PlatformWindow *WindowHandle;
typedef struct PlatformDevice *DeviceHandle;
typedef struct PlatformContext *ContextHandle;

// Makes windows possible (the window system is opened); false when it cannot be.
bool registerWindowClass();
// Ends the registration; false when nothing was registered.
bool unregisterWindowClass();

// Switches the display to width x height for a fullscreen window; false when the display does
// not offer exactly that mode. restoreDisplayMode returns to the desktop's own mode.
bool changeDisplayMode(int width, int height, int bits);
void restoreDisplayMode();

// A window at (0, 0) whose client area is width x height: a fullscreen popup in the changed
// display mode, or a normal resizable window. Null on failure. The screen saver is kept off
// while it exists.
WindowHandle createWindow(const char *title, int width, int height, bool fullscreenStyle);
// False when the window system refuses.
bool destroyWindow(WindowHandle window);

// The window's drawing surface; releaseDeviceContext gives it back.
DeviceHandle getDeviceContext(WindowHandle window);
bool releaseDeviceContext(WindowHandle window, DeviceHandle device);

// A double-buffered RGBA pixel format with the given colour and depth bits: its index (0 when
// none fits), then applied to the surface.
int choosePixelFormat(DeviceHandle device, int colorBits, int depthBits);
bool setPixelFormat(DeviceHandle device, int format);

// The OpenGL (compatibility) context of a surface. makeGLContextCurrent(nullptr, nullptr)
// releases the current context.
ContextHandle createGLContext(DeviceHandle device);
bool makeGLContextCurrent(DeviceHandle device, ContextHandle context);
bool deleteGLContext(ContextHandle context);

// Shows the window, brings it to the front and gives it the keyboard focus.
void showWindow(WindowHandle window);

// Converts a point of the client area to screen coordinates.
void clientToScreen(WindowHandle window, int *x, int *y);

// Presents the back buffer of the gallery window.
void swapWindowBuffers();
