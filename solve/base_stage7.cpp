// Base stage 7: twists the face-6 corners until each shows the face-6 colour
// on face 6, then turns layer 7 back into line. All twisting happens at one
// working corner: the corner standing there is twisted in place by eight
// moves that also stir the first two layers, layer 7 brings the next twisted
// corner to it, and once the last corner is right the stirring has cancelled
// out. One call emits one step: a twist, a positioning turn or a re-aligning
// turn.
#include "solve/solver.h"
#include "solve/stage_common.h"

// The working corner, 1..4 = corner 4/1, 1/2, 2/3, 3/4 (the corner between
// side faces k-1 and k). Chosen on the first run in the program's life and
// kept for every later solve: a phase's twists only cancel out when they are
// all made at the same place.

namespace {

// The twist moves at face-6 corner k (kFace6Corner[k], indexed like
// workCorner). For the corner between side faces i and i+1, X turns the
// layer of face i and Y that of face i+1. Case a (face-6 colour on the
// corner's cell on face i+1) is X, Y, X', Y' twice; case b (on its cell on
// face i) is its inverse Y, X, Y', X' twice.
struct TwistMoves {
    Move x, y;
};
constexpr TwistMoves kTwists[5] = {
    {},
    {{3, -1}, {6, -1}}, // 4/1
    {{6, 1}, {1, -1}},  // 1/2
    {{1, 1}, {4, 1}},   // 2/3
    {{4, -1}, {3, 1}},  // 3/4
};

// The first run's choice looks at the corners in this order and keeps the
// last twisted one.
constexpr int kChoiceOrder[4] = {1, 4, 2, 3}; // 4/1, 3/4, 1/2, 2/3
// With the working corner right, the first twisted corner in this order is
// brought to it.
constexpr int kSearchOrder[4] = {4, 2, 1, 3}; // 3/4, 1/2, 4/1, 2/3

// Layer-7 run (emitLayer7Run's d) that carries the corner at [from] to the
// working corner [to]. The opposite corner is reached by two +1 turns for the
// working corners 4/1 and 2/3 and by two -1 turns for 1/2 and 3/4.
constexpr int kPositioning[5][5] = {
    {},
    {0, 0, -1, -2, 1}, // to 4/1
    {0, 1, 0, -1, 2},  // to 1/2
    {0, -2, 1, 0, -1}, // to 2/3
    {0, -1, 2, 1, 0},  // to 3/4
};

bool twisted(int k, int faceSixColour) {
    return kFace6Corner[k].after.colour() == faceSixColour ||
           kFace6Corner[k].before.colour() == faceSixColour;
}

void emitTwist(Move a, Move b) {
    const Move moves[8] = {a, b, inverse(a), inverse(b), a, b, inverse(a), inverse(b)};
    emitMoves(moves, 8);
}

} // namespace

void baseStage7() {
    stageBegin();
    const int u = centre(6);
    // A working corner outside 1..4 (only possible when the stage was first
    // run on a cube with no twisted corner) is chosen again.
    if (solveState.workCornerSet == 0 || solveState.workCorner < 1 || solveState.workCorner > 4) {
        for (int k : kChoiceOrder)
            if (twisted(k, u)) solveState.workCorner = k;
        solveState.workCornerSet = 1;
    }
    const int w = solveState.workCorner;
    if (w < 1 || w > 4) {
        // No corner is twisted and none ever was: only re-aligning is left.
    } else if (kFace6Corner[w].after.colour() == u) {
        emitTwist(kTwists[w].x, kTwists[w].y);
    } else if (kFace6Corner[w].before.colour() == u) {
        emitTwist(kTwists[w].y, kTwists[w].x);
    } else {
        int from = 0;
        for (int k : kSearchOrder)
            if (from == 0 && k != w && twisted(k, u)) from = k;
        if (from != 0) emitLayer7Run(kPositioning[w][from]);
    }
    // Nothing twisted: one re-aligning turn, always the same way round.
    if (stageEmitted() == 0) emitMove(7, 1);
    stageEnd();
}
