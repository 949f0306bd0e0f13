// Shared by the headless tests of the solvers: a fixture that runs each test
// in a fresh temporary working directory (a solve writes "Kyb.txt" and
// "kub2.txt" there) with the solver state of a fresh program; cubes made by
// turns from the start state; snapshots of the cube and of its pieces; a
// small search for a cube that shows a wanted case; the loop that applies a
// stage until its test passes; and the last-layer sequences of stages 4 to 7.
#pragma once

#include "model/cube.h"
#include "model/moves.h"
#include "model/textlog.h"
#include "solve/routines.h"
#include "solve/solver.h"
#include "solve/stage_common.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <sys/stat.h>
#include <vector>

namespace cubetest {

// The solver's edge cells read by side face i: S the side cell and T the
// face-6 cell of the face-6-layer edge above face i, B the side cell and D
// the face-5 cell of the slot below it.
inline int S(int i) {
    return kEdgeSide[i].colour();
}
inline int T(int i) {
    return kEdgeTop[i].colour();
}
inline int B(int i) {
    return kSlotSide[i].colour();
}
inline int D(int i) {
    return kSlotDown[i].colour();
}

// A turn as {layer, direction}; pairs compare and print in test failures.
using Turn = std::pair<int, int>;
using Moves = std::vector<Turn>;

// The cube at its start state, no backup taken.
inline void resetCube() {
    initCubieArray();
    initFaceletGrid();
    backupTaken = 0;
}

// The cube at its start state and the flags of a solve cleared.
inline void startState() {
    resetCube();
    solveState.workColour = 0;
    solveState.workColourSet = 0;
    solveState.lastStageActive = 0;
    solveState.solveRequested = 0;
    solveState.playbackPending = 0;
    solutionCount = 0;
    moveListLast = 0;
}

// Everything a solve reads besides the cube, as at program start.
inline void freshProgram() {
    resetSolver();
}

// What the end of a solution's playback clears before the next solve.
inline void playbackEnded() {
    endSolve();
}

inline void apply(const Moves& moves) {
    for (const Turn& m : moves) turnLayer(m.first, m.second);
}

inline Moves inverse(const Moves& moves) {
    Moves out;
    for (auto it = moves.rbegin(); it != moves.rend(); ++it)
        out.push_back({it->first, -it->second});
    return out;
}

inline Moves randomTurns(std::mt19937& rng, int n) {
    Moves out;
    for (int i = 0; i < n; ++i)
        out.push_back({1 + static_cast<int>(rng() % 9), rng() % 2 ? 1 : -1});
    return out;
}

// The moves the latest stage call left in the MoveList (records 0..moveListLast).
inline Moves emitted() {
    Moves out;
    for (int i = 0; i <= moveListLast; ++i)
        out.push_back({MoveList[i].layer, MoveList[i].direction});
    return out;
}

inline void applyEmitted() {
    apply(emitted());
}

inline Moves solution(int from = 0, int to = -1) {
    if (to < 0) to = solutionCount;
    Moves out;
    for (int i = from; i < to; ++i)
        out.push_back({SolutionList[i].layer, SolutionList[i].direction});
    return out;
}

inline void writeFile(const char* name, const std::string& text) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out << text;
}

inline long fileSize(const char* name) {
    struct stat st {};
    return stat(name, &st) == 0 ? static_cast<long>(st.st_size) : 0;
}

