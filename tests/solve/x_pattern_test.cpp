// "'X'": the three X tests, what the twist and the swap do to the cube
// (checked piece by piece on many cubes), the markers on standard output,
// and the cube whose face-5 corners stand out of their cyclic order.
#include "tests/support/cube_support.h"

using namespace cubetest;

namespace {

constexpr Pos kCorner12 = {1, 1, 3}, kCorner23 = {1, 1, 1}, kCorner34 = {3, 1, 1},
              kCorner41 = {3, 1, 3};
constexpr Pos kFace5Corners[4] = {{1, 3, 1}, {1, 3, 3}, {3, 3, 1}, {3, 3, 3}};

const Moves kSwap = [] {
    Moves m;
    for (int i = 0; i < 5; ++i)
        for (const Turn& t : Moves{{1, -1}, {1, -1}, {6, -1}, {6, -1}, {7, 1}}) m.push_back(t);
    return m;
}();
const Moves kTwist = {{3, -1}, {7, 1}, {3, 1}, {7, 1}, {6, -1}, {7, -1}, {6, 1}};

bool pairMatches(int f) {
    static constexpr Cell pair[5][2] = {{},
                                        {{1, 1, 1}, {1, 3, 1}},
                                        {{2, 1, 1}, {2, 1, 3}},
                                        {{3, 1, 1}, {3, 3, 1}},
                                        {{4, 1, 1}, {4, 1, 3}}};
    return pair[f][0].colour() == pair[f][1].colour();
}

// The colour a face-6-layer piece shows on face 6 (cubie side 5, -y).
int face6Colour(const Pos& p) {
    return CubieArray[p.x][p.y][p.z][5];
}

bool allXTests() {
    return face6XComplete() && face5XComplete() && sideXComplete();
}

struct Captured {
    std::string out;
    Moves applied;
};
// Runs the driver once with standard output captured.
Captured driveOnce() {
    solutionCount = 0;
    testing::internal::CaptureStdout();
    XPatternDriver();
    std::fflush(stdout);
    Captured c;
    c.out = testing::internal::GetCapturedStdout();
    c.applied = solution();
    return c;
}

std::string repeated(const std::string& s, size_t n) {
    std::string out;
    for (size_t i = 0; i < n; ++i) out += s;
    return out;
}

} // namespace

using XPattern = CubeTest;

TEST_F(XPattern, TestsOnLayersTurnedOutOfLine) {
    EXPECT_TRUE(allXTests());
    // The face-5 layer a quarter out of line: its corners still make their
    // X, the side faces' face-5-layer pairs still match each other.
    turnLayer(9, 1);
    EXPECT_TRUE(face5XComplete());
    EXPECT_TRUE(sideXComplete());
    EXPECT_TRUE(face5CornersInOrder());
    EXPECT_FALSE(isSolved());
    // The face-6 layer out of line: its pairs match but not the centres.
    freshProgram();
    turnLayer(7, 1);
    EXPECT_TRUE(face6XComplete());
    EXPECT_FALSE(sideXComplete());
    // A twisted face-6 corner.
    freshProgram();
    apply(kTwist);
    EXPECT_FALSE(face6XComplete());
    EXPECT_TRUE(face5XComplete());
}

