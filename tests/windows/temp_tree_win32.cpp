// temp_tree_win32.cpp -- temporary folder trees for the tests on Windows, with UTF-8 paths.
#include "support/temp_tree.h"

#include <windows.h>

#include "platform/wide_text.h"

std::string makeTempFolder() {
    wchar_t base[MAX_PATH];
    if (GetTempPathW(MAX_PATH, base) == 0)
        return "";
    for (unsigned attempt = 0; attempt < 100; attempt++) {
        wchar_t folder[MAX_PATH];
        swprintf(folder, MAX_PATH, L"%lsquillmere-test-%lu-%u", base, GetCurrentProcessId(),
                 GetTickCount() + attempt);
        if (CreateDirectoryW(folder, nullptr))
            return narrow(folder);
    }
    return "";
}

bool makeFile(const std::string &path) {
    HANDLE file = CreateFileW(widen(path.c_str()).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

bool makeFolder(const std::string &path) {
    return CreateDirectoryW(widen(path.c_str()).c_str(), nullptr) != 0;
}

bool makeSymlink(const std::string &target, const std::string &path) {
    // A relative target is found from the link's folder.
    std::string resolved = target;
    size_t slash = path.find_last_of("/\\");
    if (!(target.size() > 1 && target[1] == ':') && slash != std::string::npos)
        resolved = path.substr(0, slash + 1) + target;
    DWORD attributes = GetFileAttributesW(widen(resolved.c_str()).c_str());
    DWORD flags = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)
                      ? SYMBOLIC_LINK_FLAG_DIRECTORY
                      : 0;
    std::wstring link = widen(path.c_str());
    if (!CreateSymbolicLinkW(link.c_str(), widen(target.c_str()).c_str(), flags))
        return false;
    // Some systems (Wine among them) report success and make no link.
    DWORD made = GetFileAttributesW(link.c_str());
    return made != INVALID_FILE_ATTRIBUTES && (made & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

void removeTree(const std::string &path) {
    std::wstring folder = widen(path.c_str());
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring entry = folder + L"\\" + name;
            bool isLink = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !isLink)
                removeTree(narrow(entry.c_str()));
            else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveDirectoryW(entry.c_str());
            else
                DeleteFileW(entry.c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}
