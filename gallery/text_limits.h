// text_limits.h -- sizes of the fixed text buffers shared across the program.
#pragma once
#include <climits>

// Folder paths, so any path the system accepts fits: PATH_MAX bytes on Linux; on Windows a
// path of MAX_PATH (260) UTF-16 units, held as UTF-8, where one unit takes at most three bytes
// (a pair of surrogates, four).
#ifdef _WIN32
constexpr int PATH_BUFFER_SIZE = 3 * 260;
#else
constexpr int PATH_BUFFER_SIZE = PATH_MAX;
#endif
// Captions and loading texts shown to the user.
constexpr int CAPTION_BUFFER_SIZE = 260;
// One formatted line of text before it is measured and drawn.
constexpr int FORMAT_BUFFER_SIZE = 1024;
