// For the headless tests: a fresh program's state, cubes made by turns,
// snapshots of the cube, a fixture in a fresh working directory.
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
#include <random>
#include <string>
#include <vector>

namespace cubetest {

// A turn as {layer, direction}; pairs compare and print in test failures.
using Turn = std::pair<int, int>;
using Moves = std::vector<Turn>;

// The cube at its start state and everything a solve reads, as at start-up.
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

inline Moves randomTurns(std::mt19937& rng, int n) {
    Moves out;
    for (int i = 0; i < n; ++i)
        out.push_back({1 + static_cast<int>(rng() % 9), rng() % 2 ? 1 : -1});
    return out;
}

// The cube at its start state with the solver as a fresh program has it.
inline void startState() {
    freshProgram();
}

// A fresh start turned by `length` random quarter turns.
inline void randomCube(std::mt19937& rng, int length) {
    startState();
    apply(randomTurns(rng, length));
}

// The turns that undo `moves`: reversed, each the other way.
inline Moves inverse(const Moves& moves) {
    Moves out;
    for (auto it = moves.rbegin(); it != moves.rend(); ++it)
        out.push_back({it->first, -it->second});
    return out;
}

// SolutionList records from..to-1 (to = solutionCount by default).
inline Moves solution(int from = 0, int to = -1) {
    if (to < 0) to = solutionCount;
    Moves out;
    for (int i = from; i < to; ++i)
        out.push_back({SolutionList[i].layer, SolutionList[i].direction});
    return out;
}

// The trace or journal lines of a list of moves, "layer direction\n" each.
inline std::string linesOf(const Moves& moves) {
    std::string s;
    for (const Turn& m : moves)
        s += std::to_string(m.first) + " " + std::to_string(m.second) + "\n";
    return s;
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

// Each test in a fresh directory and program; the stage table restored after.
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
