// main.cpp -- program entry: scan the start folder, open the gallery window, run the loop.
#include "app/display_settings.h"
#include "app/main_loop.h"
#include "app/main_window.h"
#include "gallery/folder_scanner.h"

int main() {
    // The start folder and the display settings keep their initial values: ".", 800 x 600,
    // windowed, high antialiasing, mouse navigation on.
    scanFolder();
    if (!createMainWindow("Quillmere", screenWidth, screenHeight, colorBits, fullscreen))
        return 0;
    runMainLoop();
    destroyMainWindow();
    return 0;
}
