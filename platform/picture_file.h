// picture_file.h -- reading a picture file's bytes: regular files only, and opening never blocks.
// Each file is used by one thread at a time. Thread: any.
#pragma once
#include <cstddef>

struct PictureFile;

// Opens the file for reading when it is a regular file. A FIFO, socket, device or folder named
// like a picture is refused at once without waiting for a writer; null when refused or when
// the file cannot be opened.
PictureFile *openPictureFile(const char *path);

// Opens a file that the caller has just found to be a regular file (readFileStampAndKind),
// without looking at its kind a second time: on slow storage every look-up counts. Opening
// still never blocks, and a file swapped for a pipe in between is not waited on either.
PictureFile *openRegularPictureFile(const char *path);

// Reads up to size bytes into buffer: the count read, 0 at the end of the file, -1 on error.
long readPictureFile(PictureFile *file, void *buffer, size_t size);

void closePictureFile(PictureFile *file);
