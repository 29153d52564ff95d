// file_stamp_posix.cpp -- a file's times, size and inode through stat.
#include "platform/file_stamp.h"

#include <sys/stat.h>

bool readFileStampAndKind(const char *path, FileStamp *stamp, bool *regularFile) {
    struct stat info;
    if (stat(path, &info) != 0)
        return false;
    stamp->mtime = info.st_mtim.tv_sec;
    stamp->mtimeNanoseconds = info.st_mtim.tv_nsec;
    stamp->size = info.st_size;
    stamp->ctime = info.st_ctim.tv_sec;
    stamp->ctimeNanoseconds = info.st_ctim.tv_nsec;
    stamp->id = (unsigned long long)info.st_ino;
    *regularFile = S_ISREG(info.st_mode);
    return true;
}

bool readFileStamp(const char *path, FileStamp *stamp) {
    bool regularFile;
    return readFileStampAndKind(path, stamp, &regularFile);
}
