// text_layout_test.cpp -- measuring and cutting a line of text, and the UTF-8 transcoding.
#include <cstring>
#include <gtest/gtest.h>
#include <string>

#include "render/text_layout.h"

namespace {

// Each letter a..t gets its own width (a = 1, b = 2, ...), the dot 100, so a width computed
// after the dots went in would show.
struct Tables {
    int32_t widths[256] = {};
    GlyphMetricsFloat metrics[256] = {};
    Tables() {
        for (int c = 'a'; c <= 't'; c++)
            set(c, c - 'a' + 1);
        set('.', 100);
    }
    void set(int code, int width) {
        widths[code] = width;
        metrics[code].cellIncX = static_cast<float>(width);
    }
};

const char *const TWENTY = "abcdefghijklmnopqrst";
constexpr int FIRST_TEN = 55; // 1 + 2 + ... + 10

std::string transcoded(const char *utf8) {
    char buffer[64];
    strcpy(buffer, utf8);
    transcodeUtf8ToLatin1(buffer);
    return buffer;
}

} // namespace

TEST(TextLayout, CutAfterTenOfTwentyKeepsSevenAndDotsAndTheWidthOfTen) {
    Tables tables;
    char bitmapText[32], outlineText[32];
    strcpy(bitmapText, TWENTY);
    strcpy(outlineText, TWENTY);
    // The eleventh letter (11) would pass 60: ten fit.
    EXPECT_EQ(cutTextToWidth(bitmapText, 60, tables.widths), FIRST_TEN);
    EXPECT_STREQ(bitmapText, "abcdefg...");
    EXPECT_FLOAT_EQ(cutTextToWidth(outlineText, 60.0f, tables.metrics), FIRST_TEN);
    EXPECT_STREQ(outlineText, "abcdefg...");
}

TEST(TextLayout, ShortCutsGetNoDots) {
    Tables tables;
    char text[32];
    strcpy(text, TWENTY);
    EXPECT_EQ(cutTextToWidth(text, 27, tables.widths), 21); // the seventh (7) would pass 27
    EXPECT_STREQ(text, "abcdef");
    strcpy(text, TWENTY);
    EXPECT_EQ(cutTextToWidth(text, 28, tables.widths), 28); // cut at 7: the first with dots
    EXPECT_STREQ(text, "abcd...");
    strcpy(text, "tab");
    EXPECT_FLOAT_EQ(cutTextToWidth(text, 19.5f, tables.metrics), 0.0f);
    EXPECT_STREQ(text, "");
}

TEST(TextLayout, NoLimitAtZeroOrBelowAndAnExactFitIsKept) {
    Tables tables;
    char text[32];
    for (int limit : {0, -1}) {
        strcpy(text, TWENTY);
        EXPECT_EQ(cutTextToWidth(text, limit, tables.widths), 210);
        EXPECT_STREQ(text, TWENTY);
    }
    strcpy(text, TWENTY);
    EXPECT_FLOAT_EQ(cutTextToWidth(text, -5.0f, tables.metrics), 210.0f);
    strcpy(text, TWENTY);
    EXPECT_EQ(cutTextToWidth(text, 210, tables.widths), 210);
    EXPECT_STREQ(text, TWENTY);
    strcpy(text, "");
    EXPECT_EQ(cutTextToWidth(text, 10, tables.widths), 0);
}

TEST(TextLayout, HighCodesUseTheirOwnAdvances) {
    Tables tables;
    tables.set(0xE9, 7);
    tables.set(0xFE, 9);
    char text[8] = "\xE9\xFE\xE9";
    EXPECT_EQ(cutTextToWidth(text, 0, tables.widths), 23);
    EXPECT_FLOAT_EQ(cutTextToWidth(text, 0.0f, tables.metrics), 23.0f);
    EXPECT_EQ(cutTextToWidth(text, 16, tables.widths), 16);
    EXPECT_STREQ(text, "\xE9\xFE");
}

TEST(TextLayout, TranscodesLatinRangeAndReplacesTheRest) {
    EXPECT_EQ(transcoded("Caf\xC3\xA9 \xC3\xBF!"), "Caf\xE9 \xFF!"); // U+00E9, U+00FF
    EXPECT_EQ(transcoded("\xC2\x80"), "\x80");                       // U+0080, lowest two-byte
    EXPECT_EQ(transcoded("a\xE4\xB8\xADz"), "a?z");                  // U+4E2D
    EXPECT_EQ(transcoded("\xC4\x80"), "?");                          // U+0100
    EXPECT_EQ(transcoded("\xF0\x9F\x98\x80."), "?.");                // U+1F600
    // The lowest and highest lead bytes of three- and four-byte forms: one '?' each.
    EXPECT_EQ(transcoded("\xE0\xA4\x85|\xF4\x8F\xBF\xBF"), "?|?"); // U+0905, U+10FFFF
}

TEST(TextLayout, IllFormedBytesBecomeQuestionMarks) {
    EXPECT_EQ(transcoded("x\x80y"), "x?y");            // stray continuation
    EXPECT_EQ(transcoded("x\xC3y"), "x?y");            // lead without continuation
    EXPECT_EQ(transcoded("\xC0\xAF"), "??");           // overlong '/'
    EXPECT_EQ(transcoded("\xE0\x80\x80"), "???");      // overlong three-byte
    EXPECT_EQ(transcoded("\xED\xA0\x80"), "???");      // surrogate
    EXPECT_EQ(transcoded("\xF5\x80\x80\x80"), "????"); // past U+10FFFF
    EXPECT_EQ(transcoded("\xFF\xFE"), "??");
    EXPECT_EQ(transcoded("ab\xE4\xB8"), "ab?"); // truncated at the end: one '?'
    EXPECT_EQ(transcoded("ab\xF0\x9F\x98"), "ab?");
}
