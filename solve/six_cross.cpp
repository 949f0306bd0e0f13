// "6 - cross": Base stages 1, 3, 4 and 6 around a step of its own that lifts
// the four cross-colour corners into the face-5 layer in whatever twist they
// arrive; the Base loop then finishes the cube.
#include "model/cube.h"
#include "model/moves.h"
#include "model/textlog.h"
#include "solve/routines.h"
#include "solve/solver.h"
#include "solve/stage_common.h"

int sixCrossColourTaken = 0;

namespace {

// Face-5 corner slot k (1..4) is kFace5Corner[k]; position k is the face-6
// corner kFace6Corner[k] above it, touching the same two side faces.

// Slot k is filled by turning the layer of the later face of its pair:
// (L, e), (7, +1), (L, -e).
constexpr Move kInsertion[5] = {{0, 0}, {6, -1}, {1, -1}, {4, 1}, {3, 1}};

// The three ways a cross-colour corner can stand in the face-6 layer, tried
// in this order. For each: the cell of position k that shows the colour, the
// number by which the highest qualifying position is chosen, and the offset
// in the distance d = t - number - offset that brings it under slot t.
struct SourceCase {
    Cell CornerCells::*cell;
    int number[5];
    int offset;
};
constexpr SourceCase kSourceCases[3] = {
    // Leading: the side cell on the later face of the pair.
    {&CornerCells::after, {0, 1, 2, 3, 4}, 0},
    // Trailing: the side cell on the earlier face; positions 2, 3, 4, 1 are
    // numbered 1, 2, 3, 4.
    {&CornerCells::before, {0, 4, 1, 2, 3}, 1},
    // Face 6.
    {&CornerCells::cap, {0, 1, 2, 3, 4}, 0},
};

bool slotHolds(int k, int colour) {
    return cornerHolds(kFace5Corner[k], colour);
}

constexpr DriverStep kSteps[5] = {
    {stageComplete1, baseStage1}, {face5CornersComplete, raiseFace5Corner},
    {stageComplete3, baseStage3}, {stageComplete4, baseStage4},
    {stageComplete6, baseStage6},
};

} // namespace

bool face5CornersComplete() {
    const int c = centre(5);
    for (int k = 1; k <= 4; ++k)
        if (!slotHolds(k, c)) return false;
    return true;
}

void raiseFace5Corner() {
    stageBegin();
    const int w = solveState.workColour;
    int chosen = -1;
    int source = 0;
    for (int i = 0; i < 3 && chosen < 0; ++i) {
        for (int k = 1; k <= 4; ++k)
            if ((kFace6Corner[k].*kSourceCases[i].cell).colour() == w &&
                kSourceCases[i].number[k] > source)
                source = kSourceCases[i].number[k];
        if (source != 0) chosen = i;
    }
    int target = 0;
    for (int k = 1; k <= 4; ++k)
        if (!slotHolds(k, w)) target = k;
    // No corner to lift, or no slot to lift it into: the call emits nothing.
    if (chosen < 0 || target == 0) {
        stageEnd();
        return;
    }
    emitLayer7Run(target - source - kSourceCases[chosen].offset);
    const Move& in = kInsertion[target];
    emitMove(in.layer, in.direction);
    emitMove(7, 1);
    emitMove(in.layer, -in.direction);
    stageEnd();
}

void SixCrossDriver() {
    // The cross colour is taken here too: Base stage 1, which takes it
    // otherwise, never runs on a cube whose cross is already complete, and
    // every later step expects the colour of centre 5.
    if (solveState.workColourSet == 0 && solveState.lastStageActive == 0 && stageComplete1())
        ++sixCrossColourTaken;
    takeWorkColour();
    runFirstFailingStep(kSteps, 5);
}

// Entry 1 also looks at stageComplete7 and stageComplete5 on every iteration
// without using the answers; being pure tests, they are left out here.
const FirstPhase kSixCrossPhase = {
    "cross and lifted corners",
    {face5CornersComplete, stageComplete1, stageComplete3, stageComplete4, stageComplete6},
    5,
    SixCrossDriver,
    0,
    nullptr,
    nullptr};
