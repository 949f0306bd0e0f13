// The blinking "PAUSE" banner: three copies of the word in red, green and
// blue, each 2 pixels right of and 2 below the one before, each shown in its
// own window of the 35-frame cycle so that they blink out of step.
#pragma once

// Length of the banner's blink cycle in frames.
constexpr int kBannerCycle = 35;
// Size of the banner's letters (50 pixels per letter).
constexpr float kBannerSize = 5.0f;

// One copy of the banner as it is drawn: its pen position and colour.
struct BannerCopy {
    int x, y;
    float r, g, b;
};

// The copies the banner draws at frame counter `cycle` (taken mod 35) with
// the HUD offsets shiftX, shiftY, in drawing order; returns how many (0..3)
// were written to `out`. Pure: touches no GL state.
int pauseBannerCopies(int cycle, float shiftX, float shiftY, BannerCopy (&out)[3]);

// Draws the banner for frame counter `cycle` into the current projection
// (the frame routine uses a window-pixel projection with y upwards). The
// caller draws it only while paused.
void drawPauseBanner(int cycle, float shiftX, float shiftY);
