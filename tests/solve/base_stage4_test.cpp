// Base stage 4, the face-6 edges into their places: the layer-7 turn that
// lines up centre 2's edge, the choice of edge cycle, what each cycle does to
// a real cube, and the stage run through the driver from many last-layer
// cubes.
#include "tests/support/cube_support.h"

namespace {

using namespace cubetest;

class BaseStage4Test : public CubeTest {};

// From the start state, a layer-7 turn puts centre 2's edge elsewhere; the
// stage turns it back with the shortest run the ring allows.
TEST_F(BaseStage4Test, TurnsLayer7UntilCentre2EdgeStandsOverFace2) {
    struct Case {
        Seq mix;      // applied to the start state
        Seq expected; // the stage's whole output
    } cases[] = {
        {layer7(2), {{7, 1}, {7, 1}}}, // edge over face 4
        {layer7(-1), {{7, -1}}},       // edge over face 1
        {layer7(1), {{7, 1}}},         // edge over face 3
    };
    for (const Case& k : cases) {
        resetCube();
        applySeq(k.mix);
        baseStage4();
        EXPECT_EQ(lines(emittedSeq()), lines(k.expected));
        EXPECT_EQ(moveListLast, static_cast<int>(k.expected.size()) - 1);
        EXPECT_EQ(readFile(kTraceFileName), lines(k.expected));
        applySeq(emittedSeq());
        EXPECT_TRUE(isSolved());
    }
}

TEST_F(BaseStage4Test, EdgesInAThreeCycleAreClosedByCycle2Or3) {
    // Undoing cycle 2 on a solved cube leaves c3 over face 4, c1 over face 3
    // and c4 over face 1; undoing cycle 3 leaves c1 over 4, c3 over 1, c4 over 3.
    const struct {
        int cycle;
        int above[5]; // face whose centre colour the edge over face i carries
    } cases[] = {{1, {0, 4, 2, 1, 3}}, {2, {0, 3, 2, 4, 1}}};
    for (const auto& k : cases) {
        resetCube();
        applySeq(inverseSeq(kEdgeCycle[k.cycle]));
        for (int i = 1; i <= 4; ++i) {
            const int want = centre(k.above[i]);
            EXPECT_TRUE(kEdge[i][0].colour() == want || kEdge[i][1].colour() == want) << i;
        }
        baseStage4();
        EXPECT_EQ(lines(emittedSeq()), lines(kEdgeCycle[k.cycle]));
        EXPECT_EQ(moveListLast, 9);
        EXPECT_EQ(readFile(kTraceFileName), lines(kEdgeCycle[k.cycle]));
        applySeq(emittedSeq());
        EXPECT_TRUE(stageComplete4());
        EXPECT_TRUE(isSolved());
    }
}

TEST_F(BaseStage4Test, EachCycleMovesThreeEdgesAndNothingElse) {
    // Where the edge over face i goes, for cycles 1, 2, 3 (0 = stays).
    const int to[3][5] = {{0, 3, 1, 2, 0}, {0, 4, 0, 1, 3}, {0, 3, 0, 4, 1}};
    std::mt19937 rng(41);
    for (int n = 0; n < 300; ++n) {
        resetCube();
        scramble(rng, 12, kAnyLastLayer);
        for (int k = 0; k < 3; ++k) {
            int before[5];
            for (int i = 1; i <= 4; ++i) before[i] = edgeAt(i);
            const Grid g = grid();
            applySeq(kEdgeCycle[k]);
            std::vector<int> moved;
            for (int i = 1; i <= 4; ++i) {
                const int j = to[k][i] ? to[k][i] : i;
                ASSERT_EQ(edgeAt(j), before[i]) << "cycle " << k + 1 << " edge over " << i;
                if (to[k][i])
                    for (const Cell& c : kEdge[j]) moved.push_back(c.f * 100 + c.r * 10 + c.c);
            }
            // Only cells of the three moved edges may differ.
            for (int cell : changedCells(g, grid()))
                ASSERT_NE(std::find(moved.begin(), moved.end(), cell), moved.end()) << cell;
            ASSERT_TRUE(firstTwoLayersWhole());
        }
    }
}

// Through the driver, from last-layer cubes of every kind: stage 4 runs until
// the edges are placed, at most twice lining up and twice cycling, and the
// first two layers and the centres are whole after every call.
TEST_F(BaseStage4Test, DriverPlacesAllFace6EdgesFromRandomLastLayers) {
    guardEarlyStages();
    std::mt19937 rng(4);
    for (int n = 0; n < 1000; ++n) {
        resetCube();
        scramble(rng, 20, kAnyLastLayer);
        ASSERT_TRUE(firstTwoLayersWhole());
        int calls = 0;
        while (!stageComplete4() && calls < 10) {
            BaseDriver();
            ++calls;
            const Seq out = emittedSeq();
            const bool isRun = out.size() <= 2 && std::all_of(out.begin(), out.end(),
                                                              [](Move m) { return m.layer == 7; });
            const bool isCycle = lines(out) == lines(kEdgeCycle[0]) ||
                                 lines(out) == lines(kEdgeCycle[1]) ||
                                 lines(out) == lines(kEdgeCycle[2]);
            ASSERT_TRUE(isRun || isCycle) << lines(out);
            if (isRun) {
                ASSERT_EQ(edgeAt(2), homeEdge(2));
            }
            ASSERT_TRUE(firstTwoLayersWhole());
        }
        ASSERT_TRUE(stageComplete4()) << "cube " << n;
        EXPECT_LE(calls, 4);
        ASSERT_EQ(earlyStageRuns, 0);
        backupTaken = 0;
        solutionCount = 0;
    }
}

} // namespace
