// Move lists, the random mix, the runtime generator and the two text files.
#include "model/cube.h"
#include "model/moves.h"
#include "model/textlog.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <vector>

namespace {

void freshRun() {
    initCubieArray();
    initFaceletGrid();
    backupTaken = 0;
    historyTop = 0;
    mixStart = 0;
    solutionCount = 0;
    runtimeSeed(1);
}

} // namespace

TEST(RuntimeRand, FollowsTheLinearCongruentialRule) {
    runtimeSeed(1);
    unsigned state = 1;
    for (int i = 0; i < 1000; ++i) {
        state = state * 214013u + 2531011u;
        ASSERT_EQ(runtimeRand(), static_cast<int>((state >> 16) & 0x7FFF));
    }
    // The first draws of a run with state 1: 41, 18467, 6334 (the classic
    // sequence of this generator).
    runtimeSeed(1);
    EXPECT_EQ(runtimeRand(), 41);
    EXPECT_EQ(runtimeRand(), 18467);
    EXPECT_EQ(runtimeRand(), 6334);
}

TEST(RandomMix, FirstMixOfARunIsAlwaysTheSameAndNetsOutToItsRandomPart) {
    freshRun();
    ASSERT_EQ(randomMix(), 1);
    EXPECT_EQ(mixStart, 0);
    EXPECT_EQ(historyTop, 1); // the cursor stands on the first new record
    std::vector<Move> first(MoveHistory + 1, MoveHistory + 51);

    // k from the first draw: 25 + 41 % 9 + 5 = 35.
    const int k = 25 + 41 % 9 + 5;
    for (int i = k + 1; i <= 50; ++i) {
        EXPECT_EQ(MoveHistory[i].layer, MoveHistory[2 * k + 1 - i].layer);
        EXPECT_EQ(MoveHistory[i].direction, -MoveHistory[2 * k + 1 - i].direction);
    }
    playMixWhole();
    EXPECT_EQ(historyTop, 50);
    int mixed[4][4][4][7];
    std::copy(&CubieArray[0][0][0][0], &CubieArray[0][0][0][0] + 448, &mixed[0][0][0][0]);

    // The same cube comes from the first 2k - 50 random moves alone.
    initCubieArray();
    initFaceletGrid();
    for (int i = 1; i <= 2 * k - 50; ++i) turnLayer(first[i - 1].layer, first[i - 1].direction);
    EXPECT_TRUE(
        std::equal(&CubieArray[0][0][0][0], &CubieArray[0][0][0][0] + 448, &mixed[0][0][0][0]));

    // Every run starts the generator afresh: the first mix is the same again.
    freshRun();
    ASSERT_EQ(randomMix(), 1);
    for (int i = 1; i <= 50; ++i) {
        EXPECT_EQ(MoveHistory[i].layer, first[i - 1].layer);
        EXPECT_EQ(MoveHistory[i].direction, first[i - 1].direction);
    }
}

TEST(HistoryBound, NineteenMixesFitTheTwentiethIsRefusedWhole) {
    freshRun();
    for (int mix = 0; mix < 19; ++mix) {
        ASSERT_EQ(randomMix(), 1) << mix;
        for (int i = mixStart + 1; i <= mixStart + N; ++i) {
            ASSERT_TRUE(MoveHistory[i].layer >= 1 && MoveHistory[i].layer <= 9) << i;
            ASSERT_TRUE(MoveHistory[i].direction == 1 || MoveHistory[i].direction == -1) << i;
        }
        playMixWhole();
    }
    EXPECT_EQ(historyTop, 950);
    const Move above = MoveHistory[951];
    const int mixStartBefore = mixStart;
    EXPECT_EQ(randomMix(), 0);
    EXPECT_EQ(historyTop, 950);
    EXPECT_EQ(mixStart, mixStartBefore);
    EXPECT_EQ(MoveHistory[951].layer, above.layer);
    // The refused mix drew nothing: the next draw is the one a run without
    // the refused mix would make.
    const int drawAfterRefusal = runtimeRand();
    freshRun();
    for (int mix = 0; mix < 19; ++mix) {
        randomMix();
        playMixWhole();
    }
    EXPECT_EQ(runtimeRand(), drawAfterRefusal);
    // Manual turns fill up to record 983 and no further; nothing past it is written.
    for (int i = 951; i <= kHistoryLimit; ++i) ASSERT_EQ(pushHistory(7, 1), 1);
    EXPECT_EQ(historyTop, 983);
    EXPECT_EQ(pushHistory(7, 1), 0);
    EXPECT_EQ(historyTop, 983);
    EXPECT_EQ(MoveHistory[984].layer, 0);
}

