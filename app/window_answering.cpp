// window_answering.cpp -- messages handled between short waits, so the window answers while a
// worker reads or decodes, and the fast way out that joins no thread.
#include "app/window_answering.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>

#include "app/main_window.h"
#include "app/window_proc.h"
#include "gallery/gallery_state.h"
#include "gallery/key_handling.h"
#include "gallery/text_limits.h"
#include "render/overlays.h"

namespace {

// Input that would change the room or the window while it is being made ready.
std::deque<WindowMessage> kept;

bool changesTheGallery(const WindowMessage &message) {
    return message.message == WM_KEYDOWN || message.message == WM_KEYUP ||
           message.message == WM_LBUTTONDOWN;
}

} // namespace

void answerWindowWhileWaiting() {
    WindowMessage message;
    while (pollMessage(&message)) {
        if (message.message == WM_QUIT)
            leaveProgramNow((int)message.wParam);
        if (message.message == WM_CLOSE ||
            (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE))
            leaveProgramNow(0);
        if (changesTheGallery(message))
            kept.push_back(message);
        else
            mainWindowProc(message.message, message.wParam, message.lParam);
    }
}

void answerWindowWhileReadingFolder() {
    answerWindowWhileWaiting();
    // The folder's own name, after the last separator of either style.
    const char *name = currentPath;
    for (const char *c = currentPath; *c != '\0'; ++c)
        if ((*c == '/' || *c == '\\') && c[1] != '\0')
            name = c + 1;
    std::string folder = name;
    char caption[CAPTION_BUFFER_SIZE];
    snprintf(caption, sizeof caption, "Loading %s...", folder.c_str());
    drawProgressScreen(caption, 0);
}

bool takeKeptMessage(WindowMessage *message) {
    if (kept.empty())
        return false;
    *message = kept.front();
    kept.pop_front();
    return true;
}

void leaveProgramNow(int status) {
    destroyMainWindow();
    endProcessNow(status);
}

void endProcessNow(int status) {
    fflush(stdout);
    fflush(stderr);
    std::_Exit(status);
}
