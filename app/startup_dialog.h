// startup_dialog.h -- the startup dialog: start folder, resolution, fullscreen, antialiasing
// and mouse navigation, chosen before the gallery opens.
#pragma once
#include <cstdint>
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

// The dialog procedure. WM_INITDIALOG fills the controls with the initial choices (lParam: the
// start folder's text, or 0 for the current directory); OK writes
// them into currentPath and the display settings; Cancel changes nothing; "..." lets the user
// pick the start folder.
bool startupDialogProc(DialogHandle *dialog, unsigned message, uintptr_t wParam, intptr_t lParam);

// Shows the dialog, with startFolder (or the current directory when null) in the folder box,
// and waits for it: 1 after OK, 2 after Cancel, anything else when it could not be shown. Only
// 1 lets the program go on.
int runStartupDialog(const char *startFolder = nullptr);
