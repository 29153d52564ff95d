// file_stamp.h -- what tells a file's version apart: its modification time and size, and its
// change time and identity, which also tell a file replaced by one of the same size and
// modification time (cp -p, rsync -t, an archive extracted over it).
#pragma once

struct FileStamp {
    long long mtime;       // last modification, seconds since the epoch
    long mtimeNanoseconds; // within that second, where the file system keeps it
    long long size;        // bytes
    long long ctime;       // last change of contents or attributes (status change), seconds
    long ctimeNanoseconds; // within that second
    unsigned long long id; // the file's identity on its volume: inode, or the file index
};

// Reads the stamp of the file at path (links followed); false when it cannot be read.
// Thread: any.
bool readFileStamp(const char *path, FileStamp *stamp);

// Reads the stamp as readFileStamp does, in the same one look-up, and tells whether the file is a
// regular file (not a folder, pipe, socket or device). Thread: any.
bool readFileStampAndKind(const char *path, FileStamp *stamp, bool *regularFile);

// True when two stamps are of the same version of a file. Thread: any.
inline bool sameFileStamp(const FileStamp &a, const FileStamp &b) {
    return a.mtime == b.mtime && a.mtimeNanoseconds == b.mtimeNanoseconds && a.size == b.size &&
           a.ctime == b.ctime && a.ctimeNanoseconds == b.ctimeNanoseconds && a.id == b.id;
}
