// The HUD bitmap font. fontconfig picks the face ("Courier New", which
// fontconfig maps to a metric-compatible fixed-width face where it is
// missing), FreeType renders each character code 32..127 as a one-bit bitmap
// at 12 pixels, and each bitmap goes into its own display list as one
// glBitmap call carrying the glyph's origin and advance. The same bitmaps go
// into one texture, the glyph atlas, from which the frame's HUD text is drawn:
// hudPrint queues one textured quad per glyph where glBitmap would have put
// it, and flushHudText draws the queue in one call, without the per-character
// work (and heap allocations) of the driver's bitmap path.
#include "app/hud_font.h"

#include <GL/gl.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

unsigned int hudFontBase = 0;
unsigned int hudFontTexture = 0;
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

// The glyph atlas: glyphs side by side on shelves, bottom row first, one byte
// a pixel (0 or 255: the texture's alpha).
constexpr int kAtlasWidth = 512;
constexpr int kAtlasHeight = 256;
unsigned char atlasPixels[kAtlasHeight][kAtlasWidth];
int shelfX = 0, shelfY = 0, shelfRows = 0;

// Where a glyph sits in the atlas and how glBitmap places it.
struct AtlasGlyph {
    int x, y, width, rows; // width 0: nothing to draw (a space, or no room left)
    float xorig, yorig, advance;
};
AtlasGlyph atlasGlyphs[kHudFontLists];

// The queued quads of this frame's text: window-pixel corners, atlas
// coordinates and the raster colour, four corners a glyph.
constexpr int kQueuedGlyphs = 2048;
float queuedCorners[kQueuedGlyphs * 4][2];
float queuedTexCoords[kQueuedGlyphs * 4][2];
float queuedColours[kQueuedGlyphs * 4][4];
int queuedGlyphCount = 0;

// One glyph's bitmap, bottom row first, rows byte-aligned, leftmost pixel in
// the top bit: the layout glBitmap reads with an unpack alignment of 1.
unsigned char glyphBits[kMaxBitmapRows * kBitmapRowBytes];

// Copies the bitmap in glyphBits into the atlas, on the current shelf or a
// new one above it; a glyph that finds no room keeps width 0 (not drawn).
void addToAtlas(AtlasGlyph& g, int width, int rows) {
    g.width = 0;
    if (width == 0 || rows == 0) return;
    if (shelfX + width > kAtlasWidth) {
        shelfY += shelfRows + 1;
        shelfX = 0;
        shelfRows = 0;
    }
    if (shelfY + rows > kAtlasHeight || width > kAtlasWidth) return;
    const int rowBytes = (width + 7) / 8;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < width; ++c)
            atlasPixels[shelfY + r][shelfX + c] =
                (glyphBits[r * rowBytes + c / 8] >> (7 - c % 8)) & 1 ? 255 : 0;
    g.x = shelfX;
    g.y = shelfY;
    g.width = width;
    g.rows = rows;
    shelfX += width + 1;
    if (rows > shelfRows) shelfRows = rows;
}

// Compiles list `code` from the bitmap in glyphBits and puts the glyph into
// the atlas.
void compileGlyph(int code, int width, int rows, float xorig, float yorig, float advance) {
    glNewList(hudFontBase + static_cast<unsigned>(code - kHudFontFirstCode), GL_COMPILE);
    glBitmap(width, rows, xorig, yorig, advance, 0.0f, glyphBits);
    glEndList();
    AtlasGlyph& g = atlasGlyphs[code - kHudFontFirstCode];
    g.xorig = xorig;
    g.yorig = yorig;
    g.advance = advance;
    addToAtlas(g, width, rows);
}

// Loads the atlas into a texture of its own once every glyph is in.
void uploadAtlas() {
    glGenTextures(1, &hudFontTexture);
    glBindTexture(GL_TEXTURE_2D, hudFontTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA8, kAtlasWidth, kAtlasHeight, 0, GL_ALPHA,
                 GL_UNSIGNED_BYTE, atlasPixels);
    glBindTexture(GL_TEXTURE_2D, 0);
}

