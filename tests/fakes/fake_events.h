// fake_events.h -- scripted window messages, a record of quit requests and of messages left
// to the default handling.
#pragma once
#include <deque>
#include <vector>
#include "platform/events.h"

// Messages the next polls return, front first.
extern std::deque<WindowMessage> fakePendingMessages;

// Called by a poll that finds no message (a posted quit counts as one), so a test can end a
// loop or change the scene; null for nothing.
extern void (*fakeOnIdlePoll)();
extern int fakeIdlePolls;

// True once postQuitMessage has been called since the last reset, with its exit code.
extern bool fakeQuitPosted;
extern int fakeQuitExitCode;

// Messages handed to defWindowProc, and what it answers.
extern std::vector<WindowMessage> fakeDefaultHandled;
constexpr intptr_t FAKE_DEFAULT_RESULT = 0x5A5A;

void resetFakeEvents();
