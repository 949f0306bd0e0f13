// Frame pacing: at most kPacedFramesPerSecond frames a second. Animation is
// counted in frames (three per quarter turn), so pacing is what keeps a solve
// playing at the same speed on every display: 20 quarter turns a second.
// Vertical sync stays on; pacing only waits when a frame comes early.
#pragma once

constexpr int kPacedFramesPerSecond = 60;

// 1 while frames are paced; the frame benchmark turns it off.
extern int framePacing;

// The clock pacing reads (microseconds) and the way it waits; the steady
// clock and a sleep unless a test puts its own in place.
extern unsigned long long (*paceClock)();
extern void (*paceSleep)(unsigned long long micros);

// Called before each frame is drawn: waits until the frame's time has come.
// Frames are due on a fixed schedule (frame n at start + n / 60 s), so a late
// wake-up is not carried into the next frame; a frame more than one period
// late starts the schedule afresh instead of drawing a burst to catch up.
void paceFrame();
// Forgets the schedule: the next frame is drawn at once and starts it again.
void resetPacing();
