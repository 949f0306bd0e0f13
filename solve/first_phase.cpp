// The first phase of menu entries 1 to 4: the entry's driver is called until
// all of its tests held at the start of an iteration (so the driver runs once
// more after they are first met); then phaseMark records where the Base phase
// begins. One loop serves all four entries, driven by the table below.
#include "model/cube.h"
#include "model/moves.h"
#include "model/textlog.h"
#include "solve/routines.h"
#include "solve/solver.h"

namespace {

using Test = bool (*)();

// "'X'": the four face-5 corners show centre 5 but stand out of their cyclic
// order. No step of that phase changes the face-5 layer any more, so the X on
// the side faces can never come about; the Base loop takes over from there.
bool xCornersStuck() {
    return face5XComplete() && !face5CornersInOrder();
}

struct FirstPhaseEntry {
    Test tests[5]; // evaluated in this order at the start of every iteration
    int testCount;
    void (*driver)();
    int moveLimit;    // no iteration starts at this many moves; 0 = no limit
    Test deadEnd;     // ends the phase before the driver call; null = none
    int* deadEndSeen; // counts those ends
};

// Entry 1 also looks at stageComplete7 and stageComplete5 on every iteration
// without using the answers; being pure tests, they are left out here.
const FirstPhaseEntry kEntries[5] = {
    {},
    {{face5CornersComplete, stageComplete1, stageComplete3, stageComplete4, stageComplete6},
     5,
     SixCrossDriver,
     0,
     nullptr,
     nullptr},
    {{blockCornerComplete, blockEdgesComplete, blockMiddleEdgeComplete},
     3,
     TwoByTwoDriver,
     kBlockMoveLimit,
     nullptr,
     nullptr},
    {{stageComplete1, threeCornersComplete, pairCornerOut, threeMiddleEdgesComplete, pairEdgeOut},
     5,
     HalfSolveDriver,
     0,
     nullptr,
     nullptr},
    {{face6XComplete, face5XComplete, sideXComplete},
     3,
     XPatternDriver,
     0,
     xCornersStuck,
     &xCornerOrderStops},
};

// Iterations from cleared test results until the tests all held at the start
// of one. Returns 0 when the solve ran into its bound.
int runIterations(const FirstPhaseEntry& e) {
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
        if (solutionOverflow) return 0;
    }
    return 1;
}

} // namespace

int firstFailingStep(const DriverStep* steps, int n) {
    if (lastStageActive != 0) return -1;
    for (int i = 0; i < n; ++i)
        if (!steps[i].test()) return i;
    return -1;
}

void runFirstFailingStep(const DriverStep* steps, int n, void (*emitted)(int step)) {
    if (backupTaken == 0) backupCube();
    journalOpen();
    const int step = firstFailingStep(steps, n);
    if (step >= 0) {
        steps[step].routine();
        if (emitted) emitted(step);
        applyMoveList();
    }
    journalClose();
    playbackPending = 1;
}

int runFirstPhase(int entry) {
    if (entry < 1 || entry > 4) return 0;
    const FirstPhaseEntry& e = kEntries[entry];
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
    phaseMark = solutionCount;
    return 1;
}

int sixCrossFirstPhase() {
    return runFirstPhase(1);
}
int twoByTwoFirstPhase() {
    return runFirstPhase(2);
}
int halfSolveFirstPhase() {
    return runFirstPhase(3);
}
int xPatternFirstPhase() {
    return runFirstPhase(4);
}
