// fake_current_directory.cpp -- a fixed current directory for the logic tests.
#include "platform/current_directory.h"

#include <cstdio>

bool getCurrentDirectory(char *buffer, size_t size) {
    return snprintf(buffer, size, "/home/user/Pictures") < static_cast<int>(size);
}
