// The HUD bitmap font and the overlay projections, read back from a real GL
// context: the font's lists, what hudPrint draws and where, its limits, the
// fallbacks, and the pixel projections of the text and banner overlays.
#include "app/hud_font.h"
#include "app/overlay.h"

#include "tests/render/gl_test_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr int kW = 640, kH = 480;
// hudPrint at overlay y = 20 puts the baseline on window row kH - 20.
constexpr int kBaseline = kH - 20;

struct Box {
    int minX = 1 << 20, maxX = -1, minY = 1 << 20, maxY = -1, count = 0;
};

Box litBox(const Picture& pic) {
    Box b;
    for (int y = 0; y < pic.height; ++y)
        for (int x = 0; x < pic.width; ++x)
            if (pic.lit(x, y)) {
                b.minX = std::min(b.minX, x), b.maxX = std::max(b.maxX, x);
                b.minY = std::min(b.minY, y), b.maxY = std::max(b.maxY, y);
                ++b.count;
            }
    return b;
}

float rasterX() {
    GLfloat p[4] = {0, 0, 0, 0};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, p);
    return p[0];
}

} // namespace

class HudFont : public ::testing::Test {
  protected:
    static GlTestWindow win;
    static void SetUpTestSuite() {
        if (openGlTestWindow(win, kW, kH)) buildHudFont();
    }
    static void TearDownTestSuite() {
        freeHudFont();
        closeGlTestWindow(win);
    }
    void SetUp() override {
        ASSERT_NE(win.context, nullptr) << "no GL context: " << SDL_GetError();
        if (hudFontKind != kHudFontNamed) buildHudFont();
        clearForTest();
        beginTextOverlay(kW, kH);
        glColor3f(1.0f, 1.0f, 1.0f);
    }
    void TearDown() override { endOverlay(); }
    // Draws text at overlay (10, 20) on a clear picture and reads it back.
    static Picture drawn(const char* text) {
        glClear(GL_COLOR_BUFFER_BIT);
        hudPrint(10.0f, 20.0f, "%s", text);
        return readPicture(win);
    }
    // How far the raster position moves while text is drawn.
    static float advanceOf(const char* text) {
        hudPrint(10.0f, 20.0f, "%s", text);
        return rasterX() - 10.0f;
    }
};
GlTestWindow HudFont::win;

TEST_F(HudFont, BuildsNinetySixListsFromAFixedWidthFace) {
    EXPECT_EQ(hudFontKind, kHudFontNamed) << "family " << hudFontFamily;
    EXPECT_STRNE(hudFontFamily, "");
    ASSERT_NE(hudFontBase, 0u);
    for (int i = 0; i < kHudFontLists; ++i) EXPECT_TRUE(glIsList(hudFontBase + i)) << i;
    const float adv = advanceOf("W");
    EXPECT_GE(adv, 5.0f) << "about 12 pixels high means 6 to 8 across";
    EXPECT_LE(adv, 9.0f);
    for (const char* c : {"i", "l", "M", ".", " ", "~"}) EXPECT_FLOAT_EQ(advanceOf(c), adv) << c;
    EXPECT_FLOAT_EQ(advanceOf("WWWW"), 4.0f * adv);
}

TEST_F(HudFont, TextShowsWhereItIsPrinted) {
    const float adv = advanceOf("W");
    const Picture pic = drawn("Hello HUD");
    const Box b = litBox(pic);
    EXPECT_GT(b.count, 40);
    EXPECT_GE(b.minX, 9);
    EXPECT_LE(b.maxX, 10 + static_cast<int>(9 * adv));
    EXPECT_GE(b.minY, kBaseline - 4) << "no more than a descender below the baseline";
    EXPECT_LE(b.maxY, kBaseline + 12) << "no taller than the font";
    EXPECT_GE(b.maxY, kBaseline + 6) << "capitals reach well above the baseline";
    // In the current colour.
    glColor3f(0.0f, 1.0f, 0.0f);
    const Picture green = drawn("Hello HUD");
    const unsigned char* p = green.at(b.minX, b.minY);
    for (int y = b.minY; y <= b.maxY; ++y)
        for (int x = b.minX; x <= b.maxX; ++x)
            if (green.lit(x, y)) p = green.at(x, y);
    EXPECT_EQ(p[0], 0);
    EXPECT_EQ(p[1], 255);
    EXPECT_EQ(p[2], 0);
}

TEST_F(HudFont, FourWsSpanAboutFourAdvances) {
    const float adv = advanceOf("W");
    const Box b = litBox(drawn("WWWW"));
    const int span = b.maxX - b.minX + 1;
    EXPECT_GE(span, static_cast<int>(3 * adv) + 1);
    EXPECT_LE(span, static_cast<int>(4 * adv) + 1);
}

