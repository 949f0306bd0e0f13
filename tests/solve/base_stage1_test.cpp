// Base stage 1 (the cross on face 5): the case each cube picks, the exact
// moves, moveListLast and "Kyb.txt", on cubes turned from the start state;
// and the cross completed from thousands of random cubes.
#include "tests/support/cube_support.h"

#include <algorithm>

using namespace cubetest;

namespace {

int W() {
    return centre(5);
}
bool slotSolved(int k) {
    return B(k) == centre(k) && D(k) == centre(5);
}

// The twelve side cells of step 3, in the order they are examined.
const int kLiftCells[12][3] = {{1, 2, 3}, {1, 1, 2}, {1, 3, 2}, {2, 3, 2}, {2, 2, 3}, {2, 2, 1},
                               {3, 2, 3}, {3, 1, 2}, {3, 3, 2}, {4, 3, 2}, {4, 2, 3}, {4, 2, 1}};
bool liftCellHoldsW(int row) {
    return F(kLiftCells[row][0], kLiftCells[row][1], kLiftCells[row][2]) == W();
}

// Neither step 1 nor step 2 applies: no side cell of the face-6 layer is W.
bool noWOnSideOfFace6Layer() {
    for (int i = 1; i <= 4; ++i)
        if (S(i) == W()) return false;
    return true;
}
bool noWOnFace6() {
    for (int i = 1; i <= 4; ++i)
        if (T(i) == W()) return false;
    return true;
}
bool noWOnLiftCells() {
    for (int row = 0; row < 12; ++row)
        if (liftCellHoldsW(row)) return false;
    return true;
}
bool stepOneApplies(int i) {
    return S(i) == W() && targetFace(T(i)) == i;
}

class BaseStage1 : public CubeTest {};

TEST_F(BaseStage1, TakesTheCrossColourFromCentre5OnlyWhenNotSet) {
    turnLayer(2, +1); // a middle slice: centre 5 now shows another colour
    const int expected = centre(5);
    ASSERT_NE(expected, 6);
    solveState.workColour = 0;
    solveState.workColourSet = 0;
    baseStage1();
    EXPECT_EQ(solveState.workColour, expected);
    EXPECT_EQ(solveState.workColourSet, 1);
    // Taken earlier and still set: kept, whatever centre 5 shows.
    solveState.workColour = 6;
    baseStage1();
    EXPECT_EQ(solveState.workColour, 6);
}

// Step 1: the edge above its own face, cross colour on the side, goes down
// into its slot; the other slots and all centres stay.
TEST_F(BaseStage1, DropsAnEdgeStandingAboveItsOwnFace) {
    const Moves drop[5] = {{},
                           {{7, 1}, {2, -1}, {7, -1}, {2, 1}},
                           {{7, 1}, {5, 1}, {7, -1}, {5, -1}},
                           {{7, 1}, {2, 1}, {7, -1}, {2, -1}},
                           {{7, 1}, {5, -1}, {7, -1}, {5, 1}}};
    for (int i = 1; i <= 4; ++i) {
        SCOPED_TRACE(i);
        startState();
        auto wanted = [i] {
            for (int k = 1; k < i; ++k)
                if (stepOneApplies(k)) return false;
            return stepOneApplies(i);
        };
        ASSERT_TRUE(findCube(wanted, faceTurns(), 4));
        bool solvedBefore[5];
        for (int k = 1; k <= 4; ++k) solvedBefore[k] = slotSolved(k);
        const auto centresBefore = centres();
        baseStage1();
        EXPECT_EQ(emitted(), drop[i]);
        EXPECT_EQ(moveListLast, 3);
        EXPECT_EQ(readFile("Kyb.txt"), linesOf(drop[i]));
        applyEmitted();
        EXPECT_TRUE(slotSolved(i));
        for (int k = 1; k <= 4; ++k)
            EXPECT_TRUE(k == i || !solvedBefore[k] || slotSolved(k)) << "slot " << k;
        EXPECT_EQ(centres(), centresBefore);
    }
}

// Step 2: the layer-7 run carries the edge round, the long way when the
// way round is the long one, then "HERE".
TEST_F(BaseStage1, CarriesAnEdgeRoundToItsOwnFace) {
    ASSERT_TRUE(findCube(
        [] {
            for (int i = 1; i <= 4; ++i)
                if (stepOneApplies(i)) return false;
            return S(1) == W() && T(1) == centre(4);
        },
        faceTurns(), 4));
    baseStage1();
    EXPECT_EQ(emitted(), (Moves{{7, -1}, {7, -1}, {7, -1}}));
    EXPECT_EQ(moveListLast, 2);
    EXPECT_EQ(readFile("Kyb.txt"), "7 -1\n7 -1\n7 -1\nHERE\n");
    applyEmitted();
    EXPECT_TRUE(S(4) == W() && T(4) == centre(4));
}

// Step 3, second branch of row 2: slots 1 and 2 solved, no W on face 6: the
// neighbouring face lifts the edge and slot 2 is put back.
TEST_F(BaseStage1, LiftsWithTheNeighbourAndRestoresASolvedSlot) {
    ASSERT_TRUE(findCube(
        [] {
            return noWOnSideOfFace6Layer() && F(1, 2, 3) != W() && F(1, 1, 2) == W() &&
                   slotSolved(1) && slotSolved(2) && noWOnFace6();
        },
        faceTurns(), 5));
    baseStage1();
    EXPECT_EQ(emitted(), (Moves{{1, -1}, {7, 1}, {1, 1}}));
    EXPECT_EQ(moveListLast, 2);
    EXPECT_EQ(readFile("Kyb.txt"), "1 -1\n7 1\n1 1\n");
    applyEmitted();
    EXPECT_TRUE(slotSolved(1));
    EXPECT_TRUE(slotSolved(2));
    EXPECT_FALSE(noWOnFace6());
}

// Step 4 with the edge already above the one empty slot: no layer-7 run,
// just the three moves and the slot's marker; the edge lands in the middle
// layer with W on that slot's face.
TEST_F(BaseStage1, TurnsDownIntoEachEmptySlot) {
    const Moves tails[5] = {{},
                            {{2, 1}, {6, 1}, {2, -1}},
                            {{5, -1}, {1, 1}, {5, 1}},
                            {{2, -1}, {4, 1}, {2, 1}},
                            {{5, 1}, {3, 1}, {5, -1}}};
    const int halfTurnLayer[5] = {0, 6, 1, 4, 3};
    for (int n = 1; n <= 4; ++n) {
        SCOPED_TRACE(n);
        startState();
        apply({{halfTurnLayer[n], 1}, {halfTurnLayer[n], 1}});
        ASSERT_TRUE(T(n) == W() && noWOnSideOfFace6Layer() && noWOnLiftCells());
        const auto centresBefore = centres();
        baseStage1();
        EXPECT_EQ(emitted(), tails[n]);
        EXPECT_EQ(readFile("Kyb.txt"), linesOf(tails[n]) + std::to_string(10 + n + 1) + "\n");
        applyEmitted();
        EXPECT_EQ(centres(), centresBefore);
        EXPECT_TRUE(noWOnFace6());
        EXPECT_FALSE(noWOnLiftCells());
    }
}

// Step 5: all four cross edges in face 5 with W down, two of them swapped.
TEST_F(BaseStage1, LiftsSlot2WhenTheCrossEdgesAreSwappedInFace5) {
    // Slot 1's edge goes up and round over face 2, the half turn of face 2
    // swaps it with slot 2's edge, which goes round and down into slot 1.
    apply({{6, 1}, {6, 1}, {7, -1}, {1, 1}, {1, 1}, {7, 1}, {6, 1}, {6, 1}});
    int wrong = 0;
    for (int k = 1; k <= 4; ++k) {
        ASSERT_EQ(D(k), W());
        if (B(k) != centre(k)) ++wrong;
    }
    ASSERT_EQ(wrong, 2);
    ASSERT_TRUE(noWOnSideOfFace6Layer() && noWOnLiftCells() && noWOnFace6());
    MoveList[1] = {9, 1}; // must not be taken
    baseStage1();
    EXPECT_EQ(emitted(), (Moves{{1, -1}}));
    EXPECT_EQ(moveListLast, 0);
    EXPECT_EQ(readFile("Kyb.txt"), "1 -1\n");
}

// From thousands of random cubes (centres anywhere) the stage, applied
// again and again, completes the cross; no call moves a centre and none
// emits more than six moves.
TEST_F(BaseStage1, CompletesTheCrossFromRandomCubes) {
    std::mt19937 rng(20261206);
    int worst = 0;
    for (int cube = 0; cube < 2000; ++cube) {
        randomCube(rng, 30);
        auto centresBefore = centres();
        int bad = 0;
        const int calls = runStage(baseStage1, stageComplete1, 60, [&](const Moves& out) {
            if (out.size() > 6 || centres() != centresBefore) ++bad;
        });
        ASSERT_GE(calls, 0) << "cube " << cube << " not done within 60 calls";
        ASSERT_EQ(bad, 0) << "cube " << cube;
        worst = std::max(worst, calls);
    }
    RecordProperty("most_calls", worst);
}

} // namespace
