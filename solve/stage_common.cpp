#include "solve/stage_common.h"

#include "model/textlog.h"
#include "solve/solver.h"

int moveListDropped = 0;

namespace {
int emitted = 0;
}

int targetFace(int colour) {
    int j = 0;
    for (int i = 1; i <= 4; ++i)
        if (centre(i) == colour) j = i;
    return j;
}

bool pieceSolved(const CornerCells& corner) {
    return corner.cap.colour() == centre(corner.cap.f) &&
           corner.before.colour() == centre(corner.before.f) &&
           corner.after.colour() == centre(corner.after.f);
}

bool pieceSolved(const EdgeCells& edge) {
    return edge.before.colour() == centre(edge.before.f) &&
           edge.after.colour() == centre(edge.after.f);
}

bool cornerHolds(const CornerCells& corner, int colour) {
    return corner.cap.colour() == colour || corner.before.colour() == colour ||
           corner.after.colour() == colour;
}

void takeWorkColour() {
    if (solveState.workColourSet != 0) return;
    solveState.workColour = centre(5);
    solveState.workColourSet = 1;
}

void stageBegin() {
    moveListLast = 0;
    emitted = 0;
    traceOpen();
}

void emitMove(int layer, int direction) {
    if (emitted >= kMoveListSize) {
        ++moveListDropped;
        return;
    }
    MoveList[emitted] = {layer, direction};
    moveListLast = emitted;
    ++emitted;
    traceMove(layer, direction);
}

void emitMoves(const Move* moves, int n) {
    for (int i = 0; i < n; ++i) emitMove(moves[i].layer, moves[i].direction);
}

void emitMarker(const char* text) {
    traceMarker(text);
}

void emitLayer7Run(int d) {
    const int direction = d > 0 ? -1 : 1;
    for (int i = 0; i < (d > 0 ? d : -d); ++i) emitMove(7, direction);
}

int stageEmitted() {
    return emitted;
}

void stageEnd() {
    traceClose();
}
