// startup_dialog.h -- the startup dialog: start folder, resolution, fullscreen, antialiasing
// and mouse navigation, chosen before the gallery opens.
#pragma once
#include <cstdint>
#include "gallery/settings_text.h"
#include "platform/startup_dialog.h"

// The dialog description among the embedded resources, and its control ids.
constexpr int IDD_STARTUP = 122;
constexpr int IDC_START_FOLDER = 1001;  // edit box
constexpr int IDC_BROWSE = 1002;        // "..." push button
constexpr int IDC_RESOLUTION = 1004;    // drop-down list of resolutionTable
constexpr int IDC_FULLSCREEN = 1005;    // check box
constexpr int IDC_ANTIALIAS_LOW = 1006; // radio buttons Low, Medium, High
constexpr int IDC_ANTIALIAS_MEDIUM = 1007;
constexpr int IDC_ANTIALIAS_HIGH = 1008;
constexpr int IDC_MOUSE_NAVIGATION = 1009; // check box
constexpr int IDC_SMOOTH_MOUSE = 1010;     // check box

// What the dialog starts with: the folder box's text (null: the current directory) and the
// other choices (null: those of a first run).
struct DialogStart {
    const char *folder;
    const SettingsChoices *choices;
};

// The dialog procedure. WM_INITDIALOG fills the controls with the initial choices (lParam: a
// DialogStart, or 0 for a first run in the current directory); OK writes them into currentPath
// and the display settings; Cancel changes nothing; "..." lets the user pick the start folder.
bool startupDialogProc(DialogHandle *dialog, unsigned message, uintptr_t wParam, intptr_t lParam);

// Shows the dialog and waits for it: 1 after OK, 2 after Cancel, anything else when it could
// not be shown. Only 1 lets the program go on. The folder box starts with startFolder (the one
// named on the command line), else the remembered folder, else the current directory; the
// other controls with the remembered choices, else those of a first run.
int runStartupDialog(const char *startFolder = nullptr,
                     const SettingsChoices *remembered = nullptr);
