// Random key sequences over many frames, the player's keys among them. Every
// frame may turn the cube only by the move it drew, once per turn (a seek
// moves it along the timeline at once); no animation may be cut off half way;
// at rest the cube is the timeline's start with the moves up to its position;
// and whenever the controller is idle, replaying the recorded MoveHistory on
// the cube it describes must give the live cube.
#include "tests/app/controller_support.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>

namespace {

// Each key with its chance per frame of going down while up, and up while down.
constexpr struct FuzzKey {
    int code;
    double pressChance, releaseChance;
} kFuzzKeys[] = {
    {'W', 0.02, 0.2},
    {'S', 0.02, 0.2},
    {'A', 0.02, 0.2},
    {'D', 0.02, 0.2},
    {'V', 0.02, 0.2},
    {'B', 0.02, 0.2},
    {'O', 0.02, 0.2},
    {'L', 0.02, 0.2},
    {'U', 0.005, 0.5},
    {VK_LEFT, 0.05, 0.2},
    {VK_RIGHT, 0.05, 0.2},
    {VK_UP, 0.08, 0.3},
    {VK_DOWN, 0.08, 0.3},
    {'P', 0.001, 0.5},
    {'R', 0.003, 0.3},
    {'0', 0.001, 0.5},
    {'1', 0.0004, 0.5},
    {'2', 0.0004, 0.5},
    {'3', 0.0004, 0.5},
    {'4', 0.0004, 0.5},
    {'5', 0.0005, 0.5},
    {'6', 0.0004, 0.5},
    // The player's keys, help and undo/redo (with the modifiers).
    {VK_OEM_PERIOD, 0.0015, 0.3},
    {VK_OEM_COMMA, 0.0015, 0.3},
    {VK_HOME, 0.0003, 0.5},
    {VK_END, 0.0003, 0.5},
    {VK_OEM_MINUS, 0.0004, 0.5},
    {VK_ADD, 0.001, 0.5},
    {VK_OEM_PLUS, 0.001, 0.5},
    {VK_SPACE, 0.001, 0.5},
    {VK_CONTROL, 0.02, 0.05},
    {VK_SHIFT, 0.01, 0.2},
    {'Z', 0.02, 0.3},
    {'Y', 0.01, 0.3},
    {'H', 0.001, 0.5},
    {VK_OEM_2, 0.0005, 0.5},
};

bool controllerIdle() {
    return selectedAlgorithm == -1 && mixMode == 0 && turnAngle == 0 && turnRequest == 0 &&
           solveState.playbackPending == 0 && solveState.solveRequested == 0 && pendingDigit < 0;
}

// The cube the recorded history describes the live one from: records
// base+1..historyTop replayed on `shadow` give the live cube. A solve that
// changed the cube without recording it moves the base to the top; a step,
// seek, undo or redo after a solve drops the records below it.
struct Replay {
    CubeCopy shadow;
    int base = 0;
    void restart() {
        shadow = CubeCopy::take();
        base = historyTop;
    }
    bool fromSolved() const {
        const CubeCopy live = CubeCopy::take();
        shadow.put();
        const bool solved = isSolved();
        live.put();
        return solved;
    }
    bool check() const {
        if (historyTop < base) return false;
        return turned(shadow, &MoveHistory[base + 1], historyTop - base) == CubeCopy::take();
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
    const FrameSession& session = frameSession();

    constexpr int kFrames = 200000;
    CubeDraw turnMove{0, 0, 0}; // the turn in progress
    bool inTurn = false, turnApplied = false, quickOnStale = false;
    int quickChecked = 0;
    int idleChecks = 0, mixes = 0, turns = 0, solvesPlayed = 0, quickSolves = 0, pausedFrames = 0;
    int steps = 0, seeks = 0, undos = 0, slowTurns = 0, helpOpens = 0, timelineChecks = 0;
    for (int f = 0; f < kFrames; ++f) {
        for (const FuzzKey& k : kFuzzKeys) {
            // While paused, P and Space come sooner, so that most frames run.
            const double press =
                (k.code == 'P' || k.code == VK_SPACE) && paused ? 0.02 : k.pressChance;
            if (keyDown[k.code] == 0 && chance(rng) < press) {
                keyDown[k.code] = 1;
                keyPressed[k.code] = 1;
            } else if (keyDown[k.code] != 0 && chance(rng) < k.releaseChance) {
                keyDown[k.code] = 0;
            }
        }
        const CubeCopy before = CubeCopy::take();
        const int algorithmBefore = selectedAlgorithm;
        const int playbackBefore = solveState.playbackPending;
        const int mixBefore = mixMode;
        const int historyBefore = historyTop;
        const int solvedTopBefore = session.solvedHistoryTop;
        const int angleBefore = turnAngle;
        const int helpBefore = session.helpOpen;
        const int undoDepthBefore = int(session.undoStack.undo.size());

        // frame(), with a look at the requests between the keys and the controller.
        recorded = FrameRecord{};
        latchStep();
        readKeys();
        const int algorithmAsked = selectedAlgorithm;
        const bool seekAsked = session.player.seek != 0;
        helpOpens += session.helpOpen && !helpBefore;
        if (session.player.stepping != 0 && angleBefore == 0) ++steps;
        seeks += seekAsked;
        runFrameController();
        // A search off the drawing thread ends before the next frame, so that
        // the run goes the same way on every machine.
        waitForThinking();

        ASSERT_EQ(recorded.depth, 0) << "frame " << f;
        ASSERT_EQ(recorded.markers, 1) << "frame " << f;
        ASSERT_LE(recorded.cubes.size(), 1u) << "frame " << f;
        ASSERT_TRUE(selectedLayer >= 1 && selectedLayer <= 9) << selectedLayer;
        ASSERT_TRUE(historyTop >= 0 && historyTop < kHistorySize) << historyTop;
        ASSERT_TRUE(scenePitch >= 0.0f && scenePitch <= 90.0f) << scenePitch;
        ASSERT_TRUE(session.player.speed >= 0 && session.player.speed < kPlayerSpeedCount);

        const bool changed = !(CubeCopy::take() == before);
        if (recorded.cubies != 0) {
            // Paused: the cube stands still.
            ++pausedFrames;
            ASSERT_EQ(recorded.cubies, 27);
            ASSERT_TRUE(recorded.cubes.empty());
            ASSERT_FALSE(changed) << "frame " << f;
        } else {
            const int angle = recorded.cubes.empty() ? 0 : recorded.cubes[0].angle;
            if (angle != 0 && angleBefore == 0) {
                // A turn starts: the last one went onto the cube before it.
                ASSERT_TRUE(!inTurn || turnApplied) << "frame " << f << ": a turn was cut off";
                ASSERT_EQ(angle, 1) << "frame " << f;
                inTurn = true;
                turnApplied = false;
                turnMove = recorded.cubes[0];
                if (session.player.frames > 3) ++slowTurns;
            } else if (angle != 0) {
                ASSERT_TRUE(inTurn) << "frame " << f << ": a turn drawn that never started";
                ASSERT_EQ(recorded.cubes[0].layer, turnMove.layer) << "frame " << f;
                ASSERT_EQ(recorded.cubes[0].direction, turnMove.direction) << "frame " << f;
            }
            // A seek waits for the turn in progress to end.
            if (changed && (!seekAsked || angleBefore != 0)) {
                ASSERT_TRUE(inTurn && !turnApplied && angle != 0)
                    << "frame " << f << ": the cube changed without a drawn turn";
                const Move m = {turnMove.layer, turnMove.direction};
                ASSERT_TRUE(CubeCopy::take() == turned(before, &m, 1)) << "frame " << f;
                turnApplied = true;
            }
            if (inTurn && turnAngle == 0) {
                ASSERT_TRUE(turnApplied) << "frame " << f << ": a turn ended without its move";
                inTurn = false;
            }
        }

        if (mixBefore == 0 && mixMode != 0) ++mixes;
        if (turnRequest == 0 && turnDirection != 0 && angleBefore == 0 && inTurn &&
            algorithmBefore == -1 && mixMode == 0 && solveState.playbackPending == 0 &&
            historyTop == historyBefore + 1)
            ++turns;
        if (int(session.undoStack.undo.size()) < undoDepthBefore) ++undos;
        if (playbackBefore == 1 && solveState.playbackPending == 0) {
            ++solvesPlayed;
            ASSERT_TRUE(isSolved()) << "frame " << f << ": a played-back solve left the cube";
        }
        // Quick solves whenever the history describes the cube from a solved
        // one: not while records from before a finished solve are in it, nor
        // after a Quick that could not solve (it empties the history anyway).
        if (algorithmAsked == 5 && algorithmBefore != 5)
            quickOnStale = replay.base != 0 || !replay.fromSolved();
        if (algorithmAsked == 5 && selectedAlgorithm == -1) {
            ++quickSolves;
            if (!quickOnStale) {
                ++quickChecked;
                ASSERT_TRUE(isSolved()) << "frame " << f << ": Quick left the cube";
            }
        }
        if (algorithmAsked != -1 && selectedAlgorithm == -1) {
            // A solve changed the cube without recording it: the history
            // describes the cube from here on.
            replay.restart();
        }
        if (solvedTopBefore > 0 && session.solvedHistoryTop == -1 && algorithmAsked == -1) {
            // The records below the finished solve were dropped.
            replay.base -= solvedTopBefore;
            ASSERT_GE(replay.base, 0) << "frame " << f;
        }
        if (controllerIdle() && f % 7 == 0) {
            ++idleChecks;
            ASSERT_TRUE(replay.check())
                << "frame " << f << ": the history no longer gives the live cube";
        }
        const Timeline& t = session.timeline;
        if (turnAngle == 0 && f % 13 == 0 && t.startTaken && algorithmAsked != 5) {
            ++timelineChecks;
            ASSERT_TRUE(CubeCopy::take() == timelineCube(t, t.position))
                << "frame " << f << ": the cube is not the timeline's at its position";
        }
    }
    // The run must have exercised what it checks.
    EXPECT_GT(idleChecks, kFrames / 100);
    EXPECT_GT(timelineChecks, kFrames / 100);
    EXPECT_GT(mixes, 10);
    EXPECT_GT(turns, 100);
    EXPECT_GT(solvesPlayed, 3);
    EXPECT_GT(quickSolves, 3);
    EXPECT_GT(quickChecked, 3);
    EXPECT_GT(pausedFrames, 100);
    EXPECT_GT(steps, 50);
    EXPECT_GT(seeks, 10);
    EXPECT_GT(undos, 10);
    EXPECT_GT(slowTurns, 50);
    EXPECT_GT(helpOpens, 10);
    std::printf(
        "idle checks %d, timeline checks %d, mixes %d, turns %d, solves %d, quick %d (%d checked), "
        "paused frames %d, steps %d, seeks %d, undos %d, slow turns %d, help opened %d\n",
        idleChecks, timelineChecks, mixes, turns, solvesPlayed, quickSolves, quickChecked,
        pausedFrames, steps, seeks, undos, slowTurns, helpOpens);
}
