// text.h -- the two fonts as glyph display lists, and drawing one line of text in the scene
// (outline glyphs) or at a window position (bitmap glyphs), measured and cut to a width.
#pragma once
#include <cstdint>

struct GlyphMetricsFloat {
    float blackBoxX;
    float blackBoxY;
    float glyphOriginX;
    float glyphOriginY;
    float cellIncX; // the advance, in em units
    float cellIncY;
};

enum TextAlign { ALIGN_LEFT = 0, ALIGN_CENTER = 1, ALIGN_RIGHT = 2 };

extern GlyphMetricsFloat glyphMetrics[256];
extern int32_t bitmapCharWidths[256];

// Builds both fonts into the glyph ranges of the display-list block. False after a message box.
bool buildFonts();

// Printf-style text at the model-view origin, baseline along +x; maxWidth in em (0: no limit).
void drawOutlineText(int align, float maxWidth, const char *format, ...)
    __attribute__((format(printf, 3, 4)));

// Printf-style text at window pixel (x, y) from the bottom-left; maxWidth in pixels.
void drawScreenText(int x, int y, int align, int maxWidth, const char *format, ...)
    __attribute__((format(printf, 5, 6)));
