// name_order_posix.cpp -- NTFS's name order for the Linux listings: UTF-8 names read as UTF-16
// units, upper-cased by Unicode's simple mapping, compared unit by unit, ties by bytes.
#include "platform/name_order.h"

#include <cstring>

namespace {

// Runs of lower-case units: every step-th unit from first to last maps to unit + delta. Made
// from the simple uppercase field of the Unicode Character Database (15.0), for the blocks the
// header names, mappings within the Basic Multilingual Plane only; sorted by first.
struct UpcaseRun {
    uint16_t first;
    uint16_t last;
    int32_t delta;
    uint8_t step;
};

const UpcaseRun UPCASE_RUNS[] = {
    {0x0061, 0x007A, -32, 1},   {0x00B5, 0x00B5, 743, 1},   {0x00E0, 0x00F6, -32, 1},
    {0x00F8, 0x00FE, -32, 1},   {0x00FF, 0x00FF, 121, 1},   {0x0101, 0x012F, -1, 2},
    {0x0131, 0x0131, -232, 1},  {0x0133, 0x0137, -1, 2},    {0x013A, 0x0148, -1, 2},
    {0x014B, 0x0177, -1, 2},    {0x017A, 0x017E, -1, 2},    {0x017F, 0x017F, -300, 1},
    {0x0180, 0x0180, 195, 1},   {0x0183, 0x0185, -1, 2},    {0x0188, 0x0188, -1, 1},
    {0x018C, 0x018C, -1, 1},    {0x0192, 0x0192, -1, 1},    {0x0195, 0x0195, 97, 1},
    {0x0199, 0x0199, -1, 1},    {0x019A, 0x019A, 163, 1},   {0x019E, 0x019E, 130, 1},
    {0x01A1, 0x01A5, -1, 2},    {0x01A8, 0x01A8, -1, 1},    {0x01AD, 0x01AD, -1, 1},
    {0x01B0, 0x01B0, -1, 1},    {0x01B4, 0x01B6, -1, 2},    {0x01B9, 0x01B9, -1, 1},
    {0x01BD, 0x01BD, -1, 1},    {0x01BF, 0x01BF, 56, 1},    {0x01C5, 0x01C5, -1, 1},
    {0x01C6, 0x01C6, -2, 1},    {0x01C8, 0x01C8, -1, 1},    {0x01C9, 0x01C9, -2, 1},
    {0x01CB, 0x01CB, -1, 1},    {0x01CC, 0x01CC, -2, 1},    {0x01CE, 0x01DC, -1, 2},
    {0x01DD, 0x01DD, -79, 1},   {0x01DF, 0x01EF, -1, 2},    {0x01F2, 0x01F2, -1, 1},
    {0x01F3, 0x01F3, -2, 1},    {0x01F5, 0x01F5, -1, 1},    {0x01F9, 0x021F, -1, 2},
    {0x0223, 0x0233, -1, 2},    {0x023C, 0x023C, -1, 1},    {0x023F, 0x0240, 10815, 1},
    {0x0242, 0x0242, -1, 1},    {0x0247, 0x024F, -1, 2},    {0x0250, 0x0250, 10783, 1},
    {0x0251, 0x0251, 10780, 1}, {0x0252, 0x0252, 10782, 1}, {0x0253, 0x0253, -210, 1},
    {0x0254, 0x0254, -206, 1},  {0x0256, 0x0257, -205, 1},  {0x0259, 0x0259, -202, 1},
    {0x025B, 0x025B, -203, 1},  {0x025C, 0x025C, 42319, 1}, {0x0260, 0x0260, -205, 1},
    {0x0261, 0x0261, 42315, 1}, {0x0263, 0x0263, -207, 1},  {0x0265, 0x0265, 42280, 1},
    {0x0266, 0x0266, 42308, 1}, {0x0268, 0x0268, -209, 1},  {0x0269, 0x0269, -211, 1},
    {0x026A, 0x026A, 42308, 1}, {0x026B, 0x026B, 10743, 1}, {0x026C, 0x026C, 42305, 1},
    {0x026F, 0x026F, -211, 1},  {0x0271, 0x0271, 10749, 1}, {0x0272, 0x0272, -213, 1},
    {0x0275, 0x0275, -214, 1},  {0x027D, 0x027D, 10727, 1}, {0x0280, 0x0280, -218, 1},
    {0x0282, 0x0282, 42307, 1}, {0x0283, 0x0283, -218, 1},  {0x0287, 0x0287, 42282, 1},
    {0x0288, 0x0288, -218, 1},  {0x0289, 0x0289, -69, 1},   {0x028A, 0x028B, -217, 1},
    {0x028C, 0x028C, -71, 1},   {0x0292, 0x0292, -219, 1},  {0x029D, 0x029D, 42261, 1},
    {0x029E, 0x029E, 42258, 1}, {0x0371, 0x0373, -1, 2},    {0x0377, 0x0377, -1, 1},
    {0x037B, 0x037D, 130, 1},   {0x03AC, 0x03AC, -38, 1},   {0x03AD, 0x03AF, -37, 1},
    {0x03B1, 0x03C1, -32, 1},   {0x03C2, 0x03C2, -31, 1},   {0x03C3, 0x03CB, -32, 1},
    {0x03CC, 0x03CC, -64, 1},   {0x03CD, 0x03CE, -63, 1},   {0x03D0, 0x03D0, -62, 1},
    {0x03D1, 0x03D1, -57, 1},   {0x03D5, 0x03D5, -47, 1},   {0x03D6, 0x03D6, -54, 1},
    {0x03D7, 0x03D7, -8, 1},    {0x03D9, 0x03EF, -1, 2},    {0x03F0, 0x03F0, -86, 1},
    {0x03F1, 0x03F1, -80, 1},   {0x03F2, 0x03F2, 7, 1},     {0x03F3, 0x03F3, -116, 1},
    {0x03F5, 0x03F5, -96, 1},   {0x03F8, 0x03F8, -1, 1},    {0x03FB, 0x03FB, -1, 1},
    {0x0430, 0x044F, -32, 1},   {0x0450, 0x045F, -80, 1},   {0x0461, 0x0481, -1, 2},
    {0x048B, 0x04BF, -1, 2},    {0x04C2, 0x04CE, -1, 2},    {0x04CF, 0x04CF, -15, 1},
    {0x04D1, 0x052F, -1, 2},    {0x0561, 0x0586, -48, 1},   {0x1E01, 0x1E95, -1, 2},
    {0x1E9B, 0x1E9B, -59, 1},   {0x1EA1, 0x1EFF, -1, 2},    {0x1F00, 0x1F07, 8, 1},
    {0x1F10, 0x1F15, 8, 1},     {0x1F20, 0x1F27, 8, 1},     {0x1F30, 0x1F37, 8, 1},
    {0x1F40, 0x1F45, 8, 1},     {0x1F51, 0x1F57, 8, 2},     {0x1F60, 0x1F67, 8, 1},
    {0x1F70, 0x1F71, 74, 1},    {0x1F72, 0x1F75, 86, 1},    {0x1F76, 0x1F77, 100, 1},
    {0x1F78, 0x1F79, 128, 1},   {0x1F7A, 0x1F7B, 112, 1},   {0x1F7C, 0x1F7D, 126, 1},
    {0x1F80, 0x1F87, 8, 1},     {0x1F90, 0x1F97, 8, 1},     {0x1FA0, 0x1FA7, 8, 1},
    {0x1FB0, 0x1FB1, 8, 1},     {0x1FB3, 0x1FB3, 9, 1},     {0x1FBE, 0x1FBE, -7205, 1},
    {0x1FC3, 0x1FC3, 9, 1},     {0x1FD0, 0x1FD1, 8, 1},     {0x1FE0, 0x1FE1, 8, 1},
    {0x1FE5, 0x1FE5, 7, 1},     {0x1FF3, 0x1FF3, 9, 1},     {0x2170, 0x217F, -16, 1},
    {0x2184, 0x2184, -1, 1},    {0x24D0, 0x24E9, -26, 1},   {0xFF41, 0xFF5A, -32, 1},
};

constexpr size_t UPCASE_RUN_COUNT = sizeof UPCASE_RUNS / sizeof UPCASE_RUNS[0];

// The length of the well-formed UTF-8 sequence at p and its code point; 0 when the bytes there
// are not one (a stray or overlong form, a surrogate, past U+10FFFF, or cut off by end).
int decodeSequence(const unsigned char *p, const unsigned char *end, uint32_t *codePoint) {
    const unsigned char lead = p[0];
    int length;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (end - p < length || p[1] < low || p[1] > high)
        return 0;
    uint32_t value = lead & (0x7F >> length);
    for (int i = 1; i < length; i++) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (p[i] & 0x3F);
    }
    *codePoint = value;
    return length;
}

