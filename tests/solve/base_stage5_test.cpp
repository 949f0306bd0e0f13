// Base stage 5, the face-6 corners into their places: which corner decides
// the case, the eight moves and trace lines of each case, the three-cycle
// each case makes on real cubes, and the number of runs it takes.
#include "tests/support/cube_support.h"

namespace {

using namespace cubetest;

class BaseStage5Test : public CubeTest {};

// A corner counts as placed when it is the one that belongs there.
int placedCount() {
    int n = 0;
    for (int j = 1; j <= 4; ++j) n += cornerAt(j) == homeCorner(j);
    return n;
}

// Which case a stage-5 output is, 0..3, or -1 for none of them.
int caseOf(const Seq& out) {
    for (int k = 0; k < 4; ++k)
        if (lines(out) == lines(kCornerCase[k])) return k;
    return -1;
}

// Where the corner at ring position j goes under case k (0 = stays).
constexpr int kCornerTo[4][5] = {
    {0, 0, 3, 4, 2}, // keeps 1/2: 2/3 -> 3/4 -> 4/1 -> 2/3
    {0, 3, 0, 4, 1}, // keeps 2/3: 1/2 -> 3/4 -> 4/1 -> 1/2
    {0, 2, 4, 0, 1}, // keeps 3/4: 1/2 -> 2/3 -> 4/1 -> 1/2
    {0, 2, 3, 1, 0}, // keeps 4/1: 1/2 -> 2/3 -> 3/4 -> 1/2
};

TEST_F(BaseStage5Test, TheOnlyPlacedCornerChoosesItsCase) {
    const char* traces[4] = {
        "4 1\n3 1\n6 -1\n3 -1\n4 -1\n3 1\n6 1\n3 -1\n",
        "3 1\n6 -1\n1 -1\n6 1\n3 -1\n6 -1\n1 1\n6 1\n",
        "6 -1\n1 -1\n4 1\n1 1\n6 1\n1 -1\n4 -1\n1 1\n",
        "1 -1\n4 1\n3 1\n4 -1\n1 1\n4 1\n3 -1\n4 -1\n",
    };
    for (int k = 0; k < 4; ++k) {
        resetCube();
        applySeq(inverseSeq(kCornerCase[k]));
        ASSERT_EQ(placedCount(), 1) << k;
        ASSERT_EQ(cornerAt(k + 1), homeCorner(k + 1));
        baseStage5();
        EXPECT_EQ(readFile(kTraceFileName), traces[k]);
        EXPECT_EQ(lines(emittedSeq()), traces[k]);
        EXPECT_EQ(moveListLast, 7);
        applySeq(emittedSeq());
        EXPECT_TRUE(isSolved()) << k;
    }
}

TEST_F(BaseStage5Test, AllCornersPlacedStillEmitsThe12Case) {
    baseStage5();
    EXPECT_EQ(caseOf(emittedSeq()), 0);
    applySeq(emittedSeq());
    EXPECT_EQ(cornerAt(1), homeCorner(1));
    for (int j = 2; j <= 4; ++j) EXPECT_NE(cornerAt(j), homeCorner(j)) << j;
    EXPECT_FALSE(stageComplete5());
}

// Over many cubes with the first two layers solved and the face-6 edges in
// place: the number of placed corners is never two or three; the first placed
// corner in the order 1/2, 2/3, 3/4, 4/1 chooses the case, the 1/2 case when
// none is; the chosen case does not depend on the twists; the case cycles
// three corners as stated and changes no other cell; and at most three runs
// place all four corners, the first run leaving exactly one placed when none
// was.
TEST_F(BaseStage5Test, CasesCycleThreeCornersAndFinishWithinThreeRuns) {
    std::mt19937 rng(5);
    int seenPlaced[5] = {};
    int longest = 0;
    for (int n = 0; n < 1500; ++n) {
        resetCube();
        scramble(rng, 14, kAnyLastLayer);
        // Line the edges up with stage 4 so the state is one stage 5 meets.
        for (int i = 0; i < 4 && !stageComplete4(); ++i) {
            baseStage4();
            applySeq(emittedSeq());
        }
        ASSERT_TRUE(stageComplete4());
        ASSERT_TRUE(firstTwoLayersWhole());
        const int placed = placedCount();
        ++seenPlaced[placed];
        ASSERT_TRUE(placed == 0 || placed == 1 || placed == 4) << placed;
        ASSERT_EQ(stageComplete5(), placed == 4);

        int first = 0;
        for (int j = 4; j >= 1; --j)
            if (cornerAt(j) == homeCorner(j)) first = j;
        baseStage5();
        const int k = caseOf(emittedSeq());
        ASSERT_EQ(k, first == 0 ? 0 : first - 1);
        ASSERT_EQ(moveListLast, 7);

        // The same cube with two corners twisted the other way picks the same case.
        const Grid here = grid();
        applySeq(twistPair(1 + n % 4, 1 + n % 3));
        baseStage5();
        ASSERT_EQ(caseOf(emittedSeq()), k);
        applySeq(inverseSeq(twistPair(1 + n % 4, 1 + n % 3)));
        ASSERT_TRUE(sameGrid(here, grid()));

        int before[5];
        for (int j = 1; j <= 4; ++j) before[j] = cornerAt(j);
        applySeq(kCornerCase[k]);
        std::vector<int> moved;
        for (int j = 1; j <= 4; ++j) {
            const int to = kCornerTo[k][j] ? kCornerTo[k][j] : j;
            ASSERT_EQ(cornerAt(to), before[j]) << "case " << k << " corner " << j;
            if (kCornerTo[k][j])
                for (const Cell& c : kCorner[to]) moved.push_back(c.f * 100 + c.r * 10 + c.c);
        }
        for (int cell : changedCells(here, grid()))
            ASSERT_NE(std::find(moved.begin(), moved.end(), cell), moved.end()) << cell;
        if (placed == 0) {
            ASSERT_EQ(placedCount(), 1);
        }

        // Finish the stage from the original cube.
        applySeq(inverseSeq(kCornerCase[k]));
        int runs = 0;
        while (!stageComplete5() && runs < 6) {
            baseStage5();
            applySeq(emittedSeq());
            ++runs;
        }
        ASSERT_TRUE(stageComplete5());
        ASSERT_TRUE(firstTwoLayersWhole());
        ASSERT_TRUE(stageComplete4());
        longest = std::max(longest, runs);
    }
    EXPECT_LE(longest, 3);
    // The sample holds each kind of state the stage meets.
    EXPECT_GT(seenPlaced[0], 0);
    EXPECT_GT(seenPlaced[1], 0);
    EXPECT_GT(seenPlaced[4], 0);
}

} // namespace
