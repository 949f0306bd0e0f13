// Whole solves of menu entries 1 to 4 on thousands of random cubes: each ends
// with the cube restored and a solution that solves it, the first phase ends
// in the state its tests ask for, the journal holds exactly the moves each
// solve applied, no solve runs into the bound, and a second run over the
// same cubes from the same state writes the same journal.
#include "tests/support/cube_support.h"

using namespace cubetest;

namespace {

constexpr int kCubes = 5000;
// The second run, for the comparison of journals, repeats the first cubes.
constexpr int kRepeatedCubes = 1000;

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

int lineCount(const std::string& s) {
    return static_cast<int>(std::count(s.begin(), s.end(), '\n'));
}

int countOf(const std::string& s, const std::string& what) {
    int n = 0;
    for (size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + what.size()))
        ++n;
    return n;
}

// How often the guards stepped in, and the largest solve seen.
struct Stats {
    int colourTaken = 0, retries = 0, abandoned = 0, xStops = 0;
    int maxDriverCalls = 0, maxMoves = 0;
    long firstPhaseMoves = 0;
    long journalAtRepeat = 0; // size of "kub2.txt" after kRepeatedCubes solves
    // The cubes on which a guard ended a first phase early: for "2x2x2" the
    // cube before the solve, for "'X'" the cube where the phase ended.
    std::vector<Snapshot> guarded;
};

// The state the first phase of `entry` ends in, on the cube turned by the
// first phaseMark moves of the solution.
void expectPhaseEnd(int entry, int gaveUp, int stopped, int cube) {
    switch (entry) {
    case 1:
        EXPECT_TRUE(face5CornersComplete() && stageComplete1() && stageComplete3() &&
                    stageComplete4() && stageComplete6())
            << "cube " << cube;
        break;
    case 2:
        if (!gaveUp) {
            EXPECT_TRUE(blockEdgesComplete() && blockCornerComplete() && blockMiddleEdgeComplete())
                << "cube " << cube;
        }
        break;
    case 3:
        EXPECT_TRUE(stageComplete1() && threeCornersComplete() && pairCornerOut() &&
                    threeMiddleEdgesComplete() && pairEdgeOut())
            << "cube " << cube;
        break;
    case 4:
        if (stopped) {
            EXPECT_TRUE(face5XComplete() && !face5CornersInOrder()) << "cube " << cube;
        } else {
            EXPECT_TRUE(face6XComplete() && face5XComplete() && sideXComplete()) << "cube " << cube;
        }
        break;
    }
}

// Solves `cubes` random cubes (turns from the start state, seeded by `seed`)
// with menu entry `entry`, checking each solve, from the state of a fresh
// program. Writes "kub2.txt" in the working directory.
Stats solveMany(int entry, unsigned seed, int cubes) {
    Stats st;
    freshProgram();
    std::mt19937 rng(seed);
    for (int i = 0; i < cubes; ++i) {
        if (i == kRepeatedCubes) st.journalAtRepeat = fileSize(kJournalFileName);
        initCubieArray();
        initFaceletGrid();
        apply(randomTurns(rng, 8 + static_cast<int>(rng() % 23)));
        const Snapshot cube = Snapshot::take();
        const long journalBefore = fileSize(kJournalFileName);
        const int taken = sixCrossColourTaken, retries = blockRetries,
                  abandoned = blockRetriesAbandoned, stops = xCornerOrderStops;

        const int done = computeSolve(entry);
        EXPECT_EQ(done, 1) << "cube " << i << ": the solve ran into its bound";
        if (done != 1) return st;

        const int retried = blockRetries - retries, gaveUp = blockRetriesAbandoned - abandoned,
                  stopped = xCornerOrderStops - stops;
        st.colourTaken += sixCrossColourTaken - taken;
        st.retries += retried;
        st.abandoned += gaveUp;
        st.xStops += stopped;
        st.maxDriverCalls = std::max(st.maxDriverCalls, solveState.driverCalls);
        st.maxMoves = std::max(st.maxMoves, solutionCount);
        st.firstPhaseMoves += solveState.phaseMark;
        EXPECT_LE(retried, 1);
        EXPECT_LE(gaveUp, retried);

        // The cube is back where it was, the solution waits for playback.
        EXPECT_TRUE(Snapshot::take() == cube) << "cube " << i;
        EXPECT_EQ(backupTaken, 0);
        EXPECT_EQ(solveState.playbackPending, 1);
        EXPECT_EQ(solveState.lastStageActive, 0);
        EXPECT_EQ(solveState.workColourSet, 0);
        const Moves moves = solution();
        EXPECT_LE(solveState.phaseMark, solutionCount);
        if (gaveUp) {
            EXPECT_EQ(solveState.phaseMark, 0);
        }

        if (gaveUp) st.guarded.push_back(cube);
        apply(Moves(moves.begin(), moves.begin() + solveState.phaseMark));
        expectPhaseEnd(entry, gaveUp, stopped, i);
        if (stopped) st.guarded.push_back(Snapshot::take());
        apply(Moves(moves.begin() + solveState.phaseMark, moves.end()));
        EXPECT_TRUE(isSolved()) << "cube " << i;

        // The journal: exactly the solution's moves, except that a retried
        // block attempt keeps the abandoned moves (at least 399 each) in
        // front and the retry's (1, -1) is not journalled.
        const std::string journal = readFrom(kJournalFileName, journalBefore);
        if (!retried) {
            EXPECT_EQ(journal, linesOf(moves)) << "cube " << i;
        } else if (!gaveUp) {
            EXPECT_EQ(moves.front(), Turn(1, -1));
            EXPECT_TRUE(endsWith(journal, linesOf(Moves(moves.begin() + 1, moves.end()))));
            EXPECT_GE(lineCount(journal) - static_cast<int>(moves.size()) + 1, 399);
        } else {
            EXPECT_TRUE(endsWith(journal, linesOf(moves)));
            EXPECT_GE(lineCount(journal) - static_cast<int>(moves.size()), 399 + 398);
        }
        if (::testing::Test::HasFailure()) return st;
        playbackEnded();
    }
    if (cubes == kRepeatedCubes) st.journalAtRepeat = fileSize(kJournalFileName);
    return st;
}

