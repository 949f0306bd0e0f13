// The frame controller, frame by frame, headless: solves, key taps.
#include "tests/app/controller_support.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace {

// Record i of `moves` drawn in frames 3i, 3i+1, 3i+2 at angles 1, 31, 61.
void expectPlayed(const std::vector<CubeDraw>& drawn, const Move* moves, int n) {
    ASSERT_EQ(int(drawn.size()), 3 * n);
    for (int f = 0; f < 3 * n; ++f) {
        ASSERT_EQ(drawn[f].layer, moves[f / 3].layer) << "frame " << f;
        ASSERT_EQ(drawn[f].direction, moves[f / 3].direction) << "frame " << f;
        ASSERT_EQ(drawn[f].angle, 1 + 30 * (f % 3)) << "frame " << f;
    }
}

// A mix is 50 moves at three frames each, every record applied to the cube.
void mixAndCheck() {
    const CubeCopy start = CubeCopy::take();
    const int first = historyTop + 1;
    tap('R');
    std::vector<CubeDraw> drawn = {recorded.cubes.at(0)};
    for (const CubeDraw& d : framesWhile([] { return mixMode != 0; }, 1000)) drawn.push_back(d);
    expectPlayed(drawn, &MoveHistory[first], 50);
    EXPECT_TRUE(CubeCopy::take() == turned(start, &MoveHistory[first], 50));
    for (int f = 0; f < 4; ++f) frame(); // the key latch frees again
}

} // namespace

// Each digit solves a mix, "Short" off the drawing thread, three frames a move.
TEST(Controller, EveryEntrySolvesAMixOnScreen) {
    TempWorkDir dir;
    for (int entry = 0; entry < kMenuSize; ++entry) {
        SCOPED_TRACE("entry " + std::to_string(entry));
        prepareMenuEntry(entry); // as the program does before its first frame
        startProgram();
        for (int m = 0; m <= entry % 3; ++m) mixAndCheck();
        const CubeCopy mixed = CubeCopy::take();
        ASSERT_FALSE(isSolved());
        testing::internal::CaptureStdout(); // the 'X' routine's markers
        tap(VK_KEY_0 + entry);
        testing::internal::GetCapturedStdout();
        if (kMenu[entry].kind == kHistoryReplay) {
            const int frames = int(framesWhile([] { return selectedAlgorithm == 5; }, 5000).size());
            EXPECT_GT(frames, 3 * 50);
        } else {
            if (kMenu[entry].readyToSolve) {
                // Off the drawing thread: the mixed cube at rest until the answer.
                int waited = 0;
                while (solveState.playbackPending == 0 && waited < 20000) {
                    ASSERT_EQ(recorded.cubes.size(), 1u);
                    EXPECT_EQ(recorded.cubes[0].angle, 0);
                    ASSERT_TRUE(CubeCopy::take() == mixed);
                    EXPECT_EQ(frameSession().thinkingFrames, ++waited);
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                    frame();
                }
                EXPECT_GE(waited, 1); // the frame of the key did not search
                EXPECT_EQ(frameSession().thinkingFrames, 0);
            }
            ASSERT_EQ(solveState.playbackPending, 1);
            EXPECT_EQ(recorded.cubes.size(), 0u);
            EXPECT_TRUE(CubeCopy::take() == mixed);
            const std::vector<Move> moves(SolutionList, SolutionList + solutionCount);
            const int mark = solveState.phaseMark;
            // These mixes all need a first phase; the other kinds have none.
            EXPECT_EQ(mark > 0, kMenu[entry].kind == kTwoPhase);
            std::vector<CubeDraw> drawn;
            int spin = 0;
            while (solveState.playbackPending && drawn.size() < 3 * moves.size() + 61) {
                const int yaw = viewYaw;
                frame();
                ASSERT_EQ(recorded.cubes.size(), 1u);
                if (viewYaw != yaw) {
                    ASSERT_EQ(solutionPos, mark);
                    ASSERT_EQ(viewYaw - yaw, 9);
                    ASSERT_EQ(recorded.cubes[0].angle, 0);
                    ++spin;
                } else {
                    drawn.push_back(recorded.cubes[0]);
                }
            }
            EXPECT_EQ(spin, mark > 0 ? 60 : 0);
            expectPlayed(drawn, moves.data(), int(moves.size()));
        }
        EXPECT_TRUE(isSolved());
        EXPECT_EQ(selectedAlgorithm, -1);
    }
}

namespace {

// A guarded key, the layer it starts on and what it has done so far.
struct GuardedCase {
    int key;
    int startLayer;
    int (*actions)();
};
int pauseToggles = 0;
const GuardedCase kGuardedCases[] = {
    {VK_LEFT, 9, [] { return 9 - selectedLayer; }}, {VK_RIGHT, 1, [] { return selectedLayer - 1; }},
    {VK_UP, 5, [] { return historyTop; }},          {VK_DOWN, 5, [] { return historyTop; }},
    {'P', 1, [] { return pauseToggles; }},
};
constexpr int kHoldDelay = 15; // frames: a quarter of a second

void run(int frames) {
    for (int f = 0; f < frames; ++f) {
        const int before = paused;
        frame();
        pauseToggles += paused != before;
    }
}
void startCase(const GuardedCase& c) {
    startProgram();
    selectedLayer = static_cast<short>(c.startLayer);
    pauseToggles = 0;
}

} // namespace

// A tap of any length up to the delay is one action, eight taps of P eight
// toggles; a held arrow repeats after the delay.
TEST(KeyTaps, ATapIsOneActionAndAHeldArrowRepeatsAfterTheDelay) {
    for (const GuardedCase& c : kGuardedCases) {
        for (int length = 1; length <= kHoldDelay; ++length) {
            SCOPED_TRACE("key " + std::to_string(c.key) + ", tap of " + std::to_string(length));
            startCase(c);
            press(c.key);
            run(length);
            release(c.key);
            run(10);
            EXPECT_EQ(c.actions(), 1);
        }
        startCase(c); // down and up again before the frame looked
        keyPressed[c.key] = 1;
        run(10);
        EXPECT_EQ(c.actions(), 1) << "key " << c.key << ", tap within one frame";
    }
    for (int gap : {1, 2, 6, 12}) {
        startCase(kGuardedCases[4]);
        for (int t = 0; t < 8; ++t) {
            press('P');
            run(6);
            release('P');
            run(gap);
        }
        EXPECT_EQ(pauseToggles, 8) << "gap " << gap;
    }
    for (const GuardedCase& c : kGuardedCases) {
        startCase(c);
        press(c.key);
        std::vector<int> acted;
        for (int f = 0, before = 0; f < 40; ++f, before = c.actions()) {
            run(1);
            if (c.actions() != before) acted.push_back(f);
        }
        release(c.key);
        const std::vector<int> expected =
            c.key == 'P' ? std::vector<int>{0} : std::vector<int>{0, 15, 19, 23, 27, 31, 35, 39};
        EXPECT_EQ(acted, expected) << "key " << c.key;
    }
}
