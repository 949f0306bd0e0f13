// The line font and the pause banner: glyph geometry placed by the pure
// routines, and the pictures drawChar, drawString and the banner leave in a
// real GL context.
#include "render/banner.h"
#include "render/stroke_font.h"

#include "tests/render/gl_test_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr float kTol = 1e-3f;

struct Pt {
    float x, y;
};

void expectSegment(const StrokeSegment& s, Pt a, Pt b, const char* what) {
    EXPECT_NEAR(s.x1, a.x, kTol) << what;
    EXPECT_NEAR(s.y1, a.y, kTol) << what;
    EXPECT_NEAR(s.x2, b.x, kTol) << what;
    EXPECT_NEAR(s.y2, b.y, kTol) << what;
}

// Segments per glyph, in the order of the codes 0x21..0x7E, as the glyph
// table counts them ("$" is its 2 bars plus the 10 of "S"); '.' marks a code
// without a glyph of its own (", ', \ and the lower-case letters).
const char* const kSegmentCounts[] = {
    "!5", "#4", "$12", "%9", "&9", "(3",  ")3",  "*4", "+2",  ",5",  "-1", ".4", "/1",
    "09", "12", "27",  "37", "43", "58",  "610", "72", "815", "911", ":8", ";9", "<2",
    "=2", ">2", "?11", "@7", "A3", "B11", "C7",  "D8", "E4",  "F3",  "G9", "H3", "I3",
    "J6", "K3", "L3",  "M4", "N3", "O8",  "P6",  "Q9", "R7",  "S10", "T4", "U5", "V4",
    "W6", "X2", "Y4",  "Z3", "[3", "]3",  "^2",  "_1", "`1",  "{6",  "|1", "}6", "~5"};

} // namespace

TEST(StrokeGlyphs, PGlyphAtPen200_300Size5) {
    StrokeSegment seg[kMaxGlyphSegments];
    ASSERT_EQ(glyphSegments('P', 200, 300, 5.0f, seg), 6);
    expectSegment(seg[0], {190, 350}, {190, 300}, "stem");
    const Pt bowl[] = {{190, 350},    {217.5f, 350}, {220, 342.5f},
                       {220, 332.5f}, {217.5f, 325}, {190, 325}};
    for (int i = 0; i < 5; ++i) expectSegment(seg[1 + i], bowl[i], bowl[i + 1], "bowl");
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(seg[i].width, 5.0f / 3.0f + 1.0f, kTol);
}

TEST(StrokeGlyphs, EBottomBarSitsOnTheLiftedBaseline) {
    StrokeSegment seg[kMaxGlyphSegments];
    ASSERT_EQ(glyphSegments('E', 200, 300, 5.0f, seg), 4);
    expectSegment(seg[0], {190, 300}, {190, 350}, "stem");
    expectSegment(seg[1], {190, 350}, {220, 350}, "top bar");
    expectSegment(seg[2], {190, 327.5f}, {215, 327.5f}, "middle bar");
    expectSegment(seg[3], {190, 302.6667f}, {220, 302.6667f}, "bottom bar");
    // The lift is one line width whatever the size, not a scaled distance.
    ASSERT_EQ(glyphSegments('E', 0, 0, 21.0f, seg), 4);
    EXPECT_NEAR(seg[3].y1, 8.0f, kTol);
}

TEST(StrokeGlyphs, EveryCodeDrawsItsCountOfSegments) {
    StrokeSegment seg[kMaxGlyphSegments];
    int mapped = 0;
    for (const char* entry : kSegmentCounts) {
        const int expected = std::atoi(entry + 1);
        EXPECT_EQ(glyphSegments(entry[0], 10, 20, 2.0f, seg), expected) << "glyph " << entry[0];
        ++mapped;
    }
    EXPECT_EQ(mapped, 65);
    for (char c : std::string("\"'\\ \t\n\x7f\x01"))
        EXPECT_EQ(glyphSegments(c, 10, 20, 2.0f, seg), 0);
    EXPECT_EQ(glyphSegments(static_cast<char>(0xC1), 10, 20, 2.0f, seg), 0);
}

