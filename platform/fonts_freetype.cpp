// fonts_freetype.cpp -- the font service on fontconfig (finding the face) and FreeType (glyphs).
#include "platform/fonts.h"

#include <cmath>
#include <cstring>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include "platform/glyph_flattening.h"

namespace {

// Faces opened for characters the font's own face lacks, at most this many per font; another
// one takes the place of the one opened longest ago.
constexpr int MAX_FALLBACK_FACES = 4;

struct FallbackFace {
    FT_Face face;
    int fontSetIndex; // its place in the font's sorted set
};

} // namespace

struct Font {
    FT_Face face;
    int height;
    FcPattern *request;   // the pattern the face was matched from, kept for the fallback search
    FcFontSet *fallbacks; // the installed faces by likeness, sorted when first needed
    bool fallbacksSorted;
    FallbackFace fallbackFaces[MAX_FALLBACK_FACES];
    int fallbackCount;
    int nextFallbackSlot;
};

namespace {

FT_Library library = nullptr;
int openFontCount = 0; // the library lives while any font is open

// The pattern fontconfig matches a face against: family, weight, upright, scalable.
FcPattern *facePattern(const char *faceName, int weight) {
    FcPattern *pattern = FcPatternCreate();
    if (pattern == nullptr)
        return nullptr;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(faceName));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    return pattern;
}

// The file and face index of a matched or listed font.
bool fontFile(FcPattern *font, char *file, size_t fileSize, int *index) {
    FcChar8 *path = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &path) != FcResultMatch ||
        strlen(reinterpret_cast<const char *>(path)) >= fileSize)
        return false;
    strcpy(file, reinterpret_cast<const char *>(path));
    if (FcPatternGetInteger(font, FC_INDEX, 0, index) != FcResultMatch)
        *index = 0;
    return true;
}

bool findFaceFile(FcPattern *pattern, char *file, size_t fileSize, int *index) {
    FcResult result = FcResultNoMatch;
    FcPattern *match = FcFontMatch(nullptr, pattern, &result);
    if (match == nullptr)
        return false;
    bool found = fontFile(match, file, fileSize, index);
    FcPatternDestroy(match);
    return found;
}

bool setFontHeight(FT_Face face, int height) {
    if (height < 0)
        return FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(-height)) == 0;
    FT_Size_RequestRec request = {};
    request.type = FT_SIZE_REQUEST_TYPE_CELL;
    request.height = static_cast<FT_Long>(height) * 64;
    return FT_Request_Size(face, &request) == 0;
}

// Opens a face of a file at the font's size; null when it is not a usable scalable face.
FT_Face openFace(const char *file, int index, int height) {
    FT_Face face = nullptr;
    if (FT_New_Face(library, file, index, &face) != 0)
        return nullptr;
    FT_Select_Charmap(face, FT_ENCODING_UNICODE); // symbol faces keep their own map
    if (!FT_IS_SCALABLE(face) || !setFontHeight(face, height)) {
        FT_Done_Face(face);
        return nullptr;
    }
    return face;
}

bool fontSetHasCharacter(FcPattern *font, int code) {
    FcCharSet *characters = nullptr;
    FcBool scalable = FcFalse;
    return FcPatternGetCharSet(font, FC_CHARSET, 0, &characters) == FcResultMatch &&
           FcCharSetHasChar(characters, static_cast<FcChar32>(code)) &&
           FcPatternGetBool(font, FC_SCALABLE, 0, &scalable) == FcResultMatch && scalable;
}

// Opens the set's face number i in the font's next fallback slot; null when it cannot be used.
FT_Face openFallbackFace(Font *font, int i) {
    char file[4096];
    int index = 0;
    if (!fontFile(font->fallbacks->fonts[i], file, sizeof file, &index))
        return nullptr;
    FT_Face face = openFace(file, index, font->height);
    if (face == nullptr)
        return nullptr;
    FallbackFace *slot = &font->fallbackFaces[font->nextFallbackSlot];
    if (font->nextFallbackSlot < font->fallbackCount)
        FT_Done_Face(slot->face);
    else
        font->fallbackCount++;
    *slot = {face, i};
    font->nextFallbackSlot = (font->nextFallbackSlot + 1) % MAX_FALLBACK_FACES;
    return face;
}

