// The cube model: turns, the generator, the mix bound, the text files' commit.
#include "tests/support/cube_support.h"

#include <fstream>

using namespace cubetest;

namespace {

bool gridAgreesWithCubies() {
    const Snapshot before = Snapshot::take();
    rebuildFaceletGrid();
    return Snapshot::take() == before;
}

bool sameCubies(const Snapshot& a) {
    return std::memcmp(CubieArray, a.cubies, sizeof a.cubies) == 0;
}

void freshRun() {
    freshProgram();
    historyTop = mixStart = 0;
}

} // namespace

// The start is solved; a move outside 1..9 or +-1 turns nothing.
TEST(Cube, InvalidMovesTurnNothingButRebuildTheGrid) {
    freshProgram();
    EXPECT_TRUE(isSolved());
    for (const Turn& m : Moves{{0, 1}, {10, -1}, {3, 0}, {-1, 1}, {5, 2}}) {
        freshProgram();
        turnLayer(2, 1);
        const Snapshot before = Snapshot::take();
        FaceletGrid[1][1][1] = 99; // edited by hand
        turnLayer(m.first, m.second);
        EXPECT_TRUE(Snapshot::take() == before) << m.first << " " << m.second;
    }
}

TEST(Cube, TurnPropertiesOverRandomSequences) {
    std::mt19937 rng(12345);
    for (int trial = 0; trial < 3000; ++trial) {
        freshProgram();
        apply(randomTurns(rng, 1 + static_cast<int>(rng() % 40)));
        const Turn t = randomTurns(rng, 1)[0];
        const Snapshot before = Snapshot::take();
        for (int i = 0; i < 4; ++i) turnLayer(t.first, t.second);
        ASSERT_TRUE(sameCubies(before)) << "four turns, trial " << trial;
        turnLayer(t.first, t.second);
        turnLayer(t.first, -t.second);
        ASSERT_TRUE(sameCubies(before)) << "turn and inverse, trial " << trial;
        turnLayer(t.first, t.second);
        ASSERT_TRUE(gridAgreesWithCubies()) << "trial " << trial;
        turnLayer(t.first, -t.second);
        ASSERT_TRUE(Snapshot::take() == before) << "trial " << trial;
    }
}

// Every run starts the generator afresh; a refused mix draws nothing.
TEST(Moves, RuntimeGeneratorAndTheRefusedMix) {
    runtimeSeed(1);
    EXPECT_EQ(runtimeRand(), 41);
    EXPECT_EQ(runtimeRand(), 18467);
    EXPECT_EQ(runtimeRand(), 6334);
    freshRun();
    ASSERT_EQ(randomMix(), 1);
    const std::vector<Move> first(MoveHistory + 1, MoveHistory + 51);
    freshRun();
    for (int mix = 0; mix < 19; ++mix) {
        ASSERT_EQ(randomMix(), 1) << mix;
        for (int i = 0; mix == 0 && i < 50; ++i)
            EXPECT_EQ(Turn(MoveHistory[i + 1].layer, MoveHistory[i + 1].direction),
                      Turn(first[i].layer, first[i].direction));
        playMixWhole();
    }
    EXPECT_EQ(randomMix(), 0);
    EXPECT_EQ(historyTop, 950);
    const int next = runtimeRand();
    freshRun();
    for (int mix = 0; mix < 19; ++mix) randomMix(), playMixWhole();
    EXPECT_EQ(runtimeRand(), next);
}

// Nothing reaches the files before the commit; a long journal lands whole.
TEST(TextLogs, ASolveWritesAtItsCommitOnly) {
    TempWorkDir dir;
    { std::ofstream(kJournalFileName) << "9 1\n"; }
    textLogBegin();
    traceOpen();
    traceMove(1, 1);
    traceClose();
    traceOpen();
    traceMarker("XX");
    traceClose();
    journalOpen();
    journalMove(7, 1);
    journalMove(2, -1);
    journalClose();
    EXPECT_EQ(readFile(kTraceFileName), "<missing>");
    EXPECT_EQ(readFile(kJournalFileName), "9 1\n");
    EXPECT_EQ(textLogCommit(), 0);
    EXPECT_EQ(readFile(kTraceFileName), "XX\n");
    EXPECT_EQ(readFile(kJournalFileName), "9 1\n7 1\n2 -1\n");

    std::string expected = readFile(kJournalFileName);
    textLogBegin();
    journalOpen();
    for (int i = 0; i < 60000; ++i) {
        journalMove(1 + i % 9, i % 2 ? 1 : -1);
        expected += std::to_string(1 + i % 9) + (i % 2 ? " 1\n" : " -1\n");
    }
    journalClose();
    EXPECT_EQ(textLogCommit(), 0);
    EXPECT_TRUE(readFile(kJournalFileName) == expected);
    const char* text = nullptr;
    EXPECT_EQ(takeTextLogFault(&text), 0);
}
