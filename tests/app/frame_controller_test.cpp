// The frame controller, frame by frame, with a simulated key table and a
// recording stand-in for the renderer.
#include "tests/app/controller_support.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kP = 'P', kR = 'R', kU = 'U';

// Puts the stage tables back whatever a test did to them.
struct StageTableGuard {
    StageRoutine saved[8];
    StageTableGuard() { std::copy(baseStageTable, baseStageTable + 8, saved); }
    ~StageTableGuard() { std::copy(saved, saved + 8, baseStageTable); }
};

int stageCalls = 0;
// Base stages that never get anywhere: a solve runs into its bound.
void idleStages() {
    for (int s = 1; s <= 7; ++s) baseStageTable[s] = [] { ++stageCalls; };
    stageCalls = 0;
}

// Frames enough for the key latch to free again.
void letLatchFree() {
    for (int f = 0; f < 4; ++f) frame();
}

void mixAndWait() {
    letLatchFree();
    tap(kR);
    while (mixMode != 0) frame();
}

// Record i of `moves` drawn in frames 3i, 3i+1, 3i+2 at angles 1, 31, 61.
void expectPlayed(const std::vector<CubeDraw>& drawn, const Move* moves, int n) {
    ASSERT_EQ(int(drawn.size()), 3 * n);
    for (int f = 0; f < 3 * n; ++f) {
        ASSERT_EQ(drawn[f].layer, moves[f / 3].layer) << "frame " << f;
        ASSERT_EQ(drawn[f].direction, moves[f / 3].direction) << "frame " << f;
        ASSERT_EQ(drawn[f].angle, 1 + 30 * (f % 3)) << "frame " << f;
    }
}

} // namespace

// ---- keys and the latch ----------------------------------------------------

TEST(KeyLatch, AHeldGuardedKeyActsEveryFourthFrameAndTheCycleWraps) {
    startProgram();
    press(kP);
    std::vector<int> toggles;
    for (int f = 0, before = paused; f < 13; ++f, before = paused) {
        frame();
        if (paused != before) toggles.push_back(f);
        ASSERT_EQ(recorded.depth, 0);
    }
    EXPECT_EQ(toggles, (std::vector<int>{0, 4, 8, 12}));
    startProgram();
    for (int f = 1; f <= 80; ++f) {
        frame();
        ASSERT_EQ(frameCycle, f % 35);
    }
}

TEST(KeyLatch, LeftAtLayerOneKeepsTheLayerAndRightStopsAtNine) {
    startProgram();
    press(VK_LEFT);
    std::vector<int> latch;
    for (int f = 0; f < 9; ++f) {
        frame();
        EXPECT_EQ(selectedLayer, 1);
        latch.push_back(keyLatch);
    }
    EXPECT_EQ(latch, (std::vector<int>{1, 2, 3, 4, 1, 2, 3, 4, 1}));
    startProgram();
    press(VK_RIGHT);
    for (int f = 0; f < 60; ++f) {
        frame();
        ASSERT_EQ(selectedLayer, std::min(f / 4 + 2, 9)) << "frame " << f;
        ASSERT_EQ(recorded.markers, 1);
    }
}

TEST(KeyLatch, ViewKeysActInEveryFrameAndTheTiltStaysWithinRange) {
    startProgram();
    for (int key : {'W', 'D', 'V', 'O'}) press(key);
    for (int f = 0; f < 100; ++f) frame();
    EXPECT_EQ(viewPitch, -300);
    EXPECT_EQ(viewYaw, 300);
    EXPECT_FLOAT_EQ(sceneYaw, 100.0f);
    EXPECT_FLOAT_EQ(scenePitch, 90.0f);
    release('O');
    press('L');
    for (int f = 0; f < 100; ++f) frame();
    EXPECT_FLOAT_EQ(scenePitch, 0.0f);
}

// ---- the manual turn -------------------------------------------------------

