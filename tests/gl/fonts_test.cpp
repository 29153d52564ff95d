// fonts_test.cpp -- the font service on the machine's own fonts: the program's face first,
// another installed face for what it lacks, and the missing-glyph box for what none has.
#include <gtest/gtest.h>
#include <memory>

#include "platform/fonts.h"

namespace {

class Fonts : public ::testing::Test {
  protected:
    Font *outlineFont = nullptr;
    Font *bitmapFont = nullptr;
    std::unique_ptr<GlyphOutline> outline = std::make_unique<GlyphOutline>();
    std::unique_ptr<GlyphBitmap> bitmap = std::make_unique<GlyphBitmap>();

    void SetUp() override {
        outlineFont = createFont("Arial", -12, 700);
        bitmapFont = createFont("Arial", -16, 700);
        ASSERT_NE(outlineFont, nullptr);
        ASSERT_NE(bitmapFont, nullptr);
    }
    void TearDown() override {
        releaseFont(outlineFont);
        releaseFont(bitmapFont);
    }

    // Advance, contour count and point count of a character's outline.
    struct Shape {
        float advance;
        int contours, points;
        bool operator==(const Shape &o) const {
            return advance == o.advance && contours == o.contours && points == o.points;
        }
    };
    Shape shapeOf(int code) {
        EXPECT_TRUE(getGlyphOutline(outlineFont, code, outline.get())) << code;
        return {outline->advance, outline->contourCount, outline->pointCount};
    }
    int inkOf(int code) {
        EXPECT_TRUE(getGlyphBitmap(bitmapFont, code, bitmap.get())) << code;
        int ink = 0;
        for (int i = 0; i < (bitmap->width + 7) / 8 * bitmap->height; i++)
            ink += __builtin_popcount(bitmap->bits[i]);
        return ink;
    }
};

} // namespace

// Liberation Sans draws Latin A, Greek Alpha and Cyrillic A with one glyph; another face would
// not give all three the very same outline.
TEST_F(Fonts, TheProgramsOwnFaceComesFirst) {
    const Shape latin = shapeOf('A');
    EXPECT_GT(latin.contours, 0);
    EXPECT_TRUE(shapeOf(0x391) == latin);                 // Α
    EXPECT_TRUE(shapeOf(0x410) == latin);                 // А
    EXPECT_TRUE(shapeOf(0x100).advance == latin.advance); // Ā
}

TEST_F(Fonts, IdeographsComeFromAnInstalledFaceThatHasThem) {
    for (int code : {0x65E5, 0x672C, 0x8A9E, 0x3042, 0x30AB, 0xD55C}) { // 日本語あカ한
        const Shape ideograph = shapeOf(code);
        EXPECT_GT(ideograph.contours, 0) << code;
        EXPECT_GT(ideograph.advance, 0.85f) << code; // full width, about one em
        EXPECT_LT(ideograph.advance, 1.15f) << code;
        EXPECT_GT(inkOf(code), 20) << code;
        EXPECT_GE(bitmap->advance, 14) << code;
        EXPECT_LE(bitmap->advance, 18) << code;
    }
    // A heavy ideograph of many strokes fits the glyph buffers.
    EXPECT_GT(shapeOf(0x9F98).contours, 4); // 龘
}

// What no face has is the box, drawn; below 256 the face's own rule stands: nothing drawn, the
// box's advance kept.
TEST_F(Fonts, MissingCharactersAreTheMissingGlyphBox) {
    const Shape box = shapeOf(0x378);
    EXPECT_GT(box.contours, 0);
    EXPECT_TRUE(shapeOf(0x379) == box);
    EXPECT_TRUE(shapeOf(0x10FFFD) == box);
    EXPECT_GT(inkOf(0x378), 10);
    const int boxAdvance = bitmap->advance;
    int pixelAdvance = 0;
    ASSERT_TRUE(getGlyphPixelAdvance(bitmapFont, 0x378, &pixelAdvance));
    EXPECT_EQ(pixelAdvance, boxAdvance);

    const Shape control = shapeOf(0x01);
    EXPECT_EQ(control.contours, 0);
    EXPECT_EQ(control.advance, box.advance);
    EXPECT_EQ(inkOf(0x01), 0);
    EXPECT_FALSE(getGlyphOutline(outlineFont, 0x110000, outline.get()));
    EXPECT_FALSE(getGlyphOutline(outlineFont, -1, outline.get()));
}

// Past U+FFFF a code is looked up whole: an emoji from the installed face that has it, and a
// private-use code whose low sixteen bits are 'A' or the emoji's is still one no face has.
TEST_F(Fonts, CharactersPastTheBasicPlaneAreLookedUpWhole) {
    const Shape box = shapeOf(0x378);
    const Shape smile = shapeOf(0x1F600); // 😀
    EXPECT_GT(smile.contours, 0);
    EXPECT_FALSE(smile == box);
    EXPECT_GT(smile.advance, 0.5f);
    EXPECT_GT(inkOf(0x1F600), 20);
    EXPECT_TRUE(shapeOf(0x100041) == box);
    EXPECT_TRUE(shapeOf(0x10F600) == box);
}
