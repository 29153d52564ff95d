// text.cpp -- the outline and bitmap fonts as glyph display lists, and the two text draw calls.
#include "render/text.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "gallery/display_settings.h"
#include "gallery/text_limits.h"
#include "platform/fonts.h"
#include "platform/message_box.h"
#include "render/room_lists.h"
#include "render/screen_space.h"
#include "render/text_layout.h"

GlyphMetricsFloat glyphMetrics[256];
int32_t bitmapCharWidths[256];

namespace {

constexpr int GLYPH_CODE_COUNT = 255; // codes 0..254; 255 stays without a glyph
constexpr int COMBINED_VERTEX_MAX = 1024;

// Glyph buffers, too large for the stack, reused for every glyph.
GlyphOutline glyphOutline;
GlyphBitmap glyphBitmap;

// The tessellator reads vertices through pointers that must stay valid until the polygon ends.
GLdouble tessVertices[GLYPH_MAX_POINTS][3];
GLdouble combinedVertices[COMBINED_VERTEX_MAX][3];
int combinedCount = 0;
bool tessFailed = false;

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

// One list per code at outlineFontBase: the flat glyph facing +z, then a move by its advance.
bool buildOutlineGlyphs(Font *font) {
    GLUtesselator *tess = gluNewTess();
    if (tess == nullptr)
        return false;
    gluTessCallback(tess, GLU_TESS_BEGIN, reinterpret_cast<_GLUfuncptr>(glBegin));
    gluTessCallback(tess, GLU_TESS_VERTEX, reinterpret_cast<_GLUfuncptr>(glVertex3dv));
    gluTessCallback(tess, GLU_TESS_END, reinterpret_cast<_GLUfuncptr>(glEnd));
    gluTessCallback(tess, GLU_TESS_COMBINE, reinterpret_cast<_GLUfuncptr>(combineVertex));
    gluTessCallback(tess, GLU_TESS_ERROR, reinterpret_cast<_GLUfuncptr>(tessError));
    gluTessCallback(tess, GLU_TESS_EDGE_FLAG, reinterpret_cast<_GLUfuncptr>(ignoreEdgeFlag));
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
    gluTessNormal(tess, 0.0, 0.0, 1.0);
    tessFailed = false;
    bool built = true;
    for (int code = 0; code < GLYPH_CODE_COUNT; code++) {
        if (!getGlyphOutline(font, code, &glyphOutline)) {
            built = false;
            break;
        }
        glNewList(outlineFontBase() + code, GL_COMPILE);
        glNormal3f(0.0f, 0.0f, 1.0f);
        if (glyphOutline.contourCount > 0)
            tessellateGlyph(tess, &glyphOutline);
        glTranslatef(glyphOutline.advance, 0.0f, 0.0f);
        glEndList();
        if (tessFailed) {
            built = false;
            break;
        }
        glyphMetrics[code] = {glyphOutline.blackBoxX,    glyphOutline.blackBoxY,
                              glyphOutline.glyphOriginX, glyphOutline.glyphOriginY,
                              glyphOutline.advance,      0.0f};
    }
    gluDeleteTess(tess);
    return built;
}

// One list per code at bitmapFontBase: the glyph image, then a move by its pixel advance.
bool buildBitmapGlyphs(Font *font) {
    // Glyph rows are packed to whole bytes; glBitmap unpacks them when the list is compiled.
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    bool built = true;
    for (int code = 0; code < GLYPH_CODE_COUNT; code++) {
        if (!getGlyphBitmap(font, code, &glyphBitmap)) {
            built = false;
            break;
        }
        glNewList(bitmapFontBase() + code, GL_COMPILE);
        glBitmap(glyphBitmap.width, glyphBitmap.height, glyphBitmap.originX, glyphBitmap.originY,
                 static_cast<GLfloat>(glyphBitmap.advance), 0.0f, glyphBitmap.bits);
        glEndList();
    }
    glPopClientAttrib();
    return built;
}

bool buildOutlineFont() {
    Font *font = createFont("Arial", -12, 700);
    if (font == nullptr) {
        fontFailure("Unable to create font");
        return false;
    }
    bool built = buildOutlineGlyphs(font);
    if (!built)
        fontFailure("Unable to create outline font");
    releaseFont(font);
    return built;
}

bool buildBitmapFont() {
    Font *font = createFont("Arial", -16, 700);
    if (font == nullptr) {
        fontFailure("Unable to create font");
        return false;
    }
    if (!buildBitmapGlyphs(font)) {
        fontFailure("Unable to create bitmap font");
        releaseFont(font);
        return false;
    }
    // All 256 codes are measured, 255 too, though it has no glyph list.
    for (int code = 0; code < 256; code++) {
        if (!getGlyphPixelAdvance(font, code, &bitmapCharWidths[code]))
            bitmapCharWidths[code] = 0;
    }
    releaseFont(font);
    return true;
}

// Formats into the caller's buffer and turns the UTF-8 result into glyph codes.
void formatText(char *text, const char *format, va_list args) {
    vsnprintf(text, FORMAT_BUFFER_SIZE, format, args);
    transcodeUtf8ToLatin1(text);
}

} // namespace

bool buildFonts() {
    memset(glyphMetrics, 0, sizeof glyphMetrics);
    memset(bitmapCharWidths, 0, sizeof bitmapCharWidths);
    return buildOutlineFont() && buildBitmapFont();
}

void drawOutlineText(int align, float maxWidth, const char *format, ...) {
    char text[FORMAT_BUFFER_SIZE];
    va_list args;
    va_start(args, format);
    formatText(text, format, args);
    va_end(args);
    float width = cutTextToWidth(text, maxWidth, glyphMetrics);

    glDisable(GL_TEXTURE_2D);
    glPushMatrix();
    if (align == ALIGN_CENTER)
        glTranslatef(-width * 0.5f, 0.0f, 0.0f);
    else if (align == ALIGN_RIGHT)
        glTranslatef(-width, 0.0f, 0.0f);
    glPushAttrib(GL_LIST_BIT);
    glListBase(outlineFontBase());
    glCallLists(static_cast<GLsizei>(strlen(text)), GL_UNSIGNED_BYTE, text);
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
    int32_t width = cutTextToWidth(text, maxWidth, bitmapCharWidths);

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
    glListBase(bitmapFontBase());
    glCallLists(static_cast<GLsizei>(strlen(text)), GL_UNSIGNED_BYTE, text);
    endScreenSpace();
}
