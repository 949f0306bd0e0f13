// The solve of one menu entry, computed whole on the live cube; the record of
// the solve under way, and the ends and resets of it.
#include "model/cube.h"
#include "model/moves.h"
#include "model/textlog.h"
#include "solve/menu.h"
#include "solve/routines.h"
#include "solve/solver.h"
#include "solve/stage_common.h"

#include <cstring>

SolveState solveState = kFreshSolveState;

namespace {

// Gives up a solve that ran into its bound: the cube goes back to where it
// was, nothing is left to play back and the solve is ended.
int abandonSolve() {
    if (backupTaken) restoreCube();
    solutionCount = 0;
    endSolve();
    textLogCommit(); // the lines the solve made so far are kept, as they were made
    return 0;
}

} // namespace

void endSolve() {
    solveState.solveRequested = 0;
    solveState.playbackPending = 0;
    solveState.lastStageActive = 0;
    solveState.workColourSet = 0;
    solveState.phaseMark = 0;
    solveState.blockTurnsDone = 0;
}

bool playSolutionAtOnce() {
    for (int i = 0; i < solutionCount; ++i)
        turnLayer(SolutionList[i].layer, SolutionList[i].direction);
    const bool solved = isSolved();
    endSolve();
    return solved;
}

void resetSolver() {
    initCubieArray();
    initFaceletGrid();
    backupTaken = 0;
    std::memset(MoveList, 0, sizeof MoveList);
    moveListLast = 0;
    std::memset(SolutionList, 0, sizeof SolutionList);
    std::memset(SolutionStage, 0, sizeof SolutionStage);
    solutionCount = 0;
    solutionStage = 0;
    std::memset(MoveHistory, 0, sizeof MoveHistory);
    historyTop = 0;
    mixStart = 0;
    runtimeSeed(1);
    solveState = kFreshSolveState;
    moveListDropped = 0;
    sixCrossColourTaken = 0;
    blockRetries = 0;
    blockRetriesAbandoned = 0;
    xCornerOrderStops = 0;
}

int computeSolve(int entry) {
    textLogBegin();
    if (!menuEntryExists(entry) || kMenu[entry].kind == kHistoryReplay) return abandonSolve();
    const MenuEntry& row = kMenu[entry];
    solutionCount = 0;
    solutionStage = kWholeEntryStage; // until a phase or a Base stage says otherwise
    solveState.driverCalls = 0;
    solveState.solutionOverflow = 0;
    if (row.kind == kTwoPhase && !runPhase(*row.firstPhase)) return abandonSolve();
    if (row.kind == kOneCall) {
        if (!row.wholeSolve()) return abandonSolve();
    } else {
        // The Base loop: repeat { s = isSolved(); BaseDriver() } until s was true.
        bool solved = false;
        do {
            solved = isSolved();
            if (!driverCallAllowed()) return abandonSolve();
            BaseDriver();
            if (solveState.solutionOverflow) return abandonSolve();
        } while (!solved);
    }
    solveState.lastStageActive = 0;
    solveState.playbackPending = 1;
    restoreCube();
    if (row.kind != kBaseLoop) solveState.workColourSet = 0;
    textLogCommit();
    return 1;
}
