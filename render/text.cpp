// text.cpp -- the outline and bitmap fonts as glyph display lists, and the two text draw calls.
// Codes 0 to 254 have preset lists in the shared block; other characters get lists of their
// own, made on first use and kept in a bounded table per font (render/glyph_cache.h).
#include "render/text.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "gallery/display_settings.h"
#include "gallery/text_limits.h"
#include "platform/fonts.h"
#include "platform/message_box.h"
#include "render/glyph_cache.h"
#include "render/room_lists.h"
#include "render/screen_space.h"
#include "render/text_layout.h"

GlyphMetricsFloat glyphMetrics[256];
int32_t bitmapCharWidths[256];

namespace {

constexpr int GLYPH_CODE_COUNT = 255; // codes 0..254; 255 stays without a glyph
constexpr uint32_t PRESET_CODES = 256;
constexpr int COMBINED_VERTEX_MAX = 8192;
// Lists for glyphs made on first use are reserved this many at a time.
constexpr int LIST_CHUNK = 256;
constexpr int LIST_CHUNKS = GLYPH_CACHE_SLOTS / LIST_CHUNK;

// Glyph buffers, too large for the stack, reused for every glyph.
GlyphOutline glyphOutline;
GlyphBitmap glyphBitmap;

// The tessellator reads vertices through pointers that must stay valid until the polygon ends.
GLdouble tessVertices[GLYPH_MAX_POINTS][3];
GLdouble combinedVertices[COMBINED_VERTEX_MAX][3];
int combinedCount = 0;
bool tessFailed = false;

// A font kept open while its context lives, and the glyphs it made on first use.
struct LiveFont {
    Font *font;
    GlyphCache cache;
    GLuint listChunks[LIST_CHUNKS]; // 0: not reserved yet
};

LiveFont outlineFont;
LiveFont bitmapFont;
GLUtesselator *tessellator = nullptr;

// A glyph as drawn: its list and its advance.
struct DrawnGlyph {
    GLuint list;
    float advance;
};

void fontFailure(const char *text) {
    showMessageBox(text, "Initialization Failure", MESSAGE_BOX_ERROR);
}

// Where contours cross, the tessellator asks for a new vertex at the crossing.
void GLAPIENTRY combineVertex(GLdouble coords[3], void *[4], GLfloat[4], void **out) {
    if (combinedCount >= COMBINED_VERTEX_MAX) {
        tessFailed = true;
        combinedCount = COMBINED_VERTEX_MAX - 1;
    }
    GLdouble *vertex = combinedVertices[combinedCount++];
    vertex[0] = coords[0];
    vertex[1] = coords[1];
    vertex[2] = coords[2];
    *out = vertex;
}

void GLAPIENTRY tessError(GLenum) {
    tessFailed = true;
}

// With an edge-flag callback the tessellator gives plain triangles, one batch per glyph, rather
// than a mix of fans and strips; the flags themselves are not needed for filled glyphs.
void GLAPIENTRY ignoreEdgeFlag(GLboolean) {}

GLUtesselator *newGlyphTessellator() {
    GLUtesselator *tess = gluNewTess();
    if (tess == nullptr)
        return nullptr;
    gluTessCallback(tess, GLU_TESS_BEGIN, reinterpret_cast<_GLUfuncptr>(glBegin));
    gluTessCallback(tess, GLU_TESS_VERTEX, reinterpret_cast<_GLUfuncptr>(glVertex3dv));
    gluTessCallback(tess, GLU_TESS_END, reinterpret_cast<_GLUfuncptr>(glEnd));
    gluTessCallback(tess, GLU_TESS_COMBINE, reinterpret_cast<_GLUfuncptr>(combineVertex));
    gluTessCallback(tess, GLU_TESS_ERROR, reinterpret_cast<_GLUfuncptr>(tessError));
    gluTessCallback(tess, GLU_TESS_EDGE_FLAG, reinterpret_cast<_GLUfuncptr>(ignoreEdgeFlag));
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
    gluTessNormal(tess, 0.0, 0.0, 1.0);
    return tess;
}

// Fills the glyph's contours (nonzero winding) into the list being compiled.
void tessellateGlyph(GLUtesselator *tess, const GlyphOutline *outline) {
    combinedCount = 0;
    gluTessBeginPolygon(tess, nullptr);
    int start = 0;
    for (int c = 0; c < outline->contourCount; c++) {
        gluTessBeginContour(tess);
        for (int i = start; i < outline->contourEnds[c]; i++) {
            tessVertices[i][0] = outline->points[i][0];
            tessVertices[i][1] = outline->points[i][1];
            tessVertices[i][2] = 0.0;
            gluTessVertex(tess, tessVertices[i], tessVertices[i]);
        }
        gluTessEndContour(tess);
        start = outline->contourEnds[c];
    }
    gluTessEndPolygon(tess);
}

// One glyph list: the flat glyph facing +z, then a move by its advance. False when the
// tessellator failed.
bool compileOutlineGlyph(GLuint list, const GlyphOutline *outline) {
    tessFailed = false;
    glNewList(list, GL_COMPILE);
    glNormal3f(0.0f, 0.0f, 1.0f);
    if (outline->contourCount > 0)
        tessellateGlyph(tessellator, outline);
    glTranslatef(outline->advance, 0.0f, 0.0f);
    glEndList();
    return !tessFailed;
}

// One glyph list: the glyph image, then a move by its pixel advance. Expects rows packed to
// whole bytes (see withBitmapUnpacking).
void compileBitmapGlyph(GLuint list, const GlyphBitmap *bitmap) {
    glNewList(list, GL_COMPILE);
    glBitmap(bitmap->width, bitmap->height, bitmap->originX, bitmap->originY,
             static_cast<GLfloat>(bitmap->advance), 0.0f, bitmap->bits);
    glEndList();
}

// Glyph rows are packed to whole bytes; glBitmap unpacks them when the list is compiled.
void beginBitmapUnpacking() {
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
}

// One list per code at outlineFontBase.
bool buildOutlineGlyphs(Font *font) {
    for (int code = 0; code < GLYPH_CODE_COUNT; code++) {
        if (!getGlyphOutline(font, code, &glyphOutline) ||
            !compileOutlineGlyph(outlineFontBase() + code, &glyphOutline))
            return false;
        glyphMetrics[code] = {glyphOutline.blackBoxX,    glyphOutline.blackBoxY,
                              glyphOutline.glyphOriginX, glyphOutline.glyphOriginY,
                              glyphOutline.advance,      0.0f};
    }
    return true;
}

// One list per code at bitmapFontBase.
bool buildBitmapGlyphs(Font *font) {
    beginBitmapUnpacking();
    bool built = true;
    for (int code = 0; code < GLYPH_CODE_COUNT && built; code++) {
        built = getGlyphBitmap(font, code, &glyphBitmap);
        if (built)
            compileBitmapGlyph(bitmapFontBase() + code, &glyphBitmap);
    }
    glPopClientAttrib();
    return built;
}

void closeFont(LiveFont *live) {
    releaseFont(live->font);
    live->font = nullptr;
    resetGlyphCache(&live->cache);
    for (GLuint &chunk : live->listChunks)
        chunk = 0;
}

// Closes the fonts and forgets their glyph lists without touching GL: the context that held
// them may be gone.
void forgetFonts() {
    closeFont(&outlineFont);
    closeFont(&bitmapFont);
    if (tessellator != nullptr)
        gluDeleteTess(tessellator);
    tessellator = nullptr;
}

bool buildOutlineFont() {
    Font *font = createFont("Arial", -12, 700);
    if (font == nullptr) {
        fontFailure("Unable to create font");
        return false;
    }
    outlineFont.font = font;
    tessellator = newGlyphTessellator();
    if (tessellator == nullptr || !buildOutlineGlyphs(font)) {
        fontFailure("Unable to create outline font");
        forgetFonts();
        return false;
    }
    return true;
}

bool buildBitmapFont() {
    Font *font = createFont("Arial", -16, 700);
    if (font == nullptr) {
        fontFailure("Unable to create font");
        forgetFonts();
        return false;
    }
    bitmapFont.font = font;
    if (!buildBitmapGlyphs(font)) {
        fontFailure("Unable to create bitmap font");
        forgetFonts();
        return false;
    }
    // All 256 codes are measured, 255 too, though it has no glyph list.
    for (int code = 0; code < 256; code++) {
        if (!getGlyphPixelAdvance(font, code, &bitmapCharWidths[code]))
            bitmapCharWidths[code] = 0;
    }
    return true;
}

// Lists cannot be made while another is being compiled.
bool compilingList() {
    GLint list = 0;
    glGetIntegerv(GL_LIST_INDEX, &list);
    return list != 0;
}

// Makes sure the slot a new glyph would take has its list name.
bool reserveNextList(LiveFont *live) {
    if (live->cache.slotsUsed >= GLYPH_CACHE_SLOTS)
        return true; // a slot that already has one is reused
    GLuint &chunk = live->listChunks[live->cache.slotsUsed / LIST_CHUNK];
    if (chunk == 0)
        chunk = glGenLists(LIST_CHUNK);
    return chunk != 0;
}

GLuint slotList(const LiveFont &live, int slot) {
    return live.listChunks[slot / LIST_CHUNK] + static_cast<GLuint>(slot % LIST_CHUNK);
}

// The list and advance of a character past the preset codes, made now when it has none and
// making is allowed. Without a glyph (making refused, the table full of held glyphs, no list
// left) the character is the blank of the missing-glyph box's width: code 0's preset list.
DrawnGlyph madeGlyph(LiveFont *live, uint32_t code, bool mayMake, bool outline) {
    const DrawnGlyph blank =
        outline ? DrawnGlyph{outlineFontBase(), glyphMetrics[0].cellIncX}
                : DrawnGlyph{bitmapFontBase(), static_cast<float>(bitmapCharWidths[0])};
    int slot = findGlyph(&live->cache, code);
    if (slot >= 0)
        return {slotList(*live, slot), live->cache.advances[slot]};
    bool reused = false;
    if (!mayMake || live->font == nullptr || !reserveNextList(live) ||
        (slot = claimGlyphSlot(&live->cache, code, &reused)) < 0)
        return blank;
    const GLuint list = slotList(*live, slot);
    float advance = blank.advance;
    bool made = false;
    if (outline) {
        made = getGlyphOutline(live->font, static_cast<int>(code), &glyphOutline) &&
               compileOutlineGlyph(list, &glyphOutline);
        if (made)
            advance = glyphOutline.advance;
    } else if (getGlyphBitmap(live->font, static_cast<int>(code), &glyphBitmap)) {
        beginBitmapUnpacking();
        compileBitmapGlyph(list, &glyphBitmap);
        glPopClientAttrib();
        advance = static_cast<float>(glyphBitmap.advance);
        made = true;
    }
    if (!made) { // a glyph that cannot be read or filled is left blank
        glNewList(list, GL_COMPILE);
        if (outline)
            glTranslatef(advance, 0.0f, 0.0f);
        else
            glBitmap(0, 0, 0.0f, 0.0f, advance, 0.0f, nullptr);
        glEndList();
    }
    live->cache.advances[slot] = advance;
    return {list, advance};
}

// The measuring context: whether glyphs may be made.
float outlineAdvance(uint32_t code, void *mayMake) {
    if (code < PRESET_CODES)
        return glyphMetrics[code].cellIncX;
    return madeGlyph(&outlineFont, code, *static_cast<bool *>(mayMake), true).advance;
}

int32_t bitmapAdvance(uint32_t code, void *mayMake) {
    if (code < PRESET_CODES)
        return bitmapCharWidths[code];
    return static_cast<int32_t>(
        madeGlyph(&bitmapFont, code, *static_cast<bool *>(mayMake), false).advance);
}

// The lists that draw the measured characters (made while measuring, or the blank).
void glyphLists(const uint32_t *codes, int count, bool outline, GLuint *lists) {
    for (int i = 0; i < count; i++) {
        if (codes[i] < PRESET_CODES)
            lists[i] = (outline ? outlineFontBase() : bitmapFontBase()) + codes[i];
        else
            lists[i] =
                madeGlyph(outline ? &outlineFont : &bitmapFont, codes[i], false, outline).list;
    }
}

// Formats into the caller's buffer; a text cut at the buffer's end loses a character the cut
// broke rather than showing it as '?'.
void formatText(char *text, const char *format, va_list args) {
    int length = vsnprintf(text, FORMAT_BUFFER_SIZE, format, args);
    if (length >= FORMAT_BUFFER_SIZE)
        text[completeCharactersLength(text, FORMAT_BUFFER_SIZE - 1)] = '\0';
}

// One line decoded, measured and cut; its lists and the width used for alignment.
struct LaidOutText {
    uint32_t codes[FORMAT_BUFFER_SIZE];
    GLuint lists[FORMAT_BUFFER_SIZE];
    int count;
};

float layOutOutlineText(LaidOutText *line, const char *text, float maxWidth, bool mayMake) {
    line->count = decodeUtf8Text(text, line->codes, FORMAT_BUFFER_SIZE);
    float width = cutTextToWidth(line->codes, &line->count, maxWidth, outlineAdvance, &mayMake);
    glyphLists(line->codes, line->count, true, line->lists);
    return width;
}

void callGlyphLists(const LaidOutText &line) {
    glListBase(0);
    glCallLists(line.count, GL_UNSIGNED_INT, line.lists);
}

} // namespace

