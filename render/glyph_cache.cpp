// glyph_cache.cpp -- a fixed table of glyph slots with a code index and least-recently-used
// replacement.
#include "render/glyph_cache.h"

namespace {

int bucketOf(uint32_t code) {
    return static_cast<int>((code * 2654435761u) % GLYPH_CACHE_INDEX_SIZE);
}

void indexSlot(GlyphCache *cache, int slot) {
    int bucket = bucketOf(cache->codes[slot]);
    while (cache->index[bucket] >= 0)
        bucket = (bucket + 1) % GLYPH_CACHE_INDEX_SIZE;
    cache->index[bucket] = static_cast<int16_t>(slot);
}

// Replacing a slot's code is rare (the table is full), so the index is simply made anew.
void rebuildIndex(GlyphCache *cache) {
    for (int bucket = 0; bucket < GLYPH_CACHE_INDEX_SIZE; bucket++)
        cache->index[bucket] = -1;
    for (int slot = 0; slot < cache->slotsUsed; slot++)
        indexSlot(cache, slot);
}

} // namespace

void resetGlyphCache(GlyphCache *cache) {
    cache->slotsUsed = 0;
    cache->clock = 0;
    cache->heldFrom = 0;
    for (int bucket = 0; bucket < GLYPH_CACHE_INDEX_SIZE; bucket++)
        cache->index[bucket] = -1;
}

int findGlyph(GlyphCache *cache, uint32_t code) {
    for (int bucket = bucketOf(code); cache->index[bucket] >= 0;
         bucket = (bucket + 1) % GLYPH_CACHE_INDEX_SIZE) {
        int slot = cache->index[bucket];
        if (cache->codes[slot] == code) {
            cache->lastUse[slot] = cache->clock++;
            return slot;
        }
    }
    return -1;
}

int claimGlyphSlot(GlyphCache *cache, uint32_t code, bool *reused) {
    int slot = -1;
    if (cache->slotsUsed < GLYPH_CACHE_SLOTS) {
        slot = cache->slotsUsed++;
        *reused = false;
    } else {
        for (int candidate = 0; candidate < GLYPH_CACHE_SLOTS; candidate++) {
            if (cache->lastUse[candidate] < cache->heldFrom &&
                (slot < 0 || cache->lastUse[candidate] < cache->lastUse[slot]))
                slot = candidate;
        }
        if (slot < 0)
            return -1;
        *reused = true;
    }
    cache->codes[slot] = code;
    cache->advances[slot] = 0.0f;
    cache->lastUse[slot] = cache->clock++;
    if (*reused)
        rebuildIndex(cache);
    else
        indexSlot(cache, slot);
    return slot;
}

void holdGlyphsFromNow(GlyphCache *cache) {
    cache->heldFrom = cache->clock;
}
