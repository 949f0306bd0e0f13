// Base stage 2 (the corners of face 5): the case each cube picks, the exact
// moves, moveListLast and "Kyb.txt", on cubes turned from the start state;
// the empty call that leaves record 0 alone; and face 5 completed from
// thousands of random cubes without ever breaking the cross.
#include "tests/support/cube_support.h"

#include <algorithm>
#include <set>

using namespace cubetest;

namespace {

int W() {
    return centre(5);
}

// Face-6-layer corner cells that may show the cross colour, by kind and
// candidate k = 1..4, with their partner cells.
struct CellPair {
    int f, r, c, pf, pr, pc;
    int cross() const { return F(f, r, c); }
    int partner() const { return F(pf, pr, pc); }
};
const CellPair kStep1[5] = {
    {}, {1, 3, 1, 4, 1, 3}, {2, 1, 3, 1, 1, 1}, {3, 1, 1, 2, 1, 1}, {4, 1, 1, 3, 3, 1}};
const CellPair kStep2[5] = {
    {}, {1, 1, 1, 2, 1, 3}, {2, 1, 1, 3, 1, 1}, {3, 3, 1, 4, 1, 1}, {4, 1, 3, 1, 3, 1}};
const CellPair kStep3[5] = {
    {}, {6, 3, 3, 1, 3, 1}, {6, 1, 3, 2, 1, 3}, {6, 1, 1, 3, 1, 1}, {6, 3, 1, 4, 1, 1}};

int countW(const CellPair* kind) {
    int n = 0;
    for (int k = 1; k <= 4; ++k) n += kind[k].cross() == W();
    return n;
}
bool onlyCandidateWithW(const CellPair* kind, int k) {
    for (int i = 1; i <= 4; ++i)
        if ((kind[i].cross() == W()) != (i == k)) return false;
    return true;
}

// The face-5 corner slots in the order 4/1, 1/2, 2/3, 3/4.
const int kSlotCells[4][3][3] = {{{5, 3, 3}, {1, 3, 3}, {4, 3, 3}},
                                 {{5, 1, 3}, {1, 1, 3}, {2, 3, 3}},
                                 {{5, 1, 1}, {2, 3, 1}, {3, 1, 3}},
                                 {{5, 3, 1}, {3, 3, 3}, {4, 3, 1}}};
bool slotSolved(int s) {
    for (const auto& cell : kSlotCells[s])
        if (F(cell[0], cell[1], cell[2]) != centre(cell[0])) return false;
    return true;
}
int solvedSlots() {
    int n = 0;
    for (int s = 0; s < 4; ++s) n += slotSolved(s);
    return n;
}
// The slot holds its own corner, whatever its twist.
bool slotHoldsItsCorner(int s) {
    std::multiset<int> want, have;
    for (const auto& cell : kSlotCells[s]) {
        want.insert(centre(cell[0]));
        have.insert(F(cell[0], cell[1], cell[2]));
    }
    return want == have;
}

// Steps for the searches: lifting a face-5 corner out of its slot (and the
// inverse, putting one in) and turning layer 7. None of them touches the
// cross edges, so every cube found keeps the cross complete.
std::vector<Moves> cornerSteps() {
    std::vector<Moves> steps = {{{7, 1}}, {{7, -1}}};
    const Moves lifts[4] = {{{3, -1}, {7, 1}, {3, 1}},
                            {{1, -1}, {7, 1}, {1, 1}},
                            {{1, 1}, {7, 1}, {1, -1}},
                            {{3, 1}, {7, 1}, {3, -1}}};
    for (const Moves& lift : lifts) {
        steps.push_back(lift);
        steps.push_back(inverse(lift));
    }
    return steps;
}

class BaseStage2 : public CubeTest {};

// Step 1, k = 1, j = 4: the longest layer-7 run, then the corner goes down.
TEST_F(BaseStage2, CarriesACornerThreeFacesOnAndDropsIt) {
    ASSERT_TRUE(
        findCube([] { return onlyCandidateWithW(kStep1, 1) && kStep1[1].partner() == centre(4); },
                 cornerSteps(), 4));
    ASSERT_TRUE(stageComplete1());
    const int solvedBefore = solvedSlots();
    baseStage2();
    EXPECT_EQ(emitted(), (Moves{{7, -1}, {7, -1}, {7, -1}, {7, -1}, {6, -1}, {7, 1}, {6, 1}}));
    EXPECT_EQ(moveListLast, 6);
    EXPECT_EQ(readFile("Kyb.txt"), "7 -1\n7 -1\n7 -1\n7 -1\n6 -1\n7 1\n6 1\n");
    applyEmitted();
    EXPECT_TRUE(slotSolved(0)); // slot 4/1
    EXPECT_EQ(solvedSlots(), solvedBefore + 1);
    EXPECT_TRUE(stageComplete1());
}

// Step 2, k = 2, j = 3.
TEST_F(BaseStage2, DropsACornerShowingTheCrossColourTowardsTheNextFace) {
    ASSERT_TRUE(findCube(
        [] {
            return countW(kStep1) == 0 && kStep2[2].cross() == W() && kStep2[3].cross() != W() &&
                   kStep2[4].cross() != W() && kStep2[2].partner() == centre(3);
        },
        cornerSteps(), 4));
    const int solvedBefore = solvedSlots();
    baseStage2();
    EXPECT_EQ(emitted(), (Moves{{7, -1}, {7, 1}, {1, 1}, {7, -1}, {1, -1}}));
    EXPECT_EQ(moveListLast, 4);
    EXPECT_EQ(readFile("Kyb.txt"), "7 -1\n7 1\n1 1\n7 -1\n1 -1\n");
    applyEmitted();
    EXPECT_TRUE(slotSolved(2)); // slot 2/3
    EXPECT_EQ(solvedSlots(), solvedBefore + 1);
    EXPECT_TRUE(stageComplete1());
}

// Step 3, k = j = 2: no run; the corner is turned so that a side face shows
// the cross colour, and stays in the face-6 layer.
TEST_F(BaseStage2, TurnsACornerShowingTheCrossColourOnFace6) {
    ASSERT_TRUE(findCube(
        [] {
            return countW(kStep1) == 0 && countW(kStep2) == 0 && onlyCandidateWithW(kStep3, 2) &&
                   kStep3[2].partner() == centre(2);
        },
        cornerSteps(), 4));
    const int solvedBefore = solvedSlots();
    baseStage2();
    EXPECT_EQ(emitted(), (Moves{{7, -1}, {4, 1}, {7, -1}, {4, -1}, {7, 1}, {7, 1}}));
    EXPECT_EQ(moveListLast, 5);
    EXPECT_EQ(readFile("Kyb.txt"), "7 -1\n4 1\n7 -1\n4 -1\n7 1\n7 1\n");
    applyEmitted();
    EXPECT_EQ(countW(kStep3), 0);
    EXPECT_EQ(countW(kStep1) + countW(kStep2), 1);
    EXPECT_EQ(solvedSlots(), solvedBefore);
    EXPECT_TRUE(stageComplete1());
}

// Step 4: nothing in the face-6 layer shows W and slot 4/1 holds its corner
// twisted: the corner is lifted out.
TEST_F(BaseStage2, LiftsATwistedCornerOutOfSlot41) {
    // Turning face 4 down, layer 7, face 4 up and layer 7 back, repeated,
    // twists the 4/1 corner in place and leaves the rest of face 5 alone.
    const Moves twist = {{3, -1}, {7, 1}, {3, 1}, {7, -1}};
    auto wanted = [] {
        return countW(kStep1) + countW(kStep2) + countW(kStep3) == 0 && !slotSolved(0) &&
               slotHoldsItsCorner(0);
    };
    ASSERT_TRUE(findCube(wanted, {twist}, 6));
    ASSERT_TRUE(stageComplete1());
    baseStage2();
    EXPECT_EQ(emitted(), (Moves{{3, -1}, {7, 1}, {3, 1}}));
    EXPECT_EQ(moveListLast, 2);
    EXPECT_EQ(readFile("Kyb.txt"), "3 -1\n7 1\n3 1\n");
}

// A cross colour taken earlier and still marked as set is used as it is.
TEST_F(BaseStage2, KeepsACrossColourAlreadySet) {
    apply({{7, 1}}); // face 5 done: with centre 5's colour nothing is to do
    ASSERT_TRUE(stageComplete2());
    solveState.workColour = centre(1);
    solveState.workColourSet = 1;
    baseStage2();
    EXPECT_EQ(solveState.workColour, centre(1));
    EXPECT_GT(stageEmitted(), 0);
    solveState.workColourSet = 0;
    baseStage2();
    EXPECT_EQ(solveState.workColour, centre(5));
    EXPECT_EQ(stageEmitted(), 0);
}

// From thousands of random cubes, once stage 1 has made the cross, stage 2
// completes face 5. Every call turns only layers 1, 3, 4, 6 and 7, emits at
// most nine moves and leaves the cross and the centres where they were.
TEST_F(BaseStage2, CompletesFace5FromRandomCubesKeepingTheCross) {
    std::mt19937 rng(6122026);
    int worst = 0;
    for (int cube = 0; cube < 2000; ++cube) {
        randomCube(rng, 30);
        ASSERT_GE(runStage(baseStage1, stageComplete1, 60), 0) << "cube " << cube;
        const auto centresBefore = centres();
        int bad = 0;
        const int calls = runStage(baseStage2, stageComplete2, 60, [&](const Moves& out) {
            if (out.size() > 9 || !stageComplete1() || centres() != centresBefore) ++bad;
            for (const Turn& m : out)
                if (m.first == 2 || m.first == 5 || m.first == 8 || m.first == 9) ++bad;
        });
        ASSERT_GE(calls, 0) << "cube " << cube << " not done within 60 calls";
        ASSERT_EQ(bad, 0) << "cube " << cube;
        ASSERT_TRUE(stageComplete1());
        worst = std::max(worst, calls);
    }
    RecordProperty("most_calls", worst);
}

} // namespace