// Reads a name as upper-cased UTF-16 units.
struct UnitReader {
    const unsigned char *next;
    const unsigned char *end;
    uint16_t pendingLow; // the low surrogate of a supplementary character, still to come
};

// The next unit, or 0 at the end of the name.
uint16_t nextUnit(UnitReader *reader) {
    if (reader->pendingLow != 0) {
        uint16_t unit = reader->pendingLow;
        reader->pendingLow = 0;
        return unit;
    }
    if (reader->next == reader->end)
        return 0;
    const unsigned char lead = *reader->next;
    if (lead < 0x80) {
        reader->next++;
        return lead >= 'a' && lead <= 'z' ? static_cast<uint16_t>(lead - 'a' + 'A') : lead;
    }
    uint32_t codePoint = 0;
    int length = decodeSequence(reader->next, reader->end, &codePoint);
    if (length == 0) {
        reader->next++;
        return lead; // not UTF-8: the byte stands for itself
    }
    reader->next += length;
    if (codePoint < 0x10000)
        return upcaseUnit(static_cast<uint16_t>(codePoint));
    codePoint -= 0x10000;
    reader->pendingLow = static_cast<uint16_t>(0xDC00 | (codePoint & 0x3FF));
    return static_cast<uint16_t>(0xD800 | (codePoint >> 10));
}

