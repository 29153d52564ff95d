// window_answering.h -- the gallery window's messages while the program waits for pictures or a
// folder: a request to quit ends it at once, other input is kept for afterwards.
#pragma once
#include "platform/events.h"

// Handles every waiting message without waiting. Escape, the close request and WM_QUIT end the
// program at once (leaveProgramNow); size, activation, mouse and system messages are handled
// as usual; the other keys and clicks are kept, in their order, for the main loop to handle
// once the wait is over, as if they had waited in the queue. Thread: main only.
void answerWindowWhileWaiting();

// The same while a folder is read, with the loading screen of that folder ("Loading NAME...",
// at 0 %) drawn each time. Thread: main only.
void answerWindowWhileReadingFolder();

// Hands over the oldest message kept by answerWindowWhileWaiting; false when none is kept.
// Thread: main only.
bool takeKeptMessage(WindowMessage *message);

// Takes the window away (destroyMainWindow) and ends the process: endProcessNow. Thread: main
// only.
[[noreturn]] void leaveProgramNow(int status);

// Ends the process with status at once, joining no thread: one may be in a read that never
// returns. Output is flushed first; files are written whole or not at all, since thumbnails are
// renamed into place. Thread: main only.
[[noreturn]] void endProcessNow(int status);
