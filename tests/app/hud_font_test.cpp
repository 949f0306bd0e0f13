// The HUD bitmap font and the overlay projections, read back from a real GL
// context: the font's lists, what hudPrint draws and where, its limits, the
// fallbacks, and the pixel projections of the text and banner overlays.
#include "app/hud_font.h"
#include "app/overlay.h"

#include "tests/render/gl_window.h"

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
int rowWidth(const Picture& pic, int y) {
    int n = 0;
    for (int x = 0; x < pic.width; ++x) n += pic.lit(x, y);
    return n;
}
float rasterX() {
    GLfloat p[4] = {0, 0, 0, 0};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, p);
    return p[0];
}

} // namespace

class HudFont : public GlSuite<kW, kH> {
  protected:
    static void SetUpTestSuite() {
        GlSuite::SetUpTestSuite();
        if (gl.context) buildHudFont();
    }
    static void TearDownTestSuite() {
        freeHudFont();
        GlSuite::TearDownTestSuite();
    }
    void SetUp() override {
        GlSuite::SetUp();
        if (HasFatalFailure()) return;
        if (hudFontKind != kHudFontNamed) buildHudFont();
        clearToPixels(gl);
        beginTextOverlay(kW, kH);
        glColor3f(1.0f, 1.0f, 1.0f);
    }
    void TearDown() override { endOverlay(); }
    // Text drawn at overlay (10, 20) on a clear picture.
    static Picture drawn(const char* text) {
        glClear(GL_COLOR_BUFFER_BIT);
        hudPrint(10.0f, 20.0f, "%s", text);
        flushHudText();
        return readPicture(gl);
    }
    // How far the raster position moves while text is drawn.
    static float advanceOf(const char* text) {
        hudPrint(10.0f, 20.0f, "%s", text);
        flushHudText();
        return rasterX() - 10.0f;
    }
};

TEST_F(HudFont, NinetySixListsOfAFixedWidthFaceAboutTwelvePixelsHigh) {
    EXPECT_EQ(hudFontKind, kHudFontNamed) << "family " << hudFontFamily;
    ASSERT_NE(hudFontBase, 0u);
    for (int i = 0; i < kHudFontLists; ++i) EXPECT_TRUE(glIsList(hudFontBase + i)) << i;
    const float adv = advanceOf("W");
    EXPECT_GE(adv, 5.0f);
    EXPECT_LE(adv, 9.0f);
    for (const char* c : {"i", "l", "M", ".", " ", "~"}) EXPECT_FLOAT_EQ(advanceOf(c), adv) << c;
    // Text sits on the baseline, in the current colour, no taller than the font.
    glColor3f(0.0f, 1.0f, 0.0f);
    const Picture pic = drawn("Hello HUD");
    const Box b = litBox(pic);
    EXPECT_GT(b.count, 40);
    EXPECT_GE(b.minX, 9);
    EXPECT_LE(b.maxX, 10 + int(9 * adv));
    EXPECT_GE(b.minY, kBaseline - 4) << "no more than a descender below the baseline";
    EXPECT_LE(b.maxY, kBaseline + 12);
    EXPECT_GE(b.maxY, kBaseline + 6) << "capitals reach well above the baseline";
    int notGreen = 0;
    for (int y = b.minY; y <= b.maxY; ++y)
        for (int x = b.minX; x <= b.maxX; ++x)
            notGreen += pic.lit(x, y) &&
                        !(pic.at(x, y)[0] == 0 && pic.at(x, y)[1] == 255 && pic.at(x, y)[2] == 0);
    EXPECT_EQ(notGreen, 0);
}

