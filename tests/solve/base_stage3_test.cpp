// Base stage 3 (the middle layer): the case each cube picks, the exact
// moves, moveListLast and "Kyb.txt", on cubes turned from the start state;
// the empty call; and the middle layer completed from thousands of random
// cubes without disturbing face 5's layer.
#include "tests/support/cube_support.h"

#include <algorithm>

using namespace cubetest;

namespace {

// The eight insertion sequences, by number.
const Moves kInsert[9] = {
    {},
    {{7, -1}, {3, -1}, {7, 1}, {3, 1}, {7, 1}, {6, -1}, {7, -1}, {6, 1}},
    {{7, -1}, {6, 1}, {7, 1}, {6, -1}, {7, 1}, {1, -1}, {7, -1}, {1, 1}},
    {{7, -1}, {1, 1}, {7, 1}, {1, -1}, {7, 1}, {4, 1}, {7, -1}, {4, -1}},
    {{7, -1}, {4, -1}, {7, 1}, {4, 1}, {7, 1}, {3, 1}, {7, -1}, {3, -1}},
    {{7, 1}, {1, -1}, {7, -1}, {1, 1}, {7, -1}, {6, 1}, {7, 1}, {6, -1}},
    {{7, 1}, {4, 1}, {7, -1}, {4, -1}, {7, -1}, {1, 1}, {7, 1}, {1, -1}},
    {{7, 1}, {3, 1}, {7, -1}, {3, -1}, {7, -1}, {4, -1}, {7, 1}, {4, 1}},
    {{7, 1}, {6, -1}, {7, -1}, {6, 1}, {7, -1}, {3, -1}, {7, 1}, {3, 1}},
};

// Middle slots 4/1, 1/2, 2/3, 3/4: their cells and faces.
const int kSlot[4][2][3] = {
    {{1, 3, 2}, {4, 2, 3}}, {{1, 1, 2}, {2, 2, 3}}, {{3, 1, 2}, {2, 2, 1}}, {{3, 3, 2}, {4, 2, 1}}};
bool slotSolved(int s) {
    for (const auto& cell : kSlot[s])
        if (F(cell[0], cell[1], cell[2]) != centre(cell[0])) return false;
    return true;
}
bool slotFlipped(int s) {
    return F(kSlot[s][0][0], kSlot[s][0][1], kSlot[s][0][2]) == centre(kSlot[s][1][0]) &&
           F(kSlot[s][1][0], kSlot[s][1][1], kSlot[s][1][2]) == centre(kSlot[s][0][0]);
}

// Face-6-layer edges that belong in the middle layer (neither cell shows
// the face-6 colour).
int middleEdgesInFace6Layer() {
    int n = 0;
    for (int i = 1; i <= 4; ++i) n += S(i) != centre(6) && T(i) != centre(6);
    return n;
}

// The conditions of step 1 in order: S_face = centre face, T_face = centre t.
const int kReady[9][2] = {{}, {1, 4}, {2, 1}, {3, 2}, {4, 3}, {1, 2}, {2, 3}, {3, 4}, {4, 1}};
bool ready(int n) {
    return S(kReady[n][0]) == centre(kReady[n][0]) && T(kReady[n][0]) == centre(kReady[n][1]);
}

// Search steps that keep face 5's layer: the insertion sequences and the
// turns of layer 7.
std::vector<Moves> middleSteps() {
    std::vector<Moves> steps = {{{7, 1}}, {{7, -1}}};
    for (int n = 1; n <= 8; ++n) steps.push_back(kInsert[n]);
    return steps;
}

class BaseStage3 : public CubeTest {};

// Step 1: each of the eight conditions, on the cube that the inverse of its
// sequence makes from the start state; the edge goes into its slot.
TEST_F(BaseStage3, InsertsAnEdgeStandingAboveItsOwnFace) {
    const int target[9] = {0, 0, 1, 2, 3, 1, 2, 3, 0}; // slot of sequence n
    for (int n = 1; n <= 8; ++n) {
        SCOPED_TRACE(n);
        startState();
        apply(inverse(kInsert[n]));
        ASSERT_TRUE(ready(n));
        for (int e = 1; e < n; ++e) ASSERT_FALSE(ready(e));
        ASSERT_FALSE(slotSolved(target[n]));
        baseStage3();
        EXPECT_EQ(emitted(), kInsert[n]);
        EXPECT_EQ(moveListLast, 7);
        EXPECT_EQ(readFile("Kyb.txt"), linesOf(kInsert[n]));
        applyEmitted();
        EXPECT_TRUE(slotSolved(target[n]));
        EXPECT_TRUE(stageComplete1() && stageComplete2());
    }
}

// Step 2: the one middle-layer edge of the face-6 layer stands above face i
// and belongs above face s; layer 7 carries it there.
TEST_F(BaseStage3, CarriesAMiddleEdgeOverItsOwnFace) {
    struct Row {
        int face, sFace;
        Moves moves;
    };
    const Row rows[12] = {{1, 4, {{7, 1}}}, {1, 3, {{7, 1}, {7, 1}}}, {1, 2, {{7, -1}}},
                          {2, 1, {{7, 1}}}, {2, 4, {{7, 1}, {7, 1}}}, {2, 3, {{7, -1}}},
                          {3, 2, {{7, 1}}}, {3, 1, {{7, 1}, {7, 1}}}, {3, 4, {{7, -1}}},
                          {4, 3, {{7, 1}}}, {4, 2, {{7, 1}, {7, 1}}}, {4, 1, {{7, -1}}}};
    for (int r = 0; r < 12; ++r) {
        SCOPED_TRACE(r + 1);
        startState();
        const int i = rows[r].face, s = rows[r].sFace;
        ASSERT_TRUE(findCube(
            [i, s] {
                return middleEdgesInFace6Layer() == 1 && S(i) == centre(s) && T(i) != centre(6);
            },
            middleSteps(), 3));
        const int t = T(i);
        baseStage3();
        EXPECT_EQ(emitted(), rows[r].moves);
        EXPECT_EQ(moveListLast, static_cast<int>(rows[r].moves.size()) - 1);
        EXPECT_EQ(readFile("Kyb.txt"), linesOf(rows[r].moves));
        applyEmitted();
        EXPECT_EQ(S(s), centre(s));
        EXPECT_EQ(T(s), t);
    }
}

// No middle-layer edge above, slots 4/1 and 1/2 solved, 2/3 flipped:
// sequence 3 takes the flipped edge out.
TEST_F(BaseStage3, TakesAFlippedEdgeOutOfSlot23) {
    ASSERT_TRUE(findCube(
        [] {
            return middleEdgesInFace6Layer() == 0 && slotSolved(0) && slotSolved(1) &&
                   slotFlipped(2);
        },
        middleSteps(), 4));
    baseStage3();
    EXPECT_EQ(emitted(), kInsert[3]);
    EXPECT_EQ(moveListLast, 7);
    EXPECT_EQ(readFile("Kyb.txt"), linesOf(kInsert[3]));
    applyEmitted();
    EXPECT_EQ(middleEdgesInFace6Layer(), 1);
    EXPECT_TRUE(stageComplete1() && stageComplete2());
}

// From thousands of random cubes, after stages 1 and 2, stage 3 completes
// the middle layer. Every call emits eight moves or one or two turns of
// layer 7, turns only layers 1, 3, 4, 6 and 7, and keeps face 5's layer and
// the centres.
TEST_F(BaseStage3, CompletesTheMiddleLayerFromRandomCubesKeepingFace5) {
    std::mt19937 rng(12062026);
    int worst = 0;
    for (int cube = 0; cube < 2000; ++cube) {
        randomCube(rng, 30);
        ASSERT_GE(runStage(baseStage1, stageComplete1, 60), 0) << "cube " << cube;
        ASSERT_GE(runStage(baseStage2, stageComplete2, 60), 0) << "cube " << cube;
        ASSERT_TRUE(stageComplete1());
        const auto centresBefore = centres();
        int bad = 0;
        const int calls = runStage(baseStage3, stageComplete3, 60, [&](const Moves& out) {
            if (out.size() != 8 && out.size() > 2) ++bad;
            if (!stageComplete1() || !stageComplete2() || centres() != centresBefore) ++bad;
            for (const Turn& m : out)
                if (m.first == 2 || m.first == 5 || m.first == 8 || m.first == 9) ++bad;
        });
        ASSERT_GE(calls, 0) << "cube " << cube << " not done within 60 calls";
        ASSERT_EQ(bad, 0) << "cube " << cube;
        worst = std::max(worst, calls);
    }
    RecordProperty("most_calls", worst);
}

} // namespace
