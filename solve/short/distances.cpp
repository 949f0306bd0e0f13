// Reading the Short routine's distance tables. See distances.h.
#include "solve/short/distances.h"

namespace {
constexpr int kMaxPhase1 = 40;
}

int shortPhase1Distance(const ShortTables& t, int twist, int flip, int slice) {
    // Down the distances: some quarter turn always leads one nearer.
    int d = 0;
    const int solvedSlice = shortSolvedSlice();
    while (twist != 0 || flip != 0 || slice != solvedSlice) {
        const int here = shortPhase1Mod3(t, twist, flip, slice);
        int m = 0;
        while (m < kShortMoves &&
               (m % 3 == 1 || shortPhase1Mod3(t, t.twistMove[twist][m], t.flipMove[flip][m],
                                              t.sliceMove[slice][m]) != (here + 2) % 3))
            ++m;
        if (m == kShortMoves || d > kMaxPhase1) return -1;
        twist = t.twistMove[twist][m], flip = t.flipMove[flip][m], slice = t.sliceMove[slice][m];
        ++d;
    }
    return d;
}

int shortInversePhase2(int k) {
    const int m = kShortPhase2Move[k];
    const int inverse = m % 3 == 1 ? m : m - m % 3 + 2 - m % 3;
    for (int j = 0; j < kShortPhase2Moves; ++j)
        if (kShortPhase2Move[j] == inverse) return j;
    return k;
}

int shortFallbackPhase2(const ShortTables& t, int cp, int ep, int sp, int* moves, int capacity) {
    int count = 0;
    for (int d = t.cornerSliceDist[cp * kShortSlicePerms + sp]; d > 0;) {
        int k = 0;
        while (k < kShortPhase2Moves &&
               t.cornerSliceDist[t.cornerPermMove[cp][k] * kShortSlicePerms +
                                 t.slicePermMove[sp][k]] != d - shortMoveCost(kShortPhase2Move[k]))
            ++k;
        if (k == kShortPhase2Moves || count == capacity) return -1;
        moves[count++] = kShortPhase2Move[k];
        d -= shortMoveCost(kShortPhase2Move[k]);
        cp = t.cornerPermMove[cp][k], ep = t.edgePermMove[ep][k], sp = t.slicePermMove[sp][k];
    }
    for (; ep != 0; ep = t.edgeCycleFrom[ep]) {
        const int c = t.edgeCycleVia[ep];
        if (c >= t.edgeCycleCount || count + t.edgeCycleLength[c] > capacity) return -1;
        for (int i = t.edgeCycleLength[c] - 1; i >= 0; --i)
            moves[count++] = kShortPhase2Move[shortInversePhase2(t.edgeCycleMove[c][i])];
    }
    return count;
}
