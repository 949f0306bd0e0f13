// The Short routine's own view of the cube: eight corners and twelve edges,
// each a piece and an orientation, seen from one of six sides; the 18 face
// turns on it, its coordinates and the symmetries that keep its search axis.
// The geometry comes from the model's layer table (model/layers.h).
#pragma once

#include "model/moves.h"

// Pieces and orientations: position i holds piece cp[i] (ep[i]) turned by
// co[i] (eo[i]). Corners 0..7; edges 0..7 lie in the two layers of the search
// axis, 8..11 in its middle layer. The solved cube is all identity, all 0.
struct ShortCube {
    int cp[8], co[8], ep[12], eo[12];
};

// The 18 face turns of the search: face f (0..5 = outer layers 7, 9, 1, 3, 4,
// 6) and power p (0: direction +1, 1: half turn, 2: direction -1) make move
// 3 * f + p. Faces 0 and 1 lie across the search axis.
constexpr int kShortMoves = 18;
// Phase 2 turns, as moves: quarter and half turns of faces 0 and 1, half turns
// of faces 2 to 5.
constexpr int kShortPhase2Moves = 10;
constexpr int kShortPhase2Move[kShortPhase2Moves] = {0, 1, 2, 3, 4, 5, 7, 10, 13, 16};

constexpr int kShortTwists = 2187;   // corner orientations
constexpr int kShortFlips = 2048;    // edge orientations
constexpr int kShortSlices = 495;    // places of the four middle-layer edges
constexpr int kShortPerms = 40320;   // orders of 8 corners or of 8 layer edges
constexpr int kShortSlicePerms = 24; // orders of the four middle-layer edges
// The middle edges' places and their order there (see shortSliceOrder).
constexpr int kShortSliceOrders = kShortSlices * kShortSlicePerms;

// Quarter turns a search move costs: a half turn 2.
constexpr int shortMoveCost(int m) {
    return m % 3 == 1 ? 2 : 1;
}

// The six views of one cube, as the search starts from them.
constexpr int kShortViews = 6;
struct ShortViews {
    ShortCube cube[kShortViews];
};

// The view of the live cube from one of six sides: view % 3 picks the search
// axis (0: y, 1: x, 2: z, turned onto the search's y axis), view >= 3 takes
// the inverse cube. Returns 1, or 0 when the cube cannot be read.
int shortReadCube(ShortCube& out, int view);
// All six views of the live cube; 1, or 0 when it cannot be read.
int shortReadViews(ShortViews& out);
// The program's quarter turns for search move m in view % 3 (inverse views
// use their own view's turns): the layer, its direction and how many (1 or 2).
void shortTurnOf(int view, int m, int& layer, int& direction, int& count);
void shortApplyMove(ShortCube& c, int m);
ShortCube shortSolvedCube();
ShortCube shortInverse(const ShortCube& c);

int shortTwist(const ShortCube& c);
int shortFlip(const ShortCube& c);
int shortSlice(const ShortCube& c);
int shortCornerPerm(const ShortCube& c);
// Order of edges 0..7 and of edges 8..11; meaningful in the phase-2 group.
int shortEdgePerm(const ShortCube& c);
int shortSlicePerm(const ShortCube& c);
// The middle edges' places (the slice coordinate) and their order there:
// slice * 24 + the rank of the order in which they lie, place by place. With
// the middle edges in the middle layer it ends in their phase-2 order.
int shortSliceOrder(const ShortCube& c);
// The slice coordinate of the solved cube.
int shortSolvedSlice();
// A cube with the given coordinate and everything else solved (a slice
// coordinate puts edges 8..11 on its places in order, the others in order).
ShortCube shortFromTwist(int twist);
ShortCube shortFromFlip(int flip);
ShortCube shortFromSlice(int slice);
ShortCube shortFromPerms(int cornerPerm, int edgePerm, int slicePerm);
// Middle edges on the places of slice coordinate sliceOrder / 24, in the
// order of rank sliceOrder % 24 place by place; everything else solved.
ShortCube shortFromSliceAndOrder(int sliceOrder);

// The symmetries that keep the search axis: 4 turns about it, times 2 half
// turns across it, times 2 for the mirror image.
constexpr int kShortSyms = 16;
// The cube seen through symmetry k (0..15), and the symmetry undoing k.
ShortCube shortConjugate(const ShortCube& c, int k);
int shortSymInverse(int k);
