// The first phase of a two-phase menu entry: the entry's driver is called
// until all of its tests held at the start of an iteration (so the driver
// runs once more after they are first met); then phaseMark records where the
// Base phase begins. One loop serves every entry, driven by the entry's
// FirstPhase (each routine's file holds its own).
#include "model/cube.h"
#include "model/moves.h"
#include "model/textlog.h"
#include "solve/menu.h"
#include "solve/routines.h"
#include "solve/solver.h"

namespace {

// Iterations from cleared test results until the tests all held at the start
// of one. Returns 0 when the solve ran into its bound.
int runIterations(const FirstPhase& e) {
    bool held = false;
    while (!held) {
        if (e.moveLimit != 0 && solutionCount >= e.moveLimit) break;
        held = true;
        for (int i = 0; i < e.testCount; ++i)
            if (!e.tests[i]()) held = false;
        if (e.deadEnd && e.deadEnd()) {
            ++*e.deadEndSeen;
            break;
        }
        if (!driverCallAllowed()) return 0;
        e.driver();
        if (solveState.solutionOverflow) return 0;
    }
    return 1;
}

} // namespace

int firstFailingStep(const DriverStep* steps, int n) {
    if (solveState.lastStageActive != 0) return -1;
    for (int i = 0; i < n; ++i)
        if (!steps[i].test()) return i;
    return -1;
}

void runFirstFailingStep(const DriverStep* steps, int n, void (*emitted)(int step),
                         int (*noStepRan)()) {
    if (backupTaken == 0) backupCube();
    journalOpen();
    const int step = firstFailingStep(steps, n);
    if (step >= 0) {
        steps[step].routine();
        if (emitted) emitted(step);
        applyMoveList();
    } else if (noStepRan && noStepRan()) {
        applyMoveList();
    }
    journalClose();
    solveState.playbackPending = 1;
}

int runPhase(const FirstPhase& e) {
    solutionStage = kFirstPhaseStage;
    if (!runIterations(e)) return 0;
    // A block attempt that reached the limit (one move short of it counts
    // too) is tried once more from the backup turned by (1, -1). Every
    // further attempt would start from that same cube with the same flags and
    // fail the same way, so a second cut-off gives the block up and leaves
    // the whole cube to the Base loop.
    if (e.moveLimit != 0 && solutionCount >= e.moveLimit - 1) {
        restartBlockAttempt();
        if (!runIterations(e)) return 0;
        if (solutionCount >= e.moveLimit - 1) {
            abandonBlockAttempts();
            return 1;
        }
    }
    solveState.phaseMark = solutionCount;
    return 1;
}

int runFirstPhase(int entry) {
    if (!menuEntryExists(entry) || !kMenu[entry].firstPhase) return 0;
    return runPhase(*kMenu[entry].firstPhase);
}
