// "2x2x2": the block tests, the fixed turns, the driver's branches, the
// 400-move cut-off with its one retry, and the cube whose retry fails too.
#include "tests/support/cube_support.h"

using namespace cubetest;

namespace {

bool blockComplete() {
    return blockEdgesComplete() && blockCornerComplete() && blockMiddleEdgeComplete();
}

// Turns of layers 1, 4 and 7 only: none of them holds a piece of the block
// or a centre of faces 1, 4, 5.
Moves turnsOutsideTheBlock(std::mt19937& rng, int n) {
    static constexpr int layers[3] = {1, 4, 7};
    Moves out;
    for (int i = 0; i < n; ++i) out.push_back({layers[rng() % 3], rng() % 2 ? 1 : -1});
    return out;
}

int lineCount(const std::string& s) {
    return static_cast<int>(std::count(s.begin(), s.end(), '\n'));
}

} // namespace

using TwoByTwo = CubeTest;

TEST_F(TwoByTwo, BlockTestsReadTheirCellsAgainstTheCentres) {
    EXPECT_TRUE(blockComplete());
    // Layers 1 and 4 lie outside the block.
    turnLayer(1, 1);
    turnLayer(4, -1);
    EXPECT_TRUE(blockComplete());
    // Face 1's layer carries the corner, the face-5 edge next to face 1 and
    // the middle edge away.
    turnLayer(6, 1);
    EXPECT_FALSE(blockEdgesComplete());
    EXPECT_FALSE(blockCornerComplete());
    EXPECT_FALSE(blockMiddleEdgeComplete());
    freshProgram();
    // The middle slice between faces 5 and 6 carries the middle edge on
    // together with the side centres, so the middle edge still matches them;
    // the face-5 pieces, which stay, no longer do.
    turnLayer(8, 1);
    EXPECT_TRUE(blockMiddleEdgeComplete());
    EXPECT_FALSE(blockEdgesComplete());
    EXPECT_FALSE(blockCornerComplete());
}

TEST_F(TwoByTwo, CompleteBlockFirstMakesTheTwoFixedTurns) {
    std::mt19937 rng(5);
    for (int trial = 0; trial < 50; ++trial) {
        freshProgram();
        apply(turnsOutsideTheBlock(rng, 15));
        ASSERT_TRUE(blockComplete());
        const Snapshot cube = Snapshot::take();
        std::remove(kJournalFileName);
        writeFile(kTraceFileName, "old\n");
        MoveList[0] = {9, 1};
        TwoByTwoDriver();
        EXPECT_EQ(solution(), (Moves{{1, -1}, {4, -1}}));
        EXPECT_EQ(readFile(kJournalFileName), "1 -1\n4 -1\n");
        EXPECT_EQ(readFile(kTraceFileName), "old\n");
        EXPECT_EQ(MoveList[0].layer, 9); // the MoveList is not used for them
        EXPECT_EQ(solveState.blockTurnsDone, 1);
        EXPECT_EQ(solveState.playbackPending, 1);
        EXPECT_TRUE(blockComplete());
        const Snapshot driven = Snapshot::take();
        cube.put();
        apply({{1, -1}, {4, -1}});
        EXPECT_TRUE(Snapshot::take() == driven);
        // Once made, they are not made again: the next call does nothing.
        driven.put();
        TwoByTwoDriver();
        EXPECT_EQ(solutionCount, 2);
        EXPECT_EQ(readFile(kJournalFileName), "1 -1\n4 -1\n");
    }
}

TEST_F(TwoByTwo, RetryStartsFromTheBackupTurnedByLayerOne) {
    std::mt19937 rng(3);
    apply(randomTurns(rng, 20));
    backupCube();
    const Snapshot original = Snapshot::take();
    apply(randomTurns(rng, 10));
    for (int i = 0; i < 10; ++i) appendSolution(2, 1);
    writeFile(kJournalFileName, "kept\n");
    solveState.blockTurnsDone = 1;
    const int retries = blockRetries;
    restartBlockAttempt();
    EXPECT_EQ(blockRetries, retries + 1);
    EXPECT_EQ(solution(), (Moves{{1, -1}}));
    EXPECT_EQ(readFile(kJournalFileName), "kept\n"); // the (1, -1) is not journalled
    EXPECT_EQ(solveState.blockTurnsDone, 1);
    EXPECT_EQ(backupTaken, 1);
    const Snapshot retried = Snapshot::take();
    original.put();
    turnLayer(1, -1);
    EXPECT_TRUE(Snapshot::take() == retried); // both arrays, the grid rebuilt
}

