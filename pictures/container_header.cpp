// container_header.cpp -- bounded walks over ISO media boxes and RIFF chunks.
#include "pictures/container_header.h"

#include <cstring>

namespace {

uint32_t bigEndian32(const unsigned char *p) {
    return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3];
}

uint32_t littleEndian32(const unsigned char *p) {
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

// One ISO media box: its type and payload, within [at, end).
struct Box {
    char type[4];
    size_t payload; // offset of the payload
    size_t end;     // one past the box
};

// Reads the box starting at at, which must end by end; false when it does not fit.
bool readBox(const unsigned char *bytes, size_t at, size_t end, Box *box) {
    if (at > end || end - at < 8)
        return false;
    uint64_t length = bigEndian32(bytes + at);
    size_t header = 8;
    if (length == 1) {
        if (end - at < 16)
            return false;
        length = (uint64_t)bigEndian32(bytes + at + 8) << 32 | bigEndian32(bytes + at + 12);
        header = 16;
    } else if (length == 0) {
        length = end - at; // to the end of what holds it
    }
    if (length < header || length > end - at)
        return false;
    memcpy(box->type, bytes + at + 4, 4);
    box->payload = at + header;
    box->end = at + (size_t)length;
    return true;
}

// The first child of the given type among the boxes in [at, end).
bool findBox(const unsigned char *bytes, size_t at, size_t end, const char *type, Box *found) {
    Box box;
    while (readBox(bytes, at, end, &box)) {
        if (memcmp(box.type, type, 4) == 0) {
            *found = box;
            return true;
        }
        at = box.end;
    }
    return false;
}

bool isBrand(const unsigned char *brand, const char *const *list) {
    for (; *list != nullptr; ++list)
        if (memcmp(brand, *list, 4) == 0)
            return true;
    return false;
}

const char *const AVIF_BRANDS[] = {"avif", "avis", nullptr};
const char *const HEVC_BRANDS[] = {"heic", "heix", "heim", "heis", "hevc", "hevx", nullptr};
const char *const IMAGE_BRANDS[] = {"mif1", "msf1", nullptr};

} // namespace

IsoPictureBrand isoPictureBrand(const unsigned char *bytes, size_t size) {
    Box ftyp;
    if (!readBox(bytes, 0, size, &ftyp) || memcmp(ftyp.type, "ftyp", 4) != 0 ||
        ftyp.end - ftyp.payload < 8)
        return ISO_NOT_A_PICTURE;
    const unsigned char *major = bytes + ftyp.payload;
    if (isBrand(major, AVIF_BRANDS))
        return ISO_AVIF;
    bool hevc = isBrand(major, HEVC_BRANDS), avif = false, image = isBrand(major, IMAGE_BRANDS);
    // The compatible brands follow the major brand and its version.
    for (size_t at = ftyp.payload + 8; at + 4 <= ftyp.end; at += 4) {
        hevc = hevc || isBrand(bytes + at, HEVC_BRANDS);
        avif = avif || isBrand(bytes + at, AVIF_BRANDS);
        image = image || isBrand(bytes + at, IMAGE_BRANDS);
    }
    if (hevc)
        return ISO_HEIF;
    if (avif)
        return ISO_AVIF;
    return image ? ISO_HEIF : ISO_NOT_A_PICTURE;
}

bool isoPictureSize(const unsigned char *bytes, size_t size, uint32_t *width, uint32_t *height) {
    *width = *height = 0;
    Box meta, iprp, ipco, property;
    // meta is a full box: its children follow a version and flags.
    if (!findBox(bytes, 0, size, "meta", &meta) || meta.end - meta.payload < 4 ||
        !findBox(bytes, meta.payload + 4, meta.end, "iprp", &iprp) ||
        !findBox(bytes, iprp.payload, iprp.end, "ipco", &ipco))
        return false;
    uint64_t largest = 0;
    for (size_t at = ipco.payload; readBox(bytes, at, ipco.end, &property); at = property.end) {
        if (memcmp(property.type, "ispe", 4) != 0 || property.end - property.payload < 12)
            continue;
        uint32_t w = bigEndian32(bytes + property.payload + 4);
        uint32_t h = bigEndian32(bytes + property.payload + 8);
        if ((uint64_t)w * h > largest) {
            largest = (uint64_t)w * h;
            *width = w;
            *height = h;
        }
    }
    return largest > 0;
}

bool isoItemCount(const unsigned char *bytes, size_t size, uint32_t *count) {
    Box meta, iinf;
    // Both are full boxes: a version byte and three flag bytes first; iinf's count is 16 bits
    // in version 0 and 32 after.
    if (!findBox(bytes, 0, size, "meta", &meta) || meta.end - meta.payload < 4 ||
        !findBox(bytes, meta.payload + 4, meta.end, "iinf", &iinf) || iinf.end - iinf.payload < 6)
        return false;
    const unsigned char *p = bytes + iinf.payload;
    if (p[0] == 0)
        *count = (uint32_t)p[4] << 8 | p[5];
    else if (iinf.end - iinf.payload >= 8)
        *count = bigEndian32(p + 4);
    else
        return false;
    return true;
}

bool webpPictureSize(const unsigned char *bytes, size_t size, uint32_t *width, uint32_t *height) {
    if (size < 30 || memcmp(bytes, "RIFF", 4) != 0 || memcmp(bytes + 8, "WEBP", 4) != 0)
        return false;
    const unsigned char *chunk = bytes + 12;
    const unsigned char *payload = chunk + 8;
    if (memcmp(chunk, "VP8X", 4) == 0) {
        *width =
            1 + ((uint32_t)payload[4] | (uint32_t)payload[5] << 8 | (uint32_t)payload[6] << 16);
        *height =
            1 + ((uint32_t)payload[7] | (uint32_t)payload[8] << 8 | (uint32_t)payload[9] << 16);
        return true;
    }
    if (memcmp(chunk, "VP8 ", 4) == 0) {
        // A key frame's tag, its start code, then 14-bit sides.
        if (payload[3] != 0x9d || payload[4] != 0x01 || payload[5] != 0x2a)
            return false;
        *width = ((uint32_t)payload[6] | (uint32_t)payload[7] << 8) & 0x3fff;
        *height = ((uint32_t)payload[8] | (uint32_t)payload[9] << 8) & 0x3fff;
        return *width > 0 && *height > 0;
    }
    if (memcmp(chunk, "VP8L", 4) == 0) {
        if (payload[0] != 0x2f)
            return false;
        uint32_t bits = littleEndian32(payload + 1);
        *width = (bits & 0x3fff) + 1;
        *height = (bits >> 14 & 0x3fff) + 1;
        return true;
    }
    return false;
}
