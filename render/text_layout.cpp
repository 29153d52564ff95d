// text_layout.cpp -- transcoding, measuring and cutting one line of text before it is drawn.
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

template <typename Width>
Width cutToWidth(char *text, Width maxWidth, Width (*advance)(unsigned char, const void *),
                 const void *table) {
    Width width = 0;
    for (int i = 0; text[i] != '\0'; i++) {
        Width next = advance(static_cast<unsigned char>(text[i]), table);
        if (maxWidth > 0 && width + next > maxWidth) {
            text[i] = '\0';
            if (i >= 7)
                text[i - 3] = text[i - 2] = text[i - 1] = '.';
            break;
        }
        width += next;
    }
    return width;
}

float outlineAdvance(unsigned char code, const void *table) {
    return static_cast<const GlyphMetricsFloat *>(table)[code].cellIncX;
}

int32_t bitmapAdvance(unsigned char code, const void *table) {
    return static_cast<const int32_t *>(table)[code];
}

} // namespace

void transcodeUtf8ToLatin1(char *text) {
    const unsigned char *in = reinterpret_cast<const unsigned char *>(text);
    char *out = text;
    while (*in != '\0') {
        unsigned char lead = *in;
        if (lead < 0x80) {
            *out++ = static_cast<char>(lead);
            in++;
            continue;
        }
        unsigned char low, high;
        int length = sequenceLength(lead, &low, &high);
        unsigned long codePoint = lead & (0x7F >> length);
        int taken = 1;
        // Take continuation bytes while they fit; a sequence that breaks off is one '?'.
        while (taken < length) {
            unsigned char next = in[taken];
            if (next < low || next > high)
                break;
            codePoint = (codePoint << 6) | (next & 0x3F);
            low = 0x80;
            high = 0xBF;
            taken++;
        }
        bool complete = length > 0 && taken == length;
        *out++ = complete && codePoint <= 0xFF ? static_cast<char>(codePoint) : '?';
        in += taken;
    }
    *out = '\0';
}

float cutTextToWidth(char *text, float maxWidth, const GlyphMetricsFloat metrics[256]) {
    return cutToWidth<float>(text, maxWidth, outlineAdvance, metrics);
}

int32_t cutTextToWidth(char *text, int32_t maxWidth, const int32_t widths[256]) {
    return cutToWidth<int32_t>(text, maxWidth, bitmapAdvance, widths);
}
