// Making the Short routine's tables, at build time (the short-tables
// program): move tables worked out on cubes, distances by breadth-first
// search, the exact phase-1 distances over symmetry classes. See distances.h.
#include "solve/short/distances.h"

#include <cstring>
#include <vector>

namespace {

// A move table of the 18 search moves: for each value of a coordinate, its
// value after each move, worked out on a cube that has that value.
template <size_t N, typename From, typename Coordinate>
void buildMoveTable(uint16_t (&table)[N][kShortMoves], From from, Coordinate coordinate) {
    for (size_t v = 0; v < N; ++v)
        for (int m = 0; m < kShortMoves; ++m) {
            ShortCube c = from(static_cast<int>(v));
            shortApplyMove(c, m);
            table[v][m] = static_cast<uint16_t>(coordinate(c));
        }
}

// Distances in quarter turns over the pairs (a, b) of a permutation and the
// middle edges' order, from the solved pair, with half turns costing 2: a
// breadth-first search by distance levels, each level expanded once all its
// entries are known.
void buildDistances(uint8_t* dist, const uint16_t (&permMove)[kShortPerms][kShortPhase2Moves],
                    const uint8_t (&sliceMove)[kShortSlicePerms][kShortPhase2Moves]) {
    constexpr int total = kShortPerms * kShortSlicePerms;
    std::memset(dist, 0xFF, static_cast<size_t>(total));
    dist[0] = 0;
    int known = 1;
    for (int depth = 0; known < total && depth < 250; ++depth)
        for (int i = 0; i < total; ++i) {
            if (dist[i] != depth) continue;
            const int a = i / kShortSlicePerms, b = i % kShortSlicePerms;
            for (int k = 0; k < kShortPhase2Moves; ++k) {
                const int j = permMove[a][k] * kShortSlicePerms + sliceMove[b][k];
                const int d = depth + shortMoveCost(kShortPhase2Move[k]);
                if (dist[j] > d) {
                    if (dist[j] == 0xFF) ++known;
                    dist[j] = static_cast<uint8_t>(d);
                }
            }
        }
}

void buildNear(ShortTables& t) {
    std::memset(t.nearKey, 0, sizeof t.nearKey);
    const uint64_t solved = shortPhase2Key(0, 0, 0);
    const uint32_t first = shortNearSlot(t.nearKey, solved);
    t.nearKey[first] = solved + 1;
    t.nearDist[first] = 0;
    // Levels by distance; a half turn reaches two levels on, and a later
    // quarter turn of the same level may still shorten what it found.
    for (int d = 0; d < kShortNearCost; ++d)
        for (uint32_t i = 0; i < kShortNearSize; ++i) {
            if (t.nearKey[i] == 0 || t.nearDist[i] != d) continue;
            const uint64_t key = t.nearKey[i] - 1;
            const int sp = static_cast<int>(key % kShortSlicePerms);
            const int ep = static_cast<int>(key / kShortSlicePerms % kShortPerms);
            const int cp = static_cast<int>(key / kShortSlicePerms / kShortPerms);
            for (int k = 0; k < kShortPhase2Moves; ++k) {
                const int nd = d + shortMoveCost(kShortPhase2Move[k]);
                if (nd > kShortNearCost) continue;
                const uint64_t next = shortPhase2Key(t.cornerPermMove[cp][k], t.edgePermMove[ep][k],
                                                     t.slicePermMove[sp][k]);
                const uint32_t slot = shortNearSlot(t.nearKey, next);
                if (t.nearKey[slot] == 0) {
                    t.nearKey[slot] = next + 1;
                    t.nearDist[slot] = static_cast<uint8_t>(nd);
                } else if (t.nearDist[slot] > nd) {
                    t.nearDist[slot] = static_cast<uint8_t>(nd);
                }
            }
        }
}

// ---- the fallback's edge-only sequences ------------------------------------
// A phase-2 cube is solved in two steps without any search: down the corner
// and middle-edge distances (an exact table) until corners and middle edges
// are home, then the remaining order of the other eight edges by a chain of
// edge-only sequences, each undoing one link of a breadth-first tree over the
// 20,160 orders. The sequences: the shortest phase-2 turn sequences that
// leave corners and middle edges in place.
struct EdgeCycleFinder {
    ShortTables& t;
    std::vector<uint8_t> seen = std::vector<uint8_t>(kShortPerms, 0);
    int path[kShortEdgeCycleCost] = {};

