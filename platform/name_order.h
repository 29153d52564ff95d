// name_order.h -- the order in which folder entries and drives are listed: the one NTFS keeps,
// by name compared UTF-16 unit by unit after upper-casing, a tie broken by the exact bytes.
#pragma once
#include <cstddef>
#include <cstdint>

// The upper case of a UTF-16 unit by Unicode's simple (one to one) mapping, the kind of
// mapping an NTFS upcase table holds, for Latin, IPA, Greek, Cyrillic, Armenian, Latin Extended
// Additional, Greek Extended, number forms, circled and fullwidth letters; never one unit to
// several (no ß to SS). Every other unit, surrogates among them, maps to itself.
uint16_t upcaseUnit(uint16_t unit);

// Negative, zero or positive as name a comes before, is, or comes after name b. A name is read
// as UTF-8; a byte that does not begin a well-formed sequence counts as a unit of its own
// value, not upper-cased.
int compareNames(const char *a, const char *b);

// Room nameSortKey needs for a name of the given length in bytes: a byte that is not UTF-8
// takes two key bytes, more than any sequence per byte, then the NUL and the name itself.
constexpr size_t nameSortKeyCapacity(size_t length) {
    return 3 * length + 1;
}

// Writes a key whose plain byte order (memcmp, a prefix first) is the name order of
// compareNames; returns its length. The key holds no NUL but the one between the upper-cased
// units and the name's own bytes.
size_t nameSortKey(const char *name, size_t length, unsigned char *key);
