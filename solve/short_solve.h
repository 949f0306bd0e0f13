// The short-solution routine: a two-phase search that finds a short sequence
// of quarter turns for any state of the live cube.
//
// Phase 1 turns the cube, by any outer-layer turns, into the subgroup where
// only quarter turns of the two faces of the search axis and half turns of the
// four other faces are needed: every corner and edge oriented, the four edges
// of the middle layer of that axis in that layer. Phase 2 then solves it with
// those turns only. Each phase is an iterative-deepening search over small
// coordinates with move tables and distance tables, all counted in quarter
// turns (a half turn costs 2). The phase-1 distances are exact, from a table
// made when the program is built. The search runs from three axes and from
// the inverse cube, on two threads, and keeps looking for shorter totals
// until its solution is short enough or its time is up.
#pragma once

#include "model/moves.h"

#include <cstdint>

// The time a solve may take, in microseconds: a hard limit. The search stops
// there with the best solution so far; from its first phase-1 solution on it
// always has one, at worst the fallback (a long phase 2 made without search).
// It stops earlier once its solution is short enough (see kGoodLength).
constexpr int kShortSolveTimeLimitMicros = 12000;
// Room for a solution, in quarter turns: above any length the search returns,
// the fallback's included (a solution that does not fit is refused, never
// cut).
constexpr int kShortSolveMaxLength = 120;

// Builds every move table and distance table (once; later calls return at
// once). Reads nothing of the live cube.
void shortSolveInit();
// 1 once shortSolveInit has finished, else 0.
int shortSolveReady();

// Finds a short solution of the live cube (the CubieArray, pieces told apart
// by their colours against the current centres) without changing it. Writes
// quarter turns of the outer layers 1, 3, 4, 6, 7 and 9 into out[0..] (a half
// turn as two equal quarter turns) and returns their number: 0 for a solved
// cube, -1 when the tables are not ready, the cube cannot be read, or the
// solution does not fit into `capacity`. Keeps looking for shorter solutions
// until timeLimitMicros have passed or its solution is short enough; past the
// limit it only goes on while it has no phase-1 solution yet. Allocates
// nothing.
int shortSolve(Move* out, int capacity, int timeLimitMicros);

// ---- the search's own view of the cube, for its tests -----------------------

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
extern const int kShortPhase2Move[kShortPhase2Moves];

constexpr int kShortTwists = 2187;   // corner orientations
constexpr int kShortFlips = 2048;    // edge orientations
constexpr int kShortSlices = 495;    // places of the four middle-layer edges
constexpr int kShortPerms = 40320;   // orders of 8 corners or of 8 layer edges
constexpr int kShortSlicePerms = 24; // orders of the four middle-layer edges

// The view of the live cube from one of six sides: view % 3 picks the search
// axis (0: y, 1: x, 2: z, turned onto the search's y axis), view >= 3 takes
// the inverse cube. Returns 1, or 0 when the cube cannot be read.
int shortReadCube(ShortCube& out, int view);
// The program's quarter turns for search move m in view % 3 (inverse views
// use their own view's turns): the layer, its direction and how many (1 or 2).
void shortTurnOf(int view, int m, int& layer, int& direction, int& count);
void shortApplyMove(ShortCube& c, int m);

int shortTwist(const ShortCube& c);
int shortFlip(const ShortCube& c);
int shortSlice(const ShortCube& c);
int shortCornerPerm(const ShortCube& c);
// Order of edges 0..7 and of edges 8..11; meaningful in the phase-2 group.
int shortEdgePerm(const ShortCube& c);
int shortSlicePerm(const ShortCube& c);
// A cube with the given coordinate and everything else solved (a slice
// coordinate puts edges 8..11 on its places in order, the others in order).
ShortCube shortFromTwist(int twist);
ShortCube shortFromFlip(int flip);
ShortCube shortFromSlice(int slice);
ShortCube shortFromPerms(int cornerPerm, int edgePerm, int slicePerm);
// Middle edges on the places of slice coordinate sliceOrder / 24, in the
// order of rank sliceOrder % 24 place by place; everything else solved.
ShortCube shortFromSliceAndOrder(int sliceOrder);

// Move tables (m a search move 0..17; phase-2 tables take an index into
// kShortPhase2Move) and the phase-2 distance tables, in quarter turns (corner
// or edge order with slice order).
int shortTwistMove(int twist, int m);
int shortFlipMove(int flip, int m);
int shortSliceMove(int slice, int m);
int shortCornerPermMove(int perm, int p2);
int shortEdgePermMove(int perm, int p2);
int shortSlicePermMove(int perm, int p2);
int shortCornerSliceDistance(int cornerPerm, int slicePerm);
int shortEdgeSliceDistance(int edgePerm, int slicePerm);
// The exact phase-2 distance of a phase-2 cube within kShortNearCost quarter
// turns of solved, else kShortNearCost + 1.
constexpr int kShortNearCost = 12;
int shortNearDistance(int cornerPerm, int edgePerm, int slicePerm);
// The fallback's phase 2 for a phase-2 cube: search moves into moves[0..],
// their number returned (-1 when they do not fit into `capacity`). It costs
// at most kShortFallbackCost quarter turns: down to corners and middle edges
// home (at most 22), then edge-only sequences (at most 38 together).
constexpr int kShortFallbackCost = 60;
int shortFallbackPhase2(int cornerPerm, int edgePerm, int slicePerm, int* moves, int capacity);
// Bytes held by all tables.
long shortTableBytes();

// ---- the exact phase-1 distances, a table made when the program is built ----

// The symmetries that keep the search axis: 4 turns about it, times 2 half
// turns across it, times 2 for the mirror image.
constexpr int kShortSyms = 16;
constexpr int kShortFlipSlices = kShortFlips * kShortSlices;
// Classes of flip-and-slice pairs under those symmetries.
constexpr int kShortFlipSliceClasses = 64430;
constexpr long kShortPhase1Entries = static_cast<long>(kShortFlipSliceClasses) * kShortTwists;
// The phase-1 distance of (twist, flip, slice) in quarter turns is that of
// its image under the symmetry that takes its flip and slice to their class's
// own pair: an entry of distanceMod3 (four to a byte, low bits first), at
// class * kShortTwists + the twist as that symmetry turns it. Neighbours lie
// at most one quarter turn apart, so the distance modulo 3 is enough to
// follow them.
struct ShortPhase1Table {
    uint32_t classOf[kShortFlipSlices]; // class * 16 + symmetry
    uint16_t twistConj[kShortTwists][kShortSyms];
    uint8_t distanceMod3[(kShortPhase1Entries + 3) / 4];
};
// The table's bytes, built into the program (null where there is none yet:
// in the program that makes it).
const unsigned char* shortPhase1Data();
// Makes the table (after shortSolveInit has built the move tables): some
// seconds and about 140 MB while it runs. Returns 1, or 0 when a check of the
// symmetries fails.
int shortPhase1Generate(ShortPhase1Table& out);
// The cube seen through symmetry k (0..15).
ShortCube shortConjugate(const ShortCube& c, int k);
// The exact phase-1 distance in quarter turns.
int shortPhase1Distance(int twist, int flip, int slice);
