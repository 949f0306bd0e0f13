// The frame: the HUD lines (texts, places, colours) through a recording
// stand-in, and whole frames drawn into a real GL context and read back for
// the HUD text and the pause banner.
#include "app/frame.h"
#include "app/frame_draw.h"
#include "app/hud_font.h"
#include "app/overlay.h"
#include "app/window.h"
#include "render/banner.h"
#include "tests/app/controller_support.h"
#include "tests/render/gl_window.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Printed {
    float r, g, b, x, y;
    std::string text;
};
std::vector<Printed> printed;
float currentColour[3] = {0, 0, 0};
const HudDrawing kRecordingHud = {
    [](float r, float g, float b) {
        currentColour[0] = r, currentColour[1] = g, currentColour[2] = b;
    },
    [](float x, float y, const char* text) {
        printed.push_back({currentColour[0], currentColour[1], currentColour[2], x, y, text});
    }};

unsigned testTick = 0;
unsigned testClock() {
    return testTick;
}

// The program's help screen: the left column at x 10 (the menu from y 30),
// the right column at 300 + hudShiftX.
const char* const kMenuTexts[6] = {
    "Base algorythm       --  0 ", "6 - cross algorythm  --  1 ", "2x2x2 algorythm      --  2 ",
    "Half-solve algoryth  --  3 ", "'X' - algorythm      --  4 ", "Quick algorythm      --  5 ",
};
const char* const kRightTexts[9] = {
    "To rotate the scena            -- 'o','l','v','b' ",
    "To rotate the cube             -- 'w','s','a','d' ",
    "Auto desolving                 -- 'r' ",
    "Pause                          -- 'p' ",
    "To rotate the cube face to you -- 'u' ",
    "Select the face to solve       -- 'KeyUP'",
    "                               -- 'KeyDOWN'",
    "                               -- 'KeyLEFT'",
    "                               -- 'KeyRIGHT'",
};

} // namespace

// The 21 lines in both window modes for every running entry: texts, places
// and colours, the running entry's menu line red, the clock row at y 110,
// the credit 30 pixels above the window's height.
TEST(HudLines, TextsPlacesAndColoursInBothModes) {
    const struct {
        float shiftX;
        int height;
        unsigned tick;
        float fps;
        const char *fpsText, *h, *m, *s;
    } modes[] = {{350.0f, 768, 1000 + 3723 * 1000 + 999, 59.96f, "60.0", "1", "2", "3"},
                 {0.0f, 480, 1000 + 3599 * 1000, 0.4f, "0.4", "0", "59", "59"}};
    hudDrawing = kRecordingHud;
    frameTicks = testClock;
    startTick = 1000.0f;
    const float savedShift = hudShiftX;
    const int savedHeight = windowHeight;
    for (const auto& mode : modes) {
        hudShiftX = mode.shiftX, windowHeight = mode.height;
        testTick = mode.tick;
        fps = mode.fps;
        const float right = 300.0f + mode.shiftX;
        for (int entry = -1; entry <= 5; ++entry) {
            std::vector<Printed> want = {
                {1, 1, 1, 10, 10, std::string("FPS     : ") + mode.fpsText},
                {0, 1, 0, 10, 20, "To select the algorythm press: "}};
            for (int i = 0; i <= 5; ++i)
                want.push_back({1, entry == i ? 0.f : 1.f, entry == i ? 0.f : 1.f, 10,
                                30.0f + 10 * i, kMenuTexts[i]});
            for (int i = 0; i < 9; ++i)
                want.push_back({1, 1, 1, right, 10.0f + 10 * i, kRightTexts[i]});
            want.push_back({1, 1, 1, right, 110, std::string("Time of working up  -- ") + mode.h});
            want.push_back({1, 1, 1, right + 180, 110, std::string(": ") + mode.m});
            want.push_back({1, 1, 1, right + 210, 110, std::string(": ") + mode.s});
            want.push_back({1, 0, 0, 10, mode.height - 30.0f, "Created by : Velmostin K.T."});
            printed.clear();
            selectedAlgorithm = entry;
            drawHudLines();
            ASSERT_EQ(printed.size(), want.size());
            for (size_t i = 0; i < want.size(); ++i) {
                const Printed &a = printed[i], &b = want[i];
                EXPECT_TRUE(a.text == b.text && a.x == b.x && a.y == b.y && a.r == b.r &&
                            a.g == b.g && a.b == b.b)
                    << "height " << mode.height << " entry " << entry << " line " << i + 1 << ": '"
                    << a.text << "' at " << a.x << "," << a.y;
            }
        }
    }
    hudShiftX = savedShift, windowHeight = savedHeight;
    selectedAlgorithm = -1;
    hudDrawing = kGlHudDrawing;
}

