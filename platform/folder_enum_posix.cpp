// folder_enum_posix.cpp -- folder entries through opendir/readdir, in readdir order.
#include "platform/folder_enum.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

struct FolderSearch {
    DIR *dir;
};

FolderSearch *openFolderSearch(const char *path) {
    DIR *dir = opendir(path);
    if (dir == nullptr)
        return nullptr;
    FolderSearch *search = static_cast<FolderSearch *>(malloc(sizeof(FolderSearch)));
    search->dir = dir;
    return search;
}

// The directory flag of one entry; links and file systems without d_type are asked through
// stat, which follows links, so a link to a folder is a folder.
static bool entryIsDirectory(DIR *dir, const struct dirent *entry) {
    if (entry->d_type != DT_UNKNOWN && entry->d_type != DT_LNK)
        return entry->d_type == DT_DIR;
    struct stat info;
    if (fstatat(dirfd(dir), entry->d_name, &info, 0) != 0)
        return false;
    return S_ISDIR(info.st_mode);
}

FolderNextResult nextFolderEntry(FolderSearch *search, FolderEntry *entry) {
    // readdir signals both the end and an error with null; only an error sets errno.
    errno = 0;
    const struct dirent *found = readdir(search->dir);
    if (found == nullptr)
        return errno == 0 ? FOLDER_NEXT_END : FOLDER_NEXT_ERROR;
    entry->name = found->d_name;
    entry->isDirectory = entryIsDirectory(search->dir, found);
    return FOLDER_NEXT_ENTRY;
}

void closeFolderSearch(FolderSearch *search) {
    if (search == nullptr)
        return;
    closedir(search->dir);
    free(search);
}