// Queues one glyph's quad: its pixels are the window pixels (x, y) ..
// (x + width, y + rows), each showing one atlas texel.
void queueGlyph(const AtlasGlyph& g, int x, int y, const float (&colour)[4]) {
    if (queuedGlyphCount == kQueuedGlyphs) flushHudText();
    const float x0 = static_cast<float>(x), y0 = static_cast<float>(y);
    const float x1 = x0 + static_cast<float>(g.width), y1 = y0 + static_cast<float>(g.rows);
    const float u0 = static_cast<float>(g.x) / kAtlasWidth;
    const float v0 = static_cast<float>(g.y) / kAtlasHeight;
    const float u1 = static_cast<float>(g.x + g.width) / kAtlasWidth;
    const float v1 = static_cast<float>(g.y + g.rows) / kAtlasHeight;
    const float corners[4][4] = {
        {x0, y0, u0, v0}, {x1, y0, u1, v0}, {x1, y1, u1, v1}, {x0, y1, u0, v1}};
    for (int k = 0; k < 4; ++k) {
        const int i = queuedGlyphCount * 4 + k;
        queuedCorners[i][0] = corners[k][0];
        queuedCorners[i][1] = corners[k][1];
        queuedTexCoords[i][0] = corners[k][2];
        queuedTexCoords[i][1] = corners[k][3];
        for (int c = 0; c < 4; ++c) queuedColours[i][c] = colour[c];
    }
    ++queuedGlyphCount;
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

// Reserves the 96 lists and empties the atlas (freeing an earlier font);
// false without a context.
int reserveLists() {
    freeHudFont();
    hudFontBase = glGenLists(kHudFontLists);
    std::memset(atlasPixels, 0, sizeof atlasPixels);
    std::memset(atlasGlyphs, 0, sizeof atlasGlyphs);
    shelfX = shelfY = shelfRows = 0;
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
    uploadAtlas();
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
    if (hudFontTexture != 0) glDeleteTextures(1, &hudFontTexture);
    hudFontBase = 0;
    hudFontTexture = 0;
    queuedGlyphCount = 0;
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
    // The glyphs go where the lists' glBitmap calls would put them: the GL
    // places the raster position (and drops the whole text when it falls
    // outside the view), each glyph's lower left corner is the raster
    // position less the glyph's origin, rounded down as the driver does it
    // (with its small epsilon), and the position moves on by the advance.
    glRasterPos2f(x, y);
    GLboolean valid = GL_FALSE;
    glGetBooleanv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    if (!valid) return;
    GLfloat raster[4], colour[4];
    glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
    glGetFloatv(GL_CURRENT_RASTER_COLOR, colour);
    constexpr float kDriverEpsilon = 0.0001f;
    float penX = raster[0];
    for (int i = 0; i < length; ++i) {
        const AtlasGlyph& g = atlasGlyphs[static_cast<unsigned char>(text[i]) - kHudFontFirstCode];
        if (g.width > 0)
            queueGlyph(g, static_cast<int>(std::floor(penX + kDriverEpsilon - g.xorig)),
                       static_cast<int>(std::floor(raster[1] + kDriverEpsilon - g.yorig)), colour);
        penX += g.advance;
    }
    // The raster position ends where the glyphs' advances took it.
    glBitmap(0, 0, 0.0f, 0.0f, penX - raster[0], 0.0f, nullptr);
}

void flushHudText() {
    if (queuedGlyphCount == 0 || hudFontTexture == 0) {
        queuedGlyphCount = 0;
        return;
    }
    GLint view[4];
    glGetIntegerv(GL_VIEWPORT, view);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(view[0], view[0] + view[2], view[1], view[1] + view[3], -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_COLOR_BUFFER_BIT);
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    // Bitmaps are neither lit nor depth-tested in the overlay; the quads take
    // their colour from the raster colour and keep only the glyphs' set texels.
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, hudFontTexture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.5f);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, queuedCorners);
    glTexCoordPointer(2, GL_FLOAT, 0, queuedTexCoords);
    glColorPointer(4, GL_FLOAT, 0, queuedColours);
    glDrawArrays(GL_QUADS, 0, queuedGlyphCount * 4);
    glPopClientAttrib();
    glPopAttrib();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    queuedGlyphCount = 0;
}
