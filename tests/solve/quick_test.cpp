// The Quick routine: the three simplify passes, the patterns, the pattern
// choice and the whole backwards playback.
#include "model/cube.h"
#include "model/moves.h"
#include "solve/quick.h"
#include "solve/solver.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

// Found by argument lookup for the global Move; internal to this file.
static bool operator==(const Move& a, const Move& b) {
    return a.layer == b.layer && a.direction == b.direction;
}

namespace {

void setHistory(const std::vector<Move>& moves) {
    historyTop = 0;
    for (const Move& m : moves) MoveHistory[++historyTop] = m;
}

std::vector<Move> history() {
    return std::vector<Move>(MoveHistory + 1, MoveHistory + historyTop + 1);
}

void startState() {
    initCubieArray();
    initFaceletGrid();
    historyTop = 0;
    solveState.quickPrepared = 0;
    solveState.yawMark = solveState.pitchMark = -4;
    runtimeSeed(1);
}

void applyAll(const Move* moves, int n) {
    for (int i = 0; i < n; ++i) turnLayer(moves[i].layer, moves[i].direction);
}

} // namespace

TEST(QuickSimplify, ThePassesOnTheListedHistories) {
    setHistory({{2, 1}, {3, 1}, {3, 1}, {3, 1}, {3, 1}, {5, -1}});
    simplifyHistory();
    EXPECT_EQ(history(), (std::vector<Move>{{2, 1}, {5, -1}}));

    setHistory({{1, 1}, {2, 1}, {2, 1}, {2, 1}, {1, 1}, {1, 1}});
    simplifyHistory();
    EXPECT_EQ(history(), (std::vector<Move>{{1, 1}, {2, -1}, {1, 1}, {1, 1}}));

    setHistory({{2, 1}, {3, 1}, {3, -1}, {2, -1}});
    simplifyHistory();
    EXPECT_TRUE(history().empty());

    setHistory({{1, 1}, {1, 1}});
    simplifyHistory();
    EXPECT_EQ(history(), (std::vector<Move>{{1, 1}, {1, 1}}));

    // Each pass runs once: what a later pass creates for an earlier one stays.
    setHistory({{7, 1}, {7, 1}, {7, 1}, {7, -1}});
    simplifyHistory();
    EXPECT_EQ(history(), (std::vector<Move>{{7, -1}, {7, -1}}));

    setHistory({});
    simplifyHistory();
    EXPECT_EQ(historyTop, 0);
}

TEST(QuickSimplify, NeverChangesWhatTheHistoryDoesToTheCube) {
    std::mt19937 rng(7);
    for (int trial = 0; trial < 2000; ++trial) {
        std::vector<Move> moves;
        const int n = static_cast<int>(rng() % 60);
        // Few layers, so that runs and inverse pairs are common.
        for (int i = 0; i < n; ++i)
            moves.push_back({1 + static_cast<int>(rng() % 2) * 6, rng() % 2 ? 1 : -1});
        startState();
        applyAll(moves.data(), n);
        int expected[4][4][4][7];
        std::copy(&CubieArray[0][0][0][0], &CubieArray[0][0][0][0] + 448, &expected[0][0][0][0]);
        setHistory(moves);
        simplifyHistory();
        ASSERT_LE(historyTop, n);
        startState();
        setHistory(moves);
        simplifyHistory();
        const std::vector<Move> simplified = history();
        applyAll(simplified.data(), static_cast<int>(simplified.size()));
        ASSERT_TRUE(std::equal(&CubieArray[0][0][0][0], &CubieArray[0][0][0][0] + 448,
                               &expected[0][0][0][0]));
        // No inverse pair survives the last pass.
        for (size_t k = 0; k + 1 < simplified.size(); ++k)
            ASSERT_FALSE(simplified[k].layer == simplified[k + 1].layer &&
                         simplified[k].direction == -simplified[k + 1].direction);
    }
}

TEST(QuickPatterns, EachLeavesEveryCubieInPlaceAndHasItsShape) {
    struct P {
        const Move* moves;
        int n;
    } patterns[] = {
        {QuickPatternA, 16}, {QuickPatternB, 16}, {QuickPatternC, 8}, {QuickPatternD, 16}};
    for (const P& p : patterns) {
        startState();
        applyAll(p.moves, p.n);
        int start[4][4][4][7];
        std::copy(&CubieArrayBackup[0][0][0][0], &CubieArrayBackup[0][0][0][0] + 448,
                  &start[0][0][0][0]);
        EXPECT_TRUE(
            std::equal(&CubieArray[0][0][0][0], &CubieArray[0][0][0][0] + 448, &start[0][0][0][0]));
        // The second half undoes the first: move i inverts move n-1-i.
        for (int i = 0; i < p.n / 2; ++i) {
            EXPECT_EQ(p.moves[i].layer, p.moves[p.n - 1 - i].layer);
            EXPECT_EQ(p.moves[i].direction, -p.moves[p.n - 1 - i].direction);
        }
    }
}

