// The HUD bitmap font. fontconfig picks the face ("Courier New", which
// fontconfig maps to a metric-compatible fixed-width face where it is
// missing), FreeType renders each character code 32..127 as a one-bit bitmap
// at 12 pixels, and each bitmap goes into its own display list as one
// glBitmap call carrying the glyph's origin and advance.
#include "app/hud_font.h"

#include <GL/gl.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdarg>
#include <cstdio>
#include <cstring>

unsigned int hudFontBase = 0;
int hudFontKind = kHudFontNone;
char hudFontFamily[128] = "";

namespace {

// Largest glyph bitmap kept, in pixels; a 12-pixel face stays well inside.
constexpr int kMaxBitmapWidth = 64;
constexpr int kMaxBitmapRows = 64;
constexpr int kBitmapRowBytes = kMaxBitmapWidth / 8;

// Block glyphs: a 5 x 7 box every 7 pixels whose rows show the bits of the
// character code, so that every character has its own picture.
constexpr int kBlockAdvance = 7;
constexpr int kBlockRows = 7;

// One glyph's bitmap, bottom row first, rows byte-aligned, leftmost pixel in
// the top bit: the layout glBitmap reads with an unpack alignment of 1.
unsigned char glyphBits[kMaxBitmapRows * kBitmapRowBytes];

// Compiles list `code` from the bitmap in glyphBits.
void compileGlyph(int code, int width, int rows, float xorig, float yorig, float advance) {
    glNewList(hudFontBase + static_cast<unsigned>(code - kHudFontFirstCode), GL_COMPILE);
    glBitmap(width, rows, xorig, yorig, advance, 0.0f, glyphBits);
    glEndList();
}

// Copies a rendered FreeType glyph (top row first) into glyphBits (bottom row
// first), clipped to the buffer; returns the width and rows kept.
void copyGlyphBitmap(const FT_Bitmap& bm, int& width, int& rows) {
    width =
        static_cast<int>(bm.width) < kMaxBitmapWidth ? static_cast<int>(bm.width) : kMaxBitmapWidth;
    rows = static_cast<int>(bm.rows) < kMaxBitmapRows ? static_cast<int>(bm.rows) : kMaxBitmapRows;
    const int rowBytes = (width + 7) / 8;
    std::memset(glyphBits, 0, sizeof glyphBits);
    for (int r = 0; r < rows; ++r) {
        const unsigned char* src = bm.buffer + r * bm.pitch;
        unsigned char* dst = glyphBits + (rows - 1 - r) * rowBytes;
        for (int c = 0; c < width; ++c) {
            const int on = bm.pixel_mode == FT_PIXEL_MODE_MONO ? (src[c / 8] >> (7 - c % 8)) & 1
                                                               : src[c] >= 128;
            if (on) dst[c / 8] |= static_cast<unsigned char>(0x80 >> (c % 8));
        }
    }
}

void compileFaceGlyphs(FT_Face face) {
    for (int code = kHudFontFirstCode; code < kHudFontFirstCode + kHudFontLists; ++code) {
        int width = 0, rows = 0;
        float xorig = 0.0f, yorig = 0.0f, advance = 0.0f;
        if (FT_Load_Char(face, static_cast<FT_ULong>(code), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) ==
            0) {
            const FT_GlyphSlot slot = face->glyph;
            copyGlyphBitmap(slot->bitmap, width, rows);
            xorig = static_cast<float>(-slot->bitmap_left);
            yorig = static_cast<float>(rows - slot->bitmap_top);
            advance = static_cast<float>((slot->advance.x + 32) >> 6);
        } else {
            advance = static_cast<float>((face->size->metrics.max_advance + 32) >> 6);
        }
        compileGlyph(code, width, rows, xorig, yorig, advance);
    }
}

void compileBlockGlyphs() {
    for (int code = kHudFontFirstCode; code < kHudFontFirstCode + kHudFontLists; ++code) {
        std::memset(glyphBits, 0, sizeof glyphBits);
        const int rows = code == ' ' ? 0 : kBlockRows;
        for (int r = 0; r < rows; ++r) glyphBits[r] = (code >> r) & 1 ? 0xF8 : 0x88;
        compileGlyph(code, rows ? 5 : 0, rows, 0.0f, 0.0f, static_cast<float>(kBlockAdvance));
    }
}

// Opens the face of a fontconfig match at the HUD's pixel size; accepts it
// only when it is fixed-width. Returns the face or null.
FT_Face openFixedFace(FT_Library lib, FcPattern* font) {
    FcChar8* file = nullptr;
    int index = 0;
    if (font == nullptr || FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch)
        return nullptr;
    FcPatternGetInteger(font, FC_INDEX, 0, &index);
    FT_Face face = nullptr;
    if (FT_New_Face(lib, reinterpret_cast<const char*>(file), index, &face) != 0) return nullptr;
    int spacing = FC_PROPORTIONAL;
    FcPatternGetInteger(font, FC_SPACING, 0, &spacing);
    if ((spacing < FC_MONO && !FT_IS_FIXED_WIDTH(face)) ||
        FT_Set_Pixel_Sizes(face, 0, kHudFontPixels) != 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    FcChar8* family = nullptr;
    if (FcPatternGetString(font, FC_FAMILY, 0, &family) == FcResultMatch)
        std::snprintf(hudFontFamily, sizeof hudFontFamily, "%s",
                      reinterpret_cast<const char*>(family));
    return face;
}

// The best fontconfig match for a family at the HUD size, regular and
// upright; `monoOnly` asks for fixed-width faces.
FT_Face openMatch(FT_Library lib, const char* family, int monoOnly) {
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) return nullptr;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddDouble(pattern, FC_PIXEL_SIZE, kHudFontPixels);
    FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    if (monoOnly) FcPatternAddInteger(pattern, FC_SPACING, FC_MONO);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FT_Face face = openFixedFace(lib, match);
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return face;
}

// Any fixed-width face installed, tried in fontconfig's listing order.
FT_Face openAnyFixed(FT_Library lib) {
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) return nullptr;
    FcPatternAddInteger(pattern, FC_SPACING, FC_MONO);
    FcObjectSet* objects = FcObjectSetBuild(FC_FILE, FC_INDEX, FC_FAMILY, FC_SPACING, nullptr);
    FcFontSet* set = objects ? FcFontList(nullptr, pattern, objects) : nullptr;
    FT_Face face = nullptr;
    for (int i = 0; set != nullptr && i < set->nfont && face == nullptr; ++i)
        face = openFixedFace(lib, set->fonts[i]);
    if (set) FcFontSetDestroy(set);
    if (objects) FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return face;
}

