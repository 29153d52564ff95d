// wide_text.h -- UTF-8, the program's text everywhere, to and from the UTF-16 of the Windows W
// calls. Used only by the _win32 backends, at the seam. Thread: any.
#pragma once
#include <cstddef>
#include <string>

// The UTF-16 form of a UTF-8 text (invalid bytes become U+FFFD).
std::wstring widen(const char *text);

// The UTF-8 form of a UTF-16 text of the given length (-1: up to its terminator).
std::string narrow(const wchar_t *text, int length = -1);

// narrow() into a buffer: cut to size - 1 bytes at a character boundary and terminated. False
// when it had to be cut.
bool narrowInto(const wchar_t *text, char *buffer, size_t size);
