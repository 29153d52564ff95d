// main_window.h -- the gallery window and its rendering context: create, destroy, resize,
// the fullscreen toggle, and steering the view with the mouse.
#pragma once

// Builds window, context and GL state in one pass; false after the failing step's message,
// with everything released (except after a No to the fullscreen question).
bool createMainWindow(const char *title, int width, int height, int bits, bool fullscreenMode);

// Why the last createMainWindow returned false: the failed step's message, or null when the
// user declined to go on in a window.
extern const char *mainWindowFailure;

// Releases whatever is held, in reverse order of creation; safe at any stage.
void destroyMainWindow();

// Viewport and perspective for a client area; a height of 0 is taken as 1.
void resizeView(int width, int height);

// Turns mouse movement away from the window centre into heading and pitch changes.
void mouseLook(int x, int y);

// Destroys the window and creates it again in the other mode; the room is reloaded on the next
// frame. Quits when the new window cannot be made: with exit code 0 when the user declined the
// windowed mode, 1 (after a line on standard error) when a step failed.
void toggleFullscreen();

// Puts the pointer at the window's centre, where mouse steering measures from.
void centrePointer();
