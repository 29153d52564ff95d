// text_layout_test.cpp -- measuring and cutting a line of text between characters, and the
// UTF-8 decoding.
#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

#include "render/text_layout.h"

namespace {

// Each letter a..t gets its own width (a = 1, b = 2, ...), the dot 100, so a width computed
// after the dots went in would show; other characters are looked up in extra.
struct Tables {
    int32_t widths[256] = {};
    std::map<uint32_t, int32_t> extra;
    Tables() {
        for (int c = 'a'; c <= 't'; c++)
            widths[c] = c - 'a' + 1;
        widths['.'] = 100;
    }
};

int32_t bitmapWidth(uint32_t code, void *context) {
    const Tables *tables = static_cast<const Tables *>(context);
    return code < 256 ? tables->widths[code] : tables->extra.at(code);
}

float outlineWidth(uint32_t code, void *context) {
    return static_cast<float>(bitmapWidth(code, context));
}

const char *const TWENTY = "abcdefghijklmnopqrst";
constexpr int FIRST_TEN = 55; // 1 + 2 + ... + 10

std::vector<uint32_t> decoded(const char *utf8) {
    uint32_t codes[64];
    int count = decodeUtf8Text(utf8, codes, 64);
    return std::vector<uint32_t>(codes, codes + count);
}

std::string utf8Of(const std::vector<uint32_t> &codes) {
    std::string text;
    for (uint32_t c : codes) {
        if (c < 0x80) {
            text += static_cast<char>(c);
        } else if (c < 0x800) {
            text += static_cast<char>(0xC0 | (c >> 6));
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            text += static_cast<char>(0xE0 | (c >> 12));
            text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            text += static_cast<char>(0xF0 | (c >> 18));
            text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return text;
}

// A UTF-8 text decoded, cut to maxWidth with bitmap widths, and encoded again.
std::string cutBitmap(const char *utf8, int32_t maxWidth, Tables &tables, int32_t *width) {
    uint32_t codes[64];
    int count = decodeUtf8Text(utf8, codes, 64);
    *width = cutTextToWidth(codes, &count, maxWidth, bitmapWidth, &tables);
    return utf8Of(std::vector<uint32_t>(codes, codes + count));
}

std::string cutOutline(const char *utf8, float maxWidth, Tables &tables, float *width) {
    uint32_t codes[64];
    int count = decodeUtf8Text(utf8, codes, 64);
    *width = cutTextToWidth(codes, &count, maxWidth, outlineWidth, &tables);
    return utf8Of(std::vector<uint32_t>(codes, codes + count));
}

} // namespace

TEST(TextLayout, CutAfterTenOfTwentyKeepsSevenAndDotsAndTheWidthOfTen) {
    Tables tables;
    int32_t width = 0;
    float outline = 0.0f;
    // The eleventh letter (11) would pass 60: ten fit.
    EXPECT_EQ(cutBitmap(TWENTY, 60, tables, &width), "abcdefg...");
    EXPECT_EQ(width, FIRST_TEN);
    EXPECT_EQ(cutOutline(TWENTY, 60.0f, tables, &outline), "abcdefg...");
    EXPECT_FLOAT_EQ(outline, FIRST_TEN);
}

TEST(TextLayout, ShortCutsGetNoDots) {
    Tables tables;
    int32_t width = 0;
    float outline = 0.0f;
    EXPECT_EQ(cutBitmap(TWENTY, 27, tables, &width), "abcdef"); // the seventh (7) would pass 27
    EXPECT_EQ(width, 21);
    EXPECT_EQ(cutBitmap(TWENTY, 28, tables, &width), "abcd..."); // cut at 7: the first with dots
    EXPECT_EQ(width, 28);
    EXPECT_EQ(cutOutline("tab", 19.5f, tables, &outline), "");
    EXPECT_FLOAT_EQ(outline, 0.0f);
}

TEST(TextLayout, NoLimitAtZeroOrBelowAndAnExactFitIsKept) {
    Tables tables;
    int32_t width = 0;
    float outline = 0.0f;
    for (int limit : {0, -1}) {
        EXPECT_EQ(cutBitmap(TWENTY, limit, tables, &width), TWENTY);
        EXPECT_EQ(width, 210);
    }
    EXPECT_EQ(cutOutline(TWENTY, -5.0f, tables, &outline), TWENTY);
    EXPECT_FLOAT_EQ(outline, 210.0f);
    EXPECT_EQ(cutBitmap(TWENTY, 210, tables, &width), TWENTY);
    EXPECT_EQ(width, 210);
    EXPECT_EQ(cutBitmap("", 10, tables, &width), "");
    EXPECT_EQ(width, 0);
}

TEST(TextLayout, HighCodesUseTheirOwnAdvances) {
    Tables tables;
    tables.widths[0xE9] = 7;
    tables.widths[0xFE] = 9;
    int32_t width = 0;
    float outline = 0.0f;
    EXPECT_EQ(cutBitmap("\xC3\xA9\xC3\xBE\xC3\xA9", 0, tables, &width), "\xC3\xA9\xC3\xBE\xC3\xA9");
    EXPECT_EQ(width, 23);
    EXPECT_EQ(cutOutline("\xC3\xA9\xC3\xBE\xC3\xA9", 0.0f, tables, &outline),
              "\xC3\xA9\xC3\xBE\xC3\xA9");
    EXPECT_FLOAT_EQ(outline, 23.0f);
    EXPECT_EQ(cutBitmap("\xC3\xA9\xC3\xBE\xC3\xA9", 16, tables, &width), "\xC3\xA9\xC3\xBE");
    EXPECT_EQ(width, 16);
}

// An emoji of four bytes and ideographs of three, each one character: a cut lands between
// characters and the dots replace whole characters, so the text stays whole UTF-8.
TEST(TextLayout, CutsBetweenMultiByteCharacters) {
    Tables tables;
    const std::string emoji = "\xF0\x9F\x98\x80";
    const std::string ideographs = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E" // 日本語
                                   "\xE3\x81\xAE\xE5\x90\x8D\xE5\x89\x8D" // の名前
                                   "\xE3\x81\xA7\xE3\x81\x99";            // です
    const std::string text = emoji + ideographs + "z";
    for (uint32_t code : decoded(text.c_str()))
        if (code >= 256)
            tables.extra[code] = 10;
    int32_t width = 0;
    // Seven of ten-wide fit in 75: cut at the eighth, the last three kept turned to dots.
    EXPECT_EQ(cutBitmap(text.c_str(), 75, tables, &width), emoji + ideographs.substr(0, 9) + "...");
    EXPECT_EQ(width, 70);
    // Four fit in 45: no dots, four whole characters.
    EXPECT_EQ(cutBitmap(text.c_str(), 45, tables, &width), emoji + ideographs.substr(0, 9));
    EXPECT_EQ(width, 40);
    EXPECT_EQ(cutBitmap(text.c_str(), 5, tables, &width), "");
    EXPECT_EQ(cutBitmap(text.c_str(), 0, tables, &width), text);
    EXPECT_EQ(width, 9 * 10); // z has no width in the table
}

TEST(TextLayout, DecodesEveryCharacterToItsCodePoint) {
    EXPECT_EQ(decoded("Caf\xC3\xA9 \xC3\xBF!"),
              (std::vector<uint32_t>{'C', 'a', 'f', 0xE9, ' ', 0xFF, '!'}));
    EXPECT_EQ(decoded("\xC2\x80"), (std::vector<uint32_t>{0x80})); // lowest two-byte form
    EXPECT_EQ(decoded("a\xE4\xB8\xADz"), (std::vector<uint32_t>{'a', 0x4E2D, 'z'}));
    EXPECT_EQ(decoded("\xC4\x80\xD0\xAF"), (std::vector<uint32_t>{0x100, 0x42F}));
    EXPECT_EQ(decoded("\xF0\x9F\x98\x80."), (std::vector<uint32_t>{0x1F600, '.'}));
    // The lowest and highest lead bytes of three- and four-byte forms.
    EXPECT_EQ(decoded("\xE0\xA4\x85|\xF4\x8F\xBF\xBF"),
              (std::vector<uint32_t>{0x905, '|', 0x10FFFF}));
    // Only as many as there is room for.
    uint32_t codes[2];
    EXPECT_EQ(decodeUtf8Text("\xD0\xAF\xD0\xAF\xD0\xAF", codes, 2), 2);
}

// Names that are not UTF-8 show as they always have: each ill-formed sequence one '?'.
TEST(TextLayout, IllFormedBytesBecomeQuestionMarks) {
    EXPECT_EQ(utf8Of(decoded("x\x80y")), "x?y");            // stray continuation
    EXPECT_EQ(utf8Of(decoded("x\xC3y")), "x?y");            // lead without continuation
    EXPECT_EQ(utf8Of(decoded("Caf\xE9")), "Caf?");          // a Latin-1 name
    EXPECT_EQ(utf8Of(decoded("\xC0\xAF")), "??");           // overlong '/'
    EXPECT_EQ(utf8Of(decoded("\xE0\x80\x80")), "???");      // overlong three-byte
    EXPECT_EQ(utf8Of(decoded("\xED\xA0\x80")), "???");      // surrogate
    EXPECT_EQ(utf8Of(decoded("\xF5\x80\x80\x80")), "????"); // past U+10FFFF
    EXPECT_EQ(utf8Of(decoded("\xFF\xFE")), "??");
    EXPECT_EQ(utf8Of(decoded("ab\xE4\xB8")), "ab?"); // truncated at the end: one '?'
    EXPECT_EQ(utf8Of(decoded("ab\xF0\x9F\x98")), "ab?");
}

// A text the program cut to a buffer loses the character the cut broke, never more; bytes that
// were ill-formed before the cut stay for the decoder to show.
TEST(TextLayout, CompleteCharactersDropOnlyWhatACutBroke) {
    const char *const text = "ab\xE4\xB8\xAD\xF0\x9F\x98\x80";
    EXPECT_EQ(completeCharactersLength(text, 9), 9u);
    EXPECT_EQ(completeCharactersLength(text, 8), 5u);
    EXPECT_EQ(completeCharactersLength(text, 7), 5u);
    EXPECT_EQ(completeCharactersLength(text, 6), 5u);
    EXPECT_EQ(completeCharactersLength(text, 5), 5u);
    EXPECT_EQ(completeCharactersLength(text, 4), 2u);
    EXPECT_EQ(completeCharactersLength(text, 3), 2u);
    EXPECT_EQ(completeCharactersLength(text, 2), 2u);
    EXPECT_EQ(completeCharactersLength(text, 0), 0u);
    EXPECT_EQ(completeCharactersLength("a\x80\x80", 3), 3u); // stray bytes, not a cut
    EXPECT_EQ(completeCharactersLength("a\xE0\x80", 3), 3u); // overlong start, not a cut
    EXPECT_EQ(completeCharactersLength("a\xC3", 2), 1u);
}
