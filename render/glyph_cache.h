// glyph_cache.h -- the bookkeeping of the glyphs made on first use, for characters past the
// preset 256 codes: a fixed table per font, so their memory is bounded; when it is full the
// least recently used glyph gives up its slot, never one the text being laid out still needs.
#pragma once
#include <cstdint>

// Slots per font. A room's labels and a line of screen text need far fewer.
constexpr int GLYPH_CACHE_SLOTS = 2048;
constexpr int GLYPH_CACHE_INDEX_SIZE = 2 * GLYPH_CACHE_SLOTS; // open addressing, half full

struct GlyphCache {
    uint32_t codes[GLYPH_CACHE_SLOTS];
    float advances[GLYPH_CACHE_SLOTS];
    uint64_t lastUse[GLYPH_CACHE_SLOTS];
    int16_t index[GLYPH_CACHE_INDEX_SIZE]; // slot of a code, or -1
    int slotsUsed;
    uint64_t clock;    // counts uses
    uint64_t heldFrom; // slots used at or after this use stay
};

void resetGlyphCache(GlyphCache *cache);

// The slot holding the code's glyph, marked as just used; -1 when it has none.
int findGlyph(GlyphCache *cache, uint32_t code);

// A slot for a code that has none: a free one, or the least recently used one that is not held.
// The slot is marked as just used; *reused says whether it held another glyph before. -1 when
// every slot is held.
int claimGlyphSlot(GlyphCache *cache, uint32_t code, bool *reused);

// Glyphs used from now on are held until the next call: the text being laid out, or the
// display list being compiled, which calls them by name.
void holdGlyphsFromNow(GlyphCache *cache);
