// The "Quick" routine's preparation: cancel what cancels in the history, then
// add sequences that leave the cube as it is, for the show.
#include "solve/quick.h"

#include "model/cube.h"
#include "solve/solver.h"

const Move QuickPatternA[16] = {{7, 1}, {1, 1},  {7, -1}, {1, -1}, {7, -1}, {6, 1},
                                {7, 1}, {6, -1}, {6, 1},  {7, -1}, {6, -1}, {7, 1},
                                {1, 1}, {7, 1},  {1, -1}, {7, -1}};
const Move QuickPatternB[16] = {{6, 1},  {7, -1}, {6, -1}, {3, 1}, {7, 1},  {1, 1},
                                {7, -1}, {1, -1}, {1, 1},  {7, 1}, {1, -1}, {7, -1},
                                {3, -1}, {6, 1},  {7, 1},  {6, -1}};
const Move QuickPatternC[8] = {{3, 1}, {1, 1}, {4, -1}, {7, -1}, {7, 1}, {4, 1}, {1, -1}, {3, -1}};
const Move QuickPatternD[16] = {{7, -1}, {3, -1}, {7, 1},  {3, 1}, {7, 1}, {6, -1},
                                {7, -1}, {6, 1},  {6, -1}, {7, 1}, {6, 1}, {7, -1},
                                {3, -1}, {7, -1}, {3, 1},  {7, 1}};

namespace {

// Deletes `count` records from position `at` on; the records above move down.
void deleteRecords(int at, int count) {
    for (int i = at; i + count <= historyTop; ++i) MoveHistory[i] = MoveHistory[i + count];
    historyTop -= count;
}

bool sameMove(const Move& a, const Move& b) {
    return a.layer == b.layer && a.direction == b.direction;
}

// Appends a pattern after record historyTop.
void appendPattern(const Move* pattern, int n) {
    for (int i = 0; i < n; ++i) MoveHistory[historyTop + 1 + i] = pattern[i];
    historyTop += n;
}

} // namespace

void simplifyHistory() {
    // Four equal quarter turns are no turn at all.
    for (int i = 1; i + 3 <= historyTop;) {
        const Move& m = MoveHistory[i];
        if (sameMove(m, MoveHistory[i + 1]) && sameMove(m, MoveHistory[i + 2]) &&
            sameMove(m, MoveHistory[i + 3]))
            deleteRecords(i, 4);
        else
            ++i;
    }
    // Three equal quarter turns are one turn the other way.
    for (int j = 1; j + 2 <= historyTop;) {
        const Move& m = MoveHistory[j];
        if (sameMove(m, MoveHistory[j + 1]) && sameMove(m, MoveHistory[j + 2])) {
            MoveHistory[j].direction = -MoveHistory[j].direction;
            deleteRecords(j + 1, 2);
        } else {
            ++j;
        }
    }
    // A turn followed by its inverse cancels; step back to catch what the
    // deletion brings together.
    for (int k = 1; k + 1 <= historyTop;) {
        const Move& a = MoveHistory[k];
        const Move& b = MoveHistory[k + 1];
        if (a.layer == b.layer && a.direction == -b.direction) {
            deleteRecords(k, 2);
            k = k > 1 ? k - 1 : 1;
        } else {
            ++k;
        }
    }
}

void prepareQuick() {
    simplifyHistory();
    const int a = runtimeRand() % 3;
    const int b = runtimeRand() % 3;
    static const Move* const kFirstPatterns[3] = {QuickPatternA, QuickPatternB, QuickPatternC};
    static constexpr int kFirstLengths[3] = {16, 16, 8};
    for (int time = 0; time < 2; ++time) {
        if (historyTop > 42) {
            appendPattern(QuickPatternC, 8);
            solveState.yawMark = historyTop - 4;
        } else {
            appendPattern(kFirstPatterns[a], kFirstLengths[a]);
            solveState.yawMark = historyTop - 8;
        }
    }
    if (historyTop <= 42 && b != 1) {
        for (int i = historyTop; i >= 6; --i) MoveHistory[i + 16] = MoveHistory[i];
        for (int i = 0; i < 16; ++i) MoveHistory[6 + i] = QuickPatternD[i];
        historyTop += 16;
        solveState.pitchMark = historyTop - 8;
    }
    solveState.quickPrepared = 1;
}

void finishQuick() {
    historyTop = 0;
    for (int i = 1; i <= 99; ++i) MoveHistory[i] = {0, 0};
    solveState.solveRequested = 0;
    solveState.quickPrepared = 0;
    solveState.yawMark = -4;
    solveState.pitchMark = -4;
}

Move quickUndoMove() {
    return {MoveHistory[historyTop].layer, -MoveHistory[historyTop].direction};
}

int runQuickSolve(Move* played, int capacity) {
    if (!solveState.quickPrepared) prepareQuick();
    int count = 0;
    for (;;) {
        const bool solved = isSolved();
        if (historyTop >= 1 && !solved) {
            const Move undo = quickUndoMove();
            turnLayer(undo.layer, undo.direction);
            if (played && count < capacity) played[count] = undo;
            ++count;
            --historyTop;
        }
        if (historyTop < 1 || solved) break;
    }
    finishQuick();
    return count;
}
