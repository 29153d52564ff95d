// text_test.cpp -- the fonts built from the system's bold sans face, and both text draw calls on
// a real context: glyph lists, advances, geometry, pixels, alignment and the state left behind.
#include <GL/gl.h>
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <vector>

#include "gallery/display_settings.h"
#include "gl/gl_feedback.h"
#include "gl/gl_test_context.h"
#include "platform/fonts.h"
#include "render/room_lists.h"
#include "render/text.h"

namespace {

bool fontsBuilt = false;

struct LitBox {
    int count = 0;
    int minX = 1 << 30, minY = 1 << 30, maxX = -1, maxY = -1;
};

// The bounding box of the white pixels in a window rectangle.
LitBox litPixels(int x, int y, int width, int height) {
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    LitBox box;
    for (int row = 0; row < height; row++) {
        for (int column = 0; column < width; column++) {
            if (pixels[(static_cast<size_t>(row) * width + column) * 4] < 128)
                continue;
            box.count++;
            box.minX = std::min(box.minX, x + column);
            box.maxX = std::max(box.maxX, x + column);
            box.minY = std::min(box.minY, y + row);
            box.maxY = std::max(box.maxY, y + row);
        }
    }
    return box;
}

float rasterX() {
    float position[4];
    glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
    return position[0];
}

int bitmapWidth(const char *text) {
    int width = 0;
    for (const char *c = text; *c != '\0'; c++)
        width += bitmapCharWidths[static_cast<unsigned char>(*c)];
    return width;
}

float outlineWidth(const char *text) {
    float width = 0.0f;
    for (const char *c = text; *c != '\0'; c++)
        width += glyphMetrics[static_cast<unsigned char>(*c)].cellIncX;
    return width;
}

float signedArea(const FeedbackPrimitive &polygon) {
    float area = 0.0f;
    size_t n = polygon.vertices.size();
    for (size_t i = 0; i < n; i++) {
        const FeedbackVertex &a = polygon.vertices[i], &b = polygon.vertices[(i + 1) % n];
        area += a.x * b.y - b.x * a.y;
    }
    return area * 0.5f;
}

bool covers(const std::vector<FeedbackPrimitive> &polygons, float x, float y) {
    for (const FeedbackPrimitive &polygon : polygons) {
        size_t n = polygon.vertices.size();
        bool inside = true;
        for (size_t i = 0; i < n && inside; i++) {
            const FeedbackVertex &a = polygon.vertices[i], &b = polygon.vertices[(i + 1) % n];
            inside = (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x) >= 0.0f;
        }
        if (inside)
            return true;
    }
    return false;
}

// The characters of the texts below, written out rather than decoded by the code under test.
std::vector<uint32_t> codePoints(const char *text);

// The advances the font service gives for a character, outline (em 12) and bitmap (em 16),
// read apart from the text module.
GlyphOutline serviceOutline;

float serviceOutlineAdvance(uint32_t code) {
    Font *font = createFont("Arial", -12, 700);
    EXPECT_NE(font, nullptr);
    EXPECT_TRUE(getGlyphOutline(font, static_cast<int>(code), &serviceOutline));
    releaseFont(font);
    return serviceOutline.advance;
}

int servicePixelAdvance(uint32_t code) {
    Font *font = createFont("Arial", -16, 700);
    int advance = -1;
    EXPECT_NE(font, nullptr);
    EXPECT_TRUE(getGlyphPixelAdvance(font, static_cast<int>(code), &advance));
    releaseFont(font);
    return advance;
}

const char *const JAPANESE = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E";            // 日本語
const char *const RUSSIAN = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"; // Привет
const char *const UNASSIGNED = "\xCD\xB8"; // U+0378, in no font

std::vector<uint32_t> codePoints(const char *text) {
    if (text == JAPANESE)
        return {0x65E5, 0x672C, 0x8A9E};
    if (text == RUSSIAN)
        return {0x41F, 0x440, 0x438, 0x432, 0x435, 0x442};
    ADD_FAILURE() << "no characters written out for " << text;
    return {};
}

std::vector<FeedbackPrimitive> outlineGlyph(int code) {
    return captureFeedback([code] { glCallList(outlineFontBase() + code); });
}

class Text : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (!makeTestGLContextCurrent(800, 600))
            return;
        resetDisplaySettings();
        displayListBase = glGenLists(DISPLAY_LIST_COUNT);
        auto start = std::chrono::steady_clock::now();
        fontsBuilt = buildFonts();
        std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        printf("buildFonts: %.1f ms\n", took.count());
    }

    static void TearDownTestSuite() {
        freeFonts();
        glDeleteLists(displayListBase, DISPLAY_LIST_COUNT);
        displayListBase = 0;
    }

    void SetUp() override {
        ASSERT_TRUE(makeTestGLContextCurrent(800, 600));
        ASSERT_TRUE(fontsBuilt);
        glViewport(0, 0, 800, 600);
        glDisable(GL_LIGHTING);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_TEXTURE_2D);
        glListBase(0);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glColor3f(1.0f, 1.0f, 1.0f);
    }
};

} // namespace

