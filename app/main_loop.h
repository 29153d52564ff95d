// main_loop.h -- the gallery's one message loop.
#pragma once

// Handles every waiting message, drawing a frame whenever none waits and the window is not
// minimised; never waits. Returns the exit code WM_QUIT carries when it arrives.
int runMainLoop();
