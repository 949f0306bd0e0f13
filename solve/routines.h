// The four two-phase solving routines (menu entries 1 to 4). Each reaches an
// intermediate state with steps of its own, then the Base loop finishes the
// cube. Every driver does one step per call, like BaseDriver: takes the
// backup on the first call of a solve, runs the first unfinished step and
// applies its moves to the live cube, the SolutionList and "kub2.txt".
#pragma once

#include "solve/menu.h"

// ---- "6 - cross" (six_cross.cpp) ------------------------------------------
// Stages 1, 3, 4 and 6 of the Base algorithm around a step that only lifts
// the four cross-colour corners into the face-5 layer, in any twist.
void SixCrossDriver();
// Each face-5 corner slot shows centre 5 on at least one of its cells.
bool face5CornersComplete();
// Brings one cross-colour corner from the face-6 layer under the highest
// slot without one and lifts it in (at most seven moves).
void raiseFace5Corner();

// ---- "2x2x2" (two_by_two.cpp) ----------------------------------------------
// Builds the 2x2x2 block where faces 1, 4 and 5 meet, with two fixed turns of
// layers 1 and 4 (which lie outside the block) once per solve.
void TwoByTwoDriver();
bool blockEdgesComplete();      // F5[2][3], F5[3][2], F1[2][3], F4[3][2]
bool blockCornerComplete();     // F5[3][3], F1[3][3], F4[3][3]
bool blockMiddleEdgeComplete(); // F1[3][2], F4[2][3]
// A block attempt is cut off when it reaches this many moves.
constexpr int kBlockMoveLimit = 400;
// The retry after a cut-off: the CubieArray back from its backup, then
// (1, -1) as the only SolutionList record (not journalled).
void restartBlockAttempt();
// When the retry is cut off too: the cube goes back to the backup (which stays
// taken) and the solve starts over with the Base loop alone.
void abandonBlockAttempts();

// ---- "Half-solve" (half_solve.cpp) ---------------------------------------
// The first two layers but for the corner and middle edge between faces 4 and
// 1, which are taken out when they happen to be solved.
void HalfSolveDriver();
bool threeCornersComplete();     // face-5 corners 1/2, 2/3, 3/4 solved
bool pairCornerOut();            // face-5 corner 4/1 not solved
bool threeMiddleEdgesComplete(); // middle edges 1/2, 2/3, 3/4 solved
bool pairEdgeOut();              // middle edge 4/1 not solved
void removePairCorner();
void removePairEdge();

// ---- "'X'" (x_pattern.cpp) -------------------------------------------------
// The eight corners first: an X of one colour on every face. Writes marker
// lines to standard output besides the usual trace and journal.
void XPatternDriver();
bool face5XComplete();
bool face6XComplete();
bool sideXComplete();
// The four face-5-layer corners stand in the cyclic order of a solved cube:
// on every side face the two face-5-layer corner cells are equal.
bool face5CornersInOrder();
void twistFace6Corners();
void swapFace6Corners();

// ---- "Short" (short/routine.cpp) ---------------------------------------------
// The whole solve in one call (menu kind kOneCall): takes the backup, finds a
// short solution with the two-phase search (or takes the one its worker
// found for this cube) and applies it as a driver does, its trace in
// "Kyb.txt". Returns 0 with the live cube unchanged when its table file is
// missing or damaged (shortPrepare says why) or the search found nothing.
int shortWholeSolve();

// ---- The first phase of a two-phase entry (first_phase.cpp) ---------------
// Each routine's file describes its first phase for the menu table.
extern const FirstPhase kSixCrossPhase;
extern const FirstPhase kTwoByTwoPhase;
extern const FirstPhase kHalfSolvePhase;
extern const FirstPhase kXPatternPhase;
// Runs `phase` to its end, then sets phaseMark. Returns 0 when the solve ran
// into its bound (the solve is then to be abandoned).
int runPhase(const FirstPhase& phase);
// runPhase for the first phase of menu entry `entry`; 0 when it has none.
int runFirstPhase(int entry);

// One step of a driver: a test and the routine that runs while it fails.
struct DriverStep {
    bool (*test)();
    void (*routine)();
};
// The first of `n` steps whose test fails, or -1. While lastStageActive is 1
// no step runs.
int firstFailingStep(const DriverStep* steps, int n);
// One call of a driver: takes the backup on the first call, runs the first
// failing step's routine, calls `emitted` (when given) with the step's index
// once the routine has filled the MoveList, applies and journals the
// MoveList, and marks the solution for playback. When no step runs,
// `noStepRan` (when given) is called instead, and the MoveList is applied
// when it returns 1.
void runFirstFailingStep(const DriverStep* steps, int n, void (*emitted)(int step) = nullptr,
                         int (*noStepRan)() = nullptr);

// ---- How often the guards against endless solves stepped in -----------------
// "6 - cross" took the cross colour itself on a cube whose cross was already
// complete (Base stage 1, which takes it otherwise, never ran).
extern int sixCrossColourTaken;
// "2x2x2" attempts cut off at the move limit and retried once.
extern int blockRetries;
// Retries cut off as well, after which the Base loop solved the cube alone.
extern int blockRetriesAbandoned;
// "'X'" first phases ended early because the face-5 corners stood out of
// their cyclic order, which no step of that phase can mend.
extern int xCornerOrderStops;
