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

// The corners and middle edges round the ring, by k = 1..4: piece k stands
// between side faces k-1 and k (piece 1 between faces 4 and 1). `before` is
// its cell on face k-1, `after` its cell on face k, and a corner's `cap` its
// cell on face 5 or face 6.
struct CornerCells {
    Cell cap, before, after;
};
struct EdgeCells {
    Cell before, after;
};
constexpr CornerCells kFace5Corner[5] = {{},
                                         {{5, 3, 3}, {4, 3, 3}, {1, 3, 3}},
                                         {{5, 1, 3}, {1, 1, 3}, {2, 3, 3}},
                                         {{5, 1, 1}, {2, 3, 1}, {3, 1, 3}},
                                         {{5, 3, 1}, {3, 3, 3}, {4, 3, 1}}};
constexpr CornerCells kFace6Corner[5] = {{},
                                         {{6, 3, 3}, {4, 1, 3}, {1, 3, 1}},
                                         {{6, 1, 3}, {1, 1, 1}, {2, 1, 3}},
                                         {{6, 1, 1}, {2, 1, 1}, {3, 1, 1}},
                                         {{6, 3, 1}, {3, 3, 1}, {4, 1, 1}}};
constexpr EdgeCells kMiddleEdge[5] = {{},
                                      {{4, 2, 3}, {1, 3, 2}},
                                      {{1, 1, 2}, {2, 2, 3}},
                                      {{2, 2, 1}, {3, 1, 2}},
                                      {{3, 3, 2}, {4, 2, 1}}};
// Every cell of the piece shows the centre of its own face.
bool pieceSolved(const CornerCells& corner);
bool pieceSolved(const EdgeCells& edge);
// One of the corner's three cells shows `colour`.
bool cornerHolds(const CornerCells& corner, int colour);
// The ring's next and previous side face: 1 -> 2 -> 3 -> 4 -> 1.
constexpr int nextFace(int i) {
    return i == 4 ? 1 : i + 1;
}
constexpr int previousFace(int i) {
    return i == 1 ? 4 : i - 1;
}

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
