// glyph_cache_test.cpp -- the bounded table of glyphs made on first use: slots taken in turn,
// the least recently used one given up when full, and held glyphs never given up.
#include <gtest/gtest.h>
#include <memory>

#include "render/glyph_cache.h"

namespace {

constexpr uint32_t FIRST_CODE = 0x4E00;

// A cache filled with one glyph per slot, codes FIRST_CODE + slot, none held.
std::unique_ptr<GlyphCache> fullCache() {
    auto cache = std::make_unique<GlyphCache>();
    resetGlyphCache(cache.get());
    for (int slot = 0; slot < GLYPH_CACHE_SLOTS; slot++) {
        bool reused = true;
        EXPECT_EQ(claimGlyphSlot(cache.get(), FIRST_CODE + slot, &reused), slot);
        EXPECT_FALSE(reused);
    }
    holdGlyphsFromNow(cache.get());
    return cache;
}

} // namespace

TEST(GlyphCache, FindsWhatWasClaimedAndNothingElse) {
    auto cache = fullCache();
    for (int slot = 0; slot < GLYPH_CACHE_SLOTS; slot++)
        ASSERT_EQ(findGlyph(cache.get(), FIRST_CODE + slot), slot);
    EXPECT_EQ(findGlyph(cache.get(), FIRST_CODE - 1), -1);
    EXPECT_EQ(findGlyph(cache.get(), FIRST_CODE + GLYPH_CACHE_SLOTS), -1);
    resetGlyphCache(cache.get());
    EXPECT_EQ(findGlyph(cache.get(), FIRST_CODE), -1);
}

TEST(GlyphCache, AFullTableGivesUpTheLeastRecentlyUsedSlot) {
    auto cache = fullCache();
    // Slot 0 is used again, so slot 1 is now the one used longest ago.
    ASSERT_EQ(findGlyph(cache.get(), FIRST_CODE), 0);
    holdGlyphsFromNow(cache.get());
    bool reused = false;
    EXPECT_EQ(claimGlyphSlot(cache.get(), 0x10000, &reused), 1);
    EXPECT_TRUE(reused);
    EXPECT_EQ(findGlyph(cache.get(), 0x10000), 1);
    EXPECT_EQ(findGlyph(cache.get(), FIRST_CODE + 1), -1);
    EXPECT_EQ(findGlyph(cache.get(), FIRST_CODE), 0);
    EXPECT_EQ(claimGlyphSlot(cache.get(), 0x10001, &reused), 2);
    // The table never grows.
    for (int slot = 0; slot < GLYPH_CACHE_SLOTS; slot++)
        EXPECT_GE(cache->codes[slot], FIRST_CODE);
}

TEST(GlyphCache, HeldGlyphsAreNeverGivenUp) {
    auto cache = fullCache();
    // Everything but slots 7 and 9 is used by the current text or list: held.
    resetGlyphCache(cache.get());
    for (int slot = 0; slot < GLYPH_CACHE_SLOTS; slot++) {
        bool reused = false;
        claimGlyphSlot(cache.get(), FIRST_CODE + slot, &reused);
    }
    ASSERT_EQ(findGlyph(cache.get(), FIRST_CODE + 9), 9);
    ASSERT_EQ(findGlyph(cache.get(), FIRST_CODE + 7), 7);
    holdGlyphsFromNow(cache.get());
    for (int slot = 0; slot < GLYPH_CACHE_SLOTS; slot++) {
        if (slot != 7 && slot != 9) {
            ASSERT_EQ(findGlyph(cache.get(), FIRST_CODE + slot), slot);
        }
    }
    bool reused = false;
    EXPECT_EQ(claimGlyphSlot(cache.get(), 1, &reused), 9); // used before 7 was
    EXPECT_EQ(claimGlyphSlot(cache.get(), 2, &reused), 7);
    EXPECT_EQ(claimGlyphSlot(cache.get(), 3, &reused), -1); // all held
    EXPECT_EQ(findGlyph(cache.get(), 3), -1);
    // Once the batch is over, its glyphs may go.
    holdGlyphsFromNow(cache.get());
    EXPECT_EQ(claimGlyphSlot(cache.get(), 3, &reused), 0);
}
