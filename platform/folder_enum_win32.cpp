// folder_enum_win32.cpp -- folder entries through FindFirstFileExW/FindNextFileW, in the order
// the file system gives them (by name on NTFS), names as UTF-8.
#include "platform/folder_enum.h"

#include <string>
#include <windows.h>

#include "platform/wide_text.h"

struct FolderSearch {
    HANDLE find;
    WIN32_FIND_DATAW data;
    bool firstPending; // the entry FindFirstFileExW found is handed out first
    std::string name;
};

FolderSearch *openFolderSearch(const char *path) {
    std::wstring pattern = widen(path) + L"\\*";
    FolderSearch *search = new FolderSearch();
    // The short 8.3 names are not asked for, and entries come in larger batches.
    search->find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &search->data,
                                    FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search->find == INVALID_HANDLE_VALUE) {
        delete search;
        return nullptr;
    }
    search->firstPending = true;
    return search;
}

FolderNextResult nextFolderEntry(FolderSearch *search, FolderEntry *entry) {
    if (search->firstPending)
        search->firstPending = false;
    else if (!FindNextFileW(search->find, &search->data))
        return GetLastError() == ERROR_NO_MORE_FILES ? FOLDER_NEXT_END : FOLDER_NEXT_ERROR;
    search->name = narrow(search->data.cFileName);
    entry->name = search->name.c_str();
    // A link or junction to a folder carries the folder flag itself.
    entry->isDirectory = (search->data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return FOLDER_NEXT_ENTRY;
}

void closeFolderSearch(FolderSearch *search) {
    if (search == nullptr)
        return;
    FindClose(search->find);
    delete search;
}
