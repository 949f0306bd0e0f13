// Whole frames drawn in GL and read back: the HUD text and the pause banner.
#include "render/banner.h"
#include "tests/app/panel_support.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int kW = 640, kH = 480;

// A pure colour: each channel bright (over 200) where on, dark (under 60) where off.
template <int R, int G, int B> bool pure(const unsigned char* p) {
    return (R ? p[0] > 200 : p[0] < 60) && (G ? p[1] > 200 : p[1] < 60) &&
           (B ? p[2] > 200 : p[2] < 60);
}
constexpr auto isRed = pure<1, 0, 0>, isGreen = pure<0, 1, 0>, isBlue = pure<0, 0, 1>,
               isWhite = pure<1, 1, 1>;

// Pixels passing `test` in the text row with its baseline at overlay y.
int countInRow(const Picture& pic, float overlayY, int x0, int x1,
               bool (*test)(const unsigned char*)) {
    const int base = kH - int(overlayY);
    int n = 0;
    for (int y = base + 1; y <= base + 6 && y < kH; ++y)
        for (int x = x0; x < x1 && x < kW; ++x) n += test(pic.at(x, y));
    return n;
}

} // namespace

class FrameDraw : public PanelSuite {
  protected:
    void SetUp() override {
        PanelSuite::SetUp();
        if (!HasFatalFailure()) start(kW, kH);
    }
    static Picture frame() {
        drawFrame();
        return readBack(kW, kH, nullptr);
    }
};

// The running entry's menu line red, the learning line (y 130) only while it plays.
TEST_F(FrameDraw, TheMenuLineOfTheRunningEntryTurnsRedAndTheLearningLineShows) {
    TempWorkDir dir;
    randomMix();
    playMixWhole();
    EXPECT_EQ(countInRow(frame(), 130.0f, 0, 200, isWhite), 0);
    const int entry = 3;
    press(VK_KEY_0 + entry);
    frame(); // computes
    release(VK_KEY_0 + entry);
    ASSERT_EQ(solveState.playbackPending, 1);
    const Picture pic = frame(); // plays the first move
    ASSERT_EQ(selectedAlgorithm, entry);
    for (int i = 0; i < kMenuSize; ++i) {
        SCOPED_TRACE("menu line of entry " + std::to_string(i));
        const float y = 30.0f + 10.0f * static_cast<float>(i);
        EXPECT_EQ(countInRow(pic, y, 0, 300, isRed) > 50, i == entry);
        EXPECT_EQ(countInRow(pic, y, 0, 300, isWhite) > 50, i != entry);
        EXPECT_EQ(countInRow(pic, y, 0, 300, i == entry ? isWhite : isRed), 0);
    }
    // Green help line, white right column, red credit.
    EXPECT_GT(countInRow(pic, 20, 0, 300, isGreen), 50);
    EXPECT_GT(countInRow(pic, 10, 300, kW, isWhite), 50);
    EXPECT_GT(countInRow(pic, kH - 30, 0, 300, isRed), 50);
    EXPECT_GT(countInRow(pic, 130.0f, 0, 200, isWhite), 50);
    // After the playback (run headless) every menu line is white again.
    controllerDrawing = kRecordingDrawing;
    for (int frames = 0; solveState.playbackPending && frames < 40000; ++frames) ::frame();
    controllerDrawing = kRenderDrawing;
    EXPECT_TRUE(isSolved());
    const Picture after = frame();
    EXPECT_EQ(countInRow(after, 30.0f + 10 * entry, 0, 300, isRed), 0);
    EXPECT_EQ(countInRow(after, 130.0f, 0, 200, isWhite), 0);
}

TEST_F(FrameDraw, TheBannerShowsWhilePausedAndBlinks) {
    // The first frame of a context is lit from the default place: skip it.
    frame();
    const Picture running = frame();
    tap('P');
    ASSERT_EQ(paused, 1);
    // frameCycle 17 (18 once advanced) shows all three copies, 2 none.
    frameCycle = 17;
    const Picture all = frame();
    frameCycle = 2;
    const Picture none = frame();
    // Outside the word the paused frame is the running one; without a copy
    // it is the running one everywhere (the wide pen leaves the grid alone).
    int red = 0, green = 0, blue = 0, changedNone = 0, changedElsewhere = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const bool banner = y >= 280 && y < 365 && x >= 180 && x < 470;
            for (int c = 0; c < 3; ++c) {
                changedNone += none.at(x, y)[c] != running.at(x, y)[c];
                changedElsewhere += !banner && all.at(x, y)[c] != running.at(x, y)[c];
            }
            red += banner && isRed(all.at(x, y));
            green += banner && isGreen(all.at(x, y));
            blue += banner && isBlue(all.at(x, y));
        }
    EXPECT_GT(red, 200);
    EXPECT_GT(green, 100);
    EXPECT_GT(blue, 100);
    EXPECT_EQ(changedNone, 0);
    EXPECT_EQ(changedElsewhere, 0);
}

// A solve waiting for its routine says "thinking" from the third frame on.
TEST_F(FrameDraw, AWaitingSolveSaysItIsThinkingAfterThreeFrames) {
    static std::vector<std::string> lines;
    hudDrawing = {[](float, float, float) {},
                  [](float, float y, const char* text) {
                      if (y == 130.0f) lines.push_back(text);
                  }};
    selectedAlgorithm = 6;
    for (int waited : {0, 2, 3, 40}) {
        lines.clear();
        frameSession().thinkingFrames = waited;
        drawHudLines();
        if (waited < 3)
            EXPECT_TRUE(lines.empty()) << waited;
        else
            EXPECT_EQ(lines,
                      std::vector<std::string>{std::string(kMenu[6].label) + ": thinking ..."});
    }
    frameSession().thinkingFrames = 0;
    selectedAlgorithm = -1;
    hudDrawing = kGlHudDrawing;
}

// Batched HUD text is pixel for pixel what the font's glyph lists draw.
TEST_F(FrameDraw, BatchedHudTextIsWhatTheGlyphListsDraw) {
    std::string all;
    for (int c = kHudFontFirstCode; c < kHudFontFirstCode + kHudFontLists; ++c)
        all += static_cast<char>(c);
    const struct {
        float x, y, r, g, b;
        std::string text;
    } lines[] = {
        {10.0f, 20.0f, 1, 1, 1, all},
        {13.5f, 61.25f, 1, 0, 0, "'X' - algorythm      --  4 "},
        {17.999f, 80.0001f, 0, 1, 0, "Quick algorythm"},
        {-3.0f, 100.0f, 1, 1, 1, "starts left of the view"},
        {600.0f, 120.0f, 0, 0, 1, "runs off the right edge of the view"},
    };
    beginTextOverlay(kW, kH);
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
        pictures[batched] = readBack(kW, kH, nullptr);
    }
    endOverlay();
    EXPECT_GT(pictures[0].nonBlackPixels(), 500);
    EXPECT_TRUE(pictures[0].rgb == pictures[1].rgb);
}
