// fake_current_directory.h -- a fixed current directory that a test can make unreadable.
#pragma once
#include "platform/current_directory.h"

// The directory the fake reports.
constexpr const char *FAKE_CURRENT_DIRECTORY = "/home/user/Pictures";

// When set, the current directory cannot be read (as when it was removed).
extern bool fakeCurrentDirectoryFails;