// The seven twist moves twist corner 2/3 in place, exchange corners 1/2 and
// 4/1, leave corner 3/4 alone and never touch the face-5 layer.
TEST_F(XPattern, TwistMovesOnManyCubes) {
    std::mt19937 rng(41);
    int twisted = 0, turned = 0;
    for (int trial = 0; trial < 3000; ++trial) {
        freshProgram();
        apply(randomTurns(rng, 25));
        const Snapshot before = Snapshot::take();
        twistFace6Corners();
        const Moves out = emitted();
        ASSERT_EQ(readFile(kTraceFileName), linesOf(out));
        if (out.size() == 1) {
            ASSERT_EQ(out, (Moves{{7, 1}}));
            ++turned;
            continue;
        }
        ASSERT_EQ(out, kTwist);
        ++twisted;
        const std::vector<int> c12 = pieceAt(kCorner12), c23 = pieceAt(kCorner23),
                               c41 = pieceAt(kCorner41), c34 = cubieAt(kCorner34);
        apply(out);
        ASSERT_EQ(pieceAt(kCorner23), c23);
        ASSERT_EQ(pieceAt(kCorner12), c41);
        ASSERT_EQ(pieceAt(kCorner41), c12);
        ASSERT_EQ(cubieAt(kCorner34), c34);
        for (const Pos& p : face5Layer())
            ASSERT_TRUE(std::equal(CubieArray[p.x][p.y][p.z] + 1, CubieArray[p.x][p.y][p.z] + 7,
                                   before.cubies[p.x][p.y][p.z] + 1));
    }
    EXPECT_GT(twisted, 0);
    EXPECT_GT(turned, 0);
}

// Each of the seven patterns alone calls for the twist; three of its four
// cells do not.
TEST_F(XPattern, EachTwistPatternAndNoPartOfOne) {
    const Cell patterns[7][4] = {
        {{6, 3, 1}, {6, 1, 3}, {1, 3, 1}, {2, 1, 1}}, {{6, 3, 1}, {6, 1, 1}, {1, 3, 1}, {1, 1, 1}},
        {{6, 3, 3}, {6, 1, 3}, {4, 1, 1}, {2, 1, 1}}, {{6, 3, 1}, {3, 1, 1}, {1, 3, 1}, {2, 1, 3}},
        {{6, 1, 3}, {4, 1, 3}, {3, 3, 1}, {2, 1, 1}}, {{4, 1, 1}, {2, 1, 1}, {1, 3, 1}, {1, 1, 1}},
        {{4, 1, 3}, {4, 1, 1}, {2, 1, 3}, {2, 1, 1}},
    };
    const int u = 5;
    for (int p = 0; p < 7; ++p) {
        for (int left = -1; left < 4; ++left) {
            for (int f = 1; f <= 6; ++f)
                for (int r = 1; r <= 3; ++r)
                    for (int c = 1; c <= 3; ++c) FaceletGrid[f][r][c] = 9;
            FaceletGrid[6][2][2] = u;
            for (int i = 0; i < 4; ++i)
                if (i != left)
                    FaceletGrid[patterns[p][i].f][patterns[p][i].r][patterns[p][i].c] = u;
            twistFace6Corners();
            EXPECT_EQ(emitted(), (left < 0 ? kTwist : Moves{{7, 1}}))
                << "pattern " << p + 1 << " without cell " << left;
        }
    }
}

// On cubes whose pairs on faces 2, 3 and 4 all differ, the 25 moves exchange
// the face-6 corners 2/3 and 3/4, each keeping its face-6 colour on face 6;
// the face-5 corners, the other two face-6 corners and the centres stay.
TEST_F(XPattern, SwapMovesOnManyCubes) {
    std::mt19937 rng(42);
    int swapped = 0, turned = 0;
    for (int trial = 0; trial < 2000; ++trial) {
        freshProgram();
        apply(randomTurns(rng, 25));
        const bool unmatched = !pairMatches(2) && !pairMatches(3) && !pairMatches(4);
        swapFace6Corners();
        const Moves out = emitted();
        ASSERT_EQ(readFile(kTraceFileName), linesOf(out));
        if (!unmatched) {
            ASSERT_EQ(out, (Moves{{7, 1}}));
            ++turned;
            continue;
        }
        ASSERT_EQ(out, kSwap);
        ASSERT_EQ(moveListLast, 24);
        ++swapped;
        const std::vector<int> c23 = pieceAt(kCorner23), c34 = pieceAt(kCorner34),
                               c12 = cubieAt(kCorner12), c41 = cubieAt(kCorner41);
        const int u23 = face6Colour(kCorner23), u34 = face6Colour(kCorner34);
        std::vector<std::vector<int>> face5;
        for (const Pos& p : kFace5Corners) face5.push_back(cubieAt(p));
        int centres[7];
        for (int f = 1; f <= 6; ++f) centres[f] = centre(f);
        apply(out);
        ASSERT_EQ(pieceAt(kCorner23), c34);
        ASSERT_EQ(pieceAt(kCorner34), c23);
        ASSERT_EQ(face6Colour(kCorner23), u34);
        ASSERT_EQ(face6Colour(kCorner34), u23);
        ASSERT_EQ(cubieAt(kCorner12), c12);
        ASSERT_EQ(cubieAt(kCorner41), c41);
        for (int i = 0; i < 4; ++i) ASSERT_EQ(cubieAt(kFace5Corners[i]), face5[i]);
        for (int f = 1; f <= 6; ++f) ASSERT_EQ(centre(f), centres[f]);
    }
    EXPECT_GT(swapped, 0);
    EXPECT_GT(turned, 0);
}