// A file's content from byte `offset` on: what a solve added to the journal.
inline std::string readFrom(const char* name, long offset) {
    std::ifstream in(name, std::ios::binary);
    in.seekg(offset);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The trace or journal lines of a list of moves, "layer direction\n" each.
inline std::string linesOf(const Moves& moves) {
    std::string s;
    for (const Turn& m : moves)
        s += std::to_string(m.first) + " " + std::to_string(m.second) + "\n";
    return s;
}

// The twelve quarter turns of the six outer layers: they never move a centre.
inline std::vector<Moves> faceTurns() {
    std::vector<Moves> out;
    for (int layer : {1, 3, 4, 6, 7, 9})
        for (int d : {+1, -1}) out.push_back({{layer, d}});
    return out;
}

inline std::vector<int> centres() {
    std::vector<int> c;
    for (int f = 1; f <= 6; ++f) c.push_back(centre(f));
    return c;
}

// Looks for the shortest sequence of at most maxDepth steps (each one of
// `steps`, a short turn sequence) that, applied to the cube as it is, makes
// `wanted` true. On success the cube is left in that state and the steps
// taken are appended to `path`; otherwise the cube is left as it was.
inline bool findCube(const std::function<bool()>& wanted, const std::vector<Moves>& steps,
                     int maxDepth, Moves* path = nullptr) {
    std::vector<int> chosen;
    std::function<bool(int)> dive = [&](int depth) -> bool {
        if (depth == 0) return wanted();
        for (int s = 0; s < static_cast<int>(steps.size()); ++s) {
            apply(steps[s]);
            chosen.push_back(s);
            if (dive(depth - 1)) return true;
            chosen.pop_back();
            apply(inverse(steps[s]));
        }
        return false;
    };
    for (int depth = 0; depth <= maxDepth; ++depth) {
        if (dive(depth)) {
            if (path)
                for (int s : chosen) path->insert(path->end(), steps[s].begin(), steps[s].end());
            return true;
        }
    }
    return false;
}

// A random cube: `length` random quarter turns of any of the nine layers
// (middle slices too, so the centres end up anywhere) from the start state.
inline void randomCube(std::mt19937& rng, int length) {
    startState();
    std::uniform_int_distribution<int> layer(1, 9), dir(0, 1);
    for (int i = 0; i < length; ++i) turnLayer(layer(rng), dir(rng) ? 1 : -1);
}

// What the driver does for one stage, reduced to the stage itself: while the
// stage's test fails, run the stage with workColourSet cleared and apply its
// moves. `afterCall` sees every call's output once it has been applied.
// Returns the number of calls, or -1 when the bound ran out first.
inline int runStage(void (*stage)(), bool (*done)(), int bound,
                    const std::function<void(const Moves&)>& afterCall = nullptr) {
    for (int calls = 0; calls <= bound; ++calls) {
        if (done()) return calls;
        if (calls == bound) break;
        solveState.workColourSet = 0;
        stage();
        const Moves out = emitted();
        applyEmitted();
        if (afterCall) afterCall(out);
    }
    return -1;
}

// One "2x2x2" attempt as the first phase runs it, without the end that the
// solve gives to a second cut-off: until the block tests held at the start
// of an iteration or the attempt reached the move limit.
inline void runBlockAttempt() {
    bool held = false;
    while (!held && solutionCount < kBlockMoveLimit) {
        held = blockCornerComplete() && blockEdgesComplete() && blockMiddleEdgeComplete();
        TwoByTwoDriver();
    }
}

// The whole cube, both arrays.
struct Snapshot {
    int cubies[4][4][4][7];
    int grid[7][4][4];
    static Snapshot take() {
        Snapshot s;
        std::memcpy(s.cubies, CubieArray, sizeof s.cubies);
        std::memcpy(s.grid, FaceletGrid, sizeof s.grid);
        return s;
    }
    void put() const {
        std::memcpy(CubieArray, cubies, sizeof cubies);
        std::memcpy(FaceletGrid, grid, sizeof grid);
    }
    bool operator==(const Snapshot& o) const {
        return std::memcmp(cubies, o.cubies, sizeof cubies) == 0 &&
               std::memcmp(grid, o.grid, sizeof grid) == 0;
    }
};

// A cubie position (x, y, z), each 1..3.
struct Pos {
    int x, y, z;
};

// The six side colours of the cubie at p (its orientation included).
inline std::vector<int> cubieAt(const Pos& p) {
    return std::vector<int>(CubieArray[p.x][p.y][p.z] + 1, CubieArray[p.x][p.y][p.z] + 7);
}

// The colours a piece at p shows on the outside of the cube, sorted: which
// piece it is, whatever its twist. Side s faces -z, +x, +z, -x, -y, +y.
inline std::vector<int> pieceAt(const Pos& p) {
    std::vector<int> c;
    if (p.z == 1) c.push_back(CubieArray[p.x][p.y][p.z][1]);
    if (p.x == 3) c.push_back(CubieArray[p.x][p.y][p.z][2]);
    if (p.z == 3) c.push_back(CubieArray[p.x][p.y][p.z][3]);
    if (p.x == 1) c.push_back(CubieArray[p.x][p.y][p.z][4]);
    if (p.y == 1) c.push_back(CubieArray[p.x][p.y][p.z][5]);
    if (p.y == 3) c.push_back(CubieArray[p.x][p.y][p.z][6]);
    std::sort(c.begin(), c.end());
    return c;
}

// The nine positions of the face-5 layer (y = 3).
inline std::vector<Pos> face5Layer() {
    std::vector<Pos> out;
    for (int x = 1; x <= 3; ++x)
        for (int z = 1; z <= 3; ++z) out.push_back({x, 3, z});
    return out;
}

// ---- Last-layer sequences (stages 4 to 7), move by move ------------------

using Seq = std::vector<Move>;

inline void applySeq(const Seq& s) {
    for (const Move& m : s) turnLayer(m.layer, m.direction);
}

inline Seq inverseSeq(const Seq& s) {
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

inline Seq emittedSeq() {
    return Seq(MoveList, MoveList + moveListLast + 1);
}

inline std::string lines(const Seq& s) {
    std::string t;
    for (const Move& m : s) t += std::to_string(m.layer) + " " + std::to_string(m.direction) + "\n";
    return t;
}

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
                                 {kEdgeSide[1], kEdgeTop[1]},
                                 {kEdgeSide[2], kEdgeTop[2]},
                                 {kEdgeSide[3], kEdgeTop[3]},
                                 {kEdgeSide[4], kEdgeTop[4]}};

// Corner positions by ring order, 1 = 1/2, 2 = 2/3, 3 = 3/4, 4 = 4/1 (the
// corner between faces j and j+1): face-6 cell, then the side cells on faces
// j and j+1.
inline const Cell kCorner[5][3] = {
    {},
    {kFace6Corner[2].cap, kFace6Corner[2].before, kFace6Corner[2].after},
    {kFace6Corner[3].cap, kFace6Corner[3].before, kFace6Corner[3].after},
    {kFace6Corner[4].cap, kFace6Corner[4].before, kFace6Corner[4].after},
    {kFace6Corner[1].cap, kFace6Corner[1].before, kFace6Corner[1].after}};

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
    for (int i = 0; i < picks; ++i) applySeq(pool[pick(rng)]);
}

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

// Runs each test in a fresh temporary working directory with the solver
// state of a fresh program; the driver's stage table and the working corner
// come back afterwards.
class CubeTest : public ::testing::Test {
  protected:
    TempWorkDir dir;
    StageRoutine savedTable[8];

    void SetUp() override {
        ASSERT_FALSE(dir.path.empty());
        std::copy(baseStageTable, baseStageTable + 8, savedTable);
        freshProgram();
    }
    void TearDown() override {
        std::copy(savedTable, savedTable + 8, baseStageTable);
        freshProgram();
    }
};

} // namespace cubetest