TEST(ManualTurn, TakesThreeFramesAndTurnsTheCubeInTheThird) {
    startProgram();
    const CubeCopy start = CubeCopy::take();
    tap(VK_RIGHT); // layer 2
    letLatchFree();
    const Move move = {2, -1};
    const CubeCopy after = turned(start, &move, 1);
    press(VK_DOWN);
    for (int angle : {1, 31, 61, 0}) {
        frame();
        release(VK_DOWN);
        ASSERT_EQ(recorded.cubes.size(), 1u);
        EXPECT_EQ(recorded.cubes[0].angle, angle);
        if (angle != 0) {
            EXPECT_EQ(recorded.cubes[0].layer, 2);
            EXPECT_EQ(recorded.cubes[0].direction, -1);
        }
        EXPECT_TRUE(CubeCopy::take() == (angle == 1 || angle == 31 ? start : after)) << angle;
        EXPECT_EQ(historyTop, 1);
    }
    EXPECT_EQ(MoveHistory[1].layer, 2);
    EXPECT_EQ(MoveHistory[1].direction, -1);
    EXPECT_EQ(turnAngle, 0);
}

TEST(ManualTurn, UpWhileATurnAnimatesIsRefused) {
    startProgram();
    tap(VK_UP);
    // Even with the latch free, the turn in progress refuses a second one,
    // and Right does not move the layer under a turning layer.
    keyLatch = 0;
    tap(VK_DOWN);
    EXPECT_EQ(historyTop, 1);
    EXPECT_EQ(recorded.cubes[0].direction, +1);
    EXPECT_EQ(recorded.cubes[0].angle, 31);
    keyLatch = 0;
    tap(VK_RIGHT);
    EXPECT_EQ(selectedLayer, 1);
    EXPECT_EQ(recorded.cubes[0].angle, 61);
}

TEST(ManualTurn, IsRefusedWhilePausedDuringAMixAndAtTheHistoryLimit) {
    startProgram();
    tap(kP);
    for (int f = 0; f < 4; ++f) frame();
    press(VK_UP);
    for (int f = 0; f < 8; ++f) frame();
    release(VK_UP);
    EXPECT_EQ(historyTop, 0);
    tap(kP);
    for (int f = 0; f < 4; ++f) frame();
    ASSERT_EQ(paused, 0);
    tap(kR);
    ASSERT_EQ(mixMode, 2);
    press(VK_DOWN);
    for (int f = 0; f < 30; ++f) frame();
    release(VK_DOWN);
    EXPECT_EQ(historyTop, 11) << "the mix's records only";

    startProgram();
    historyTop = kHistoryLimit;
    tap(VK_UP);
    EXPECT_EQ(historyTop, kHistoryLimit);
    EXPECT_EQ(turnAngle, 0);
    ASSERT_EQ(recorded.cubes.size(), 1u);
    EXPECT_EQ(recorded.cubes[0].angle, 0);
}

// ---- the mix ----------------------------------------------------------------

TEST(Mix, TakesOneHundredFiftyFramesAndAppliesEveryRecord) {
    startProgram();
    const CubeCopy start = CubeCopy::take();
    press(kR);
    frame();
    release(kR);
    std::vector<CubeDraw> drawn = {recorded.cubes.at(0)};
    for (const CubeDraw& d : framesWhile([] { return mixMode != 0; }, 1000)) drawn.push_back(d);
    EXPECT_EQ(mixMode, 0);
    EXPECT_EQ(historyTop, 50);
    expectPlayed(drawn, &MoveHistory[1], 50);
    EXPECT_TRUE(CubeCopy::take() == turned(start, &MoveHistory[1], 50));
}

TEST(Mix, RHeldStartsOneMixAFreshPressAnotherAndAFullHistoryNone) {
    startProgram();
    press(kR);
    for (int f = 0; f < 400; ++f) frame();
    EXPECT_EQ(historyTop, 50);
    EXPECT_EQ(mixMode, 0);
    release(kR);
    frame();
    press(kR);
    for (int f = 0; f < 400; ++f) frame();
    EXPECT_EQ(historyTop, 100);

    startProgram();
    historyTop = kHistoryLimit - N + 1;
    press(kR);
    for (int f = 0; f < 10; ++f) frame();
    EXPECT_EQ(historyTop, kHistoryLimit - N + 1);
    EXPECT_EQ(mixMode, 0);
}

// ---- pause and the face-the-viewer key --------------------------------------

