// fake_settings_file.h -- a settings file held in memory, whose reading and writing a test can
// make fail.
#pragma once
#include <string>
#include "platform/settings_file.h"

// The path the fake reports.
constexpr const char *FAKE_SETTINGS_PATH = "/home/user/.config/quillmere/settings.ini";

extern bool fakeSettingsExists;      // false: SETTINGS_MISSING
extern std::string fakeSettingsText; // the file's bytes
extern bool fakeSettingsUnreadable;  // reading gives SETTINGS_UNREADABLE
extern bool fakeSettingsWriteFails;  // writing fails and leaves the text
extern int fakeSettingsWrites;       // successful writes since the reset

void resetFakeSettingsFile();
