// The mouse and the cuber's keys through readMouse, readKeys and whole frames.
#include "model/cube.h"
#include "model/cube_text.h"
#include "tests/app/controller_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

constexpr int kTab = 0x09;

void mouse(MouseAction action, int button, double x, double y, int wheel = 0) {
    readMouse({action, button, int(std::lround(x)), int(std::lround(y)), wheel});
}
void click(double x, double y) {
    mouse(kMousePress, 1, x, y);
    mouse(kMouseRelease, 1, x, y);
}

// A press as the window hands it over: down and, one frame later, up.
void hit(int key) {
    keyDown[key] = keyPressed[key] = 1;
    frame();
    keyDown[key] = 0;
}

bool moving() {
    const FrameSession& s = frameSession();
    return turnAngle != 0 || turnRequest != 0 || mixMode != 0 || solveState.solveRequested != 0 ||
           solveState.playbackPending != 0 || s.dragShown.layer != 0 || s.queuedTurn.layer != 0 ||
           timelineWaiting(s.player, s.timeline);
}
void settle() {
    for (int f = 0; f < 30000 && moving(); ++f) frame();
    for (int f = 0; f < 5; ++f) frame(); // the key latch frees again
}

// A place on the background: no sticker, no menu line.
constexpr double kBackgroundX = 900, kBackgroundY = 700;

} // namespace

TEST(Mouse, DragsOnTheBackgroundTurnTheCubeOrTheScene) {
    const struct {
        int button, dx, dy;
        int viewYaw, viewPitch;
        float sceneYaw, scenePitch;
    } cases[] = {
        {1, 40, 0, 20, 0, 0, 0},     {1, 0, -30, 0, -15, 0, 0}, {1, 21, 9, 10, 4, 0, 0},
        {1, -64, 64, -32, 32, 0, 0}, {3, 40, 0, 0, 0, 20, 0},   {3, -30, 60, 0, 0, -15, 30},
        {3, 0, -60, 0, 0, 0, 0},     {3, 0, 400, 0, 0, 0, 90},  {2, 50, 50, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "button " << c.button << " by " << c.dx << ", " << c.dy);
        startProgram();
        frame();
        const CubeCopy start = CubeCopy::take();
        mouse(kMousePress, c.button, kBackgroundX, kBackgroundY);
        for (int step = 1; step <= 7; ++step) { // in uneven steps: nothing lost to rounding
            mouse(kMouseMove, 0, kBackgroundX + c.dx * step / 7, kBackgroundY + c.dy * step / 7);
            frame();
        }
        mouse(kMouseRelease, c.button, kBackgroundX + c.dx, kBackgroundY + c.dy);
        settle();
        EXPECT_EQ(viewYaw, c.viewYaw);
        EXPECT_EQ(viewPitch, c.viewPitch);
        EXPECT_EQ(sceneYaw, c.sceneYaw);
        EXPECT_EQ(scenePitch, c.scenePitch);
        EXPECT_TRUE(CubeCopy::take() == start);
        EXPECT_EQ(historyTop, 0);
    }
}

TEST(Mouse, TheWheelMovesTheCubeWithinItsLimitsAndPicksColoursInTheEditor) {
    startProgram();
    frame();
    const double distance = kPlainLook.camera.distance;
    for (int turn = 1; turn <= 30; ++turn) {
        mouse(kMouseWheel, 0, 500, 400, +1);
        ASSERT_EQ(sessionLook().camera.distance, distance - std::min<double>(turn, kNearest));
    }
    for (int turn = 0; turn < 40; ++turn) mouse(kMouseWheel, 0, 500, 400, -1);
    EXPECT_EQ(frameSession().nearer, kFarthest);
    ASSERT_EQ(runCommand({kCommandEditorOpen, 0, 0}), 1);
    const int colour = frameSession().editor.colour;
    mouse(kMouseWheel, 0, 500, 400, -1);
    EXPECT_EQ(frameSession().editor.colour, (colour + 1) % 6);
    EXPECT_EQ(frameSession().nearer, kFarthest);
}

// A click on menu line N is digit N, idle or mid-turn; beside the lines, nothing.
TEST(Mouse, AClickOnAMenuLineIsItsDigit) {
    const auto asked = [] {
        return std::to_string(selectedAlgorithm) + " " + std::to_string(solveState.solveRequested) +
               " " + std::to_string(pendingDigit);
    };
    for (int entry = 0; entry < kMenuSize; ++entry)
        for (const bool turning : {false, true}) {
            SCOPED_TRACE("entry " + std::to_string(entry) + (turning ? ", turning" : ""));
            startProgram();
            frame();
            if (turning) tap(VK_UP);
            click(20, 30 + 10 * entry - 4);
            // As the digit key: run now, or wait for the turn in progress.
            EXPECT_EQ(asked(),
                      turning ? "-1 0 " + std::to_string(entry) : std::to_string(entry) + " 1 -1");
        }
    startProgram();
    frame();
    for (const double x : {400.0, 900.0}) click(x, 45);
    click(20, 100);
    EXPECT_EQ(asked(), "-1 0 -1");
}

// With Tab on, each notation letter (Shift: inverse) is its turn; Tab again gives the keys back.
TEST(CuberKeys, EachLetterTurnsItsLayerAndTabGivesTheKeysBack) {
    for (const char letter : std::string("URFDLBMES"))
        for (const bool shift : {false, true}) {
            const std::string notation = std::string(1, letter) + (shift ? "'" : "");
            SCOPED_TRACE(notation);
            startProgram();
            cubetest::apply({{3, -1}, {7, 1}, {5, 1}});
            frame();
            const CubeCopy start = CubeCopy::take();
            Move expected[1];
            char message[kTextMessageSize];
            ASSERT_EQ(parseMoves(notation.c_str(), expected, 1, message, sizeof message), 1);
            hit(kTab);
            ASSERT_EQ(frameSession().cuberKeys, 1);
            if (shift) press(VK_SHIFT);
            hit(letter);
            release(VK_SHIFT);
            settle();
            EXPECT_TRUE(CubeCopy::take() == turned(start, expected, 1));
            EXPECT_EQ(historyTop, 1);
            // D, L, B and S turn the view, E opens the editor, R mixes: not now.
            EXPECT_EQ(mixMode + frameSession().editor.open + viewYaw + viewPitch, 0);
            EXPECT_EQ(sceneYaw + scenePitch, 0.0f);
            hit(kTab);
            EXPECT_EQ(frameSession().cuberKeys, 0);
        }
    startProgram();
    hit(kTab);
    hit(kTab);
    hit('R');
    EXPECT_NE(mixMode, 0);
}
