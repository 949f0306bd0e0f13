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

// Largest glyph bitmap kept, in pixels; every size stays well inside.
constexpr int kMaxBitmapWidth = 64;
constexpr int kMaxBitmapRows = 64;
constexpr int kBitmapRowBytes = kMaxBitmapWidth / 8;

// Block glyphs: a 5 x 7 box every 7 pixels whose rows show the bits of the
// character code, so that every character has its own picture.
// The panel fonts draw them twice as large.
constexpr int kBlockAdvance = 7;
constexpr int kBlockRows = 7;
constexpr int kPanelBlockScale = 2;

// A glyph atlas: glyphs side by side on shelves, bottom row first, one byte
// a pixel (the texture's alpha: 0 or 255 for the HUD's one-bit glyphs, the
// coverage for the panel fonts' smooth ones).
constexpr int kAtlasWidth = 512;
constexpr int kAtlasHeight = 256;

// Where a glyph sits in the atlas and how glBitmap places it.
struct AtlasGlyph {
    int x, y, width, rows; // width 0: nothing to draw (a space, or no room left)
    float xorig, yorig, advance;
};

struct GlyphAtlas {
    unsigned char pixels[kAtlasHeight][kAtlasWidth];
    AtlasGlyph glyphs[kHudFontLists];
    int shelfX, shelfY, shelfRows;
};

// The queued quads of a frame's text in one font: window-pixel corners,
// atlas coordinates and the raster colour, four corners a glyph.
constexpr int kQueuedGlyphs = 2048;
struct GlyphQueue {
    float corners[kQueuedGlyphs * 4][2];
    float texCoords[kQueuedGlyphs * 4][2];
    float colours[kQueuedGlyphs * 4][4];
    int count;
};

// The HUD font's atlas and queue (its lists and texture are the globals of
// the header).
GlyphAtlas hudAtlas;
GlyphQueue hudQueue;
TextMetrics hudMetrics;

// The panel fonts: the same face at kPanelFontPixels, smooth glyphs, no lists.
struct PanelFont {
    GlyphAtlas atlas;
    GlyphQueue queue;
    unsigned int texture;
    TextMetrics metrics;
};
PanelFont panelFonts[kPanelFontSizes];

// One glyph's coverage, bottom row first, one byte a pixel (0 or 255 for a
// one-bit glyph), and the same glyph as the one-bit bitmap glBitmap reads:
// bottom row first, rows byte-aligned, leftmost pixel in the top bit (the
// layout of an unpack alignment of 1).
unsigned char glyphCoverage[kMaxBitmapRows * kMaxBitmapWidth];
unsigned char glyphBits[kMaxBitmapRows * kBitmapRowBytes];

// Copies the glyph in glyphCoverage into the atlas, on the current shelf or a
// new one above it; a glyph that finds no room keeps width 0 (not drawn).
void addToAtlas(GlyphAtlas& atlas, AtlasGlyph& g, int width, int rows) {
    g.width = 0;
    if (width == 0 || rows == 0) return;
    if (atlas.shelfX + width > kAtlasWidth) {
        atlas.shelfY += atlas.shelfRows + 1;
        atlas.shelfX = 0;
        atlas.shelfRows = 0;
    }
    if (atlas.shelfY + rows > kAtlasHeight || width > kAtlasWidth) return;
    for (int r = 0; r < rows; ++r)
        std::memcpy(&atlas.pixels[atlas.shelfY + r][atlas.shelfX], glyphCoverage + r * width,
                    static_cast<size_t>(width));
    g.x = atlas.shelfX;
    g.y = atlas.shelfY;
    g.width = width;
    g.rows = rows;
    atlas.shelfX += width + 1;
    if (rows > atlas.shelfRows) atlas.shelfRows = rows;
}

// Gives character `code` of the atlas its placement and puts the glyph in
// glyphCoverage into it.
void placeGlyph(GlyphAtlas& atlas, int code, int width, int rows, float xorig, float yorig,
                float advance) {
    AtlasGlyph& g = atlas.glyphs[code - kHudFontFirstCode];
    g.xorig = xorig;
    g.yorig = yorig;
    g.advance = advance;
    addToAtlas(atlas, g, width, rows);
}