class TwoPhaseSolves : public CubeTest, public ::testing::WithParamInterface<int> {};

} // namespace

TEST_P(TwoPhaseSolves, RandomCubesEndSolvedAndJournalsRepeat) {
    const int entry = GetParam();
    const unsigned seed = 1000u + static_cast<unsigned>(entry);
    // The 'X' driver writes its markers to standard output: one per move of
    // the first phase.
    if (entry == 4) testing::internal::CaptureStdout();
    const Stats st = solveMany(entry, seed, kCubes);
    if (entry == 4) {
        const std::string out = testing::internal::GetCapturedStdout();
        // Failure reports went into the capture too: show them.
        if (HasFailure()) {
            std::istringstream lines(out);
            for (std::string line; std::getline(lines, line);)
                if (line != "Up" && line != "Down" && line != "All X-es" && line != "niz!!!")
                    std::printf("%s\n", line.c_str());
        }
        const long markers =
            countOf(out, "Up\n") + countOf(out, "Down\n") + countOf(out, "All X-es\n");
        EXPECT_EQ(markers, st.firstPhaseMoves);
        EXPECT_EQ(lineCount(out), markers + countOf(out, "niz!!!\n"));
    }
    ASSERT_FALSE(HasFailure());
    EXPECT_LE(st.maxDriverCalls, kMaxDriverCalls);
    std::printf("entry %d, %d cubes: colour taken %d, block retries %d (given up %d), "
                "X stops %d; most driver calls %d, longest solution %d\n",
                entry, kCubes, st.colourTaken, st.retries, st.abandoned, st.xStops,
                st.maxDriverCalls, st.maxMoves);
    // The guards step in only where the first phase as such would never end.
    if (entry == 2) {
        EXPECT_EQ(static_cast<int>(st.guarded.size()), st.abandoned);
        // Every further attempt starts from the same cube with the same flags
        // and repeats the second one move for move.
        for (size_t i = 0; i < st.guarded.size() && i < 40; ++i) {
            st.guarded[i].put();
            backupTaken = 0;
            solveState.workColourSet = 0;
            solveState.blockTurnsDone = 0;
            solutionCount = 0;
            runBlockAttempt();
            ASSERT_GE(solutionCount, 399);
            restartBlockAttempt();
            runBlockAttempt();
            const Moves second = solution();
            ASSERT_GE(second.size(), 399u);
            restartBlockAttempt();
            runBlockAttempt();
            ASSERT_EQ(solution(), second) << "guarded cube " << i;
        }
        backupTaken = 0;
    }
    if (entry == 4) {
        EXPECT_EQ(static_cast<int>(st.guarded.size()), st.xStops);
        // Driven on, the face-5 corners keep their X and their order, and the
        // side faces never show theirs.
        int sideX = 0, face5Lost = 0;
        testing::internal::CaptureStdout();
        for (const Snapshot& stuck : st.guarded) {
            stuck.put();
            backupTaken = 0;
            solveState.workColourSet = 0;
            for (int call = 0; call < 100; ++call) {
                XPatternDriver();
                sideX += sideXComplete();
                face5Lost += !face5XComplete() || face5CornersInOrder();
            }
            solutionCount = 0;
        }
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(sideX, 0);
        EXPECT_EQ(face5Lost, 0);
        backupTaken = 0;
    }

    ASSERT_GT(st.journalAtRepeat, 0);
    const std::string first = readFile(kJournalFileName).substr(0, st.journalAtRepeat);

    // The same run again, in a directory of its own, from the same state.
    ASSERT_EQ(mkdir("again", 0755), 0);
    ASSERT_EQ(chdir("again"), 0);
    if (entry == 4) testing::internal::CaptureStdout();
    solveMany(entry, seed, kRepeatedCubes);
    if (entry == 4) testing::internal::GetCapturedStdout();
    const std::string second = readFile(kJournalFileName);
    std::remove(kJournalFileName);
    std::remove(kTraceFileName);
    ASSERT_EQ(chdir(".."), 0);
    rmdir("again");
    EXPECT_TRUE(first == second) << "journals of " << first.size() << " and " << second.size()
                                 << " bytes differ";
}