// The first face in the sorted set, other than those already open, that has the character.
FT_Face findFallbackFace(Font *font, int code, FT_UInt *index) {
    if (!font->fallbacksSorted) {
        font->fallbacksSorted = true;
        FcResult result = FcResultNoMatch;
        font->fallbacks = FcFontSort(nullptr, font->request, FcTrue, nullptr, &result);
    }
    if (font->fallbacks == nullptr)
        return nullptr;
    for (int i = 0; i < font->fallbacks->nfont; i++) {
        bool open = false;
        for (int k = 0; k < font->fallbackCount; k++)
            open = open || font->fallbackFaces[k].fontSetIndex == i;
        if (open || !fontSetHasCharacter(font->fallbacks->fonts[i], code))
            continue;
        FT_Face face = openFallbackFace(font, i);
        if (face == nullptr)
            continue;
        *index = FT_Get_Char_Index(face, static_cast<FT_ULong>(code));
        if (*index != 0)
            return face;
    }
    return nullptr;
}

// The face and glyph that draw a code: the font's own, or for a code from 256 up that it lacks
// a fallback face's. Glyph 0 of the font's face is its missing-glyph box.
FT_Face faceFor(Font *font, int code, FT_UInt *index) {
    *index = FT_Get_Char_Index(font->face, static_cast<FT_ULong>(code));
    if (*index != 0 || code < 256)
        return font->face;
    for (int k = 0; k < font->fallbackCount; k++) {
        FT_Face face = font->fallbackFaces[k].face;
        *index = FT_Get_Char_Index(face, static_cast<FT_ULong>(code));
        if (*index != 0)
            return face;
    }
    FT_Face face = findFallbackFace(font, code, index);
    if (face != nullptr)
        return face;
    *index = 0;
    return font->face;
}

// Codes below 256 that the face lacks draw nothing; from 256 up the missing box is drawn.
bool drawsNothing(int code, FT_UInt index) {
    return index == 0 && code < 256;
}

bool validCode(int code) {
    return code >= 0 && code <= 0x10FFFF;
}

// FreeType's outline walk, handed to the flattener.
int moveTo(const FT_Vector *to, void *flattener) {
    return static_cast<OutlineFlattener *>(flattener)->moveTo(to->x, to->y) ? 0 : 1;
}

int lineTo(const FT_Vector *to, void *flattener) {
    return static_cast<OutlineFlattener *>(flattener)->lineTo(to->x, to->y) ? 0 : 1;
}

int conicTo(const FT_Vector *control, const FT_Vector *to, void *flattener) {
    return static_cast<OutlineFlattener *>(flattener)->conicTo(control->x, control->y, to->x, to->y)
               ? 0
               : 1;
}

int cubicTo(const FT_Vector *control1, const FT_Vector *control2, const FT_Vector *to,
            void *flattener) {
    return static_cast<OutlineFlattener *>(flattener)->cubicTo(
               control1->x, control1->y, control2->x, control2->y, to->x, to->y)
               ? 0
               : 1;
}

bool flattenOutline(FT_Outline *source, double unitsPerEm, GlyphOutline *outline) {
    OutlineFlattener flattener(outline, unitsPerEm);
    FT_Outline_Funcs funcs = {};
    funcs.move_to = moveTo;
    funcs.line_to = lineTo;
    funcs.conic_to = conicTo;
    funcs.cubic_to = cubicTo;
    return FT_Outline_Decompose(source, &funcs, &flattener) == 0 && flattener.finish();
}

} // namespace

Font *createFont(const char *faceName, int height, int weight) {
    char file[4096];
    int index = 0;
    if (height == 0)
        return nullptr;
    FcPattern *request = facePattern(faceName, weight);
    if (request == nullptr)
        return nullptr;
    if (!findFaceFile(request, file, sizeof file, &index)) {
        FcPatternDestroy(request);
        return nullptr;
    }
    if (library == nullptr && FT_Init_FreeType(&library) != 0) {
        library = nullptr;
        FcPatternDestroy(request);
        return nullptr;
    }
    FT_Face face = openFace(file, index, height);
    if (face == nullptr) {
        if (openFontCount == 0) {
            FT_Done_FreeType(library);
            library = nullptr;
        }
        FcPatternDestroy(request);
        return nullptr;
    }
    openFontCount++;
    Font *font = new Font();
    font->face = face;
    font->height = height;
    font->request = request;
    return font;
}

