// What every solving routine shares: the flags of a solve under way, the
// Base driver with its seven stage tests and stages, and the solve of one menu
// entry computed whole without a window.
#pragma once

#include "model/moves.h"

// The cross colour of face 5, taken from centre 5 when workColourSet is 0.
extern int workColour;
extern int workColourSet;
// Once stage 7 has run, the drivers run it on every call until it finishes.
extern int lastStageActive;
// A digit key asked for a solve; cleared by BaseDriver when the cube is done.
extern int solveRequested;
// The SolutionList is to be played back.
extern int playbackPending;
// SolutionList index at which a two-phase solve's Base phase begins; 0 = none.
extern int phaseMark;

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

// Stage 7's working corner: chosen on its first run in the life of the
// program and kept from then on (see stage7.cpp).
extern int workCorner;
extern int workCornerSet;

// The stages BaseDriver runs, by number 1..7 (entry 0 unused). Tests may put
// a stage of their own in a slot.
using StageRoutine = void (*)();
extern StageRoutine baseStageTable[8];

// ---- The bound every solve keeps ----------------------------------------
// At most this many driver calls per solve; real solves need under 50.
constexpr int kMaxDriverCalls = 1000;
// Driver calls made by the solve under way.
extern int driverCalls;
// Set when a driver found the SolutionList full and applied nothing more.
extern int solutionOverflow;
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
// The first phase of a two-phase entry (1..4): runs its driver until its
// tests held at the start of an iteration, and sets phaseMark. Returns 0 when
// the solve ran into the bound. Entries without one have a null slot.
using FirstPhase = int (*)();
extern FirstPhase firstPhaseTable[6];

// Computes the whole solve of menu entry 0..4 on the live cube, as one frame
// of the program does: solutionCount = 0, the entry's first phase, the Base
// loop, then the cube restored and the solution left for playback
// (playbackPending = 1). Returns 1 then. When the solve runs into its bound it
// is abandoned: the cube is restored, nothing is left to play back, the solve
// flags are cleared, and 0 is returned. An entry with no routine (yet) is
// refused the same way.
int computeSolve(int entry);
// 1 when computeSolve can run `entry`.
int entryAvailable(int entry);