TEST_F(HudFont, EveryPrintableCharacterHasItsOwnUprightBitmap) {
    std::vector<std::vector<unsigned char>> seen;
    for (int c = 33; c <= 126; ++c) {
        const char text[2] = {char(c), 0};
        glClear(GL_COLOR_BUFFER_BIT);
        hudPrint(10.0f, 20.0f, "%s", text);
        flushHudText();
        std::vector<unsigned char> cell(3 * 24 * 24);
        glFinish();
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(4, kBaseline - 8, 24, 24, GL_RGB, GL_UNSIGNED_BYTE, cell.data());
        EXPECT_TRUE(std::any_of(cell.begin(), cell.end(), [](unsigned char v) { return v; }))
            << "glyph " << char(c) << " is empty";
        for (size_t i = 0; i < seen.size(); ++i)
            EXPECT_NE(seen[i], cell) << char(c) << " looks like " << char(33 + i);
        seen.push_back(cell);
    }
    // Not mirrored top to bottom: T is wide at its top row and stands on the
    // baseline, L is wide at its bottom row; the dot and the underscore sit
    // low, the quote high.
    const Picture t = drawn("T"), l = drawn("L");
    const Box tb = litBox(t), lb = litBox(l);
    EXPECT_GE(rowWidth(t, tb.maxY), 4);
    EXPECT_LE(rowWidth(t, tb.minY), 2);
    EXPECT_EQ(tb.minY, kBaseline);
    EXPECT_GE(rowWidth(l, lb.minY), 4);
    EXPECT_LE(rowWidth(l, lb.maxY), 2);
    EXPECT_LE(litBox(drawn(".")).maxY, kBaseline + 3);
    EXPECT_LE(litBox(drawn("_")).maxY, kBaseline);
    EXPECT_GE(litBox(drawn("'")).minY, kBaseline + 4);
    EXPECT_EQ(litBox(drawn(" ")).count, 0);
}

