// fonts_win32.cpp -- the font service on GDI: glyph outlines from GetGlyphOutlineW (native
// quadratic and cubic splines, unhinted, read at one pixel per font unit) flattened as on
// Linux, and 1-bit glyph bitmaps from GGO_BITMAP. A character from 256 up that the program's
// face lacks comes from the first installed face that has it: Windows' own faces for other
// scripts first, then every TrueType face installed, each known by the ranges it covers.
#include "platform/fonts.h"

#include <cmath>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>
#include <windows.h>

#include "platform/wide_text.h"

namespace {

// One face at one pixel size.
struct Face {
    HFONT font;        // at the size asked for: bitmaps and pixel advances
    HFONT outlineFont; // at one pixel per font unit: exact outlines in em units
    double unitsPerEm;
    const std::vector<WCRANGE> *coverage; // the characters a fallback face has
};

// At most this many other faces per font, as on Linux.
constexpr size_t MAX_FALLBACK_FACES = 4;

} // namespace

struct Font {
    HDC device;
    HGDIOBJ previous;
    int height;
    int weight;
    Face own;
    std::vector<Face> fallbacks; // opened as characters asked for them, in that order
};

namespace {

// Curves are flattened until no chord strays more than this from the curve.
constexpr double FLATTEN_TOLERANCE_EM = 1.0 / 512.0;
constexpr int FLATTEN_MAX_SEGMENTS = 64;

const MAT2 IDENTITY = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};

struct OutlineBuilder {
    GlyphOutline *outline;
    double scale;     // font units to em
    double tolerance; // in font units
    double penX;
    double penY;
    bool overflow;
};

double fixedValue(FIXED value) {
    return value.value + value.fract / 65536.0;
}

bool addPoint(OutlineBuilder *builder, double x, double y) {
    GlyphOutline *outline = builder->outline;
    builder->penX = x;
    builder->penY = y;
    float ex = static_cast<float>(x * builder->scale);
    float ey = static_cast<float>(y * builder->scale);
    int start = outline->contourCount > 0 ? outline->contourEnds[outline->contourCount - 1] : 0;
    if (outline->pointCount > start) {
        const float *last = outline->points[outline->pointCount - 1];
        if (last[0] == ex && last[1] == ey)
            return true; // a repeated point is a zero-length edge
    }
    if (outline->pointCount >= GLYPH_MAX_POINTS) {
        builder->overflow = true;
        return false;
    }
    outline->points[outline->pointCount][0] = ex;
    outline->points[outline->pointCount][1] = ey;
    outline->pointCount++;
    return true;
}

// Ends the open contour; drops a closing point that repeats the first.
void closeContour(OutlineBuilder *builder) {
    GlyphOutline *outline = builder->outline;
    int start = outline->contourCount > 0 ? outline->contourEnds[outline->contourCount - 1] : 0;
    int count = outline->pointCount - start;
    if (count > 1 && outline->points[start][0] == outline->points[outline->pointCount - 1][0] &&
        outline->points[start][1] == outline->points[outline->pointCount - 1][1]) {
        outline->pointCount--;
        count--;
    }
    if (count < 3) { // no area: nothing to fill
        outline->pointCount = start;
        return;
    }
    if (outline->contourCount >= GLYPH_MAX_CONTOURS) {
        builder->overflow = true;
        return;
    }
    outline->contourEnds[outline->contourCount++] = outline->pointCount;
}

int segmentsFor(double deviation, double factor, double tolerance) {
    int n = static_cast<int>(std::ceil(std::sqrt(deviation * factor / tolerance)));
    return n < 1 ? 1 : (n > FLATTEN_MAX_SEGMENTS ? FLATTEN_MAX_SEGMENTS : n);
}

bool conicTo(OutlineBuilder *builder, double cx, double cy, double x, double y) {
    double x0 = builder->penX, y0 = builder->penY;
    // A uniform split into n chords strays at most |P0 - 2P1 + P2| / (4 n^2).
    double deviation = std::hypot(x0 - 2.0 * cx + x, y0 - 2.0 * cy + y);
    int n = segmentsFor(deviation, 0.25, builder->tolerance);
    for (int i = 1; i <= n; i++) {
        double t = static_cast<double>(i) / n, s = 1.0 - t;
        if (!addPoint(builder, s * s * x0 + 2.0 * s * t * cx + t * t * x,
                      s * s * y0 + 2.0 * s * t * cy + t * t * y))
            return false;
    }
    return true;
}

