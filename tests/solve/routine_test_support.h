// Shared by the tests of the two-phase routines: a fixture that runs every
// test in a fresh temporary directory with every solver flag cleared, cubes
// made by turns from the start state, snapshots of the cube and of its
// pieces, and the replay of a solution.
#pragma once

#include "model/cube.h"
#include "model/moves.h"
#include "model/textlog.h"
#include "solve/routines.h"
#include "solve/solver.h"
#include "solve/stage_common.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace routinetest {

using Turn = std::pair<int, int>;
using Moves = std::vector<Turn>;

// Everything a solve reads besides the cube, as at program start; the cube
// at its start state.
inline void freshProgram() {
    initCubieArray();
    initFaceletGrid();
    backupTaken = 0;
    workColour = 0;
    workColourSet = 0;
    lastStageActive = 0;
    workCorner = 0;
    workCornerSet = 0;
    blockTurnsDone = 0;
    solveRequested = 0;
    playbackPending = 0;
    phaseMark = 0;
    solutionCount = 0;
    moveListLast = 0;
    driverCalls = 0;
    solutionOverflow = 0;
    std::memset(MoveList, 0, sizeof MoveList);
    runtimeSeed(1);
}

// What the end of a solution's playback clears before the next solve.
inline void playbackEnded() {
    solveRequested = 0;
    playbackPending = 0;
    phaseMark = 0;
    blockTurnsDone = 0;
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

inline std::string readFile(const char* name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void writeFile(const char* name, const std::string& text) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out << text;
}

inline bool fileExists(const char* name) {
    return access(name, F_OK) == 0;
}

inline std::string linesOf(const Moves& moves) {
    std::string s;
    for (const Turn& m : moves)
        s += std::to_string(m.first) + " " + std::to_string(m.second) + "\n";
    return s;
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

// Runs a test in a temporary working directory of its own, with the solver
// state of a fresh program; standard output is left alone.
class RoutineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(getcwd(savedDir_, sizeof savedDir_), nullptr);
        // A solve truncates and rewrites "Kyb.txt" at every stage call; in
        // memory that costs nothing, on a disk it may mean a flush each time.
        const char* tmp = std::getenv("TMPDIR");
        const char* bases[3] = {"/dev/shm", tmp ? tmp : "/tmp", "/tmp"};
        bool made = false;
        for (const char* base : bases) {
            std::snprintf(tempDir_, sizeof tempDir_, "%s/cube-routines-XXXXXX", base);
            if (mkdtemp(tempDir_)) {
                made = true;
                break;
            }
        }
        ASSERT_TRUE(made);
        ASSERT_EQ(chdir(tempDir_), 0);
        freshProgram();
    }
    void TearDown() override {
        ASSERT_EQ(chdir(savedDir_), 0);
        // What a solve writes, also in the directory of a second run that a
        // failure may have left behind.
        for (const char* sub : {"", "/again"}) {
            for (const char* name : {kTraceFileName, kJournalFileName}) {
                const std::string path = std::string(tempDir_) + sub + "/" + name;
                std::remove(path.c_str());
            }
            if (*sub) rmdir((std::string(tempDir_) + sub).c_str());
        }
        rmdir(tempDir_);
    }

    char savedDir_[PATH_MAX] = {};
    char tempDir_[PATH_MAX] = {};
};

} // namespace routinetest
