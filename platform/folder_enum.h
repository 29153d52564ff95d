// folder_enum.h -- reading a folder's entries in name order: the order NTFS gives them, by name
// compared after upper-casing, a tie broken by the exact bytes (platform/name_order.h).
#pragma once

struct FolderSearch;

struct FolderEntry {
    const char *name; // valid until the next call on the same search
    bool isDirectory; // a link to a folder counts as a folder
};

enum FolderNextResult { FOLDER_NEXT_ENTRY, FOLDER_NEXT_END, FOLDER_NEXT_ERROR };

// Any thread may list folders; a search is used by one thread at a time.

// Opens the folder and reads it whole; null when it cannot be opened.
FolderSearch *openFolderSearch(const char *path);

// The next entry, the end of the list, or an error that ends the enumeration. A folder whose
// reading fails part-way gives the entries read before the error, in name order, then the
// error.
FolderNextResult nextFolderEntry(FolderSearch *search, FolderEntry *entry);

void closeFolderSearch(FolderSearch *search);
