// Base stage 7, twisting the face-6 corners and re-aligning face 6: the
// choice of the working corner on the program's first run and its keeping
// across solves, the twist and positioning steps, the re-aligning turns, all
// 27 twist states for every working corner, and stages 4 to 7 run by the
// driver from many last-layer cubes.
#include "tests/support/cube_support.h"

#include <array>
#include <map>

namespace {

using namespace cubetest;

class BaseStage7Test : public CubeTest {};

// Per ring corner 1..4: 0 when the face-6 colour is on face 6, 1 or 2 when it
// is on the side cell of face j or j+1.
using Twists = std::array<int, 5>;
Twists twists() {
    Twists t{};
    for (int j = 1; j <= 4; ++j) t[j] = twistOf(j);
    return t;
}

// Every twist state of the four corners (all else solved), found by applying
// pairs of opposite twists to the start state, with a sequence that makes it.
// Leaves the cube in the start state.
std::map<Twists, Seq> allTwistStates() {
    std::map<Twists, Seq> found;
    std::vector<Seq> frontier{{}};
    resetCube();
    found[twists()] = {};
    while (!frontier.empty()) {
        std::vector<Seq> next;
        for (const Seq& s : frontier)
            for (int wc = 1; wc <= 4; ++wc)
                for (int d = 1; d <= 3; ++d) {
                    resetCube();
                    const Seq t = s + twistPair(wc, d);
                    applySeq(t);
                    if (found.emplace(twists(), t).second) next.push_back(t);
                }
        frontier = next;
    }
    resetCube();
    return found;
}

// A twist state whose twisted corners are exactly `ring` (ring positions).
Seq stateTwisting(std::initializer_list<int> ring) {
    for (const auto& [t, seq] : allTwistStates()) {
        bool match = true;
        for (int j = 1; j <= 4; ++j) {
            const bool want = std::find(ring.begin(), ring.end(), j) != ring.end();
            if ((t[j] != 0) != want) match = false;
        }
        if (match) return seq;
    }
    ADD_FAILURE() << "no such twist state";
    return {};
}

// The positioning turns by working corner (1..4) and the ring corner found.
const std::map<std::pair<int, int>, Seq> kPositioning = {
    {{1, 3}, {{7, -1}}},          {{1, 1}, {{7, 1}}},  {{1, 2}, {{7, 1}, {7, 1}}},
    {{2, 3}, {{7, -1}, {7, -1}}}, {{2, 4}, {{7, -1}}}, {{2, 2}, {{7, 1}}},
    {{3, 3}, {{7, 1}}},           {{3, 1}, {{7, -1}}}, {{3, 4}, {{7, 1}, {7, 1}}},
    {{4, 1}, {{7, -1}, {7, -1}}}, {{4, 4}, {{7, 1}}},  {{4, 2}, {{7, -1}}},
};
// Ring corners in the order the positioning step looks at them: 3/4, 1/2, 4/1, 2/3.
constexpr int kSearch[4] = {3, 1, 4, 2};

// Runs the driver until the cube is solved, checking every stage-7 step
// against the working corner's cases and the positioning table. Returns the
// number of calls, or -1 when the bound of `limit` calls was reached.
int solveChecking(int limit, std::map<std::pair<int, int>, int>* positioningSeen = nullptr) {
    int calls = 0;
    while (!isSolved()) {
        if (calls == limit) return -1;
        const bool stage7 = solveState.lastStageActive ||
                            (stageComplete1() && stageComplete2() && stageComplete3() &&
                             stageComplete4() && stageComplete5() && stageComplete6());
        const Twists t = twists();
        const bool anyTwisted = t[1] || t[2] || t[3] || t[4];
        BaseDriver();
        ++calls;
        if (!stage7) continue;
        EXPECT_EQ(solveState.workCornerSet, 1);
        const int w = solveState.workCorner;
        const int ring = ringOfWorkCorner(w);
        const Seq out = emittedSeq();
        EXPECT_EQ(readFile(kTraceFileName), lines(out));
        if (t[ring] == 2) {
            EXPECT_EQ(lines(out), lines(kTwistA[w]));
        } else if (t[ring] == 1) {
            EXPECT_EQ(lines(out), lines(kTwistB[w]));
        } else if (anyTwisted) {
            int from = 0;
            for (int j : kSearch)
                if (from == 0 && j != ring && t[j]) from = j;
            EXPECT_EQ(lines(out), lines(kPositioning.at({w, from})));
            if (positioningSeen) ++(*positioningSeen)[{w, from}];
        } else {
            EXPECT_EQ(lines(out), "7 1\n");
        }
    }
    return calls;
}

void endSolve() {
    solveState.lastStageActive = 0;
    backupTaken = 0;
    solutionCount = 0;
}

TEST_F(BaseStage7Test, FirstRunChoosesTheWorkingCorner) {
    const struct {
        std::initializer_list<int> twisted; // ring corners
        int expected;
    } cases[] = {
        {{1, 3}, 2},       // 1/2 and 3/4: corner 1/2
        {{1, 2, 3, 4}, 3}, // all four: corner 2/3
        {{4, 3}, 4},       // 4/1 and 3/4: corner 3/4
        {{2, 4}, 3},       // 2/3 and 4/1: corner 2/3
    };
    for (const auto& k : cases) {
        const Seq make = stateTwisting(k.twisted);
        resetCube();
        applySeq(make);
        solveState.workCorner = 0;
        solveState.workCornerSet = 0;
        baseStage7();
        EXPECT_EQ(solveState.workCornerSet, 1);
        EXPECT_EQ(solveState.workCorner, k.expected);
        // The first step twists the corner just chosen.
        const int ring = ringOfWorkCorner(k.expected);
        const Seq& want = twistOf(ring) == 2 ? kTwistA[k.expected] : kTwistB[k.expected];
        EXPECT_EQ(lines(emittedSeq()), lines(want));
        EXPECT_EQ(moveListLast, 7);
    }
}

TEST_F(BaseStage7Test, SecondSolveKeepsTheWorkingCorner) {
    guardEarlyStages();
    solveState.workCorner = 0;
    solveState.workCornerSet = 0;
    applySeq(stateTwisting({1, 3}));
    ASSERT_GT(solveChecking(10), 0);
    EXPECT_EQ(solveState.workCorner, 2);
    endSolve();

    // Now 1/2 is right and 2/3, 4/1 are twisted: the stage first carries 4/1
    // to the working corner rather than choosing another.
    resetCube();
    applySeq(stateTwisting({2, 4}));
    BaseDriver();
    EXPECT_EQ(solveState.lastStageActive, 1);
    EXPECT_EQ(readFile(kTraceFileName), "7 -1\n");
    EXPECT_EQ(solveState.workCorner, 2);
    ASSERT_GT(solveChecking(10), 0);
    EXPECT_EQ(solveState.workCorner, 2);
    EXPECT_EQ(solveState.workCornerSet, 1);
    EXPECT_EQ(earlyStageRuns, 0);
}

// On real last-layer cubes: a twist keeps the corner at W in its place,
// turns the face-6 colour from the side cell it was on to face 6, changes no
// other face-6-layer cell; case b undoes case a; three case-a steps undo
// themselves.
TEST_F(BaseStage7Test, TwistsTurnOnlyTheWorkingCornerInTheLastLayer) {
    std::mt19937 rng(7);
    for (int n = 0; n < 400; ++n) {
        resetCube();
        scramble(rng, 12, kAnyLastLayer);
        const int w = 1 + n % 4;
        const int ring = ringOfWorkCorner(w);
        const Grid start = grid();
        const int piece = cornerAt(ring);
        std::vector<int> allowed;
        for (const Cell& c : kCorner[ring]) allowed.push_back(c.f * 100 + c.r * 10 + c.c);
        for (const Seq* s : {&kTwistA[w], &kTwistB[w]}) {
            const int before = twistOf(ring);
            applySeq(*s);
            ASSERT_EQ(cornerAt(ring), piece);
            // Case a moves the face-6 colour from the face j+1 cell to face 6,
            // case b from the face j cell: (face j+1 -> 6 -> j) and back.
            const int after = twistOf(ring);
            if (s == &kTwistA[w]) {
                ASSERT_EQ(after, before == 2 ? 0 : before == 0 ? 1 : 2);
            } else {
                ASSERT_EQ(after, before == 1 ? 0 : before == 0 ? 2 : 1);
            }
            for (int cell : changedCells(start, grid())) {
                const int f = cell / 100, r = cell / 10 % 10, c = cell % 10;
                const bool lastLayer = f == 6 || (f == 1 && c == 1) || (f == 2 && r == 1) ||
                                       (f == 3 && c == 1) || (f == 4 && r == 1);
                if (lastLayer) {
                    ASSERT_NE(std::find(allowed.begin(), allowed.end(), cell), allowed.end())
                        << cell;
                }
            }
            applySeq(inverseSeq(*s));
        }
        applySeq(kTwistA[w] + kTwistB[w]);
        ASSERT_TRUE(sameGrid(start, grid()));
        applySeq(kTwistA[w] + kTwistA[w] + kTwistA[w]);
        ASSERT_TRUE(sameGrid(start, grid()));
        ASSERT_TRUE(firstTwoLayersWhole());
    }
}

// All 27 twist states, each working corner: the phase ends within ten stage
// runs with the cube solved, and every step is the right case.
TEST_F(BaseStage7Test, Every27TwistStatesFinishWithinTenRunsForEveryWorkingCorner) {
    guardEarlyStages();
    const std::map<Twists, Seq> states = allTwistStates();
    ASSERT_EQ(states.size(), 27u);
    std::map<std::pair<int, int>, int> seen;
    int longest = 0;
    for (int w = 1; w <= 4; ++w)
        for (const auto& [t, make] : states) {
            resetCube();
            applySeq(make);
            ASSERT_TRUE(stageComplete1() && stageComplete2() && stageComplete3() &&
                        stageComplete4() && stageComplete5() && stageComplete6());
            solveState.workCorner = w;
            solveState.workCornerSet = 1;
            const int calls = solveChecking(10, &seen);
            ASSERT_GE(calls, 0) << "working corner " << w;
            ASSERT_TRUE(isSolved());
            longest = std::max(longest, calls);
            endSolve();
        }
    EXPECT_EQ(earlyStageRuns, 0);
    // Every line of the positioning table was used on the way.
    EXPECT_EQ(seen.size(), kPositioning.size());
    EXPECT_LE(longest, 10);
}

// Stages 4 to 7 in the driver's order from many last-layer cubes: the driver
// reaches a solved cube within 4 + 3 + 2 + 10 stage calls (at most four runs
// of stage 4, three of stage 5, two of stage 6, ten of stage 7) and never
// goes back to the first three stages, not even while stage 7 stirs the first
// two layers. Half of the solves choose their working corner afresh.
TEST_F(BaseStage7Test, DriverSolvesRandomLastLayersWithinTheBound) {
    guardEarlyStages();
    std::mt19937 rng(2027);
    int chosen[5] = {};
    for (int n = 0; n < 2000; ++n) {
        resetCube();
        scramble(rng, 25, kAnyLastLayer);
        ASSERT_TRUE(firstTwoLayersWhole());
        if (n % 2) {
            solveState.workCorner = 1 + n / 2 % 4;
            solveState.workCornerSet = 1;
        } else {
            solveState.workCorner = 0;
            solveState.workCornerSet = 0;
        }
        int calls = 0;
        while (!isSolved() && calls < 19) {
            BaseDriver();
            ++calls;
        }
        ASSERT_TRUE(isSolved()) << "cube " << n;
        ASSERT_EQ(earlyStageRuns, 0);
        BaseDriver(); // the call that finds everything done
        EXPECT_EQ(solveState.solveRequested, 0);
        if (solveState.workCornerSet) ++chosen[solveState.workCorner];
        endSolve();
    }
    for (int w = 1; w <= 4; ++w) EXPECT_GT(chosen[w], 0) << w;
}

} // namespace