// The cut-off counts the moves of the attempt: an attempt that ends at 399
// moves or more is retried even with the block complete, one that ends at
// 398 is not. A SolutionList already that long puts the first phase there.
TEST_F(TwoByTwo, CutOffAtThreeHundredNinetyNineMoves) {
    struct Case {
        int start, retried;
    };
    for (const Case c : {Case{396, 0}, Case{397, 1}, Case{398, 1}}) {
        freshProgram();
        std::remove(kJournalFileName);
        for (int i = 0; i < c.start; ++i) appendSolution(7, 1);
        const int retries = blockRetries;
        ASSERT_EQ(runFirstPhase(2), 1);
        EXPECT_EQ(blockRetries, retries + c.retried) << c.start;
        // The fixed turns are made once; the retry does not make them again.
        EXPECT_EQ(readFile(kJournalFileName), "1 -1\n4 -1\n");
        if (c.retried) {
            EXPECT_EQ(solution(), (Moves{{1, -1}}));
            EXPECT_EQ(solveState.phaseMark, 1);
            const Snapshot retried = Snapshot::take();
            initCubieArray();
            initFaceletGrid();
            turnLayer(1, -1);
            EXPECT_TRUE(Snapshot::take() == retried);
        } else {
            EXPECT_EQ(solutionCount, c.start + 2);
            EXPECT_EQ(solveState.phaseMark, c.start + 2);
        }
    }
    // At 400 moves no iteration starts: the retry comes at once, and the
    // fixed turns are made in the retried attempt.
    freshProgram();
    std::remove(kJournalFileName);
    for (int i = 0; i < 400; ++i) appendSolution(7, 1);
    backupCube();
    ASSERT_EQ(runFirstPhase(2), 1);
    EXPECT_EQ(solution(), (Moves{{1, -1}, {1, -1}, {4, -1}}));
    EXPECT_EQ(readFile(kJournalFileName), "1 -1\n4 -1\n");
    EXPECT_EQ(solveState.phaseMark, 3);
}

// From the start state turn (3,-1) (7,-1) (7,-1): the first attempt and its
// retry both run into the cut-off, and the Base loop solves the cube alone.
TEST_F(TwoByTwo, RetryThatFailsTooLeavesTheCubeToTheBaseLoop) {
    const Moves mix = {{3, -1}, {7, -1}, {7, -1}};
    apply(mix);
    const Snapshot cube = Snapshot::take();
    const int retries = blockRetries, abandoned = blockRetriesAbandoned;
    ASSERT_EQ(computeSolve(2), 1);
    EXPECT_EQ(blockRetries, retries + 1);
    EXPECT_EQ(blockRetriesAbandoned, abandoned + 1);
    EXPECT_EQ(solveState.phaseMark, 0);
    EXPECT_EQ(backupTaken, 0);
    EXPECT_TRUE(Snapshot::take() == cube);
    const Moves entry2 = solution();
    const std::string journal = readFile(kJournalFileName);
    apply(entry2);
    EXPECT_TRUE(isSolved());
    // Both abandoned attempts stay in the journal, at least 399 + 398 moves
    // (the retry's own (1, -1) is not journalled), then the Base loop's moves.
    const std::string tail = linesOf(entry2);
    ASSERT_GE(journal.size(), tail.size());
    EXPECT_EQ(journal.substr(journal.size() - tail.size()), tail);
    EXPECT_GE(lineCount(journal) - static_cast<int>(entry2.size()), 399 + 398);

    // The solution is the one the Base algorithm finds on the same cube.
    freshProgram();
    std::remove(kJournalFileName);
    apply(mix);
    ASSERT_EQ(computeSolve(0), 1);
    EXPECT_EQ(solution(), entry2);
}

// Without the cut-off's end the retry would go on for ever: a third attempt
// from the same cube with the same flags repeats the second move for move.
TEST_F(TwoByTwo, AThirdAttemptWouldRepeatTheSecond) {
    apply({{3, -1}, {7, -1}, {7, -1}});
    runBlockAttempt();
    ASSERT_GE(solutionCount, 399);
    restartBlockAttempt();
    runBlockAttempt();
    const Moves second = solution();
    ASSERT_GE(second.size(), 399u);
    restartBlockAttempt();
    runBlockAttempt();
    EXPECT_EQ(solution(), second);
}