// Compiles HUD list `code` from the glyph in glyphCoverage and puts the glyph
// into the HUD's atlas.
void compileGlyph(int code, int width, int rows, float xorig, float yorig, float advance) {
    const int rowBytes = (width + 7) / 8;
    std::memset(glyphBits, 0, sizeof glyphBits);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < width; ++c)
            if (glyphCoverage[r * width + c] >= 128)
                glyphBits[r * rowBytes + c / 8] |= static_cast<unsigned char>(0x80 >> (c % 8));
    glNewList(hudFontBase + static_cast<unsigned>(code - kHudFontFirstCode), GL_COMPILE);
    glBitmap(width, rows, xorig, yorig, advance, 0.0f, glyphBits);
    glEndList();
    placeGlyph(hudAtlas, code, width, rows, xorig, yorig, advance);
}

// Loads an atlas into a texture of its own once every glyph is in; returns
// the texture.
unsigned int uploadAtlas(const GlyphAtlas& atlas) {
    unsigned int texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA8, kAtlasWidth, kAtlasHeight, 0, GL_ALPHA,
                 GL_UNSIGNED_BYTE, atlas.pixels);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

// Draws a queue in one call from its atlas texture and empties it. One-bit
// glyphs keep only their set texels; smooth ones are blended by coverage.
// Leaves the matrices and the GL state as it found them.
void drawQueue(GlyphQueue& queue, unsigned int texture, int smooth) {
    if (queue.count == 0 || texture == 0) {
        queue.count = 0;
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
    // their colour from the raster colour and their alpha from the atlas.
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glEnable(GL_ALPHA_TEST);
    if (smooth) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glAlphaFunc(GL_GREATER, 0.0f);
    } else {
        glDisable(GL_BLEND);
        glAlphaFunc(GL_GREATER, 0.5f);
    }
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, queue.corners);
    glTexCoordPointer(2, GL_FLOAT, 0, queue.texCoords);
    glColorPointer(4, GL_FLOAT, 0, queue.colours);
    glDrawArrays(GL_QUADS, 0, queue.count * 4);
    glPopClientAttrib();
    glPopAttrib();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    queue.count = 0;
}

// Queues one glyph's quad: its pixels are the window pixels (x, y) ..
// (x + width, y + rows), each showing one atlas texel. The queue has room.
void queueGlyph(GlyphQueue& queue, const AtlasGlyph& g, int x, int y, const float (&colour)[4]) {
    const float x0 = static_cast<float>(x), y0 = static_cast<float>(y);
    const float x1 = x0 + static_cast<float>(g.width), y1 = y0 + static_cast<float>(g.rows);
    const float u0 = static_cast<float>(g.x) / kAtlasWidth;
    const float v0 = static_cast<float>(g.y) / kAtlasHeight;
    const float u1 = static_cast<float>(g.x + g.width) / kAtlasWidth;
    const float v1 = static_cast<float>(g.y + g.rows) / kAtlasHeight;
    const float corners[4][4] = {
        {x0, y0, u0, v0}, {x1, y0, u1, v0}, {x1, y1, u1, v1}, {x0, y1, u0, v1}};
    for (int k = 0; k < 4; ++k) {
        const int i = queue.count * 4 + k;
        queue.corners[i][0] = corners[k][0];
        queue.corners[i][1] = corners[k][1];
        queue.texCoords[i][0] = corners[k][2];
        queue.texCoords[i][1] = corners[k][3];
        for (int c = 0; c < 4; ++c) queue.colours[i][c] = colour[c];
    }
    ++queue.count;
}