UnitReader readerOf(const char *name, size_t length) {
    const unsigned char *bytes = reinterpret_cast<const unsigned char *>(name);
    return UnitReader{bytes, bytes + length, 0};
}

} // namespace

uint16_t upcaseUnit(uint16_t unit) {
    if (unit < 0x80)
        return unit >= 'a' && unit <= 'z' ? static_cast<uint16_t>(unit - 'a' + 'A') : unit;
    // The last run starting at or before the unit.
    size_t low = 0, high = UPCASE_RUN_COUNT;
    while (high - low > 1) {
        size_t middle = (low + high) / 2;
        if (UPCASE_RUNS[middle].first <= unit)
            low = middle;
        else
            high = middle;
    }
    const UpcaseRun &run = UPCASE_RUNS[low];
    if (unit < run.first || unit > run.last || (unit - run.first) % run.step != 0)
        return unit;
    return static_cast<uint16_t>(unit + run.delta);
}

int compareNames(const char *a, const char *b) {
    UnitReader readerA = readerOf(a, strlen(a));
    UnitReader readerB = readerOf(b, strlen(b));
    for (;;) {
        uint16_t unitA = nextUnit(&readerA);
        uint16_t unitB = nextUnit(&readerB);
        if (unitA != unitB)
            return unitA < unitB ? -1 : 1;
        if (unitA == 0)
            break;
    }
    int bytes = strcmp(a, b);
    return bytes < 0 ? -1 : (bytes > 0 ? 1 : 0);
}

size_t nameSortKey(const char *name, size_t length, unsigned char *key) {
    // Each unit as one to three bytes in the UTF-8 pattern, which keeps the units' order under
    // a byte comparison; a NUL, lower than any unit, ends them before the name's bytes.
    UnitReader reader = readerOf(name, length);
    unsigned char *out = key;
    // Plain ASCII, the bulk of most names, byte for byte.
    while (reader.next != reader.end && *reader.next < 0x80) {
        unsigned char c = *reader.next++;
        *out++ = c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 'a' + 'A') : c;
    }
    while (uint16_t unit = nextUnit(&reader)) {
        if (unit < 0x80) {
            *out++ = static_cast<unsigned char>(unit);
        } else if (unit < 0x800) {
            *out++ = static_cast<unsigned char>(0xC0 | (unit >> 6));
            *out++ = static_cast<unsigned char>(0x80 | (unit & 0x3F));
        } else {
            *out++ = static_cast<unsigned char>(0xE0 | (unit >> 12));
            *out++ = static_cast<unsigned char>(0x80 | ((unit >> 6) & 0x3F));
            *out++ = static_cast<unsigned char>(0x80 | (unit & 0x3F));
        }
    }
    *out++ = 0;
    memcpy(out, name, length);
    return static_cast<size_t>(out - key) + length;
}
