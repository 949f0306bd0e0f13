// "Half-solve": the first two layers but for one corner-and-edge pair, the
// face-5 corner and the middle edge between faces 4 and 1, which are taken
// out of their places when they happen to be solved; the Base loop then
// finishes the cube.
#include "model/cube.h"
#include "model/moves.h"
#include "model/textlog.h"
#include "solve/routines.h"
#include "solve/solver.h"
#include "solve/stage_common.h"

namespace {

// A piece of the first two layers as its cells, each to show the centre of
// its own face.
struct Piece {
    Cell cell[3];
    int n;
    bool solved() const {
        for (int i = 0; i < n; ++i)
            if (cell[i].colour() != centre(cell[i].f)) return false;
        return true;
    }
};

// Face-5 corners 1/2, 2/3, 3/4 and then the pair's corner 4/1.
constexpr Piece kCorners[4] = {{{{5, 1, 3}, {1, 1, 3}, {2, 3, 3}}, 3},
                               {{{5, 1, 1}, {2, 3, 1}, {3, 1, 3}}, 3},
                               {{{5, 3, 1}, {3, 3, 3}, {4, 3, 1}}, 3},
                               {{{5, 3, 3}, {1, 3, 3}, {4, 3, 3}}, 3}};
// Middle edges 1/2, 2/3, 3/4 and then the pair's edge 4/1.
constexpr Piece kMiddleEdges[4] = {{{{1, 1, 2}, {2, 2, 3}}, 2},
                                   {{{2, 2, 1}, {3, 1, 2}}, 2},
                                   {{{3, 3, 2}, {4, 2, 1}}, 2},
                                   {{{1, 3, 2}, {4, 2, 3}}, 2}};

bool firstThreeSolved(const Piece* pieces) {
    for (int i = 0; i < 3; ++i)
        if (!pieces[i].solved()) return false;
    return true;
}

// Drops the pair's corner into the face-6 layer.
constexpr Move kCornerOut[3] = {{6, -1}, {7, 1}, {6, 1}};
// Puts the pair's edge into the face-6 layer and the face-6 edge next to
// face 1 into its place; the face-5 layer keeps all its pieces.
constexpr Move kEdgeOut[8] = {{7, -1}, {3, -1}, {7, 1}, {3, 1}, {7, 1}, {6, -1}, {7, -1}, {6, 1}};

constexpr DriverStep kSteps[5] = {
    {stageComplete1, baseStage1},      {threeCornersComplete, baseStage2},
    {pairCornerOut, removePairCorner}, {threeMiddleEdgesComplete, baseStage3},
    {pairEdgeOut, removePairEdge},
};

} // namespace

bool threeCornersComplete() {
    return firstThreeSolved(kCorners);
}
bool pairCornerOut() {
    return !kCorners[3].solved();
}
bool threeMiddleEdgesComplete() {
    return firstThreeSolved(kMiddleEdges);
}
bool pairEdgeOut() {
    return !kMiddleEdges[3].solved();
}

void removePairCorner() {
    stageBegin();
    if (kCorners[3].solved()) emitMoves(kCornerOut, 3);
    stageEnd();
}

void removePairEdge() {
    stageBegin();
    if (kMiddleEdges[3].solved()) emitMoves(kEdgeOut, 8);
    stageEnd();
}

void HalfSolveDriver() {
    runFirstFailingStep(kSteps, 5);
}

const FirstPhase kHalfSolvePhase = {
    "first two layers but one pair",
    {stageComplete1, threeCornersComplete, pairCornerOut, threeMiddleEdgesComplete, pairEdgeOut},
    5,
    HalfSolveDriver,
    0,
    nullptr,
    nullptr};
