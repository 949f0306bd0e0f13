// Whole solves of every entry over random cubes, the driver's bound, "Quick".
#include "model/cube_text.h"
#include "solve/quick.h"
#include "solve/short/search.h"
#include "tests/support/cube_support.h"

#include <cstdio>

using namespace cubetest;

namespace {

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

int lineCount(const std::string& s) {
    return static_cast<int>(std::count(s.begin(), s.end(), '\n'));
}

// The cubes on which entries 1, 2 and 4 once ran for ever.
const Moves kFormerHangs[] = {
    {{3, -1}, {7, -1}, {3, 1}}, {{3, -1}, {7, -1}, {7, -1}}, {{1, 1}, {9, -1}, {9, -1}, {3, 1}}};

// Cubes per computed entry ("Quick", 5, has its own test).
constexpr int kCubes[kMenuSize] = {3000, 1500, 1000, 1500, 1500, 0, 200};

// The entries computeSolve solves: all but the history replay, 5.
class EntrySolves : public CubeTest, public ::testing::WithParamInterface<int> {};

} // namespace

// Every cube ends solved, is put back after the computation, journalled.
TEST_P(EntrySolves, ManyCubesEndSolvedWithTheirJournal) {
    const int entry = GetParam();
    const bool oneCall = kMenu[entry].kind == kOneCall;
    prepareMenuEntry(entry);
    std::mt19937 rng(1000u + static_cast<unsigned>(entry));
    if (entry == 4) testing::internal::CaptureStdout(); // the 'X' routine's markers
    for (int i = 0; i < kCubes[entry]; ++i) {
        initCubieArray();
        initFaceletGrid();
        if (i < 3)
            apply(kFormerHangs[i]);
        else
            apply(randomTurns(rng, 8 + static_cast<int>(rng() % 23)));
        const std::string what = "entry " + std::to_string(entry) + " cube " + std::to_string(i);
        const Snapshot cube = Snapshot::take();
        std::remove(kJournalFileName);
        const int retries = blockRetries, abandoned = blockRetriesAbandoned;

        ASSERT_EQ(computeSolve(entry), 1) << what << ": the solve ran into its bound";
        const int retried = blockRetries - retries, gaveUp = blockRetriesAbandoned - abandoned;
        ASSERT_TRUE(Snapshot::take() == cube) << what;
        EXPECT_EQ(solveState.playbackPending, 1) << what;
        EXPECT_LE(solveState.driverCalls, kMaxDriverCalls) << what;
        EXPECT_EQ(backupTaken + solveState.lastStageActive + solveState.solutionOverflow +
                      moveListDropped,
                  0)
            << what;
        EXPECT_LE(solveState.phaseMark, solutionCount) << what;
        EXPECT_TRUE(kMenu[entry].kind == kTwoPhase || solveState.phaseMark == 0) << what;
        const Moves moves = solution();
        EXPECT_TRUE(!oneCall || static_cast<int>(moves.size()) <= kShortSolveMaxLength) << what;
        apply(moves);
        ASSERT_TRUE(isSolved()) << what;

        // Each move's stage: first phase up to phaseMark, then Base stages.
        for (int k = 0; k < solutionCount; ++k)
            EXPECT_TRUE(kMenu[entry].kind == kOneCall ? SolutionStage[k] == kWholeEntryStage
                        : k < solveState.phaseMark    ? SolutionStage[k] == kFirstPhaseStage
                                                   : SolutionStage[k] >= 1 && SolutionStage[k] <= 7)
                << what << " move " << k << " stage " << SolutionStage[k];

        // A cut-off "2x2x2" attempt leaves 399+ lines ahead; a retry's (1, -1) is not journalled.
        const std::string journal = readFile(kJournalFileName);
        const bool retryOpens = retried && !gaveUp;
        EXPECT_TRUE(!retryOpens || moves.front() == Turn(1, -1)) << what;
        const Moves journalled(moves.begin() + retryOpens, moves.end());
        const int ahead = lineCount(journal) - static_cast<int>(journalled.size());
        EXPECT_TRUE(endsWith(journal, linesOf(journalled))) << what;
        EXPECT_TRUE(retried ? ahead >= (gaveUp ? 399 + 398 : 399) : ahead == 0)
            << what << ": " << ahead << " journal lines ahead of the solution";
        // A one-call routine is one stage call: its trace is the whole solution.
        EXPECT_TRUE(!oneCall || readFile(kTraceFileName) == linesOf(moves)) << what;
        if (HasFailure()) break;
        playbackEnded();
    }
    if (entry == 4) testing::internal::GetCapturedStdout();
}

INSTANTIATE_TEST_SUITE_P(Entries, EntrySolves, ::testing::Values(0, 1, 2, 3, 4, 6),
                         [](const ::testing::TestParamInfo<int>& entry) {
                             return "Entry" + std::to_string(entry.param);
                         });

