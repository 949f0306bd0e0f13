// The "Quick" routine: it undoes the recorded MoveHistory. simplifyHistory
// cancels redundant moves, the pattern choice adds sequences that leave the
// cube as it is, and the playback (one move per three frames, run by the
// frame controller) plays the history backwards, each move inverted.
#pragma once

#include "model/moves.h"

#include "solve/solver.h"

extern const Move QuickPatternA[16];
extern const Move QuickPatternB[16];
extern const Move QuickPatternC[8];
extern const Move QuickPatternD[16];

// The three passes over records 1..historyTop.
void simplifyHistory();
// simplifyHistory, the pattern choice (two draws from the runtime generator)
// and quickPrepared = 1.
void prepareQuick();
// The end of a Quick solve: history emptied (records 1..99 zeroed),
// solveRequested = 0, quickPrepared = 0, both marks back to -4. The frame
// controller also puts selectedAlgorithm back to -1.
void finishQuick();

// The move that undoes the record at historyTop.
Move quickUndoMove();

// The whole Quick solve without animation, as the program's frames would run
// it: preparation, then frame by frame the record at historyTop undone, until
// the cube is solved at the start of a step or the history is used up; then
// finishQuick. The moves made go to `played` (up to `capacity` of them).
// Returns the number of moves made.
int runQuickSolve(Move* played, int capacity);
