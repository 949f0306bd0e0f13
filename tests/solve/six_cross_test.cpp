// "6 - cross": the corner test, the cases, sources, targets and distances of
// raiseFace5Corner, what its moves do to the cube, and the driver.
#include "tests/support/cube_support.h"

using namespace cubetest;

namespace {

// A grid that shows no cube colour anywhere except centre 5 = w; cells are
// then set one by one, so that a case is exactly the cells named.
constexpr int kBlank = 9;
void blankGrid(int w) {
    for (int f = 1; f <= 6; ++f)
        for (int r = 1; r <= 3; ++r)
            for (int c = 1; c <= 3; ++c) FaceletGrid[f][r][c] = kBlank;
    FaceletGrid[5][2][2] = w;
    solveState.workColour = w;
    solveState.workColourSet = 1;
}
void put(int f, int r, int c, int colour) {
    FaceletGrid[f][r][c] = colour;
}

// One face-5 cell of each slot, 1..4.
constexpr Cell kSlotFace5[5] = {{}, {5, 3, 3}, {5, 1, 3}, {5, 1, 1}, {5, 3, 1}};
// Slot k's corner position among the cubies.
constexpr Pos kSlotPos[5] = {{0, 0, 0}, {3, 3, 3}, {1, 3, 3}, {1, 3, 1}, {3, 3, 1}};

void fillSlots(std::initializer_list<int> slots, int w) {
    for (int k : slots) put(kSlotFace5[k].f, kSlotFace5[k].r, kSlotFace5[k].c, w);
}

bool slotHolds(int k, int w) {
    static constexpr Cell cells[5][3] = {{},
                                         {{5, 3, 3}, {1, 3, 3}, {4, 3, 3}},
                                         {{5, 1, 3}, {1, 1, 3}, {2, 3, 3}},
                                         {{5, 1, 1}, {2, 3, 1}, {3, 1, 3}},
                                         {{5, 3, 1}, {3, 3, 3}, {4, 3, 1}}};
    for (const Cell& c : cells[k])
        if (c.colour() == w) return true;
    return false;
}

Moves raise() {
    raiseFace5Corner();
    return emitted();
}

} // namespace

using SixCross = CubeTest;

TEST_F(SixCross, CornerTestAsksOnlyForCentreFiveSomewhereInEachSlot) {
    const int w = 6;
    blankGrid(w);
    // One slot each way round: on face 5, on the first and on the second side cell.
    put(5, 3, 3, w);
    put(1, 1, 3, w);
    put(3, 1, 3, w);
    put(4, 3, 1, w);
    EXPECT_TRUE(face5CornersComplete());
    put(4, 3, 1, 2);
    EXPECT_FALSE(face5CornersComplete());
    // The colour is centre 5 at the time of the test, not a fixed one.
    put(4, 3, 1, w);
    put(5, 2, 2, 3);
    EXPECT_FALSE(face5CornersComplete());

    // On a real cube: the face-5 layer turned out of line still passes, the
    // cross does not.
    freshProgram();
    turnLayer(9, 1);
    EXPECT_TRUE(face5CornersComplete());
    EXPECT_FALSE(stageComplete1());
}

// Worked cases on a grid that shows the cross colour only in the cells
// named: the case (leading, trailing, face 6), the highest position and the
// highest free slot decide; the layer-7 run, the insertion and "Kyb.txt".
TEST_F(SixCross, CasesPositionsAndSlotsOnHandMadeGrids) {
    const struct {
        std::vector<Cell> cells;
        std::initializer_list<int> filled;
        Moves expected;
    } cases[] = {
        {{{3, 1, 1}}, {1, 2}, {{7, -1}, {3, 1}, {7, 1}, {3, -1}}},
        {{{4, 1, 1}}, {1, 2, 3}, {{3, 1}, {7, 1}, {3, -1}}},
        // Trailing at position 1 counts as the highest (4): a full turn on.
        {{{4, 1, 3}, {2, 1, 1}},
         {2, 3, 4},
         {{7, 1}, {7, 1}, {7, 1}, {7, 1}, {6, -1}, {7, 1}, {6, 1}}},
        {{{4, 1, 3}}, {1, 3, 4}, {{7, 1}, {7, 1}, {7, 1}, {1, -1}, {7, 1}, {1, 1}}},
        {{{1, 1, 1}}, {1, 2, 3}, {{7, -1}, {7, -1}, {3, 1}, {7, 1}, {3, -1}}},
        // Leading before face 6, trailing before face 6.
        {{{6, 1, 1}, {2, 1, 3}}, {3, 4}, {{1, -1}, {7, 1}, {1, 1}}},
        {{{3, 3, 1}, {6, 3, 3}}, {2, 3, 4}, {{7, 1}, {7, 1}, {7, 1}, {6, -1}, {7, 1}, {6, 1}}},
        {{{6, 3, 1}}, {2, 3, 4}, {{7, 1}, {7, 1}, {7, 1}, {6, -1}, {7, 1}, {6, 1}}},
        // Highest position, highest free slot.
        {{{1, 3, 1}, {3, 1, 1}}, {2}, {{7, -1}, {3, 1}, {7, 1}, {3, -1}}},
        {{{1, 3, 1}}, {1, 2, 4}, {{7, -1}, {7, -1}, {4, 1}, {7, 1}, {4, -1}}},
        // No corner in the face-6 layer: nothing, record 0 kept.
        {{}, {1, 2}, {{5, -1}}},
    };
    const int w = 6;
    for (const auto& k : cases) {
        SCOPED_TRACE(linesOf(k.expected));
        blankGrid(w);
        for (const Cell& c : k.cells) put(c.f, c.r, c.c, w);
        fillSlots(k.filled, w);
        MoveList[0] = {5, -1};
        writeFile(kTraceFileName, "old\n");
        EXPECT_EQ(raise(), k.expected);
        EXPECT_EQ(moveListLast, static_cast<int>(k.expected.size()) - 1);
        EXPECT_EQ(readFile(kTraceFileName), k.cells.empty() ? "" : linesOf(k.expected));
    }
}

