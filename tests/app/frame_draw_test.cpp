// The frame: the HUD lines (texts, places, colours) through a recording
// stand-in, the frame-rate count and the clock with a test clock, and whole
// frames drawn into a real GL context and read back.
#include "app/frame.h"
#include "app/frame_draw.h"
#include "app/hud_font.h"
#include "app/overlay.h"
#include "app/window.h"
#include "render/banner.h"
#include "tests/app/controller_support.h"
#include "tests/render/gl_test_window.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

struct Printed {
    float r, g, b, x, y;
    std::string text;
};
std::vector<Printed> printed;
float currentColour[3] = {0, 0, 0};
void recordColour(float r, float g, float b) {
    currentColour[0] = r, currentColour[1] = g, currentColour[2] = b;
}
void recordPrint(float x, float y, const char* text) {
    printed.push_back({currentColour[0], currentColour[1], currentColour[2], x, y, text});
}
const HudDrawing kRecordingHud = {recordColour, recordPrint};

unsigned testTick = 0;
unsigned testClock() {
    return testTick;
}

// The lines as the program's help screen shows them, "%s" given "".
const char* const kLeftTexts[8] = {
    nullptr,
    "To select the algorythm press: ",
    "Base algorythm       --  0 ",
    "6 - cross algorythm  --  1 ",
    "2x2x2 algorythm      --  2 ",
    "Half-solve algoryth  --  3 ",
    "'X' - algorythm      --  4 ",
    "Quick algorythm      --  5 ",
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

// What the 21 lines must be for a given setting, written out from the
// layout: left column at x 10, right column at 300 + hudShiftX, clock row at
// y 110, credit 30 pixels above the requested window height.
std::vector<Printed> expectedLines(float shiftX, int height, int entry, const char* fpsText, int h,
                                   int m, int s) {
    const float right = 300.0f + shiftX;
    std::vector<Printed> e;
    e.push_back({1, 1, 1, 10, 10, std::string("FPS     : ") + fpsText});
    e.push_back({0, 1, 0, 10, 20, kLeftTexts[1]});
    for (int i = 0; i <= 5; ++i) {
        const float g = entry == i ? 0.0f : 1.0f;
        e.push_back({1, g, g, 10, 30.0f + 10 * i, kLeftTexts[2 + i]});
    }
    for (int i = 0; i < 9; ++i) e.push_back({1, 1, 1, right, 10.0f + 10 * i, kRightTexts[i]});
    e.push_back({1, 1, 1, right, 110, "Time of working up  -- " + std::to_string(h)});
    e.push_back({1, 1, 1, right + 180, 110, ": " + std::to_string(m)});
    e.push_back({1, 1, 1, right + 210, 110, ": " + std::to_string(s)});
    e.push_back({1, 0, 0, 10, height - 30.0f, "Created by : Velmostin K.T."});
    return e;
}

void expectLines(const std::vector<Printed>& want) {
    ASSERT_EQ(printed.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE("line " + std::to_string(i + 1));
        EXPECT_EQ(printed[i].text, want[i].text);
        EXPECT_FLOAT_EQ(printed[i].x, want[i].x);
        EXPECT_FLOAT_EQ(printed[i].y, want[i].y);
        EXPECT_FLOAT_EQ(printed[i].r, want[i].r);
        EXPECT_FLOAT_EQ(printed[i].g, want[i].g);
        EXPECT_FLOAT_EQ(printed[i].b, want[i].b);
    }
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

class HudLines : public ::testing::Test {
  protected:
    void SetUp() override {
        printed.clear();
        hudDrawing = kRecordingHud;
        frameTicks = testClock;
        startTick = 1000.0f;
        selectedAlgorithm = -1;
        fps = 0.0f;
    }
    void TearDown() override { hudDrawing = kGlHudDrawing; }
};

TEST_F(HudLines, TheBigWindowShiftsTheRightColumnAndTheClock) {
    HudSettings mode(350.0f, 200.0f, 768);
    testTick = 1000 + (1 * 3600 + 2 * 60 + 3) * 1000 + 999;
    fps = 59.96f;
    drawHudLines();
    expectLines(expectedLines(350.0f, 768, -1, "60.0", 1, 2, 3));
    // The right column at 650, the clock pieces at 650, 830 and 860, the
    // credit at 738.
    EXPECT_FLOAT_EQ(printed[8].x, 650.0f);
    EXPECT_FLOAT_EQ(printed[18].x, 830.0f);
    EXPECT_FLOAT_EQ(printed[19].x, 860.0f);
    EXPECT_FLOAT_EQ(printed[20].y, 738.0f);
}

TEST_F(HudLines, TheSoftModeKeepsTheLayoutUnshifted) {
    HudSettings mode(0.0f, 0.0f, 480);
    testTick = 1000 + 59 * 60 * 1000 + 59 * 1000;
    fps = 0.4f;
    drawHudLines();
    expectLines(expectedLines(0.0f, 480, -1, "0.4", 0, 59, 59));
    EXPECT_FLOAT_EQ(printed[17].x, 300.0f);
    EXPECT_FLOAT_EQ(printed[18].x, 480.0f);
    EXPECT_FLOAT_EQ(printed[19].x, 510.0f);
    EXPECT_FLOAT_EQ(printed[20].y, 450.0f);
}

TEST_F(HudLines, OnlyTheRunningEntryIsRed) {
    HudSettings mode(0.0f, 0.0f, 480);
    testTick = 1000;
    for (int entry = -1; entry <= 5; ++entry) {
        SCOPED_TRACE("entry " + std::to_string(entry));
        printed.clear();
        selectedAlgorithm = entry;
        drawHudLines();
        expectLines(expectedLines(0.0f, 480, entry, "0.0", 0, 0, 0));
    }
    selectedAlgorithm = -1;
}

TEST(FrameRate, FirstMeasuredAtOnceThenOncePerSecond) {
    frameTicks = testClock;
    fps = 0.0f;
    fpsFrames = 0;
    fpsLastTick = 0;
    // The first frame is long after tick 0: a tiny rate at once.
    testTick = 2500;
    countFrames();
    EXPECT_FLOAT_EQ(fps, 1000.0f / 2500.0f);
    // Then 100 frames 10 ms apart: measured when the second is full.
    for (int i = 1; i <= 99; ++i) {
        testTick = 2500 + 10 * i;
        countFrames();
        ASSERT_FLOAT_EQ(fps, 0.4f) << "frame " << i;
    }
    testTick = 3500;
    countFrames();
    EXPECT_FLOAT_EQ(fps, 100.0f);
    // 30 frames over 1.5 s.
    for (int i = 1; i <= 30; ++i) {
        testTick = 3500 + 50 * i;
        countFrames();
    }
    EXPECT_FLOAT_EQ(fps, 20.0f);
}

TEST(Clock, SplitsMillisecondsIntoHoursMinutesSeconds) {
    const ClockReading a = clockReading(3723000);
    EXPECT_EQ(a.hours, 1);
    EXPECT_EQ(a.minutes, 2);
    EXPECT_EQ(a.seconds, 3);
    const ClockReading b = clockReading(25 * 3600000 + 61 * 1000 + 999);
    EXPECT_EQ(b.hours, 25);
    EXPECT_EQ(b.minutes, 1);
    EXPECT_EQ(b.seconds, 1);
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

// Pixels passing `test` in the text row whose baseline is at overlay y (GL
// rows count from the bottom).
int countInRow(const Picture& pic, float overlayY, int x0, int x1,
               bool (*test)(const unsigned char*)) {
    const int base = kH - static_cast<int>(overlayY);
    int n = 0;
    // Between the baseline and the cap height, clear of the lines above and below.
    for (int y = base + 1; y <= base + 6 && y < kH; ++y)
        for (int x = x0; x < x1 && x < kW; ++x)
            if (test(pic.at(x, y))) ++n;
    return n;
}

} // namespace

class FrameDraw : public ::testing::Test {
  protected:
    static GlTestWindow win;
    static void SetUpTestSuite() {
        if (!openGlTestWindow(win, kW, kH)) return;
        setupGL();
        if (hudFontBase == 0) buildHudFont();
    }
    static void TearDownTestSuite() {
        freeHudFont();
        closeGlTestWindow(win);
    }
    HudSettings* mode = nullptr;
    void SetUp() override {
        ASSERT_NE(win.context, nullptr) << "no GL context: " << SDL_GetError();
        mode = new HudSettings(0.0f, 0.0f, kH);
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
    void TearDown() override {
        delete mode;
        controllerDrawing = kRecordingDrawing;
    }
    static Picture frame() {
        drawFrame();
        return readPicture(win);
    }
};
GlTestWindow FrameDraw::win;

TEST_F(FrameDraw, TheHudIsTheLinesPrintedAloneAtTheirPlaces) {
    const Picture pic = frame();
    // The same lines printed on their own at the places the layout gives.
    clearForTest();
    beginTextOverlay(kW, kH);
    for (const Printed& line : expectedLines(0.0f, kH, -1, "0.0", 0, 0, 5)) {
        glColor3f(line.r, line.g, line.b);
        hudPrint(line.x, line.y, "%s", line.text.c_str());
    }
    endOverlay();
    const Picture ref = readPicture(win);
    // The top rows hold nothing but the text: equal pixel for pixel.
    int lit = 0, differing = 0;
    for (int y = kH - 116; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            if (ref.lit(x, y)) ++lit;
            for (int c = 0; c < 3; ++c) differing += pic.at(x, y)[c] != ref.at(x, y)[c];
        }
    EXPECT_GT(lit, 2000);
    EXPECT_EQ(differing, 0);
    // The credit line lies over the scene: wherever it has a pixel, the frame
    // has the same one.
    int creditLit = 0, creditDiffering = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < kW; ++x)
            if (ref.lit(x, y)) {
                ++creditLit;
                for (int c = 0; c < 3; ++c) creditDiffering += pic.at(x, y)[c] != ref.at(x, y)[c];
            }
    EXPECT_GT(creditLit, 100);
    EXPECT_EQ(creditDiffering, 0);
}

TEST_F(FrameDraw, TheMenuLineOfTheRunningEntryTurnsRed) {
    TempWorkDir dir;
    randomMix();
    while (historyTop <= mixStart + N) {
        turnLayer(MoveHistory[historyTop].layer, MoveHistory[historyTop].direction);
        ++historyTop;
    }
    historyTop = mixStart + N;
    const int entry = entryAvailable(3) ? 3 : 0;
    press(VK_KEY_0 + entry);
    frame(); // computes
    release(VK_KEY_0 + entry);
    ASSERT_EQ(playbackPending, 1);
    const Picture pic = frame(); // plays the first move
    ASSERT_EQ(selectedAlgorithm, entry);
    for (int i = 0; i <= 5; ++i) {
        SCOPED_TRACE("menu line of entry " + std::to_string(i));
        const float y = 30.0f + 10 * i;
        if (i == entry) {
            EXPECT_GT(countInRow(pic, y, 0, 300, isRed), 50);
            EXPECT_EQ(countInRow(pic, y, 0, 300, isWhite), 0);
        } else {
            EXPECT_EQ(countInRow(pic, y, 0, 300, isRed), 0);
            EXPECT_GT(countInRow(pic, y, 0, 300, isWhite), 50);
        }
    }
    // Green help line, white right column, red credit.
    EXPECT_GT(countInRow(pic, 20, 0, 300, isGreen), 50);
    EXPECT_GT(countInRow(pic, 10, 300, kW, isWhite), 50);
    EXPECT_GT(countInRow(pic, kH - 30, 0, 300, isRed), 50);
    // After the playback every menu line is white again (the playback's
    // frames run headless, only the last is drawn).
    controllerDrawing = kRecordingDrawing;
    for (int frames = 0; playbackPending && frames < 40000; ++frames) ::frame();
    controllerDrawing = kRenderDrawing;
    EXPECT_TRUE(isSolved());
    const Picture after = frame();
    EXPECT_EQ(countInRow(after, 30.0f + 10 * entry, 0, 300, isRed), 0);
}

TEST_F(FrameDraw, TheBannerShowsWhilePausedAndBlinks) {
    // The light is placed after the cube is drawn, so the very first frame
    // of a context is lit from the default position; compare with a later one.
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
    frameCycle = 5; // 6: blue only
    const Picture blueOnly = frame();
    // The word lies at pen (200, 300) .. (450, 350) with 2-pixel offsets.
    int red = 0, green = 0, blue = 0, changedNone = 0, redOrGreenInBlue = 0, blueInBlue = 0;
    for (int y = 280; y < 365; ++y)
        for (int x = 180; x < 470; ++x) {
            red += isRed(all.at(x, y));
            green += isGreen(all.at(x, y));
            blue += isBlue(all.at(x, y));
            for (int c = 0; c < 3; ++c) changedNone += none.at(x, y)[c] != running.at(x, y)[c];
            redOrGreenInBlue += isRed(blueOnly.at(x, y)) || isGreen(blueOnly.at(x, y));
            blueInBlue += isBlue(blueOnly.at(x, y));
        }
    EXPECT_GT(red, 200);
    EXPECT_GT(green, 100);
    EXPECT_GT(blue, 100);
    EXPECT_EQ(changedNone, 0);
    EXPECT_EQ(redOrGreenInBlue, 0);
    EXPECT_GT(blueInBlue, 500);
    // Outside the banner the paused frame is the running one.
    int changedElsewhere = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            if (y < 280 || y >= 365 || x < 180 || x >= 470)
                for (int c = 0; c < 3; ++c)
                    changedElsewhere += all.at(x, y)[c] != running.at(x, y)[c];
    EXPECT_EQ(changedElsewhere, 0);
}

TEST_F(FrameDraw, TheCubeTurnsOnScreenAndTheStackIsLeftAsFound) {
    const Picture rest = frame();
    // The cube stands in the middle of the picture.
    int cubePixels = 0;
    for (int y = kH / 2 - 60; y < kH / 2 + 60; ++y)
        for (int x = kW / 2 - 60; x < kW / 2 + 60; ++x) cubePixels += rest.lit(x, y);
    EXPECT_GT(cubePixels, 3000);
    press(VK_UP);
    frame(); // layer 1 at 1 degree
    release(VK_UP);
    const Picture half = frame(); // at 31
    int changed = 0;
    for (size_t i = 0; i < rest.rgb.size(); ++i) changed += half.rgb[i] != rest.rgb[i];
    EXPECT_GT(changed, 1000);
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

TEST_F(FrameDraw, AResizeBetweenFramesKeepsItsPerspective) {
    frame();
    resizeView(800, 400);
    frame();
    GLdouble projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    // gluPerspective(45, 2, ...): y scale 1/tan(22.5), x scale half of it.
    const double f = 1.0 / std::tan(22.5 * 3.14159265358979323846 / 180.0);
    EXPECT_NEAR(projection[5], f, 1e-6);
    EXPECT_NEAR(projection[0], f / 2.0, 1e-6);
    EXPECT_EQ(viewportWidth, 800);
    resizeView(kW, kH);
}
