// file_stamp_posix.cpp -- a file's modification time and size through stat.
#include "platform/file_stamp.h"

#include <sys/stat.h>

bool readFileStamp(const char *path, FileStamp *stamp) {
    struct stat info;
    if (stat(path, &info) != 0)
        return false;
    stamp->mtime = info.st_mtim.tv_sec;
    stamp->mtimeNanoseconds = info.st_mtim.tv_nsec;
    stamp->size = info.st_size;
    return true;
}
