// fake_current_directory.cpp -- a fixed current directory for the logic tests.
#include "fakes/fake_current_directory.h"

#include <cstdio>

bool fakeCurrentDirectoryFails = false;

bool getCurrentDirectory(char *buffer, size_t size) {
    if (fakeCurrentDirectoryFails) {
        if (size > 0)
            buffer[0] = '\0';
        return false;
    }
    return snprintf(buffer, size, "%s", FAKE_CURRENT_DIRECTORY) < static_cast<int>(size);
}

// Relative paths are taken from the fake current directory; nothing is checked for existence.
bool absolutePath(const char *path, char *buffer, size_t size) {
    int length = path[0] == '/' ? snprintf(buffer, size, "%s", path)
                                : snprintf(buffer, size, "%s/%s", FAKE_CURRENT_DIRECTORY, path);
    return length < static_cast<int>(size);
}