TEST(SolutionList, CheckedAppendStopsAtTheLastRecord) {
    solutionCount = kSolutionListSize - 2;
    EXPECT_EQ(appendSolution(3, 1), 1);
    EXPECT_EQ(appendSolution(4, -1), 1);
    EXPECT_EQ(solutionCount, kSolutionListSize);
    EXPECT_EQ(SolutionList[kSolutionListSize - 1].layer, 4);
    EXPECT_EQ(appendSolution(5, 1), 0);
    EXPECT_EQ(solutionCount, kSolutionListSize);
    solutionCount = 0;
}

TEST(TextLogs, TraceIsTruncatedAndJournalAppendedByteForByte) {
    TempWorkDir dir;
    ASSERT_FALSE(dir.path.empty());
    traceOpen();
    traceMove(7, 1);
    traceMove(2, -1);
    traceMarker("HERE");
    traceClose();
    EXPECT_EQ(readFile("Kyb.txt"), "7 1\n2 -1\nHERE\n");
    traceOpen();
    traceMarker("XX");
    traceClose();
    EXPECT_EQ(readFile("Kyb.txt"), "XX\n");
    traceOpen(); // a call that writes nothing leaves an empty trace
    traceClose();
    EXPECT_EQ(readFile("Kyb.txt"), "");

    journalOpen();
    journalMove(7, 1);
    journalClose();
    journalOpen();
    journalClose(); // opened and closed with nothing: created, unchanged
    journalOpen();
    journalMove(2, -1);
    journalMove(9, 1);
    journalClose();
    EXPECT_EQ(readFile("kub2.txt"), "7 1\n2 -1\n9 1\n");

    struct stat st {};
    ASSERT_EQ(stat("kub2.txt", &st), 0);
    const mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(st.st_mode & 0777, 0644 & ~mask);
}

TEST(TextLogs, UnwritableDirectoryLosesTheLinesAndNothingElse) {
    TempWorkDir dir;
    ASSERT_FALSE(dir.path.empty());
    ASSERT_EQ(mkdir("locked", 0500), 0);
    ASSERT_EQ(chdir("locked"), 0);
    // Root ignores permission bits; make the file names unopenable instead by
    // putting directories where the files would be.
    if (geteuid() == 0) {
        ASSERT_EQ(chdir(".."), 0);
        ASSERT_EQ(mkdir("Kyb.txt", 0755), 0);
        ASSERT_EQ(mkdir("kub2.txt", 0755), 0);
    }
    traceOpen();
    traceMove(1, 1);
    traceMarker("HERE");
    traceClose();
    journalOpen();
    journalMove(1, 1);
    journalClose();
    EXPECT_EQ(readFile("Kyb.txt"), "<missing>");
    EXPECT_EQ(readFile("kub2.txt"), "<missing>");
    // The program goes on: a writable directory works again at once.
    ASSERT_EQ(chdir(dir.path.c_str()), 0);
    ASSERT_EQ(mkdir("ok", 0755), 0);
    ASSERT_EQ(chdir("ok"), 0);
    journalOpen();
    journalMove(4, -1);
    journalClose();
    EXPECT_EQ(readFile("kub2.txt"), "4 -1\n");
}

// Within a solve nothing reaches the files until the commit; then the trace
// holds the last stage call and the journal the solve's lines after the old
// ones. A journal too long for one solve's buffer still lands whole, in order.
TEST(TextLogs, ASolveWritesAtItsCommitOnly) {
    TempWorkDir dir;
    ASSERT_FALSE(dir.path.empty());
    { std::ofstream("kub2.txt") << "9 1\n"; }
    textLogBegin();
    traceOpen();
    traceMove(1, 1);
    traceClose();
    traceOpen();
    traceMarker("XX");
    traceClose();
    journalOpen();
    journalMove(7, 1);
    journalClose();
    journalOpen();
    journalMove(2, -1);
    journalClose();
    EXPECT_EQ(readFile("Kyb.txt"), "<missing>");
    EXPECT_EQ(readFile("kub2.txt"), "9 1\n");
    EXPECT_EQ(textLogCommit(), 0);
    EXPECT_EQ(readFile("Kyb.txt"), "XX\n");
    EXPECT_EQ(readFile("kub2.txt"), "9 1\n7 1\n2 -1\n");

    std::string expected = readFile("kub2.txt");
    textLogBegin();
    journalOpen();
    for (int i = 0; i < 60000; ++i) {
        journalMove(1 + i % 9, i % 2 ? 1 : -1);
        expected += std::to_string(1 + i % 9) + (i % 2 ? " 1\n" : " -1\n");
    }
    journalClose();
    EXPECT_EQ(textLogCommit(), 0);
    EXPECT_EQ(readFile("kub2.txt"), expected);
    const char* text = nullptr;
    EXPECT_EQ(takeTextLogFault(&text), 0);
}
