// Base stage 1 (the cross on face 5): the case each cube picks, the exact
// moves, moveListLast and "Kyb.txt", on cubes turned from the start state;
// and the cross completed from thousands of random cubes.
#include "stage_test_support.h"

#include <algorithm>

using namespace stagetest;

namespace {

// The solver's cell names: the face-6-layer edge above side face i
// (S side cell, T face-6 cell) and the face-5 slot below it (B side, D face 5).
int S(int i) {
    static const int cell[5][3] = {{}, {1, 2, 1}, {2, 1, 2}, {3, 2, 1}, {4, 1, 2}};
    return F(cell[i][0], cell[i][1], cell[i][2]);
}
int T(int i) {
    static const int cell[5][3] = {{}, {6, 2, 3}, {6, 1, 2}, {6, 2, 1}, {6, 3, 2}};
    return F(cell[i][0], cell[i][1], cell[i][2]);
}
int B(int i) {
    static const int cell[5][3] = {{}, {1, 2, 3}, {2, 3, 2}, {3, 2, 3}, {4, 3, 2}};
    return F(cell[i][0], cell[i][1], cell[i][2]);
}
int D(int i) {
    static const int cell[5][3] = {{}, {5, 2, 3}, {5, 1, 2}, {5, 2, 1}, {5, 3, 2}};
    return F(cell[i][0], cell[i][1], cell[i][2]);
}
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

class BaseStage1 : public StageTest {};

TEST_F(BaseStage1, TakesTheCrossColourFromCentre5OnlyWhenNotSet) {
    turnLayer(2, +1); // a middle slice: centre 5 now shows another colour
    const int expected = centre(5);
    ASSERT_NE(expected, 6);
    workColour = 0;
    workColourSet = 0;
    baseStage1();
    EXPECT_EQ(workColour, expected);
    EXPECT_EQ(workColourSet, 1);
    // Taken earlier and still set: kept, whatever centre 5 shows.
    workColour = 6;
    baseStage1();
    EXPECT_EQ(workColour, 6);
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
        EXPECT_EQ(readFile("Kyb.txt"), traceOf(drop[i]));
        applyMoveListToCube();
        EXPECT_TRUE(slotSolved(i));
        for (int k = 1; k <= 4; ++k)
            EXPECT_TRUE(k == i || !solvedBefore[k] || slotSolved(k)) << "slot " << k;
        EXPECT_EQ(centres(), centresBefore);
    }
}

// Two edges stand above their own faces: the lower face number goes first.
TEST_F(BaseStage1, DropsTheEdgeAboveTheLowerFaceFirst) {
    const Moves drop[5] = {{},
                           {{7, 1}, {2, -1}, {7, -1}, {2, 1}},
                           {{7, 1}, {5, 1}, {7, -1}, {5, -1}},
                           {{7, 1}, {2, 1}, {7, -1}, {2, -1}},
                           {{7, 1}, {5, -1}, {7, -1}, {5, 1}}};
    auto twoReady = [] {
        int n = 0;
        for (int i = 1; i <= 4; ++i) n += stepOneApplies(i);
        return n >= 2;
    };
    ASSERT_TRUE(findCube(twoReady, faceTurns(), 5));
    int first = 1;
    while (!stepOneApplies(first)) ++first;
    baseStage1();
    EXPECT_EQ(emitted(), drop[first]);
}

// Two cross edges in the face-6 layer with W on the side, neither above its
// own face: the first one in face order is carried round.
TEST_F(BaseStage1, CarriesTheFirstEdgeInFaceOrder) {
    auto wanted = [] {
        int n = 0;
        for (int i = 1; i <= 4; ++i) {
            if (stepOneApplies(i)) return false;
            n += S(i) == W();
        }
        return n >= 2;
    };
    ASSERT_TRUE(findCube(wanted, faceTurns(), 5));
    int first = 1;
    while (S(first) != W()) ++first;
    const int j = targetFace(T(first));
    baseStage1();
    EXPECT_EQ(emitted(), Moves(std::abs(j - first), {7, j > first ? -1 : 1}));
    applyMoveListToCube();
    EXPECT_TRUE(stepOneApplies(j));
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
    applyMoveListToCube();
    EXPECT_TRUE(S(4) == W() && T(4) == centre(4));
}

TEST_F(BaseStage1, CarriesAnEdgeFromFace4BackToFace2) {
    ASSERT_TRUE(findCube(
        [] {
            for (int i = 1; i <= 4; ++i)
                if (stepOneApplies(i)) return false;
            return S(1) != W() && S(2) != W() && S(3) != W() && S(4) == W() && T(4) == centre(2);
        },
        faceTurns(), 4));
    baseStage1();
    EXPECT_EQ(emitted(), (Moves{{7, 1}, {7, 1}}));
    EXPECT_EQ(moveListLast, 1);
    EXPECT_EQ(readFile("Kyb.txt"), "7 1\n7 1\nHERE\n");
    applyMoveListToCube();
    EXPECT_TRUE(S(2) == W() && T(2) == centre(2));
}

