// current_directory_win32.cpp -- the current directory through GetCurrentDirectoryW, absolute
// paths through GetFullPathNameW; both as UTF-8.
#include "platform/current_directory.h"

#include <string>
#include <windows.h>

#include "platform/wide_text.h"

bool getCurrentDirectory(char *buffer, size_t size) {
    if (size == 0)
        return false;
    DWORD length = GetCurrentDirectoryW(0, nullptr);
    std::wstring directory(length, L'\0');
    if (length == 0 || GetCurrentDirectoryW(length, &directory[0]) == 0 ||
        !narrowInto(directory.c_str(), buffer, size)) {
        buffer[0] = '\0';
        return false;
    }
    return true;
}

bool absolutePath(const char *path, char *buffer, size_t size) {
    std::wstring wide = widen(path);
    if (size == 0 || GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES)
        return false;
    DWORD length = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    std::wstring full(length, L'\0');
    if (length == 0 || GetFullPathNameW(wide.c_str(), length, &full[0], nullptr) == 0)
        return false;
    return narrowInto(full.c_str(), buffer, size);
}
