#include "model/moves.h"

#include "model/cube.h"

Move MoveList[kMoveListSize];
int moveListLast = 0;
Move SolutionList[kSolutionListSize];
int solutionCount = 0;
int SolutionStage[kSolutionListSize];
int solutionStage = 0;
Move MoveHistory[kHistorySize];
int historyTop = 0;
int mixStart = 0;
int N = 50;

namespace {
unsigned randState = 1;
}

int runtimeRand() {
    randState = randState * 214013u + 2531011u;
    return static_cast<int>((randState >> 16) & 0x7FFFu);
}

void runtimeSeed(unsigned state) {
    randState = state;
}

int appendSolution(int layer, int direction) {
    if (solutionCount < 0 || solutionCount >= kSolutionListSize) return 0;
    SolutionList[solutionCount] = {layer, direction};
    SolutionStage[solutionCount] = solutionStage;
    ++solutionCount;
    return 1;
}

int pushHistory(int layer, int direction) {
    if (historyTop < 0 || historyTop + 1 > kHistoryLimit) return 0;
    ++historyTop;
    MoveHistory[historyTop] = {layer, direction};
    return 1;
}

int mixFits() {
    return historyTop >= 0 && historyTop + N <= kHistoryLimit ? 1 : 0;
}

int randomMix() {
    if (!mixFits()) return 0;
    mixStart = historyTop;
    // k random moves, then N - k moves that undo the last of them in reverse,
    // so the mix nets out to its first 2k - N random moves.
    const int k = N / 2 + runtimeRand() % 9 + 5;
    for (int i = historyTop + 1; i <= historyTop + k; ++i) {
        const int layer = runtimeRand() % 9 + 1;
        const int direction = (runtimeRand() % 2 == 1) ? 1 : -1;
        MoveHistory[i] = {layer, direction};
    }
    for (int i = historyTop + k + 1; i <= historyTop + N; ++i) {
        const Move& undone = MoveHistory[2 * historyTop + 2 * k + 1 - i];
        MoveHistory[i] = {undone.layer, -undone.direction};
    }
    historyTop = historyTop + 1;
    return 1;
}

void playMixWhole() {
    for (; historyTop <= mixStart + N; ++historyTop)
        turnLayer(MoveHistory[historyTop].layer, MoveHistory[historyTop].direction);
    historyTop = mixStart + N;
}
