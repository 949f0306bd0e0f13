// Shared by the Base stage tests: a fixture that runs each test in a fresh
// temporary directory (the stages write "Kyb.txt" into the working
// directory), cubes built from the start state by turns, a small search for a
// turn sequence that makes the cube show a wanted case, and the loop that
// applies a stage until its test passes.
#pragma once

#include "model/cube.h"
#include "model/moves.h"
#include "model/textlog.h"
#include "solve/solver.h"
#include "solve/stage_common.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace stagetest {

// A turn as {layer, direction}; pairs compare and print in test failures.
using Turn = std::pair<int, int>;
using Moves = std::vector<Turn>;

// The cube at its start state and every solver flag cleared.
inline void startState() {
    initCubieArray();
    initFaceletGrid();
    backupTaken = 0;
    workColour = 0;
    workColourSet = 0;
    lastStageActive = 0;
    solveRequested = 0;
    playbackPending = 0;
    solutionCount = 0;
    moveListLast = 0;
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

// The moves the latest stage call left in the MoveList.
inline Moves emitted() {
    Moves out;
    for (int i = 0; i <= moveListLast; ++i)
        out.push_back({MoveList[i].layer, MoveList[i].direction});
    return out;
}

inline void applyMoveListToCube() {
    for (int i = 0; i <= moveListLast; ++i) turnLayer(MoveList[i].layer, MoveList[i].direction);
}

inline std::string readFile(const char* name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The trace lines of a list of moves, "layer direction\n" each.
inline std::string traceOf(const Moves& moves) {
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

inline std::vector<int> centres() {
    std::vector<int> c;
    for (int f = 1; f <= 6; ++f) c.push_back(centre(f));
    return c;
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
        workColourSet = 0;
        stage();
        const Moves out = emitted();
        applyMoveListToCube();
        if (afterCall) afterCall(out);
    }
    return -1;
}

// Runs each test in a fresh temporary directory and goes back afterwards.
class StageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char* cwd = getcwd(nullptr, 0);
        ASSERT_NE(cwd, nullptr);
        home_ = cwd;
        free(cwd);
        // Every stage call truncates "Kyb.txt"; on a disk file system that
        // forces a flush each time, so memory-backed storage is preferred.
        std::string pattern = (access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
        pattern += "/stagetestXXXXXX";
        ASSERT_NE(mkdtemp(&pattern[0]), nullptr);
        dir_ = pattern;
        ASSERT_EQ(chdir(dir_.c_str()), 0);
        startState();
    }
    void TearDown() override {
        std::remove(kTraceFileName);
        std::remove(kJournalFileName);
        EXPECT_EQ(chdir(home_.c_str()), 0);
        rmdir(dir_.c_str());
    }

  private:
    std::string home_, dir_;
};

} // namespace stagetest