// Reserves the 96 lists (freeing an earlier font); false without a context.
int reserveLists() {
    freeHudFont();
    hudFontBase = glGenLists(kHudFontLists);
    return hudFontBase != 0;
}

// Compiles the lists with the pixel-store state glBitmap's data is laid out
// for; the state itself is not part of the lists.
void compileWith(FT_Face face) {
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    if (face)
        compileFaceGlyphs(face);
    else
        compileBlockGlyphs();
    glPopClientAttrib();
}

} // namespace

void buildHudFont() {
    buildHudFontFrom("Courier New");
}

int buildHudFontFrom(const char* family) {
    if (!reserveLists()) return kHudFontNone;
    FT_Library lib = nullptr;
    FT_Face face = nullptr;
    int kind = kHudFontBlocks;
    if (FT_Init_FreeType(&lib) == 0) {
        if (family != nullptr && (face = openMatch(lib, family, 0)) != nullptr)
            kind = kHudFontNamed;
        else if ((face = openMatch(lib, "monospace", 1)) != nullptr ||
                 (face = openAnyFixed(lib)) != nullptr)
            kind = kHudFontMonospace;
    }
    if (kind == kHudFontBlocks) std::snprintf(hudFontFamily, sizeof hudFontFamily, "%s", "");
    compileWith(face);
    if (face) FT_Done_Face(face);
    if (lib) FT_Done_FreeType(lib);
    hudFontKind = kind;
    return kind;
}

void buildHudBlockFont() {
    if (!reserveLists()) return;
    compileWith(nullptr);
    hudFontFamily[0] = '\0';
    hudFontKind = kHudFontBlocks;
}

void freeHudFont() {
    if (hudFontBase != 0) glDeleteLists(hudFontBase, kHudFontLists);
    hudFontBase = 0;
    hudFontKind = kHudFontNone;
    hudFontFamily[0] = '\0';
}

void hudPrint(float x, float y, const char* format, ...) {
    if (format == nullptr || hudFontBase == 0) return;
    char text[256];
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (written <= 0) return;
    const int length = static_cast<int>(std::strlen(text));
    // Only codes 32..127 have lists; anything else would call some other
    // list of the context, so it shows as '?'.
    for (int i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < kHudFontFirstCode || c >= kHudFontFirstCode + kHudFontLists) text[i] = '?';
    }
    glRasterPos2f(x, y);
    glPushAttrib(GL_LIST_BIT);
    glListBase(hudFontBase - kHudFontFirstCode);
    glCallLists(length, GL_UNSIGNED_BYTE, text);
    glPopAttrib();
}
