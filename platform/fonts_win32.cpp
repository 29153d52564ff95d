// fonts_win32.cpp -- the font service on GDI: glyph outlines from GetGlyphOutlineW (native
// quadratic and cubic splines, unhinted, read at one pixel per font unit) flattened as on
// Linux, and 1-bit glyph bitmaps from GGO_BITMAP. Characters the face lacks come from the faces
// Windows links to it, then the usual faces for other scripts, then any installed face.
#include "platform/fonts.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>
#include <windows.h>

#include "platform/glyph_flattening.h"
#include "platform/wide_text.h"

namespace {

// Faces opened for characters the font's own face lacks, at most this many per font; another
// one takes the place of the one opened longest ago.
constexpr int MAX_FALLBACK_FACES = 4;

// Codes past U+FFFF, which GDI's UTF-16 calls cannot name: a run of consecutive codes on
// consecutive glyphs, from the face's cmap table.
struct CodeRun {
    uint32_t first;
    uint32_t last;
    uint32_t firstGlyph;
};

// One face as two GDI fonts: at the size asked for (bitmaps, pixel advances) and at one pixel
// per font unit (exact outlines in em units).
struct Face {
    HFONT pixelFont;
    HFONT emFont;
    double unitsPerEm;
    std::vector<CodeRun> wideCodes;
};

// An installed face that might draw what the font's own lacks, its coverage read when first
// needed.
struct Candidate {
    std::wstring name;
    bool read;
    bool usable; // installed under that name and scalable
    std::vector<WCRANGE> ranges;
    std::vector<CodeRun> wideCodes;
};

struct FallbackFace {
    Face face;
    int candidate; // its place in the font's candidate list
};

} // namespace

struct Font {
    HDC device;
    HGDIOBJ previous;
    int height;
    int weight;
    Face own;
    std::wstring ownName;
    std::wstring askedName;
    FallbackFace fallbacks[MAX_FALLBACK_FACES];
    int fallbackCount;
    int nextFallbackSlot;
    bool candidatesListed;
    std::vector<Candidate> candidates;
};

namespace {

const MAT2 IDENTITY = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};

double fixedValue(FIXED value) {
    return value.value + value.fract / 65536.0;
}

// A quadratic B-spline of GDI: between two control points lies an implied on-curve point
// halfway, as in TrueType's own outlines.
bool quadraticSpline(OutlineFlattener *flattener, const POINTFX *points, int count) {
    for (int i = 0; i + 1 < count; i++) {
        double cx = fixedValue(points[i].x), cy = fixedValue(points[i].y);
        double x = fixedValue(points[i + 1].x), y = fixedValue(points[i + 1].y);
        if (i + 2 < count) {
            x = (cx + x) / 2.0;
            y = (cy + y) / 2.0;
        }
        if (!flattener->conicTo(cx, cy, x, y))
            return false;
    }
    return true;
}

// Walks the TTPOLYGONHEADER records of a GGO_NATIVE outline.
bool flattenNative(const unsigned char *buffer, DWORD size, double unitsPerEm,
                   GlyphOutline *outline) {
    OutlineFlattener flattener(outline, unitsPerEm);
    const unsigned char *at = buffer;
    const unsigned char *end = buffer + size;
    while (at + sizeof(TTPOLYGONHEADER) <= end) {
        const TTPOLYGONHEADER *header = reinterpret_cast<const TTPOLYGONHEADER *>(at);
        const unsigned char *contourEnd = at + header->cb;
        if (header->dwType != TT_POLYGON_TYPE || contourEnd > end)
            return false;
        if (!flattener.moveTo(fixedValue(header->pfxStart.x), fixedValue(header->pfxStart.y)))
            return false;
        const unsigned char *curveAt = at + sizeof(TTPOLYGONHEADER);
        while (curveAt + sizeof(WORD) * 2 <= contourEnd) {
            const TTPOLYCURVE *curve = reinterpret_cast<const TTPOLYCURVE *>(curveAt);
            int count = curve->cpfx;
            const POINTFX *points = curve->apfx;
            bool ok = true;
            if (curve->wType == TT_PRIM_LINE) {
                for (int i = 0; i < count && ok; i++)
                    ok = flattener.lineTo(fixedValue(points[i].x), fixedValue(points[i].y));
            } else if (curve->wType == TT_PRIM_QSPLINE) {
                ok = quadraticSpline(&flattener, points, count);
            } else if (curve->wType == TT_PRIM_CSPLINE) {
                for (int i = 0; i + 2 < count && ok; i += 3)
                    ok =
                        flattener.cubicTo(fixedValue(points[i].x), fixedValue(points[i].y),
                                          fixedValue(points[i + 1].x), fixedValue(points[i + 1].y),
                                          fixedValue(points[i + 2].x), fixedValue(points[i + 2].y));
            }
            if (!ok)
                return false;
            curveAt += sizeof(WORD) * 2 + sizeof(POINTFX) * (size_t)count;
        }
        // The contour closes back on its start point.
        if (!flattener.lineTo(fixedValue(header->pfxStart.x), fixedValue(header->pfxStart.y)))
            return false;
        at = contourEnd;
    }
    return flattener.finish();
}

