// The cube model: start state, the worked turns, turn properties over random
// sequences, invalid moves, the runtime generator, the mix, the history bound
// and the byte-exact text files.
#include "tests/support/cube_support.h"

#include <fstream>

using namespace cubetest;

namespace {

// A cubie is a proper rotation of a start cubie: colours 1..6 once each,
// opposite colours (1,3), (2,4), (5,6) on opposite sides, right-handed.
bool isProperRotation(const int* s) {
    static const int dir[7][3] = {{0, 0, 0},  {0, 0, -1}, {1, 0, 0}, {0, 0, 1},
                                  {-1, 0, 0}, {0, -1, 0}, {0, 1, 0}};
    static const int opposite[7] = {0, 3, 4, 1, 2, 6, 5};
    int pos[7] = {};
    for (int i = 1; i <= 6; ++i) {
        if (s[i] < 1 || s[i] > 6 || pos[s[i]]) return false;
        pos[s[i]] = i;
    }
    for (int i = 1; i <= 6; ++i)
        if (s[opposite[i]] != opposite[s[i]]) return false;
    // Colour c started on side c: the images of +x, +y, +z (colours 2, 6, 3).
    const int *ex = dir[pos[2]], *ey = dir[pos[6]], *ez = dir[pos[3]];
    return ex[1] * ey[2] - ex[2] * ey[1] == ez[0] && ex[2] * ey[0] - ex[0] * ey[2] == ez[1] &&
           ex[0] * ey[1] - ex[1] * ey[0] == ez[2];
}

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

TEST(Cube, StartStateAndTheWorkedTurns) {
    freshProgram();
    EXPECT_TRUE(isSolved());
    EXPECT_TRUE(gridAgreesWithCubies());
    for (int f = 1; f <= 6; ++f) EXPECT_EQ(FaceletGrid[f][2][2], kStartFaceColour[f]) << f;

    // One turn of a layer from the start: the colour on each face's strips
    // (row or column 0: all of them). Layer 9: faces 5 and 6 swap colours, the
    // face-5 strips move 1 -> 4 -> 3 -> 2 -> 1; layer 5: the middle columns turn.
    const struct {
        int layer, face, row, col, colour;
    } strips[] = {{9, 5, 0, 0, 6}, {9, 6, 0, 0, 5}, {9, 4, 3, 0, 3}, {9, 3, 0, 3, 2},
                  {9, 2, 3, 0, 1}, {9, 1, 0, 3, 4}, {5, 1, 0, 0, 3}, {5, 3, 0, 0, 1},
                  {5, 2, 0, 2, 6}, {5, 5, 0, 2, 2}, {5, 4, 0, 2, 5}, {5, 6, 0, 2, 4}};
    for (const auto& s : strips) {
        freshProgram();
        turnLayer(s.layer, +1);
        EXPECT_FALSE(isSolved());
        EXPECT_TRUE(s.layer != 9 || CubieArray[3][3][3][2] == 3);
        for (int a = 1; a <= 3; ++a)
            for (int b = 1; b <= 3; ++b)
                EXPECT_TRUE((s.row && s.row != a) || (s.col && s.col != b) ||
                            FaceletGrid[s.face][a][b] == s.colour)
                    << "layer " << s.layer << ", face " << s.face << " " << a << b;
    }
}

TEST(Cube, InvalidMovesTurnNothingButRebuildTheGrid) {
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
        for (int x = 1; x <= 3; ++x)
            for (int y = 1; y <= 3; ++y)
                for (int z = 1; z <= 3; ++z)
                    ASSERT_TRUE(isProperRotation(CubieArray[x][y][z])) << x << y << z;
        ASSERT_TRUE(gridAgreesWithCubies()) << "trial " << trial;
        // The backup brings the cube back from any later turns.
        backupCube();
        apply(randomTurns(rng, 5));
        restoreCube();
        ASSERT_EQ(backupTaken, 0);
        ASSERT_FALSE(sameCubies(before)) << "trial " << trial;
        turnLayer(t.first, -t.second);
        ASSERT_TRUE(Snapshot::take() == before) << "restore, trial " << trial;
    }
}

