// current_directory.h -- the process's current directory.
#pragma once
#include <cstddef>

// Writes the current directory into buffer; false when it does not fit or cannot be read.
bool getCurrentDirectory(char *buffer, size_t size);
