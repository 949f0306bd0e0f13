// The frame: the HUD lines (texts, places, colours) through a recording
// stand-in, the frame-rate count with a test clock, and whole frames drawn
// into a real GL context and read back.
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

// The lines as the program's help screen shows them.
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

// The 21 lines for a setting: left column at x 10, right column at 300 +
// hudShiftX, clock row at y 110, credit 30 pixels above the window height;
// the running entry's menu line red, the others white.
std::vector<Printed> expectedLines(float shiftX, int height, int entry, const char* fpsText, int h,
                                   int m, int s) {
    const float right = 300.0f + shiftX;
    std::vector<Printed> e;
    e.push_back({1, 1, 1, 10, 10, std::string("FPS     : ") + fpsText});
    e.push_back({0, 1, 0, 10, 20, "To select the algorythm press: "});
    for (int i = 0; i <= 5; ++i) {
        const float g = entry == i ? 0.0f : 1.0f;
        e.push_back({1, g, g, 10, 30.0f + 10.0f * static_cast<float>(i), kMenuTexts[i]});
    }
    for (int i = 0; i < 9; ++i)
        e.push_back({1, 1, 1, right, 10.0f + 10.0f * static_cast<float>(i), kRightTexts[i]});
    e.push_back({1, 1, 1, right, 110, "Time of working up  -- " + std::to_string(h)});
    e.push_back({1, 1, 1, right + 180, 110, ": " + std::to_string(m)});
    e.push_back({1, 1, 1, right + 210, 110, ": " + std::to_string(s)});
    e.push_back({1, 0, 0, 10, static_cast<float>(height) - 30.0f, "Created by : Velmostin K.T."});
    return e;
}

struct HudSettings {
    float shiftX, shiftY;
    int height;
    HudSettings(float x, float y, int h)
        : shiftX(hudShiftX), shiftY(hudShiftY), height(windowHeight) {
        hudShiftX = x, hudShiftY = y, windowHeight = h;
    }
    ~HudSettings() { hudShiftX = shiftX, hudShiftY = shiftY, windowHeight = height; }
};

} // namespace

TEST(HudLines, TextsPlacesAndColoursInBothModesWithOnlyTheRunningEntryRed) {
    const struct {
        float shiftX;
        int height;
        unsigned tick;
        float fps;
        const char* fpsText;
        int h, m, s;
    } modes[] = {{350.0f, 768, 1000 + 3723 * 1000 + 999, 59.96f, "60.0", 1, 2, 3},
                 {0.0f, 480, 1000 + 3599 * 1000, 0.4f, "0.4", 0, 59, 59}};
    hudDrawing = kRecordingHud;
    frameTicks = testClock;
    startTick = 1000.0f;
    for (const auto& mode : modes) {
        HudSettings settings(mode.shiftX, 200.0f, mode.height);
        testTick = mode.tick;
        fps = mode.fps;
        for (int entry = -1; entry <= 5; ++entry) {
            SCOPED_TRACE("height " + std::to_string(mode.height) + " entry " +
                         std::to_string(entry));
            printed.clear();
            selectedAlgorithm = entry;
            drawHudLines();
            const std::vector<Printed> want = expectedLines(mode.shiftX, mode.height, entry,
                                                            mode.fpsText, mode.h, mode.m, mode.s);
            ASSERT_EQ(printed.size(), want.size());
            for (size_t i = 0; i < want.size(); ++i) {
                SCOPED_TRACE("line " + std::to_string(i + 1));
                EXPECT_EQ(printed[i].text, want[i].text);
                const float got[5] = {printed[i].x, printed[i].y, printed[i].r, printed[i].g,
                                      printed[i].b};
                const float wanted[5] = {want[i].x, want[i].y, want[i].r, want[i].g, want[i].b};
                for (int k = 0; k < 5; ++k) EXPECT_FLOAT_EQ(got[k], wanted[k]) << "value " << k;
            }
        }
    }
    selectedAlgorithm = -1;
    hudDrawing = kGlHudDrawing;
}

