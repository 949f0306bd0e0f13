// The line font and the pause banner: glyph geometry from the pure routines,
// and the pictures drawChar, drawString and the banner leave in a GL context.
#include "render/banner.h"
#include "render/stroke_font.h"

#include "tests/render/gl_window.h"

#include <gtest/gtest.h>

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

} // namespace

TEST(StrokeGlyphs, PAndEAtPen200_300Size5) {
    StrokeSegment seg[kMaxGlyphSegments];
    ASSERT_EQ(glyphSegments('P', 200, 300, 5.0f, seg), 6);
    expectSegment(seg[0], {190, 350}, {190, 300}, "P stem");
    const Pt bowl[] = {{190, 350},    {217.5f, 350}, {220, 342.5f},
                       {220, 332.5f}, {217.5f, 325}, {190, 325}};
    for (int i = 0; i < 5; ++i) expectSegment(seg[1 + i], bowl[i], bowl[i + 1], "P bowl");
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(seg[i].width, 5.0f / 3.0f + 1.0f, kTol);

    ASSERT_EQ(glyphSegments('E', 200, 300, 5.0f, seg), 4);
    expectSegment(seg[0], {190, 300}, {190, 350}, "E stem");
    expectSegment(seg[1], {190, 350}, {220, 350}, "E top bar");
    expectSegment(seg[2], {190, 327.5f}, {215, 327.5f}, "E middle bar");
    expectSegment(seg[3], {190, 302.6667f}, {220, 302.6667f}, "E bottom bar, lifted");
    // The lift is one line width whatever the size, not a scaled distance.
    ASSERT_EQ(glyphSegments('E', 0, 0, 21.0f, seg), 4);
    EXPECT_NEAR(seg[3].y1, 8.0f, kTol);
    // Codes without a glyph draw nothing.
    for (char c : std::string("\"'\\ \t\n\x7f\x01\xC1"))
        EXPECT_EQ(glyphSegments(c, 10, 20, 2.0f, seg), 0) << int(c);
}

TEST(StrokeGlyphs, LowerCaseIsUpperCaseAtSevenTenths) {
    StrokeSegment lower[kMaxGlyphSegments], upper[kMaxGlyphSegments];
    for (char c = 'a'; c <= 'z'; ++c) {
        const int n = glyphSegments(c, 37, 41, 5.0f, lower);
        ASSERT_EQ(n, glyphSegments(char(c - 32), 37, 41, 0.7f * 5.0f, upper)) << c;
        ASSERT_GT(n, 0);
        for (int i = 0; i < n; ++i) {
            expectSegment(lower[i], {upper[i].x1, upper[i].y1}, {upper[i].x2, upper[i].y2}, "");
            EXPECT_NEAR(lower[i].width, 0.7f * 5.0f / 3.0f + 1.0f, kTol) << c;
        }
    }
    // "Pa": the a stands on the same baseline, one advance to the right.
    ASSERT_EQ(glyphSegments('a', strokePenX(200, 5.0f, 1), 300, 5.0f, lower), 3);
    expectSegment(lower[0], {250 + 3.5f, 335}, {250 - 10.5f, 300}, "left leg of a");
}

TEST(StrokeGlyphs, DollarIsSWithTwoThinBars) {
    StrokeSegment dollar[kMaxGlyphSegments], s[kMaxGlyphSegments];
    ASSERT_EQ(glyphSegments('$', 100, 50, 6.0f, dollar), 12);
    ASSERT_EQ(glyphSegments('S', 100, 50, 6.0f, s), 10);
    for (int i = 0; i < 10; ++i) {
        expectSegment(dollar[i], {s[i].x1, s[i].y1}, {s[i].x2, s[i].y2}, "S part");
        EXPECT_NEAR(dollar[i].width, 3.0f, kTol);
    }
    expectSegment(dollar[10], {100, 116}, {100, 44}, "first bar");
    expectSegment(dollar[11], {112, 116}, {112, 44}, "second bar");
    EXPECT_NEAR(dollar[10].width, 2.0f, kTol);
    EXPECT_NEAR(dollar[11].width, 2.0f, kTol);
}

TEST(StrokeString, SizeClampAndPenTruncation) {
    EXPECT_EQ(strokeStringSize(40.0f), 30.0f);
    EXPECT_EQ(strokeStringSize(29.5f), 29.5f);
    EXPECT_EQ(strokePenX(0, 0.15f, 1), 1);    // 1.5
    EXPECT_EQ(strokePenX(-10, 0.15f, 1), -8); // -8.5, toward zero
    EXPECT_EQ(strokePenX(100, 30.0f, 2), 700);
}

