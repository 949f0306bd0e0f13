// "2x2x2": the block where faces 1, 4 and 5 meet, built with Base stages 1,
// 2 and 3 only as far as the block needs them, with two fixed turns of the
// layers outside the block once per solve; the Base loop then finishes it.
#include "model/cube.h"
#include "model/moves.h"
#include "model/textlog.h"
#include "solve/routines.h"
#include "solve/solver.h"
#include "solve/stage_common.h"

int blockRetries = 0;
int blockRetriesAbandoned = 0;

namespace {

// Layers 1 and 4 hold no piece of the block and no centre of faces 1, 4, 5.
constexpr Move kFixedTurns[2] = {{1, -1}, {4, -1}};

// The cube as the solve found it; the backup stays taken for the solve.
void backToBackup() {
    restoreCube();
    backupTaken = 1;
}

} // namespace

bool blockEdgesComplete() {
    return F(5, 2, 3) == centre(5) && F(5, 3, 2) == centre(5) && F(1, 2, 3) == centre(1) &&
           F(4, 3, 2) == centre(4);
}

bool blockCornerComplete() {
    return F(5, 3, 3) == centre(5) && F(1, 3, 3) == centre(1) && F(4, 3, 3) == centre(4);
}

bool blockMiddleEdgeComplete() {
    return F(1, 3, 2) == centre(1) && F(4, 2, 3) == centre(4);
}

void TwoByTwoDriver() {
    if (backupTaken == 0) backupCube();
    journalOpen();
    if (!blockEdgesComplete() && solveState.lastStageActive == 0) {
        baseStage1();
        applyMoveList();
    } else if (!blockCornerComplete() && solveState.lastStageActive == 0) {
        baseStage2();
        applyMoveList();
    } else if (solveState.blockTurnsDone == 0) {
        // Nothing goes into the MoveList or "Kyb.txt": a later stage call
        // that emits nothing still finds the record an earlier stage left.
        for (const Move& m : kFixedTurns) applyMove(m);
        solveState.blockTurnsDone = 1;
    } else if (!blockMiddleEdgeComplete() && solveState.lastStageActive == 0) {
        baseStage3();
        applyMoveList();
    }
    journalClose();
    solveState.playbackPending = 1;
}

void restartBlockAttempt() {
    ++blockRetries;
    backToBackup();
    solutionCount = 0;
    turnLayer(1, -1);
    appendSolution(1, -1);
}

void abandonBlockAttempts() {
    ++blockRetriesAbandoned;
    backToBackup();
    solutionCount = 0;
    solveState.phaseMark = 0;
}

const FirstPhase kTwoByTwoPhase = {
    "2x2x2 block",
    {blockCornerComplete, blockEdgesComplete, blockMiddleEdgeComplete},
    3,
    TwoByTwoDriver,
    kBlockMoveLimit,
    nullptr,
    nullptr};