// The shapes of a few glyphs relative to the baseline: the lists hold the
// glyph of their own code, not a neighbour's.
TEST_F(HudFont, GlyphsSitWhereTheirShapesBelong) {
    const Box dot = litBox(drawn("."));
    EXPECT_GT(dot.count, 0);
    EXPECT_LE(dot.count, 12);
    EXPECT_GE(dot.minY, kBaseline - 1);
    EXPECT_LE(dot.maxY, kBaseline + 3);

    const Box low = litBox(drawn("_"));
    EXPECT_GT(low.count, 0);
    EXPECT_LE(low.maxY, kBaseline);
    EXPECT_GE(low.maxX - low.minX, 3);

    const Box quote = litBox(drawn("'"));
    EXPECT_GT(quote.count, 0);
    EXPECT_GE(quote.minY, kBaseline + 4);

    const Box dash = litBox(drawn("-"));
    EXPECT_LE(dash.maxY - dash.minY, 1);
    EXPECT_GE(dash.minY, kBaseline + 2);
    EXPECT_LE(dash.maxY, kBaseline + 6);
    EXPECT_GE(dash.maxX - dash.minX, 2);

    const Box bar = litBox(drawn("|"));
    EXPECT_GE(bar.maxY - bar.minY, 8);
    EXPECT_LE(bar.maxX - bar.minX, 1);

    EXPECT_EQ(litBox(drawn(" ")).count, 0);
}

// Upright, not mirrored top to bottom: T is wide at its top row, L at its
// bottom row, and the other way round only one pixel wide.
TEST_F(HudFont, GlyphsStandUpright) {
    auto rowWidth = [](const Picture& pic, int y) {
        int n = 0;
        for (int x = 0; x < pic.width; ++x) n += pic.lit(x, y);
        return n;
    };
    const Picture t = drawn("T");
    const Box tb = litBox(t);
    EXPECT_GE(rowWidth(t, tb.maxY), 4);
    EXPECT_LE(rowWidth(t, tb.minY), 2);
    EXPECT_EQ(tb.minY, kBaseline) << "T stands on the baseline";
    const Picture l = drawn("L");
    const Box lb = litBox(l);
    EXPECT_GE(rowWidth(l, lb.minY), 4);
    EXPECT_LE(rowWidth(l, lb.maxY), 2);
}

TEST_F(HudFont, EveryPrintableCharacterHasItsOwnBitmap) {
    std::vector<std::vector<unsigned char>> seen;
    for (int c = 33; c <= 126; ++c) {
        const char text[2] = {static_cast<char>(c), 0};
        glClear(GL_COLOR_BUFFER_BIT);
        hudPrint(10.0f, 20.0f, "%s", text);
        std::vector<unsigned char> cell(3 * 24 * 24);
        glFinish();
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(4, kBaseline - 8, 24, 24, GL_RGB, GL_UNSIGNED_BYTE, cell.data());
        bool any = false;
        for (unsigned char v : cell) any = any || v != 0;
        EXPECT_TRUE(any) << "glyph " << static_cast<char>(c) << " is empty";
        for (size_t i = 0; i < seen.size(); ++i)
            EXPECT_NE(seen[i], cell)
                << static_cast<char>(c) << " looks like " << static_cast<char>(33 + i);
        seen.push_back(cell);
    }
}

TEST_F(HudFont, NullFormatDrawsNothing) {
    glClear(GL_COLOR_BUFFER_BIT);
    glRasterPos2f(100.0f, 100.0f);
    const float before = rasterX();
    const char* none = nullptr;
    hudPrint(10.0f, 20.0f, none);
    EXPECT_FLOAT_EQ(rasterX(), before);
    EXPECT_EQ(litBox(readPicture(win)).count, 0);
}

TEST_F(HudFont, FormatsLikePrintf) {
    const Picture formatted = [] {
        glClear(GL_COLOR_BUFFER_BIT);
        hudPrint(10.0f, 20.0f, "FPS     : %0.1f %i:%s", 59.94f, 7, "x");
        return readPicture(win);
    }();
    const Picture plain = drawn("FPS     : 59.9 7:x");
    EXPECT_GT(litBox(plain).count, 0);
    EXPECT_EQ(formatted.rgb, plain.rgb);
}