TEST(FrameRate, FirstMeasuredAtOnceThenOncePerSecond) {
    frameTicks = testClock;
    fps = 0.0f;
    fpsFrames = fpsLastTick = 0;
    testTick = 2500; // the first frame, long after tick 0: a tiny rate at once
    countFrames();
    EXPECT_FLOAT_EQ(fps, 1000.0f / 2500.0f);
    for (int i = 1; i <= 99; ++i) { // 100 frames 10 ms apart: measured when the second is full
        testTick = 2500 + 10 * i;
        countFrames();
        ASSERT_FLOAT_EQ(fps, 0.4f) << "frame " << i;
    }
    testTick = 3500;
    countFrames();
    EXPECT_FLOAT_EQ(fps, 100.0f);
    for (int i = 1; i <= 30; ++i) { // 30 frames over 1.5 s
        testTick = 3500 + 50 * i;
        countFrames();
    }
    EXPECT_FLOAT_EQ(fps, 20.0f);
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
    HudSettings mode{0.0f, 0.0f, kH};
    void SetUp() override {
        GlSuite::SetUp();
        if (HasFatalFailure()) return;
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

TEST_F(FrameDraw, TheHudIsTheLinesPrintedAloneAtTheirPlaces) {
    const Picture pic = frame();
    // The same lines printed on their own at the places the layout gives.
    clearToPixels(gl);
    beginTextOverlay(kW, kH);
    for (const Printed& line : expectedLines(0.0f, kH, -1, "0.0", 0, 0, 5)) {
        glColor3f(line.r, line.g, line.b);
        hudPrint(line.x, line.y, "%s", line.text.c_str());
    }
    endOverlay();
    const Picture ref = readPicture(gl);
    // The top rows hold nothing but the text: equal pixel for pixel. The
    // credit line lies over the scene: wherever it has a pixel, the frame
    // has the same one.
    int lit = 0, differing = 0, creditLit = 0, creditDiffering = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const bool top = y >= kH - 116, credit = y < 50 && ref.lit(x, y);
            if (!top && !credit) continue;
            (top ? lit : creditLit) += ref.lit(x, y);
            for (int c = 0; c < 3; ++c)
                (top ? differing : creditDiffering) += pic.at(x, y)[c] != ref.at(x, y)[c];
        }
    EXPECT_GT(lit, 2000);
    EXPECT_EQ(differing, 0);
    EXPECT_GT(creditLit, 100);
    EXPECT_EQ(creditDiffering, 0);
}

TEST_F(FrameDraw, TheMenuLineOfTheRunningEntryTurnsRed) {
    TempWorkDir dir;
    randomMix();
    playMixWhole();
    const int entry = 3;
    press(VK_KEY_0 + entry);
    frame(); // computes
    release(VK_KEY_0 + entry);
    ASSERT_EQ(solveState.playbackPending, 1);
    const Picture pic = frame(); // plays the first move
    ASSERT_EQ(selectedAlgorithm, entry);
    for (int i = 0; i <= 5; ++i) {
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
    // After the playback (run headless, only the last frame drawn) every menu
    // line is white again.
    controllerDrawing = kRecordingDrawing;
    for (int frames = 0; solveState.playbackPending && frames < 40000; ++frames) ::frame();
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

TEST_F(FrameDraw, TheCubeTurnsOnScreenAndTheStackIsLeftAsFound) {
    const Picture rest = frame();
    int cubePixels = 0; // the cube stands in the middle of the picture
    for (int y = kH / 2 - 60; y < kH / 2 + 60; ++y)
        for (int x = kW / 2 - 60; x < kW / 2 + 60; ++x) cubePixels += rest.lit(x, y);
    EXPECT_GT(cubePixels, 3000);
    press(VK_UP);
    frame(); // layer 1 at 1 degree
    release(VK_UP);
    EXPECT_GT(frame().differingPixels(rest), 300); // at 31
    frame();
    frame(); // at rest again, turned
    EXPECT_EQ(historyTop, 1);
    EXPECT_EQ(turnAngle, 0);
    GLint projectionDepth = 0, modelviewDepth = 0;
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &projectionDepth);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &modelviewDepth);
    EXPECT_EQ(projectionDepth, 1);
    EXPECT_EQ(modelviewDepth, 1);
}