// Queues `text` at raster position (x, y) of the current projection in the
// current colour, where the font's glBitmap lists would put it, drawing a
// full queue first. Codes without a glyph show as '?'. Returns how far the
// glyphs' advances move the raster position, or -1 when the position falls
// outside the view (the GL then drops the whole text, as it drops bitmaps).
float queueText(GlyphQueue& queue, const GlyphAtlas& atlas, unsigned int texture, int smooth,
                float x, float y, const char* text) {
    // The glyphs go where glBitmap would put them: the GL places the raster
    // position, each glyph's lower left corner is the raster position less
    // the glyph's origin, rounded down as the driver does it (with its small
    // epsilon), and the position moves on by the advance.
    glRasterPos2f(x, y);
    GLboolean valid = GL_FALSE;
    glGetBooleanv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    if (!valid) return -1.0f;
    GLfloat raster[4], colour[4];
    glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
    glGetFloatv(GL_CURRENT_RASTER_COLOR, colour);
    constexpr float kDriverEpsilon = 0.0001f;
    float penX = raster[0];
    for (const char* p = text; *p != '\0'; ++p) {
        const int c = static_cast<unsigned char>(*p);
        const int code = c >= kHudFontFirstCode && c < kHudFontFirstCode + kHudFontLists ? c : '?';
        const AtlasGlyph& g = atlas.glyphs[code - kHudFontFirstCode];
        if (g.width > 0) {
            if (queue.count == kQueuedGlyphs) drawQueue(queue, texture, smooth);
            queueGlyph(queue, g, static_cast<int>(std::floor(penX + kDriverEpsilon - g.xorig)),
                       static_cast<int>(std::floor(raster[1] + kDriverEpsilon - g.yorig)), colour);
        }
        penX += g.advance;
    }
    return penX - raster[0];
}

// Copies a rendered FreeType glyph (top row first) into glyphCoverage (bottom
// row first), clipped to the buffer; returns the width and rows kept.
void copyGlyphBitmap(const FT_Bitmap& bm, int& width, int& rows) {
    width =
        static_cast<int>(bm.width) < kMaxBitmapWidth ? static_cast<int>(bm.width) : kMaxBitmapWidth;
    rows = static_cast<int>(bm.rows) < kMaxBitmapRows ? static_cast<int>(bm.rows) : kMaxBitmapRows;
    for (int r = 0; r < rows; ++r) {
        const unsigned char* src = bm.buffer + r * bm.pitch;
        unsigned char* dst = glyphCoverage + (rows - 1 - r) * width;
        for (int c = 0; c < width; ++c)
            dst[c] = bm.pixel_mode == FT_PIXEL_MODE_MONO
                         ? ((src[c / 8] >> (7 - c % 8)) & 1 ? 255 : 0)
                         : src[c];
    }
}

// Renders character code 32..127 of the face at its current size with the
// given load flags into glyphCoverage and hands each to `put` with its
// placement; a character the face cannot load gets the face's widest advance.
template <class Put> void renderFaceGlyphs(FT_Face face, FT_Int32 loadFlags, Put put) {
    for (int code = kHudFontFirstCode; code < kHudFontFirstCode + kHudFontLists; ++code) {
        int width = 0, rows = 0;
        float xorig = 0.0f, yorig = 0.0f, advance = 0.0f;
        if (FT_Load_Char(face, static_cast<FT_ULong>(code), loadFlags) == 0) {
            const FT_GlyphSlot slot = face->glyph;
            copyGlyphBitmap(slot->bitmap, width, rows);
            xorig = static_cast<float>(-slot->bitmap_left);
            yorig = static_cast<float>(rows - slot->bitmap_top);
            advance = static_cast<float>((slot->advance.x + 32) >> 6);
        } else {
            advance = static_cast<float>((face->size->metrics.max_advance + 32) >> 6);
        }
        put(code, width, rows, xorig, yorig, advance);
    }
}

// Block glyph `code` at `scale` into glyphCoverage: a box whose rows show the
// bits of the code; returns its width and rows (0 for the space).
void blockGlyph(int code, int scale, int& width, int& rows) {
    rows = code == ' ' ? 0 : kBlockRows * scale;
    width = rows ? 5 * scale : 0;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < width; ++c) {
            const int bits = (code >> (r / scale)) & 1 ? 0xF8 : 0x88;
            glyphCoverage[r * width + c] = (bits >> (7 - c / scale)) & 1 ? 255 : 0;
        }
}

