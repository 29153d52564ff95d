// current_directory.h -- the process's current directory, and paths resolved against it.
#pragma once
#include <cstddef>

// Writes the current directory into buffer; false when it does not fit or cannot be read.
bool getCurrentDirectory(char *buffer, size_t size);

// Writes the absolute form of an existing path (relative ones taken from the current
// directory, "." and ".." and links resolved) into buffer; false when the path does not
// exist or the result does not fit.
bool absolutePath(const char *path, char *buffer, size_t size);
