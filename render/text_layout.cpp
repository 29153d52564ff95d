// text_layout.cpp -- decoding, measuring and cutting one line of text before it is drawn.
#include "render/text_layout.h"

namespace {

// The length of a UTF-8 sequence a lead byte starts and the range its second byte must be in
// (which rules out overlong forms, surrogates and code points past U+10FFFF); 0 for a byte that
// cannot start one.
int sequenceLength(unsigned char lead, unsigned char *low, unsigned char *high) {
    *low = 0x80;
    *high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (lead == 0xE0)
            *low = 0xA0;
        if (lead == 0xED)
            *high = 0x9F;
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (lead == 0xF0)
            *low = 0x90;
        if (lead == 0xF4)
            *high = 0x8F;
        return 4;
    }
    return 0;
}

// How many bytes of the sequence at in are well formed (the lead counts), up to its length,
// and the code point they make.
int takeSequence(const unsigned char *in, int length, unsigned char low, unsigned char high,
                 uint32_t *codePoint) {
    uint32_t value = in[0] & (0x7F >> length);
    int taken = 1;
    while (taken < length) {
        unsigned char next = in[taken];
        if (next < low || next > high)
            break;
        value = (value << 6) | (next & 0x3F);
        low = 0x80;
        high = 0xBF;
        taken++;
    }
    *codePoint = value;
    return taken;
}

template <typename Width, typename AdvanceOf>
Width cutToWidth(uint32_t *codes, int *count, Width maxWidth, AdvanceOf advance, void *context) {
    Width width = 0;
    for (int i = 0; i < *count; i++) {
        Width next = advance(codes[i], context);
        if (maxWidth > 0 && width + next > maxWidth) {
            *count = i;
            if (i >= 7)
                codes[i - 3] = codes[i - 2] = codes[i - 1] = '.';
            break;
        }
        width += next;
    }
    return width;
}

} // namespace

int decodeUtf8Text(const char *text, uint32_t *codes, int capacity) {
    const unsigned char *in = reinterpret_cast<const unsigned char *>(text);
    int count = 0;
    while (*in != '\0' && count < capacity) {
        unsigned char lead = *in;
        if (lead < 0x80) {
            codes[count++] = lead;
            in++;
            continue;
        }
        unsigned char low, high;
        int length = sequenceLength(lead, &low, &high);
        uint32_t codePoint = '?';
        // A sequence that breaks off is one '?' and ends where it broke.
        int taken = length > 0 ? takeSequence(in, length, low, high, &codePoint) : 1;
        codes[count++] = taken == length ? codePoint : '?';
        in += taken;
    }
    return count;
}

size_t completeCharactersLength(const char *text, size_t length) {
    const unsigned char *bytes = reinterpret_cast<const unsigned char *>(text);
    // The last lead byte within three of the end, with only continuation bytes after it.
    for (size_t back = 1; back <= 3 && back <= length; back++) {
        unsigned char byte = bytes[length - back];
        if (byte < 0x80)
            return length;
        if (byte <= 0xBF)
            continue;
        unsigned char low, high;
        int sequence = sequenceLength(byte, &low, &high);
        uint32_t codePoint = 0;
        bool brokenOff = sequence > static_cast<int>(back) &&
                         takeSequence(bytes + length - back, static_cast<int>(back), low, high,
                                      &codePoint) == static_cast<int>(back);
        return brokenOff ? length - back : length;
    }
    return length;
}

float cutTextToWidth(uint32_t *codes, int *count, float maxWidth, OutlineAdvanceOf advance,
                     void *context) {
    return cutToWidth<float>(codes, count, maxWidth, advance, context);
}

int32_t cutTextToWidth(uint32_t *codes, int *count, int32_t maxWidth, BitmapAdvanceOf advance,
                       void *context) {
    return cutToWidth<int32_t>(codes, count, maxWidth, advance, context);
}
