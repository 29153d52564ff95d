// startup_dialog.cpp -- the startup dialog's procedure: the initial choices (a first run's or
// the remembered ones), and the mapping from the controls to the start folder and the display
// settings.
#include "app/startup_dialog.h"

#include <cstdio>

#include "gallery/display_settings.h"
#include "gallery/gallery_state.h"
#include "gallery/path_model.h"
#include "gallery/text_limits.h"
#include "platform/current_directory.h"

// The list entry of a resolution; 800x600's when the table has no such entry.
static int resolutionIndex(int32_t width, int32_t height) {
    for (int i = 0; i < RESOLUTION_COUNT; ++i)
        if (resolutionTable[i].width == width && resolutionTable[i].height == height)
            return i;
    return 1;
}

static void showInitialChoices(DialogHandle *dialog, const DialogStart *start) {
    SettingsChoices firstRun = {};
    firstRun.width = 800;
    firstRun.height = 600;
    firstRun.antialiasLevel = ANTIALIAS_HIGH;
    firstRun.mouseNavigation = true;
    const SettingsChoices &choices =
        start != nullptr && start->choices != nullptr ? *start->choices : firstRun;

    // A current directory whose name cannot be read or does not fit has no absolute path to
    // start from ("." would make the parent door lead back into the same room): the empty box
    // starts at the drive list instead.
    char directory[PATH_BUFFER_SIZE] = "";
    if (start != nullptr && start->folder != nullptr)
        snprintf(directory, sizeof directory, "%s", start->folder);
    else if (choices.hasFolder)
        snprintf(directory, sizeof directory, "%s", choices.folder);
    else if (!getCurrentDirectory(directory, sizeof directory))
        directory[0] = '\0';
    setDlgItemText(dialog, IDC_START_FOLDER, directory);

    // Appended in table order, so list index i is resolutionTable[i].
    comboResetContent(dialog, IDC_RESOLUTION);
    for (int i = 0; i < RESOLUTION_COUNT; ++i) {
        char entry[32];
        snprintf(entry, sizeof entry, "%dx%d", resolutionTable[i].width, resolutionTable[i].height);
        comboInsertString(dialog, IDC_RESOLUTION, -1, entry);
    }
    comboSetCurSel(dialog, IDC_RESOLUTION, resolutionIndex(choices.width, choices.height));

    if (choices.fullscreen)
        checkDlgButton(dialog, IDC_FULLSCREEN, BST_CHECKED);
    int level = choices.antialiasLevel;
    checkDlgButton(dialog,
                   level == ANTIALIAS_LOW      ? IDC_ANTIALIAS_LOW
                   : level == ANTIALIAS_MEDIUM ? IDC_ANTIALIAS_MEDIUM
                                               : IDC_ANTIALIAS_HIGH,
                   BST_CHECKED);
    if (choices.mouseNavigation)
        checkDlgButton(dialog, IDC_MOUSE_NAVIGATION, BST_CHECKED);
    if (choices.smoothMouse)
        checkDlgButton(dialog, IDC_SMOOTH_MOUSE, BST_CHECKED);
}

static bool isChecked(DialogHandle *dialog, int id) {
    return isDlgButtonChecked(dialog, id) == BST_CHECKED;
}

// The edit box is the only source of the start folder, whatever "..." wrote before. An empty box
// is the drive list, which on Windows is "/" rather than the empty path.
static void acceptChoices(DialogHandle *dialog) {
    getDlgItemText(dialog, IDC_START_FOLDER, currentPath, PATH_BUFFER_SIZE);
    if (currentPath[0] == '\0')
        pathSetDriveList(currentPath, PATH_BUFFER_SIZE, NATIVE_PATH_STYLE);
    fullscreen = isChecked(dialog, IDC_FULLSCREEN);

    int selection = comboGetCurSel(dialog, IDC_RESOLUTION);
    if (selection != CB_ERR && selection < RESOLUTION_COUNT) {
        screenWidth = resolutionTable[selection].width;
        screenHeight = resolutionTable[selection].height;
    }

    if (isChecked(dialog, IDC_ANTIALIAS_LOW))
        antialiasLevel = ANTIALIAS_LOW;
    else if (isChecked(dialog, IDC_ANTIALIAS_MEDIUM))
        antialiasLevel = ANTIALIAS_MEDIUM;
    else if (isChecked(dialog, IDC_ANTIALIAS_HIGH))
        antialiasLevel = ANTIALIAS_HIGH;

    mouseNavigation = isChecked(dialog, IDC_MOUSE_NAVIGATION);
    smoothMouse = isChecked(dialog, IDC_SMOOTH_MOUSE);
}

// A picked folder goes straight into currentPath and is shown in the edit box.
static void browseStartFolder(DialogHandle *dialog) {
    if (browseForFolder(dialog, "Choose initial picture directory", currentPath, PATH_BUFFER_SIZE))
        setDlgItemText(dialog, IDC_START_FOLDER, currentPath);
}

bool startupDialogProc(DialogHandle *dialog, unsigned message, uintptr_t wParam, intptr_t lParam) {
    if (message == WM_INITDIALOG) {
        showInitialChoices(dialog, reinterpret_cast<const DialogStart *>(lParam));
        return true;
    }
    if (message != WM_COMMAND)
        return false;
    switch (static_cast<int>(wParam & 0xFFFF)) {
    case IDOK:
        acceptChoices(dialog);
        endDialog(dialog, IDOK);
        break;
    case IDCANCEL:
        endDialog(dialog, IDCANCEL);
        break;
    case IDC_BROWSE:
        browseStartFolder(dialog);
        break;
    default:
        break;
    }
    return false;
}

int runStartupDialog(const char *startFolder, const SettingsChoices *remembered) {
    DialogStart start = {startFolder, remembered};
    return static_cast<int>(
        dialogBoxParam(IDD_STARTUP, startupDialogProc, reinterpret_cast<intptr_t>(&start)));
}