void compileBlockGlyphs() {
    for (int code = kHudFontFirstCode; code < kHudFontFirstCode + kHudFontLists; ++code) {
        int width = 0, rows = 0;
        blockGlyph(code, 1, width, rows);
        compileGlyph(code, width, rows, 0.0f, 0.0f, static_cast<float>(kBlockAdvance));
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

// The metrics of a fixed-width face at its current size, its glyphs in the
// atlas.
TextMetrics faceMetrics(FT_Face face, const GlyphAtlas& atlas) {
    const FT_Size_Metrics& size = face->size->metrics;
    return {static_cast<int>(atlas.glyphs['M' - kHudFontFirstCode].advance),
            static_cast<int>((size.height + 63) >> 6), static_cast<int>((size.ascender + 32) >> 6)};
}

void clearAtlas(GlyphAtlas& atlas) {
    std::memset(atlas.pixels, 0, sizeof atlas.pixels);
    std::memset(atlas.glyphs, 0, sizeof atlas.glyphs);
    atlas.shelfX = atlas.shelfY = atlas.shelfRows = 0;
}

// Reserves the 96 lists and empties the atlases (freeing earlier fonts);
// false without a context.
int reserveLists() {
    freeHudFont();
    hudFontBase = glGenLists(kHudFontLists);
    clearAtlas(hudAtlas);
    for (PanelFont& font : panelFonts) clearAtlas(font.atlas);
    return hudFontBase != 0;
}

// Panel font `size` from the face (null: block glyphs), then its texture.
void buildPanelFont(FT_Face face, int size) {
    PanelFont& font = panelFonts[size];
    TextMetrics& m = font.metrics;
    const auto put = [&font](int code, int width, int rows, float xorig, float yorig,
                             float advance) {
        placeGlyph(font.atlas, code, width, rows, xorig, yorig, advance);
    };
    if (face != nullptr &&
        FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(kPanelFontPixels[size])) == 0) {
        renderFaceGlyphs(face, FT_LOAD_RENDER, put);
        m = faceMetrics(face, font.atlas);
    } else {
        for (int code = kHudFontFirstCode; code < kHudFontFirstCode + kHudFontLists; ++code) {
            int width = 0, rows = 0;
            blockGlyph(code, kPanelBlockScale, width, rows);
            put(code, width, rows, 0.0f, 0.0f,
                static_cast<float>(kBlockAdvance * kPanelBlockScale));
        }
        m.advance = kBlockAdvance * kPanelBlockScale;
        m.ascent = kBlockRows * kPanelBlockScale;
        m.lineHeight = m.ascent + 2 * kPanelBlockScale;
    }
    font.texture = uploadAtlas(font.atlas);
}

// Compiles the lists with the pixel-store state glBitmap's data is laid out
// for (the state itself is not part of the lists), then the panel fonts.
void compileWith(FT_Face face) {
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    if (face) {
        renderFaceGlyphs(face, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO, compileGlyph);
        hudMetrics = faceMetrics(face, hudAtlas);
    } else {
        compileBlockGlyphs();
        hudMetrics = {kBlockAdvance, kBlockRows + 2, kBlockRows};
    }
    hudFontTexture = uploadAtlas(hudAtlas);
    for (int size = 0; size < kPanelFontSizes; ++size) buildPanelFont(face, size);
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
    for (PanelFont& font : panelFonts) {
        if (font.texture != 0) glDeleteTextures(1, &font.texture);
        font.texture = 0;
        font.queue.count = 0;
        font.metrics = TextMetrics{};
    }
    hudFontBase = 0;
    hudFontTexture = 0;
    hudQueue.count = 0;
    hudFontKind = kHudFontNone;
    hudFontFamily[0] = '\0';
    hudMetrics = TextMetrics{};
}

void hudPrint(float x, float y, const char* format, ...) {
    if (format == nullptr || hudFontBase == 0) return;
    char text[256];
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (written <= 0) return;
    const float moved = queueText(hudQueue, hudAtlas, hudFontTexture, 0, x, y, text);
    // The raster position ends where the glyphs' advances took it.
    if (moved >= 0.0f) glBitmap(0, 0, 0.0f, 0.0f, moved, 0.0f, nullptr);
}

void flushHudText() {
    drawQueue(hudQueue, hudFontTexture, 0);
}

TextMetrics hudFontMetrics() {
    return hudMetrics;
}

TextMetrics panelFontMetrics(int size) {
    return panelFonts[size].metrics;
}

void panelPrint(int size, float x, float y, const char* text) {
    PanelFont& font = panelFonts[size];
    if (text == nullptr || font.texture == 0) return;
    queueText(font.queue, font.atlas, font.texture, 1, x, y, text);
}

void flushPanelText(int size) {
    drawQueue(panelFonts[size].queue, panelFonts[size].texture, 1);
}