TEST(PauseBanner, CopiesShowInTheirWindowsAtTheShiftedPens) {
    // Over one cycle: 0..3 nothing, 4..10 blue, 11..17 green and blue, 18..19
    // all three, 20..26 red and green, 27..34 red.
    for (int cycle = -35; cycle < 105; ++cycle) {
        const int phase = ((cycle % 35) + 35) % 35;
        std::string want, got;
        if (phase >= 18) want += 'r';
        if (phase >= 11 && phase <= 26) want += 'g';
        if (phase >= 4 && phase <= 19) want += 'b';
        BannerCopy copies[3];
        const int n = pauseBannerCopies(cycle, 0.0f, 0.0f, copies);
        for (int i = 0; i < n; ++i) {
            const BannerCopy& c = copies[i];
            if (c.r == 1.0f && c.g == 0.0f && c.b == 0.0f) got += 'r';
            if (c.r == 0.0f && c.g == 1.0f && c.b == 0.0f) got += 'g';
            if (c.r == 0.0f && c.g == 0.0f && c.b == 1.0f) got += 'b';
        }
        EXPECT_EQ(got, want) << "cycle " << cycle;
    }
    BannerCopy c[3];
    ASSERT_EQ(pauseBannerCopies(18, 0.0f, 0.0f, c), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(c[i].x, 200 + 2 * i);
        EXPECT_EQ(c[i].y, 300 - 2 * i);
    }
    ASSERT_EQ(pauseBannerCopies(30, 350.0f, 200.0f, c), 1);
    EXPECT_EQ(c[0].x, 375);
    EXPECT_EQ(c[0].y, 500);
    ASSERT_EQ(pauseBannerCopies(5, 3.0f, -0.5f, c), 1);
    EXPECT_EQ(c[0].x, 205); // 205.5 truncated
    EXPECT_EQ(c[0].y, 295); // 295.5 truncated
}

// ---- pictures -------------------------------------------------------------

class StrokeFontPicture : public GlSuite<640, 480> {
  protected:
    void SetUp() override {
        GlSuite::SetUp();
        clearToPixels(gl);
    }
    // Centres and widths of the runs of lit pixels in row y.
    static std::vector<Pt> litRuns(const Picture& pic, int y) {
        std::vector<Pt> runs;
        for (int x = 0, end; x < pic.width; x = end + 1) {
            for (end = x; end < pic.width && pic.lit(end, y);) ++end;
            if (end > x) runs.push_back({0.5f * float(x + end), float(end - x)});
        }
        return runs;
    }
    static int countLit(const Picture& pic, int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) n += pic.lit(x, y);
        return n;
    }
};

TEST_F(StrokeFontPicture, PDrawsItsStemAndBowlAndEStandsAboveThePenLine) {
    drawChar('P', 200, 300, 1.0f, 1.0f, 1.0f, 5.0f);
    const Picture pic = readPicture(gl);
    for (int y = 305; y <= 345; y += 5) EXPECT_GT(countLit(pic, 188, y, 192, y), 0) << "stem " << y;
    for (int x = 195; x <= 215; x += 5) {
        EXPECT_GT(countLit(pic, x, 348, x, 352), 0) << "top " << x;
        EXPECT_GT(countLit(pic, x, 323, x, 327), 0) << "bar " << x;
    }
    EXPECT_EQ(countLit(pic, 200, 332, 212, 344), 0) << "inside of the bowl";
    EXPECT_EQ(countLit(pic, 200, 300, 225, 318), 0) << "P has no lower right";
    EXPECT_EQ(countLit(pic, 185, 295, 225, 355), countLit(pic, 0, 0, 639, 479))
        << "nothing outside the glyph box";

    clearToPixels(gl);
    drawChar('E', 200, 300, 1.0f, 1.0f, 1.0f, 5.0f);
    const Picture e = readPicture(gl);
    for (int x = 198; x <= 216; x += 3) {
        EXPECT_TRUE(e.lit(x, 302)) << x;
        EXPECT_FALSE(e.lit(x, 299)) << x;
    }
}

TEST_F(StrokeFontPicture, SizeAbove30IsDrawnAt30AndUnmappedCodesLeaveAGap) {
    drawString("||", 20, 100, 1.0f, 1.0f, 1.0f, 40.0f);
    GLfloat width = 0.0f;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_FLOAT_EQ(width, 11.0f);
    std::vector<Pt> runs = litRuns(readPicture(gl), 250);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_NEAR(runs[0].x, 50.0f, 1.0f);  // 20 + 1 * 30
    EXPECT_NEAR(runs[1].x, 350.0f, 1.0f); // 300 pixels on
    for (const Pt& r : runs) EXPECT_NEAR(r.y, 11, 1);

    clearToPixels(gl);
    drawString("|\"|\\| |", 10, 50, 1.0f, 1.0f, 1.0f, 2.0f);
    runs = litRuns(readPicture(gl), 60);
    ASSERT_EQ(runs.size(), 4u);
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(runs[i].x, 12 + 40 * i, 1.5f) << i;
}
