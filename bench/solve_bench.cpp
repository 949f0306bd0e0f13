// Solve times and solution lengths over a fixed set of mixed cubes, per menu
// entry, with the solve's text files written to a tmpfs and to the disk, side
// by side in one row.
//
// Each benchmark iteration solves the whole set once in each place. Counters:
//   tmpfs_median_us, tmpfs_max_us  time of one solve (computeSolve, or the
//   disk_median_us, disk_max_us    history replay of "Quick") in each place
//   disk_over_tmpfs             the disk median over the tmpfs median
//   mean_qt, median_qt, max_qt  solution length in quarter turns
//   solved                      cubes that ended solved in both places
//   setup_ms                    the entry's table set-up, done once before
//                               its first solve, outside the timed part
#include "model/cube.h"
#include "model/moves.h"
#include "solve/menu.h"
#include "solve/quick.h"
#include "solve/solver.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kCubes = 1000;
constexpr int kScrambleLength = 30;

// The fixed set: kCubes scrambles of random quarter turns, the same every run.
const std::vector<std::vector<Move>>& cubeSet() {
    static std::vector<std::vector<Move>> set = [] {
        std::vector<std::vector<Move>> s(kCubes);
        std::mt19937 rng(20261206);
        for (auto& moves : s)
            for (int i = 0; i < kScrambleLength; ++i)
                moves.push_back({1 + static_cast<int>(rng() % 9), rng() % 2 ? 1 : -1});
        return s;
    }();
    return set;
}

// A fresh directory under `base`, removed at the end.
struct WorkDir {
    std::string path;
    explicit WorkDir(const char* base) {
        std::string pattern = std::string(base) + "/cube-bench-XXXXXX";
        if (mkdtemp(pattern.data())) path = pattern;
    }
    ~WorkDir() {
        // A folder left behind is only untidy.
        if (!path.empty() && std::system(("rm -rf '" + path + "'").c_str()) != 0) return;
    }
};

// Puts the solver back to a fresh run's start, then the scramble in as
// manual turns (so the history replay has a history to undo).
void setUp(const std::vector<Move>& scramble) {
    resetSolver();
    for (const Move& m : scramble) {
        pushHistory(m.layer, m.direction);
        turnLayer(m.layer, m.direction);
    }
}

// Builds the entry's tables once, outside the timed part, and returns how
// long that took (the first call's time, on every call).
double prepareOnce(int entry) {
    static double millis[kMenuSize];
    static int done[kMenuSize];
    if (!done[entry]) {
        const auto t0 = std::chrono::steady_clock::now();
        prepareMenuEntry(entry);
        millis[entry] =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                .count();
        done[entry] = 1;
    }
    return millis[entry];
}

template <typename T> T median(std::vector<T> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? T{} : v[v.size() / 2];
}

// The places a solve writes its text files in, compared side by side.
struct Place {
    const char* name;
    const char* base;
};
constexpr Place kPlaces[2] = {{"tmpfs", "/dev/shm"}, {"disk", "/var/tmp"}};

// Solves the set once per iteration in each place, cube by cube in turns, so
// that both see the same load on the machine.
void BM_Solve(benchmark::State& state) {
    const int entry = static_cast<int>(state.range(0));
    const bool replay = kMenu[entry].kind == kHistoryReplay;
    const double setupMillis = prepareOnce(entry);
    char cwd[4096];
    if (!getcwd(cwd, sizeof cwd)) {
        state.SkipWithError("cannot tell the working directory");
        return;
    }
    WorkDir dirs[2] = {WorkDir(kPlaces[0].base), WorkDir(kPlaces[1].base)};
    for (const WorkDir& d : dirs)
        if (d.path.empty()) {
            state.SkipWithError("cannot make a working directory");
            return;
        }
    std::vector<double> micros[2];
    std::vector<int> lengths;
    int solved = 0;
    static Move played[kHistorySize + 64];
    for (auto _ : state) {
        state.PauseTiming();
        for (auto& m : micros) m.clear();
        lengths.clear();
        solved = 0;
        for (const auto& scramble : cubeSet()) {
            int solvedHere = 0;
            for (int place = 0; place < 2; ++place) {
                if (chdir(dirs[place].path.c_str()) != 0) continue;
                setUp(scramble);
                state.ResumeTiming();
                const auto t0 = std::chrono::steady_clock::now();
                int length = 0;
                if (replay) {
                    length = runQuickSolve(played, kHistorySize + 64);
                } else if (computeSolve(entry)) {
                    length = solutionCount;
                }
                const auto t1 = std::chrono::steady_clock::now();
                state.PauseTiming();
                solvedHere += (replay ? isSolved() : playSolutionAtOnce()) ? 1 : 0;
                micros[place].push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
                if (place == 0) lengths.push_back(length);
                // Keep the journal from growing across the whole run.
                if (!replay) unlink("kub2.txt");
            }
            solved += solvedHere == 2 ? 1 : 0;
        }
        state.ResumeTiming();
    }
    if (chdir(cwd) != 0) state.SkipWithError("cannot go back to the working directory");
    double sum = 0;
    for (int l : lengths) sum += l;
    for (int place = 0; place < 2; ++place) {
        const std::string name = kPlaces[place].name;
        state.counters[name + "_median_us"] = median(micros[place]);
        state.counters[name + "_max_us"] =
            *std::max_element(micros[place].begin(), micros[place].end());
    }
    state.counters["disk_over_tmpfs"] = median(micros[1]) / median(micros[0]);
    state.counters["mean_qt"] = sum / static_cast<double>(lengths.size());
    state.counters["median_qt"] = median(lengths);
    state.counters["max_qt"] = *std::max_element(lengths.begin(), lengths.end());
    state.counters["solved"] = solved;
    state.counters["setup_ms"] = setupMillis;
    state.SetItemsProcessed(state.iterations() * kCubes);
}

} // namespace

BENCHMARK(BM_Solve)->DenseRange(0, kMenuSize - 1)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
