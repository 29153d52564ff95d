// folder_enum.h -- reading a folder's entries in the order the file system gives them.
#pragma once

struct FolderSearch;

struct FolderEntry {
    const char *name; // valid until the next call on the same search
    bool isDirectory; // a link to a folder counts as a folder
};

enum FolderNextResult { FOLDER_NEXT_ENTRY, FOLDER_NEXT_END, FOLDER_NEXT_ERROR };

// Opens the folder; null when it cannot be opened.
FolderSearch *openFolderSearch(const char *path);

// The next entry, the end of the list, or an error that ends the enumeration.
FolderNextResult nextFolderEntry(FolderSearch *search, FolderEntry *entry);

void closeFolderSearch(FolderSearch *search);