INSTANTIATE_TEST_SUITE_P(Entries, TwoPhaseSolves, ::testing::Values(1, 2, 3, 4),
                         [](const ::testing::TestParamInfo<int>& param) {
                             return "Entry" + std::to_string(param.param);
                         });

namespace {

// What the first unfinished step of a first phase emits on the cube as it
// is, asked of the step directly: its moves and its number, or the number
// past the last step when every test holds.
int sixCrossStep(Moves* out) {
    if (!stageComplete1()) return baseStage1(), *out = emitted(), 0;
    if (!face5CornersComplete()) return raiseFace5Corner(), *out = emitted(), 1;
    if (!stageComplete3()) return baseStage3(), *out = emitted(), 2;
    if (!stageComplete4()) return baseStage4(), *out = emitted(), 3;
    if (!stageComplete6()) return baseStage6(), *out = emitted(), 4;
    return 5;
}
int blockStep(Moves* out) {
    if (!blockEdgesComplete()) return baseStage1(), *out = emitted(), 0;
    if (!blockCornerComplete()) return baseStage2(), *out = emitted(), 1;
    if (!solveState.blockTurnsDone) return *out = {{1, -1}, {4, -1}}, 2;
    if (!blockMiddleEdgeComplete()) return baseStage3(), *out = emitted(), 3;
    return 4;
}
int halfSolveStep(Moves* out) {
    if (!stageComplete1()) return baseStage1(), *out = emitted(), 0;
    if (!threeCornersComplete()) return baseStage2(), *out = emitted(), 1;
    if (!pairCornerOut()) return removePairCorner(), *out = emitted(), 2;
    if (!threeMiddleEdgesComplete()) return baseStage3(), *out = emitted(), 3;
    if (!pairEdgeOut()) return removePairEdge(), *out = emitted(), 4;
    return 5;
}

} // namespace

using FirstPhaseDrivers = CubeTest;

// Call after call along the first phase of random cubes: each driver call
// applies and journals exactly what the first unfinished step emits (the
// fixed turns for the block), or nothing once every test holds; every step
// is met on the way.
TEST_F(FirstPhaseDrivers, RunTheFirstUnfinishedStep) {
    const struct {
        const char* name;
        void (*driver)();
        int (*step)(Moves*);
        int steps;
    } drivers[] = {{"6 - cross", SixCrossDriver, sixCrossStep, 5},
                   {"2x2x2", TwoByTwoDriver, blockStep, 4},
                   {"half-solve", HalfSolveDriver, halfSolveStep, 5}};
    std::mt19937 rng(77);
    for (const auto& d : drivers) {
        SCOPED_TRACE(d.name);
        std::vector<int> seen(d.steps + 1);
        for (int trial = 0; trial < 100; ++trial) {
            freshProgram();
            apply(randomTurns(rng, 8 + static_cast<int>(rng() % 20)));
            for (int call = 0; call < 400 && solutionCount < kBlockMoveLimit; ++call) {
                const Snapshot cube = Snapshot::take();
                solveState.workColour = centre(5);
                solveState.workColourSet = 1;
                Moves expected;
                const int step = d.step(&expected);
                ++seen[step];
                const int before = solutionCount;
                std::remove(kJournalFileName);
                d.driver();
                ASSERT_EQ(solution(before), expected) << "trial " << trial << " call " << call;
                ASSERT_EQ(readFile(kJournalFileName), linesOf(expected));
                const Snapshot driven = Snapshot::take();
                cube.put();
                apply(expected);
                ASSERT_TRUE(Snapshot::take() == driven);
                if (step == d.steps) break;
            }
        }
        for (int s = 0; s <= d.steps; ++s) EXPECT_GT(seen[s], 0) << "step " << s;
    }
}
