// The frame controller, frame by frame, with a simulated key table and a
// recording stand-in for the renderer.
#include "tests/app/controller_support.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kP = 'P', kR = 'R', kU = 'U', kW = 'W', kD = 'D', kV = 'V', kO = 'O', kL = 'L';

// Puts the stage table back whatever a test did to it.
struct StageTableGuard {
    StageRoutine saved[8];
    FirstPhase phases[6];
    StageTableGuard() {
        for (int i = 0; i < 8; ++i) saved[i] = baseStageTable[i];
        for (int i = 0; i < 6; ++i) phases[i] = firstPhaseTable[i];
    }
    ~StageTableGuard() {
        for (int i = 0; i < 8; ++i) baseStageTable[i] = saved[i];
        for (int i = 0; i < 6; ++i) firstPhaseTable[i] = phases[i];
    }
};

int stageCalls = 0;
void idleStage() {
    ++stageCalls;
}

} // namespace

// ---- keys and the latch ----------------------------------------------------

TEST(KeyLatch, AHeldGuardedKeyActsEveryFourthFrame) {
    startProgram();
    press(kP);
    std::vector<int> toggles;
    int before = paused;
    for (int f = 0; f < 13; ++f) {
        frame();
        if (paused != before) toggles.push_back(f);
        before = paused;
    }
    EXPECT_EQ(toggles, (std::vector<int>{0, 4, 8, 12}));
}

TEST(KeyLatch, LeftAtLayerOneCyclesTheLatchAndKeepsTheLayer) {
    startProgram();
    press(VK_LEFT);
    std::vector<int> latch;
    for (int f = 0; f < 9; ++f) {
        frame();
        EXPECT_EQ(selectedLayer, 1);
        latch.push_back(keyLatch);
    }
    EXPECT_EQ(latch, (std::vector<int>{1, 2, 3, 4, 1, 2, 3, 4, 1}));
}

TEST(KeyLatch, RightWalksThroughTheLayersAndStopsAtNine) {
    startProgram();
    press(VK_RIGHT);
    for (int f = 0; f < 60; ++f) {
        frame();
        // Acts in frames 0, 4, 8, ...: layer 2 after frame 0, 3 after frame 4.
        const int expected = f / 4 + 2 > 9 ? 9 : f / 4 + 2;
        ASSERT_EQ(selectedLayer, expected) << "frame " << f;
        ASSERT_EQ(recorded.markers, 1);
    }
}

TEST(KeyLatch, ViewKeysActInEveryFrameAndTheTiltStaysWithinRange) {
    startProgram();
    press(kW);
    press(kD);
    press(kV);
    press(kO);
    for (int f = 0; f < 100; ++f) frame();
    EXPECT_EQ(viewPitch, -300);
    EXPECT_EQ(viewYaw, 300);
    EXPECT_FLOAT_EQ(sceneYaw, 100.0f);
    EXPECT_FLOAT_EQ(scenePitch, 90.0f);
    release(kO);
    press(kL);
    for (int f = 0; f < 100; ++f) frame();
    EXPECT_FLOAT_EQ(scenePitch, 0.0f);
}

// ---- the manual turn -------------------------------------------------------

TEST(ManualTurn, TakesThreeFramesAndTurnsTheCubeInTheThird) {
    startProgram();
    const CubeCopy start = CubeCopy::live();
    press(VK_RIGHT);
    frame(); // layer 2
    release(VK_RIGHT);
    for (int f = 0; f < 4; ++f) frame(); // let the latch free
    const Move move = {2, -1};
    const CubeCopy after = turned(start, &move, 1);

    press(VK_DOWN);
    frame();
    release(VK_DOWN);
    ASSERT_EQ(recorded.cubes.size(), 1u);
    EXPECT_EQ(recorded.cubes[0].layer, 2);
    EXPECT_EQ(recorded.cubes[0].direction, -1);
    EXPECT_EQ(recorded.cubes[0].angle, 1);
    EXPECT_TRUE(CubeCopy::live() == start);
    EXPECT_EQ(historyTop, 1);
    EXPECT_EQ(MoveHistory[1].layer, 2);
    EXPECT_EQ(MoveHistory[1].direction, -1);

    frame();
    ASSERT_EQ(recorded.cubes.size(), 1u);
    EXPECT_EQ(recorded.cubes[0].angle, 31);
    EXPECT_TRUE(CubeCopy::live() == start);

    frame();
    ASSERT_EQ(recorded.cubes.size(), 1u);
    EXPECT_EQ(recorded.cubes[0].angle, 61);
    EXPECT_TRUE(CubeCopy::live() == after);
    EXPECT_EQ(turnAngle, 0);

    frame();
    ASSERT_EQ(recorded.cubes.size(), 1u);
    EXPECT_EQ(recorded.cubes[0].angle, 0);
    EXPECT_TRUE(CubeCopy::live() == after);
    EXPECT_EQ(historyTop, 1);
}

