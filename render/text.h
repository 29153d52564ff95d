// text.h -- the two fonts as glyph display lists, and drawing one line of UTF-8 text in the
// scene (outline glyphs) or at a window position (bitmap glyphs), measured and cut to a width
// between characters.
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

// Builds both fonts into the glyph ranges of the display-list block (codes 0 to 254) and keeps
// them open, so that other characters get glyphs on first use. False after a message box, with
// both fonts closed.
bool buildFonts();

// Deletes the glyph lists made on first use and closes the fonts; with the fonts' context
// current, before it goes. The preset lists go with the display-list block.
void freeFonts();

// Outline glyphs cannot be made while a display list is being compiled, and a compiled list
// calls them by name: before compiling outline text, start a batch and prepare each text with
// the width it will be drawn at. The batch's glyphs are kept until the next batch starts.
void startOutlineTextBatch();
void prepareOutlineText(float maxWidth, const char *format, ...)
    __attribute__((format(printf, 2, 3)));

// Printf-style text at the model-view origin, baseline along +x; maxWidth in em (0: no limit).
void drawOutlineText(int align, float maxWidth, const char *format, ...)
    __attribute__((format(printf, 3, 4)));

// Printf-style text at window pixel (x, y) from the bottom-left; maxWidth in pixels.
void drawScreenText(int x, int y, int align, int maxWidth, const char *format, ...)
    __attribute__((format(printf, 5, 6)));
