// remembered_choices.cpp -- reads the settings file before the startup dialog and writes it
// after OK; a settings file never stops the program, at most it costs one warning line.
#include "app/remembered_choices.h"

#include <cstdio>
#include <string>
#include <vector>

#include "gallery/display_settings.h"
#include "gallery/gallery_state.h"
#include "platform/settings_file.h"

bool loadRememberedChoices(SettingsChoices *choices) {
    *choices = choicesFromDisplaySettings(nullptr);
    char path[PATH_BUFFER_SIZE];
    if (!settingsFilePath(path, sizeof path))
        return false;
    std::vector<char> text(SETTINGS_FILE_LIMIT);
    size_t length = 0;
    switch (readSettingsFile(path, text.data(), text.size(), &length)) {
    case SETTINGS_READ:
        break;
    case SETTINGS_MISSING:
        return false;
    case SETTINGS_UNREADABLE:
        fprintf(stderr, "WARNING: Cannot read the settings file %s; using the defaults.\n", path);
        return false;
    case SETTINGS_TOO_LARGE:
        fprintf(stderr,
                "WARNING: The settings file %s is larger than %zu bytes; using the defaults.\n",
                path, SETTINGS_FILE_LIMIT);
        return false;
    }
    char why[160];
    if (!parseSettings(text.data(), length, choices, why, sizeof why)) {
        fprintf(stderr, "WARNING: Ignoring the settings file %s (%s); using the defaults.\n", path,
                why);
        return false;
    }
    return true;
}

bool rememberChoices() {
    char path[PATH_BUFFER_SIZE];
    if (!settingsFilePath(path, sizeof path)) {
        fprintf(stderr, "WARNING: No folder to keep the settings in; they are not saved.\n");
        return false;
    }
    std::string text = formatSettings(choicesFromDisplaySettings(currentPath));
    char why[200] = "";
    if (!writeSettingsFile(path, text.data(), text.size(), why, sizeof why)) {
        fprintf(stderr, "WARNING: Cannot save the settings to %s: %s\n", path, why);
        return false;
    }
    return true;
}