// Bounds of every glyph in glyph units as the table's notes give them:
// most within u = -2..4 and v = 0..10, with the named exceptions.
TEST(StrokeGlyphs, GlyphExtentsMatchTheirStatedBounds) {
    StrokeSegment seg[kMaxGlyphSegments];
    const float s = 10.0f;
    for (const char* entry : kSegmentCounts) {
        const char c = entry[0];
        const int n = glyphSegments(c, 0, 0, s, seg);
        ASSERT_GT(n, 0) << c;
        float minU = 1e9f, maxU = -1e9f, minV = 1e9f, maxV = -1e9f;
        for (int i = 0; i < n; ++i) {
            for (float x : {seg[i].x1, seg[i].x2})
                minU = std::fmin(minU, x / s), maxU = std::fmax(maxU, x / s);
            for (float y : {seg[i].y1, seg[i].y2})
                minV = std::fmin(minV, y / s), maxV = std::fmax(maxV, y / s);
        }
        const std::string c1(1, c);
        if (std::strchr("AW)]_=", c))
            EXPECT_NEAR(minU, -3.0f, kTol) << c1;
        else if (c == 'V')
            EXPECT_NEAR(minU, -2.5f, kTol) << c1;
        else
            EXPECT_GE(minU, -2.0f - kTol) << c1;
        if (std::strchr("AW", c))
            EXPECT_NEAR(maxU, 5.0f, kTol) << c1;
        else if (c == 'Q')
            EXPECT_NEAR(maxU, 4.8f, kTol) << c1;
        else if (std::strchr("BTV", c))
            EXPECT_NEAR(maxU, 4.5f, kTol) << c1;
        else
            EXPECT_LE(maxU, 4.0f + kTol) << c1;
        if (std::strchr(",;", c))
            EXPECT_NEAR(minV, -2.0f, kTol) << c1;
        else if (c == '$')
            EXPECT_NEAR(minV, -1.0f, kTol) << c1;
        else
            EXPECT_GE(minV, -kTol) << c1;
        if (c == '$')
            EXPECT_NEAR(maxV, 11.0f, kTol) << c1;
        else
            EXPECT_LE(maxV, 10.0f + kTol) << c1;
    }
}

TEST(StrokeGlyphs, LowerCaseIsUpperCaseAtSevenTenths) {
    StrokeSegment lower[kMaxGlyphSegments], upper[kMaxGlyphSegments];
    for (char c = 'a'; c <= 'z'; ++c) {
        const int n = glyphSegments(c, 37, 41, 5.0f, lower);
        ASSERT_EQ(n, glyphSegments(static_cast<char>(c - 32), 37, 41, 0.7f * 5.0f, upper)) << c;
        ASSERT_GT(n, 0);
        for (int i = 0; i < n; ++i) {
            EXPECT_FLOAT_EQ(lower[i].x1, upper[i].x1) << c;
            EXPECT_FLOAT_EQ(lower[i].y1, upper[i].y1) << c;
            EXPECT_FLOAT_EQ(lower[i].x2, upper[i].x2) << c;
            EXPECT_FLOAT_EQ(lower[i].y2, upper[i].y2) << c;
            EXPECT_NEAR(lower[i].width, 0.7f * 5.0f / 3.0f + 1.0f, kTol) << c;
        }
    }
    // "Pa": the a stands on the same baseline, one advance to the right.
    StrokeSegment a[kMaxGlyphSegments];
    ASSERT_EQ(glyphSegments('a', strokePenX(200, 5.0f, 1), 300, 5.0f, a), 3);
    expectSegment(a[0], {250 + 3.5f, 335}, {250 - 10.5f, 300}, "left leg of a");
}

TEST(StrokeGlyphs, DollarIsSWithTwoThinBars) {
    StrokeSegment dollar[kMaxGlyphSegments], s[kMaxGlyphSegments];
    ASSERT_EQ(glyphSegments('$', 100, 50, 6.0f, dollar), 12);
    ASSERT_EQ(glyphSegments('S', 100, 50, 6.0f, s), 10);
    for (int i = 0; i < 10; ++i) {
        EXPECT_FLOAT_EQ(dollar[i].x1, s[i].x1);
        EXPECT_FLOAT_EQ(dollar[i].y2, s[i].y2);
        EXPECT_NEAR(dollar[i].width, 3.0f, kTol);
    }
    expectSegment(dollar[10], {100, 116}, {100, 44}, "first bar");
    expectSegment(dollar[11], {112, 116}, {112, 44}, "second bar");
    EXPECT_NEAR(dollar[10].width, 2.0f, kTol);
    EXPECT_NEAR(dollar[11].width, 2.0f, kTol);
}

TEST(StrokeString, SizeClampAndPenTruncation) {
    EXPECT_EQ(strokeStringSize(40.0f), 30.0f);
    EXPECT_EQ(strokeStringSize(30.0f), 30.0f);
    EXPECT_EQ(strokeStringSize(29.5f), 29.5f);
    EXPECT_EQ(strokeStringSize(0.15f), 0.15f);
    EXPECT_EQ(strokePenX(0, 0.15f, 1), 1);    // 1.5
    EXPECT_EQ(strokePenX(-10, 0.15f, 1), -8); // -8.5, toward zero
    EXPECT_EQ(strokePenX(100, 30.0f, 2), 700);
    EXPECT_EQ(strokePenX(7, 5.0f, 0), 7);
}

