// Base stage 2 (the corners of face 5): the case each cube picks, the exact
// moves, moveListLast and "Kyb.txt", on cubes turned from the start state;
// the empty call that leaves record 0 alone; and face 5 completed from
// thousands of random cubes without ever breaking the cross.
#include "stage_test_support.h"

#include <algorithm>
#include <set>

using namespace stagetest;

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

class BaseStage2 : public StageTest {};

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
    applyMoveListToCube();
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
    applyMoveListToCube();
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
    applyMoveListToCube();
    EXPECT_EQ(countW(kStep3), 0);
    EXPECT_EQ(countW(kStep1) + countW(kStep2), 1);
    EXPECT_EQ(solvedSlots(), solvedBefore);
    EXPECT_TRUE(stageComplete1());
}

// Two candidates of step 1 show W: the higher k is handled, and its corner
// is the one that ends solved.
TEST_F(BaseStage2, TakesTheHigherCandidateWhenTwoShowTheCrossColour) {
    ASSERT_TRUE(findCube([] { return countW(kStep1) == 2; }, cornerSteps(), 4));
    int k = 4;
    while (kStep1[k].cross() != W()) --k;
    const int j = targetFace(kStep1[k].partner());
    ASSERT_GE(j, 1);
    const Move p[5] = {{}, {1, -1}, {4, 1}, {3, 1}, {6, -1}};
    Moves expected;
    for (int i = 0; i < std::abs(j - k); ++i) expected.push_back({7, j > k ? -1 : 1});
    expected.insert(expected.end(),
                    {{7, -1}, {p[j].layer, p[j].direction}, {7, 1}, {p[j].layer, -p[j].direction}});
    const int solvedBefore = solvedSlots();
    baseStage2();
    EXPECT_EQ(emitted(), expected);
    EXPECT_EQ(readFile("Kyb.txt"), traceOf(expected));
    applyMoveListToCube();
    EXPECT_EQ(solvedSlots(), solvedBefore + 1);
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

// Each slot in its turn: the first slot not solved is lifted out.
TEST_F(BaseStage2, LiftsTheFirstWrongSlotInTheOrder41To34) {
    const Moves lifts[4] = {{{3, -1}, {7, 1}, {3, 1}},
                            {{1, -1}, {7, 1}, {1, 1}},
                            {{1, 1}, {7, 1}, {1, -1}},
                            {{3, 1}, {7, 1}, {3, -1}}};
    for (int s = 0; s < 4; ++s) {
        SCOPED_TRACE(s);
        startState();
        // The slots before s solved, slot s not, no W in the face-6 layer.
        auto wanted = [s] {
            if (countW(kStep1) + countW(kStep2) + countW(kStep3) != 0) return false;
            for (int t = 0; t < s; ++t)
                if (!slotSolved(t)) return false;
            return !slotSolved(s);
        };
        ASSERT_TRUE(findCube(wanted, cornerSteps(), 4));
        baseStage2();
        EXPECT_EQ(emitted(), lifts[s]);
        EXPECT_EQ(readFile("Kyb.txt"), traceOf(lifts[s]));
        applyMoveListToCube();
        EXPECT_GT(countW(kStep1) + countW(kStep2) + countW(kStep3), 0);
        EXPECT_TRUE(stageComplete1());
    }
}

// Face 5 done: no move is emitted, moveListLast stays 0 and record 0 keeps
// what an earlier call left there (the driver takes it again).
TEST_F(BaseStage2, EmitsNothingWhenFace5IsDone) {
    apply({{7, 1}}); // the face-6 layer turned, face 5 kept
    ASSERT_TRUE(stageComplete1() && stageComplete2());
    ASSERT_EQ(countW(kStep1) + countW(kStep2) + countW(kStep3), 0);
    {
        std::ofstream old("Kyb.txt");
        old << "old trace\n";
    }
    MoveList[0] = {4, -1};
    moveListLast = 3;
    baseStage2();
    EXPECT_EQ(moveListLast, 0);
    EXPECT_EQ(MoveList[0].layer, 4);
    EXPECT_EQ(MoveList[0].direction, -1);
    EXPECT_EQ(readFile("Kyb.txt"), "");
}

// A cross colour taken earlier and still marked as set is used as it is.
TEST_F(BaseStage2, KeepsACrossColourAlreadySet) {
    apply({{7, 1}}); // face 5 done: with centre 5's colour nothing is to do
    ASSERT_TRUE(stageComplete2());
    workColour = centre(1);
    workColourSet = 1;
    baseStage2();
    EXPECT_EQ(workColour, centre(1));
    EXPECT_GT(stageEmitted(), 0);
    workColourSet = 0;
    baseStage2();
    EXPECT_EQ(workColour, centre(5));
    EXPECT_EQ(stageEmitted(), 0);
}

// A solve that starts with the cross done and a corner wrong: the driver
// runs stage 2 first, which takes the cross colour from centre 5, and calls
// after calls finish face 5 without breaking the cross.
TEST_F(BaseStage2, DriverRunsStage2FirstWhenOnlyACornerIsWrong) {
    apply({{3, -1}, {7, 1}, {3, 1}});
    ASSERT_TRUE(stageComplete1());
    ASSERT_FALSE(stageComplete2());
    workColour = 0;
    workColourSet = 0;
    solutionCount = 0;
    BaseDriver();
    EXPECT_EQ(workColour, centre(5));
    EXPECT_EQ(backupTaken, 1);
    EXPECT_GT(solutionCount, 0);
    EXPECT_TRUE(stageComplete1());
    int calls = 1;
    while (!stageComplete2() && calls < 30) {
        BaseDriver();
        ++calls;
        ASSERT_TRUE(stageComplete1()) << "call " << calls;
    }
    EXPECT_TRUE(stageComplete2());
    EXPECT_FALSE(readFile("kub2.txt").empty());
    restoreCube();
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
