// remembered_choices.h -- the startup dialog's choices kept from one run to the next in the
// settings file.
#pragma once
#include <cstddef>

#include "gallery/settings_text.h"

// Room for what the program writes (a folder path and a few short lines); a larger file is
// not the program's and is not read.
constexpr size_t SETTINGS_FILE_LIMIT = 16 * 1024;

// The choices of the last run, on top of a first run's. False when there are none: no file
// (silently), or a file that cannot be read, is too large or is damaged, which one "WARNING: "
// line on standard error reports; the start goes on with a first run's choices either way.
bool loadRememberedChoices(SettingsChoices *choices);

// Keeps the display settings and currentPath, the choices just accepted, for the next run.
// A failure leaves the old file and is one "WARNING: " line on standard error.
bool rememberChoices();
