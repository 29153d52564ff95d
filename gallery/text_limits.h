// text_limits.h -- sizes of the fixed text buffers shared across the program.
#pragma once
#include <climits>

// Folder paths: PATH_MAX bytes on this platform (4096 on Linux, 260 on Windows), so any path
// the system accepts fits.
constexpr int PATH_BUFFER_SIZE = PATH_MAX;
// Captions and loading texts shown to the user.
constexpr int CAPTION_BUFFER_SIZE = 260;
// One formatted line of text before it is measured and drawn.
constexpr int FORMAT_BUFFER_SIZE = 1024;