TEST(Pause, FreezesAMixMidTurnAndResumesAtTheSameAngle) {
    // (A manual turn cannot be caught mid-way: the latch that Up sets keeps P
    // out for four frames, and the turn takes three.)
    startProgram();
    const CubeCopy start = CubeCopy::take();
    tap(kR); // record 1 at 1
    frame(); // at 31
    tap(kP); // paused with the angle at 61 still to come
    EXPECT_EQ(paused, 1);
    for (int f = 0; f < 20; ++f) {
        ASSERT_EQ(recorded.cubes.size(), 0u);
        ASSERT_EQ(recorded.cubies, 27);
        ASSERT_EQ(recorded.markers, 1);
        ASSERT_EQ(turnAngle, 61);
        ASSERT_EQ(mixMode, 2);
        frame();
    }
    EXPECT_TRUE(CubeCopy::take() == start);
    tap(kP);
    EXPECT_EQ(paused, 0);
    ASSERT_EQ(recorded.cubes.size(), 1u);
    EXPECT_EQ(recorded.cubes[0].angle, 61);
    EXPECT_EQ(recorded.cubes[0].layer, MoveHistory[1].layer);
    EXPECT_TRUE(CubeCopy::take() == turned(start, &MoveHistory[1], 1));
    EXPECT_EQ(historyTop, 2);
}

TEST(FaceTheViewer, TakesTheNegatedSceneYawAndDrawsThisFrameAlreadyTurned) {
    startProgram();
    sceneYaw = 30.5f;
    viewYaw = 100;
    viewPitch = 40;
    tap(kU);
    EXPECT_EQ(viewYaw, -30);
    EXPECT_EQ(viewPitch, 0);
    EXPECT_EQ(faceRequest, 0);
    double yaw = 0, pitch = 0;
    for (const RotateCall& r : recorded.rotations) (r.y == 1.0 ? yaw : pitch) += r.angle;
    EXPECT_DOUBLE_EQ(yaw, -45.0 - 30.5);
    EXPECT_DOUBLE_EQ(pitch, 0.0);
    frame(); // the next frame: the cube's own turn is the truncated one
    ASSERT_GE(recorded.rotations.size(), 2u);
    EXPECT_DOUBLE_EQ(recorded.rotations[0].angle, -75.0);
    EXPECT_DOUBLE_EQ(recorded.rotations[1].angle, 0.0);
}

// ---- solves and their playback ---------------------------------------------

TEST(Playback, ThreeFramesPerMoveAndTheSixtyFrameSpinAtThePhaseMark) {
    startProgram();
    const Move moves[] = {{1, 1}, {5, -1}, {7, 1}, {3, -1}};
    std::copy(moves, moves + 4, SolutionList);
    solutionCount = 4;
    solveState.phaseMark = 2;
    solveState.playbackPending = solveState.solveRequested = 1;
    selectedAlgorithm = 1;
    const CubeCopy start = CubeCopy::take();
    std::vector<CubeDraw> drawn = framesWhile([] { return solveState.playbackPending != 0; }, 1000);
    ASSERT_EQ(drawn.size(), 4u * 3 + 60);
    EXPECT_EQ(viewYaw, 540);
    EXPECT_EQ(viewPitch, 540);
    for (int f = 6; f < 66; ++f) EXPECT_EQ(drawn[f].angle, 0);
    drawn.erase(drawn.begin() + 6, drawn.begin() + 66);
    expectPlayed(drawn, moves, 4);
    EXPECT_TRUE(CubeCopy::take() == turned(start, moves, 4));
    EXPECT_EQ(selectedAlgorithm, -1);
    EXPECT_EQ(solveState.solveRequested, 0);
    EXPECT_EQ(solveState.phaseMark, 0);
    EXPECT_EQ(spinFrames, 0);
    EXPECT_EQ(SolutionList[0].layer, 0);
}

