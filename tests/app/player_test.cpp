// The player headless: speeds, undo and redo, the help's keys, the strip's timeline.
#include "tests/app/controller_support.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

const Timeline& timeline() {
    return frameSession().timeline;
}
const Player& player() {
    return frameSession().player;
}

// Frames until the player has nothing left to do (at most `limit`).
void settle(int limit = 20000) {
    framesWhile(
        [] {
            return turnAngle != 0 || player().stepping != 0 || player().seek != 0 || mixMode != 0 ||
                   solveState.solveRequested != 0 ||
                   (!paused && timeline().position < timelineCount(timeline()));
        },
        limit);
    frame();
}

void tapKey(int key) {
    tap(key);
    for (int f = 0; f < 4; ++f) frame(); // the latch frees again
}

void mix() {
    tapKey('R');
    settle();
}

// Quick (key 5) solves whatever the history describes.
void quickSolves() {
    tap(VK_KEY_0 + 5);
    if (paused) tapKey(' ');
    framesWhile([] { return selectedAlgorithm == 5; }, 20000);
    EXPECT_TRUE(isSolved());
}

} // namespace

// Each speed: a turn takes its frames, goes onto the cube once and turns on smoothly.
TEST(Player, EverySpeedTurnsOnceInItsFramesAndMovesOnSmoothly) {
    for (int speed = 0; speed < kPlayerSpeedCount; ++speed) {
        SCOPED_TRACE("speed " + std::to_string(speed));
        startProgram();
        for (int k = speed; k < kDefaultSpeed; ++k) tapKey(VK_OEM_MINUS);
        ASSERT_EQ(player().speed, speed);
        selectedLayer = 4;
        const CubeCopy start = CubeCopy::take();
        const Move turn = {4, +1};
        const CubeCopy turnedCube = turned(start, &turn, 1);
        tap(VK_UP);
        std::vector<int> seen; // the angle the layer shows, from the cube before the turn
        int changes = 0;
        CubeCopy last = start;
        do {
            ASSERT_EQ(recorded.cubes.size(), 1u);
            const CubeDraw& d = recorded.cubes[0];
            ASSERT_EQ(d.layer, 4);
            const CubeCopy now = CubeCopy::take();
            if (!(now == last)) {
                ++changes;
                ASSERT_TRUE(now == turnedCube);
                ASSERT_GE(d.angle, speed == kDefaultSpeed ? 60 : 60 - 90);
            }
            last = now;
            seen.push_back(now == turnedCube && speed != kDefaultSpeed ? d.angle + 90 : d.angle);
            if (turnAngle == 0) break;
            frame();
        } while (seen.size() < 500u);
        EXPECT_EQ(changes, 1);
        EXPECT_EQ(int(seen.size()), kPlayerSpeeds[speed].framesPerTurn);
        for (size_t i = 1; i < seen.size(); ++i) {
            EXPECT_GE(seen[i], seen[i - 1]);
            EXPECT_LE(seen[i] - seen[i - 1], 30);
            EXPECT_LT(seen[i], 90);
        }
        EXPECT_EQ(historyTop, 1);
    }
}

// Random turns, mixes, undos and redos against lists of done and undone cubes.
TEST(Player, UndoAndRedoFollowTheirModelOverRandomSequences) {
    TempWorkDir dir;
    std::mt19937 rng(1707);
    for (int sequence = 0; sequence < 25; ++sequence) {
        SCOPED_TRACE("sequence " + std::to_string(sequence));
        startProgram();
        std::vector<CubeCopy> done = {CubeCopy::take()}; // the cube after each action
        std::vector<CubeCopy> undone;
        for (int op = 0; op < 40; ++op) {
            const unsigned r = static_cast<unsigned>(rng() % 20);
            if (r < 9) { // a turn by hand
                selectedLayer = static_cast<short>(1 + rng() % 9);
                tapKey(rng() % 2 ? VK_UP : VK_DOWN);
                settle();
                done.push_back(CubeCopy::take());
                undone.clear();
            } else if (r < 10) {
                mix();
                done.push_back(CubeCopy::take());
                undone.clear();
            } else if (r < 16) {
                if (r == 15) tapKey(VK_OEM_PERIOD); // at the end: only pauses
                press(VK_CONTROL);
                tapKey('Z');
                release(VK_CONTROL);
                settle();
                if (done.size() > 1) {
                    EXPECT_EQ(paused, 0); // an undo plays on a paused player
                    undone.push_back(done.back());
                    done.pop_back();
                } else if (paused) {
                    tapKey(' '); // nothing to undo: the pause stays
                }
            } else {
                press(VK_CONTROL);
                if (r < 18) press(VK_SHIFT);
                tapKey(r < 18 ? 'Z' : 'Y');
                release(VK_SHIFT);
                release(VK_CONTROL);
                settle();
                if (!undone.empty()) {
                    done.push_back(undone.back());
                    undone.pop_back();
                }
            }
            ASSERT_TRUE(CubeCopy::take() == done.back()) << "operation " << op << " (" << r << ")";
        }
        // Z and Y alone do nothing.
        tapKey('Z');
        tapKey('Y');
        settle();
        EXPECT_TRUE(CubeCopy::take() == done.back());
        if (!isSolved()) quickSolves();
    }
}