bool cubicTo(OutlineBuilder *builder, double c1x, double c1y, double c2x, double c2y, double x,
             double y) {
    double x0 = builder->penX, y0 = builder->penY;
    // The second derivative is bounded by 6 times the larger second difference; a uniform
    // split into n chords strays at most that over 8 n^2.
    double d1 = std::hypot(x0 - 2.0 * c1x + c2x, y0 - 2.0 * c1y + c2y);
    double d2 = std::hypot(c1x - 2.0 * c2x + x, c1y - 2.0 * c2y + y);
    int n = segmentsFor(d1 > d2 ? d1 : d2, 0.75, builder->tolerance);
    for (int i = 1; i <= n; i++) {
        double t = static_cast<double>(i) / n, s = 1.0 - t;
        double a = s * s * s, b = 3.0 * s * s * t, c = 3.0 * s * t * t, d = t * t * t;
        if (!addPoint(builder, a * x0 + b * c1x + c * c2x + d * x,
                      a * y0 + b * c1y + c * c2y + d * y))
            return false;
    }
    return true;
}

// A quadratic B-spline of GDI: between two control points lies an implied on-curve point
// halfway, as in TrueType's own outlines.
bool quadraticSpline(OutlineBuilder *builder, const POINTFX *points, int count) {
    for (int i = 0; i + 1 < count; i++) {
        double cx = fixedValue(points[i].x), cy = fixedValue(points[i].y);
        double x = fixedValue(points[i + 1].x), y = fixedValue(points[i + 1].y);
        if (i + 2 < count) {
            x = (cx + x) / 2.0;
            y = (cy + y) / 2.0;
        }
        if (!conicTo(builder, cx, cy, x, y))
            return false;
    }
    return true;
}

// Walks the TTPOLYGONHEADER records of a GGO_NATIVE outline.
bool flattenNative(const unsigned char *buffer, DWORD size, double unitsPerEm,
                   GlyphOutline *outline) {
    OutlineBuilder builder = {
        outline, 1.0 / unitsPerEm, FLATTEN_TOLERANCE_EM * unitsPerEm, 0.0, 0.0, false};
    const unsigned char *at = buffer;
    const unsigned char *end = buffer + size;
    while (at + sizeof(TTPOLYGONHEADER) <= end) {
        const TTPOLYGONHEADER *header = reinterpret_cast<const TTPOLYGONHEADER *>(at);
        const unsigned char *contourEnd = at + header->cb;
        if (header->dwType != TT_POLYGON_TYPE || contourEnd > end)
            return false;
        closeContour(&builder);
        if (builder.overflow ||
            !addPoint(&builder, fixedValue(header->pfxStart.x), fixedValue(header->pfxStart.y)))
            return false;
        const unsigned char *curveAt = at + sizeof(TTPOLYGONHEADER);
        while (curveAt + sizeof(WORD) * 2 <= contourEnd) {
            const TTPOLYCURVE *curve = reinterpret_cast<const TTPOLYCURVE *>(curveAt);
            int count = curve->cpfx;
            const POINTFX *points = curve->apfx;
            bool ok = true;
            if (curve->wType == TT_PRIM_LINE) {
                for (int i = 0; i < count && ok; i++)
                    ok = addPoint(&builder, fixedValue(points[i].x), fixedValue(points[i].y));
            } else if (curve->wType == TT_PRIM_QSPLINE) {
                ok = quadraticSpline(&builder, points, count);
            } else if (curve->wType == TT_PRIM_CSPLINE) {
                for (int i = 0; i + 2 < count && ok; i += 3)
                    ok = cubicTo(&builder, fixedValue(points[i].x), fixedValue(points[i].y),
                                 fixedValue(points[i + 1].x), fixedValue(points[i + 1].y),
                                 fixedValue(points[i + 2].x), fixedValue(points[i + 2].y));
            }
            if (!ok)
                return false;
            curveAt += sizeof(WORD) * 2 + sizeof(POINTFX) * (size_t)count;
        }
        // The contour closes back on its start point.
        if (!addPoint(&builder, fixedValue(header->pfxStart.x), fixedValue(header->pfxStart.y)))
            return false;
        at = contourEnd;
    }
    closeContour(&builder);
    return !builder.overflow;
}

