// The solve of one menu entry, computed whole on the live cube.
#include "model/cube.h"
#include "model/moves.h"
#include "model/textlog.h"
#include "solve/routines.h"
#include "solve/solver.h"

FirstPhase firstPhaseTable[6] = {
    nullptr, sixCrossFirstPhase, twoByTwoFirstPhase, halfSolveFirstPhase, xPatternFirstPhase,
    nullptr};

namespace {

// Gives up a solve that ran into its bound: the cube goes back to where it
// was, nothing is left to play back and the flags are as if no solve had
// been asked for.
int abandonSolve() {
    if (backupTaken) restoreCube();
    solutionCount = 0;
    playbackPending = 0;
    solveRequested = 0;
    lastStageActive = 0;
    workColourSet = 0;
    phaseMark = 0;
    // No playback follows, and the playback is what clears it otherwise.
    blockTurnsDone = 0;
    textLogCommit(); // the lines the solve made so far are kept, as they were made
    return 0;
}

} // namespace

int entryAvailable(int entry) {
    if (entry == 0) return 1;
    if (entry >= 1 && entry <= 4) return firstPhaseTable[entry] != nullptr;
    return 0;
}

int computeSolve(int entry) {
    textLogBegin();
    if (!entryAvailable(entry)) return abandonSolve();
    solutionCount = 0;
    driverCalls = 0;
    solutionOverflow = 0;
    if (entry >= 1 && entry <= 4 && !firstPhaseTable[entry]()) return abandonSolve();
    // The Base loop: repeat { s = isSolved(); BaseDriver() } until s was true.
    bool solved = false;
    do {
        solved = isSolved();
        if (!driverCallAllowed()) return abandonSolve();
        BaseDriver();
        if (solutionOverflow) return abandonSolve();
    } while (!solved);
    lastStageActive = 0;
    playbackPending = 1;
    restoreCube();
    if (entry >= 1 && entry <= 4) workColourSet = 0;
    textLogCommit();
    return 1;
}