// ---- whole frames in a real GL context ----------------------------------

namespace {

constexpr int kW = 640, kH = 480;

bool isRed(const unsigned char* p) {
    return p[0] > 200 && p[1] < 60 && p[2] < 60;
}
bool isGreen(const unsigned char* p) {
    return p[1] > 200 && p[0] < 60 && p[2] < 60;
}
bool isBlue(const unsigned char* p) {
    return p[2] > 200 && p[0] < 60 && p[1] < 60;
}
bool isWhite(const unsigned char* p) {
    return p[0] > 200 && p[1] > 200 && p[2] > 200;
}

// Pixels passing `test` between the baseline and the cap height of the text
// row whose baseline is at overlay y (GL rows count from the bottom).
int countInRow(const Picture& pic, float overlayY, int x0, int x1,
               bool (*test)(const unsigned char*)) {
    const int base = kH - int(overlayY);
    int n = 0;
    for (int y = base + 1; y <= base + 6 && y < kH; ++y)
        for (int x = x0; x < x1 && x < kW; ++x) n += test(pic.at(x, y));
    return n;
}

} // namespace

class FrameDraw : public GlSuite<kW, kH> {
  protected:
    static void SetUpTestSuite() {
        GlSuite::SetUpTestSuite();
        if (gl.context == nullptr) return;
        setupGL();
        if (hudFontBase == 0) buildHudFont();
    }
    static void TearDownTestSuite() {
        freeHudFont();
        GlSuite::TearDownTestSuite();
    }
    void SetUp() override {
        GlSuite::SetUp();
        if (HasFatalFailure()) return;
        hudShiftX = hudShiftY = 0.0f;
        windowHeight = kH;
        startProgram();
        controllerDrawing = kRenderDrawing;
        hudDrawing = kGlHudDrawing;
        frameTicks = testClock;
        testTick = 5000;
        startTick = 0.0f;
        fps = 0.0f;
        fpsFrames = 0;
        fpsLastTick = 5000; // no measurement during the test: the fps line stays put
        resizeView(kW, kH);
    }
    void TearDown() override { controllerDrawing = kRecordingDrawing; }
    static Picture frame() {
        drawFrame();
        return readPicture(gl);
    }
};

TEST_F(FrameDraw, TheMenuLineOfTheRunningEntryTurnsRed) {
    TempWorkDir dir;
    randomMix();
    playMixWhole();
    const int entry = 3;
    press(VK_KEY_0 + entry);
    frame(); // computes
    release(VK_KEY_0 + entry);
    ASSERT_EQ(playbackPending, 1);
    const Picture pic = frame(); // plays the first move
    ASSERT_EQ(selectedAlgorithm, entry);
    for (int i = 0; i <= 5; ++i) {
        SCOPED_TRACE("menu line of entry " + std::to_string(i));
        const float y = 30.0f + 10 * i;
        EXPECT_EQ(countInRow(pic, y, 0, 300, isRed) > 50, i == entry);
        EXPECT_EQ(countInRow(pic, y, 0, 300, isWhite) > 50, i != entry);
        EXPECT_EQ(countInRow(pic, y, 0, 300, i == entry ? isWhite : isRed), 0);
    }
    // Green help line, white right column, red credit.
    EXPECT_GT(countInRow(pic, 20, 0, 300, isGreen), 50);
    EXPECT_GT(countInRow(pic, 10, 300, kW, isWhite), 50);
    EXPECT_GT(countInRow(pic, kH - 30, 0, 300, isRed), 50);
    // After the playback (run headless, only the last frame drawn) every menu
    // line is white again.
    controllerDrawing = kRecordingDrawing;
    for (int frames = 0; playbackPending && frames < 40000; ++frames) ::frame();
    controllerDrawing = kRenderDrawing;
    EXPECT_TRUE(isSolved());
    EXPECT_EQ(countInRow(frame(), 30.0f + 10 * entry, 0, 300, isRed), 0);
}

TEST_F(FrameDraw, TheBannerShowsWhilePausedAndBlinks) {
    // The light is placed after the cube is drawn, so the very first frame of
    // a context is lit from the default position; compare with a later one.
    frame();
    const Picture running = frame();
    tap('P');
    ASSERT_EQ(paused, 1);
    // The banner reads frameCycle after the controller advanced it: 18 shows
    // all three copies, 3 none.
    frameCycle = 17;
    const Picture all = frame();
    frameCycle = 2;
    const Picture none = frame();
    // The word lies at pen (200, 300) .. (450, 350) with 2-pixel offsets;
    // outside that the paused frame is the running one, and a paused frame
    // without a copy (drawn after one with all three) is the running frame
    // everywhere: the banner's wide pen does not thicken the floor grid.
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
