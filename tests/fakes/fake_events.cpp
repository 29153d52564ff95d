// fake_events.cpp -- window messages from a test-filled queue; quit requests recorded.
#include "fakes/fake_events.h"

std::deque<WindowMessage> fakePendingMessages;
void (*fakeOnIdlePoll)() = nullptr;
int fakeIdlePolls = 0;
bool fakeQuitPosted = false;
int fakeQuitExitCode = 0;
std::vector<WindowMessage> fakeDefaultHandled;

static bool quitWaiting = false;

bool pollMessage(WindowMessage *out) {
    if (!fakePendingMessages.empty()) {
        *out = fakePendingMessages.front();
        fakePendingMessages.pop_front();
        return true;
    }
    // A posted quit is delivered once, after the messages already queued.
    if (quitWaiting) {
        quitWaiting = false;
        *out = {WM_QUIT, (uintptr_t)fakeQuitExitCode, 0};
        return true;
    }
    fakeIdlePolls++;
    if (fakeOnIdlePoll)
        fakeOnIdlePoll();
    return false;
}

intptr_t defWindowProc(unsigned message, uintptr_t wParam, intptr_t lParam) {
    fakeDefaultHandled.push_back({message, wParam, lParam});
    return FAKE_DEFAULT_RESULT;
}

void postQuitMessage(int exitCode) {
    fakeQuitPosted = true;
    fakeQuitExitCode = exitCode;
    quitWaiting = true;
}

void resetFakeEvents() {
    fakePendingMessages.clear();
    fakeOnIdlePoll = nullptr;
    fakeIdlePolls = 0;
    fakeQuitPosted = false;
    fakeQuitExitCode = 0;
    fakeDefaultHandled.clear();
    quitWaiting = false;
}
