// fonts_failure_test.cpp -- building the two fonts on scripted fonts: the requests, the advance
// tables, and every failure's message with the fonts released.
#include <cstring>
#include <gtest/gtest.h>

#include "fakes/fake_fonts.h"
#include "fakes/fake_message_box.h"
#include "render/text.h"

namespace {

class BuildFonts : public ::testing::Test {
  protected:
    void SetUp() override {
        resetFakeFonts();
        resetFakeMessageBoxes();
    }

    void expectOneFailure(const char *text) {
        ASSERT_EQ(shownMessageBoxes.size(), 1u);
        EXPECT_EQ(shownMessageBoxes[0].text, text);
        EXPECT_EQ(shownMessageBoxes[0].title, "Initialization Failure");
        EXPECT_EQ(shownMessageBoxes[0].kind, MESSAGE_BOX_ERROR);
        EXPECT_EQ(fakeFontsOpen(), 0);
    }
};

} // namespace

// The fonts stay open for glyphs made on first use until they are freed.
TEST_F(BuildFonts, AsksForBoldArialAtEmTwelveThenSixteenAndKeepsBothUntilFreed) {
    ASSERT_TRUE(buildFonts());
    EXPECT_TRUE(shownMessageBoxes.empty());
    ASSERT_EQ(fakeFontRequests.size(), 2u);
    EXPECT_EQ(fakeFontRequests[0].faceName, "Arial");
    EXPECT_EQ(fakeFontRequests[0].height, -12);
    EXPECT_EQ(fakeFontRequests[0].weight, 700);
    EXPECT_EQ(fakeFontRequests[1].faceName, "Arial");
    EXPECT_EQ(fakeFontRequests[1].height, -16);
    EXPECT_EQ(fakeFontRequests[1].weight, 700);
    EXPECT_EQ(fakeFontsOpen(), 2);
    freeFonts();
    EXPECT_EQ(fakeFontsReleased, 2);
    EXPECT_EQ(fakeFontsOpen(), 0);
    // A second build, as after a fullscreen switch, closes what the first one left open.
    ASSERT_TRUE(buildFonts());
    ASSERT_TRUE(buildFonts());
    EXPECT_EQ(fakeFontsOpen(), 2);
    freeFonts();
}

TEST_F(BuildFonts, FillsAdvancesForCodesBelow255AndBitmapWidthsForAll) {
    ASSERT_TRUE(buildFonts());
    for (int code : {0, int('A'), 0xE9, 254}) {
        EXPECT_FLOAT_EQ(glyphMetrics[code].cellIncX, fakeOutlineAdvance(code)) << code;
        EXPECT_EQ(glyphMetrics[code].cellIncY, 0.0f);
    }
    EXPECT_FLOAT_EQ(glyphMetrics['A'].glyphOriginY, 0.5f);
    const GlyphMetricsFloat zero = {};
    EXPECT_EQ(memcmp(&glyphMetrics[255], &zero, sizeof zero), 0);
    for (int code = 0; code < 256; code++)
        ASSERT_EQ(bitmapCharWidths[code], fakeBitmapAdvance(code)) << code;
    freeFonts();
}

TEST_F(BuildFonts, OutlineFontThatCannotBeCreated) {
    fakeFontCreateFailsAt = 1;
    EXPECT_FALSE(buildFonts());
    expectOneFailure("Unable to create font");
    EXPECT_EQ(fakeFontRequests.size(), 1u);
}

TEST_F(BuildFonts, BitmapFontThatCannotBeCreated) {
    fakeFontCreateFailsAt = 2;
    EXPECT_FALSE(buildFonts());
    expectOneFailure("Unable to create font");
    EXPECT_EQ(fakeFontsReleased, 1);
}

TEST_F(BuildFonts, OutlineGlyphThatCannotBeRead) {
    fakeFontOutlineFailsAt = 'Q';
    EXPECT_FALSE(buildFonts());
    expectOneFailure("Unable to create outline font");
    EXPECT_EQ(fakeFontRequests.size(), 1u); // the bitmap font is never asked for
    EXPECT_EQ(fakeFontsReleased, 1);
}

TEST_F(BuildFonts, BitmapGlyphThatCannotBeRead) {
    fakeFontBitmapFailsAt = 200;
    EXPECT_FALSE(buildFonts());
    expectOneFailure("Unable to create bitmap font");
    EXPECT_EQ(fakeFontsReleased, 2);
}
