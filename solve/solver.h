// What every solving routine shares: the flags of a solve under way, the
// Base driver with its seven stage tests and stages, and the solve of one menu
// entry computed whole without a window.
#pragma once

#include "model/moves.h"

// The record of the solve under way: every flag a solve sets, reads and
// clears, one plain global. Fields keep the names the solvers use for them.
struct SolveState {
    // The cross colour of face 5, taken from centre 5 when workColourSet is 0.
    int workColour;
    int workColourSet;
    // Once stage 7 has run, the drivers run it on every call until it finishes.
    int lastStageActive;
    // A digit key asked for a solve; cleared by BaseDriver when the cube is done.
    int solveRequested;
    // The SolutionList is to be played back.
    int playbackPending;
    // SolutionList index at which a two-phase solve's Base phase begins; 0 = none.
    int phaseMark;
    // "2x2x2": 1 once the two fixed turns were made in this solve; cleared
    // when the solution's playback ends (or the solve is abandoned), not by
    // the retry.
    int blockTurnsDone;
    // Driver calls made by the solve under way.
    int driverCalls;
    // Set when a driver found the SolutionList full and applied nothing more.
    int solutionOverflow;
    // Stage 7's working corner: chosen on its first run in the life of the
    // program and kept from then on (see base_stage7.cpp).
    int workCorner;
    int workCornerSet;
    // "Quick": the history is prepared, and the records at which the view
    // turns while it is played back (-4 = none).
    int quickPrepared;
    int yawMark;
    int pitchMark;
};
// The record as a fresh program starts with it.
constexpr SolveState kFreshSolveState = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -4, -4};
extern SolveState solveState;

// Ends a solve: the flags of a solve under way are cleared, as if no solve
// had been asked for (the working corner and Quick's record stay).
void endSolve();
// The solver side of the program back to its fresh start: the cube at its
// start state with no backup, the three lists empty, the runtime generator
// at its start, the solve record fresh and the guards' counts at zero.
void resetSolver();

// One step of the Base algorithm: runs the first unfinished stage and applies
// its moves to the live cube, the SolutionList and "kub2.txt".
void BaseDriver();

bool stageComplete1(); // cross on face 5
bool stageComplete2(); // face-5 corners
bool stageComplete3(); // middle layer
bool stageComplete4(); // face-6 edges in their places
bool stageComplete5(); // face-6 corners in their places
bool stageComplete6(); // face-6 edges turned right
bool stageComplete7(); // face-6 corners turned right

void baseStage1();
void baseStage2();
void baseStage3();
void baseStage4();
void baseStage5();
void baseStage6();
void baseStage7();

// The stages BaseDriver runs, by number 1..7 (entry 0 unused). Tests may put
// a stage of their own in a slot.
using StageRoutine = void (*)();
extern StageRoutine baseStageTable[8];

// ---- The bound every solve keeps ----------------------------------------
// At most this many driver calls per solve; real solves need under 50.
constexpr int kMaxDriverCalls = 1000;
// Counts one driver call; returns 0 (and counts nothing) when the solve has
// used up its bound or the SolutionList overflowed, and the solve must stop.
int driverCallAllowed();
// Applies MoveList records 0..moveListLast to the live cube, the SolutionList
// and the open journal, as every driver does at the end of a step. Stops at a
// full SolutionList, setting solutionOverflow.
void applyMoveList();
// One move of a step: to the live cube, the SolutionList and the open
// journal. Returns 0 (and sets solutionOverflow) when the list is full.
int applyMove(const Move& m);

// ---- The solve of one menu entry ----------------------------------------
// Computes the whole solve of a menu entry (see solve/menu.h) on the live
// cube, as one frame of the program does: solutionCount = 0, the entry's
// first phase or its one-call routine, the Base loop, then the cube restored
// and the solution left for playback (playbackPending = 1). Returns 1 then.
// When the solve runs into its bound it is abandoned: the cube is restored,
// nothing is left to play back, the solve is ended (endSolve), and 0 is
// returned. An entry that is not computed (history replay, or no such row) is
// refused the same way.
int computeSolve(int entry);
// Without a window: the computed solution played whole on the restored cube,
// the solve ended (endSolve). Returns whether the cube ends solved.
bool playSolutionAtOnce();
