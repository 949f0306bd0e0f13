// The player: how fast turns are animated, whether it plays or waits, and the
// turn being animated with its angle. It moves a timeline on, one quarter turn
// at a time, and knows nothing of keys: commands set what it does.
#pragma once

#include "model/moves.h"
#include "model/timeline.h"

// The speeds, slowest first, in quarter turns a second at 60 frames a
// second, and the frames one turn takes at each.
struct PlayerSpeed {
    double turnsPerSecond;
    int framesPerTurn;
};
constexpr PlayerSpeed kPlayerSpeeds[] = {{0.5, 120}, {1, 60}, {2, 30}, {4, 15}, {7.5, 8}, {20, 3}};
constexpr int kPlayerSpeedCount = sizeof kPlayerSpeeds / sizeof kPlayerSpeeds[0];
// Three frames a turn, as the program has always played.
constexpr int kDefaultSpeed = kPlayerSpeedCount - 1;

struct Player {
    int speed = kDefaultSpeed; // index into kPlayerSpeeds
    // 1 while nothing plays on its own (P, Space, or after a step or seek).
    int paused = 0;
    // The angle of the turn in progress for its next frame; 0 when none is.
    int angle = 0;
    Move turning{};  // the turn in progress
    int back = 0;    // 1 when it steps the timeline back
    int frame = 0;   // frames of it drawn so far
    int frames = 3;  // frames it takes (the speed when it started)
    int applied = 0; // 1 once it is on the cube
    // +1 or -1: one step asked for, forward or back, until the turn it plays
    // (or the one in progress) ends; 0 when none.
    int stepping = 0;
    // -1 to the start of the timeline, +1 to its end, done at the next frame
    // with no turn in progress; 0 when none.
    int seek = 0;
};

// How the player draws the cube with a layer turned (the controller's drawing).
using TurnDrawing = void (*)(int layer, int direction, int angle);
// Moves that leave the timeline's own playback on the cube are told here
// first; returning 0 refuses the move (nothing happens).
using MoveRecorder = int (*)(const Move& move);

// One frame of the animation of `move`: the angle grows from 1 by 90 / frames
// a frame; the move goes onto the cube in the frame whose angle reaches 60.
// At three frames a turn the angles are 1, 31 and 61 and the layer is drawn
// at the angle throughout, as always; slower, the layer is drawn from the
// turned cube at angle - 90 once the move is on it, so that it moves on
// smoothly. Returns 1 in the frame the move ends.
int animateTurn(Player& player, const Move& move, TurnDrawing draw);

// One frame of the timeline's playback: a turn in progress goes on; else a
// step asked for, or while not paused the next move, starts (a step back
// plays the inverse of the move before the position). Returns -1 when nothing
// was drawn (nothing to play, or the recorder refused), 1 in the frame a move
// ends (the position moved), else 0.
int advanceTimeline(Player& player, Timeline& timeline, MoveRecorder record, TurnDrawing draw);

// Moves the timeline to its start (to < 0) or its end at once, each move put
// through `record` first (a refused one stops the seek there).
void seekTimeline(Timeline& timeline, int to, MoveRecorder record);

// 1 while the timeline has moves ahead and the player would play them.
inline int timelineWaiting(const Player& player, const Timeline& timeline) {
    return player.angle != 0 || player.stepping != 0 || player.seek != 0 ||
           (!player.paused && timeline.position < timelineCount(timeline));
}