TEST_F(XPattern, SwapWritesTwentyFiveMarkersAndNoLoneTurnNote) {
    apply(kSwap); // corners 2/3 and 3/4 exchanged on an otherwise X-ed cube
    ASSERT_TRUE(face5XComplete());
    ASSERT_TRUE(face6XComplete());
    ASSERT_FALSE(pairMatches(2) || pairMatches(3) || pairMatches(4));
    const Captured c = driveOnce();
    EXPECT_EQ(c.applied, kSwap);
    EXPECT_EQ(c.out, repeated("All X-es\n", 25));
    EXPECT_EQ(readFile(kJournalFileName), linesOf(kSwap));
    // Exchanged back: every X is there.
    EXPECT_TRUE(allXTests());
}

TEST_F(XPattern, LoneTurnOfTheSwapStepIsNoted) {
    turnLayer(7, -1);
    ASSERT_TRUE(face5XComplete() && face6XComplete() && !sideXComplete());
    const Captured c = driveOnce();
    EXPECT_EQ(c.applied, (Moves{{7, 1}}));
    EXPECT_EQ(c.out, "All X-es\nniz!!!\n");
    EXPECT_TRUE(isSolved());
}

// From the start state turn (1,1) (9,-1) (9,-1) (3,1): Base stage 2 makes
// face 5's X with two corners exchanged; the first phase ends there, and the
// Base loop solves the cube.
TEST_F(XPattern, FaceFiveCornersOutOfOrderEndTheFirstPhase) {
    apply({{1, 1}, {9, -1}, {9, -1}, {3, 1}});
    const Snapshot cube = Snapshot::take();
    const int stops = xCornerOrderStops;
    testing::internal::CaptureStdout();
    const int done = computeSolve(4);
    const std::string out = testing::internal::GetCapturedStdout();
    ASSERT_EQ(done, 1);
    EXPECT_EQ(xCornerOrderStops, stops + 1);
    EXPECT_TRUE(Snapshot::take() == cube);
    const Moves moves = solution();
    // One marker per move of the first phase.
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), solveState.phaseMark);
    apply(Moves(moves.begin(), moves.begin() + solveState.phaseMark));
    EXPECT_TRUE(face5XComplete());
    EXPECT_FALSE(face5CornersInOrder());
    // Without the early end the driver would never see the side faces' X.
    backupTaken = 0;
    const Snapshot stuck = Snapshot::take();
    int sideX = 0;
    testing::internal::CaptureStdout();
    for (int i = 0; i < 200; ++i) {
        XPatternDriver();
        sideX += sideXComplete();
    }
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(sideX, 0);
    restoreCube();
    EXPECT_TRUE(Snapshot::take() == stuck);
    cube.put();
    apply(moves);
    EXPECT_TRUE(isSolved());
}
