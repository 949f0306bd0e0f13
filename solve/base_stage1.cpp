// Base stage 1: the cross on face 5. One call picks one case and emits the
// few moves that bring one cross edge a step closer to its slot: out of the
// face-5 or middle layer into the face-6 layer, round the face-6 layer until
// it stands above its own face, then down into its slot.
#include "solve/solver.h"
#include "solve/stage_common.h"

namespace {

// Drops the edge standing above face i, cross colour on the side, into slot i
// with the cross colour on face 5; the other slots and the centres stay.
constexpr Move kDropIntoSlot[5][4] = {{},
                                      {{7, +1}, {2, -1}, {7, -1}, {2, +1}},
                                      {{7, +1}, {5, +1}, {7, -1}, {5, -1}},
                                      {{7, +1}, {2, +1}, {7, -1}, {2, -1}},
                                      {{7, +1}, {5, -1}, {7, -1}, {5, +1}}};

// A cross colour seen on a side face below the face-6 layer, by the cell that
// shows it, in the order the cells are examined. If `ownSlot` is 0 the first
// branch is taken always, otherwise only while that slot is not solved; the
// second branch lifts the edge out with a turn of the neighbouring face, and
// when `otherSlot` is solved puts that slot back with (7, +1) and the inverse.
struct LiftCase {
    Cell cell;
    int ownSlot;
    Move first[2];
    int firstCount;
    const char* marker; // written after the first branch, or none
    int otherSlot;      // 0: the row has no second branch
    Move lift;
};

constexpr LiftCase kLiftCases[12] = {
    {kSlotSide[1], 0, {{6, +1}, {6, +1}}, 2, "1", 0, {}},
    {kMiddleEdge[2].before, 1, {{6, +1}}, 1, "2", 2, {1, -1}},
    {kMiddleEdge[1].after, 1, {{6, -1}}, 1, nullptr, 4, {3, -1}},
    {kSlotSide[2], 0, {{1, +1}, {1, +1}}, 2, "3", 0, {}},
    {kMiddleEdge[2].after, 2, {{1, -1}}, 1, "4", 1, {6, +1}},
    {kMiddleEdge[3].before, 2, {{1, +1}}, 1, "5", 3, {4, +1}},
    {kSlotSide[3], 0, {{4, +1}, {4, +1}}, 2, "6", 0, {}},
    {kMiddleEdge[3].after, 3, {{4, +1}}, 1, "7", 2, {1, +1}},
    {kMiddleEdge[4].before, 3, {{4, -1}}, 1, "8", 4, {3, +1}},
    {kSlotSide[4], 0, {{3, +1}, {3, +1}}, 2, "9", 0, {}},
    {kMiddleEdge[1].before, 4, {{3, -1}}, 1, "10", 1, {6, -1}},
    {kMiddleEdge[4].after, 4, {{3, +1}}, 1, "11", 3, {4, -1}},
};

// Carries the edge standing above face n into the middle layer with the cross
// colour on face n, from where the lift cases take it up the right way round.
struct TurnDownCase {
    Move moves[3];
    const char* marker;
};
constexpr TurnDownCase kTurnDown[5] = {{{}, nullptr},
                                       {{{2, +1}, {6, +1}, {2, -1}}, "12"},
                                       {{{5, -1}, {1, +1}, {5, +1}}, "13"},
                                       {{{2, -1}, {4, +1}, {2, +1}}, "14"},
                                       {{{5, +1}, {3, +1}, {5, -1}}, "15"}};

bool slotSolved(int k) {
    return kSlotSide[k].colour() == centre(k) && kSlotDown[k].colour() == centre(5);
}
bool slotFilled(int k) {
    return kSlotDown[k].colour() == solveState.workColour && kSlotSide[k].colour() == centre(k);
}

bool crossColourOnFace6() {
    for (int i = 1; i <= 4; ++i)
        if (kEdgeTop[i].colour() == solveState.workColour) return true;
    return false;
}

// Step 1: a cross edge above its own face with the cross colour on the side.
bool dropEdgeAboveItsFace() {
    for (int i = 1; i <= 4; ++i) {
        if (kEdgeSide[i].colour() == solveState.workColour &&
            targetFace(kEdgeTop[i].colour()) == i) {
            emitMoves(kDropIntoSlot[i], 4);
            return true;
        }
    }
    return false;
}

// Step 2: such an edge above another face; layer 7 carries it to its own.
bool carryEdgeToItsFace() {
    for (int i = 1; i <= 4; ++i) {
        if (kEdgeSide[i].colour() == solveState.workColour) {
            emitLayer7Run(targetFace(kEdgeTop[i].colour()) - i);
            emitMarker("HERE");
            return true;
        }
    }
    return false;
}

// Step 3: the cross colour on a side face in the face-5 or middle layer.
bool liftEdgeFromSide() {
    for (const LiftCase& lc : kLiftCases) {
        if (lc.cell.colour() != solveState.workColour) continue;
        if (lc.ownSlot == 0 || !slotSolved(lc.ownSlot)) {
            emitMoves(lc.first, lc.firstCount);
            if (lc.marker) emitMarker(lc.marker);
            return true;
        }
        if (crossColourOnFace6()) continue;
        emitMove(lc.lift.layer, lc.lift.direction);
        if (slotSolved(lc.otherSlot)) {
            emitMove(7, +1);
            emitMove(lc.lift.layer, -lc.lift.direction);
        }
        return true;
    }
    return false;
}

// Step 4: the cross colour on face 6. Returns false when every slot is filled
// and the tail of step 5 is still to come.
bool turnEdgeDown() {
    int m = 0;
    for (int i = 1; i <= 4; ++i)
        if (kEdgeTop[i].colour() == solveState.workColour) m = i;
    if (m == 0) return false;
    int n = 0;
    for (int k = 1; k <= 4; ++k)
        if (!slotFilled(k)) n = k;
    const int d = n - m;
    for (int i = 0; i < (d > 0 ? d : -d); ++i) {
        emitMove(7, d > 0 ? -1 : +1);
        emitMarker("XX");
    }
    if (n == 0) return false;
    emitMoves(kTurnDown[n].moves, 3);
    emitMarker(kTurnDown[n].marker);
    return true;
}

} // namespace

void baseStage1() {
    stageBegin();
    takeWorkColour();
    if (!dropEdgeAboveItsFace() && !carryEdgeToItsFace() && !liftEdgeFromSide() &&
        !turnEdgeDown()) {
        // Step 5: the cross edges are all in face 5 but not all in their
        // slots; lift slot 2's edge into the middle layer.
        emitMove(1, -1);
    }
    stageEnd();
}
