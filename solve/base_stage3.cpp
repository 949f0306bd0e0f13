// Base stage 3: the edges of the middle layer. One call either takes an edge
// that stands above its own face down into its slot, or turns layer 7 to
// bring a middle-layer edge above its own face, or pushes a wrong edge out of
// its slot into the face-6 layer. Every sequence keeps face 5's layer and the
// centres where they are. Only the four side centres matter here.
#include "solve/solver.h"
#include "solve/stage_common.h"

namespace {

// Insertion sequences 1..8: sequence n takes the edge above a side face down
// into one of the two middle slots beside that face, the S sticker staying on
// that face. 1-4 go to the slot on the previous face's side, 5-8 to the next.
constexpr Move kInsert[9][8] = {
    {},
    {{7, -1}, {3, -1}, {7, +1}, {3, +1}, {7, +1}, {6, -1}, {7, -1}, {6, +1}}, // 1 -> 4/1
    {{7, -1}, {6, +1}, {7, +1}, {6, -1}, {7, +1}, {1, -1}, {7, -1}, {1, +1}}, // 2 -> 1/2
    {{7, -1}, {1, +1}, {7, +1}, {1, -1}, {7, +1}, {4, +1}, {7, -1}, {4, -1}}, // 3 -> 2/3
    {{7, -1}, {4, -1}, {7, +1}, {4, +1}, {7, +1}, {3, +1}, {7, -1}, {3, -1}}, // 4 -> 3/4
    {{7, +1}, {1, -1}, {7, -1}, {1, +1}, {7, -1}, {6, +1}, {7, +1}, {6, -1}}, // 1 -> 1/2
    {{7, +1}, {4, +1}, {7, -1}, {4, -1}, {7, -1}, {1, +1}, {7, +1}, {1, -1}}, // 2 -> 2/3
    {{7, +1}, {3, +1}, {7, -1}, {3, -1}, {7, -1}, {4, -1}, {7, +1}, {4, +1}}, // 3 -> 3/4
    {{7, +1}, {6, -1}, {7, -1}, {6, +1}, {7, -1}, {3, -1}, {7, +1}, {3, +1}}, // 4 -> 4/1
};

// An edge above its own face, ready to go down: S_i = centre i and T_i =
// centre `tFace` (the other face of the target slot). In order of testing.
struct ReadyEdge {
    int face, tFace, sequence;
};
constexpr ReadyEdge kReady[8] = {{1, 4, 1}, {2, 1, 2}, {3, 2, 3}, {4, 3, 4},
                                 {1, 2, 5}, {2, 3, 6}, {3, 4, 7}, {4, 1, 8}};

// A middle-layer edge above face i that belongs above face `sFace`: S_i =
// centre sFace and T_i one of the centres of sFace's neighbours. Layer 7
// carries it `run` faces on round the ring (see emitLayer7Run).
struct StrayEdge {
    int face, sFace, tFaceA, tFaceB, run;
};
constexpr StrayEdge kStray[12] = {
    {1, 4, 1, 3, -1}, {1, 3, 4, 2, -2}, {1, 2, 1, 3, +1}, {2, 1, 2, 4, -1},
    {2, 4, 3, 1, -2}, {2, 3, 2, 4, +1}, {3, 2, 1, 3, -1}, {3, 1, 2, 4, -2},
    {3, 4, 1, 3, +1}, {4, 3, 4, 2, -1}, {4, 2, 1, 3, -2}, {4, 1, 4, 2, +1},
};

// The middle slots are examined in ring order; sequence k fills slot k
// (kMiddleEdge[k]).

} // namespace

void baseStage3() {
    stageBegin();
    int c[5] = {0, centre(1), centre(2), centre(3), centre(4)};
    int sequence = 0;
    int run = 0;
    for (const ReadyEdge& e : kReady) {
        if (kEdgeSide[e.face].colour() == c[e.face] && kEdgeTop[e.face].colour() == c[e.tFace]) {
            sequence = e.sequence;
            break;
        }
    }
    if (sequence == 0) {
        for (const StrayEdge& e : kStray) {
            const int t = kEdgeTop[e.face].colour();
            if (kEdgeSide[e.face].colour() == c[e.sFace] &&
                (t == c[e.tFaceA] || t == c[e.tFaceB])) {
                run = e.run;
                break;
            }
        }
    }
    if (sequence == 0 && run == 0) {
        for (int k = 1; k <= 4; ++k) {
            if (!pieceSolved(kMiddleEdge[k])) {
                sequence = k;
                break;
            }
        }
    }
    if (sequence != 0)
        emitMoves(kInsert[sequence], 8);
    else
        emitLayer7Run(run);
    // All four slots solved: nothing is emitted and moveListLast stays 0.
    stageEnd();
}