TEST_F(Text, BothFontsHaveGlyphListsForCodesBelow255Only) {
    for (int code = 0; code < 255; code++) {
        ASSERT_TRUE(glIsList(outlineFontBase() + code)) << code;
        ASSERT_TRUE(glIsList(bitmapFontBase() + code)) << code;
    }
    // Code 255's names stay empty: neither pen moves.
    glMatrixMode(GL_PROJECTION);
    glOrtho(0.0, 800.0, 0.0, 600.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glRasterPos2i(100, 100);
    glCallList(bitmapFontBase() + 255);
    EXPECT_EQ(rasterX(), 100.0f);
    glCallList(bitmapFontBase() + 'A');
    EXPECT_EQ(rasterX(), 100.0f + bitmapCharWidths['A']);
    glCallList(outlineFontBase() + 255);
    float matrix[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    EXPECT_EQ(matrix[12], 0.0f);
    EXPECT_TRUE(outlineGlyph(255).empty());
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Text, AdvancesFitABoldSansFace) {
    for (int code = 'A'; code <= 'z'; code++) {
        if (isalpha(code)) {
            EXPECT_GT(glyphMetrics[code].cellIncX, 0.2f) << code;
            EXPECT_LT(glyphMetrics[code].cellIncX, 1.2f) << code;
            EXPECT_GT(bitmapCharWidths[code], 2) << code;
        }
    }
    EXPECT_GT(glyphMetrics['W'].cellIncX, glyphMetrics['i'].cellIncX);
    EXPECT_GT(bitmapCharWidths['W'], bitmapCharWidths['i']);
    EXPECT_GE(bitmapCharWidths['M'], 10);
    EXPECT_LE(bitmapCharWidths['M'], 16);
    // Capital H: about three quarters of an em tall, standing on the baseline.
    EXPECT_NEAR(glyphMetrics['H'].glyphOriginY, 0.72f, 0.08f);
    EXPECT_NEAR(glyphMetrics['H'].blackBoxY, glyphMetrics['H'].glyphOriginY, 1e-4f);
    EXPECT_EQ(glyphMetrics[255].cellIncX, 0.0f);
    EXPECT_GT(bitmapCharWidths[255], 0); // measured though it has no glyph list
}

TEST_F(Text, OutlineGlyphIsFlatCounterClockwiseAndKeepsItsHole) {
    std::vector<FeedbackPrimitive> ring = outlineGlyph('O');
    const GlyphMetricsFloat &o = glyphMetrics['O'];
    ASSERT_GT(ring.size(), 10u);
    float area = 0.0f;
    for (const FeedbackPrimitive &polygon : ring) {
        ASSERT_EQ(polygon.token, static_cast<GLenum>(GL_POLYGON_TOKEN));
        EXPECT_GT(signedArea(polygon), 0.0f); // front faces toward +z
        area += signedArea(polygon);
        for (const FeedbackVertex &v : polygon.vertices) {
            EXPECT_NEAR(v.z, 0.0f, 1e-5f);
            EXPECT_GE(v.x, o.glyphOriginX - 1e-3f);
            EXPECT_LE(v.x, o.glyphOriginX + o.blackBoxX + 1e-3f);
            EXPECT_LE(v.y, o.glyphOriginY + 1e-3f);
            EXPECT_GE(v.y, o.glyphOriginY - o.blackBoxY - 1e-3f);
        }
    }
    float middleX = o.glyphOriginX + o.blackBoxX * 0.5f;
    float middleY = o.glyphOriginY - o.blackBoxY * 0.5f;
    EXPECT_FALSE(covers(ring, middleX, middleY));
    EXPECT_TRUE(covers(ring, o.glyphOriginX + 0.04f, middleY));
    EXPECT_LT(area, 0.6f * o.blackBoxX * o.blackBoxY);
    EXPECT_GT(area, 0.2f * o.blackBoxX * o.blackBoxY);

    // Control codes draw nothing, yet the list still moves the pen.
    EXPECT_TRUE(outlineGlyph(1).empty());
    glCallList(outlineFontBase() + 'O');
    float matrix[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    EXPECT_FLOAT_EQ(matrix[12], o.cellIncX);
}

TEST_F(Text, OutlineTextAlignsOnTheOriginAndTurnsTexturingOn) {
    const float width = outlineWidth("HIH");
    struct Case {
        int align;
        float lowest, highest; // where the inked span must lie
    } cases[] = {
        {0, 0.0f, width}, {1, -width * 0.5f, width * 0.5f}, {2, -width, 0.0f}, {5, 0.0f, width}};
    for (const Case &c : cases) {
        glDisable(GL_TEXTURE_2D);
        float minX = 1e9f, maxX = -1e9f;
        for (const FeedbackPrimitive &polygon :
             captureFeedback([&] { drawOutlineText(c.align, 0.0f, "%s", "HIH"); })) {
            for (const FeedbackVertex &v : polygon.vertices) {
                minX = std::min(minX, v.x);
                maxX = std::max(maxX, v.x);
            }
        }
        EXPECT_GE(minX, c.lowest) << c.align;
        EXPECT_LT(minX, c.lowest + 0.15f) << c.align; // only the side bearing in between
        EXPECT_LE(maxX, c.highest) << c.align;
        EXPECT_GT(maxX, c.highest - 0.15f) << c.align;
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    }
    GLint listBase = -1;
    glGetIntegerv(GL_LIST_BASE, &listBase);
    EXPECT_EQ(listBase, 0);
    float matrix[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    EXPECT_EQ(matrix[12], 0.0f);
}

TEST_F(Text, ScreenTextStandsOnItsBaselineAtTheAnchor) {
    drawScreenText(100, 200, 0, 0, "HH%s", "HH");
    const int width = bitmapWidth("HHHH");
    EXPECT_FLOAT_EQ(rasterX(), 100.0f + width);
    LitBox box = litPixels(60, 160, 200, 100);
    ASSERT_GT(box.count, 50);
    EXPECT_GE(box.minX, 100);
    EXPECT_LE(box.minX, 103);
    EXPECT_LT(box.maxX, 100 + width);
    EXPECT_EQ(box.minY, 200);
    EXPECT_GE(box.maxY, 208); // cap height of an em of 16: about 11 pixels
    EXPECT_LE(box.maxY, 214);
}

TEST_F(Text, ScreenTextAnchorsAlignAndClampToTheWindow) {
    const int width = bitmapWidth("WWWW");
    drawScreenText(10, 300, 2, 0, "WWWW"); // wider than its anchor: starts at 0
    EXPECT_FLOAT_EQ(rasterX(), static_cast<float>(width));
    LitBox box = litPixels(0, 290, 100, 30);
    EXPECT_LE(box.minX, 1);
    EXPECT_GT(box.maxX, 10);

    const int abc = bitmapWidth("abc");
    drawScreenText(400, 100, 1, 0, "abc");
    EXPECT_FLOAT_EQ(rasterX(), 400.0f - std::floor(abc * 0.5f) + abc);
    drawScreenText(50, 100, 7, 0, "abc"); // unknown alignment: from the anchor
    EXPECT_FLOAT_EQ(rasterX(), 50.0f + abc);
    drawScreenText(900, 100, 0, 0, "%s", "");
    EXPECT_FLOAT_EQ(rasterX(), 800.0f);
    drawScreenText(-40, 100, 0, 0, "%s", "");
    EXPECT_FLOAT_EQ(rasterX(), 0.0f);
}

TEST_F(Text, ScreenTextCutsAndDecodes) {
    // Ten 'M's fit exactly; the rest is cut and the tenth onward shows dots.
    const int limit = 10 * bitmapCharWidths['M'];
    drawScreenText(0, 100, 0, limit, "%s", "MMMMMMMMMMMMMMMMMMMM");
    EXPECT_FLOAT_EQ(rasterX(), static_cast<float>(bitmapWidth("MMMMMMM...")));
    drawScreenText(0, 100, 0, 0, "caf\xC3\xA9");
    EXPECT_FLOAT_EQ(rasterX(), static_cast<float>(bitmapWidth("caf\xE9")));
    // A name that is not UTF-8 shows as it always has: the stray byte as '?'.
    drawScreenText(0, 100, 0, 0, "Caf\xE9!");
    EXPECT_FLOAT_EQ(rasterX(), static_cast<float>(bitmapWidth("Caf?!")));
    // A text longer than the format buffer loses the character its end would break, not a '?'.
    const std::string ones(1021, '1');
    drawScreenText(0, 100, 0, 0, "%s%s", ones.c_str(), JAPANESE);
    EXPECT_FLOAT_EQ(rasterX(), static_cast<float>(bitmapWidth(ones.c_str())));
}

// Japanese from the fallback face, Russian from the program's own: one glyph drawn in each
// character's own advance, the pen moved by their sum.
TEST_F(Text, ScreenTextDrawsEveryCharacterInItsOwnAdvance) {
    for (const char *text : {JAPANESE, RUSSIAN}) {
        SCOPED_TRACE(text);
        glClear(GL_COLOR_BUFFER_BIT);
        drawScreenText(100, 200, 0, 0, "%s", text);
        int pen = 100, inked = 0;
        const std::vector<uint32_t> codes = codePoints(text);
        for (uint32_t code : codes) {
            const int advance = servicePixelAdvance(code);
            EXPECT_GT(advance, 4) << code;
            // The middle of each character's cell holds ink of its own.
            if (litPixels(pen + 2, 195, advance - 4, 20).count > 4)
                inked++;
            pen += advance;
        }
        EXPECT_EQ(inked, static_cast<int>(codes.size()));
        EXPECT_FLOAT_EQ(rasterX(), static_cast<float>(pen));
    }
    // The ideographs are full-width, as their face draws them, not '?'s.
    EXPECT_GE(servicePixelAdvance(0x65E5), 14);
    EXPECT_NE(servicePixelAdvance(0x65E5), bitmapCharWidths['?']);
}

TEST_F(Text, OutlineTextDrawsEveryCharacterInItsOwnAdvance) {
    for (const char *text : {JAPANESE, RUSSIAN}) {
        SCOPED_TRACE(text);
        std::vector<float> pens = {0.0f};
        for (uint32_t code : codePoints(text))
            pens.push_back(pens.back() + serviceOutlineAdvance(code));
        const float width = pens.back();
        // Right-aligned: the text ends at the origin, so it spans -width to 0.
        const auto polygons =
            captureFeedback([text] { drawOutlineText(ALIGN_RIGHT, 0.0f, "%s", text); });
        std::vector<int> perCell(pens.size() - 1, 0);
        for (const FeedbackPrimitive &polygon : polygons) {
            float centre = 0.0f;
            for (const FeedbackVertex &v : polygon.vertices)
                centre += v.x / static_cast<float>(polygon.vertices.size());
            centre += width;
            ASSERT_GE(centre, 0.0f);
            ASSERT_LE(centre, width);
            for (size_t cell = 0; cell + 1 < pens.size(); cell++)
                if (centre >= pens[cell] && centre < pens[cell + 1])
                    perCell[cell]++;
        }
        for (size_t cell = 0; cell < perCell.size(); cell++)
            EXPECT_GT(perCell[cell], 0) << "character " << cell;
    }
}

// A character no installed face has is the face's missing-glyph box: drawn, and as wide as the
// box, not a '?'.
TEST_F(Text, CharacterNoFaceHasDrawsTheMissingGlyphBox) {
    const int box = servicePixelAdvance(0x378);
    EXPECT_EQ(servicePixelAdvance(0x10FFFD), box); // private use, plane 16
    EXPECT_NE(box, bitmapCharWidths['?']);
    glClear(GL_COLOR_BUFFER_BIT);
    drawScreenText(100, 200, 0, 0, "a%sb", UNASSIGNED);
    EXPECT_FLOAT_EQ(rasterX(),
                    static_cast<float>(100 + bitmapCharWidths['a'] + box + bitmapCharWidths['b']));
    LitBox ink = litPixels(100 + bitmapCharWidths['a'] + 1, 195, box - 2, 20);
    EXPECT_GT(ink.count, 10);
    EXPECT_GE(ink.maxY - ink.minY, 8); // a box standing on the baseline, not a dot

    const float outlineBox = serviceOutlineAdvance(0x378);
    EXPECT_NE(outlineBox, glyphMetrics['?'].cellIncX);
    float minX = 1e9f, maxX = -1e9f;
    for (const FeedbackPrimitive &polygon :
         captureFeedback([] { drawOutlineText(ALIGN_LEFT, 0.0f, "%s", UNASSIGNED); }))
        for (const FeedbackVertex &v : polygon.vertices)
            minX = std::min(minX, v.x), maxX = std::max(maxX, v.x);
    EXPECT_GT(maxX - minX, 0.25f * outlineBox);
    EXPECT_LE(maxX, outlineBox);
}

// Text cut to a width ends between characters: the kept ideographs whole, then the dots.
TEST_F(Text, ScreenTextCutsBetweenCharacters) {
    const std::string ten = std::string(JAPANESE) + JAPANESE + JAPANESE + "\xE6\x97\xA5";
    const int advance = servicePixelAdvance(0x65E5);
    ASSERT_EQ(servicePixelAdvance(0x672C), advance);
    ASSERT_EQ(servicePixelAdvance(0x8A9E), advance);
    drawScreenText(0, 100, 0, 8 * advance, "%s", ten.c_str());
    EXPECT_FLOAT_EQ(rasterX(), static_cast<float>(5 * advance + 3 * bitmapCharWidths['.']));
}

// The glyphs made on first use are lists of their own, apart from the block, gone with the
// fonts; however many characters are drawn, at most a table's worth of them is kept.
TEST_F(Text, GlyphsMadeOnFirstUseAreBoundedAndFreedWithTheFonts) {
    freeFonts();
    ASSERT_TRUE(buildFonts());
    // Mesa hands out list names above the highest one in use: the glyphs' lists follow probe.
    const GLuint probe = glGenLists(1);
    drawScreenText(0, 100, 0, 0, "%s", JAPANESE);
    EXPECT_TRUE(glIsList(probe + 1));
    char text[4];
    for (uint32_t code = 0x4E00; code < 0x4E00 + 3000; code++) {
        text[0] = static_cast<char>(0xE0 | (code >> 12));
        text[1] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text[2] = static_cast<char>(0x80 | (code & 0x3F));
        text[3] = '\0';
        drawScreenText(0, 100, 0, 0, "%s", text);
    }
    const GLuint after = glGenLists(1);
    EXPECT_LE(after - probe - 1, 2048u); // 3000 characters, one table of lists
    // A character made again after it was given up still has its own advance.
    drawScreenText(0, 100, 0, 0, "%s", JAPANESE);
    int expected = 0;
    for (uint32_t code : codePoints(JAPANESE))
        expected += servicePixelAdvance(code);
    EXPECT_FLOAT_EQ(rasterX(), static_cast<float>(expected));

    freeFonts();
    EXPECT_FALSE(glIsList(probe + 1));
    EXPECT_FALSE(glIsList(after - 1));
    glDeleteLists(probe, 1);
    glDeleteLists(after, 1);
    ASSERT_TRUE(buildFonts());
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Text, ScreenTextLeavesStateAsItFound) {
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glListBase(42);
    glMatrixMode(GL_PROJECTION);
    glFrustum(-1.0, 1.0, -1.0, 1.0, 1.0, 10.0);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(1.0f, 2.0f, 3.0f);
    float projectionBefore[16], modelviewBefore[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projectionBefore);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelviewBefore);

    drawScreenText(20, 20, 1, 100, "Frames: %d", 60);

    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    GLint listBase = 0, matrixMode = 0;
    glGetIntegerv(GL_LIST_BASE, &listBase);
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    EXPECT_EQ(listBase, 42);
    EXPECT_EQ(matrixMode, GL_MODELVIEW);
    float projectionAfter[16], modelviewAfter[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projectionAfter);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelviewAfter);
    for (int i = 0; i < 16; i++) {
        EXPECT_EQ(projectionAfter[i], projectionBefore[i]) << i;
        EXPECT_EQ(modelviewAfter[i], modelviewBefore[i]) << i;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
