// "Half-solve": the piece tests, what the two removal routines do to the
// cube (checked piece by piece on many cubes), and the driver's steps.
#include "tests/support/cube_support.h"

using namespace cubetest;

namespace {

bool halfSolved() {
    return stageComplete1() && threeCornersComplete() && pairCornerOut() &&
           threeMiddleEdgesComplete() && pairEdgeOut();
}

// Random turns of the given layers.
Moves turnsOf(std::mt19937& rng, std::initializer_list<int> layers, int n) {
    const std::vector<int> l(layers);
    Moves out;
    for (int i = 0; i < n; ++i) out.push_back({l[rng() % l.size()], rng() % 2 ? 1 : -1});
    return out;
}

constexpr Pos kPairCorner = {3, 3, 3};
constexpr Pos kPairEdge = {3, 2, 3};
// The middle edges 1/2, 2/3, 3/4.
constexpr Pos kOtherMiddleEdges[3] = {{1, 2, 3}, {1, 2, 1}, {3, 2, 1}};

bool same(const Pos& a, const Pos& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

} // namespace

using HalfSolve = CubeTest;

TEST_F(HalfSolve, PieceTestsOnTheStartStateAndOneTurnAway) {
    EXPECT_TRUE(threeCornersComplete());
    EXPECT_FALSE(pairCornerOut());
    EXPECT_TRUE(threeMiddleEdgesComplete());
    EXPECT_FALSE(pairEdgeOut());
    // Face 3's layer holds corners 2/3 and 3/4 and middle edges 2/3 and 3/4,
    // not the pair.
    turnLayer(4, 1);
    EXPECT_FALSE(threeCornersComplete());
    EXPECT_FALSE(threeMiddleEdgesComplete());
    EXPECT_FALSE(pairCornerOut());
    EXPECT_FALSE(pairEdgeOut());
    // Face 1's layer holds the pair and corner 1/2, middle edge 1/2.
    freshProgram();
    turnLayer(6, -1);
    EXPECT_TRUE(pairCornerOut());
    EXPECT_TRUE(pairEdgeOut());
    EXPECT_FALSE(threeCornersComplete());
    EXPECT_FALSE(threeMiddleEdgesComplete());
}

// Cubes turned only by layers 1, 4 and 7 keep the pair's corner solved; the
// three moves drop it to the face-6 corner between faces 3 and 4 and bring
// up the face-6 corner between faces 4 and 1; the rest of the face-5 layer
// and the other middle edges keep their pieces, twist included.
TEST_F(HalfSolve, RemovingTheCornerOnManyCubes) {
    std::mt19937 rng(21);
    for (int trial = 0; trial < 300; ++trial) {
        freshProgram();
        apply(turnsOf(rng, {1, 4, 7}, 20));
        ASSERT_FALSE(pairCornerOut());
        removePairCorner();
        ASSERT_EQ(emitted(), (Moves{{6, -1}, {7, 1}, {6, 1}}));
        ASSERT_EQ(readFile(kTraceFileName), "6 -1\n7 1\n6 1\n");
        const std::vector<int> corner = pieceAt(kPairCorner);
        const std::vector<int> risen = pieceAt({3, 1, 3});
        std::vector<std::vector<int>> layer, middles;
        for (const Pos& p : face5Layer()) layer.push_back(cubieAt(p));
        for (const Pos& p : kOtherMiddleEdges) middles.push_back(cubieAt(p));
        applyEmitted();
        EXPECT_TRUE(pairCornerOut());
        EXPECT_EQ(pieceAt({3, 1, 1}), corner);
        EXPECT_EQ(pieceAt(kPairCorner), risen);
        const std::vector<Pos> cells = face5Layer();
        for (size_t i = 0; i < cells.size(); ++i)
            if (!same(cells[i], kPairCorner)) {
                ASSERT_EQ(cubieAt(cells[i]), layer[i]);
            }
        for (int i = 0; i < 3; ++i) ASSERT_EQ(cubieAt(kOtherMiddleEdges[i]), middles[i]);
    }
}

// Cubes turned only by layers 1, 4, 7 and 9 keep the pair's edge solved; the
// eight moves put it into the face-6 layer and the face-6 edge next to face 1
// into its place; the whole face-5 layer and the other middle edges keep
// their pieces, and every other piece that moves is in the face-6 layer.
TEST_F(HalfSolve, RemovingTheEdgeOnManyCubes) {
    std::mt19937 rng(22);
    for (int trial = 0; trial < 300; ++trial) {
        freshProgram();
        apply(turnsOf(rng, {1, 4, 7, 9}, 20));
        ASSERT_FALSE(pairEdgeOut());
        removePairEdge();
        ASSERT_EQ(emitted(),
                  (Moves{{7, -1}, {3, -1}, {7, 1}, {3, 1}, {7, 1}, {6, -1}, {7, -1}, {6, 1}}));
        ASSERT_EQ(readFile(kTraceFileName), "7 -1\n3 -1\n7 1\n3 1\n7 1\n6 -1\n7 -1\n6 1\n");
        const std::vector<int> edge = pieceAt(kPairEdge);
        const std::vector<int> fromFace6 = pieceAt({2, 1, 3});
        const Snapshot before = Snapshot::take();
        applyEmitted();
        EXPECT_TRUE(pairEdgeOut());
        EXPECT_EQ(pieceAt(kPairEdge), fromFace6);
        bool edgeInFace6Layer = false;
        for (int x = 1; x <= 3; ++x)
            for (int z = 1; z <= 3; ++z)
                if (pieceAt({x, 1, z}) == edge) edgeInFace6Layer = true;
        EXPECT_TRUE(edgeInFace6Layer);
        for (int x = 1; x <= 3; ++x)
            for (int y = 2; y <= 3; ++y)
                for (int z = 1; z <= 3; ++z) {
                    if (same({x, y, z}, kPairEdge)) continue;
                    ASSERT_TRUE(std::equal(CubieArray[x][y][z] + 1, CubieArray[x][y][z] + 7,
                                           before.cubies[x][y][z] + 1))
                        << x << y << z;
                }
    }
}

TEST_F(HalfSolve, SolvedCubeLosesItsPairCornerAndWithItTheEdge) {
    HalfSolveDriver();
    EXPECT_EQ(solution(), (Moves{{6, -1}, {7, 1}, {6, 1}}));
    EXPECT_EQ(readFile(kJournalFileName), "6 -1\n7 1\n6 1\n");
    EXPECT_TRUE(pairCornerOut());
    EXPECT_TRUE(pairEdgeOut());
    EXPECT_TRUE(halfSolved());
    // The first phase of a whole solve ends there; the Base loop puts the
    // pair back.
    freshProgram();
    ASSERT_EQ(computeSolve(3), 1);
    EXPECT_EQ(solveState.phaseMark, 3);
    EXPECT_EQ(solution(0, 3), (Moves{{6, -1}, {7, 1}, {6, 1}}));
    apply(solution());
    EXPECT_TRUE(isSolved());
}