HFONT makeFont(const wchar_t *face, int height, int weight) {
    return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS,
                       CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, 0, face);
}

bool sameName(const std::wstring &a, const wchar_t *b) {
    return lstrcmpiW(a.c_str(), b) == 0;
}

uint32_t bigEndian(const std::vector<unsigned char> &data, size_t at, int bytes) {
    uint32_t value = 0;
    for (int i = 0; i < bytes; i++)
        value = (value << 8) | data[at + i];
    return value;
}

// The runs of codes past U+FFFF in the selected face's Unicode cmap (format 12); none when it
// has no such table.
std::vector<CodeRun> readWideCodes(HDC device) {
    const DWORD cmapTag = 'c' | ('m' << 8) | ('a' << 16) | ((DWORD)'p' << 24);
    std::vector<CodeRun> runs;
    DWORD size = GetFontData(device, cmapTag, 0, nullptr, 0);
    if (size == GDI_ERROR || size < 4)
        return runs;
    std::vector<unsigned char> cmap(size);
    if (GetFontData(device, cmapTag, 0, cmap.data(), size) != size)
        return runs;
    uint32_t tables = bigEndian(cmap, 2, 2);
    for (uint32_t t = 0; t < tables && 4 + 8 * (t + 1) <= size; t++) {
        uint32_t platform = bigEndian(cmap, 4 + 8 * t, 2);
        uint32_t encoding = bigEndian(cmap, 6 + 8 * t, 2);
        uint32_t offset = bigEndian(cmap, 8 + 8 * t, 4);
        bool fullUnicode = (platform == 3 && encoding == 10) ||
                           (platform == 0 && (encoding == 4 || encoding == 6));
        if (!fullUnicode || (uint64_t)offset + 16 > size || bigEndian(cmap, offset, 2) != 12)
            continue;
        uint32_t count = bigEndian(cmap, offset + 12, 4);
        if (count > (size - offset - 16) / 12)
            continue;
        for (uint32_t g = 0; g < count; g++) {
            size_t at = offset + 16 + 12 * (size_t)g;
            CodeRun run = {bigEndian(cmap, at, 4), bigEndian(cmap, at + 4, 4),
                           bigEndian(cmap, at + 8, 4)};
            if (run.last > 0xFFFF && run.first <= run.last)
                runs.push_back(run);
        }
        break;
    }
    std::sort(runs.begin(), runs.end(),
              [](const CodeRun &a, const CodeRun &b) { return a.first < b.first; });
    return runs;
}

// The glyph of a code past U+FFFF in a face's runs, 0 when it has none.
UINT wideGlyph(const std::vector<CodeRun> &runs, uint32_t code) {
    auto after = std::upper_bound(runs.begin(), runs.end(), code,
                                  [](uint32_t c, const CodeRun &run) { return c < run.first; });
    if (after == runs.begin() || code > (after - 1)->last)
        return 0;
    return (after - 1)->firstGlyph + (code - (after - 1)->first);
}

// Whether GDI's UTF-16 ranges of a face hold the code.
bool rangesHave(const std::vector<WCRANGE> &ranges, uint32_t code) {
    auto after = std::upper_bound(ranges.begin(), ranges.end(), code,
                                  [](uint32_t c, const WCRANGE &r) { return c < r.wcLow; });
    return after != ranges.begin() && code < (uint32_t)(after - 1)->wcLow + (after - 1)->cGlyphs;
}

