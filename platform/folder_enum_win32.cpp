// folder_enum_win32.cpp -- folder entries through FindFirstFileExW/FindNextFileW, read whole and
// put in name order: NTFS gives that order already, FAT and network drives do not, so every
// drive lists a folder alike. Names as UTF-8.
#include "platform/folder_enum.h"

#include <algorithm>
#include <string>
#include <vector>
#include <windows.h>

#include "platform/name_order.h"
#include "platform/wide_text.h"

namespace {

struct ReadEntry {
    std::string name;
    bool isDirectory;
};

} // namespace

struct FolderSearch {
    std::vector<ReadEntry> entries; // in name order
    size_t next = 0;
    bool endsInError = false; // reading stopped on an error after the entries above
};

FolderSearch *openFolderSearch(const char *path) {
    std::wstring pattern = widen(path) + L"\\*";
    WIN32_FIND_DATAW data;
    // The short 8.3 names are not asked for, and entries come in larger batches.
    HANDLE find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                   nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE)
        return nullptr;
    FolderSearch *search = new FolderSearch();
    do {
        // A link or junction to a folder carries the folder flag itself.
        search->entries.push_back(
            {narrow(data.cFileName), (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileW(find, &data));
    search->endsInError = GetLastError() != ERROR_NO_MORE_FILES;
    FindClose(find);
    std::sort(search->entries.begin(), search->entries.end(),
              [](const ReadEntry &a, const ReadEntry &b) {
                  return compareNames(a.name.c_str(), b.name.c_str()) < 0;
              });
    return search;
}

FolderNextResult nextFolderEntry(FolderSearch *search, FolderEntry *entry) {
    if (search->next == search->entries.size())
        return search->endsInError ? FOLDER_NEXT_ERROR : FOLDER_NEXT_END;
    const ReadEntry &read = search->entries[search->next++];
    entry->name = read.name.c_str();
    entry->isDirectory = read.isDirectory;
    return FOLDER_NEXT_ENTRY;
}

void closeFolderSearch(FolderSearch *search) {
    delete search;
}
