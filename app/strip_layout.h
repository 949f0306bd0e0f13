// Where the pieces of the solution strip go, worked out without GL: the band
// above the HUD's credit line, the "move n / m" counter and the speed on its
// first line, then the moves flowing in rows, each stage's group led by its
// name, scrolled by whole rows so that the current move is in view.
#pragma once

#include "app/hud_font.h"
#include "app/strip.h"

enum StripTokenKind {
    kStripStageName, // a group's stage name and a colon
    kStripMove,      // one quarter turn in notation
};

struct StripToken {
    StripTokenKind kind;
    int index; // the move, or for a stage name the first move of its group
    int x, y;  // where its baseline starts, in overlay pixels (y down)
    int chars; // characters drawn (a long stage name is cut to its row)
    int row;   // row of the whole timeline's flow
};

// Rows of moves the band shows at once, and how many tokens they can hold.
constexpr int kStripRowsShown = 2;
constexpr int kStripMaxTokens = 640;
// Room kept free below the band for the HUD's credit line (its baseline 30
// pixels above the bottom, its letters about 10 pixels tall).
constexpr int kStripBottomClearance = 44;

// The strip's colours (r, g, b): the band behind it (drawn with the alpha
// below), the counter, the speed, a stage name, a move played, the current
// move on its box, and a move still to come.
enum StripColour {
    kStripBand,
    kStripCounter,
    kStripSpeed,
    kStripStage,
    kStripPlayed,
    kStripCurrent,
    kStripCurrentBox,
    kStripComing,
    kStripColourCount
};
constexpr float kStripColours[kStripColourCount][3] = {
    {0.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 1.0f}, {0.8f, 0.8f, 0.8f},   {0.45f, 0.8f, 1.0f},
    {0.5f, 0.5f, 0.5f}, {1.0f, 1.0f, 0.0f}, {0.15f, 0.25f, 0.7f}, {1.0f, 1.0f, 1.0f},
};
constexpr float kStripBandAlpha = 0.7f;

struct StripLayout {
    int visible;                        // 0: nothing to draw (empty timeline, tiny view)
    int left, top, right, bottom;       // the band
    int counterX, counterY;             // baseline of "move n / m"
    int speedX, speedY;                 // baseline of the speed
    int columns;                        // characters a row of moves holds
    int rowCount, firstRow;             // rows of the whole flow; the first one shown
    StripToken tokens[kStripMaxTokens]; // the tokens of the rows shown, in order
    int tokenCount;
    int current; // the token of moves[position], -1 when it is not shown
};

// Lays out the strip of `view` over the bottom of a viewport of w x h pixels
// for a fixed-width font with metrics m.
void layoutSolutionStrip(const StripView& view, int w, int h, const TextMetrics& m,
                         StripLayout* out);

// "move n / m": n counts the moves played, and the one turning.
void formatStripCounter(const StripView& view, char* out, int size);
// "1 turn/s", "0.5 turns/s", "paused, 2 turns/s".
void formatStripSpeed(const StripView& view, char* out, int size);