    void find(int cp, int ep, int sp, int depth, int costLeft, int lastFace) {
        if (t.edgeCycleCount == kShortEdgeCycles) return;
        if (costLeft == 0) {
            if (cp != 0 || sp != 0 || ep == 0 || seen[static_cast<size_t>(ep)]) return;
            seen[static_cast<size_t>(ep)] = 1;
            t.edgeCycleLength[t.edgeCycleCount] = depth;
            for (int i = 0; i < depth; ++i)
                t.edgeCycleMove[t.edgeCycleCount][i] = static_cast<uint8_t>(path[i]);
            ++t.edgeCycleCount;
            return;
        }
        for (int k = 0; k < kShortPhase2Moves; ++k) {
            const int m = kShortPhase2Move[k], cost = shortMoveCost(m);
            if (cost > costLeft || !shortAllowedAfter(m / 3, lastFace)) continue;
            const int ncp = t.cornerPermMove[cp][k], nsp = t.slicePermMove[sp][k];
            if (t.cornerSliceDist[ncp * kShortSlicePerms + nsp] > costLeft - cost) continue;
            path[depth] = k;
            find(ncp, t.edgePermMove[ep][k], nsp, depth + 1, costLeft - cost, m / 3);
        }
    }
};

int applyEdgeCycle(const ShortTables& t, int ep, int cycle) {
    for (int i = 0; i < t.edgeCycleLength[cycle]; ++i)
        ep = t.edgePermMove[ep][t.edgeCycleMove[cycle][i]];
    return ep;
}

void buildEdgeCycles(ShortTables& t) {
    EdgeCycleFinder finder{t};
    t.edgeCycleCount = 0;
    for (int cost = 2; cost <= kShortEdgeCycleCost; cost += 2) finder.find(0, 0, 0, 0, cost, -1);
    std::memset(t.edgeCycleVia, 0xFF, sizeof t.edgeCycleVia);
    std::vector<uint16_t> queue(kShortPerms);
    size_t head = 0, tail = 0;
    queue[tail++] = 0;
    t.edgeCycleVia[0] = kShortEdgeCycles;
    while (head < tail) {
        const int ep = queue[head++];
        for (int c = 0; c < t.edgeCycleCount; ++c) {
            const int next = applyEdgeCycle(t, ep, c);
            if (t.edgeCycleVia[next] != 0xFF) continue;
            t.edgeCycleVia[next] = static_cast<uint8_t>(c);
            t.edgeCycleFrom[next] = static_cast<uint16_t>(ep);
            queue[tail++] = static_cast<uint16_t>(next);
        }
    }
}

// ---- the phase-1 distances --------------------------------------------------

// A cube with the given edge flip and middle-edge places.
ShortCube fromFlipSlice(int flipSlice) {
    ShortCube c = shortFromSlice(flipSlice % kShortSlices);
    int flip = flipSlice / kShortSlices, sum = 0;
    for (int i = 0; i < 11; ++i, flip /= 2) sum += c.eo[i] = flip % 2;
    c.eo[11] = sum % 2;
    return c;
}

int flipSliceOf(const ShortCube& c) {
    return shortFlip(c) * kShortSlices + shortSlice(c);
}

int buildPhase1(ShortTables& out) {
    for (int t = 0; t < kShortTwists; ++t)
        for (int k = 0; k < kShortSyms; ++k)
            out.twistConj[t][k] =
                static_cast<uint16_t>(shortTwist(shortConjugate(shortFromTwist(t), k)));
    // The classes: each flip-and-slice pair with all its images under the
    // symmetries; the first of them met is the class's own. classOf holds
    // the class and the symmetry that takes the pair to it.
    constexpr uint32_t kUnknown = 0xFFFFFFFFu;
    std::vector<int> own;
    std::vector<uint16_t> fixing; // symmetries that keep the class's own pair
    for (uint32_t& e : out.classOf) e = kUnknown;
    for (int u = 0; u < kShortFlipSlices; ++u) {
        if (out.classOf[u] != kUnknown) continue;
        const ShortCube c = fromFlipSlice(u);
        uint16_t keeps = 0;
        for (int k = 0; k < kShortSyms; ++k) {
            const int v = flipSliceOf(shortConjugate(c, k));
            if (v == u) keeps = static_cast<uint16_t>(keeps | 1 << k);
            if (out.classOf[v] == kUnknown)
                out.classOf[v] = static_cast<uint32_t>(own.size()) << 4 |
                                 static_cast<uint32_t>(shortSymInverse(k));
        }
        own.push_back(u);
        fixing.push_back(keeps);
    }
    if (own.size() != static_cast<size_t>(kShortFlipSliceClasses)) return 0;
    // The symmetries act on the coordinates alone: checked on mixed cubes.
    uint32_t seed = 12345;
    for (int n = 0; n < 20000; ++n) {
        ShortCube c = shortSolvedCube();
        for (int i = 0; i < 40; ++i) {
            seed = seed * 1103515245u + 12345u;
            shortApplyMove(c, static_cast<int>(seed >> 16) % kShortMoves);
        }
        const int k = n % kShortSyms;
        const ShortCube d = shortConjugate(c, k);
        const int u = flipSliceOf(c);
        if (flipSliceOf(d) != flipSliceOf(shortConjugate(fromFlipSlice(u), k)) ||
            shortTwist(d) != out.twistConj[shortTwist(c)][k])
            return 0;
        const uint32_t cs = out.classOf[u];
        if (flipSliceOf(shortConjugate(c, static_cast<int>(cs & 15))) != own[cs >> 4]) return 0;
    }
    // Breadth first over (class, twist seen from the class's own pair) by
    // quarter turns; a level more than half full is found backwards, from
    // the states still unknown.
    constexpr uint8_t kFree = 0xFF;
    std::vector<uint8_t> dist(static_cast<size_t>(kShortPhase1Entries), kFree);
    const auto setState = [&](long c, int t, int d) {
        for (int k = 0; k < kShortSyms; ++k)
            if (fixing[static_cast<size_t>(c)] >> k & 1) {
                uint8_t& e = dist[static_cast<size_t>(c * kShortTwists + out.twistConj[t][k])];
                if (e == kFree) e = static_cast<uint8_t>(d);
            }
    };
    const uint32_t goal = out.classOf[shortSolvedSlice()];
    setState(goal >> 4, out.twistConj[0][goal & 15], 0);
    long known = 1;
    for (int d = 0; known < kShortPhase1Entries; ++d) {
        if (d > 30) return 0;
        const bool backwards = known > kShortPhase1Entries / 2;
        for (long i = 0; i < kShortPhase1Entries; ++i) {
            if (backwards ? dist[static_cast<size_t>(i)] != kFree
                          : dist[static_cast<size_t>(i)] != d)
                continue;
            const long c = i / kShortTwists;
            const int t = static_cast<int>(i % kShortTwists);
            const int f = own[static_cast<size_t>(c)] / kShortSlices,
                      s = own[static_cast<size_t>(c)] % kShortSlices;
            for (int m = 0; m < kShortMoves; ++m) {
                if (shortMoveCost(m) != 1) continue;
                const uint32_t cs =
                    out.classOf[out.flipMove[f][m] * kShortSlices + out.sliceMove[s][m]];
                const int t2 = out.twistConj[out.twistMove[t][m]][cs & 15];
                const uint8_t e =
                    dist[static_cast<size_t>(static_cast<long>(cs >> 4) * kShortTwists + t2)];
                if (backwards && e == d) {
                    setState(c, t, d + 1);
                    break;
                }
                if (!backwards && e == kFree) setState(cs >> 4, t2, d + 1);
            }
        }
        known = 0;
        for (const uint8_t e : dist) known += e != kFree;
    }
    for (long i = 0; i < kShortPhase1Entries; ++i)
        out.distanceMod3[i >> 2] = static_cast<uint8_t>(
            out.distanceMod3[i >> 2] | (dist[static_cast<size_t>(i)] % 3) << ((i & 3) * 2));
    return 1;
}

} // namespace