// The key that closes the help does nothing else, also while it stays down.
TEST(Player, TheKeyThatClosesTheHelpDoesNothingElse) {
    TempWorkDir dir;
    const int keys[] = {'R',     VK_KEY_0,     VK_UP, 'P', 'W',       'V', VK_OEM_PERIOD,
                        VK_HOME, VK_OEM_MINUS, ' ',   'H', VK_ESCAPE, 'G', 'Z'};
    for (int key : keys) {
        SCOPED_TRACE("key " + std::to_string(key));
        startProgram();
        keyPressed['0'] = keyPressed['W'] = 1; // pressed long before, never cleared
        tapKey(VK_OEM_2);
        ASSERT_EQ(frameSession().helpOpen, 1);
        EXPECT_EQ(keyTakenByHelp('G'), 1);
        press('W'); // held while the overlay is up: nothing
        frame();
        release('W');
        const CubeCopy before = CubeCopy::take();
        press(key);
        keyPressed[key] = 1;
        for (int f = 0; f < 30; ++f) frame();
        EXPECT_EQ(frameSession().helpOpen, 0);
        EXPECT_EQ(keyTakenByHelp(key), 1);
        release(key);
        frame();
        EXPECT_EQ(keyTakenByHelp(key), 0);
        EXPECT_TRUE(CubeCopy::take() == before);
        EXPECT_EQ(viewPitch + viewYaw + historyTop + mixMode + paused, 0);
        EXPECT_EQ(sceneYaw, 0.0f);
        EXPECT_EQ(selectedAlgorithm, -1);
        EXPECT_EQ(player().speed, kDefaultSpeed);
        EXPECT_EQ(frameSession().stripShown, 0);
    }
}

// The strip: nothing before a player key, then the solve's moves, position and pause.
TEST(Player, TheStripShowsTheTimelineOnceAPlayerKeyWasUsed) {
    TempWorkDir dir;
    startProgram();
    mix();
    StripView view{};
    EXPECT_EQ(stripToShow(&view), 0);
    tap(VK_KEY_0);
    for (int f = 0; f < 10; ++f) frame();
    EXPECT_EQ(stripToShow(&view), 0); // today's keys only: no strip
    tap(VK_OEM_MINUS);
    ASSERT_EQ(stripToShow(&view), 1);
    ASSERT_EQ(view.count, solutionCount);
    EXPECT_EQ(view.turnsPerSecond, 7.5);
    for (int i = 0; i < view.count; ++i) {
        EXPECT_EQ(view.moves[i].layer, SolutionList[i].layer);
        EXPECT_EQ(view.moves[i].direction, SolutionList[i].direction);
        EXPECT_STREQ(view.stageNames[i], solveStageName(0, SolutionStage[i]));
    }
    for (int f = 0; f < 4; ++f) frame();
    ASSERT_EQ(stripToShow(&view), 1);
    EXPECT_EQ(view.position, solutionPos);
    EXPECT_EQ(view.paused, 0);
    tap(VK_OEM_COMMA);
    settle();
    tap(VK_OEM_COMMA);
    ASSERT_EQ(stripToShow(&view), 1);
    EXPECT_EQ(view.paused, 1);
    EXPECT_EQ(view.animating, 0); // going back: the move at the position is not the one turning
    settle();
    tap(VK_OEM_PERIOD);
    ASSERT_EQ(stripToShow(&view), 1);
    EXPECT_EQ(view.animating, 1);
}
