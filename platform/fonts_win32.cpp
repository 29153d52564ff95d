// fonts_win32.cpp -- the font service on GDI: glyph outlines from GetGlyphOutlineW (native
// quadratic and cubic splines, unhinted, read at one pixel per font unit) flattened as on
// Linux, and 1-bit glyph bitmaps from GGO_BITMAP.
#include "platform/fonts.h"

#include <cmath>
#include <cstring>
#include <vector>
#include <windows.h>

#include "platform/wide_text.h"

struct Font {
    HDC device;
    HFONT font;        // the face at the size asked for: bitmaps and pixel advances
    HFONT outlineFont; // the face at one pixel per font unit: exact outlines in em units
    HGDIOBJ previous;
    double unitsPerEm;
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
    return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, 0, face);
}

// False when the face has no glyph for the character: the control codes among others.
bool hasGlyph(Font *font, int code) {
    wchar_t character = (wchar_t)code;
    WORD index = 0;
    return GetGlyphIndicesW(font->device, &character, 1, &index, GGI_MARK_NONEXISTING_GLYPHS) !=
               GDI_ERROR &&
           index != 0xFFFF && index != 0;
}

// The missing-glyph box's metrics (glyph index 0).
bool missingGlyphMetrics(Font *font, GLYPHMETRICS *metrics) {
    return GetGlyphOutlineW(font->device, 0, GGO_METRICS | GGO_GLYPH_INDEX, metrics, 0, nullptr,
                            &IDENTITY) != GDI_ERROR;
}

} // namespace

Font *createFont(const char *faceName, int height, int weight) {
    if (height == 0)
        return nullptr;
    std::wstring face = widen(faceName);
    HDC device = CreateCompatibleDC(nullptr);
    if (device == nullptr)
        return nullptr;
    HFONT font = makeFont(face.c_str(), height, weight);
    HGDIOBJ previous = font != nullptr ? SelectObject(device, font) : nullptr;
    OUTLINETEXTMETRICW metrics = {};
    metrics.otmSize = sizeof metrics;
    // Only a scalable (TrueType or OpenType) face has outline metrics.
    if (font == nullptr || GetOutlineTextMetricsW(device, sizeof metrics, &metrics) == 0 ||
        metrics.otmEMSquare == 0) {
        if (font != nullptr) {
            SelectObject(device, previous);
            DeleteObject(font);
        }
        DeleteDC(device);
        return nullptr;
    }
    HFONT outlineFont = makeFont(face.c_str(), -(int)metrics.otmEMSquare, weight);
    return new Font{device, font, outlineFont, previous, (double)metrics.otmEMSquare};
}

bool getGlyphOutline(Font *font, int code, GlyphOutline *outline) {
    if (code < 0 || code > 255 || font->outlineFont == nullptr)
        return false;
    bool present = hasGlyph(font, code);
    SelectObject(font->device, font->outlineFont);
    GLYPHMETRICS metrics;
    UINT format = GGO_NATIVE | GGO_UNHINTED;
    DWORD size = present ? GetGlyphOutlineW(font->device, (UINT)code, format, &metrics, 0,
                                            nullptr, &IDENTITY)
                         : (missingGlyphMetrics(font, &metrics) ? 0 : GDI_ERROR);
    bool ok = size != GDI_ERROR;
    std::vector<unsigned char> buffer(size > 0 && ok ? size : 0);
    if (ok && size > 0)
        ok = GetGlyphOutlineW(font->device, (UINT)code, format, &metrics, size, buffer.data(),
                              &IDENTITY) != GDI_ERROR;
    SelectObject(font->device, font->font);
    if (!ok)
        return false;
    double scale = 1.0 / font->unitsPerEm;
    outline->contourCount = 0;
    outline->pointCount = 0;
    outline->advance = static_cast<float>(metrics.gmCellIncX * scale);
    if (!present || size == 0) {
        outline->blackBoxX = outline->blackBoxY = 0.0f;
        outline->glyphOriginX = outline->glyphOriginY = 0.0f;
        return true;
    }
    outline->blackBoxX = static_cast<float>(metrics.gmBlackBoxX * scale);
    outline->blackBoxY = static_cast<float>(metrics.gmBlackBoxY * scale);
    outline->glyphOriginX = static_cast<float>(metrics.gmptGlyphOrigin.x * scale);
    outline->glyphOriginY = static_cast<float>(metrics.gmptGlyphOrigin.y * scale);
    return flattenNative(buffer.data(), size, font->unitsPerEm, outline);
}

bool getGlyphBitmap(Font *font, int code, GlyphBitmap *bitmap) {
    if (code < 0 || code > 255)
        return false;
    GLYPHMETRICS metrics;
    bitmap->width = bitmap->height = 0;
    bitmap->originX = bitmap->originY = 0.0f;
    if (!hasGlyph(font, code)) {
        if (!missingGlyphMetrics(font, &metrics))
            return false;
        bitmap->advance = metrics.gmCellIncX;
        return true;
    }
    DWORD size =
        GetGlyphOutlineW(font->device, (UINT)code, GGO_BITMAP, &metrics, 0, nullptr, &IDENTITY);
    if (size == GDI_ERROR)
        return false;
    bitmap->advance = metrics.gmCellIncX;
    if (size == 0) // nothing inked: a space
        return true;
    std::vector<unsigned char> buffer(size);
    if (GetGlyphOutlineW(font->device, (UINT)code, GGO_BITMAP, &metrics, size, buffer.data(),
                         &IDENTITY) == GDI_ERROR)
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
    if (code < 0 || code > 255)
        return false;
    GLYPHMETRICS metrics;
    bool ok = hasGlyph(font, code)
                  ? GetGlyphOutlineW(font->device, (UINT)code, GGO_METRICS, &metrics, 0, nullptr,
                                     &IDENTITY) != GDI_ERROR
                  : missingGlyphMetrics(font, &metrics);
    if (!ok)
        return false;
    *advance = metrics.gmCellIncX;
    return true;
}

void releaseFont(Font *font) {
    if (font == nullptr)
        return;
    SelectObject(font->device, font->previous);
    DeleteObject(font->font);
    if (font->outlineFont != nullptr)
        DeleteObject(font->outlineFont);
    DeleteDC(font->device);
    delete font;
}
