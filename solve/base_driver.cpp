// The Base algorithm's driver and its seven stage tests.
#include "model/cube.h"
#include "model/moves.h"
#include "model/textlog.h"
#include "solve/routines.h"
#include "solve/solver.h"
#include "solve/stage_common.h"

StageRoutine baseStageTable[8] = {nullptr,    baseStage1, baseStage2, baseStage3,
                                  baseStage4, baseStage5, baseStage6, baseStage7};

namespace {

// Stage k as the driver runs it: through baseStageTable, where tests may
// have put a stage of their own.
template <int k> void runBaseStage() {
    baseStageTable[k]();
}

constexpr DriverStep kBaseSteps[6] = {
    {stageComplete1, runBaseStage<1>}, {stageComplete2, runBaseStage<2>},
    {stageComplete3, runBaseStage<3>}, {stageComplete4, runBaseStage<4>},
    {stageComplete5, runBaseStage<5>}, {stageComplete6, runBaseStage<6>},
};

// With stages 1 to 6 complete (or stage 7 under way): the cube is solved
// once stage 7 is complete; otherwise stage 7 runs, and keeps running on
// every call until it finishes.
int lastStage() {
    if (stageComplete7()) {
        solveState.solveRequested = 0;
        return 0;
    }
    solveState.lastStageActive = 1;
    solutionStage = 7;
    runBaseStage<7>();
    return 1;
}

} // namespace

int driverCallAllowed() {
    if (solveState.solutionOverflow || solveState.driverCalls >= kMaxDriverCalls) return 0;
    ++solveState.driverCalls;
    return 1;
}

int applyMove(const Move& m) {
    if (solutionCount >= kSolutionListSize) {
        solveState.solutionOverflow = 1;
        return 0;
    }
    turnLayer(m.layer, m.direction);
    appendSolution(m.layer, m.direction);
    journalMove(m.layer, m.direction);
    return 1;
}

void applyMoveList() {
    for (int i = 0; i <= moveListLast && i < kMoveListSize; ++i)
        if (!applyMove(MoveList[i])) return;
}

void BaseDriver() {
    // The moves of step k (0..5) are Base stage k + 1's.
    runFirstFailingStep(
        kBaseSteps, 6, [](int step) { solutionStage = step + 1; }, lastStage);
    solveState.workColourSet = 0;
}

bool stageComplete1() {
    for (int i = 1; i <= 4; ++i)
        if (kSlotDown[i].colour() != centre(5) || kSlotSide[i].colour() != centre(i)) return false;
    return true;
}

bool stageComplete2() {
    for (int k = 1; k <= 4; ++k)
        if (!pieceSolved(kFace5Corner[k])) return false;
    return true;
}

bool stageComplete3() {
    for (int k = 1; k <= 4; ++k)
        if (!pieceSolved(kMiddleEdge[k])) return false;
    return true;
}

bool stageComplete4() {
    for (int i = 1; i <= 4; ++i)
        if (kEdgeTop[i].colour() != centre(i) && kEdgeSide[i].colour() != centre(i)) return false;
    return true;
}

bool stageComplete5() {
    // The corner between faces i and i+1 holds centre i and not centre i-1.
    for (int i = 1; i <= 4; ++i) {
        const CornerCells& corner = kFace6Corner[nextFace(i)];
        if (!cornerHolds(corner, centre(i)) || cornerHolds(corner, centre(previousFace(i))))
            return false;
    }
    return true;
}

bool stageComplete6() {
    for (int i = 1; i <= 4; ++i)
        if (kEdgeSide[i].colour() != centre(i)) return false;
    return true;
}

bool stageComplete7() {
    for (int k = 1; k <= 4; ++k)
        if (kFace6Corner[k].cap.colour() != centre(6)) return false;
    return stageComplete6();
}
