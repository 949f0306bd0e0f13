// The "Short" routine as the program uses it: its tables made ready, solves of
// the live cube, and a worker that searches off the calling thread so that a
// caller drawing frames never waits for the search.
#pragma once

#include "model/moves.h"
#include "solve/short/search.h"

// Maps the tables (once; later calls return at once): null when the routine
// can solve, else a message naming the table file and its fault.
const char* shortPrepare();

// A short solution of the live cube, without changing it (see
// ShortSearch::solve); -1 also when the tables are missing or the cube cannot
// be read. `stats`, when given, receives the search's.
int shortSolve(Move* out, int capacity, ShortStats* stats = nullptr);

// ---- answers found elsewhere ---------------------------------------------------
// The routine keeps one answer ready for one cube. Its next solve of exactly
// that cube (shortWholeSolve, through computeSolve) takes the answer instead
// of searching, and drops it; a solve of any other cube searches as usual.

// For a caller that must not wait (the window's frame): 1 when the routine's
// solve of the live cube will not search, because the worker's answer for
// that cube is in (or the routine cannot solve at all and will refuse at
// once); 0 while the worker is thinking. The first call for a cube starts the
// worker on it; calls for a cube that changed meanwhile start it again once
// the worker is free.
int shortAnswerReady();
// 1 while the worker is searching.
int shortWorkerBusy();

// Hands the routine an answer found for `views` (by cube-solve --batch on its
// own threads): moves[0..count-1] as ShortSearch::solve gave them.
void shortOfferAnswer(const ShortViews& views, const Move* moves, int count, int timedOut);
