// Frame pacing on a test clock: a solve plays at 60 frames (20 quarter turns) a
// second wherever the display could go faster; the frame-rate line agrees.
#include "app/frame_draw.h"
#include "app/frame_pacing.h"
#include "tests/app/controller_support.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

unsigned long long clockMicros = 0;
unsigned long long oversleep = 0;
unsigned testTicks() {
    return static_cast<unsigned>(clockMicros / 1000);
}

} // namespace

TEST(FramePacing, ASolvePlaysAtSixtyFramesAndTwentyQuarterTurnsASecond) {
    TempWorkDir dir;
    // How long the display takes to show a frame (0: no vertical sync), how
    // late each sleep wakes up, and the frame rate the solve must play at.
    const struct {
        unsigned long long displayMicros, oversleepMicros;
        double rate;
    } displays[] = {{0, 0, 60.0},    {0, 700, 60.0},     {2000, 0, 60.0},
                    {6944, 0, 60.0}, {16667, 0, 59.999}, {33333, 0, 30.0}};
    const auto saved = std::make_tuple(paceClock, paceSleep, frameTicks);
    paceClock = [] { return clockMicros; };
    paceSleep = [](unsigned long long micros) { clockMicros += micros + oversleep; };
    frameTicks = testTicks;
    for (const auto& display : displays) {
        SCOPED_TRACE("display frame of " + std::to_string(display.displayMicros) + " us");
        startProgram();
        tap('R');
        while (mixMode != 0) frame();
        oversleep = display.oversleepMicros;
        resetPacing();
        fps = 0.0f;
        fpsFrames = 0;
        fpsLastTick = static_cast<int>(testTicks());
        auto pacedFrame = [&] {
            paceFrame();
            frame();
            countFrames();
            clockMicros += display.displayMicros;
        };
        press('0');
        pacedFrame(); // computes the solve
        release('0');
        const int turns = solutionCount;
        ASSERT_GT(turns, 20);
        const unsigned long long start = clockMicros;
        int frames = 0;
        for (; solveState.playbackPending == 1; ++frames) pacedFrame();
        EXPECT_TRUE(isSolved());
        EXPECT_EQ(frames, 3 * turns);
        const double seconds = static_cast<double>(clockMicros - start) / 1e6;
        EXPECT_NEAR(frames / seconds, display.rate, display.rate * 0.005);
        EXPECT_NEAR(fps, display.rate, display.rate * 0.02);
    }
    framePacing = 0;
    const unsigned long long before = clockMicros;
    for (int f = 0; f < 100; ++f) paceFrame();
    EXPECT_EQ(clockMicros, before) << "pacing off never waits";
    framePacing = 1;
    oversleep = 0;
    resetPacing();
    std::tie(paceClock, paceSleep, frameTicks) = saved;
}