TEST(ManualTurn, UpOrDownWhileATurnAnimatesIsRefused) {
    startProgram();
    press(VK_UP);
    frame();
    release(VK_UP);
    // Even with the latch free, the turn in progress refuses a second one.
    keyLatch = 0;
    press(VK_DOWN);
    frame();
    EXPECT_EQ(historyTop, 1);
    EXPECT_EQ(recorded.cubes[0].direction, +1);
    EXPECT_EQ(recorded.cubes[0].angle, 31);
    // Left and Right do not move the layer under a turning layer either.
    release(VK_DOWN);
    keyLatch = 0;
    press(VK_RIGHT);
    frame();
    EXPECT_EQ(selectedLayer, 1);
    EXPECT_EQ(recorded.cubes[0].angle, 61);
}

TEST(ManualTurn, IsRefusedOutsideTheIdleState) {
    startProgram();
    // Paused.
    tap(kP);
    for (int f = 0; f < 4; ++f) frame();
    press(VK_UP);
    for (int f = 0; f < 8; ++f) frame();
    release(VK_UP);
    EXPECT_EQ(historyTop, 0);
    tap(kP);
    for (int f = 0; f < 4; ++f) frame();
    EXPECT_EQ(paused, 0);
    // During a mix.
    tap(kR);
    ASSERT_EQ(mixMode, 2);
    const int top = historyTop;
    press(VK_DOWN);
    for (int f = 0; f < 30; ++f) frame();
    release(VK_DOWN);
    EXPECT_EQ(historyTop, top + 10);
    // A history at its limit refuses a turn and changes nothing.
    startProgram();
    historyTop = kHistoryLimit;
    press(VK_UP);
    frame();
    EXPECT_EQ(historyTop, kHistoryLimit);
    EXPECT_EQ(turnRequest, 0);
    EXPECT_EQ(turnAngle, 0);
    ASSERT_EQ(recorded.cubes.size(), 1u);
    EXPECT_EQ(recorded.cubes[0].angle, 0);
}

// ---- the mix ----------------------------------------------------------------

TEST(Mix, TakesOneHundredFiftyFramesAndAppliesEveryRecord) {
    startProgram();
    const CubeCopy start = CubeCopy::live();
    const int before = historyTop;
    press(kR);
    int frames = 0;
    std::vector<CubeDraw> drawn;
    do {
        frame();
        release(kR);
        ++frames;
        ASSERT_EQ(recorded.cubes.size(), 1u);
        drawn.push_back(recorded.cubes[0]);
        ASSERT_LE(frames, 1000);
    } while (mixMode != 0);
    EXPECT_EQ(frames, 150);
    EXPECT_EQ(historyTop, before + 50);
    // Record i is drawn in frames 3i, 3i+1, 3i+2 at angles 1, 31, 61.
    for (int f = 0; f < 150; ++f) {
        const Move& m = MoveHistory[before + 1 + f / 3];
        EXPECT_EQ(drawn[f].layer, m.layer);
        EXPECT_EQ(drawn[f].direction, m.direction);
        EXPECT_EQ(drawn[f].angle, 1 + 30 * (f % 3));
    }
    EXPECT_TRUE(CubeCopy::live() == turned(start, &MoveHistory[before + 1], 50));
}

TEST(Mix, RHeldForManyFramesStartsOneMixAndAFreshPressAnother) {
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
}

TEST(Mix, RDuringAManualTurnStartsTheMixAfterTheTurn) {
    startProgram();
    press(VK_UP);
    frame();
    release(VK_UP);
    press(kR);
    frame(); // the turn at 31: no mix yet
    EXPECT_EQ(mixMode, 0);
    EXPECT_EQ(recorded.cubes[0].layer, 1);
    EXPECT_EQ(recorded.cubes[0].angle, 31);
    frame(); // the turn ends at 61
    EXPECT_EQ(recorded.cubes[0].angle, 61);
    EXPECT_EQ(mixMode, 0);
    frame(); // the mix starts on the first record after the turn's
    release(kR);
    EXPECT_EQ(mixMode, 2);
    EXPECT_EQ(mixStart, 1);
    EXPECT_EQ(historyTop, 2);
}