TEST(PauseBannerPhases, CopiesShowInTheirWindows) {
    // Over one cycle: 0..3 nothing, 4..10 blue, 11..17 green and blue, 18..19
    // all three, 20..26 red and green, 27..34 red.
    auto expected = [](int phase) {
        std::string s;
        if (phase >= 18) s += 'r';
        if (phase >= 11 && phase <= 26) s += 'g';
        if (phase >= 4 && phase <= 19) s += 'b';
        return s;
    };
    for (int cycle = -35; cycle < 105; ++cycle) {
        const int phase = ((cycle % 35) + 35) % 35;
        BannerCopy copies[3];
        const int n = pauseBannerCopies(cycle, 0.0f, 0.0f, copies);
        std::string got;
        for (int i = 0; i < n; ++i) {
            const BannerCopy& c = copies[i];
            if (c.r == 1.0f && c.g == 0.0f && c.b == 0.0f) got += 'r';
            if (c.r == 0.0f && c.g == 1.0f && c.b == 0.0f) got += 'g';
            if (c.r == 0.0f && c.g == 0.0f && c.b == 1.0f) got += 'b';
        }
        EXPECT_EQ(got, expected(phase)) << "cycle " << cycle;
    }
}

TEST(PauseBannerPhases, PenPositionsFollowTheHudShift) {
    BannerCopy c[3];
    ASSERT_EQ(pauseBannerCopies(18, 0.0f, 0.0f, c), 3);
    EXPECT_EQ(c[0].x, 200);
    EXPECT_EQ(c[0].y, 300);
    EXPECT_EQ(c[1].x, 202);
    EXPECT_EQ(c[1].y, 298);
    EXPECT_EQ(c[2].x, 204);
    EXPECT_EQ(c[2].y, 296);
    ASSERT_EQ(pauseBannerCopies(30, 350.0f, 200.0f, c), 1);
    EXPECT_EQ(c[0].x, 375);
    EXPECT_EQ(c[0].y, 500);
    ASSERT_EQ(pauseBannerCopies(5, 3.0f, -0.5f, c), 1);
    EXPECT_EQ(c[0].x, 205); // 205.5 truncated
    EXPECT_EQ(c[0].y, 295); // 295.5 truncated
}

// ---- pictures -------------------------------------------------------------

class StrokeFontPicture : public ::testing::Test {
  protected:
    static GlTestWindow win;
    static void SetUpTestSuite() { openGlTestWindow(win, 640, 480); }
    static void TearDownTestSuite() { closeGlTestWindow(win); }
    void SetUp() override {
        ASSERT_NE(win.context, nullptr) << "no GL context: " << SDL_GetError();
        clearForTest();
        glMatrixMode(GL_PROJECTION);
        glOrtho(0, win.width, 0, win.height, -1, 1);
        glMatrixMode(GL_MODELVIEW);
    }
    // Lit columns of row y, grouped into runs; returns the runs' centres and
    // widths.
    static void litRuns(const Picture& pic, int y, std::vector<float>& centres,
                        std::vector<int>& widths) {
        centres.clear();
        widths.clear();
        for (int x = 0; x < pic.width;) {
            if (!pic.lit(x, y)) {
                ++x;
                continue;
            }
            int end = x;
            while (end < pic.width && pic.lit(end, y)) ++end;
            centres.push_back(0.5f * static_cast<float>(x + end));
            widths.push_back(end - x);
            x = end;
        }
    }
    static int countLit(const Picture& pic, int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) n += pic.lit(x, y);
        return n;
    }
};
GlTestWindow StrokeFontPicture::win;

TEST_F(StrokeFontPicture, PGlyphDrawsItsStemAndBowl) {
    drawChar('P', 200, 300, 1.0f, 1.0f, 1.0f, 5.0f);
    const Picture pic = readPicture(win);
    for (int y = 305; y <= 345; y += 5) EXPECT_GT(countLit(pic, 188, y, 192, y), 0) << "stem " << y;
    for (int x = 195; x <= 215; x += 5) {
        EXPECT_GT(countLit(pic, x, 348, x, 352), 0) << "top " << x;
        EXPECT_GT(countLit(pic, x, 323, x, 327), 0) << "bar " << x;
    }
    EXPECT_EQ(countLit(pic, 200, 332, 212, 344), 0) << "inside of the bowl";
    EXPECT_EQ(countLit(pic, 200, 300, 225, 318), 0) << "P has no lower right";
    const int all = countLit(pic, 0, 0, 639, 479);
    EXPECT_EQ(countLit(pic, 185, 295, 225, 355), all) << "nothing outside the glyph box";
}

