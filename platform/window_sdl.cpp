// window_sdl.cpp -- the gallery window, its OpenGL context and the fullscreen mode through SDL.
#include "platform/window.h"

#include <SDL.h>

static bool classRegistered = false;
static SDL_Window *window = nullptr;
static SDL_DisplayMode fullscreenMode;
static bool fullscreenModeChosen = false;

static SDL_Window *windowOf(WindowHandle handle) {
    return (SDL_Window *)handle;
}

bool registerWindowClass() {
    // The video subsystem stays open once opened: closing and reopening the display connection
    // within one run makes some X servers report a bogus display mode for a while.
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return false;
    classRegistered = true;
    return true;
}

bool unregisterWindowClass() {
    if (!classRegistered)
        return false;
    classRegistered = false;
    return true;
}

bool changeDisplayMode(int width, int height, int) {
    // SDL would quietly pick a larger mode; only an exact match of the size will do. The colour
    // depth stays the display's own.
    int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; i++) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) == 0 && mode.w == width && mode.h == height) {
            fullscreenMode = mode;
            fullscreenModeChosen = true;
            return true;
        }
    }
    return false;
}

void restoreDisplayMode() {
    if (window)
        SDL_SetWindowFullscreen(window, 0);
    fullscreenModeChosen = false;
}

WindowHandle createWindow(const char *title, int width, int height, bool fullscreenStyle) {
    if (window)
        return nullptr;
    // X11 fixes the visual when the window is made, so the pixel format is asked for here:
    // 5-6-5 colour, 16-bit depth, double buffer, no alpha or stencil, a legacy GL context.
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 6);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);

    // A fullscreen window at the desktop's own size needs no mode switch.
    SDL_DisplayMode desktop;
    bool desktopSize =
        SDL_GetDesktopDisplayMode(0, &desktop) == 0 && desktop.w == width && desktop.h == height;
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    if (!fullscreenStyle)
        flags |= SDL_WINDOW_RESIZABLE;
    else
        flags |= desktopSize ? SDL_WINDOW_FULLSCREEN_DESKTOP : SDL_WINDOW_FULLSCREEN;
    window = SDL_CreateWindow(title, 0, 0, width, height, flags);
    if (!window)
        return nullptr;
    if (fullscreenStyle && !desktopSize && fullscreenModeChosen)
        SDL_SetWindowDisplayMode(window, &fullscreenMode);
    SDL_DisableScreenSaver();
    return (WindowHandle)window;
}

bool destroyWindow(WindowHandle handle) {
    if (!window || windowOf(handle) != window)
        return false;
    SDL_DestroyWindow(window);
    window = nullptr;
    SDL_EnableScreenSaver();
    return true;
}

// The window is its own drawing surface.
DeviceHandle getDeviceContext(WindowHandle handle) {
    return windowOf(handle) == window ? (DeviceHandle)handle : nullptr;
}

bool releaseDeviceContext(WindowHandle handle, DeviceHandle device) {
    return window && windowOf(handle) == window && (SDL_Window *)device == window;
}

// The format was fixed when the window was created; there is nothing left to choose or set.
int choosePixelFormat(DeviceHandle device, int, int) {
    return device ? 1 : 0;
}

bool setPixelFormat(DeviceHandle device, int format) {
    return device && format == 1;
}

ContextHandle createGLContext(DeviceHandle device) {
    if (!device || (SDL_Window *)device != window)
        return nullptr;
    SDL_GLContext context = SDL_GL_CreateContext(window);
    // Vertical sync where the driver offers it; refused, frames are paced by swapWindowBuffers.
    if (context != nullptr)
        SDL_GL_SetSwapInterval(1);
    return (ContextHandle)context;
}

bool makeGLContextCurrent(DeviceHandle device, ContextHandle context) {
    if (!context) {
        // Releasing needs no surface; with no window left there is nothing current to release.
        return !window || SDL_GL_MakeCurrent(window, nullptr) == 0;
    }
    return device && SDL_GL_MakeCurrent((SDL_Window *)device, (SDL_GLContext)context) == 0;
}

bool deleteGLContext(ContextHandle context) {
    if (!context)
        return false;
    SDL_GL_DeleteContext((SDL_GLContext)context);
    return true;
}

void showWindow(WindowHandle handle) {
    SDL_Window *shown = windowOf(handle);
    SDL_ShowWindow(shown);
    SDL_RaiseWindow(shown);
    SDL_SetWindowInputFocus(shown);
}

void clientToScreen(WindowHandle handle, int *x, int *y) {
    int left = 0, top = 0;
    SDL_GetWindowPosition(windowOf(handle), &left, &top);
    *x += left;
    *y += top;
}

// Frames are presented at the display's pace: with vertical sync the swap itself waits; where
// the driver cannot sync (a virtual display, a software renderer), the wait is made here, so the
// gallery never spins through frames nobody sees while the background prepares rooms.
void swapWindowBuffers() {
    if (!window)
        return;
    SDL_GL_SwapWindow(window);
    static Uint64 lastSwap = 0;
    SDL_DisplayMode mode;
    int refresh = SDL_GetWindowDisplayMode(window, &mode) == 0 && mode.refresh_rate > 0
                      ? mode.refresh_rate
                      : 60;
    Uint64 frequency = SDL_GetPerformanceFrequency();
    Uint64 period = frequency / (Uint64)refresh;
    Uint64 now = SDL_GetPerformanceCounter();
    if (lastSwap != 0 && now - lastSwap < period) {
        SDL_Delay((Uint32)((period - (now - lastSwap)) * 1000 / frequency));
        now = SDL_GetPerformanceCounter();
    }
    lastSwap = now;
}
