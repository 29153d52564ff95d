// current_directory_posix.cpp -- the current directory through getcwd, absolute paths through
// realpath.
#include "platform/current_directory.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

bool getCurrentDirectory(char *buffer, size_t size) {
    if (size == 0)
        return false;
    if (getcwd(buffer, size) == nullptr) {
        buffer[0] = '\0';
        return false;
    }
    return true;
}

bool absolutePath(const char *path, char *buffer, size_t size) {
    char resolved[PATH_MAX];
    if (size == 0 || realpath(path, resolved) == nullptr)
        return false;
    return snprintf(buffer, size, "%s", resolved) < static_cast<int>(size);
}