HFONT makeFont(const wchar_t *face, int height, int weight) {
    return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS,
                       CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, 0, face);
}

// The face's em and, selected into the device, a check that it is scalable.
bool scalableEm(HDC device, HFONT font, double *unitsPerEm) {
    HGDIOBJ previous = SelectObject(device, font);
    OUTLINETEXTMETRICW metrics = {};
    metrics.otmSize = sizeof metrics;
    bool scalable =
        GetOutlineTextMetricsW(device, sizeof metrics, &metrics) != 0 && metrics.otmEMSquare != 0;
    SelectObject(device, previous);
    *unitsPerEm = metrics.otmEMSquare;
    return scalable;
}

// Opens a face at the font's size; false when it is not a scalable face.
bool openFace(HDC device, const wchar_t *name, int height, int weight, Face *face) {
    face->font = makeFont(name, height, weight);
    face->outlineFont = nullptr;
    if (face->font == nullptr)
        return false;
    if (!scalableEm(device, face->font, &face->unitsPerEm)) {
        DeleteObject(face->font);
        return false;
    }
    face->outlineFont = makeFont(name, -(int)face->unitsPerEm, weight);
    return true;
}

void closeFace(Face *face) {
    DeleteObject(face->font);
    if (face->outlineFont != nullptr)
        DeleteObject(face->outlineFont);
}

// A face another face may stand in for, with the characters it has.
struct Candidate {
    std::wstring name;
    std::vector<WCRANGE> coverage;
};

// Windows' own faces for other scripts, in the order a Windows user would see them used.
const wchar_t *const PREFERRED_FACES[] = {
    L"Segoe UI",           L"Microsoft YaHei", L"Yu Gothic",     L"Malgun Gothic",
    L"Microsoft JhengHei", L"Nirmala UI",      L"Leelawadee UI", L"Ebrima",
    L"Segoe UI Symbol",    L"Segoe UI Emoji",  L"SimSun",        L"Arial Unicode MS"};

int CALLBACK addFaceName(const LOGFONTW *font, const TEXTMETRICW *, DWORD type, LPARAM names) {
    // TrueType faces only; "@" names are the same faces set for vertical writing.
    if ((type & TRUETYPE_FONTTYPE) != 0 && font->lfFaceName[0] != L'@')
        reinterpret_cast<std::vector<std::wstring> *>(names)->push_back(font->lfFaceName);
    return 1;
}

// The characters the face selected into the device has.
std::vector<WCRANGE> coverageOf(HDC device) {
    DWORD size = GetFontUnicodeRanges(device, nullptr);
    if (size == 0)
        return {};
    std::vector<unsigned char> buffer(size);
    GLYPHSET *set = reinterpret_cast<GLYPHSET *>(buffer.data());
    set->cbThis = size;
    if (GetFontUnicodeRanges(device, set) == 0)
        return {};
    return std::vector<WCRANGE>(set->ranges, set->ranges + set->cRanges);
}