TEST(Moves, RuntimeGeneratorAndTheFirstMixOfARun) {
    runtimeSeed(1); // the classic first draws of this generator
    EXPECT_EQ(runtimeRand(), 41);
    EXPECT_EQ(runtimeRand(), 18467);
    EXPECT_EQ(runtimeRand(), 6334);

    freshRun();
    ASSERT_EQ(randomMix(), 1);
    EXPECT_EQ(historyTop, 1); // the cursor stands on the first new record
    const std::vector<Move> first(MoveHistory + 1, MoveHistory + 51);
    const int k = 25 + 41 % 9 + 5; // from the run's first draw
    for (int i = k + 1; i <= 50; ++i) {
        EXPECT_EQ(MoveHistory[i].layer, MoveHistory[2 * k + 1 - i].layer);
        EXPECT_EQ(MoveHistory[i].direction, -MoveHistory[2 * k + 1 - i].direction);
    }
    playMixWhole();
    EXPECT_EQ(historyTop, 50);
    const Snapshot mixed = Snapshot::take();
    // The same cube comes from the first 2k - 50 moves alone.
    freshRun();
    for (int i = 0; i < 2 * k - 50; ++i) turnLayer(first[i].layer, first[i].direction);
    EXPECT_TRUE(Snapshot::take() == mixed);
    // Every run starts the generator afresh: the first mix is the same again.
    freshRun();
    ASSERT_EQ(randomMix(), 1);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(Turn(MoveHistory[i + 1].layer, MoveHistory[i + 1].direction),
                  Turn(first[i].layer, first[i].direction));
}

TEST(Moves, NineteenMixesFitTheTwentiethIsRefusedWholeAndTurnsStopAt983) {
    freshRun();
    for (int mix = 0; mix < 19; ++mix) {
        ASSERT_EQ(randomMix(), 1) << mix;
        playMixWhole();
    }
    EXPECT_EQ(historyTop, 950);
    EXPECT_EQ(randomMix(), 0);
    EXPECT_EQ(historyTop, 950);
    EXPECT_EQ(mixStart, 900);
    const int next = runtimeRand(); // the refused mix drew nothing
    freshRun();
    for (int mix = 0; mix < 19; ++mix) randomMix(), playMixWhole();
    EXPECT_EQ(runtimeRand(), next);
    for (int i = 951; i <= kHistoryLimit; ++i) ASSERT_EQ(pushHistory(7, 1), 1);
    EXPECT_EQ(pushHistory(7, 1), 0);
    EXPECT_EQ(historyTop, 983);
    EXPECT_EQ(MoveHistory[984].layer, 0);
}

TEST(TextLogs, TraceTruncatedJournalAppendedByteForByte) {
    TempWorkDir dir; // the files land in a fresh directory
    traceOpen();
    traceMove(7, 1);
    traceMove(2, -1);
    traceMarker("HERE");
    traceClose();
    EXPECT_EQ(readFile(kTraceFileName), "7 1\n2 -1\nHERE\n");
    traceOpen(); // a call that writes nothing leaves an empty trace
    traceClose();
    EXPECT_EQ(readFile(kTraceFileName), "");
    for (const Moves& call : {Moves{{7, 1}}, Moves{}, Moves{{2, -1}, {9, 1}}}) {
        journalOpen();
        for (const Turn& m : call) journalMove(m.first, m.second);
        journalClose();
    }
    EXPECT_EQ(readFile(kJournalFileName), "7 1\n2 -1\n9 1\n");
}

// Within a solve nothing reaches the files until the commit; then the trace
// holds the last stage call and the journal the solve's lines after the old
// ones. A journal too long for one solve's buffer still lands whole, in order.
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
