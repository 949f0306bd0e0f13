// The strip along the bottom of the window: the moves of the timeline in
// standard notation, grouped by stage under the stage's name, the current
// move highlighted, the moves already played dimmer, and "move n / m" with
// the speed. It scrolls to keep the current move in view.
#pragma once

#include "model/moves.h"

struct StripView {
    const Move* moves;             // the timeline's quarter turns
    const char* const* stageNames; // per move: the name of its stage; a run of
                                   // equal names (by content) is one group
    int count;                     // number of moves
    int position;                  // moves[0..position-1] are played
    int animating;                 // 1 while moves[position] is turning
    int paused;                    // 1 while the player is paused
    double turnsPerSecond;         // the player's speed
};

// Draws the strip in window pixels over the bottom of a viewport of the given
// size (a text overlay must be up); draws nothing for an empty timeline.
void drawSolutionStrip(const StripView& view, int viewportWidth, int viewportHeight);