// Opens a face at the font's size and weight, leaving its pixel font selected. With mustMatch,
// false when GDI would put another face in its place (it always finds some face); false when
// the face is not scalable.
bool openFace(Font *font, const wchar_t *name, bool mustMatch, Face *face,
              std::wstring *actualName) {
    HFONT pixelFont = makeFont(name, font->height, font->weight);
    if (pixelFont == nullptr)
        return false;
    SelectObject(font->device, pixelFont);
    wchar_t selected[LF_FACESIZE] = L"";
    GetTextFaceW(font->device, LF_FACESIZE, selected);
    OUTLINETEXTMETRICW metrics = {};
    metrics.otmSize = sizeof metrics;
    // Only a scalable (TrueType or OpenType) face has outline metrics.
    bool usable = (!mustMatch || lstrcmpiW(selected, name) == 0) &&
                  GetOutlineTextMetricsW(font->device, sizeof metrics, &metrics) != 0 &&
                  metrics.otmEMSquare != 0;
    HFONT emFont = usable ? makeFont(name, -(int)metrics.otmEMSquare, font->weight) : nullptr;
    if (emFont == nullptr) {
        SelectObject(font->device, font->previous);
        DeleteObject(pixelFont);
        return false;
    }
    *face = {pixelFont, emFont, (double)metrics.otmEMSquare, readWideCodes(font->device)};
    if (actualName != nullptr)
        *actualName = selected;
    return true;
}

void closeFace(Font *font, Face *face) {
    SelectObject(font->device, font->previous);
    DeleteObject(face->pixelFont);
    DeleteObject(face->emFont);
}

// The face's glyph for a code, 0 when it has none; leaves the face's pixel font selected.
UINT glyphIndex(Font *font, const Face &face, int code) {
    SelectObject(font->device, face.pixelFont);
    if (code > 0xFFFF)
        return wideGlyph(face.wideCodes, (uint32_t)code);
    wchar_t character = (wchar_t)code;
    WORD index = 0;
    if (GetGlyphIndicesW(font->device, &character, 1, &index, GGI_MARK_NONEXISTING_GLYPHS) ==
            GDI_ERROR ||
        index == 0xFFFF)
        return 0;
    return index;
}

// The faces Windows links to a face for the characters it lacks (each entry "file,face[,...]");
// an entry naming only the file is passed over.
void addLinkedFaces(const std::wstring &face, std::vector<std::wstring> *names) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                      L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink", 0,
                      KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return;
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key, face.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        type == REG_MULTI_SZ && size > 0) {
        std::vector<wchar_t> list(size / sizeof(wchar_t) + 2, L'\0');
        if (RegQueryValueExW(key, face.c_str(), nullptr, nullptr,
                             reinterpret_cast<BYTE *>(list.data()), &size) == ERROR_SUCCESS) {
            for (const wchar_t *entry = list.data(); *entry != L'\0'; entry += wcslen(entry) + 1) {
                const wchar_t *name = wcschr(entry, L',');
                if (name == nullptr)
                    continue;
                const wchar_t *nameEnd = wcschr(name + 1, L',');
                names->push_back(nameEnd != nullptr ? std::wstring(name + 1, nameEnd)
                                                    : std::wstring(name + 1));
            }
        }
    }
    RegCloseKey(key);
}

int CALLBACK addInstalledFace(const LOGFONTW *logFont, const TEXTMETRICW *, DWORD type,
                              LPARAM names) {
    if ((type & RASTER_FONTTYPE) == 0)
        reinterpret_cast<std::vector<std::wstring> *>(names)->push_back(logFont->lfFaceName);
    return 1;
}

// The faces to look in, in order: those linked to the font's own, the faces Windows comes with
// for other scripts and symbols, then every installed face. Vertical (@) faces are left out.
void listCandidates(Font *font) {
    static const wchar_t *const usualFaces[] = {L"Segoe UI",
                                                L"Microsoft YaHei",
                                                L"Yu Gothic",
                                                L"Malgun Gothic",
                                                L"Microsoft JhengHei",
                                                L"Meiryo",
                                                L"SimSun",
                                                L"Nirmala UI",
                                                L"Leelawadee UI",
                                                L"Ebrima",
                                                L"Gadugi",
                                                L"Segoe UI Symbol",
                                                L"Segoe UI Emoji",
                                                L"Segoe UI Historic",
                                                L"Arial Unicode MS"};
    std::vector<std::wstring> names;
    addLinkedFaces(font->ownName, &names);
    if (!sameName(font->ownName, font->askedName.c_str()))
        addLinkedFaces(font->askedName, &names);
    names.insert(names.end(), std::begin(usualFaces), std::end(usualFaces));
    LOGFONTW every = {};
    every.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(font->device, &every, addInstalledFace, reinterpret_cast<LPARAM>(&names),
                        0);
    for (const std::wstring &name : names) {
        bool listed = name.empty() || name[0] == L'@' || sameName(name, font->ownName.c_str());
        for (size_t i = 0; i < font->candidates.size() && !listed; i++)
            listed = sameName(font->candidates[i].name, name.c_str());
        if (!listed)
            font->candidates.push_back({name, false, false, {}, {}});
    }
    font->candidatesListed = true;
}