TEST(Mix, IsRefusedWhenTheHistoryHasNoRoom) {
    startProgram();
    historyTop = kHistoryLimit - N + 1;
    const int top = historyTop;
    press(kR);
    for (int f = 0; f < 10; ++f) frame();
    EXPECT_EQ(historyTop, top);
    EXPECT_EQ(mixMode, 0);
    EXPECT_EQ(recorded.cubes.size(), 1u);
}

// ---- pause and the face-the-viewer key --------------------------------------

TEST(Pause, FreezesAMixMidTurnAndResumesAtTheSameAngle) {
    // (A manual turn cannot be caught mid-way: the latch that Up sets keeps P
    // out for four frames, and the turn takes three.)
    startProgram();
    const CubeCopy start = CubeCopy::live();
    tap(kR); // record 1 at 1
    frame(); // at 31
    press(kP);
    frame(); // paused with the angle at 61 still to come
    release(kP);
    EXPECT_EQ(paused, 1);
    EXPECT_EQ(recorded.cubes.size(), 0u);
    EXPECT_EQ(recorded.cubies, 27);
    EXPECT_EQ(recorded.markers, 1);
    for (int f = 0; f < 20; ++f) {
        frame();
        ASSERT_EQ(recorded.cubies, 27);
        ASSERT_EQ(turnAngle, 61);
        ASSERT_EQ(mixMode, 2);
    }
    EXPECT_TRUE(CubeCopy::live() == start);
    tap(kP);
    EXPECT_EQ(paused, 0);
    ASSERT_EQ(recorded.cubes.size(), 1u);
    EXPECT_EQ(recorded.cubes[0].angle, 61);
    EXPECT_EQ(recorded.cubes[0].layer, MoveHistory[1].layer);
    EXPECT_TRUE(CubeCopy::live() == turned(start, &MoveHistory[1], 1));
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
    EXPECT_EQ(recorded.depth, 0);
    // The next frame: the cube's own turn is the truncated one.
    frame();
    ASSERT_GE(recorded.rotations.size(), 2u);
    EXPECT_DOUBLE_EQ(recorded.rotations[0].angle, -75.0);
    EXPECT_DOUBLE_EQ(recorded.rotations[1].angle, 0.0);
}

TEST(FrameCycle, CountsToThirtyFourAndWraps) {
    startProgram();
    for (int f = 1; f <= 80; ++f) {
        frame();
        ASSERT_EQ(frameCycle, f % 35);
        ASSERT_EQ(recorded.depth, 0);
    }
}

// ---- solves and their playback ---------------------------------------------

TEST(Playback, ThreeFramesPerMoveAndTheSpinAtThePhaseMark) {
    startProgram();
    const Move moves[] = {{1, 1}, {5, -1}, {7, 1}, {3, -1}};
    for (int i = 0; i < 4; ++i) SolutionList[i] = moves[i];
    solutionCount = 4;
    phaseMark = 2;
    playbackPending = 1;
    solveRequested = 1;
    selectedAlgorithm = 1;
    const CubeCopy start = CubeCopy::live();
    std::vector<CubeDraw> drawn;
    int frames = 0;
    while (playbackPending) {
        frame();
        ++frames;
        ASSERT_EQ(recorded.cubes.size(), 1u);
        drawn.push_back(recorded.cubes[0]);
        ASSERT_LE(frames, 1000);
    }
    EXPECT_EQ(frames, 4 * 3 + 60);
    EXPECT_EQ(viewYaw, 540);
    EXPECT_EQ(viewPitch, 540);
    for (int f = 0; f < 6; ++f) EXPECT_EQ(drawn[f].layer, moves[f / 3].layer);
    for (int f = 6; f < 66; ++f) EXPECT_EQ(drawn[f].angle, 0);
    for (int f = 66; f < 72; ++f) {
        EXPECT_EQ(drawn[f].layer, moves[2 + (f - 66) / 3].layer);
        EXPECT_EQ(drawn[f].angle, 1 + 30 * ((f - 66) % 3));
    }
    EXPECT_TRUE(CubeCopy::live() == turned(start, moves, 4));
    EXPECT_EQ(selectedAlgorithm, -1);
    EXPECT_EQ(solveRequested, 0);
    EXPECT_EQ(phaseMark, 0);
    EXPECT_EQ(spinFrames, 0);
    EXPECT_EQ(SolutionList[0].layer, 0);
}