bool buildFonts() {
    forgetFonts();
    memset(glyphMetrics, 0, sizeof glyphMetrics);
    memset(bitmapCharWidths, 0, sizeof bitmapCharWidths);
    return buildOutlineFont() && buildBitmapFont();
}

void freeFonts() {
    for (LiveFont *live : {&outlineFont, &bitmapFont}) {
        for (GLuint chunk : live->listChunks) {
            if (chunk != 0)
                glDeleteLists(chunk, LIST_CHUNK);
        }
    }
    forgetFonts();
}

void startOutlineTextBatch() {
    holdGlyphsFromNow(&outlineFont.cache);
}

void prepareOutlineText(float maxWidth, const char *format, ...) {
    char text[FORMAT_BUFFER_SIZE];
    va_list args;
    va_start(args, format);
    formatText(text, format, args);
    va_end(args);
    LaidOutText line; // only its glyphs are wanted
    layOutOutlineText(&line, text, maxWidth, true);
}

void drawOutlineText(int align, float maxWidth, const char *format, ...) {
    char text[FORMAT_BUFFER_SIZE];
    va_list args;
    va_start(args, format);
    formatText(text, format, args);
    va_end(args);
    // Drawn at once, the text holds its glyphs only while it is laid out; compiled into a list,
    // it holds them with the rest of the batch.
    const bool mayMake = !compilingList();
    if (mayMake)
        startOutlineTextBatch();
    LaidOutText line;
    float width = layOutOutlineText(&line, text, maxWidth, mayMake);

    glDisable(GL_TEXTURE_2D);
    glPushMatrix();
    if (align == ALIGN_CENTER)
        glTranslatef(-width * 0.5f, 0.0f, 0.0f);
    else if (align == ALIGN_RIGHT)
        glTranslatef(-width, 0.0f, 0.0f);
    glPushAttrib(GL_LIST_BIT);
    callGlyphLists(line);
    glPopAttrib();
    glPopMatrix();
    glEnable(GL_TEXTURE_2D);
}

void drawScreenText(int x, int y, int align, int maxWidth, const char *format, ...) {
    char text[FORMAT_BUFFER_SIZE];
    va_list args;
    va_start(args, format);
    formatText(text, format, args);
    va_end(args);
    bool mayMake = !compilingList();
    if (mayMake)
        holdGlyphsFromNow(&bitmapFont.cache);
    LaidOutText line;
    line.count = decodeUtf8Text(text, line.codes, FORMAT_BUFFER_SIZE);
    int32_t width = cutTextToWidth(line.codes, &line.count, maxWidth, bitmapAdvance, &mayMake);
    glyphLists(line.codes, line.count, false, line.lists);

    if (align == ALIGN_CENTER)
        x -= static_cast<int>(std::floor(width * 0.5));
    else if (align == ALIGN_RIGHT)
        x -= width;
    if (x < 0)
        x = 0;
    if (x > screenWidth)
        x = screenWidth;

    beginScreenSpace(false);
    glRasterPos2i(x, y);
    callGlyphLists(line);
    endScreenSpace();
}
