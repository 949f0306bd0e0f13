// The "Short" routine: the whole solve in one call. The two-phase search
// (short_solve.cpp) finds a short solution of the live cube without changing
// it; its quarter turns are then applied as every driver applies its moves:
// to the live cube, the SolutionList and "kub2.txt". The call is one stage
// call, so "Kyb.txt" is its trace: the whole solution, one line a turn (an
// empty trace for a solved cube).
#include "model/cube.h"
#include "model/textlog.h"
#include "solve/routines.h"
#include "solve/short_solve.h"
#include "solve/solver.h"
#include "solve/stage_common.h"

namespace {
Move found[kShortSolveMaxLength];
}

int shortWholeSolve() {
    // Before its tables are built the routine refuses, touching nothing.
    if (!shortSolveReady() || !driverCallAllowed()) return 0;
    if (backupTaken == 0) backupCube();
    const int count = shortSolve(found, kShortSolveMaxLength, kShortSolveTimeLimitMicros);
    if (count < 0) return 0;
    stageBegin();
    journalOpen();
    int applied = 1;
    for (int i = 0; i < count && applied; ++i) {
        traceMove(found[i].layer, found[i].direction);
        applied = applyMove(found[i]);
    }
    journalClose();
    stageEnd();
    solveState.playbackPending = 1;
    return applied;
}
