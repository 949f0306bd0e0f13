// Frame pacing on a fixed schedule of 60 frames a second.
#include "app/frame_pacing.h"

#include <chrono>
#include <thread>

int framePacing = 1;

namespace {

unsigned long long steadyMicros() {
    using namespace std::chrono;
    return static_cast<unsigned long long>(
        duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
}

void sleepMicros(unsigned long long micros) {
    std::this_thread::sleep_for(std::chrono::microseconds(micros));
}

constexpr unsigned long long kMicrosPerSecond = 1000000;
constexpr unsigned long long kFramePeriod = kMicrosPerSecond / kPacedFramesPerSecond;

// Start of the schedule and the number of frames drawn on it (0: none yet).
unsigned long long scheduleStart = 0;
unsigned long long scheduledFrames = 0;

unsigned long long frameDue(unsigned long long frame) {
    return scheduleStart + frame * kMicrosPerSecond / kPacedFramesPerSecond;
}

} // namespace

unsigned long long (*paceClock)() = steadyMicros;
void (*paceSleep)(unsigned long long micros) = sleepMicros;

void paceFrame() {
    if (!framePacing) return;
    const unsigned long long now = paceClock();
    if (scheduledFrames == 0 || now >= frameDue(scheduledFrames) + kFramePeriod) {
        scheduleStart = now;
        scheduledFrames = 0;
    } else if (now < frameDue(scheduledFrames)) {
        paceSleep(frameDue(scheduledFrames) - now);
    }
    ++scheduledFrames;
}

void resetPacing() {
    scheduleStart = 0;
    scheduledFrames = 0;
}
