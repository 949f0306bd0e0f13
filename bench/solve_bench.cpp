// Solve times and solution lengths over a fixed set of mixed cubes, per menu
// entry, with the solve's text files written to disk and to a tmpfs.
//
// Each benchmark iteration solves the whole set once. Counters:
//   median_us, max_us           time of one solve (computeSolve, or the Quick
//                               playback for the history replay)
//   mean_qt, median_qt, max_qt  solution length in quarter turns
//   solved                      cubes that ended solved after playback
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

// Works in a fresh directory under `base` and goes back afterwards.
struct WorkDir {
    std::string previous, path;
    explicit WorkDir(const char* base) {
        char cwd[4096];
        if (getcwd(cwd, sizeof cwd)) previous = cwd;
        std::string pattern = std::string(base) + "/cube-bench-XXXXXX";
        if (mkdtemp(pattern.data())) path = pattern;
        if (path.empty() || chdir(path.c_str()) != 0) path.clear();
    }
    ~WorkDir() {
        if (!previous.empty() && chdir(previous.c_str()) != 0) return;
        if (!path.empty()) std::system(("rm -rf '" + path + "'").c_str());
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

template <typename T> T median(std::vector<T> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? T{} : v[v.size() / 2];
}

void solveSet(benchmark::State& state, const char* base) {
    const int entry = static_cast<int>(state.range(0));
    const bool replay = kMenu[entry].kind == kHistoryReplay;
    WorkDir dir(base);
    if (dir.path.empty()) {
        state.SkipWithError("cannot make a working directory");
        return;
    }
    std::vector<double> micros;
    std::vector<int> lengths;
    int solved = 0;
    static Move played[kHistorySize + 64];
    for (auto _ : state) {
        micros.clear();
        lengths.clear();
        solved = 0;
        for (const auto& scramble : cubeSet()) {
            state.PauseTiming();
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
            if (!replay) {
                for (int i = 0; i < solutionCount; ++i)
                    turnLayer(SolutionList[i].layer, SolutionList[i].direction);
                endSolve();
            }
            solved += isSolved() ? 1 : 0;
            micros.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
            lengths.push_back(length);
            // Keep the journal from growing across the whole run.
            if (!replay) unlink("kub2.txt");
            state.ResumeTiming();
        }
    }
    double sum = 0;
    for (int l : lengths) sum += l;
    state.counters["median_us"] = median(micros);
    state.counters["max_us"] = *std::max_element(micros.begin(), micros.end());
    state.counters["mean_qt"] = sum / static_cast<double>(lengths.size());
    state.counters["median_qt"] = median(lengths);
    state.counters["max_qt"] = *std::max_element(lengths.begin(), lengths.end());
    state.counters["solved"] = solved;
    state.SetItemsProcessed(state.iterations() * kCubes);
}

void BM_SolveDisk(benchmark::State& state) {
    solveSet(state, "/var/tmp");
}
void BM_SolveTmpfs(benchmark::State& state) {
    solveSet(state, "/dev/shm");
}

} // namespace

BENCHMARK(BM_SolveDisk)->DenseRange(0, kMenuSize - 1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SolveTmpfs)
    ->DenseRange(0, kMenuSize - 1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

BENCHMARK_MAIN();
