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

// Face-5 corners and middle edges 1/2, 2/3, 3/4, and then the pair's 4/1, as
// indices of the ring.
constexpr int kPieceOrder[4] = {2, 3, 4, 1};
constexpr int kPairPiece = 1;

template <typename Piece> bool firstThreeSolved(const Piece* pieces) {
    for (int i = 0; i < 3; ++i)
        if (!pieceSolved(pieces[kPieceOrder[i]])) return false;
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
    return firstThreeSolved(kFace5Corner);
}
bool pairCornerOut() {
    return !pieceSolved(kFace5Corner[kPairPiece]);
}
bool threeMiddleEdgesComplete() {
    return firstThreeSolved(kMiddleEdge);
}
bool pairEdgeOut() {
    return !pieceSolved(kMiddleEdge[kPairPiece]);
}

void removePairCorner() {
    stageBegin();
    if (pieceSolved(kFace5Corner[kPairPiece])) emitMoves(kCornerOut, 3);
    stageEnd();
}

void removePairEdge() {
    stageBegin();
    if (pieceSolved(kMiddleEdge[kPairPiece])) emitMoves(kEdgeOut, 8);
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
