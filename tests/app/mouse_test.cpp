// The mouse and the cuber's keys through readMouse, readKeys and whole frames.
#include "model/cube.h"
#include "model/cube_text.h"
#include "model/layers.h"
#include "tests/app/controller_support.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

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
void ctrl(int key) {
    press(VK_CONTROL);
    hit(key);
    release(VK_CONTROL);
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

// Window position of sticker (face, row, col)'s centre, `turn` shown.
void stickerOnScreen(int face, int row, int col, const TurnShown& turn, double* x, double* y) {
    int cubie[3], side = 0;
    faceletCubie(face, row, col, cubie, &side);
    const SideDirection& d = kSideDirection[side];
    const View v = makeView(sessionLook(), {sceneYaw, scenePitch, viewYaw, viewPitch}, turn,
                            kTestWidth, kTestHeight);
    double p[3];
    for (int a = 0; a < 3; ++a)
        p[a] = cubie[a] - kCubieCentre + (a == d.axis ? d.sign * v.reach : 0);
    ASSERT_TRUE(projectPoint(v, v.layer, p, x, y));
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
        SCOPED_TRACE("button " + std::to_string(c.button) + " by " + std::to_string(c.dx) + ", " +
                     std::to_string(c.dy));
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

// A sticker dragged with `layer` 5 degrees a frame up to `angle`, let go: the
// layer follows the finger (not within 6 pixels); past 45 degrees one manual
// turn Ctrl+Z undoes, else nothing. 1 turned, 0 back, -1 seen too end on.
int dragSticker(int face, int row, int col, int layer, int direction, int angle) {
    const CubeCopy start = CubeCopy::take();
    double x, y, x10, y10;
    stickerOnScreen(face, row, col, {layer, direction, 0}, &x, &y);
    stickerOnScreen(face, row, col, {layer, direction, 10}, &x10, &y10);
    if (std::hypot(x10 - x, y10 - y) < 10) return -1;
    mouse(kMousePress, 1, x, y);
    const double x0 = std::round(x), y0 = std::round(y);
    for (int a = 5; a <= angle; a += 5) {
        stickerOnScreen(face, row, col, {layer, direction, a}, &x, &y);
        mouse(kMouseMove, 0, x, y);
        frame();
        const CubeDraw d = recorded.cubes.at(0);
        const bool near = std::hypot(std::round(x) - x0, std::round(y) - y0) < 6;
        EXPECT_EQ(d.angle == 0 ? 0 : d.layer, near ? 0 : layer) << "at " << a;
        if (near) continue;
        EXPECT_EQ(d.direction, direction) << "at " << a;
        EXPECT_NEAR(d.angle, a, 2) << "at " << a;
    }
    mouse(kMouseRelease, 1, x, y);
    settle();
    const int quarters = angle > 45 ? 1 : 0;
    const Move move = {layer, direction};
    EXPECT_EQ(historyTop, quarters);
    EXPECT_TRUE(quarters == 0 ||
                (MoveHistory[1].layer == layer && MoveHistory[1].direction == direction));
    EXPECT_TRUE(CubeCopy::take() == turned(start, &move, quarters));
    ctrl('Z');
    settle();
    EXPECT_TRUE(CubeCopy::take() == start);
    return quarters;
}

// Faces 1, 4 (and 5 in the clear look): each layer, both ways, 30 and 70 degrees.
TEST(Mouse, ADraggedStickerTurnsItsLayerTheFingersWayOrGoesBack) {
    TempWorkDir dir;
    int results[3] = {0, 0, 0}; // end on, back, turned
    for (const Look* look : {&kPlainLook, &kClearLook})
        for (const int face : {1, 4, 5})
            for (const int sticker : {0, 4, 8})
                for (const int across : {1, 2})
                    for (const int direction : {+1, -1})
                        for (const int angle : {30, 70}) {
                            if (face == 5 && look == &kPlainLook) continue; // a sliver
                            const int row = 1 + sticker / 3, col = 1 + sticker % 3;
                            SCOPED_TRACE(testing::Message()
                                         << (look == &kClearLook ? "clear" : "plain") << " face "
                                         << face << " row " << row << " col " << col << " axis +"
                                         << across << " direction " << direction << " angle "
                                         << angle);
                            startProgram();
                            frameSession().look = look;
                            cubetest::apply({{3, -1}, {7, 1}, {5, 1}}); // any cube
                            frame();
                            int cubie[3], side = 0;
                            faceletCubie(face, row, col, cubie, &side);
                            const int axis = (kSideDirection[side].axis + across) % 3;
                            const int layer = layerAt(axis, cubie[axis]);
                            ++results[1 + dragSticker(face, row, col, layer, direction, angle)];
                        }
    EXPECT_EQ(results[1], results[2]);
    EXPECT_EQ(results[2] + results[0] / 2, (2 + 3) * 3 * 2 * 2);
    EXPECT_LT(results[0], results[2] / 2);
    std::printf("drags turned: %d, gone back: %d, seen end on: %d\n", results[2], results[1],
                results[0]);
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
            std::string byKey, byClick;
            for (const bool clicked : {false, true}) {
                startProgram();
                frame();
                if (turning) tap(VK_UP);
                if (clicked) {
                    click(20, 30 + 10 * entry - 4);
                } else {
                    keyDown[VK_KEY_0 + entry] = keyPressed[VK_KEY_0 + entry] = 1;
                    readKeys();
                    keyDown[VK_KEY_0 + entry] = 0;
                }
                (clicked ? byClick : byKey) = asked();
            }
            EXPECT_EQ(byClick, byKey);
            EXPECT_EQ(byKey,
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