// Every candidate face, read once: the preferred faces that are installed, then the rest in the
// system's order. A name the system would replace by another face is not a candidate.
const std::vector<Candidate> &candidateFaces(HDC device) {
    static std::vector<Candidate> candidates;
    static bool read = false;
    if (read)
        return candidates;
    read = true;
    std::vector<std::wstring> installed;
    LOGFONTW all = {};
    all.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(device, &all, addFaceName, reinterpret_cast<LPARAM>(&installed), 0);
    std::vector<std::wstring> names(std::begin(PREFERRED_FACES), std::end(PREFERRED_FACES));
    names.insert(names.end(), installed.begin(), installed.end());
    for (size_t i = 0; i < names.size(); i++) {
        bool seen = false;
        for (size_t j = 0; j < i && !seen; j++)
            seen = _wcsicmp(names[i].c_str(), names[j].c_str()) == 0;
        if (seen)
            continue;
        HFONT font = makeFont(names[i].c_str(), -16, FW_NORMAL);
        if (font == nullptr)
            continue;
        HGDIOBJ previous = SelectObject(device, font);
        wchar_t actual[LF_FACESIZE] = L"";
        GetTextFaceW(device, LF_FACESIZE, actual);
        if (_wcsicmp(actual, names[i].c_str()) == 0)
            candidates.push_back({names[i], coverageOf(device)});
        SelectObject(device, previous);
        DeleteObject(font);
    }
    return candidates;
}

bool covers(const std::vector<WCRANGE> &coverage, int code) {
    for (const WCRANGE &range : coverage)
        if (code >= range.wcLow && code < range.wcLow + range.cGlyphs)
            return true;
    return false;
}

// False when the face has no glyph for the character: the control codes among others. Only
// the basic plane is reached through GDI's character calls.
bool hasGlyph(HDC device, const Face &face, int code) {
    if (code > 0xFFFF)
        return false;
    HGDIOBJ previous = SelectObject(device, face.font);
    wchar_t character = (wchar_t)code;
    WORD index = 0;
    bool present =
        GetGlyphIndicesW(device, &character, 1, &index, GGI_MARK_NONEXISTING_GLYPHS) != GDI_ERROR &&
        index != 0xFFFF && index != 0;
    SelectObject(device, previous);
    return present;
}

// The face that draws the character, or null when none has it.
const Face *faceFor(Font *font, int code) {
    if (hasGlyph(font->device, font->own, code))
        return &font->own;
    if (code < 256 || code > 0xFFFF)
        return nullptr;
    for (const Face &face : font->fallbacks)
        if (covers(*face.coverage, code) && hasGlyph(font->device, face, code))
            return &face;
    if (font->fallbacks.size() >= MAX_FALLBACK_FACES)
        return nullptr;
    for (const Candidate &candidate : candidateFaces(font->device)) {
        if (!covers(candidate.coverage, code))
            continue;
        bool open = false;
        for (const Face &face : font->fallbacks)
            open = open || face.coverage == &candidate.coverage;
        Face face;
        if (open ||
            !openFace(font->device, candidate.name.c_str(), font->height, font->weight, &face))
            continue;
        face.coverage = &candidate.coverage;
        if (!hasGlyph(font->device, face, code)) {
            closeFace(&face);
            continue;
        }
        font->fallbacks.push_back(face);
        return &font->fallbacks.back();
    }
    return nullptr;
}

// How a character is drawn: a face's glyph, the box drawn (what no face has, from 256 up), or
// nothing with the box's advance (what the face lacks below 256).
struct GlyphChoice {
    const Face *face;
    UINT glyph;     // a character, or with GGO_GLYPH_INDEX a glyph index
    UINT indexFlag; // GGO_GLYPH_INDEX for the box, else 0
    bool draws;
};

bool chooseGlyph(Font *font, int code, GlyphChoice *choice) {
    if (code < 0 || code > 0x10FFFF)
        return false;
    const Face *face = faceFor(font, code);
    if (face != nullptr)
        *choice = {face, (UINT)code, 0, true};
    else
        *choice = {&font->own, 0, GGO_GLYPH_INDEX, code >= 256};
    return true;
}

} // namespace

Font *createFont(const char *faceName, int height, int weight) {
    if (height == 0)
        return nullptr;
    HDC device = CreateCompatibleDC(nullptr);
    if (device == nullptr)
        return nullptr;
    Font *font = new Font{device, nullptr, height, weight, {}, {}};
    font->fallbacks.reserve(MAX_FALLBACK_FACES);
    // Only a scalable (TrueType or OpenType) face has outline metrics.
    if (!openFace(device, widen(faceName).c_str(), height, weight, &font->own)) {
        DeleteDC(device);
        delete font;
        return nullptr;
    }
    font->own.coverage = nullptr;
    font->previous = SelectObject(device, font->own.font);
    return font;
}