TEST_F(StrokeFontPicture, LiftedBaselineDrawsAboveThePenLine) {
    drawChar('E', 200, 300, 1.0f, 1.0f, 1.0f, 5.0f);
    const Picture pic = readPicture(win);
    for (int x = 198; x <= 216; x += 3) {
        EXPECT_TRUE(pic.lit(x, 302)) << x;
        EXPECT_FALSE(pic.lit(x, 299)) << x;
    }
}

TEST_F(StrokeFontPicture, SizeAbove30IsDrawnAt30) {
    drawString("||", 20, 100, 1.0f, 1.0f, 1.0f, 40.0f);
    GLfloat width = 0.0f;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_FLOAT_EQ(width, 11.0f);
    const Picture pic = readPicture(win);
    std::vector<float> centres;
    std::vector<int> widths;
    litRuns(pic, 250, centres, widths);
    ASSERT_EQ(centres.size(), 2u);
    EXPECT_NEAR(centres[0], 50.0f, 1.0f);  // 20 + 1 * 30
    EXPECT_NEAR(centres[1], 350.0f, 1.0f); // 300 pixels on
    EXPECT_NEAR(widths[0], 11, 1);
    EXPECT_NEAR(widths[1], 11, 1);
}

TEST_F(StrokeFontPicture, DollarBarsAreThinnerThanItsS) {
    drawChar('$', 100, 100, 1.0f, 1.0f, 1.0f, 30.0f);
    const Picture pic = readPicture(win);
    std::vector<float> centres;
    std::vector<int> widths;
    litRuns(pic, 80, centres, widths); // below the S, where only the bars reach
    ASSERT_EQ(centres.size(), 2u);
    EXPECT_NEAR(centres[0], 100.0f, 1.0f);
    EXPECT_NEAR(centres[1], 160.0f, 1.0f);
    EXPECT_NEAR(widths[0], 6, 1); // 30 / 6 + 1
    EXPECT_NEAR(widths[1], 6, 1);
    litRuns(pic, 250, centres, widths); // the S's long diagonal is 11 wide
    int widest = 0;
    for (int w : widths) widest = std::max(widest, w);
    EXPECT_GE(widest, 11);
}

TEST_F(StrokeFontPicture, UnmappedCharactersLeaveAGapOfOneAdvance) {
    drawString("|\"|\\| |", 10, 50, 1.0f, 1.0f, 1.0f, 2.0f);
    const Picture pic = readPicture(win);
    std::vector<float> centres;
    std::vector<int> widths;
    litRuns(pic, 60, centres, widths);
    ASSERT_EQ(centres.size(), 4u);
    const float expected[] = {12, 52, 92, 132};
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(centres[i], expected[i], 1.5f) << i;
}

TEST_F(StrokeFontPicture, BannerDrawsItsCopiesInTheirColours) {
    struct Case {
        int cycle;
        bool red, green, blue;
    };
    const Case cases[] = {{3, false, false, false}, {5, false, false, true},
                          {14, false, true, true},  {18, true, true, true},
                          {22, true, true, false},  {30, true, false, false}};
    for (const Case& k : cases) {
        clearForTest();
        glMatrixMode(GL_PROJECTION);
        glOrtho(0, win.width, 0, win.height, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        frameCycle = k.cycle;
        drawPauseBanner(0.0f, 0.0f);
        const Picture pic = readPicture(win);
        int red = 0, green = 0, blue = 0, outside = 0;
        for (int y = 0; y < pic.height; ++y)
            for (int x = 0; x < pic.width; ++x) {
                const unsigned char* p = pic.at(x, y);
                const bool in = x >= 180 && x <= 460 && y >= 290 && y <= 356;
                if (!in && pic.lit(x, y)) ++outside;
                red += p[0] == 255 && p[1] == 0 && p[2] == 0;
                green += p[0] == 0 && p[1] == 255 && p[2] == 0;
                blue += p[0] == 0 && p[1] == 0 && p[2] == 255;
            }
        EXPECT_EQ(outside, 0) << "cycle " << k.cycle;
        EXPECT_EQ(red > 40, k.red) << "cycle " << k.cycle << " red " << red;
        EXPECT_EQ(green > 40, k.green) << "cycle " << k.cycle << " green " << green;
        EXPECT_EQ(blue > 40, k.blue) << "cycle " << k.cycle << " blue " << blue;
        EXPECT_EQ(red == 0, !k.red);
        EXPECT_EQ(green == 0, !k.green);
        EXPECT_EQ(blue == 0, !k.blue);
    }
    frameCycle = 0;
}