// On random cubes: every call lifts exactly one cross-colour corner into the
// free slot it chose and leaves every other piece of the face-5 layer as it
// was, twist included, in three to seven moves traced line by line.
TEST_F(SixCross, EveryCallAddsOneCornerAndKeepsTheRestOfTheFirstLayer) {
    std::mt19937 rng(901);
    int calls = 0;
    for (int trial = 0; trial < 3000; ++trial) {
        freshProgram();
        apply(randomTurns(rng, 25));
        const int w = centre(5);
        solveState.workColour = w;
        solveState.workColourSet = 1;
        if (face5CornersComplete()) continue;
        ++calls;
        int before = 0, target = 0;
        for (int k = 1; k <= 4; ++k) {
            before += slotHolds(k, w);
            if (!slotHolds(k, w)) target = k;
        }
        const std::vector<Pos> cells = face5Layer();
        std::vector<std::vector<int>> layer;
        for (const Pos& p : cells) layer.push_back(cubieAt(p));
        const Moves out = raise();
        ASSERT_GE(out.size(), 3u);
        ASSERT_LE(out.size(), 7u);
        ASSERT_EQ(readFile(kTraceFileName), linesOf(out));
        apply(out);
        int after = 0;
        for (int k = 1; k <= 4; ++k) after += slotHolds(k, w);
        ASSERT_EQ(after, before + 1) << "trial " << trial;
        ASSERT_TRUE(slotHolds(target, w)) << "trial " << trial;
        for (size_t i = 0; i < cells.size(); ++i) {
            const bool isTarget =
                cells[i].x == kSlotPos[target].x && cells[i].z == kSlotPos[target].z;
            if (!isTarget) {
                ASSERT_EQ(cubieAt(cells[i]), layer[i]) << "trial " << trial;
            }
        }
    }
    EXPECT_GT(calls, 2500);
}

// A solve that begins with the cross already complete: Base stage 1 never
// runs, so the driver has to take the cross colour itself.
TEST_F(SixCross, CrossCompleteAtTheStartWithAnyStaleColour) {
    for (int stale = 0; stale <= 6; ++stale) {
        freshProgram();
        apply({{3, -1}, {7, -1}, {3, 1}});
        ASSERT_TRUE(stageComplete1());
        ASSERT_FALSE(face5CornersComplete());
        if (stale == centre(5)) continue;
        // The first step: a corner lifted with the colour of centre 5.
        solveState.workColour = centre(5);
        solveState.workColourSet = 1;
        const Moves first = raise();
        ASSERT_FALSE(first.empty());
        solveState.workColourSet = 0;
        solveState.workColour = stale;
        const Snapshot cube = Snapshot::take();
        const int taken = sixCrossColourTaken;
        ASSERT_EQ(computeSolve(1), 1) << "stale colour " << stale;
        EXPECT_EQ(sixCrossColourTaken, taken + 1);
        EXPECT_TRUE(Snapshot::take() == cube);
        EXPECT_GT(solveState.phaseMark, 0);
        EXPECT_EQ(solution(0, static_cast<int>(first.size())), first);
        apply(solution());
        EXPECT_TRUE(isSolved()) << "stale colour " << stale;
        playbackEnded();
    }
}

TEST_F(SixCross, ColourTakenOnlyCountsWhenTheCrossWasComplete) {
    apply({{6, 1}});
    ASSERT_FALSE(stageComplete1());
    const int taken = sixCrossColourTaken;
    solveState.workColour = 3;
    SixCrossDriver();
    EXPECT_EQ(sixCrossColourTaken, taken);
    EXPECT_EQ(solveState.workColour, centre(5));
    EXPECT_EQ(solveState.workColourSet, 1);
}
