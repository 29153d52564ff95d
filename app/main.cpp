// main.cpp -- program entry: the startup dialog, the first scan, the gallery window and the loop.
#include "app/main_loop.h"
#include "app/main_window.h"
#include "app/startup_dialog.h"
#include "gallery/display_settings.h"
#include "gallery/folder_scanner.h"
#include "gallery/key_handling.h"

#include <cstdio>

int main() {
    // Progress lines appear as they happen even when standard output is a pipe or a file.
    setvbuf(stdout, nullptr, _IOLBF, 0);
    // Anything but OK (Cancel, Escape, the close box, or no dialog at all) ends the program
    // before any scan or window.
    if (runStartupDialog() != 1)
        return 0;
    scanFolder();
    setFullscreenToggle(toggleFullscreen);
    if (!createMainWindow("Quillmere", screenWidth, screenHeight, colorBits, fullscreen))
        return 0;
    runMainLoop();
    destroyMainWindow();
    return 0;
}
