// Base stage 2: the corners of face 5. One call takes one corner that shows
// the cross colour in the face-6 layer and brings it down into its slot, or
// turns it so that the next call can, or lifts a wrong corner out of face 5.
// Only the side faces' outer layers and layer 7 turn, so the cross and the
// centres stay where they are.
#include "solve/solver.h"
#include "solve/stage_common.h"

namespace {

// What follows the layer-7 run once the corner stands above side face j:
// turns of layer 7 and the pair (L, D) of the kind's table at j, or its
// inverse (L, -D).
enum TailStep { Layer7Minus, Layer7Plus, Pair, PairBack };

// The three kinds of corner, each with its candidates k = 1..4, its tail and
// the table of pairs it takes (L, D) from. Candidate k is a cell of the
// face-6 corner k (or k+1, with `nextCorner`) that may show the cross colour,
// with the cell of the same corner whose colour names the side face the
// corner belongs above.
struct CornerKind {
    int nextCorner;
    Cell CornerCells::*cross;
    Cell CornerCells::*partner;
    TailStep tail[6];
    int tailCount;
    const Move* pairs; // (L, D) by j = 1..4
};

constexpr Move kP[5] = {{}, {1, -1}, {4, +1}, {3, +1}, {6, -1}};
constexpr Move kQ[5] = {{}, {3, -1}, {6, +1}, {1, +1}, {4, -1}};

constexpr CornerKind kKinds[3] = {
    // Cross colour on a side face, at the corner it shares with the previous
    // face of the ring: the corner goes straight down, solved.
    {0,
     &CornerCells::after,
     &CornerCells::before,
     {Layer7Minus, Pair, Layer7Plus, PairBack},
     4,
     kP},
    // Cross colour on a side face, at the corner it shares with the next
    // face: the corner goes straight down, solved.
    {1,
     &CornerCells::before,
     &CornerCells::after,
     {Layer7Plus, Pair, Layer7Minus, PairBack},
     4,
     kQ},
    // Cross colour on face 6: the corner is turned so that it shows the cross
    // colour on a side face, for one of the two kinds above.
    {0,
     &CornerCells::cap,
     &CornerCells::after,
     {Layer7Minus, Pair, Layer7Minus, PairBack, Layer7Plus, Layer7Plus},
     6,
     kP},
};

const CornerCells& candidateCorner(const CornerKind& kind, int k) {
    return kFace6Corner[kind.nextCorner ? nextFace(k) : k];
}

// The face-5 corner slots k in the order they are examined, and the moves
// that lift a wrong corner out of the slot into the face-6 layer.
struct Slot {
    int corner;
    Move lift[3];
};

constexpr Slot kSlots[4] = {
    {1, {{3, -1}, {7, +1}, {3, +1}}},
    {2, {{1, -1}, {7, +1}, {1, +1}}},
    {3, {{1, +1}, {7, +1}, {1, -1}}},
    {4, {{3, +1}, {7, +1}, {3, -1}}},
};

// Emits the corner kind's moves for the highest candidate showing the cross
// colour; false when none does (or its partner names no side face).
bool placeCorner(const CornerKind& kind) {
    int k = 0;
    for (int i = 1; i <= 4; ++i)
        if ((candidateCorner(kind, i).*kind.cross).colour() == solveState.workColour) k = i;
    if (k == 0) return false;
    const int j = targetFace((candidateCorner(kind, k).*kind.partner).colour());
    if (j == 0) return false;
    emitLayer7Run(j - k);
    const Move pair = kind.pairs[j];
    for (int i = 0; i < kind.tailCount; ++i) {
        switch (kind.tail[i]) {
        case Layer7Minus:
            emitMove(7, -1);
            break;
        case Layer7Plus:
            emitMove(7, +1);
            break;
        case Pair:
            emitMove(pair.layer, pair.direction);
            break;
        case PairBack:
            emitMove(pair.layer, -pair.direction);
            break;
        }
    }
    return true;
}

} // namespace

void baseStage2() {
    stageBegin();
    takeWorkColour();
    bool done = false;
    for (const CornerKind& kind : kKinds)
        if (!done) done = placeCorner(kind);
    for (const Slot& s : kSlots) {
        if (done) break;
        if (!pieceSolved(kFace5Corner[s.corner])) {
            emitMoves(s.lift, 3);
            done = true;
        }
    }
    // All four slots solved: nothing is emitted and moveListLast stays 0.
    stageEnd();
}
