// Helpers the stage routines share: the FaceletGrid cells by face, row and
// column, the face centres, and the one way moves are put into the MoveList
// and traced into "Kyb.txt".
#pragma once

#include "model/cube.h"
#include "model/moves.h"

// Sticker (row, col) of face f.
inline int F(int f, int r, int c) {
    return FaceletGrid[f][r][c];
}
// The colour of face f's centre at the time of the call.
inline int centre(int f) {
    return FaceletGrid[f][2][2];
}
// The side face 1..4 whose centre has colour c; the last match kept, 0 if none.
int targetFace(int colour);

// A cell reference {face, row, col} for case tables.
struct Cell {
    int f, r, c;
    int colour() const { return FaceletGrid[f][r][c]; }
};

// Takes the cross colour from centre 5 when workColourSet is 0.
void takeWorkColour();
// The solver's edge cells by side face i (1..4): the face-6-layer edge above
// face i (its side cell and its face-6 cell) and the face-5 slot below it
// (its side cell and its face-5 cell).
constexpr Cell kEdgeSide[5] = {{0, 0, 0}, {1, 2, 1}, {2, 1, 2}, {3, 2, 1}, {4, 1, 2}};
constexpr Cell kEdgeTop[5] = {{0, 0, 0}, {6, 2, 3}, {6, 1, 2}, {6, 2, 1}, {6, 3, 2}};
constexpr Cell kSlotSide[5] = {{0, 0, 0}, {1, 2, 3}, {2, 3, 2}, {3, 2, 3}, {4, 3, 2}};
constexpr Cell kSlotDown[5] = {{0, 0, 0}, {5, 2, 3}, {5, 1, 2}, {5, 2, 1}, {5, 3, 2}};

// Starts a stage call: moveListLast = 0, "Kyb.txt" opened truncated.
void stageBegin();
// Puts a move at the end of this call's output and writes its trace line.
// Output past the MoveList's 25 records is dropped.
void emitMove(int layer, int direction);
// Emits n moves in order.
void emitMoves(const Move* moves, int n);
// Writes a marker line into the trace.
void emitMarker(const char* text);
// The run of |d| turns of layer 7 that carries a face-6-layer piece d faces on
// round the ring: direction -1 when d > 0, +1 when d < 0.
void emitLayer7Run(int d);
// Moves dropped because the MoveList was full, since the program started
// (a stage never emits more than the list holds; tests watch this stay 0).
extern int moveListDropped;
// Moves emitted by this stage call so far.
int stageEmitted();
// Ends a stage call: closes "Kyb.txt".
void stageEnd();
