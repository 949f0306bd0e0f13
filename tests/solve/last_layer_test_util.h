// Cubes for the tests of Base stages 4 to 7: the move sequences of those
// stages written out move by move, last-layer cubes made from the start state
// by real turns, and the face-6-layer pieces read off by their colours.
#pragma once

#include "model/cube.h"
#include "model/moves.h"
#include "solve/solver.h"
#include "solve/stage_common.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace lltest {

using Seq = std::vector<Move>;

inline void startState() {
    initCubieArray();
    initFaceletGrid();
    backupTaken = 0;
}

inline void apply(const Seq& s) {
    for (const Move& m : s) turnLayer(m.layer, m.direction);
}

inline Seq inverse(const Seq& s) {
    Seq r;
    for (auto it = s.rbegin(); it != s.rend(); ++it) r.push_back({it->layer, -it->direction});
    return r;
}

inline Seq operator+(Seq a, const Seq& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// |d| turns of layer 7 that carry each face-6-layer piece d side faces on
// round the ring 1-2-3-4-1.
inline Seq layer7(int d) {
    return Seq(d < 0 ? -d : d, Move{7, d > 0 ? -1 : 1});
}

// The moves of the latest stage call: MoveList records 0..moveListLast.
inline Seq emitted() {
    return Seq(MoveList, MoveList + moveListLast + 1);
}

// The lines a stage writes for these moves, as they should stand in "Kyb.txt".
inline std::string lines(const Seq& s) {
    std::string t;
    for (const Move& m : s) t += std::to_string(m.layer) + " " + std::to_string(m.direction) + "\n";
    return t;
}

// ---- The stages' sequences ------------------------------------------------

// Stage 4's edge cycles 1, 2, 3.
inline const Seq kEdgeCycle[3] = {
    {{5, 1}, {5, 1}, {7, -1}, {5, -1}, {7, 1}, {7, 1}, {5, 1}, {7, -1}, {5, 1}, {5, 1}},
    {{5, -1}, {5, -1}, {7, -1}, {5, 1}, {7, 1}, {7, 1}, {5, -1}, {7, -1}, {5, -1}, {5, -1}},
    {{5, -1}, {5, -1}, {7, 1}, {5, 1}, {7, 1}, {7, 1}, {5, -1}, {7, 1}, {5, -1}, {5, -1}},
};

// Stage 5's cases, by the corner they keep: 0 = 1/2, 1 = 2/3, 2 = 3/4, 3 = 4/1.
inline const Seq kCornerCase[4] = {
    {{4, 1}, {3, 1}, {6, -1}, {3, -1}, {4, -1}, {3, 1}, {6, 1}, {3, -1}},
    {{3, 1}, {6, -1}, {1, -1}, {6, 1}, {3, -1}, {6, -1}, {1, 1}, {6, 1}},
    {{6, -1}, {1, -1}, {4, 1}, {1, 1}, {6, 1}, {1, -1}, {4, -1}, {1, 1}},
    {{1, -1}, {4, 1}, {3, 1}, {4, -1}, {1, 1}, {4, 1}, {3, -1}, {4, -1}},
};

inline Seq flipBlock(Move l) {
    Seq s;
    for (int i = 0; i < 4; ++i) s = s + Seq{l, {8, -1}};
    return s;
}

// Stage 6's cases in their order of test: pairs 1+3, 2+4, 1+4, 2+1, 3+2, 4+3.
inline const Seq kFlipCase[6] = {
    flipBlock({6, -1}) + Seq{{7, 1}, {7, 1}} + flipBlock({6, -1}) + Seq{{7, 1}, {7, 1}},
    flipBlock({1, -1}) + Seq{{7, 1}, {7, 1}} + flipBlock({1, -1}) + Seq{{7, 1}, {7, 1}},
    flipBlock({6, -1}) + Seq{{7, -1}} + flipBlock({6, -1}) + Seq{{7, 1}},
    flipBlock({1, -1}) + Seq{{7, -1}} + flipBlock({1, -1}) + Seq{{7, 1}},
    flipBlock({4, 1}) + Seq{{7, -1}} + flipBlock({4, 1}) + Seq{{7, 1}},
    flipBlock({3, 1}) + Seq{{7, -1}} + flipBlock({3, 1}) + Seq{{7, 1}},
};
inline const int kFlipPair[6][2] = {{1, 3}, {2, 4}, {1, 4}, {2, 1}, {3, 2}, {4, 3}};

// Stage 7's twists by workCorner 1..4 (corner 4/1, 1/2, 2/3, 3/4).
inline const Seq kTwistA[5] = {
    {},
    {{3, -1}, {6, -1}, {3, 1}, {6, 1}, {3, -1}, {6, -1}, {3, 1}, {6, 1}},
    {{6, 1}, {1, -1}, {6, -1}, {1, 1}, {6, 1}, {1, -1}, {6, -1}, {1, 1}},
    {{1, 1}, {4, 1}, {1, -1}, {4, -1}, {1, 1}, {4, 1}, {1, -1}, {4, -1}},
    {{4, -1}, {3, 1}, {4, 1}, {3, -1}, {4, -1}, {3, 1}, {4, 1}, {3, -1}},
};
inline const Seq kTwistB[5] = {
    {},
    {{6, -1}, {3, -1}, {6, 1}, {3, 1}, {6, -1}, {3, -1}, {6, 1}, {3, 1}},
    {{1, -1}, {6, 1}, {1, 1}, {6, -1}, {1, -1}, {6, 1}, {1, 1}, {6, -1}},
    {{4, 1}, {1, 1}, {4, -1}, {1, -1}, {4, 1}, {1, 1}, {4, -1}, {1, -1}},
    {{3, 1}, {4, -1}, {3, -1}, {4, 1}, {3, 1}, {4, -1}, {3, -1}, {4, 1}},
};

// Twists the corner at working corner `wc` and the one d places before it the
// other way, and leaves everything else as it was: the twist stirs the first
// two layers, layer 7 brings another corner under it, the inverse twist puts
// the layers back.
inline Seq twistPair(int wc, int d) {
    return kTwistA[wc] + layer7(d) + kTwistB[wc] + layer7(-d);
}

// ---- Face-6-layer pieces ----------------------------------------------------

// The edge above side face i: side cell, face-6 cell.
inline const Cell kEdge[5][2] = {{},
                                 {{1, 2, 1}, {6, 2, 3}},
                                 {{2, 1, 2}, {6, 1, 2}},
                                 {{3, 2, 1}, {6, 2, 1}},
                                 {{4, 1, 2}, {6, 3, 2}}};

// Corner positions by ring order, 1 = 1/2, 2 = 2/3, 3 = 3/4, 4 = 4/1 (the
// corner between faces j and j+1): face-6 cell, then the side cells on faces
// j and j+1.
inline const Cell kCorner[5][3] = {{},
                                   {{6, 1, 3}, {1, 1, 1}, {2, 1, 3}},
                                   {{6, 1, 1}, {2, 1, 1}, {3, 1, 1}},
                                   {{6, 3, 1}, {3, 3, 1}, {4, 1, 1}},
                                   {{6, 3, 3}, {4, 1, 3}, {1, 3, 1}}};

// Ring corner j of workCorner value k (k names the corner between faces
// k-1 and k).
inline int ringOfWorkCorner(int k) {
    return k == 1 ? 4 : k - 1;
}

// A piece named by its colours, whichever way round it sits.
inline int edgeAt(int i) {
    const int a = kEdge[i][0].colour(), b = kEdge[i][1].colour();
    return std::min(a, b) * 10 + std::max(a, b);
}
inline int cornerAt(int j) {
    int v[3] = {kCorner[j][0].colour(), kCorner[j][1].colour(), kCorner[j][2].colour()};
    std::sort(v, v + 3);
    return v[0] * 100 + v[1] * 10 + v[2];
}
// The edge that belongs above face i, the corner that belongs at ring j.
inline int homeEdge(int i) {
    const int a = centre(i), b = centre(6);
    return std::min(a, b) * 10 + std::max(a, b);
}
inline int homeCorner(int j) {
    int v[3] = {centre(6), centre(j), centre(j % 4 + 1)};
    std::sort(v, v + 3);
    return v[0] * 100 + v[1] * 10 + v[2];
}

// The face-6 colour's place on corner j: 0 on face 6, else 1 or 2 for the
// side cell on face j or face j+1.
inline int twistOf(int j) {
    for (int k = 0; k < 3; ++k)
        if (kCorner[j][k].colour() == centre(6)) return k;
    return -1;
}

// The first two layers and the centres as a solved cube shows them: face 5
// whole, and the two rows or columns of each side face away from face 6.
inline bool firstTwoLayersWhole() {
    for (int f = 1; f <= 6; ++f)
        if (centre(f) != kStartFaceColour[f]) return false;
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 3; ++c) {
            if (FaceletGrid[5][r][c] != centre(5)) return false;
            if (c > 1 && FaceletGrid[1][r][c] != centre(1)) return false;
            if (r > 1 && FaceletGrid[2][r][c] != centre(2)) return false;
            if (c > 1 && FaceletGrid[3][r][c] != centre(3)) return false;
            if (r > 1 && FaceletGrid[4][r][c] != centre(4)) return false;
        }
    return true;
}