int shortMakeTables(ShortTables& t) {
    buildMoveTable(t.twistMove, shortFromTwist, shortTwist);
    buildMoveTable(t.flipMove, shortFromFlip, shortFlip);
    buildMoveTable(t.sliceMove, shortFromSlice, shortSlice);
    buildMoveTable(
        t.cornerOrderMove, [](int p) { return shortFromPerms(p, 0, 0); }, shortCornerPerm);
    buildMoveTable(t.sliceOrderMove, shortFromSliceAndOrder, shortSliceOrder);
    for (int p = 0; p < kShortPerms; ++p)
        for (int k = 0; k < kShortPhase2Moves; ++k) {
            ShortCube c = shortFromPerms(p, p, p % kShortSlicePerms);
            shortApplyMove(c, kShortPhase2Move[k]);
            t.cornerPermMove[p][k] = static_cast<uint16_t>(shortCornerPerm(c));
            t.edgePermMove[p][k] = static_cast<uint16_t>(shortEdgePerm(c));
            if (p < kShortSlicePerms)
                t.slicePermMove[p][k] = static_cast<uint8_t>(shortSlicePerm(c));
        }
    buildDistances(t.cornerSliceDist, t.cornerPermMove, t.slicePermMove);
    buildDistances(t.edgeSliceDist, t.edgePermMove, t.slicePermMove);
    buildNear(t);
    buildEdgeCycles(t);
    return buildPhase1(t);
}
