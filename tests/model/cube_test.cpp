// The cube model: start state, layer turns and their worked examples,
// properties over random move sequences, backup and restore.
#include "tests/support/cube_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>

using namespace cubetest;

namespace {

// Every cubie of the start state is a rotation of a start cubie: its six
// colours are 1..6, each once, with opposite pairs (1,3), (2,4), (5,6) on
// opposite sides, and the same handedness as the start cubie.
bool isRotationOfStartCubie(const int* s) {
    std::array<int, 7> seen{};
    for (int i = 1; i <= 6; ++i) {
        if (s[i] < 1 || s[i] > 6) return false;
        ++seen[s[i]];
    }
    for (int c = 1; c <= 6; ++c)
        if (seen[c] != 1) return false;
    // Opposite sides: 1/3 (-z/+z), 2/4 (+x/-x), 5/6 (-y/+y).
    auto opposite = [](int c) {
        return c == 1 ? 3 : c == 3 ? 1 : c == 2 ? 4 : c == 4 ? 2 : c == 5 ? 6 : 5;
    };
    if (s[3] != opposite(s[1]) || s[4] != opposite(s[2]) || s[6] != opposite(s[5])) return false;
    // Handedness: directions of the sides as vectors; the colour shown on
    // side a, b, c (x, y, z positive) must keep the start triple's orientation.
    static const int dir[7][3] = {{0, 0, 0},  {0, 0, -1}, {1, 0, 0}, {0, 0, 1},
                                  {-1, 0, 0}, {0, -1, 0}, {0, 1, 0}};
    // Where each colour sits now: colour s[i] is on side i. Colour c started on side c.
    int pos[7];
    for (int i = 1; i <= 6; ++i) pos[s[i]] = i;
    // The rotation maps start direction of colour c to dir[pos[c]]. Check the
    // images of +x (colour 2), +y (colour 6), +z (colour 3) form a right-handed frame.
    const int* ex = dir[pos[2]];
    const int* ey = dir[pos[6]];
    const int* ez = dir[pos[3]];
    const int cross[3] = {ex[1] * ey[2] - ex[2] * ey[1], ex[2] * ey[0] - ex[0] * ey[2],
                          ex[0] * ey[1] - ex[1] * ey[0]};
    return cross[0] == ez[0] && cross[1] == ez[1] && cross[2] == ez[2];
}

bool gridAgreesWithCubies() {
    int saved[7][4][4];
    std::copy(&FaceletGrid[0][0][0], &FaceletGrid[0][0][0] + 7 * 16, &saved[0][0][0]);
    rebuildFaceletGrid();
    return std::equal(&FaceletGrid[0][0][0], &FaceletGrid[0][0][0] + 7 * 16, &saved[0][0][0]);
}

// Every cubie entry, hidden sides included, equals the snapshot's.
bool sameCubies(const Snapshot& a) {
    return std::memcmp(CubieArray, a.cubies, sizeof a.cubies) == 0;
}

} // namespace

TEST(CubeStart, SolvedWithTheStartCentres) {
    resetCube();
    EXPECT_TRUE(isSolved());
    for (int f = 1; f <= 6; ++f) EXPECT_EQ(FaceletGrid[f][2][2], kStartFaceColour[f]) << f;
    // The start grid is the picture the cubies give through the face table.
    EXPECT_TRUE(gridAgreesWithCubies());
}

TEST(TurnLayer, Layer9WorkedExample) {
    resetCube();
    turnLayer(9, +1);
    EXPECT_EQ(CubieArray[3][3][3][2], 3);
    EXPECT_EQ(FaceletGrid[4][3][3], 3);
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 3; ++c) {
            EXPECT_EQ(FaceletGrid[5][r][c], 6);
            EXPECT_EQ(FaceletGrid[6][r][c], 5);
        }
    // The face-5-side strip of each side face moves one face on, 1 -> 4 -> 3 -> 2 -> 1.
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(FaceletGrid[4][3][k], 3);
        EXPECT_EQ(FaceletGrid[3][k][3], 2);
        EXPECT_EQ(FaceletGrid[2][3][k], 1);
        EXPECT_EQ(FaceletGrid[1][k][3], 4);
    }
}