// Reads which codes a candidate has: the UTF-16 ranges GDI reports, the runs past U+FFFF from
// its cmap.
void readCoverage(Font *font, Candidate *candidate) {
    candidate->read = true;
    Face face;
    if (!openFace(font, candidate->name.c_str(), true, &face, nullptr))
        return;
    DWORD size = GetFontUnicodeRanges(font->device, nullptr);
    if (size >= sizeof(GLYPHSET)) {
        std::vector<unsigned char> buffer(size);
        GLYPHSET *set = reinterpret_cast<GLYPHSET *>(buffer.data());
        if (GetFontUnicodeRanges(font->device, set) == size) {
            candidate->ranges.assign(set->ranges, set->ranges + set->cRanges);
            std::sort(candidate->ranges.begin(), candidate->ranges.end(),
                      [](const WCRANGE &a, const WCRANGE &b) { return a.wcLow < b.wcLow; });
            candidate->usable = true;
        }
    }
    candidate->wideCodes = std::move(face.wideCodes);
    closeFace(font, &face);
}

bool candidateHas(const Candidate &candidate, int code) {
    return code > 0xFFFF ? wideGlyph(candidate.wideCodes, (uint32_t)code) != 0
                         : rangesHave(candidate.ranges, (uint32_t)code);
}

// Opens candidate i in the font's next fallback slot.
Face *openFallbackFace(Font *font, int i) {
    Face face;
    if (!openFace(font, font->candidates[i].name.c_str(), true, &face, nullptr))
        return nullptr;
    FallbackFace *slot = &font->fallbacks[font->nextFallbackSlot];
    if (font->nextFallbackSlot < font->fallbackCount)
        closeFace(font, &slot->face);
    else
        font->fallbackCount++;
    slot->face = std::move(face);
    slot->candidate = i;
    font->nextFallbackSlot = (font->nextFallbackSlot + 1) % MAX_FALLBACK_FACES;
    return &slot->face;
}

// The first candidate, other than those already open, that has the character.
Face *findFallbackFace(Font *font, int code, UINT *index) {
    if (!font->candidatesListed)
        listCandidates(font);
    for (int i = 0; i < (int)font->candidates.size(); i++) {
        bool open = false;
        for (int k = 0; k < font->fallbackCount; k++)
            open = open || font->fallbacks[k].candidate == i;
        Candidate *candidate = &font->candidates[i];
        if (open)
            continue;
        if (!candidate->read)
            readCoverage(font, candidate);
        if (!candidate->usable || !candidateHas(*candidate, code))
            continue;
        Face *face = openFallbackFace(font, i);
        if (face == nullptr)
            continue;
        *index = glyphIndex(font, *face, code);
        if (*index != 0)
            return face;
    }
    return nullptr;
}

// The face and glyph that draw a code: the font's own, or for a code from 256 up that it lacks
// a fallback face's. Glyph 0 of the font's face is its missing-glyph box. Leaves that face's
// pixel font selected.
Face *faceFor(Font *font, int code, UINT *index) {
    *index = glyphIndex(font, font->own, code);
    if (*index != 0 || code < 256)
        return &font->own;
    for (int k = 0; k < font->fallbackCount; k++) {
        *index = glyphIndex(font, font->fallbacks[k].face, code);
        if (*index != 0)
            return &font->fallbacks[k].face;
    }
    Face *face = findFallbackFace(font, code, index);
    if (face != nullptr)
        return face;
    *index = 0;
    SelectObject(font->device, font->own.pixelFont); // the search selected other faces
    return &font->own;
}

// Codes below 256 that the face lacks draw nothing; from 256 up the missing box is drawn.
bool drawsNothing(int code, UINT index) {
    return index == 0 && code < 256;
}

bool validCode(int code) {
    return code >= 0 && code <= 0x10FFFF;
}

} // namespace

Font *createFont(const char *faceName, int height, int weight) {
    if (height == 0)
        return nullptr;
    HDC device = CreateCompatibleDC(nullptr);
    if (device == nullptr)
        return nullptr;
    Font *font = new Font();
    font->device = device;
    font->previous = GetCurrentObject(device, OBJ_FONT);
    font->height = height;
    font->weight = weight;
    font->askedName = widen(faceName);
    if (!openFace(font, font->askedName.c_str(), false, &font->own, &font->ownName)) {
        DeleteDC(device);
        delete font;
        return nullptr;
    }
    return font;
}

