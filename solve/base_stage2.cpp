// Base stage 2: the corners of face 5. One call takes one corner that shows
// the cross colour in the face-6 layer and brings it down into its slot, or
// turns it so that the next call can, or lifts a wrong corner out of face 5.
// Only the side faces' outer layers and layer 7 turn, so the cross and the
// centres stay where they are.
#include "solve/solver.h"
#include "solve/stage_common.h"

namespace {

// A face-6-layer corner cell that may show the cross colour, and the cell
// whose colour names the side face the corner belongs above.
struct Candidate {
    Cell cross, partner;
};

// The three kinds of corner, candidates k = 1..4 each, and the moves that
// follow the layer-7 run once the corner stands above side face j. `Tail`
// entries with layer 0 stand for the pair (L, D) of the kind's table, and
// layer -1 for its inverse (L, -D).
struct CornerKind {
    Candidate candidates[5];
    Move tail[6];
    int tailCount;
    const Move* pairs; // (L, D) by j = 1..4
};

constexpr Move kLeft = {0, 0};  // (L, D)
constexpr Move kUndo = {-1, 0}; // (L, -D)
constexpr Move kP[5] = {{}, {1, -1}, {4, +1}, {3, +1}, {6, -1}};
constexpr Move kQ[5] = {{}, {3, -1}, {6, +1}, {1, +1}, {4, -1}};

constexpr CornerKind kKinds[3] = {
    // Cross colour on a side face, at the corner it shares with the previous
    // face of the ring: the corner goes straight down, solved.
    {{{},
      {{1, 3, 1}, {4, 1, 3}},
      {{2, 1, 3}, {1, 1, 1}},
      {{3, 1, 1}, {2, 1, 1}},
      {{4, 1, 1}, {3, 3, 1}}},
     {{7, -1}, kLeft, {7, +1}, kUndo},
     4,
     kP},
    // Cross colour on a side face, at the corner it shares with the next
    // face: the corner goes straight down, solved.
    {{{},
      {{1, 1, 1}, {2, 1, 3}},
      {{2, 1, 1}, {3, 1, 1}},
      {{3, 3, 1}, {4, 1, 1}},
      {{4, 1, 3}, {1, 3, 1}}},
     {{7, +1}, kLeft, {7, -1}, kUndo},
     4,
     kQ},
    // Cross colour on face 6: the corner is turned so that it shows the cross
    // colour on a side face, for one of the two kinds above.
    {{{},
      {{6, 3, 3}, {1, 3, 1}},
      {{6, 1, 3}, {2, 1, 3}},
      {{6, 1, 1}, {3, 1, 1}},
      {{6, 3, 1}, {4, 1, 1}}},
     {{7, -1}, kLeft, {7, -1}, kUndo, {7, +1}, {7, +1}},
     6,
     kP},
};

// The face-5 corner slots in the order they are examined, the cells that
// must equal their faces' centres, and the moves that lift a wrong corner
// out of the slot into the face-6 layer.
struct Slot {
    Cell cells[3];
    int faces[3];
    Move lift[3];
};

constexpr Slot kSlots[4] = {
    {{{5, 3, 3}, {1, 3, 3}, {4, 3, 3}}, {5, 1, 4}, {{3, -1}, {7, +1}, {3, +1}}},
    {{{5, 1, 3}, {1, 1, 3}, {2, 3, 3}}, {5, 1, 2}, {{1, -1}, {7, +1}, {1, +1}}},
    {{{5, 1, 1}, {2, 3, 1}, {3, 1, 3}}, {5, 2, 3}, {{1, +1}, {7, +1}, {1, -1}}},
    {{{5, 3, 1}, {3, 3, 3}, {4, 3, 1}}, {5, 3, 4}, {{3, +1}, {7, +1}, {3, -1}}},
};

bool slotSolved(const Slot& s) {
    for (int i = 0; i < 3; ++i)
        if (s.cells[i].colour() != centre(s.faces[i])) return false;
    return true;
}

// Emits the corner kind's moves for the highest candidate showing the cross
// colour; false when none does (or its partner names no side face).
bool placeCorner(const CornerKind& kind) {
    int k = 0;
    for (int i = 1; i <= 4; ++i)
        if (kind.candidates[i].cross.colour() == workColour) k = i;
    if (k == 0) return false;
    const int j = targetFace(kind.candidates[k].partner.colour());
    if (j == 0) return false;
    emitLayer7Run(j - k);
    const Move pair = kind.pairs[j];
    for (int i = 0; i < kind.tailCount; ++i) {
        const Move m = kind.tail[i];
        if (m.layer == kLeft.layer)
            emitMove(pair.layer, pair.direction);
        else if (m.layer == kUndo.layer)
            emitMove(pair.layer, -pair.direction);
        else
            emitMove(m.layer, m.direction);
    }
    return true;
}

} // namespace

void baseStage2() {
    stageBegin();
    if (workColourSet == 0) {
        workColour = centre(5);
        workColourSet = 1;
    }
    bool done = false;
    for (const CornerKind& kind : kKinds)
        if (!done) done = placeCorner(kind);
    for (const Slot& s : kSlots) {
        if (done) break;
        if (!slotSolved(s)) {
            emitMoves(s.lift, 3);
            done = true;
        }
    }
    // All four slots solved: nothing is emitted and moveListLast stays 0.
    stageEnd();
}
