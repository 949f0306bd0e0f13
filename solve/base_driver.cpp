// The Base algorithm's driver and its seven stage tests.
#include "model/cube.h"
#include "model/moves.h"
#include "model/textlog.h"
#include "solve/solver.h"
#include "solve/stage_common.h"


StageRoutine baseStageTable[8] = {nullptr,    baseStage1, baseStage2, baseStage3,
                                  baseStage4, baseStage5, baseStage6, baseStage7};

namespace {

using StageTest = bool (*)();
constexpr StageTest kStageTests[8] = {nullptr,        stageComplete1, stageComplete2,
                                      stageComplete3, stageComplete4, stageComplete5,
                                      stageComplete6, stageComplete7};

bool allEqualCentre(const Cell* cells, int n, int face) {
    for (int i = 0; i < n; ++i)
        if (cells[i].colour() != centre(face)) return false;
    return true;
}

// A face-6 corner as its three cells.
struct Corner {
    Cell a, b, c;
    bool holds(int colour) const {
        return a.colour() == colour || b.colour() == colour || c.colour() == colour;
    }
};

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
    if (backupTaken == 0) backupCube();
    journalOpen();
    int stage = 0;
    for (int k = 1; k <= 6 && stage == 0; ++k)
        if (!kStageTests[k]() && solveState.lastStageActive == 0) stage = k;
    if (stage == 0) {
        if (stageComplete7()) {
            solveState.solveRequested = 0;
        } else {
            solveState.lastStageActive = 1;
            stage = 7;
        }
    }
    if (stage != 0) {
        baseStageTable[stage]();
        applyMoveList();
    }
    journalClose();
    solveState.workColourSet = 0;
    solveState.playbackPending = 1;
}

bool stageComplete1() {
    for (int i = 1; i <= 4; ++i)
        if (kSlotDown[i].colour() != centre(5) || kSlotSide[i].colour() != centre(i)) return false;
    return true;
}

bool stageComplete2() {
    static constexpr Cell face5[] = {{5, 3, 3}, {5, 1, 3}, {5, 1, 1}, {5, 3, 1}};
    static constexpr Cell side[5][2] = {{},
                                        {{1, 3, 3}, {1, 1, 3}},
                                        {{2, 3, 3}, {2, 3, 1}},
                                        {{3, 3, 3}, {3, 1, 3}},
                                        {{4, 3, 3}, {4, 3, 1}}};
    if (!allEqualCentre(face5, 4, 5)) return false;
    for (int i = 1; i <= 4; ++i)
        if (!allEqualCentre(side[i], 2, i)) return false;
    return true;
}

bool stageComplete3() {
    static constexpr Cell side[5][2] = {{},
                                        {{1, 3, 2}, {1, 1, 2}},
                                        {{2, 2, 1}, {2, 2, 3}},
                                        {{3, 3, 2}, {3, 1, 2}},
                                        {{4, 2, 1}, {4, 2, 3}}};
    for (int i = 1; i <= 4; ++i)
        if (!allEqualCentre(side[i], 2, i)) return false;
    return true;
}

bool stageComplete4() {
    for (int i = 1; i <= 4; ++i)
        if (kEdgeTop[i].colour() != centre(i) && kEdgeSide[i].colour() != centre(i)) return false;
    return true;
}

bool stageComplete5() {
    // Corner between faces i and i+1 holds centre i and not centre i-1.
    static constexpr Corner corner[5] = {{},
                                         {{6, 1, 3}, {1, 1, 1}, {2, 1, 3}},
                                         {{6, 1, 1}, {2, 1, 1}, {3, 1, 1}},
                                         {{6, 3, 1}, {3, 3, 1}, {4, 1, 1}},
                                         {{6, 3, 3}, {1, 3, 1}, {4, 1, 3}}};
    for (int i = 1; i <= 4; ++i) {
        const int previous = i == 1 ? 4 : i - 1;
        if (!corner[i].holds(centre(i)) || corner[i].holds(centre(previous))) return false;
    }
    return true;
}

bool stageComplete6() {
    for (int i = 1; i <= 4; ++i)
        if (kEdgeSide[i].colour() != centre(i)) return false;
    return true;
}

bool stageComplete7() {
    static constexpr Cell face6[] = {{6, 3, 3}, {6, 3, 1}, {6, 1, 1}, {6, 1, 3}};
    return allEqualCentre(face6, 4, 6) && stageComplete6();
}