// "Quick" undoes random histories, every 50th full to the limit.
TEST_F(CubeTest, QuickUndoesManyHistories) {
    std::mt19937 rng(99);
    for (int trial = 0; trial < 1500; ++trial) {
        freshProgram();
        historyTop = mixStart = solveState.quickPrepared = 0;
        solveState.yawMark = solveState.pitchMark = -4;
        runtimeSeed(static_cast<unsigned>(rng()));
        const bool full = trial % 50 == 0;
        const int mixes = full ? 19 : static_cast<int>(rng() % 6);
        for (int m = 0; m < mixes; ++m) {
            ASSERT_EQ(randomMix(), 1);
            playMixWhole();
            for (int t = full ? 1 : static_cast<int>(rng() % 8); t > 0; --t) {
                const int layer = 1 + static_cast<int>(rng() % 9), direction = rng() % 2 ? 1 : -1;
                ASSERT_EQ(pushHistory(layer, direction), 1);
                turnLayer(layer, direction);
            }
        }
        while (full && pushHistory(1 + static_cast<int>(rng() % 9), 1))
            turnLayer(MoveHistory[historyTop].layer, 1);
        ASSERT_TRUE(!full || historyTop == kHistoryLimit);
        Move played[kHistorySize];
        const int n = runQuickSolve(played, kHistorySize);
        ASSERT_TRUE(isSolved()) << "history " << trial;
        ASSERT_LE(n, kHistorySize - 1);
        EXPECT_EQ(historyTop, 0);
    }
}

// Runs of four vanish, runs of three turn once the other way, pairs cancel.
TEST(QuickSimplify, TheListedHistories) {
    const struct {
        Moves in, out;
    } cases[] = {
        {{{2, 1}, {3, 1}, {3, 1}, {3, 1}, {3, 1}, {5, -1}}, {{2, 1}, {5, -1}}},
        {{{1, 1}, {2, 1}, {2, 1}, {2, 1}, {1, 1}, {1, 1}}, {{1, 1}, {2, -1}, {1, 1}, {1, 1}}},
        {{{2, 1}, {3, 1}, {3, -1}, {2, -1}}, {}},
        {{{1, 1}, {1, 1}}, {{1, 1}, {1, 1}}},
        {{{7, 1}, {7, 1}, {7, 1}, {7, -1}}, {{7, -1}, {7, -1}}},
    };
    auto simplified = [](const Moves& in) {
        historyTop = 0;
        for (const Turn& m : in) MoveHistory[++historyTop] = {m.first, m.second};
        simplifyHistory();
        Moves out;
        for (int i = 1; i <= historyTop; ++i)
            out.push_back({MoveHistory[i].layer, MoveHistory[i].direction});
        return out;
    };
    for (const auto& c : cases) EXPECT_EQ(simplified(c.in), c.out);
    historyTop = 0;
}

namespace {

void stallingStage() { // turns the last layer round and round
    stageBegin();
    emitMove(7, 1);
    stageEnd();
}
void floodingStage() { // fills every MoveList record
    stageBegin();
    for (int i = 0; i < kMoveListSize; ++i) emitMove(8, 1);
    stageEnd();
}

} // namespace

// A stalled or flooding stage is abandoned, the cube put back; the next works.
TEST_F(CubeTest, StalledOrFloodingSolvesAreAbandoned) {
    const struct {
        StageRoutine stage;
        int calls, journalLines;
    } cases[] = {{stallingStage, kMaxDriverCalls, kMaxDriverCalls},
                 {floodingStage, -1, kSolutionListSize}};
    std::mt19937 rng(3);
    for (const auto& c : cases) {
        freshProgram();
        std::remove(kJournalFileName);
        apply(randomTurns(rng, 25));
        ASSERT_FALSE(stageComplete1());
        const Snapshot before = Snapshot::take();
        baseStageTable[1] = c.stage;
        solveState.solveRequested = 1;
        EXPECT_EQ(computeSolve(0), 0);
        EXPECT_TRUE(c.calls < 0 || solveState.driverCalls == c.calls) << solveState.driverCalls;
        EXPECT_TRUE(Snapshot::take() == before);
        EXPECT_EQ(solutionCount, 0);
        EXPECT_EQ(solveState.playbackPending + solveState.solveRequested + backupTaken +
                      solveState.lastStageActive,
                  0);
        EXPECT_EQ(lineCount(readFile(kJournalFileName)), c.journalLines);
        baseStageTable[1] = savedTable[1];
        std::remove(kJournalFileName);
        ASSERT_EQ(computeSolve(0), 1);
        const Moves moves = solution();
        EXPECT_EQ(readFile(kJournalFileName), linesOf(moves));
        apply(moves);
        EXPECT_TRUE(isSolved());
    }
}