TEST(Playback, PauseFreezesItAndPKeepsTheAngle) {
    startProgram();
    const Move moves[] = {{4, 1}, {8, -1}};
    SolutionList[0] = moves[0];
    SolutionList[1] = moves[1];
    solutionCount = 2;
    playbackPending = 1;
    selectedAlgorithm = 0;
    frame();
    frame(); // record 0 at 31
    tap(kP);
    EXPECT_EQ(recorded.cubies, 27);
    for (int f = 0; f < 10; ++f) frame();
    EXPECT_EQ(solutionPos, 0);
    EXPECT_EQ(turnAngle, 61);
    tap(kP);
    EXPECT_EQ(recorded.cubes[0].angle, 61);
    EXPECT_EQ(recorded.cubes[0].layer, 4);
    for (int f = 0; f < 3; ++f) frame();
    EXPECT_EQ(playbackPending, 0);
}

TEST(Solve, ZeroOnASolvedCubeEndsInTheNextFrame) {
    TempWorkDir dir;
    startProgram();
    tap(VK_KEY_0);
    EXPECT_EQ(recorded.cubes.size(), 0u); // the computing frame draws no cube
    EXPECT_EQ(playbackPending, 1);
    EXPECT_EQ(solutionCount, 0);
    EXPECT_EQ(selectedAlgorithm, 0);
    frame();
    EXPECT_EQ(playbackPending, 0);
    EXPECT_EQ(selectedAlgorithm, -1);
    EXPECT_EQ(solveRequested, 0);
}

TEST(Solve, ZeroComputesInOneFrameAndPlaysBackThreeFramesPerMove) {
    TempWorkDir dir;
    startProgram();
    tap(kR);
    while (mixMode != 0) frame();
    const CubeCopy mixed = CubeCopy::live();
    ASSERT_FALSE(isSolved());
    tap(VK_KEY_0);
    ASSERT_EQ(playbackPending, 1) << "entry 0 could not solve the mix (are the Base stages in?)";
    EXPECT_EQ(recorded.cubes.size(), 0u);
    EXPECT_TRUE(CubeCopy::live() == mixed); // computed, then put back
    const std::vector<Move> solution(SolutionList, SolutionList + solutionCount);
    ASSERT_GT(solution.size(), 0u);
    std::vector<CubeDraw> drawn;
    int frames = 0;
    while (playbackPending) {
        frame();
        ++frames;
        ASSERT_EQ(recorded.cubes.size(), 1u);
        drawn.push_back(recorded.cubes[0]);
        ASSERT_LE(frames, 3 * 11000);
    }
    EXPECT_EQ(frames, 3 * static_cast<int>(solution.size()));
    for (int f = 0; f < frames; ++f) {
        ASSERT_EQ(drawn[f].layer, solution[f / 3].layer);
        ASSERT_EQ(drawn[f].direction, solution[f / 3].direction);
        ASSERT_EQ(drawn[f].angle, 1 + 30 * (f % 3));
    }
    EXPECT_TRUE(isSolved());
    EXPECT_TRUE(CubeCopy::live() == turned(mixed, solution.data(), solution.size()));
    EXPECT_EQ(selectedAlgorithm, -1);
    EXPECT_EQ(solveRequested, 0);
    EXPECT_EQ(solutionPos, 0);
}

TEST(Solve, ATwoPhaseEntrySpinsTheViewWhereTheBasePhaseBegins) {
    TempWorkDir dir;
    startProgram();
    if (!entryAvailable(1)) GTEST_SKIP() << "entry 1 has no routine in this build";
    tap(kR);
    while (mixMode != 0) frame();
    tap(VK_KEY_0 + 1);
    ASSERT_EQ(playbackPending, 1);
    const int moves = solutionCount;
    const int mark = phaseMark;
    EXPECT_GT(mark, 0); // this mix needs a first phase
    int frames = 0, spinning = 0;
    while (playbackPending) {
        const int yaw = viewYaw;
        frame();
        ++frames;
        if (viewYaw != yaw) {
            // The spin comes exactly when the first phase's moves are played.
            ASSERT_EQ(solutionPos, mark);
            ASSERT_EQ(viewYaw - yaw, 9);
            ++spinning;
        }
        ASSERT_LE(frames, 3 * 11000 + 60);
    }
    EXPECT_EQ(spinning, mark != 0 ? 60 : 0);
    EXPECT_EQ(frames, 3 * moves + spinning);
    EXPECT_TRUE(isSolved());
    EXPECT_EQ(selectedAlgorithm, -1);
}

