// name_order_test.cpp -- NTFS's name order: the upper case of each UTF-16 unit, the comparison
// of two names, and the sort key that must order names exactly as the comparison does.
#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/name_order.h"

namespace {

int sign(int value) {
    return (value > 0) - (value < 0);
}

std::string keyOf(const std::string &name) {
    std::string key(nameSortKeyCapacity(name.size()), '\0');
    key.resize(nameSortKey(name.data(), name.size(), reinterpret_cast<unsigned char *>(&key[0])));
    return key;
}

// Byte order of two keys, a prefix first.
int keyOrder(const std::string &a, const std::string &b) {
    return sign(a.compare(b));
}

} // namespace

TEST(NameOrder, UpcasesLettersOfEveryCoveredScriptOneToOne) {
    struct Case {
        uint16_t lower, upper;
    } cases[] = {
        {'a', 'A'},       {'z', 'Z'},       {0xE9, 0xC9},     // é
        {0xFE, 0xDE},     {0xFF, 0x178},    {0xB5, 0x39C},    // þ, ÿ, micro sign
        {0x101, 0x100},   {0x17E, 0x17D},   {0x13A, 0x139},   // ā, ž, ĺ
        {0x131, 'I'},     {0x17F, 'S'},     {0x1C6, 0x1C4},   // dotless i, long s, dž
        {0x3B1, 0x391},   {0x3C9, 0x3A9},   {0x3C2, 0x3A3},   // α, ω, final sigma
        {0x3AC, 0x386},   {0x3CC, 0x38C},   {0x430, 0x410},   // ά, ό, а
        {0x44F, 0x42F},   {0x451, 0x401},   {0x463, 0x462},   // я, ё, ѣ
        {0x4CF, 0x4C0},   {0x561, 0x531},   {0x1EA1, 0x1EA0}, // palochka, Armenian ա, ạ
        {0x1F00, 0x1F08}, {0x217F, 0x216F}, {0x24D0, 0x24B6}, // ἀ, small numeral 1000, ⓐ
        {0xFF41, 0xFF21}, {0xFF5A, 0xFF3A},                   // fullwidth a, z
    };
    for (const Case &c : cases) {
        EXPECT_EQ(upcaseUnit(c.lower), c.upper) << std::hex << c.lower;
        EXPECT_EQ(upcaseUnit(c.upper), c.upper) << std::hex << c.upper;
    }
    // No one-to-many expansion, and what has no simple upper case stays.
    for (uint16_t unit : {0xDF, 0xF7, 0x138, 0x149, 0x390, 0x5F, 0x30, 0x4E2D, 0xD83D, 0xDE00,
                          0xE000, 0xFFFF, 0x10D0, 0x2D00, 0x0})
        EXPECT_EQ(upcaseUnit(unit), unit) << std::hex << unit;
}

TEST(NameOrder, ComparesCaseBlindThenByBytes) {
    // Each name comes before the next.
    const std::vector<std::string> ordered = {
        "1",
        "10",
        "A.jpg",
        "a.jpg", // equal to "A.jpg" but for the case: the bytes decide
        "a.jpg.txt",
        "b.JPG",
        "IMG_0009.jpg",
        "IMG_0010.jpg",
        "img_0011.jpg",
        "Z",
        "_under",            // '_' (0x5F) follows the upper-cased letters
        "\xC3\x89t\xC3\xA9", // Été
        "\xC3\xA9t\xC3\xA9", // été
        "\xC3\xBF",          // ÿ, upper-cased U+0178
        "\xCE\xB1",          // α
        "\xD0\xAF",          // Я
        "\xD1\x8F",          // я
        "\xE4\xB8\xAD",      // U+4E2D
        "\xF0\x9F\x98\x80",  // U+1F600: surrogates D83D DE00, so before U+E000
        "\xEE\x80\x80",      // U+E000
        "\xEF\xBC\xA1",      // fullwidth A, U+FF21
        "\xEF\xBD\x81",      // fullwidth a, the same unit upper-cased
    };
    for (size_t i = 0; i < ordered.size(); i++) {
        EXPECT_EQ(compareNames(ordered[i].c_str(), ordered[i].c_str()), 0) << ordered[i];
        for (size_t j = i + 1; j < ordered.size(); j++) {
            EXPECT_LT(compareNames(ordered[i].c_str(), ordered[j].c_str()), 0)
                << ordered[i] << " / " << ordered[j];
            EXPECT_GT(compareNames(ordered[j].c_str(), ordered[i].c_str()), 0)
                << ordered[j] << " / " << ordered[i];
        }
    }
}

TEST(NameOrder, BytesThatAreNotUtf8CountByTheirValue) {
    // A Latin-1 'é' (0xE9) alone is no UTF-8: it counts as 0xE9, not upper-cased to 0xC9.
    EXPECT_GT(compareNames("\xE9", "\xC3\x89"), 0);         // 0xE9 after É (0xC9)
    EXPECT_GT(compareNames("\xE9", "\xC3\x8B"), 0);         // 0xE9 after Ë (0xCB)
    EXPECT_LT(compareNames("\xE9", "\xC3\xBF"), 0);         // 0xE9 before ÿ (0x178)
    EXPECT_LT(compareNames("z", "\x80"), 0);                // a stray continuation byte
    EXPECT_GT(compareNames("\xC3", "\xC3\x80x"), 0);        // a cut-off lead 0xC3 after À
    EXPECT_LT(compareNames("\xED\xA0\x80", "\xC3\xBF"), 0); // a surrogate's bytes: 0xED first
    EXPECT_LT(compareNames("\xC0\xAF", "\xC3\x81"), 0);     // overlong '/': 0xC0 before Á
    // Equal units, different bytes: still a total order.
    EXPECT_NE(compareNames("\xC3\x89", "\xC9"), 0);
    EXPECT_EQ(sign(compareNames("\xC3\x89", "\xC9")), -sign(compareNames("\xC9", "\xC3\x89")));
}

TEST(NameOrder, SortKeysOrderNamesAsTheComparisonDoes) {
    std::vector<std::string> names = {
        "",
        "a",
        "A",
        "ab",
        "aB",
        "Ab",
        "AB",
        "a b",
        "a_b",
        "a.b",
        "b",
        "\xC3\xA9",
        "\xC3\x89",
        "\xE9",
        "\xC9",
        "\xFF\xFE",
        "\xC3\xBF",
        "\xC5\xB8",
        "\xE2\x82\xAC",
        "\xF0\x9F\x98\x80",
        "\xEF\xBF\xBF",
        "\xF4\x8F\xBF\xBF",
        "\xE4\xB8\xAD\xE6\x96\x87",
        "long name sharing a prefix",
        "LONG NAME SHARING A PREFIX",
        "long name sharing a prefiy",
        "long name sharing a",
        "\xD1\x8F\xD0\xB1\xD0\xBB\xD0\xBE\xD0\xBA\xD0\xBE",
        "\xD0\xAF\xD0\x91",
        "\xC9\x90",
        "\x7F",
        "\x01",
    };
    for (const std::string &a : names) {
        EXPECT_LE(keyOf(a).size(), nameSortKeyCapacity(a.size())) << a;
        for (const std::string &b : names)
            EXPECT_EQ(keyOrder(keyOf(a), keyOf(b)), sign(compareNames(a.c_str(), b.c_str())))
                << a << " / " << b;
    }
    // The longest key of all: every byte a stray one.
    const std::string stray(255, '\xFF');
    EXPECT_EQ(keyOf(stray).size(), nameSortKeyCapacity(stray.size()));
}
