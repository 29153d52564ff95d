// fonts.h -- a system TrueType face by name, read glyph by glyph as flat outlines in em units or
// as 1-bit bitmaps at its pixel size. Character codes are Unicode code points; those from 256
// up that the face lacks come from another installed face that has them.
#pragma once

struct Font;

// Room for one glyph, ideographs of many strokes from faces with detailed outlines included; a
// glyph that needs more cannot be built.
constexpr int GLYPH_MAX_CONTOURS = 512;
constexpr int GLYPH_MAX_POINTS = 16384;
constexpr int GLYPH_MAX_BITMAP_BYTES = 16384;

// A glyph's outline as closed contours of straight edges, curves flattened; 1 em = 1.0, the
// origin on the baseline at the pen position, y up.
struct GlyphOutline {
    int contourCount;
    int contourEnds[GLYPH_MAX_CONTOURS]; // one past the last point of each contour
    int pointCount;
    float points[GLYPH_MAX_POINTS][2];
    float advance;   // pen advance along x
    float blackBoxX; // width and height of the inked box
    float blackBoxY;
    float glyphOriginX; // upper-left corner of the inked box
    float glyphOriginY;
};

// A glyph as a glBitmap image: rows bottom-up, each row (width + 7) / 8 bytes, most significant
// bit first.
struct GlyphBitmap {
    int width;
    int height;
    float originX; // the pen position, from the image's lower-left corner, as glBitmap takes it
    float originY;
    int advance; // pen advance in whole pixels
    unsigned char bits[GLYPH_MAX_BITMAP_BYTES];
};

// Opens the face that best matches the name and weight (100..900, 700 bold). A negative height
// is the em size in pixels, a positive one the cell height (ascent plus descent). Null when no
// scalable face can be opened.
Font *createFont(const char *faceName, int height, int weight);

// A code below 256 that the face does not have (the control codes among them) comes back with
// no contours and no bits and the advance of the face's missing-glyph box. A code from 256 up
// that the face does not have is taken from the first installed face that has it, in that
// face's own em and at the same pixel size: on Linux in fontconfig's order of likeness to the
// one asked for, on Windows the faces linked to it (FontLink\SystemLink), then the faces
// Windows comes with for other scripts and symbols, then every installed face. When no face
// has it, it comes back as the missing-glyph box itself, drawn. False when the glyph cannot be
// read or does not fit.
bool getGlyphOutline(Font *font, int code, GlyphOutline *outline);
bool getGlyphBitmap(Font *font, int code, GlyphBitmap *bitmap);

// The bitmap advance alone, in whole pixels.
bool getGlyphPixelAdvance(Font *font, int code, int *advance);

void releaseFont(Font *font);