TEST(Solve, AnAbandonedSolveLeavesTheCubeAndPlaysNothing) {
    TempWorkDir dir;
    StageTableGuard guard;
    startProgram();
    tap(kR);
    while (mixMode != 0) frame();
    const CubeCopy mixed = CubeCopy::live();
    // Stages that never get anywhere: the solve runs into its bound.
    for (int s = 1; s <= 7; ++s) baseStageTable[s] = idleStage;
    stageCalls = 0;
    tap(VK_KEY_0);
    EXPECT_GT(stageCalls, 0);
    EXPECT_EQ(playbackPending, 0);
    EXPECT_EQ(solveRequested, 0);
    EXPECT_EQ(selectedAlgorithm, -1);
    EXPECT_TRUE(CubeCopy::live() == mixed);
    EXPECT_EQ(recorded.cubes.size(), 1u);
    // Up works again at once.
    for (int f = 0; f < 4; ++f) frame();
    tap(VK_UP);
    EXPECT_EQ(historyTop, 51);
}

TEST(Solve, AnEntryWithoutARoutineIsDroppedInOneFrame) {
    TempWorkDir dir;
    StageTableGuard guard;
    startProgram();
    firstPhaseTable[3] = nullptr;
    const CubeCopy start = CubeCopy::live();
    tap(VK_KEY_0 + 3);
    EXPECT_EQ(selectedAlgorithm, -1);
    EXPECT_EQ(solveRequested, 0);
    EXPECT_EQ(playbackPending, 0);
    EXPECT_TRUE(CubeCopy::live() == start);
}

TEST(Solve, ADigitDuringAManualTurnWaitsForItsEnd) {
    TempWorkDir dir;
    StageTableGuard guard;
    startProgram();
    for (int s = 1; s <= 7; ++s) baseStageTable[s] = idleStage;
    stageCalls = 0;
    press(VK_UP);
    frame();
    release(VK_UP);
    tap(VK_KEY_0); // at 31: waits
    EXPECT_EQ(solveRequested, 0);
    EXPECT_EQ(recorded.cubes[0].angle, 31);
    frame(); // 61: the turn ends
    EXPECT_EQ(stageCalls, 0);
    EXPECT_EQ(recorded.cubes[0].angle, 61);
    frame(); // now the solve runs (and gives up on these stages)
    EXPECT_GT(stageCalls, 0);
    EXPECT_EQ(pendingDigit, -1);
    EXPECT_EQ(selectedAlgorithm, -1);
}

TEST(Solve, WithSeveralDigitsHeldTheLowestWins) {
    TempWorkDir dir;
    startProgram();
    press(VK_KEY_0 + 4);
    press(VK_KEY_0 + 2);
    press(VK_KEY_0 + 5);
    recorded.clear();
    latchStep();
    readKeys();
    EXPECT_EQ(selectedAlgorithm, 2);
    EXPECT_EQ(solveRequested, 1);
}

TEST(Quick, UndoesAMixAndAManualTurnFrameByFrame) {
    startProgram();
    tap(VK_DOWN);
    while (turnAngle != 0) frame();
    tap(kR);
    while (mixMode != 0) frame();
    ASSERT_EQ(historyTop, 51);
    ASSERT_FALSE(isSolved());
    tap(VK_KEY_0 + 5);
    int frames = 1;
    while (selectedAlgorithm == 5) {
        frame();
        ++frames;
        ASSERT_EQ(recorded.cubes.size(), 1u);
        ASSERT_LE(frames, 3000);
    }
    EXPECT_TRUE(isSolved());
    EXPECT_EQ(historyTop, 0);
    EXPECT_EQ(solveRequested, 0);
    EXPECT_EQ(quickPrepared, 0);
}

TEST(Quick, OnASolvedCubeWithNoHistoryFinishesAtOnce) {
    startProgram();
    const CubeCopy start = CubeCopy::live();
    tap(VK_KEY_0 + 5);
    EXPECT_EQ(selectedAlgorithm, -1);
    EXPECT_EQ(solveRequested, 0);
    EXPECT_EQ(historyTop, 0);
    EXPECT_TRUE(CubeCopy::live() == start);
    ASSERT_EQ(recorded.cubes.size(), 1u);
    EXPECT_EQ(recorded.cubes[0].angle, 0);
}