bool getGlyphOutline(Font *font, int code, GlyphOutline *outline) {
    GlyphChoice choice;
    if (!chooseGlyph(font, code, &choice))
        return false;
    const Face &face = *choice.face;
    if (face.outlineFont == nullptr)
        return false;
    HGDIOBJ previous = SelectObject(font->device, face.outlineFont);
    GLYPHMETRICS metrics;
    UINT format = GGO_NATIVE | GGO_UNHINTED | choice.indexFlag;
    DWORD size =
        GetGlyphOutlineW(font->device, choice.glyph, format, &metrics, 0, nullptr, &IDENTITY);
    bool ok = size != GDI_ERROR;
    std::vector<unsigned char> buffer(ok ? size : 0);
    if (ok && size > 0 && choice.draws)
        ok = GetGlyphOutlineW(font->device, choice.glyph, format, &metrics, size, buffer.data(),
                              &IDENTITY) != GDI_ERROR;
    SelectObject(font->device, previous);
    if (!ok)
        return false;
    double scale = 1.0 / face.unitsPerEm;
    outline->contourCount = 0;
    outline->pointCount = 0;
    outline->advance = static_cast<float>(metrics.gmCellIncX * scale);
    if (!choice.draws || size == 0) {
        outline->blackBoxX = outline->blackBoxY = 0.0f;
        outline->glyphOriginX = outline->glyphOriginY = 0.0f;
        return true;
    }
    outline->blackBoxX = static_cast<float>(metrics.gmBlackBoxX * scale);
    outline->blackBoxY = static_cast<float>(metrics.gmBlackBoxY * scale);
    outline->glyphOriginX = static_cast<float>(metrics.gmptGlyphOrigin.x * scale);
    outline->glyphOriginY = static_cast<float>(metrics.gmptGlyphOrigin.y * scale);
    return flattenNative(buffer.data(), size, face.unitsPerEm, outline);
}

bool getGlyphBitmap(Font *font, int code, GlyphBitmap *bitmap) {
    GlyphChoice choice;
    if (!chooseGlyph(font, code, &choice))
        return false;
    HGDIOBJ previous = SelectObject(font->device, choice.face->font);
    GLYPHMETRICS metrics;
    UINT format = GGO_BITMAP | choice.indexFlag;
    DWORD size =
        GetGlyphOutlineW(font->device, choice.glyph, format, &metrics, 0, nullptr, &IDENTITY);
    std::vector<unsigned char> buffer(size != GDI_ERROR ? size : 0);
    bool ok = size != GDI_ERROR && (size == 0 || !choice.draws ||
                                    GetGlyphOutlineW(font->device, choice.glyph, format, &metrics,
                                                     size, buffer.data(), &IDENTITY) != GDI_ERROR);
    SelectObject(font->device, previous);
    if (!ok)
        return false;
    bitmap->width = bitmap->height = 0;
    bitmap->originX = bitmap->originY = 0.0f;
    bitmap->advance = metrics.gmCellIncX;
    if (size == 0 || !choice.draws) // nothing inked: a space, or a code the face lacks
        return true;
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
    GlyphChoice choice;
    if (!chooseGlyph(font, code, &choice))
        return false;
    HGDIOBJ previous = SelectObject(font->device, choice.face->font);
    GLYPHMETRICS metrics;
    // The bitmap's own metrics, so the advance is the one its glyph list moves by (GDI's plain
    // metrics may round the advance another way).
    bool ok = GetGlyphOutlineW(font->device, choice.glyph, GGO_BITMAP | choice.indexFlag, &metrics,
                               0, nullptr, &IDENTITY) != GDI_ERROR;
    SelectObject(font->device, previous);
    if (!ok)
        return false;
    *advance = metrics.gmCellIncX;
    return true;
}

void releaseFont(Font *font) {
    if (font == nullptr)
        return;
    SelectObject(font->device, font->previous);
    closeFace(&font->own);
    for (Face &face : font->fallbacks)
        closeFace(&face);
    DeleteDC(font->device);
    delete font;
}
