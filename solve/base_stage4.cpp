// Base stage 4: brings the four face-6 edges over their own side faces,
// whichever way round each of them sits. Layer 7 is first turned until the
// edge with centre 2's colour stands over face 2; then one ten-move slice
// sequence per call cycles three edges. The "6 - cross" driver uses it too.
#include "solve/solver.h"
#include "solve/stage_common.h"

namespace {

// The edge above side face `face` shows `colour` on one of its two cells.
bool carries(int face, int colour) {
    return kEdgeSide[face].colour() == colour || kEdgeTop[face].colour() == colour;
}

// Three-edge cycles from the middle slice between faces 1 and 3 (layer 5) and
// layer 7. The slice turns add up to whole turns, so the centres come back
// and only three face-6 edges move.
constexpr int kCycleLength = 10;
constexpr Move kCycle[3][kCycleLength] = {
    // Edge above 2 -> above 1, above 1 -> above 3, above 3 -> above 2.
    {{5, 1}, {5, 1}, {7, -1}, {5, -1}, {7, 1}, {7, 1}, {5, 1}, {7, -1}, {5, 1}, {5, 1}},
    // Above 4 -> above 3, above 3 -> above 1, above 1 -> above 4.
    {{5, -1}, {5, -1}, {7, -1}, {5, 1}, {7, 1}, {7, 1}, {5, -1}, {7, -1}, {5, -1}, {5, -1}},
    // Above 1 -> above 3, above 4 -> above 1, above 3 -> above 4.
    {{5, -1}, {5, -1}, {7, 1}, {5, 1}, {7, 1}, {7, 1}, {5, -1}, {7, 1}, {5, -1}, {5, -1}},
};

// With centre 2's edge over face 2, the first rule whose edge carries the
// colour of the named centre picks the cycle. When one of faces 1, 3, 4 is
// already served the other two are exchanged: cycle 1 stirs three edges,
// face 2's among them, and later calls line up and cycle again. When none is
// served the three form a cycle that cycle 2 or cycle 3 closes at once.
struct CycleRule {
    int edgeAbove;  // side face under the edge looked at
    int centreFace; // face whose centre colour is looked for on it
    int cycle;      // index into kCycle
};
constexpr CycleRule kCycleRules[] = {
    {1, 1, 0}, {4, 4, 0}, {3, 3, 0}, {4, 3, 1}, {4, 1, 2},
};

} // namespace

void baseStage4() {
    stageBegin();
    const int c2 = centre(2);
    // The lowest-numbered side face whose edge carries centre 2's colour.
    int p = 0;
    for (int i = 4; i >= 1; --i)
        if (carries(i, c2)) p = i;
    if (p == 0) {
        // The edge is not in the face-6 layer, so the first two layers are not
        // done and there is nothing to work from: emit nothing.
    } else if (p != 2) {
        emitLayer7Run(2 - p);
    } else {
        for (const CycleRule& rule : kCycleRules) {
            if (carries(rule.edgeAbove, centre(rule.centreFace))) {
                emitMoves(kCycle[rule.cycle], kCycleLength);
                break;
            }
        }
    }
    stageEnd();
}
