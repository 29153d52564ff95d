// command_line.cpp -- reads the command line into one action and an optional start folder.
#include "app/command_line.h"

#include <cstring>

const char *const USAGE_TEXT =
    "Usage: quillmere [FOLDER]\n"
    "Walk through a folder of pictures as a 3D gallery.\n"
    "\n"
    "The startup dialog opens with FOLDER (when none is named, the last run's folder or the\n"
    "current one) as the picture folder, and asks for the window size, fullscreen or\n"
    "windowed, the antialiasing level and whether the mouse steers the view, and how. Its\n"
    "choices are kept for the next run.\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "      --version  show the version and exit\n"
    "\n"
    "In the gallery: arrows or W, A, S, D walk and turn (Shift+Up/Down look down and up),\n"
    "Enter, Space or a click opens the door in front, or the picture in front full size\n"
    "(then Left/Right step, +/- zoom, Esc goes back), F1 shows help, F2 switches\n"
    "fullscreen, Esc quits.\n";

CommandLine parseCommandLine(int argc, char **argv) {
    CommandLine line = {RUN_GALLERY, nullptr, nullptr};
    bool optionsEnded = false;
    for (int i = 1; i < argc; i++) {
        const char *argument = argv[i];
        if (!optionsEnded && argument[0] == '-') {
            if (strcmp(argument, "--") == 0) {
                optionsEnded = true;
                continue;
            }
            if (strcmp(argument, "--help") == 0 || strcmp(argument, "-h") == 0)
                return {SHOW_HELP, nullptr, nullptr};
            if (strcmp(argument, "--version") == 0)
                return {SHOW_VERSION, nullptr, nullptr};
            return {BAD_USAGE, nullptr, argument};
        }
        if (line.folder != nullptr)
            return {BAD_USAGE, nullptr, argument};
        line.folder = argument;
    }
    return line;
}
