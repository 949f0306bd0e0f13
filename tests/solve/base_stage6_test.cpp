// Base stage 6, flipping the face-6 edges: the order in which the six pairs
// are tried, the 18 or 20 moves of each case, that a case flips its two edges
// and changes no other cell whatever the corners do, and the empty call.
#include "tests/support/cube_support.h"

namespace {

using namespace cubetest;

class BaseStage6Test : public CubeTest {};

// The edge over face i shows centre i's colour on face 6.
bool flipped(int i) {
    return kEdge[i][1].colour() == centre(i);
}

int caseOf(const Seq& out) {
    for (int k = 0; k < 6; ++k)
        if (lines(out) == lines(kFlipCase[k])) return k;
    return -1;
}

// Start state with the edges over the given faces flipped. Each flip case
// applied to a solved cube flips its own pair; the test reads the result
// back from the stickers instead of trusting that.
void flipEdges(std::initializer_list<int> faces) {
    resetCube();
    bool want[5] = {};
    for (int i : faces) want[i] = true;
    if (want[1] && want[3]) applySeq(kFlipCase[0]);
    if (want[2] && want[4]) applySeq(kFlipCase[1]);
    if (want[1] && want[2] && !want[3]) applySeq(kFlipCase[3]);
    if (want[3] && want[4] && !want[1]) applySeq(kFlipCase[5]);
    if (want[1] && want[4] && !want[2] && !want[3]) applySeq(kFlipCase[2]);
    if (want[2] && want[3] && !want[1] && !want[4]) applySeq(kFlipCase[4]);
    for (int i = 1; i <= 4; ++i) ASSERT_EQ(flipped(i), want[i]) << "edge over " << i;
}

TEST_F(BaseStage6Test, FirstWrongPairInOrderChoosesTheCase) {
    const struct {
        std::initializer_list<int> faces;
        int expectedCase;
        int moves;
    } cases[] = {
        {{1, 3}, 0, 20}, {{2, 4}, 1, 20}, {{1, 4}, 2, 18},
        {{1, 2}, 3, 18}, {{2, 3}, 4, 18}, {{3, 4}, 5, 18},
    };
    for (const auto& k : cases) {
        flipEdges(k.faces);
        baseStage6();
        EXPECT_EQ(caseOf(emittedSeq()), k.expectedCase);
        EXPECT_EQ(moveListLast, k.moves - 1);
        EXPECT_EQ(readFile(kTraceFileName), lines(kFlipCase[k.expectedCase]));
        applySeq(emittedSeq());
        EXPECT_TRUE(isSolved()) << k.expectedCase;
    }
}

TEST_F(BaseStage6Test, TraceOfTheFirstCaseLineByLine) {
    flipEdges({1, 3});
    baseStage6();
    std::string block;
    for (int i = 0; i < 4; ++i) block += "6 -1\n8 -1\n";
    EXPECT_EQ(readFile(kTraceFileName), block + "7 1\n7 1\n" + block + "7 1\n7 1\n");
}

TEST_F(BaseStage6Test, AllFourFlippedTakesCase1ThenCase2) {
    flipEdges({1, 2, 3, 4});
    baseStage6();
    EXPECT_EQ(caseOf(emittedSeq()), 0);
    applySeq(emittedSeq());
    EXPECT_FALSE(stageComplete6());
    baseStage6();
    EXPECT_EQ(caseOf(emittedSeq()), 1);
    applySeq(emittedSeq());
    EXPECT_TRUE(stageComplete6());
    EXPECT_TRUE(isSolved());
}

// Corners anywhere and twisted any way, edges in place with any even number
// of them flipped: each run flips the first wrong pair in order, changes only
// those two edges' four cells, and two runs at most make the edges right.
TEST_F(BaseStage6Test, CasesFlipTheirPairAndNothingElseOnRandomCubes) {
    std::mt19937 rng(6);
    int seenCase[6] = {};
    for (int n = 0; n < 1500; ++n) {
        resetCube();
        scramble(rng, 12, kCycleCorners | kTwistCorners | kFlipEdges);
        ASSERT_TRUE(stageComplete4());
        int runs = 0;
        while (!stageComplete6() && runs < 4) {
            int first = -1;
            for (int k = 0; k < 6 && first < 0; ++k)
                if (flipped(kFlipPair[k][0]) && flipped(kFlipPair[k][1])) first = k;
            const Grid g = grid();
            bool was[5];
            for (int i = 1; i <= 4; ++i) was[i] = flipped(i);
            baseStage6();
            const int k = caseOf(emittedSeq());
            ASSERT_EQ(k, first);
            ++seenCase[k];
            applySeq(emittedSeq());
            ++runs;
            for (int i = 1; i <= 4; ++i) {
                const bool inPair = i == kFlipPair[k][0] || i == kFlipPair[k][1];
                ASSERT_EQ(flipped(i), inPair ? !was[i] : was[i]) << i;
            }
            std::vector<int> cells;
            for (int i : kFlipPair[k])
                for (const Cell& c : kEdge[i]) cells.push_back(c.f * 100 + c.r * 10 + c.c);
            for (int cell : changedCells(g, grid()))
                ASSERT_NE(std::find(cells.begin(), cells.end(), cell), cells.end()) << cell;
            ASSERT_EQ(changedCells(g, grid()).size(), 4u);
        }
        ASSERT_TRUE(stageComplete6());
        ASSERT_LE(runs, 2);
        ASSERT_TRUE(firstTwoLayersWhole());
    }
    for (int k = 0; k < 6; ++k) EXPECT_GT(seenCase[k], 0) << k;
}

} // namespace