TEST(Solve, ZeroComputesInOneFramePlaysThreeFramesPerMoveAndEndsSolved) {
    TempWorkDir dir;
    startProgram();
    tap(VK_KEY_0); // solved already: nothing to play, over in the next frame
    EXPECT_EQ(recorded.cubes.size(), 0u);
    EXPECT_EQ(solutionCount, 0);
    frame();
    EXPECT_EQ(solveState.playbackPending, 0);
    EXPECT_EQ(selectedAlgorithm, -1);

    mixAndWait();
    const CubeCopy mixed = CubeCopy::take();
    ASSERT_FALSE(isSolved());
    tap(VK_KEY_0);
    ASSERT_EQ(solveState.playbackPending, 1) << "entry 0 could not solve the mix";
    EXPECT_EQ(recorded.cubes.size(), 0u);   // the computing frame draws no cube
    EXPECT_TRUE(CubeCopy::take() == mixed); // computed, then put back
    const std::vector<Move> solution(SolutionList, SolutionList + solutionCount);
    ASSERT_GT(solution.size(), 0u);
    expectPlayed(framesWhile([] { return solveState.playbackPending != 0; }, 3 * 11000),
                 solution.data(), int(solution.size()));
    EXPECT_EQ(solveState.playbackPending, 0);
    EXPECT_TRUE(isSolved());
    EXPECT_EQ(selectedAlgorithm, -1);
    EXPECT_EQ(solveState.solveRequested, 0);
    EXPECT_EQ(solutionPos, 0);
}

TEST(Solve, ATwoPhaseEntrySpinsTheViewWhereTheBasePhaseBegins) {
    TempWorkDir dir;
    startProgram();
    mixAndWait();
    tap(VK_KEY_0 + 1);
    ASSERT_EQ(solveState.playbackPending, 1);
    const int moves = solutionCount, mark = solveState.phaseMark;
    EXPECT_GT(mark, 0); // this mix needs a first phase
    int frames = 0, spinning = 0;
    while (solveState.playbackPending && frames <= 3 * 11000 + 60) {
        const int yaw = viewYaw;
        frame();
        ++frames;
        if (viewYaw != yaw) {
            ASSERT_EQ(solutionPos, mark); // the spin comes when the first phase is played
            ASSERT_EQ(viewYaw - yaw, 9);
            ++spinning;
        }
    }
    EXPECT_EQ(spinning, 60);
    EXPECT_EQ(frames, 3 * moves + spinning);
    EXPECT_TRUE(isSolved());
    EXPECT_EQ(selectedAlgorithm, -1);
}

TEST(Solve, AnAbandonedSolveLeavesTheCubeAndPlaysNothing) {
    TempWorkDir dir;
    StageTableGuard guard;
    startProgram();
    mixAndWait();
    const CubeCopy mixed = CubeCopy::take();
    idleStages();
    tap(VK_KEY_0);
    EXPECT_GT(stageCalls, 0);
    EXPECT_EQ(solveState.playbackPending, 0);
    EXPECT_EQ(solveState.solveRequested, 0);
    EXPECT_EQ(selectedAlgorithm, -1);
    EXPECT_TRUE(CubeCopy::take() == mixed);
    EXPECT_EQ(recorded.cubes.size(), 1u);
    letLatchFree();
    tap(VK_UP); // Up works again at once
    EXPECT_EQ(historyTop, 51);
}

TEST(Solve, WithSeveralDigitsHeldTheLowestWins) {
    startProgram();
    for (int digit : {4, 2, 5}) press(VK_KEY_0 + digit);
    latchStep();
    readKeys();
    EXPECT_EQ(selectedAlgorithm, 2);
    EXPECT_EQ(solveState.solveRequested, 1);
}

TEST(Quick, UndoesAMixAndAManualTurnFrameByFrame) {
    startProgram();
    tap(VK_KEY_0 + 5); // nothing to undo: over at once, the cube drawn at rest
    EXPECT_EQ(selectedAlgorithm, -1);
    ASSERT_EQ(recorded.cubes.size(), 1u);
    EXPECT_EQ(recorded.cubes[0].angle, 0);

    letLatchFree();
    tap(VK_DOWN);
    while (turnAngle != 0) frame();
    mixAndWait();
    ASSERT_EQ(historyTop, 51);
    ASSERT_FALSE(isSolved());
    tap(VK_KEY_0 + 5);
    framesWhile([] { return selectedAlgorithm == 5; }, 3000);
    EXPECT_EQ(selectedAlgorithm, -1);
    EXPECT_TRUE(isSolved());
    EXPECT_EQ(historyTop, 0);
    EXPECT_EQ(solveState.solveRequested, 0);
    EXPECT_EQ(solveState.quickPrepared, 0);
}
