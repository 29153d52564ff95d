// settings_text.h -- the startup dialog's choices as the lines of the settings file: written
// out, and read back with every value checked against what the dialog offers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "gallery/text_limits.h"

struct SettingsChoices {
    bool hasFolder;
    char folder[PATH_BUFFER_SIZE];
    int32_t width, height; // an entry of resolutionTable
    bool fullscreen;
    int32_t antialiasLevel; // ANTIALIAS_LOW .. ANTIALIAS_HIGH
    bool mouseNavigation;
    bool smoothMouse;
};

// The display settings as they stand, with folder (null: none).
SettingsChoices choicesFromDisplaySettings(const char *folder);

// Puts the choices into the display settings (the folder is the caller's).
void applyToDisplaySettings(const SettingsChoices &choices);

// The file's text: a comment line, then one "key=value" line per choice. A folder whose name
// holds a line break cannot stand on a line and is left out.
std::string formatSettings(const SettingsChoices &choices);

// Reads the text into choices; a choice the text does not name keeps its value, and keys of
// other versions are passed over. False, with choices untouched and the reason in why, when a
// line is not "key=value", a value is not one the dialog offers, or the text holds control
// bytes (binary data). A UTF-8 byte order mark and CR LF line ends are accepted.
bool parseSettings(const char *text, size_t length, SettingsChoices *choices, char *why,
                   size_t whySize);
