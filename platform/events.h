// events.h -- the window system's events as window messages, polled without waiting.
#pragma once

// Asks the main loop to end: the next poll yields WM_QUIT.
void postQuitMessage(int exitCode);
