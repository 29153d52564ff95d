// text_layout.h -- the pure text steps before drawing: UTF-8 to code points, and measuring a
// line against a maximum width, cutting it between characters with a "..." ending.
#pragma once
#include <cstddef>
#include <cstdint>

// Decodes a NUL-terminated UTF-8 text into at most capacity code points and returns how many.
// Each ill-formed sequence (a stray byte, an overlong form, a surrogate, past U+10FFFF, or one
// that breaks off) becomes one '?': names that are not UTF-8 show as they always have.
int decodeUtf8Text(const char *text, uint32_t *codes, int capacity);

// The length of the first length bytes of text without a multi-byte sequence that is complete
// so far but was cut off at length; for texts the program itself cut to a buffer.
size_t completeCharactersLength(const char *text, size_t length);

// A character's advance, for measuring; the context is the caller's.
typedef float (*OutlineAdvanceOf)(uint32_t code, void *context);
typedef int32_t (*BitmapAdvanceOf)(uint32_t code, void *context);

// Measures the characters and cuts them where the next would pass maxWidth (0 or less: no
// limit), updating count; a cut at character 7 or later ends in "...". Returns the summed
// advances of the kept characters as they were before the dots replaced the last three.
float cutTextToWidth(uint32_t *codes, int *count, float maxWidth, OutlineAdvanceOf advance,
                     void *context);
int32_t cutTextToWidth(uint32_t *codes, int *count, int32_t maxWidth, BitmapAdvanceOf advance,
                       void *context);
