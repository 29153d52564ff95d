// settings_file_win32.cpp -- the settings file in the roaming application data folder,
// replaced through a temporary file, FlushFileBuffers and MoveFileExW.
#include "platform/settings_file.h"

#include <cstdio>
#include <string>
#include <windows.h>
#include <shlobj.h>

#include "platform/wide_text.h"

namespace {

// The system's text for an error code, on one line.
void describeError(DWORD error, char *why, size_t whySize) {
    wchar_t text[256] = L"";
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, text, 256, nullptr);
    while (length > 0 && (text[length - 1] == L'\n' || text[length - 1] == L'\r' ||
                          text[length - 1] == L' ' || text[length - 1] == L'.'))
        text[--length] = L'\0';
    if (length == 0)
        snprintf(why, whySize, "error %lu", (unsigned long)error);
    else
        narrowInto(text, why, whySize);
}

// Makes every missing folder of path up to its last component. Folders that exist already
// (the drive, a share's server) refuse to be made, so only the last one's presence counts.
bool makeParentFolders(const std::wstring &path, DWORD *error) {
    size_t end = path.find_last_of(L"\\/");
    if (end == std::wstring::npos)
        return true;
    *error = ERROR_PATH_NOT_FOUND;
    for (size_t at = 1; at <= end; ++at) {
        if (at < end && path[at] != L'\\' && path[at] != L'/')
            continue;
        if (!CreateDirectoryW(path.substr(0, at).c_str(), nullptr))
            *error = GetLastError();
    }
    DWORD attributes = GetFileAttributesW(path.substr(0, end).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

bool settingsFilePath(char *path, size_t size) {
    wchar_t *folder = nullptr;
    if (FAILED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &folder))) {
        CoTaskMemFree(folder);
        return false;
    }
    std::wstring file = std::wstring(folder) + L"\\Quillmere\\settings.ini";
    CoTaskMemFree(folder);
    return narrowInto(file.c_str(), path, size);
}

SettingsFileRead readSettingsFile(const char *path, char *buffer, size_t capacity, size_t *length) {
    *length = 0;
    HANDLE file =
        CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? SETTINGS_MISSING
                                                                              : SETTINGS_UNREADABLE;
    }
    // One byte past the capacity tells a file that is too large, whatever its size claims.
    size_t total = 0;
    SettingsFileRead result = SETTINGS_READ;
    for (;;) {
        char extra;
        char *into = total < capacity ? buffer + total : &extra;
        DWORD room = total < capacity ? (DWORD)(capacity - total) : 1;
        DWORD got = 0;
        if (!ReadFile(file, into, room, &got, nullptr)) {
            result = SETTINGS_UNREADABLE;
            break;
        }
        if (got == 0)
            break;
        if (total >= capacity) {
            result = SETTINGS_TOO_LARGE;
            break;
        }
        total += got;
    }
    CloseHandle(file);
    if (result == SETTINGS_READ)
        *length = total;
    return result;
}

bool writeSettingsFile(const char *path, const char *data, size_t size, char *why, size_t whySize) {
    std::wstring target = widen(path);
    DWORD folderError = 0;
    if (!makeParentFolders(target, &folderError)) {
        char reason[200];
        describeError(folderError, reason, sizeof reason);
        snprintf(why, whySize, "cannot make its folder: %s", reason);
        return false;
    }
    wchar_t suffix[32];
    swprintf(suffix, 32, L".%lu.tmp", (unsigned long)GetCurrentProcessId());
    std::wstring temporary = target + suffix;
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        char reason[200];
        describeError(GetLastError(), reason, sizeof reason);
        snprintf(why, whySize, "cannot create a file beside it: %s", reason);
        return false;
    }
    DWORD written = 0;
    bool done = WriteFile(file, data, (DWORD)size, &written, nullptr) && written == size &&
                FlushFileBuffers(file);
    DWORD error = GetLastError();
    CloseHandle(file);
    if (done && !MoveFileExW(temporary.c_str(), target.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        done = false;
        error = GetLastError();
    }
    if (!done) {
        DeleteFileW(temporary.c_str());
        describeError(error, why, whySize);
        return false;
    }
    return true;
}
