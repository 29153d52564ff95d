// current_directory_posix.cpp -- the current directory through getcwd.
#include "platform/current_directory.h"

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