// Step 3, first branches: each row's moves and marker; the turns of the
// edge's own face leave it in the face-6 layer with W on the side.
TEST_F(BaseStage1, LiftsTheCrossColourFromEachSideCell) {
    struct Row {
        int ownSlot; // 0: the row has no condition
        Moves moves;
        const char* marker;
    };
    const Row rows[12] = {
        {0, {{6, 1}, {6, 1}}, "1\n"}, {1, {{6, 1}}, "2\n"},   {1, {{6, -1}}, ""},
        {0, {{1, 1}, {1, 1}}, "3\n"}, {2, {{1, -1}}, "4\n"},  {2, {{1, 1}}, "5\n"},
        {0, {{4, 1}, {4, 1}}, "6\n"}, {3, {{4, 1}}, "7\n"},   {3, {{4, -1}}, "8\n"},
        {0, {{3, 1}, {3, 1}}, "9\n"}, {4, {{3, -1}}, "10\n"}, {4, {{3, 1}}, "11\n"},
    };
    for (int row = 0; row < 12; ++row) {
        SCOPED_TRACE(row + 1);
        startState();
        const int own = rows[row].ownSlot;
        auto wanted = [row, own] {
            if (!noWOnSideOfFace6Layer()) return false;
            for (int r = 0; r < row; ++r)
                if (liftCellHoldsW(r)) return false;
            return liftCellHoldsW(row) && (own == 0 || !slotSolved(own));
        };
        ASSERT_TRUE(findCube(wanted, faceTurns(), 4));
        baseStage1();
        EXPECT_EQ(emitted(), rows[row].moves);
        EXPECT_EQ(readFile("Kyb.txt"), traceOf(rows[row].moves) + rows[row].marker);
        applyMoveListToCube();
        EXPECT_FALSE(noWOnSideOfFace6Layer());
    }
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
    applyMoveListToCube();
    EXPECT_TRUE(slotSolved(1));
    EXPECT_TRUE(slotSolved(2));
    EXPECT_FALSE(noWOnFace6());
}

TEST_F(BaseStage1, LiftsWithTheNeighbourAloneWhenItsSlotIsNotSolved) {
    ASSERT_TRUE(findCube(
        [] {
            return noWOnSideOfFace6Layer() && F(1, 2, 3) != W() && F(1, 1, 2) == W() &&
                   slotSolved(1) && !slotSolved(2) && noWOnFace6();
        },
        faceTurns(), 5));
    baseStage1();
    EXPECT_EQ(emitted(), (Moves{{1, -1}}));
    EXPECT_EQ(readFile("Kyb.txt"), "1 -1\n");
}

// With W on face 6 the second branch of row 2 is passed over. Here no later
// row applies either, so step 4 decides: W up above face 3 (m = 3), slots 3
// and 4 empty (n = 4): one (7, -1) and the tail of slot 4.
TEST_F(BaseStage1, PassesOverASecondBranchWhileFace6ShowsTheCrossColour) {
    auto wanted = [] {
        if (!noWOnSideOfFace6Layer() || F(1, 2, 3) == W() || F(1, 1, 2) != W()) return false;
        if (!slotSolved(1) || !slotSolved(2)) return false;
        for (int row = 2; row < 12; ++row)
            if (liftCellHoldsW(row)) return false;
        return T(3) == W() && T(1) != W() && T(2) != W() && T(4) != W();
    };
    // Slot 3's edge goes up by a half turn of face 3 (W lands on F6[2][1]);
    // the search then brings slot 4's edge into the middle edge 1/2.
    apply({{4, 1}, {4, 1}});
    ASSERT_TRUE(findCube(wanted, faceTurns(), 5));
    ASSERT_EQ(F(6, 2, 1), W());
    baseStage1();
    EXPECT_EQ(emitted(), (Moves{{7, -1}, {5, 1}, {3, 1}, {5, -1}}));
    EXPECT_EQ(readFile("Kyb.txt"), "7 -1\nXX\n5 1\n3 1\n5 -1\n15\n");
}

// Step 4: the cross colour up at T_1 only, slots 1-3 filled, slot 4 empty.
TEST_F(BaseStage1, TurnsTheLayerUnderTheEdgeAndTakesItDown) {
    ASSERT_TRUE(findCube(
        [] {
            return noWOnSideOfFace6Layer() && noWOnLiftCells() && T(1) == W() && T(2) != W() &&
                   T(3) != W() && T(4) != W() && slotSolved(1) && slotSolved(2) && slotSolved(3) &&
                   !slotSolved(4);
        },
        faceTurns(), 3));
    baseStage1();
    EXPECT_EQ(emitted(), (Moves{{7, -1}, {7, -1}, {7, -1}, {5, 1}, {3, 1}, {5, -1}}));
    EXPECT_EQ(moveListLast, 5);
    EXPECT_EQ(readFile("Kyb.txt"), "7 -1\nXX\n7 -1\nXX\n7 -1\nXX\n5 1\n3 1\n5 -1\n15\n");
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
        EXPECT_EQ(readFile("Kyb.txt"), traceOf(tails[n]) + std::to_string(10 + n + 1) + "\n");
        applyMoveListToCube();
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
