// text_layout.h -- the pure text steps before drawing: UTF-8 to single-byte glyph codes, and
// measuring a line against a maximum width, cutting it with a "..." ending.
#pragma once
#include <cstdint>

#include "render/text.h"

// Rewrites a NUL-terminated UTF-8 text in place as ISO-8859-1. Code points above 255 and each
// ill-formed sequence (stray, overlong, surrogate or truncated) become '?'.
void transcodeUtf8ToLatin1(char *text);

// Measures the text with per-code advances and cuts it where the next character would pass
// maxWidth (0 or less: no limit); a cut at position 7 or later ends in "...". Returns the summed
// advances of the kept characters as they were before the dots replaced the last three.
float cutTextToWidth(char *text, float maxWidth, const GlyphMetricsFloat metrics[256]);
int32_t cutTextToWidth(char *text, int32_t maxWidth, const int32_t widths[256]);