TEST_F(HudFont, OverLongTextIsCutAt255Characters) {
    const float adv = advanceOf("W");
    const std::string half(200, 'W');
    hudPrint(10.0f, 20.0f, "%s%s", half.c_str(), half.c_str());
    EXPECT_FLOAT_EQ(rasterX() - 10.0f, 255.0f * adv);
    const std::string exact(255, 'i');
    EXPECT_FLOAT_EQ(advanceOf(exact.c_str()), 255.0f * adv);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(HudFont, UnknownFamilyFallsBackToAnotherFixedWidthFont) {
    EXPECT_EQ(buildHudFontFrom("Qzxv No Such Family"), kHudFontMonospace);
    EXPECT_EQ(hudFontKind, kHudFontMonospace);
    EXPECT_STRNE(hudFontFamily, "");
    const float adv = advanceOf("W");
    EXPECT_GE(adv, 5.0f);
    EXPECT_LE(adv, 9.0f);
    EXPECT_FLOAT_EQ(advanceOf("i"), adv);
    EXPECT_GT(litBox(drawn("Fallback")).count, 30);
}

TEST_F(HudFont, BlockGlyphsStillShowText) {
    buildHudBlockFont();
    ASSERT_EQ(hudFontKind, kHudFontBlocks);
    for (int i = 0; i < kHudFontLists; ++i) EXPECT_TRUE(glIsList(hudFontBase + i)) << i;
    const Picture a = drawn("A");
    const Picture b = drawn("B");
    EXPECT_GT(litBox(a).count, 10);
    EXPECT_NE(a.rgb, b.rgb);
    EXPECT_EQ(litBox(drawn(" ")).count, 0);
    EXPECT_FLOAT_EQ(advanceOf("AB"), 14.0f);
}

TEST_F(HudFont, FreedFontDrawsNothing) {
    const unsigned int base = hudFontBase;
    freeHudFont();
    EXPECT_EQ(hudFontBase, 0u);
    EXPECT_FALSE(glIsList(base));
    EXPECT_FALSE(glIsList(base + kHudFontLists - 1));
    EXPECT_EQ(litBox(drawn("gone")).count, 0);
}

// ---- overlay projections --------------------------------------------------

namespace {

// Window pixel lit by a point drawn at (x, y) in the current projection.
bool pointLands(float x, float y, const GlTestWindow& w, int& wx, int& wy) {
    glClear(GL_COLOR_BUFFER_BIT);
    glPointSize(1.0f);
    glBegin(GL_POINTS);
    glVertex2f(x, y);
    glEnd();
    const Box b = litBox(readPicture(w));
    wx = b.minX;
    wy = b.minY;
    return b.count == 1;
}

void matrices(GLdouble (&proj)[16], GLdouble (&model)[16]) {
    glGetDoublev(GL_PROJECTION_MATRIX, proj);
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
}

} // namespace

class HudOverlay : public HudFont {
  protected:
    void SetUp() override {
        ASSERT_NE(win.context, nullptr) << "no GL context: " << SDL_GetError();
        clearForTest();
        glColor3f(1.0f, 1.0f, 1.0f);
    }
    void TearDown() override {}
};

TEST_F(HudOverlay, TextOverlayCountsYFromTheTop) {
    int x = 0, y = 0;
    beginTextOverlay(kW, kH);
    ASSERT_TRUE(pointLands(10.5f, 10.5f, win, x, y));
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, kH - 11);
    endOverlay();
    // The projection follows the size it is given.
    beginTextOverlay(kW / 2, kH / 2);
    ASSERT_TRUE(pointLands(100.25f, 50.25f, win, x, y));
    EXPECT_EQ(x, 200);
    EXPECT_EQ(y, kH - 101);
    endOverlay();
}

TEST_F(HudOverlay, BannerOverlayCountsYFromTheBottom) {
    int x = 0, y = 0;
    beginBannerOverlay(kW, kH);
    ASSERT_TRUE(pointLands(10.5f, 10.5f, win, x, y));
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 10);
    endOverlay();
}

TEST_F(HudOverlay, EndOverlayRestoresWhatWasThere) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-1, 1, -0.75, 0.75, 0.5, 50);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, -2.0f, -15.0f);
    GLdouble proj[16], model[16], p2[16], m2[16];
    matrices(proj, model);

    glEnable(GL_BLEND);
    glEnable(GL_ALPHA_TEST);
    beginTextOverlay(kW, kH);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    beginBannerOverlay(kW, kH);
    endOverlay();
    endOverlay();
    matrices(p2, m2);
    for (int i = 0; i < 16; ++i) {
        EXPECT_DOUBLE_EQ(p2[i], proj[i]) << i;
        EXPECT_DOUBLE_EQ(m2[i], model[i]) << i;
    }
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);

    // With no overlay up (the very first frame) nothing is popped.
    endOverlay();
    matrices(p2, m2);
    for (int i = 0; i < 16; ++i) EXPECT_DOUBLE_EQ(p2[i], proj[i]) << i;
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
}
