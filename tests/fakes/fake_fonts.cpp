// fake_fonts.cpp -- fonts with made-up glyphs: a square per printable code, advances by formula.
#include "fakes/fake_fonts.h"

struct Font {
    int height;
};

std::vector<FakeFontRequest> fakeFontRequests;
int fakeFontsReleased = 0;
int fakeFontCreateFailsAt = 0;
int fakeFontOutlineFailsAt = -1;
int fakeFontBitmapFailsAt = -1;

namespace {
int fontsCreated = 0;
}

float fakeOutlineAdvance(int code) {
    return 0.25f + static_cast<float>(code % 256) / 512.0f;
}

int fakeBitmapAdvance(int code) {
    return 4 + code % 9;
}

int fakeFontsOpen() {
    return fontsCreated - fakeFontsReleased;
}

void resetFakeFonts() {
    fakeFontRequests.clear();
    fakeFontsReleased = 0;
    fakeFontCreateFailsAt = 0;
    fakeFontOutlineFailsAt = -1;
    fakeFontBitmapFailsAt = -1;
    fontsCreated = 0;
}

Font *createFont(const char *faceName, int height, int weight) {
    fakeFontRequests.push_back({faceName, height, weight});
    if (static_cast<int>(fakeFontRequests.size()) == fakeFontCreateFailsAt)
        return nullptr;
    fontsCreated++;
    return new Font{height};
}

bool getGlyphOutline(Font *, int code, GlyphOutline *outline) {
    if (code == fakeFontOutlineFailsAt)
        return false;
    float advance = fakeOutlineAdvance(code);
    outline->advance = advance;
    outline->contourCount = 0;
    outline->pointCount = 0;
    outline->blackBoxX = outline->blackBoxY = 0.0f;
    outline->glyphOriginX = outline->glyphOriginY = 0.0f;
    if (code <= 32)
        return true;
    const float square[4][2] = {{0.1f, 0.0f}, {advance, 0.0f}, {advance, 0.5f}, {0.1f, 0.5f}};
    for (int i = 0; i < 4; i++) {
        outline->points[i][0] = square[i][0];
        outline->points[i][1] = square[i][1];
    }
    outline->pointCount = 4;
    outline->contourEnds[0] = 4;
    outline->contourCount = 1;
    outline->blackBoxX = advance - 0.1f;
    outline->blackBoxY = 0.5f;
    outline->glyphOriginX = 0.1f;
    outline->glyphOriginY = 0.5f;
    return true;
}

bool getGlyphBitmap(Font *, int code, GlyphBitmap *bitmap) {
    if (code == fakeFontBitmapFailsAt)
        return false;
    bitmap->width = 8;
    bitmap->height = 2;
    bitmap->originX = 0.0f;
    bitmap->originY = 0.0f;
    bitmap->advance = fakeBitmapAdvance(code);
    bitmap->bits[0] = bitmap->bits[1] = 0xFF;
    return true;
}

bool getGlyphPixelAdvance(Font *, int code, int *advance) {
    *advance = fakeBitmapAdvance(code);
    return true;
}

void releaseFont(Font *font) {
    if (font == nullptr)
        return;
    fakeFontsReleased++;
    delete font;
}
