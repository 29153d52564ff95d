// fonts.h -- a system TrueType face by name, read glyph by glyph as flat outlines in em units or
// as 1-bit bitmaps at its pixel size. Character codes are bytes read as ISO-8859-1.
#pragma once

struct Font;

// Room for one glyph; a glyph that needs more cannot be built.
constexpr int GLYPH_MAX_CONTOURS = 128;
constexpr int GLYPH_MAX_POINTS = 4096;
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

// Characters the face does not have (the control codes among them) come back with no contours
// and no bits, and the advance of the face's missing-glyph box. False when the glyph cannot be
// read or does not fit.
bool getGlyphOutline(Font *font, int code, GlyphOutline *outline);
bool getGlyphBitmap(Font *font, int code, GlyphBitmap *bitmap);

// The bitmap advance alone, in whole pixels.
bool getGlyphPixelAdvance(Font *font, int code, int *advance);

void releaseFont(Font *font);
