// file_stamp.h -- what tells a file's version apart: its modification time and size.
#pragma once

struct FileStamp {
    long long mtime;       // last modification, seconds since the epoch
    long mtimeNanoseconds; // within that second, where the file system keeps it
    long long size;        // bytes
};

// Reads the stamp of the file at path (links followed); false when it cannot be read.
// Thread: any.
bool readFileStamp(const char *path, FileStamp *stamp);