struct Grid {
    int g[7][4][4];
};
inline Grid grid() {
    Grid s;
    std::memcpy(s.g, FaceletGrid, sizeof s.g);
    return s;
}
// Cells (face, row, col) that differ between two grids, as f*100+r*10+c.
inline std::vector<int> changedCells(const Grid& a, const Grid& b) {
    std::vector<int> out;
    for (int f = 1; f <= 6; ++f)
        for (int r = 1; r <= 3; ++r)
            for (int c = 1; c <= 3; ++c)
                if (a.g[f][r][c] != b.g[f][r][c]) out.push_back(f * 100 + r * 10 + c);
    return out;
}
inline bool sameGrid(const Grid& a, const Grid& b) {
    return changedCells(a, b).empty();
}

// ---- Random last-layer cubes ----------------------------------------------

// What a scramble may change.
enum : unsigned {
    kTurnLayer7 = 1,    // quarter turns of the face-6 layer
    kCycleEdges = 2,    // stage 4's edge cycles
    kCycleCorners = 4,  // stage 5's corner cycles
    kFlipEdges = 8,     // stage 6's flips
    kTwistCorners = 16, // pairs of opposite corner twists
    kAnyLastLayer = 31,
};

// Applies `picks` random sequences of the allowed kinds to the cube. None of
// them touches the first two layers.
inline void scramble(std::mt19937& rng, int picks, unsigned kinds) {
    std::vector<Seq> pool;
    if (kinds & kTurnLayer7) pool = {layer7(1), layer7(-1)};
    if (kinds & kCycleEdges) pool.insert(pool.end(), kEdgeCycle, kEdgeCycle + 3);
    if (kinds & kCycleCorners) pool.insert(pool.end(), kCornerCase, kCornerCase + 4);
    if (kinds & kFlipEdges) pool.insert(pool.end(), kFlipCase, kFlipCase + 6);
    if (kinds & kTwistCorners)
        for (int wc = 1; wc <= 4; ++wc)
            for (int d = 1; d <= 3; ++d) pool.push_back(twistPair(wc, d));
    std::uniform_int_distribution<size_t> pick(0, pool.size() - 1);
    for (int i = 0; i < picks; ++i) apply(pool[pick(rng)]);
}

