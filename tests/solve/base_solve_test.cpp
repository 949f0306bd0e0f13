// The Base driver and the whole solve of menu entry 0: the driver's steps,
// the bound that stops a stalled solve, and properties over many cubes.
#include "tests/support/cube_support.h"

using namespace cubetest;

namespace {

int stageRuns[8];
StageRoutine realStages[8];

// Records which stage ran, then runs the real one.
template <int K> void countingStage() {
    ++stageRuns[K];
    realStages[K]();
}

void stallingStage() {
    stageBegin();
    emitMove(7, 1); // turns the last layer round and round: never finishes
    stageEnd();
}

void floodingStage() {
    stageBegin();
    for (int i = 0; i < kMoveListSize; ++i) emitMove(8, 1);
    stageEnd();
}

class BaseSolve : public CubeTest {
  protected:
    void SetUp() override {
        CubeTest::SetUp();
        std::copy(baseStageTable, baseStageTable + 8, realStages);
        historyTop = 0;
        moveListDropped = 0;
    }
    static void scramble(std::mt19937& rng, int length) { apply(randomTurns(rng, length)); }
    // One solve of entry 0 with every check the program relies on.
    void solveAndCheck(const char* what) {
        const Snapshot before = Snapshot::take();
        const long journalBefore = fileSize(kJournalFileName);
        solveState.solveRequested = 1;
        ASSERT_EQ(computeSolve(0), 1) << what;
        EXPECT_LT(solveState.driverCalls, 100) << what;
        EXPECT_EQ(solveState.solveRequested, 0) << what;
        EXPECT_EQ(solveState.playbackPending, 1) << what;
        EXPECT_EQ(backupTaken, 0) << what;
        EXPECT_EQ(solveState.lastStageActive, 0) << what;
        // The restored cube is the cube before the solve.
        ASSERT_TRUE(Snapshot::take() == before) << what;
        // The journal grew by exactly the solution's lines.
        EXPECT_EQ(readFrom(kJournalFileName, journalBefore), linesOf(solution())) << what;
        // The playback solves it.
        apply(solution());
        ASSERT_TRUE(isSolved()) << what;
        solveState.playbackPending = 0;
        EXPECT_EQ(moveListDropped, 0) << what;
    }
};

} // namespace

TEST_F(BaseSolve, DriverOnASolvedCubeAppliesNothing) {
    solveState.solveRequested = 1;
    solveState.workColourSet = 1;
    BaseDriver();
    EXPECT_EQ(solveState.solveRequested, 0);
    EXPECT_EQ(solveState.workColourSet, 0);
    EXPECT_EQ(solveState.playbackPending, 1);
    EXPECT_EQ(backupTaken, 1);
    EXPECT_EQ(solutionCount, 0);
    EXPECT_EQ(readFile("kub2.txt"), ""); // created empty
    // Pressing 0 on a solved cube: one driver call, nothing recorded.
    backupTaken = 0;
    solveState.solveRequested = 1;
    ASSERT_EQ(computeSolve(0), 1);
    EXPECT_EQ(solveState.driverCalls, 1);
    EXPECT_EQ(solutionCount, 0);
    EXPECT_TRUE(isSolved());
}

TEST_F(BaseSolve, BackupIsTakenOnTheFirstCallOnly) {
    turnLayer(4, 1);
    turnLayer(7, -1);
    const Snapshot before = Snapshot::take();
    BaseDriver();
    ASSERT_EQ(backupTaken, 1);
    turnLayer(2, 1);
    BaseDriver();
    // The backup still holds the cube of the first call.
    restoreCube();
    EXPECT_TRUE(Snapshot::take() == before);
}

TEST_F(BaseSolve, LastStageActiveRunsStageSevenWhateverTheOtherTestsSay) {
    for (int k = 0; k < 8; ++k) stageRuns[k] = 0;
    baseStageTable[1] = countingStage<1>;
    baseStageTable[7] = countingStage<7>;
    turnLayer(9, 1); // the cross is broken
    turnLayer(7, 1); // and the last layer turned
    ASSERT_FALSE(stageComplete1());
    ASSERT_FALSE(stageComplete7());
    solveState.lastStageActive = 1;
    BaseDriver();
    EXPECT_EQ(stageRuns[7], 1);
    EXPECT_EQ(stageRuns[1], 0);
    solveState.lastStageActive = 0;
    BaseDriver();
    EXPECT_EQ(stageRuns[1], 1);
}