bool getGlyphOutline(Font *font, int code, GlyphOutline *outline) {
    if (!validCode(code))
        return false;
    FT_UInt index = 0;
    FT_Face face = faceFor(font, code, &index);
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0)
        return false;
    const FT_Glyph_Metrics &metrics = face->glyph->metrics;
    double scale = 1.0 / face->units_per_EM;
    outline->contourCount = 0;
    outline->pointCount = 0;
    outline->advance = static_cast<float>(metrics.horiAdvance * scale);
    if (drawsNothing(code, index)) {
        outline->blackBoxX = outline->blackBoxY = 0.0f;
        outline->glyphOriginX = outline->glyphOriginY = 0.0f;
        return true;
    }
    outline->blackBoxX = static_cast<float>(metrics.width * scale);
    outline->blackBoxY = static_cast<float>(metrics.height * scale);
    outline->glyphOriginX = static_cast<float>(metrics.horiBearingX * scale);
    outline->glyphOriginY = static_cast<float>(metrics.horiBearingY * scale);
    if (face->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
        return false;
    return flattenOutline(&face->glyph->outline, face->units_per_EM, outline);
}

bool getGlyphBitmap(Font *font, int code, GlyphBitmap *bitmap) {
    if (!validCode(code))
        return false;
    FT_UInt index = 0;
    FT_Face face = faceFor(font, code, &index);
    FT_GlyphSlot slot = face->glyph;
    if (FT_Load_Glyph(face, index, FT_LOAD_TARGET_MONO | FT_LOAD_NO_BITMAP) != 0)
        return false;
    bitmap->advance = static_cast<int>((slot->advance.x + 32) >> 6);
    bitmap->width = bitmap->height = 0;
    bitmap->originX = bitmap->originY = 0.0f;
    if (drawsNothing(code, index))
        return true;
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0 ||
        slot->bitmap.pixel_mode != FT_PIXEL_MODE_MONO)
        return false;
    int width = static_cast<int>(slot->bitmap.width);
    int rows = static_cast<int>(slot->bitmap.rows);
    int rowBytes = (width + 7) / 8;
    if (rowBytes * rows > GLYPH_MAX_BITMAP_BYTES)
        return false;
    int pitch = slot->bitmap.pitch;
    for (int row = 0; row < rows; row++) {
        // FreeType's rows run top-down for a positive pitch, bottom-up for a negative one.
        int sourceRow = pitch >= 0 ? rows - 1 - row : row;
        const unsigned char *source =
            slot->bitmap.buffer + sourceRow * (pitch >= 0 ? pitch : -pitch);
        memcpy(bitmap->bits + row * rowBytes, source, rowBytes);
    }
    bitmap->width = width;
    bitmap->height = rows;
    bitmap->originX = static_cast<float>(-slot->bitmap_left);
    bitmap->originY = static_cast<float>(rows - slot->bitmap_top);
    return true;
}

bool getGlyphPixelAdvance(Font *font, int code, int *advance) {
    if (!validCode(code))
        return false;
    FT_UInt index = 0;
    FT_Face face = faceFor(font, code, &index);
    if (FT_Load_Glyph(face, index, FT_LOAD_TARGET_MONO | FT_LOAD_NO_BITMAP) != 0)
        return false;
    *advance = static_cast<int>((face->glyph->advance.x + 32) >> 6);
    return true;
}

void releaseFont(Font *font) {
    if (font == nullptr)
        return;
    for (int k = 0; k < font->fallbackCount; k++)
        FT_Done_Face(font->fallbackFaces[k].face);
    if (font->fallbacks != nullptr)
        FcFontSetDestroy(font->fallbacks);
    FcPatternDestroy(font->request);
    FT_Done_Face(font->face);
    delete font;
    if (--openFontCount == 0) {
        FT_Done_FreeType(library);
        library = nullptr;
    }
}