// Each test starts from the start state in a fresh working directory, with
// the solve flags cleared and the driver's stage table as the program has it.
class LastLayerTest : public ::testing::Test {
  protected:
    TempWorkDir dir;
    StageRoutine savedTable[8];
    int savedWorkCorner = 0, savedWorkCornerSet = 0;

    void SetUp() override {
        ASSERT_FALSE(dir.path.empty());
        std::copy(baseStageTable, baseStageTable + 8, savedTable);
        savedWorkCorner = workCorner;
        savedWorkCornerSet = workCornerSet;
        startState();
        lastStageActive = 0;
        workColourSet = 0;
        solveRequested = 0;
        moveListLast = 0;
        solutionCount = 0;
        driverCalls = 0;
        solutionOverflow = 0;
    }
    void TearDown() override {
        std::copy(savedTable, savedTable + 8, baseStageTable);
        workCorner = savedWorkCorner;
        workCornerSet = savedWorkCornerSet;
        lastStageActive = 0;
        backupTaken = 0;
        solutionCount = 0;
    }
};

// Put into the driver's slots of stages 1-3, which a last-layer test must
// never reach: counts the call and leaves an invalid move, which turns
// nothing, for the driver to apply.
inline int earlyStageRuns = 0;
inline void earlyStageGuard() {
    ++earlyStageRuns;
    stageBegin();
    MoveList[0] = {0, 0};
    stageEnd();
}
inline void guardEarlyStages() {
    earlyStageRuns = 0;
    for (int k = 1; k <= 3; ++k) baseStageTable[k] = earlyStageGuard;
}

} // namespace lltest
