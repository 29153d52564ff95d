// this_thread.h -- what a thread may say about itself: its name, its priority, and whether it
// is the program's main thread.
#pragma once
#include <cassert>

// Names the calling thread as system tools and debuggers show it (Linux keeps at most 15
// bytes, a Windows thread description the whole name).
// Thread: any.
void nameThisThread(const char *name);

// Gives the calling thread (only it) the lowest scheduling priority; nothing when the system
// refuses. Thread: any.
void lowerThisThreadPriority();

// True on the thread the program started on. Thread: any.
bool onMainThread();

// Marks a function that touches GL or the image library, which belong to the main thread;
// checked in builds without NDEBUG.
#define REQUIRE_MAIN_THREAD() assert(onMainThread())