TEST_F(BaseSolve, StalledStageIsStoppedAtTheBoundAndTheSolveAbandoned) {
    std::mt19937 rng(3);
    scramble(rng, 25);
    ASSERT_FALSE(stageComplete1());
    const Snapshot before = Snapshot::take();
    baseStageTable[1] = stallingStage;
    solveState.solveRequested = 1;
    EXPECT_EQ(computeSolve(0), 0);
    EXPECT_EQ(solveState.driverCalls, kMaxDriverCalls);
    EXPECT_TRUE(Snapshot::take() == before);
    EXPECT_EQ(solutionCount, 0);
    EXPECT_EQ(solveState.playbackPending, 0);
    EXPECT_EQ(solveState.solveRequested, 0);
    EXPECT_EQ(backupTaken, 0);
    EXPECT_EQ(solveState.lastStageActive, 0);
    // The program goes on: the next solve with the real stages works.
    baseStageTable[1] = savedTable[1];
    solveAndCheck("after an abandoned solve");
}

TEST_F(BaseSolve, FullSolutionListStopsTheSolveWithoutWritingPastIt) {
    std::mt19937 rng(4);
    scramble(rng, 25);
    const Snapshot before = Snapshot::take();
    baseStageTable[1] = floodingStage;
    solveState.solveRequested = 1;
    EXPECT_EQ(computeSolve(0), 0);
    EXPECT_LE(solveState.driverCalls, kSolutionListSize / kMoveListSize + 1);
    EXPECT_TRUE(Snapshot::take() == before);
    EXPECT_EQ(solutionCount, 0);
    EXPECT_EQ(solveState.playbackPending, 0);
    // The journal holds exactly the moves that went in before the list was full.
    const std::string journal = readFile("kub2.txt");
    EXPECT_EQ(static_cast<long>(std::count(journal.begin(), journal.end(), '\n')),
              kSolutionListSize);
}

TEST_F(BaseSolve, SolvesTenThousandRandomCubes) {
    std::mt19937 rng(20261206);
    int longest = 0, mostCalls = 0;
    for (int trial = 0; trial < 10000; ++trial) {
        resetCube();
        scramble(rng, 20 + static_cast<int>(rng() % 20));
        const std::string what = "cube " + std::to_string(trial);
        solveAndCheck(what.c_str());
        if (HasFatalFailure()) return;
        longest = std::max(longest, solutionCount);
        mostCalls = std::max(mostCalls, solveState.driverCalls);
        // Keep the journal small; its growth is checked per solve.
        if (trial % 500 == 0) unlink("kub2.txt");
    }
    RecordProperty("longest_solution", longest);
    RecordProperty("most_driver_calls", mostCalls);
    std::printf("entry 0 over 10000 cubes: longest solution %d moves, most driver calls %d\n",
                longest, mostCalls);
}

TEST_F(BaseSolve, SolvesAfterEachOfNineteenMixesOfARun) {
    // The run's generator from its start, as the program presses R again and
    // again with a solve after each mix; stage 7's corner stays as the run left it.
    for (int mix = 1; mix <= 19; ++mix) {
        ASSERT_EQ(randomMix(), 1) << mix;
        playMixWhole();
        const std::string what = "after mix " + std::to_string(mix);
        solveAndCheck(what.c_str());
        if (HasFatalFailure()) return;
    }
    EXPECT_EQ(historyTop, 950);
}

TEST_F(BaseSolve, TwoSolvesInARunJournalBothAndTraceOnlyTheLastCall) {
    std::mt19937 rng(11);
    scramble(rng, 30);
    solveAndCheck("first");
    const Moves first = solution();
    scramble(rng, 30);
    solveAndCheck("second");
    EXPECT_EQ(readFile(kJournalFileName), linesOf(first) + linesOf(solution()));
    // The trace holds one stage call's lines only: never more than a MoveList.
    const std::string trace = readFile("Kyb.txt");
    EXPECT_LE(std::count(trace.begin(), trace.end(), '\n'), 2 * kMoveListSize);
}

// A stage or routine with nothing to do emits no move: moveListLast 0,
// record 0 left as an earlier call wrote it (the driver takes it again),
// "Kyb.txt" truncated.
TEST_F(BaseSolve, CallsWithNothingToDoEmitNothingAndKeepRecord0) {
    const struct {
        const char* name;
        void (*routine)();
        Moves cube;
    } cases[] = {
        {"stage 2, face 5 done", baseStage2, {{7, 1}}},
        {"stage 3, middle layer done", baseStage3, {{7, -1}}},
        {"stage 6, no edge flipped", baseStage6, {}},
        {"corner raise, none in the face-6 layer", raiseFace5Corner, {}},
        {"pair corner, already out", removePairCorner, {{6, -1}}},
        {"pair edge, already out", removePairEdge, {{6, -1}}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        startState();
        apply(k.cube);
        solveState.workColour = centre(5);
        solveState.workColourSet = 1;
        MoveList[0] = {9, -1};
        moveListLast = 5;
        writeFile(kTraceFileName, "old\n");
        k.routine();
        EXPECT_EQ(moveListLast, 0);
        EXPECT_EQ(MoveList[0].layer, 9);
        EXPECT_EQ(MoveList[0].direction, -1);
        EXPECT_EQ(readFile(kTraceFileName), "");
    }
}
