// main_window.cpp -- creates and destroys the gallery window with its OpenGL context, keeps the
// view in step with the window size, switches fullscreen and steers the view with the mouse.
#include "app/main_window.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <cstdio>

#include "gallery/display_settings.h"
#include "gallery/gallery_state.h"
#include "gallery/view_angles.h"
#include "platform/cursor.h"
#include "platform/events.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "render/gl_state.h"

static WindowHandle mainWindow = nullptr;
static DeviceHandle deviceContext = nullptr;
static ContextHandle renderingContext = nullptr;
const char *mainWindowFailure = nullptr;

static void showError(const char *text, const char *title) {
    showMessageBox(text, title, MESSAGE_BOX_ERROR);
}

// Shows why creation failed and keeps the reason for the caller.
static bool reportFailure(const char *text, const char *title) {
    showError(text, title);
    mainWindowFailure = text;
    return false;
}

// A creation step failed after the window existed: release everything, then say why.
static bool failCreation(const char *text, const char *title) {
    destroyMainWindow();
    return reportFailure(text, title);
}

bool createMainWindow(const char *title, int width, int height, int bits, bool fullscreenMode) {
    fullscreen = fullscreenMode;
    mainWindowFailure = nullptr;
    if (!registerWindowClass())
        return reportFailure("Failed to register the window class.", "Initilization Error");

    if (fullscreen && !changeDisplayMode(width, height, bits)) {
        MessageBoxAnswer answer =
            showMessageBox("The Fullscreen Mode is not supported by your video card.\n"
                           "Do you want to continue with windowed mode?",
                           "Fullscreen Mode Failed", MESSAGE_BOX_QUESTION_YES_NO);
        if (answer != MESSAGE_BOX_YES)
            return false;
        fullscreen = false;
    }

    if (fullscreen || mouseNavigation)
        showCursor(false);

    mainWindow = createWindow(title, width, height, fullscreen);
    if (!mainWindow)
        return failCreation("Failed to create window.", "Initialization Error");

    deviceContext = getDeviceContext(mainWindow);
    if (!deviceContext)
        return failCreation("Failed to create GL device context.", "Initialization Error");

    int format = choosePixelFormat(deviceContext, bits, 16);
    if (format == 0)
        return failCreation("Failed to find a suitable PixelFormat.", "Initialization Errror");
    if (!setPixelFormat(deviceContext, format))
        return failCreation("Failed set the PixelFormat.", "Initialization Error");

    renderingContext = createGLContext(deviceContext);
    if (!renderingContext)
        return failCreation("Failed to create GL rendering context.", "Initialization Error");
    if (!makeGLContextCurrent(deviceContext, renderingContext))
        return failCreation("Failed activate GL rendering context.", "Initialization Error");

    showWindow(mainWindow);
    // The size message sent while the window was made came before any context was current.
    resizeView(width, height);

    int centreX = screenWidth / 2, centreY = screenHeight / 2;
    clientToScreen(mainWindow, &centreX, &centreY);
    setCursorPos(centreX, centreY);

    if (!initGLState())
        return failCreation("Initialization Failed.", "Initialization Error");
    return true;
}

void destroyMainWindow() {
    releaseGLState();

    if (fullscreen) {
        restoreDisplayMode();
        if (!mouseNavigation)
            showCursor(true);
    }

    if (renderingContext) {
        if (!makeGLContextCurrent(nullptr, nullptr))
            showError("Failed to release DC and RC.", "Shutdown Error");
        if (!deleteGLContext(renderingContext))
            showError("Failed to destroy RC.", "Shutdown Error");
        renderingContext = nullptr;
    }
    if (deviceContext) {
        if (!releaseDeviceContext(mainWindow, deviceContext))
            showError("Failed to destroy DC.", "Shutdown Error");
        deviceContext = nullptr;
    }
    if (mainWindow) {
        if (!destroyWindow(mainWindow))
            showError("Failed to destroy window.", "Shutdown Error");
        mainWindow = nullptr;
    }
    if (!unregisterWindowClass())
        showError("Failed to unregister window class.", "Shutdown Error");
}

void resizeView(int width, int height) {
    if (height == 0)
        height = 1;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, (GLfloat)width / (GLfloat)height, (double)0.1f, 30.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// The default steering: a fixed step per message whatever the move's size (at most 4 degrees
// of turn, exactly one of tilt), the tilt free to turn over.
static void lookInSteps(int dx, int dy) {
    if (dx != 0) {
        float turn = (float)dx * 0.1f;
        if (turn < -2.0f)
            turn = -2.0f;
        else if (turn > 2.0f)
            turn = 2.0f;
        viewHeading -= 2.0f * turn;
        // The same wrap values as turning with the keys.
        if (viewHeading > 360.0f)
            viewHeading = 2.0f;
        if (viewHeading < 0.0f)
            viewHeading = 358.0f;
    }
    if (dy != 0) {
        // Every vertical move tilts by exactly one degree, whatever its size.
        float tilt = (float)dy;
        if (tilt < -1.0f)
            tilt = -1.0f;
        else if (tilt > 1.0f)
            tilt = 1.0f;
        viewPitch += tilt;
        if (viewPitch > 360.0f)
            viewPitch = 1.0f;
        if (viewPitch < 0.0f)
            viewPitch = 359.0f;
    }
}

// One pixel turns or tilts this much: a sweep across an 800-pixel window turns 160 degrees, a
// quarter turn takes 450 pixels, and a single pixel is fine enough to line up a picture.
constexpr float SMOOTH_DEGREES_PER_PIXEL = 0.2f;
// An offset beyond this is no hand's move between two messages but the cursor coming back
// from elsewhere (focus regained); it is taken as this far, so the view does not leap.
constexpr int SMOOTH_OFFSET_LIMIT = 100;

static float limitedOffset(int offset) {
    if (offset > SMOOTH_OFFSET_LIMIT)
        offset = SMOOTH_OFFSET_LIMIT;
    else if (offset < -SMOOTH_OFFSET_LIMIT)
        offset = -SMOOTH_OFFSET_LIMIT;
    return (float)offset * SMOOTH_DEGREES_PER_PIXEL;
}

// The smooth mouse: turn and tilt in proportion to the move, the tilt within +-89 degrees.
static void lookSmoothly(int dx, int dy) {
    if (dx != 0)
        viewHeading = turnedHeading(viewHeading, -limitedOffset(dx));
    if (dy != 0)
        viewPitch = tiltWithinLimits(viewPitch, limitedOffset(dy));
}

void mouseLook(int x, int y) {
    int centreX = screenWidth / 2, centreY = screenHeight / 2;
    if (x == centreX && y == centreY)
        return;
    if (smoothMouse)
        lookSmoothly(x - centreX, y - centreY);
    else
        lookInSteps(x - centreX, y - centreY);
    clientToScreen(mainWindow, &centreX, &centreY);
    setCursorPos(centreX, centreY);
}

void toggleFullscreen() {
    destroyMainWindow();
    roomLoaded = false;
    if (createMainWindow("Quillmere", screenWidth, screenHeight, colorBits, !fullscreen))
        return;
    if (mainWindowFailure != nullptr)
        fprintf(stderr, "ERROR: %s\n", mainWindowFailure);
    postQuitMessage(mainWindowFailure != nullptr ? 1 : 0);
}

void centrePointer() {
    if (mainWindow == nullptr)
        return;
    int centreX = screenWidth / 2, centreY = screenHeight / 2;
    clientToScreen(mainWindow, &centreX, &centreY);
    setCursorPos(centreX, centreY);
}
