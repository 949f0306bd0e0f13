// The timeline: the quarter turns being shown, whatever made them (a mix, a
// solve, turns by hand, undo and redo), each with the name of its stage, the
// cube it starts from and a position in it. Playing, stepping and seeking
// move the position; the moves stay after they have played, so a finished
// solution can be played again.
#pragma once

#include "model/moves.h"

#include <vector>

struct Timeline {
    std::vector<Move> moves;
    // Per move: the name of its stage (a static string).
    std::vector<const char*> stages;
    // moves[0..position-1] are on the cube.
    int position = 0;
    // The cube before moves[0]; valid once startTaken is 1.
    int startCubies[4][4][4][7] = {};
    int startTaken = 0;
};

// More moves than this and the timeline starts again from the cube as it is.
constexpr int kTimelineLimit = 20000;

// Empty, with the start cube still to be taken (by the first append).
void clearTimeline(Timeline& timeline);
// Empty, starting from the live cube.
void startTimeline(Timeline& timeline);
// Adds a move at the end (the position does not move). A full timeline first
// starts again from the live cube.
void appendToTimeline(Timeline& timeline, const Move& move, const char* stage);
inline int timelineCount(const Timeline& timeline) {
    return static_cast<int>(timeline.moves.size());
}