bool getGlyphOutline(Font *font, int code, GlyphOutline *outline) {
    if (!validCode(code))
        return false;
    UINT index = 0;
    Face *face = faceFor(font, code, &index);
    SelectObject(font->device, face->emFont);
    GLYPHMETRICS metrics;
    const UINT format = GGO_NATIVE | GGO_UNHINTED | GGO_GLYPH_INDEX;
    DWORD size = GetGlyphOutlineW(font->device, index, format, &metrics, 0, nullptr, &IDENTITY);
    bool ok = size != GDI_ERROR;
    bool draws = ok && size > 0 && !drawsNothing(code, index);
    std::vector<unsigned char> buffer(draws ? size : 0);
    if (draws)
        ok = GetGlyphOutlineW(font->device, index, format, &metrics, size, buffer.data(),
                              &IDENTITY) != GDI_ERROR;
    if (!ok)
        return false;
    double scale = 1.0 / face->unitsPerEm;
    outline->contourCount = 0;
    outline->pointCount = 0;
    outline->advance = static_cast<float>(metrics.gmCellIncX * scale);
    if (!draws) {
        outline->blackBoxX = outline->blackBoxY = 0.0f;
        outline->glyphOriginX = outline->glyphOriginY = 0.0f;
        return true;
    }
    outline->blackBoxX = static_cast<float>(metrics.gmBlackBoxX * scale);
    outline->blackBoxY = static_cast<float>(metrics.gmBlackBoxY * scale);
    outline->glyphOriginX = static_cast<float>(metrics.gmptGlyphOrigin.x * scale);
    outline->glyphOriginY = static_cast<float>(metrics.gmptGlyphOrigin.y * scale);
    return flattenNative(buffer.data(), size, face->unitsPerEm, outline);
}

bool getGlyphBitmap(Font *font, int code, GlyphBitmap *bitmap) {
    if (!validCode(code))
        return false;
    UINT index = 0;
    faceFor(font, code, &index); // leaves the face's pixel font selected
    GLYPHMETRICS metrics;
    const UINT format = GGO_BITMAP | GGO_GLYPH_INDEX;
    DWORD size = GetGlyphOutlineW(font->device, index, format, &metrics, 0, nullptr, &IDENTITY);
    if (size == GDI_ERROR)
        return false;
    bitmap->advance = metrics.gmCellIncX;
    bitmap->width = bitmap->height = 0;
    bitmap->originX = bitmap->originY = 0.0f;
    if (size == 0 || drawsNothing(code, index)) // nothing inked: a space
        return true;
    std::vector<unsigned char> buffer(size);
    if (GetGlyphOutlineW(font->device, index, format, &metrics, size, buffer.data(), &IDENTITY) ==
        GDI_ERROR)
        return false;
    int width = (int)metrics.gmBlackBoxX;
    int rows = (int)metrics.gmBlackBoxY;
    int rowBytes = (width + 7) / 8;
    int pitch = ((width + 31) / 32) * 4; // GDI rows are whole DWORDs, top row first
    if (rowBytes * rows > GLYPH_MAX_BITMAP_BYTES || (DWORD)(pitch * rows) > size)
        return false;
    for (int row = 0; row < rows; row++)
        memcpy(bitmap->bits + row * rowBytes, buffer.data() + (rows - 1 - row) * pitch, rowBytes);
    bitmap->width = width;
    bitmap->height = rows;
    bitmap->originX = static_cast<float>(-metrics.gmptGlyphOrigin.x);
    bitmap->originY = static_cast<float>(rows - metrics.gmptGlyphOrigin.y);
    return true;
}

bool getGlyphPixelAdvance(Font *font, int code, int *advance) {
    if (!validCode(code))
        return false;
    UINT index = 0;
    faceFor(font, code, &index); // leaves the face's pixel font selected
    // The bitmap's own advance: GGO_METRICS can differ from it by a pixel.
    GLYPHMETRICS metrics;
    if (GetGlyphOutlineW(font->device, index, GGO_BITMAP | GGO_GLYPH_INDEX, &metrics, 0, nullptr,
                         &IDENTITY) == GDI_ERROR)
        return false;
    *advance = metrics.gmCellIncX;
    return true;
}

void releaseFont(Font *font) {
    if (font == nullptr)
        return;
    for (int k = 0; k < font->fallbackCount; k++)
        closeFace(font, &font->fallbacks[k].face);
    closeFace(font, &font->own);
    DeleteDC(font->device);
    delete font;
}
