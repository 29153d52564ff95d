// settings_file.h -- where the program keeps the user's settings between runs, and reading and
// replacing that small file whole.
#pragma once
#include <cstddef>

// The settings file's path: $XDG_CONFIG_HOME/quillmere/settings.ini (~/.config when that is
// unset or not absolute) on Linux, %APPDATA%\Quillmere\settings.ini on Windows. False when no
// such folder can be named or the path does not fit.
bool settingsFilePath(char *path, size_t size);

enum SettingsFileRead { SETTINGS_READ, SETTINGS_MISSING, SETTINGS_UNREADABLE, SETTINGS_TOO_LARGE };

// Reads the whole file into buffer (not terminated), *length its size. A file larger than
// capacity is not read: SETTINGS_TOO_LARGE. *length is 0 for every other outcome than
// SETTINGS_READ.
SettingsFileRead readSettingsFile(const char *path, char *buffer, size_t capacity, size_t *length);

// Replaces the file with data as one step: written to a temporary file in the same folder,
// flushed to the disk, then renamed over path, so a reader sees the old or the new file whole.
// Missing folders on the way are made. On failure the old file is left as it was, nothing else
// remains, and why holds a short reason.
bool writeSettingsFile(const char *path, const char *data, size_t size, char *why, size_t whySize);
