// One frame of the picture (drawFrame, declared in app/frame.h): the frame
// controller inside the scene transform, the light, the frame-rate count,
// the floor grid, then the HUD text in window pixels, the strip of moves and
// the help overlay once asked for, and, while paused, the blinking banner.
#pragma once

// Frames per second, measured over about one second.
extern float fps;
// Frames counted since the last measurement, and its tick (milliseconds).
extern int fpsFrames;
extern int fpsLastTick;

// The millisecond tick the frame rate and the running clock read; the
// platform's tick counter unless a test puts its own clock here.
extern unsigned (*frameTicks)();

// Counts one frame; at least 1000 ms after the last measurement, fps is
// recomputed from the frames counted since.
void countFrames();

// The running clock split into hours, minutes and seconds from a number of
// milliseconds.
struct ClockReading {
    int hours, minutes, seconds;
};
ClockReading clockReading(int elapsedMs);

// How the HUD lines reach the screen: a colour, then a text at overlay pixel
// (x, y). The real ones set the GL colour and call hudPrint; tests record.
struct HudDrawing {
    void (*colour)(float r, float g, float b);
    void (*print)(float x, float y, const char* text);
};
extern HudDrawing hudDrawing;
extern const HudDrawing kGlHudDrawing;

// The HUD lines (the menu's from the menu table), in their order and
// colours, through hudDrawing; while a solution plays, one more line at
// (10, 130): the stage and the move on the cube in notation.
void drawHudLines();
// The menu entry (0..kMenuSize - 1) whose HUD line covers window pixel
// (x, y), or -1.
int menuEntryAt(int x, int y);