TEST(QuickPrepare, EmptyHistoryOnASolvedCubeFinishesAtOnce) {
    startState();
    Move played[64];
    EXPECT_EQ(runQuickSolve(played, 64), 0);
    EXPECT_TRUE(isSolved());
    EXPECT_EQ(historyTop, 0);
    EXPECT_EQ(solveState.quickPrepared, 0);
    EXPECT_EQ(solveState.yawMark, -4);
    EXPECT_EQ(solveState.pitchMark, -4);
}

TEST(QuickPrepare, PatternChoiceFollowsTheTwoDraws) {
    // Short history: patterns chosen by the first draw, D inserted unless the
    // second draw is 1. Check against the draws a fresh generator makes.
    for (unsigned seed = 1; seed < 40; ++seed) {
        startState();
        runtimeSeed(seed);
        setHistory({{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}});
        runtimeSeed(seed);
        const int a = runtimeRand() % 3;
        const int b = runtimeRand() % 3;
        runtimeSeed(seed);
        prepareQuick();
        const Move* first[3] = {QuickPatternA, QuickPatternB, QuickPatternC};
        const int len[3] = {16, 16, 8};
        // 6 + one pattern stays below 43, so the same pattern goes in twice.
        const int expectedTop = 6 + 2 * len[a];
        const bool withD = b != 1;
        EXPECT_EQ(historyTop, expectedTop + (withD ? 16 : 0)) << seed;
        // The original records 1..5 stay first; D fills 6..21 when inserted.
        for (int i = 1; i <= 5; ++i) EXPECT_EQ(MoveHistory[i].layer, i);
        const int firstAppend = withD ? 6 + 16 + 1 : 6 + 1;
        EXPECT_EQ(MoveHistory[withD ? 22 : 6].layer, 6);
        for (int i = 0; i < len[a]; ++i)
            EXPECT_EQ(MoveHistory[firstAppend + i], first[a][i]) << seed;
        if (withD) {
            for (int i = 0; i < 16; ++i) EXPECT_EQ(MoveHistory[6 + i], QuickPatternD[i]);
            EXPECT_EQ(solveState.pitchMark, historyTop - 8);
        } else {
            EXPECT_EQ(solveState.pitchMark, -4);
        }
        EXPECT_EQ(solveState.quickPrepared, 1);
    }
}

TEST(QuickPrepare, LongHistoryGetsTwoCopiesOfPatternCAndNoD) {
    startState();
    std::vector<Move> moves;
    for (int i = 0; i < 50; ++i) moves.push_back({1 + i % 9, 1});
    setHistory(moves);
    prepareQuick();
    EXPECT_EQ(historyTop, 66);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(MoveHistory[51 + i], QuickPatternC[i]);
        EXPECT_EQ(MoveHistory[59 + i], QuickPatternC[i]);
    }
    EXPECT_EQ(solveState.yawMark, 62);
    EXPECT_EQ(solveState.pitchMark, -4);
}

TEST(QuickSolve, UndoesMixesAndManualTurnsAndEndsSolved) {
    // 5,000 random histories of mixes and manual turns; every 50th fills the
    // history up to its limit, so the patterns go in on top of a full list.
    std::mt19937 rng(99);
    for (int trial = 0; trial < 5000; ++trial) {
        startState();
        runtimeSeed(static_cast<unsigned>(rng()));
        const bool full = trial % 50 == 0;
        const int mixes = full ? 19 : static_cast<int>(rng() % 6);
        for (int m = 0; m < mixes; ++m) {
            ASSERT_EQ(randomMix(), 1);
            playMixWhole();
            const int turns = full ? 1 : static_cast<int>(rng() % 8);
            for (int t = 0; t < turns; ++t) {
                const int layer = 1 + static_cast<int>(rng() % 9);
                const int dir = rng() % 2 ? 1 : -1;
                ASSERT_EQ(pushHistory(layer, dir), 1);
                turnLayer(layer, dir);
            }
        }
        if (full) {
            while (pushHistory(1 + static_cast<int>(rng() % 9), 1))
                turnLayer(MoveHistory[historyTop].layer, 1);
            ASSERT_EQ(historyTop, kHistoryLimit);
        }
        Move played[kHistorySize];
        const int n = runQuickSolve(played, kHistorySize);
        ASSERT_TRUE(isSolved()) << trial;
        EXPECT_EQ(historyTop, 0);
        EXPECT_EQ(solveState.solveRequested, 0);
        EXPECT_EQ(solveState.quickPrepared, 0);
        ASSERT_LE(n, kHistorySize - 1);
    }
}
