// The short-solution routine: coordinates, move and distance tables, solves.
#include "solve/short/distances.h"
#include "solve/short/routine.h"
#include "tests/support/cube_support.h"

#include <map>
#include <vector>

using namespace cubetest;

namespace {

bool sameCube(const ShortCube& a, const ShortCube& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Plays search move m of `view` on the live cube.
void playMove(int view, int m, int sense = 1) {
    int layer, direction, count;
    shortTurnOf(view, m, layer, direction, count);
    for (int i = 0; i < count; ++i) turnLayer(layer, direction * sense);
}

const ShortTables& T() {
    return *shortTables();
}

class ShortSolve : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(shortPrepare(), nullptr);
        startState();
    }
};

// (The phase-2 orders and their move tables: the fallback test below.)
TEST_F(ShortSolve, CoordinatesRoundTrip) {
    for (int t = 0; t < kShortTwists; ++t) ASSERT_EQ(shortTwist(shortFromTwist(t)), t);
    for (int f = 0; f < kShortFlips; ++f) ASSERT_EQ(shortFlip(shortFromFlip(f)), f);
    for (int s = 0; s < kShortSlices; ++s) ASSERT_EQ(shortSlice(shortFromSlice(s)), s);
}

TEST_F(ShortSolve, MoveTablesAgreeWithTurningTheCube) {
    std::mt19937 rng(14);
    for (int cube = 0; cube < 90; ++cube) {
        // Every other cube lies in the phase-2 group of its view.
        const int view = cube % 3, inGroup = cube % 2;
        startState();
        for (int i = 0; i < 30; ++i) {
            if (inGroup)
                playMove(view, kShortPhase2Move[rng() % kShortPhase2Moves]);
            else
                turnLayer(1 + static_cast<int>(rng() % 9), rng() % 2 ? 1 : -1);
        }
        ShortCube c;
        ASSERT_TRUE(shortReadCube(c, view));
        const Snapshot before = Snapshot::take();
        for (int m = 0; m < kShortMoves; ++m) {
            ShortCube expected = c, after;
            shortApplyMove(expected, m);
            playMove(view, m);
            ASSERT_TRUE(shortReadCube(after, view));
            before.put();
            EXPECT_TRUE(sameCube(after, expected)) << "cube " << cube << " move " << m;
            EXPECT_EQ(T().twistMove[shortTwist(c)][m], shortTwist(after));
            EXPECT_EQ(T().flipMove[shortFlip(c)][m], shortFlip(after));
            EXPECT_EQ(T().sliceMove[shortSlice(c)][m], shortSlice(after));
        }
    }
}

// Cubes near solved with their true distance (half turns cost 2), by BFS.
std::map<std::vector<int>, int> cubesNear(const int* moves, int moveCount, int maxCost) {
    const auto key = [](const ShortCube& c) {
        return std::vector<int>(reinterpret_cast<const int*>(&c),
                                reinterpret_cast<const int*>(&c) + sizeof c / sizeof(int));
    };
    const auto cubeOf = [](const std::vector<int>& k) {
        ShortCube c;
        std::memcpy(&c, k.data(), sizeof c);
        return c;
    };
    std::map<std::vector<int>, int> dist;
    dist[key(shortFromTwist(0))] = 0;
    for (int d = 0; d < maxCost; ++d) {
        std::vector<std::vector<int>> level;
        for (const auto& [k, v] : dist)
            if (v == d) level.push_back(k);
        for (const auto& k : level)
            for (int i = 0; i < moveCount; ++i) {
                const int cost = moves[i] % 3 == 1 ? 2 : 1;
                if (d + cost > maxCost) continue;
                ShortCube c = cubeOf(k);
                shortApplyMove(c, moves[i]);
                auto [at, added] = dist.emplace(key(c), d + cost);
                if (!added && at->second > d + cost) at->second = d + cost;
            }
    }
    return dist;
}

// Phase 1: 0 only at the goal, else one from some neighbour and none by more.
TEST_F(ShortSolve, Phase1DistancesAreExact) {
    const int solvedSlice = shortSlice(shortFromTwist(0));
    ASSERT_EQ(shortPhase1Distance(T(), 0, 0, solvedSlice), 0);
    std::mt19937 rng(23);
    for (int i = 0; i < 3000; ++i) {
        const int t = static_cast<int>(rng() % kShortTwists);
        const int f = static_cast<int>(rng() % kShortFlips);
        const int s = static_cast<int>(rng() % kShortSlices);
        const int d = shortPhase1Distance(T(), t, f, s);
        ASSERT_TRUE(d > 0 || (t == 0 && f == 0 && s == solvedSlice));
        ASSERT_LE(d, 13);
        int nearer = 0;
        for (int m = 0; m < kShortMoves; ++m) {
            if (m % 3 == 1) continue;
            const int n = shortPhase1Distance(T(), T().twistMove[t][m], T().flipMove[f][m],
                                              T().sliceMove[s][m]);
            ASSERT_GE(n, d - 1);
            nearer += n == d - 1;
        }
        ASSERT_TRUE(d == 0 || nearer > 0);
    }
}

