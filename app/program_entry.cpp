// program_entry.cpp -- the program's run: command line, startup dialog, first scan, gallery
// window and message loop, and the exit status that tells how it went.
#include "app/program_entry.h"

#include <cstdio>

#include "app/command_line.h"
#include "app/main_loop.h"
#include "app/main_window.h"
#include "app/picture_view_screen.h"
#include "app/remembered_choices.h"
#include "app/startup_dialog.h"
#include "app/window_answering.h"
#include "gallery/display_settings.h"
#include "gallery/folder_scanner.h"
#include "gallery/key_handling.h"
#include "gallery/text_limits.h"
#include "loading/background_preparation.h"
#include "loading/view_pictures.h"
#include "platform/current_directory.h"
#include "render/room_picture_loader.h"

const char *const PROGRAM_VERSION = QUILLMERE_VERSION;

int runProgram(int argc, char **argv) {
    CommandLine line = parseCommandLine(argc, argv);
    switch (line.action) {
    case SHOW_HELP:
        fputs(USAGE_TEXT, stdout);
        return 0;
    case SHOW_VERSION:
        printf("quillmere %s\n", PROGRAM_VERSION);
        return 0;
    case BAD_USAGE:
        fprintf(stderr, "quillmere: unexpected argument '%s'\n", line.badArgument);
        fprintf(stderr, "Usage: quillmere [FOLDER]\nTry 'quillmere --help' for more.\n");
        return 2;
    case RUN_GALLERY:
        break;
    }

    // A named folder goes into the dialog as an absolute path, so the parent doors lead up
    // from it; a folder that does not resolve is shown as given.
    char folder[PATH_BUFFER_SIZE];
    if (line.folder != nullptr && !absolutePath(line.folder, folder, sizeof folder))
        snprintf(folder, sizeof folder, "%s", line.folder);

    // The dialog starts with the last run's choices; a folder named here wins over the
    // remembered one. The dialog says itself why it could not be shown.
    SettingsChoices remembered;
    bool hasRemembered = loadRememberedChoices(&remembered);
    int answer = runStartupDialog(line.folder != nullptr ? folder : nullptr,
                                  hasRemembered ? &remembered : nullptr);
    if (answer == 2)
        return 0;
    if (answer != 1)
        return 1;
    rememberChoices();

    setFullscreenToggle(toggleFullscreen);
    // Prepares rooms ahead while the gallery is open. It goes last, after the window: waiting
    // for the picture in hand is not seen, and thumbnails not yet written are written on a
    // later visit.
    BackgroundPreparation background;
    // The full-size view's decoder, idle until a picture is opened.
    ViewPictures viewPictures;
    // The window opens before the first scan, so that a folder on slow storage is waited for
    // with the loading screen up and Escape answered; the scan's outcome is the same.
    if (!createMainWindow("Quillmere", screenWidth, screenHeight, colorBits, fullscreen)) {
        // A declined windowed mode is the user's choice, not a failure.
        if (mainWindowFailure == nullptr)
            return 0;
        fprintf(stderr, "ERROR: %s\n", mainWindowFailure);
        return 1;
    }
    setWindowAnswering(answerWindowWhileWaiting);
    setFolderWaiting(answerWindowWhileReadingFolder);
    scanFolder();
    setViewPictures(&viewPictures);
    int status = runMainLoop();
    destroyMainWindow();
    setViewPictures(nullptr);
    // The background or the view's decoder may be reading a file that never answers: then the
    // process ends without them.
    bool backgroundStopped = background.stopWithin(std::chrono::milliseconds(200));
    if (!viewPictures.stopWithin(std::chrono::milliseconds(200)) || !backgroundStopped)
        endProcessNow(status);
    return status;
}