TEST(TurnLayer, Layer5WorkedExample) {
    resetCube();
    turnLayer(5, +1);
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 3; ++c) {
            EXPECT_EQ(FaceletGrid[1][r][c], 3);
            EXPECT_EQ(FaceletGrid[3][r][c], 1);
        }
    for (int r = 1; r <= 3; ++r) {
        EXPECT_EQ(FaceletGrid[2][r][2], 6);
        EXPECT_EQ(FaceletGrid[5][r][2], 2);
        EXPECT_EQ(FaceletGrid[4][r][2], 5);
        EXPECT_EQ(FaceletGrid[6][r][2], 4);
    }
    EXPECT_FALSE(isSolved());
}

TEST(TurnLayer, OneTurnMovesExactly52Entries) {
    for (int layer = 1; layer <= 9; ++layer)
        for (int dir : {1, -1}) {
            resetCube();
            // Give every entry a distinct value so every move is visible.
            int v = 0;
            for (int x = 1; x <= 3; ++x)
                for (int y = 1; y <= 3; ++y)
                    for (int z = 1; z <= 3; ++z)
                        for (int s = 1; s <= 6; ++s) CubieArray[x][y][z][s] = ++v;
            const Snapshot before = Snapshot::take();
            turnLayer(layer, dir);
            int moved = 0;
            for (int x = 1; x <= 3; ++x)
                for (int y = 1; y <= 3; ++y)
                    for (int z = 1; z <= 3; ++z)
                        for (int s = 1; s <= 6; ++s)
                            if (CubieArray[x][y][z][s] != before.cubies[x][y][z][s]) ++moved;
            EXPECT_EQ(moved, 52) << "layer " << layer << " dir " << dir;
        }
}

TEST(TurnLayer, InvalidMovesTurnNothingButRebuildTheGrid) {
    const int bad[][2] = {{0, 1}, {10, -1}, {3, 0}, {-1, 1}, {5, 2}};
    for (const auto& m : bad) {
        resetCube();
        turnLayer(2, 1);
        const Snapshot before = Snapshot::take();
        FaceletGrid[1][1][1] = 99; // edited by hand
        FaceletGrid[6][3][3] = 0;
        turnLayer(m[0], m[1]);
        EXPECT_TRUE(sameCubies(before));
        EXPECT_EQ(FaceletGrid[1][1][1], before.grid[1][1][1]);
        EXPECT_EQ(FaceletGrid[6][3][3], before.grid[6][3][3]);
    }
}

TEST(TurnLayer, PropertiesOverRandomSequences) {
    std::mt19937 rng(12345);
    for (int trial = 0; trial < 3000; ++trial) {
        resetCube();
        const int length = 1 + static_cast<int>(rng() % 40);
        for (int i = 0; i < length; ++i)
            turnLayer(1 + static_cast<int>(rng() % 9), rng() % 2 ? 1 : -1);
        const int layer = 1 + static_cast<int>(rng() % 9);
        const int dir = rng() % 2 ? 1 : -1;
        const Snapshot before = Snapshot::take();
        // Four equal quarter turns restore every entry.
        for (int i = 0; i < 4; ++i) turnLayer(layer, dir);
        ASSERT_TRUE(sameCubies(before));
        // A turn followed by its inverse restores it too.
        turnLayer(layer, dir);
        turnLayer(layer, -dir);
        ASSERT_TRUE(sameCubies(before));
        // Every cubie is still a rotation of a start cubie, hidden sides included.
        for (int x = 1; x <= 3; ++x)
            for (int y = 1; y <= 3; ++y)
                for (int z = 1; z <= 3; ++z)
                    ASSERT_TRUE(isRotationOfStartCubie(CubieArray[x][y][z]))
                        << x << y << z << " after trial " << trial;
        ASSERT_TRUE(gridAgreesWithCubies());
    }
}

TEST(Backup, RestoreBringsBackBothArraysAndClearsTheFlag) {
    resetCube();
    turnLayer(4, 1);
    turnLayer(8, -1);
    const Snapshot before = Snapshot::take();
    backupCube();
    EXPECT_EQ(backupTaken, 1);
    for (int i = 0; i < 20; ++i) turnLayer(1 + i % 9, i % 3 ? 1 : -1);
    restoreCube();
    EXPECT_EQ(backupTaken, 0);
    EXPECT_TRUE(sameCubies(before));
    EXPECT_TRUE(gridAgreesWithCubies());
    EXPECT_FALSE(isSolved());
}