TEST_F(HudFont, FormatsLikePrintfCutsAt255AndANullFormatDrawsNothing) {
    glClear(GL_COLOR_BUFFER_BIT);
    hudPrint(10.0f, 20.0f, "FPS     : %0.1f %i:%s", 59.94f, 7, "x");
    flushHudText();
    const Picture formatted = readPicture(gl);
    const Picture plain = drawn("FPS     : 59.9 7:x");
    EXPECT_GT(litBox(plain).count, 0);
    EXPECT_EQ(formatted.rgb, plain.rgb);

    const float adv = advanceOf("W");
    const std::string half(200, 'W');
    hudPrint(10.0f, 20.0f, "%s%s", half.c_str(), half.c_str());
    EXPECT_FLOAT_EQ(rasterX() - 10.0f, 255.0f * adv);
    EXPECT_FLOAT_EQ(advanceOf(std::string(255, 'i').c_str()), 255.0f * adv);

    glClear(GL_COLOR_BUFFER_BIT);
    glRasterPos2f(100.0f, 100.0f);
    const float before = rasterX();
    const char* none = nullptr;
    hudPrint(10.0f, 20.0f, none);
    EXPECT_FLOAT_EQ(rasterX(), before);
    EXPECT_EQ(litBox(readPicture(gl)).count, 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(HudFont, FallbacksStillShowTextAndAFreedFontDrawsNothing) {
    EXPECT_EQ(buildHudFontFrom("Qzxv No Such Family"), kHudFontMonospace);
    EXPECT_STRNE(hudFontFamily, "");
    const float adv = advanceOf("W");
    EXPECT_GE(adv, 5.0f);
    EXPECT_LE(adv, 9.0f);
    EXPECT_FLOAT_EQ(advanceOf("i"), adv);
    EXPECT_GT(litBox(drawn("Fallback")).count, 30);

    buildHudBlockFont();
    ASSERT_EQ(hudFontKind, kHudFontBlocks);
    for (int i = 0; i < kHudFontLists; ++i) EXPECT_TRUE(glIsList(hudFontBase + i)) << i;
    const Picture a = drawn("A");
    EXPECT_GT(litBox(a).count, 10);
    EXPECT_NE(a.rgb, drawn("B").rgb);
    EXPECT_EQ(litBox(drawn(" ")).count, 0);
    EXPECT_FLOAT_EQ(advanceOf("AB"), 14.0f);

    const unsigned int base = hudFontBase;
    freeHudFont();
    EXPECT_EQ(hudFontBase, 0u);
    EXPECT_FALSE(glIsList(base));
    EXPECT_FALSE(glIsList(base + kHudFontLists - 1));
    EXPECT_EQ(litBox(drawn("gone")).count, 0);
}

// The batched text is the picture the font's own glBitmap lists draw: every
// printable character, lines in several colours at whole and fractional
// places (the driver rounds the raster position down), a line that starts
// outside the view (dropped whole) and one running off the right edge, in all
// three kinds of font.
TEST_F(HudFont, BatchedTextIsPixelForPixelWhatTheGlyphListsDraw) {
    std::string all;
    for (int c = kHudFontFirstCode; c < kHudFontFirstCode + kHudFontLists; ++c)
        all += static_cast<char>(c);
    const struct {
        float x, y, r, g, b;
        std::string text;
    } lines[] = {
        {10.0f, 20.0f, 1, 1, 1, all},
        {0.0f, 40.0f, 0, 1, 0, "FPS     : 59.9 Time of working up  -- 1"},
        {13.5f, 61.25f, 1, 0, 0, "'X' - algorythm      --  4 "},
        {17.999f, 80.0001f, 1, 1, 0, "Quick algorythm"},
        {-3.0f, 100.0f, 1, 1, 1, "starts left of the view"},
        {600.0f, 120.0f, 0, 0, 1, "runs off the right edge of the view"},
        {10.0f, 479.0f, 1, 1, 1, "on the bottom row"},
    };
    for (int kind = kHudFontNamed; kind <= kHudFontBlocks; ++kind) {
        SCOPED_TRACE("font kind " + std::to_string(kind));
        if (kind == kHudFontNamed) buildHudFont();
        if (kind == kHudFontMonospace) buildHudFontFrom("Qzxv No Such Family");
        if (kind == kHudFontBlocks) buildHudBlockFont();
        ASSERT_EQ(hudFontKind, kind);
        Picture pictures[2];
        for (int batched = 0; batched <= 1; ++batched) {
            glClear(GL_COLOR_BUFFER_BIT);
            for (const auto& line : lines) {
                glColor3f(line.r, line.g, line.b);
                if (batched) {
                    hudPrint(line.x, line.y, "%s", line.text.c_str());
                    continue;
                }
                glRasterPos2f(line.x, line.y);
                glListBase(hudFontBase - kHudFontFirstCode);
                glCallLists(static_cast<GLsizei>(line.text.size()), GL_UNSIGNED_BYTE,
                            line.text.c_str());
                glListBase(0);
            }
            flushHudText();
            pictures[batched] = readPicture(gl);
        }
        EXPECT_GT(litBox(pictures[0]).count, 500);
        EXPECT_EQ(pictures[1].differingPixels(pictures[0]), 0);
    }
    buildHudFont();
}

// ---- the overlays (where they put text and the banner the frame tests see)

TEST_F(HudFont, EndOverlayRestoresWhatWasThere) {
    endOverlay();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-1, 1, -0.75, 0.75, 0.5, 50);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, -2.0f, -15.0f);
    auto matrices = [] {
        std::vector<GLdouble> m(32);
        glGetDoublev(GL_PROJECTION_MATRIX, m.data());
        glGetDoublev(GL_MODELVIEW_MATRIX, m.data() + 16);
        return m;
    };
    const std::vector<GLdouble> before = matrices();
    glEnable(GL_BLEND);
    glEnable(GL_ALPHA_TEST);
    beginTextOverlay(kW, kH);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    beginBannerOverlay(kW, kH);
    endOverlay();
    endOverlay();
    EXPECT_EQ(matrices(), before);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    // With no overlay up (the very first frame) nothing is popped.
    endOverlay();
    EXPECT_EQ(matrices(), before);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    for (GLenum cap : {GL_DEPTH_TEST, GL_LIGHTING, GL_BLEND}) glDisable(cap);
    beginTextOverlay(kW, kH); // for TearDown
}
