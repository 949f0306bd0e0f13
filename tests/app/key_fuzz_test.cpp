// Random key sequences over many frames. Every frame must have turned the cube
// by exactly the move it drew at angle 61 (and not at all otherwise), so the
// cube stays a legal cube; no animation may be cut off half way; and whenever
// the controller is idle, replaying the recorded MoveHistory on the cube it
// started from must give the live cube.
#include "tests/app/controller_support.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

// Each key with its chance per frame of going down while up, and up while down.
constexpr struct FuzzKey {
    int code;
    double pressChance, releaseChance;
} kFuzzKeys[] = {
    {'W', 0.02, 0.2},     {'S', 0.02, 0.2},     {'A', 0.02, 0.2},      {'D', 0.02, 0.2},
    {'V', 0.02, 0.2},     {'B', 0.02, 0.2},     {'O', 0.02, 0.2},      {'L', 0.02, 0.2},
    {'U', 0.005, 0.5},    {VK_LEFT, 0.05, 0.2}, {VK_RIGHT, 0.05, 0.2}, {VK_UP, 0.08, 0.3},
    {VK_DOWN, 0.08, 0.3}, {'P', 0.001, 0.5},    {'R', 0.008, 0.3},     {'0', 0.001, 0.5},
    {'1', 0.0004, 0.5},   {'2', 0.0004, 0.5},   {'3', 0.0004, 0.5},    {'4', 0.0004, 0.5},
    {'5', 0.0002, 0.5},   {'6', 0.0004, 0.5},
};

bool controllerIdle() {
    return selectedAlgorithm == -1 && mixMode == 0 && turnAngle == 0 && turnRequest == 0 &&
           solveState.playbackPending == 0 && solveState.solveRequested == 0 && pendingDigit < 0;
}

// The cube the recorded history starts from, with the records replayed on it
// so far; the history only grows between solves.
struct Replay {
    CubeCopy shadow;
    int replayedTop = 0;
    void restart() {
        shadow = CubeCopy::take();
        replayedTop = historyTop;
    }
    bool check() {
        if (historyTop < replayedTop) return false;
        shadow = turned(shadow, &MoveHistory[replayedTop + 1], historyTop - replayedTop);
        replayedTop = historyTop;
        return shadow == CubeCopy::take();
    }
};

Replay replay;

} // namespace

TEST(KeyFuzz, RandomKeysKeepTheHistoryTrueAndNeverCutATurn) {
    TempWorkDir dir;
    startProgram();
    for (int entry = 0; entry < kMenuSize; ++entry) prepareMenuEntry(entry); // as main does
    std::mt19937 rng(20261206);
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    replay.restart();

    constexpr int kFrames = 100000;
    int lastAngle = 0;
    CubeDraw lastMove{0, 0, 0};
    int idleChecks = 0, mixes = 0, turns = 0, solvesPlayed = 0, quickSolves = 0, pausedFrames = 0;
    for (int f = 0; f < kFrames; ++f) {
        for (const FuzzKey& k : kFuzzKeys) {
            // While paused, P comes sooner, so that most frames run.
            const double press = k.code == 'P' && paused ? 0.02 : k.pressChance;
            if (keyDown[k.code] == 0 && chance(rng) < press)
                keyDown[k.code] = 1;
            else if (keyDown[k.code] != 0 && chance(rng) < k.releaseChance)
                keyDown[k.code] = 0;
        }
        const CubeCopy before = CubeCopy::take();
        const int algorithmBefore = selectedAlgorithm;
        const int playbackBefore = solveState.playbackPending;
        const int mixBefore = mixMode;
        const int historyBefore = historyTop;

        // frame(), with a look at the requests between the keys and the controller.
        recorded = FrameRecord{};
        latchStep();
        readKeys();
        const int algorithmAsked = selectedAlgorithm;
        runFrameController();

        ASSERT_EQ(recorded.depth, 0) << "frame " << f;
        ASSERT_EQ(recorded.markers, 1) << "frame " << f;
        ASSERT_LE(recorded.cubes.size(), 1u) << "frame " << f;
        ASSERT_TRUE(selectedLayer >= 1 && selectedLayer <= 9) << selectedLayer;
        ASSERT_TRUE(historyTop >= 0 && historyTop < kHistorySize) << historyTop;
        ASSERT_TRUE(scenePitch >= 0.0f && scenePitch <= 90.0f) << scenePitch;

        if (recorded.cubies != 0) {
            // Paused: the cube stands still.
            ++pausedFrames;
            ASSERT_EQ(recorded.cubies, 27);
            ASSERT_TRUE(recorded.cubes.empty());
            ASSERT_TRUE(CubeCopy::take() == before) << "frame " << f;
        } else {
            const int angle = recorded.cubes.empty() ? 0 : recorded.cubes[0].angle;
            if (angle == 31 || angle == 61) {
                ASSERT_EQ(lastAngle, angle - 30) << "frame " << f << ": a turn skipped a step";
                ASSERT_EQ(recorded.cubes[0].layer, lastMove.layer) << "frame " << f;
                ASSERT_EQ(recorded.cubes[0].direction, lastMove.direction) << "frame " << f;
            } else {
                ASSERT_TRUE(angle == 0 || angle == 1) << "frame " << f << ": angle " << angle;
                ASSERT_TRUE(lastAngle == 0 || lastAngle == 61)
                    << "frame " << f << ": a turn was cut off at " << lastAngle;
            }
            if (angle == 61) {
                const Move m = {recorded.cubes[0].layer, recorded.cubes[0].direction};
                ASSERT_TRUE(CubeCopy::take() == turned(before, &m, 1)) << "frame " << f;
            } else {
                ASSERT_TRUE(CubeCopy::take() == before)
                    << "frame " << f << ": the cube changed without a drawn turn";
            }
            lastAngle = angle;
            if (!recorded.cubes.empty()) lastMove = recorded.cubes[0];
        }

        if (mixBefore == 0 && mixMode != 0) ++mixes;
        if (turnDirection != 0 && turnAngle == 31 && algorithmBefore == -1 && mixMode == 0 &&
            solveState.playbackPending == 0 && historyTop == historyBefore + 1)
            ++turns;
        if (playbackBefore == 1 && solveState.playbackPending == 0) {
            ++solvesPlayed;
            ASSERT_TRUE(isSolved()) << "frame " << f << ": a played-back solve left the cube";
        }
        if (algorithmAsked == 5 && selectedAlgorithm == -1) ++quickSolves;
        if (algorithmAsked != -1 && selectedAlgorithm == -1) {
            // A solve changed the cube without recording it: the history
            // describes the cube from here on.
            replay.restart();
        }
        if (controllerIdle()) {
            ++idleChecks;
            ASSERT_TRUE(replay.check())
                << "frame " << f << ": the history no longer gives the live cube";
        }
    }
    // The run must have exercised what it checks.
    EXPECT_GT(idleChecks, kFrames / 10);
    EXPECT_GT(mixes, 10);
    EXPECT_GT(turns, 100);
    EXPECT_GT(solvesPlayed, 3);
    EXPECT_GT(quickSolves, 3);
    EXPECT_GT(pausedFrames, 100);
}