// The phase-2 tables never overestimate; the near table is exact.
TEST_F(ShortSolve, Phase2DistanceTablesNeverOverestimate) {
    const auto cs = [](int p, int s) { return int(T().cornerSliceDist[p * kShortSlicePerms + s]); };
    const auto es = [](int p, int s) { return int(T().edgeSliceDist[p * kShortSlicePerms + s]); };
    int reached = 0;
    for (const auto& [k, d] : cubesNear(kShortPhase2Move, kShortPhase2Moves, 8)) {
        ShortCube c;
        std::memcpy(&c, k.data(), sizeof c);
        const int cp = shortCornerPerm(c), ep = shortEdgePerm(c), sp = shortSlicePerm(c);
        ASSERT_LE(cs(cp, sp), d);
        ASSERT_LE(es(ep, sp), d);
        reached += es(ep, sp) == d;
        ASSERT_EQ(shortNearDistance(T(), cp, ep, sp), d);
    }
    EXPECT_GT(reached, 0);
    // Across a move of cost c no distance changes by more than c.
    for (int p = 0; p < kShortPerms; p += 11)
        for (int s = 0; s < kShortSlicePerms; ++s)
            for (int k = 0; k < kShortPhase2Moves; ++k) {
                const int cost = kShortPhase2Move[k] % 3 == 1 ? 2 : 1;
                const int ns = T().slicePermMove[s][k];
                ASSERT_LE(cs(p, s) - cs(T().cornerPermMove[p][k], ns), cost);
                ASSERT_LE(es(p, s) - es(T().edgePermMove[p][k], ns), cost);
            }
}

// Solved from their three orders alone, the cubes check those and their tables.
TEST_F(ShortSolve, FallbackSolvesEveryPhase2Cube) {
    // Random even orders of the three kinds of pieces; the first few nearly home.
    std::mt19937 rng(18);
    int moves[2 * kShortFallbackCost];
    int longest = 0;
    for (int i = 0; i < 3000; ++i) {
        const int cp = static_cast<int>(rng() % kShortPerms);
        const int sp = i < 20 ? 0 : static_cast<int>(rng() % kShortSlicePerms);
        int ep = i < 20 ? i : static_cast<int>(rng() % kShortPerms);
        ShortCube c = shortFromPerms(cp, ep, sp);
        int odd = 0;
        for (int a = 0; a < 12; ++a)
            for (int b = a + 1; b < 12; ++b) odd ^= c.ep[a] > c.ep[b];
        for (int a = 0; a < 8; ++a)
            for (int b = a + 1; b < 8; ++b) odd ^= c.cp[a] > c.cp[b];
        if (odd) continue;
        const int n = shortFallbackPhase2(T(), cp, ep, sp, moves, 2 * kShortFallbackCost);
        ASSERT_GE(n, 0) << "cube " << i;
        int cost = 0;
        for (int k = 0; k < n; ++k) {
            shortApplyMove(c, moves[k]);
            cost += moves[k] % 3 == 1 ? 2 : 1;
            ASSERT_TRUE(moves[k] / 3 < 2 || moves[k] % 3 == 1) << "not a phase-2 turn";
        }
        EXPECT_TRUE(sameCube(c, shortFromTwist(0))) << "cube " << i;
        EXPECT_LE(cost, kShortFallbackCost) << "cube " << i;
        longest = std::max(longest, cost);
    }
    EXPECT_GT(longest, 40);
    EXPECT_EQ(shortFallbackPhase2(T(), 0, 0, 0, moves, 0), 0);
}

// Plays a solution: outer quarter turns, none undone or tripled?
bool playSolution(const Move* moves, int n) {
    bool clean = true;
    for (int i = 0; i < n; ++i) {
        const int layer = moves[i].layer;
        clean &= layer % 3 != 2 && layer >= 1 && layer <= 9;
        clean &= moves[i].direction == 1 || moves[i].direction == -1;
        if (i > 0 && moves[i - 1].layer == layer)
            clean &= moves[i - 1].direction == moves[i].direction;
        if (i > 1 && moves[i - 2].layer == layer && moves[i - 1].layer == layer) clean = false;
        turnLayer(moves[i].layer, moves[i].direction);
    }
    return clean;
}

TEST_F(ShortSolve, SolvesRandomCubes) {
    static Move out[kShortSolveMaxLength];
    // No work beyond the first phase-1 solution: the fallback is the answer.
    ShortLimits none = kShortLimits;
    none.maxNodes = 0;
    ShortSearch hurried(T(), none);
    std::mt19937 rng(16);
    for (int cube = 0; cube < 60; ++cube) {
        randomCube(rng, 30);
        const Snapshot before = Snapshot::take();
        ShortStats stats;
        const int n = shortSolve(out, kShortSolveMaxLength, &stats);
        ASSERT_GT(n, 0) << "cube " << cube;
        EXPECT_LE(stats.nodes, kShortLimits.maxNodes + kShortLimits.maxNodes / 2)
            << "cube " << cube;
        EXPECT_FALSE(stats.timedOut);
        EXPECT_TRUE(playSolution(out, n)) << "cube " << cube;
        EXPECT_TRUE(isSolved()) << "cube " << cube;
        before.put();
        ShortViews views;
        ASSERT_TRUE(shortReadViews(views));
        const int fallback = hurried.solve(views, out, kShortSolveMaxLength);
        ASSERT_GT(fallback, 0) << "cube " << cube;
        EXPECT_TRUE(playSolution(out, fallback)) << "cube " << cube;
        EXPECT_TRUE(isSolved()) << "cube " << cube;
        // Too little room: refused, cube untouched.
        if (cube % 10 != 0) continue;
        before.put();
        EXPECT_EQ(shortSolve(out, n / 2), -1);
        EXPECT_TRUE(Snapshot::take() == before);
    }
}

} // namespace
