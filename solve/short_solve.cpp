// The short-solution routine: cube reading, coordinates, tables and the
// two-phase search. See short_solve.h.
#include "solve/short_solve.h"

#include "model/cube.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <pthread.h>
#include <initializer_list>
#include <vector>

const int kShortPhase2Move[kShortPhase2Moves] = {0, 1, 2, 3, 4, 5, 7, 10, 13, 16};

namespace {

// ---- geometry ----------------------------------------------------------------
// Vectors have components -1..1 along x, y, z; cubie (x, y, z) of the
// CubieArray sits at (x - 2, y - 2, z - 2). Side s faces kSideDir[s].

struct Vec {
    int v[3];
};

constexpr Vec kSideDir[7] = {{{0, 0, 0}},  {{0, 0, -1}}, {{1, 0, 0}}, {{0, 0, 1}},
                             {{-1, 0, 0}}, {{0, -1, 0}}, {{0, 1, 0}}};

bool sameVec(const Vec& a, const Vec& b) {
    return a.v[0] == b.v[0] && a.v[1] == b.v[1] && a.v[2] == b.v[2];
}

int sideOf(const Vec& d) {
    for (int s = 1; s <= 6; ++s)
        if (sameVec(kSideDir[s], d)) return s;
    return 0;
}

// Quarter turn by +90 degrees about coordinate axis c (right-handed), q times.
Vec rotate(Vec p, int c, int q) {
    const int a = (c + 1) % 3, b = (c + 2) % 3;
    for (int i = 0; i < ((q % 4) + 4) % 4; ++i) {
        const int va = p.v[a];
        p.v[a] = -p.v[b];
        p.v[b] = va;
    }
    return p;
}

// A program layer: its coordinate axis (0 x, 1 y, 2 z), its slice (-1..1) and
// the sign of the angle of its direction +1 about the positive axis
// (x layers turn -90 degrees, z and y layers +90 degrees).
struct LayerGeometry {
    int axis, slice, sign;
};
LayerGeometry layerGeometry(int layer) {
    constexpr int kAxis[3] = {0, 2, 1};
    constexpr int kSign[3] = {-1, 1, 1};
    const int group = (layer - 1) / 3;
    return {kAxis[group], (layer - 1) % 3 - 1, kSign[group]};
}

// The search's six faces as program layers; faces 0 and 1 lie on the y axis.
constexpr int kFaceLayer[6] = {7, 9, 1, 3, 4, 6};

// The views: view axis k reads the real cube turned so that real axis x
// (k = 1) or z (k = 2) lies on the search's y axis. realOf maps a search
// vector to the real one: a turn about axis kViewAxis by kViewQuarters.
constexpr int kViewAxis[3] = {0, 2, 0};
constexpr int kViewQuarters[3] = {0, 3, 1};

Vec realOf(int view, const Vec& p) {
    return rotate(p, kViewAxis[view], kViewQuarters[view]);
}

// ---- positions ---------------------------------------------------------------

Vec cornerPos[8];
int cornerSide[8][3]; // y side first, then the other two right-handed
Vec edgePos[12];
int edgeSide[12][2]; // y side first; middle-layer edges: z side first

int determinant(const Vec& a, const Vec& b, const Vec& c) {
    return a.v[0] * (b.v[1] * c.v[2] - b.v[2] * c.v[1]) -
           a.v[1] * (b.v[0] * c.v[2] - b.v[2] * c.v[0]) +
           a.v[2] * (b.v[0] * c.v[1] - b.v[1] * c.v[0]);
}

void buildPositions() {
    int nc = 0, ne = 0, nm = 8;
    for (int x = -1; x <= 1; ++x)
        for (int y = -1; y <= 1; ++y)
            for (int z = -1; z <= 1; ++z) {
                const Vec p = {{x, y, z}};
                const int zeros = (x == 0) + (y == 0) + (z == 0);
                Vec dirs[3];
                int n = 0;
                for (int c : {1, 0, 2}) // y first, then x, then z
                    if (p.v[c] != 0) {
                        Vec d = {{0, 0, 0}};
                        d.v[c] = p.v[c];
                        dirs[n++] = d;
                    }
                if (zeros == 0) {
                    if (determinant(dirs[0], dirs[1], dirs[2]) < 0) {
                        const Vec t = dirs[1];
                        dirs[1] = dirs[2];
                        dirs[2] = t;
                    }
                    cornerPos[nc] = p;
                    for (int k = 0; k < 3; ++k) cornerSide[nc][k] = sideOf(dirs[k]);
                    ++nc;
                } else if (zeros == 1) {
                    const int i = y != 0 ? ne++ : nm++;
                    edgePos[i] = p;
                    // A middle-layer edge has an x then a z side: put z first.
                    const int first = y != 0 ? 0 : 1;
                    edgeSide[i][0] = sideOf(dirs[first]);
                    edgeSide[i][1] = sideOf(dirs[1 - first]);
                }
            }
}

int cornerAt(const Vec& p) {
    for (int i = 0; i < 8; ++i)
        if (sameVec(cornerPos[i], p)) return i;
    return -1;
}
int edgeAt(const Vec& p) {
    for (int i = 0; i < 12; ++i)
        if (sameVec(edgePos[i], p)) return i;
    return -1;
}

// ---- the 18 moves on pieces ---------------------------------------------------

struct PieceMove {
    int cornerTo[8], cornerTwist[8], edgeTo[12], edgeFlip[12];
};
PieceMove pieceMove[kShortMoves];

void buildPieceMoves() {
    for (int m = 0; m < kShortMoves; ++m) {
        const LayerGeometry g = layerGeometry(kFaceLayer[m / 3]);
        const int q = g.sign * (m % 3 + 1);
        PieceMove& pm = pieceMove[m];
        for (int i = 0; i < 8; ++i) {
            pm.cornerTo[i] = i;
            pm.cornerTwist[i] = 0;
            if (cornerPos[i].v[g.axis] != g.slice) continue;
            const int j = cornerAt(rotate(cornerPos[i], g.axis, q));
            const int s0 = sideOf(rotate(kSideDir[cornerSide[i][0]], g.axis, q));
            pm.cornerTo[i] = j;
            for (int k = 0; k < 3; ++k)
                if (cornerSide[j][k] == s0) pm.cornerTwist[i] = k;
        }
        for (int i = 0; i < 12; ++i) {
            pm.edgeTo[i] = i;
            pm.edgeFlip[i] = 0;
            if (edgePos[i].v[g.axis] != g.slice) continue;
            const int j = edgeAt(rotate(edgePos[i], g.axis, q));
            const int s0 = sideOf(rotate(kSideDir[edgeSide[i][0]], g.axis, q));
            pm.edgeTo[i] = j;
            pm.edgeFlip[i] = edgeSide[j][0] == s0 ? 0 : 1;
        }
    }
}

// ---- symmetries -----------------------------------------------------------------
// The 16 turns and mirror images of the cube that keep the search axis: the
// matrices with one +1 or -1 in each row and column whose middle entry is not
// 0. Each maps any cube to a cube as far from the phase-2 group as it is, in
// quarter turns.

int symMatrix[kShortSyms][3][3];
int symInverse[kShortSyms];

void buildSymmetries() {
    constexpr int kAxisOrders[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2},
                                       {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
    int n = 0;
    for (const auto& order : kAxisOrders)
        for (int signs = 0; signs < 8; ++signs) {
            if (order[1] != 1) continue;
            for (int a = 0; a < 3; ++a)
                for (int b = 0; b < 3; ++b)
                    symMatrix[n][a][b] = b == order[a] ? ((signs >> a & 1) ? -1 : 1) : 0;
            ++n;
        }
    // The inverse is the transpose.
    for (int k = 0; k < kShortSyms; ++k)
        for (int j = 0; j < kShortSyms; ++j) {
            int same = 1;
            for (int a = 0; a < 3; ++a)
                for (int b = 0; b < 3; ++b) same &= symMatrix[j][a][b] == symMatrix[k][b][a];
            if (same) symInverse[k] = j;
        }
}

Vec symApply(int k, const Vec& v) {
    Vec r = {{0, 0, 0}};
    for (int a = 0; a < 3; ++a)
        for (int b = 0; b < 3; ++b) r.v[a] += symMatrix[k][a][b] * v.v[b];
    return r;
}

// ---- coordinates ---------------------------------------------------------------

constexpr int kFactorial[9] = {1, 1, 2, 6, 24, 120, 720, 5040, 40320};

int choose(int n, int k) {
    if (k < 0 || k > n) return 0;
    int r = 1;
    for (int i = 1; i <= k; ++i) r = r * (n - k + i) / i;
    return r;
}

int permRank(const int* a, int n) {
    int rank = 0;
    for (int i = 0; i < n; ++i) {
        int smaller = 0;
        for (int j = i + 1; j < n; ++j) smaller += a[j] < a[i];
        rank += smaller * kFactorial[n - 1 - i];
    }
    return rank;
}

// The order of 0..n-1 with the given rank, plus `offset` on each.
void permUnrank(int rank, int n, int offset, int* a) {
    int left[8];
    for (int i = 0; i < n; ++i) left[i] = i;
    for (int i = 0; i < n; ++i) {
        const int f = kFactorial[n - 1 - i];
        int k = rank / f;
        rank %= f;
        a[i] = left[k] + offset;
        for (; k < n - 1 - i; ++k) left[k] = left[k + 1];
    }
}

ShortCube solvedCube() {
    ShortCube c;
    for (int i = 0; i < 8; ++i) c.cp[i] = i, c.co[i] = 0;
    for (int i = 0; i < 12; ++i) c.ep[i] = i, c.eo[i] = 0;
    return c;
}

int sliceSolved = 0;

// The middle edges' places (the slice coordinate) and their order there:
// slice * 24 + the rank of the order in which they lie, place by place. With
// the middle edges in the middle layer it ends in their phase-2 order.
int sliceOrderOf(const ShortCube& c) {
    int order[4], n = 0, s = 0;
    for (int i = 0; i < 12; ++i)
        if (c.ep[i] >= 8) {
            order[n] = c.ep[i] - 8;
            s += choose(i, ++n);
        }
    return s * kShortSlicePerms + permRank(order, 4);
}

// ---- tables ------------------------------------------------------------------

uint16_t twistMove[kShortTwists][kShortMoves];
uint16_t flipMove[kShortFlips][kShortMoves];
uint16_t sliceMove[kShortSlices][kShortMoves];
uint16_t cornerPermMove[kShortPerms][kShortPhase2Moves];
uint16_t edgePermMove[kShortPerms][kShortPhase2Moves];
uint8_t slicePermMove[kShortSlicePerms][kShortPhase2Moves];
// Phase 1 carries the corner order and the middle edges' places and order
// along, so that at its end the phase-2 corner distance can be read before
// anything else is worked out.
constexpr int kSliceOrders = kShortSlices * kShortSlicePerms;
uint16_t cornerOrderMove[kShortPerms][kShortMoves];
uint16_t sliceOrderMove[kSliceOrders][kShortMoves];
// The phase-1 distances, exact, from the table made when the program is
// built (see shortPhase1Generate): null until shortSolveInit.
const ShortPhase1Table* phase1 = nullptr;
volatile unsigned phase1Pages;

// Where a phase-1 state's distance is kept, and the distance modulo 3.
long phase1EntryOf(int twist, uint32_t classAndSym) {
    return static_cast<long>(classAndSym >> 4) * kShortTwists +
           phase1->twistConj[twist][classAndSym & 15];
}
long phase1Entry(int twist, int flip, int slice) {
    return phase1EntryOf(twist, phase1->classOf[flip * kShortSlices + slice]);
}
int phase1Mod3At(long i) {
    return phase1->distanceMod3[i >> 2] >> ((i & 3) * 2) & 3;
}
int phase1Mod3(int twist, int flip, int slice) {
    return phase1Mod3At(phase1Entry(twist, flip, slice));
}

// The distance of a state one quarter turn from a state at distance d (so
// d - 1, d or d + 1), told by its distance modulo 3.
int nextDistance(int d, int mod3) {
    return d - 1 + ((mod3 - d + 1) % 3 + 3) % 3;
}
uint8_t cornerSliceDist[kShortPerms * kShortSlicePerms];
uint8_t edgeSliceDist[kShortPerms * kShortSlicePerms];

// Program turn for each view axis and search move.
struct ViewTurn {
    int layer, direction, count;
};
ViewTurn viewTurn[3][kShortMoves];

// Phase-2 cubes near solved: every one within kNearCost quarter turns, with
// its distance, in an open-addressing hash keyed by the three orders (key + 1
// stored, 0 marks a free slot). The search finishes phase 2 from there by
// descending the distances, and prunes every other cube near the end.
constexpr int kNearCost = kShortNearCost;
constexpr int kNearBits = 21;
constexpr uint32_t kNearSize = 1u << kNearBits;
uint64_t nearKey[kNearSize];
uint8_t nearDist[kNearSize];

uint64_t phase2Key(int cp, int ep, int sp) {
    return (static_cast<uint64_t>(cp) * kShortPerms + static_cast<uint64_t>(ep)) *
               kShortSlicePerms +
           static_cast<uint64_t>(sp);
}

// The slot a key hashes to; nearSlot probes on from there.
uint32_t nearHome(uint64_t key) {
    return static_cast<uint32_t>((key * 0x9E3779B97F4A7C15ull) >> (64 - kNearBits));
}

uint32_t nearSlot(uint64_t key) {
    uint32_t slot = nearHome(key);
    while (nearKey[slot] != 0 && nearKey[slot] != key + 1) slot = (slot + 1) & (kNearSize - 1);
    return slot;
}

// The distance of a phase-2 cube, or kNearCost + 1 when it lies farther.
int nearDistance(int cp, int ep, int sp) {
    const uint32_t slot = nearSlot(phase2Key(cp, ep, sp));
    return nearKey[slot] != 0 ? nearDist[slot] : kNearCost + 1;
}

std::atomic<int> ready{0};

constexpr int moveCost(int m) {
    return m % 3 == 1 ? 2 : 1;
}

// Face order within a sequence: never the same face twice running, and two
// faces of one axis only in increasing order.
bool allowedAfter(int face, int lastFace) {
    return lastFace < 0 ||
           (face != lastFace && ((face >> 1) != (lastFace >> 1) || face > lastFace));
}

// Distances in quarter turns over the pairs (a, b) of two coordinates, from
// the solved pair, with half turns costing 2: a breadth-first search by
// distance levels, each level expanded once all its entries are known.
template <typename MoveA, typename MoveB>
void buildDistances(uint8_t* dist, int sizeA, int sizeB, int solvedA, int solvedB, int moves,
                    const int* cost, MoveA moveA, MoveB moveB) {
    const int total = sizeA * sizeB;
    std::memset(dist, 0xFF, static_cast<size_t>(total));
    dist[solvedA * sizeB + solvedB] = 0;
    int known = 1;
    for (int depth = 0; known < total && depth < 250; ++depth) {
        for (int i = 0; i < total; ++i) {
            if (dist[i] != depth) continue;
            const int a = i / sizeB, b = i % sizeB;
            for (int m = 0; m < moves; ++m) {
                const int j = moveA(a, m) * sizeB + moveB(b, m);
                const int d = depth + cost[m];
                if (dist[j] > d) {
                    if (dist[j] == 0xFF) ++known;
                    dist[j] = static_cast<uint8_t>(d);
                }
            }
        }
    }
}

void buildNear() {
    std::memset(nearKey, 0, sizeof nearKey);
    const uint64_t solved = phase2Key(0, 0, 0);
    const uint32_t first = nearSlot(solved);
    nearKey[first] = solved + 1;
    nearDist[first] = 0;
    // Levels by distance; a half turn reaches two levels on, and a later
    // quarter turn of the same level may still shorten what it found.
    for (int d = 0; d < kNearCost; ++d)
        for (uint32_t i = 0; i < kNearSize; ++i) {
            if (nearKey[i] == 0 || nearDist[i] != d) continue;
            const uint64_t key = nearKey[i] - 1;
            const int sp = static_cast<int>(key % kShortSlicePerms);
            const int ep = static_cast<int>(key / kShortSlicePerms % kShortPerms);
            const int cp = static_cast<int>(key / kShortSlicePerms / kShortPerms);
            for (int k = 0; k < kShortPhase2Moves; ++k) {
                const int nd = d + moveCost(kShortPhase2Move[k]);
                if (nd > kNearCost) continue;
                const uint64_t next =
                    phase2Key(cornerPermMove[cp][k], edgePermMove[ep][k], slicePermMove[sp][k]);
                const uint32_t slot = nearSlot(next);
                if (nearKey[slot] == 0) {
                    nearKey[slot] = next + 1;
                    nearDist[slot] = static_cast<uint8_t>(nd);
                } else if (nearDist[slot] > nd) {
                    nearDist[slot] = static_cast<uint8_t>(nd);
                }
            }
        }
}

// ---- the fallback: a long phase 2 whose work is bounded ------------------------
// A phase-2 cube is solved in two steps without any search: down the corner
// and middle-edge distances (an exact table) until corners and middle edges
// are home, then the remaining order of the other eight edges by a chain of
// edge-only sequences, each undoing one link of a breadth-first tree over the
// 20,160 orders. The sequences are found once, at set-up: the shortest phase-2
// turn sequences that leave corners and middle edges in place.
constexpr int kEdgeCycleCost = 14;
constexpr int kEdgeCycles = 250;
static_assert(kEdgeCycles < 0xFF, "sequence numbers, the root mark and 0xFF fit a byte");
int edgeCycleCount;
int edgeCycleLength[kEdgeCycles];
uint8_t edgeCycleMove[kEdgeCycles][kEdgeCycleCost]; // phase-2 move indices
uint16_t edgeCycleFrom[kShortPerms];                // the tree's parent order
uint8_t edgeCycleVia[kShortPerms];                  // its sequence; 0xFF unreached
uint8_t edgeCycleSeen[kShortPerms];

// Phase-2 move index of the inverse turn.
int inversePhase2(int k) {
    const int m = kShortPhase2Move[k];
    const int inverse = m % 3 == 1 ? m : m - m % 3 + 2 - m % 3;
    for (int j = 0; j < kShortPhase2Moves; ++j)
        if (kShortPhase2Move[j] == inverse) return j;
    return k;
}

int edgeCyclePath[kEdgeCycleCost];

void findEdgeCycles(int cp, int ep, int sp, int depth, int costLeft, int lastFace) {
    if (edgeCycleCount == kEdgeCycles) return;
    if (costLeft == 0) {
        if (cp != 0 || sp != 0 || ep == 0 || edgeCycleSeen[ep]) return;
        edgeCycleSeen[ep] = 1;
        edgeCycleLength[edgeCycleCount] = depth;
        for (int i = 0; i < depth; ++i)
            edgeCycleMove[edgeCycleCount][i] = static_cast<uint8_t>(edgeCyclePath[i]);
        ++edgeCycleCount;
        return;
    }
    for (int k = 0; k < kShortPhase2Moves; ++k) {
        const int m = kShortPhase2Move[k], cost = moveCost(m);
        if (cost > costLeft || !allowedAfter(m / 3, lastFace)) continue;
        const int ncp = cornerPermMove[cp][k], nsp = slicePermMove[sp][k];
        if (cornerSliceDist[ncp * kShortSlicePerms + nsp] > costLeft - cost) continue;
        edgeCyclePath[depth] = k;
        findEdgeCycles(ncp, edgePermMove[ep][k], nsp, depth + 1, costLeft - cost, m / 3);
    }
}

int applyEdgeCycle(int ep, int cycle) {
    for (int i = 0; i < edgeCycleLength[cycle]; ++i) ep = edgePermMove[ep][edgeCycleMove[cycle][i]];
    return ep;
}

void buildEdgeCycles() {
    std::memset(edgeCycleSeen, 0, sizeof edgeCycleSeen);
    edgeCycleCount = 0;
    for (int cost = 2; cost <= kEdgeCycleCost; cost += 2) findEdgeCycles(0, 0, 0, 0, cost, -1);
    std::memset(edgeCycleVia, 0xFF, sizeof edgeCycleVia);
    static uint16_t queue[kShortPerms];
    int head = 0, tail = 0;
    queue[tail++] = 0;
    edgeCycleVia[0] = kEdgeCycles;
    while (head < tail) {
        const int ep = queue[head++];
        for (int c = 0; c < edgeCycleCount; ++c) {
            const int next = applyEdgeCycle(ep, c);
            if (edgeCycleVia[next] != 0xFF) continue;
            edgeCycleVia[next] = static_cast<uint8_t>(c);
            edgeCycleFrom[next] = static_cast<uint16_t>(ep);
            queue[tail++] = static_cast<uint16_t>(next);
        }
    }
}

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

void buildTables() {
    buildPositions();
    buildPieceMoves();
    buildSymmetries();
    sliceSolved = shortSlice(solvedCube());
    buildMoveTable(twistMove, shortFromTwist, shortTwist);
    buildMoveTable(flipMove, shortFromFlip, shortFlip);
    buildMoveTable(sliceMove, shortFromSlice, shortSlice);
    buildMoveTable(
        cornerOrderMove, [](int p) { return shortFromPerms(p, 0, 0); }, shortCornerPerm);
    buildMoveTable(sliceOrderMove, shortFromSliceAndOrder, sliceOrderOf);
    for (int p = 0; p < kShortPerms; ++p)
        for (int k = 0; k < kShortPhase2Moves; ++k) {
            ShortCube c = shortFromPerms(p, p, p % kShortSlicePerms);
            shortApplyMove(c, kShortPhase2Move[k]);
            cornerPermMove[p][k] = static_cast<uint16_t>(shortCornerPerm(c));
            edgePermMove[p][k] = static_cast<uint16_t>(shortEdgePerm(c));
            if (p < kShortSlicePerms) slicePermMove[p][k] = static_cast<uint8_t>(shortSlicePerm(c));
        }

    int cost2[kShortPhase2Moves];
    for (int k = 0; k < kShortPhase2Moves; ++k) cost2[k] = moveCost(kShortPhase2Move[k]);
    const auto slicePerm = [](int s, int k) { return slicePermMove[s][k]; };
    buildDistances(
        cornerSliceDist, kShortPerms, kShortSlicePerms, 0, 0, kShortPhase2Moves, cost2,
        [](int p, int k) { return cornerPermMove[p][k]; }, slicePerm);
    buildDistances(
        edgeSliceDist, kShortPerms, kShortSlicePerms, 0, 0, kShortPhase2Moves, cost2,
        [](int p, int k) { return edgePermMove[p][k]; }, slicePerm);

    buildNear();
    buildEdgeCycles();
    for (int view = 0; view < 3; ++view)
        for (int m = 0; m < kShortMoves; ++m) {
            const LayerGeometry g = layerGeometry(kFaceLayer[m / 3]);
            Vec normal = {{0, 0, 0}}, axis = {{0, 0, 0}};
            normal.v[g.axis] = g.slice;
            axis.v[g.axis] = 1;
            const Vec rn = realOf(view, normal), ra = realOf(view, axis);
            int layer = 0;
            for (int l : kFaceLayer) {
                const LayerGeometry h = layerGeometry(l);
                if (rn.v[h.axis] == h.slice) layer = l;
            }
            const LayerGeometry h = layerGeometry(layer);
            // The search's +1 is sign * 90 degrees about its axis, which lies
            // along +/- the real axis; the real +1 is h.sign * 90 about it.
            const int along = ra.v[h.axis];
            int direction = g.sign * along * h.sign;
            if (m % 3 == 2) direction = -direction;
            viewTurn[view][m] = {layer, m % 3 == 1 ? 1 : direction, moveCost(m)};
        }
}

// ---- search --------------------------------------------------------------------

using Clock = std::chrono::steady_clock;

constexpr int kMaxPhase = 40;
constexpr int kNoSolution = 999;
// Phase 2 is cut off at a few quarter turns: long phase-2 searches cost much
// and seldom give a short total, while phase-1 solutions are many and cheap.
// The first solution may take a longer phase 2 (up to kFirstCap), but each
// phase-1 solution gets only kFirstCandidateNodes nodes of phase 2 for it:
// one that needs more gives way to the next. Once the search has a solution
// of its own the cut drops to kImproveCap for the shorter ones.
constexpr int kFirstCap = 18;
constexpr long kFirstCandidateNodes = 1500;
constexpr long kFirstGrowth = 4;
constexpr int kImproveCap = 18;
constexpr long kNoLimit = 1L << 62;
// When the search is content: at once with a solution of kGoodLength or
// fewer quarter turns, after kPatienceMicros with one of kFairLength or
// fewer. The time limit ends it in any case.
constexpr int kGoodLength = 25;
constexpr int kFairLength = 27;
constexpr int kPatienceMicros = 4500;
// The search runs on two threads, which share the work of every phase-1
// depth: one takes the phase-1 sequences whose first turn is even-numbered,
// the other the rest (searchPart 0 and 1; -1 for one thread doing all).
// Each keeps its own path and best solution (thread_local); they share the
// best length, whether any has a solution, and the order to stop.
thread_local int searchPart;
thread_local int phase2Cap;
thread_local long candidateLimit;
std::atomic<int> sharedBest{0};
std::atomic<int> sharedFound{0}, sharedSearched{0}, stopAll{0};

// A phase-1 state: its coordinates, its distance, and the corner order and
// middle edges' places and order carried along.
struct Phase1State {
    int twist, flip, slice, dist, corners, sliceOrder;
};

struct Start {
    ShortCube cube;
    Phase1State state;
};
Start start[6];

thread_local int path1[kMaxPhase], path2[kMaxPhase];
// This thread's best solution so far; found is 1 once it has one (the
// fallback counts).
constexpr int kMaxSolution = 4 * kMaxPhase;
struct Best {
    int length, view, count, found;
    int moves[kMaxSolution];
};
thread_local Best best;

// The length a new solution must beat: this thread's best or the other's.
int bestSoFar() {
    const int shared = sharedBest.load(std::memory_order_relaxed);
    return shared < best.length ? shared : best.length;
}

void keepLength(int length) {
    int shared = sharedBest.load(std::memory_order_relaxed);
    while (length < shared && !sharedBest.compare_exchange_weak(shared, length)) {}
}

Clock::time_point deadline, patience;
thread_local long nodes;
thread_local int stopped;

// 1 when this thread's search must end now: told to, or a solution at hand
// (either thread's, the fallback's included) and the time up, or one fair
// enough after the time of patience.
int timeUp() {
    if ((++nodes & 63) != 0) return stopped;
    if (stopAll.load(std::memory_order_relaxed)) stopped = 1;
    if (!sharedFound.load(std::memory_order_relaxed)) return stopped;
    const Clock::time_point now = Clock::now();
    if (now >= deadline) stopped = 1;
    if (sharedSearched.load(std::memory_order_relaxed) && bestSoFar() <= kFairLength &&
        now >= patience)
        stopped = 1;
    return stopped;
}

int phase2Distance(int cp, int ep, int sp) {
    const int a = cornerSliceDist[cp * kShortSlicePerms + sp];
    const int b = edgeSliceDist[ep * kShortSlicePerms + sp];
    return a > b ? a : b;
}

// Phase 2 at exactly costLeft quarter turns: 1 found, 0 not, -1 stopped.
int searchPhase2(int cp, int ep, int sp, int depth, int costLeft, int lastFace) {
    if (costLeft <= kNearCost) {
        if (nearDistance(cp, ep, sp) != costLeft) return 0;
        // Down the distances: some turn always leads one distance nearer.
        while (costLeft > 0)
            for (int k = 0; k < kShortPhase2Moves; ++k) {
                const int cost = moveCost(kShortPhase2Move[k]);
                const int ncp = cornerPermMove[cp][k], nep = edgePermMove[ep][k];
                const int nsp = slicePermMove[sp][k];
                if (cost > costLeft || nearDistance(ncp, nep, nsp) != costLeft - cost) continue;
                path2[depth++] = kShortPhase2Move[k];
                cp = ncp, ep = nep, sp = nsp;
                costLeft -= cost;
                break;
            }
        return 1;
    }
    if (timeUp()) return -1;
    if (nodes > candidateLimit) return -2;
    // The children's table entries are asked for before any is read (see
    // searchPhase1), then those near enough for the near table have their
    // slots asked for before any child is searched.
    int ncp[kShortPhase2Moves], nep[kShortPhase2Moves], nsp[kShortPhase2Moves];
    int open[kShortPhase2Moves];
    for (int k = 0; k < kShortPhase2Moves; ++k) {
        const int m = kShortPhase2Move[k];
        open[k] = moveCost(m) <= costLeft && allowedAfter(m / 3, lastFace);
        if (!open[k]) continue;
        ncp[k] = cornerPermMove[cp][k], nep[k] = edgePermMove[ep][k], nsp[k] = slicePermMove[sp][k];
        __builtin_prefetch(&cornerSliceDist[ncp[k] * kShortSlicePerms + nsp[k]]);
        __builtin_prefetch(&edgeSliceDist[nep[k] * kShortSlicePerms + nsp[k]]);
    }
    for (int k = 0; k < kShortPhase2Moves; ++k) {
        if (!open[k]) continue;
        const int left = costLeft - moveCost(kShortPhase2Move[k]);
        open[k] = cornerSliceDist[ncp[k] * kShortSlicePerms + nsp[k]] <= left &&
                  edgeSliceDist[nep[k] * kShortSlicePerms + nsp[k]] <= left;
        if (open[k] && left <= kNearCost) {
            const uint32_t home = nearHome(phase2Key(ncp[k], nep[k], nsp[k]));
            __builtin_prefetch(&nearKey[home]);
            __builtin_prefetch(&nearDist[home]);
        }
    }
    for (int k = 0; k < kShortPhase2Moves; ++k) {
        if (!open[k]) continue;
        const int m = kShortPhase2Move[k];
        path2[depth] = m;
        const int r =
            searchPhase2(ncp[k], nep[k], nsp[k], depth + 1, costLeft - moveCost(m), m / 3);
        if (r != 0) return r;
    }
    return 0;
}

// A phase-1 solution completed by the fallback, kept when it is the shortest
// so far: long, but at hand from the first phase-1 solution on.
void publishBest();

void takeFallback(int view, int length, int cost1, int cp, int ep, int sp) {
    thread_local int moves[kMaxSolution];
    for (int i = 0; i < length; ++i) moves[i] = path1[i];
    const int n = shortFallbackPhase2(cp, ep, sp, moves + length, kMaxSolution - length);
    if (n < 0) return;
    int cost = cost1;
    for (int i = length; i < length + n; ++i) cost += moveCost(moves[i]);
    if (cost >= bestSoFar()) return;
    std::memcpy(best.moves, moves, sizeof moves[0] * static_cast<size_t>(length + n));
    best.length = cost;
    best.view = view;
    best.count = length + n;
    best.found = 1;
    keepLength(cost);
    sharedFound.store(1);
    publishBest();
}

// A phase-1 solution of `length` moves and cost cost1 for `view`: the
// shortest phase 2 that makes the total shorter than the best so far.
int startPhase2(int view, int length, int cost1, int cornerOrder, int sliceOrder) {
    // Most phase-1 solutions end here: their corners alone are too far.
    const int searched = sharedSearched.load(std::memory_order_relaxed);
    if (searched) phase2Cap = kImproveCap;
    const int room = bestSoFar() - 1 - cost1;
    if (searched &&
        cornerSliceDist[cornerOrder * kShortSlicePerms + sliceOrder % kShortSlicePerms] >
            (phase2Cap < room ? phase2Cap : room))
        return 0;
    ShortCube c = start[view].cube;
    for (int i = 0; i < length; ++i) shortApplyMove(c, path1[i]);
    const int cp = shortCornerPerm(c), ep = shortEdgePerm(c), sp = shortSlicePerm(c);
    if (!searched) takeFallback(view, length, cost1, cp, ep, sp);
    const int lastFace = length > 0 ? path1[length - 1] / 3 : -1;
    candidateLimit = searched ? kNoLimit : nodes + kFirstCandidateNodes + nodes / kFirstGrowth;
    for (int cost2 = phase2Distance(cp, ep, sp); cost1 + cost2 < bestSoFar() && cost2 <= phase2Cap;
         cost2 += 2) {
        const int r = searchPhase2(cp, ep, sp, 0, cost2, lastFace);
        if (r == -1) return -1;
        if (r == -2) return 0; // the next phase-1 solution may do better
        if (r == 0) continue;
        best.length = cost1 + cost2;
        best.found = 1;
        phase2Cap = kImproveCap;
        keepLength(best.length);
        sharedFound.store(1);
        sharedSearched.store(1);
        if (best.length <= kGoodLength) stopAll.store(1);
        best.view = view;
        best.count = 0;
        for (int i = 0; i < length; ++i) best.moves[best.count++] = path1[i];
        for (int i = 0; cost2 > 0; ++i) {
            best.moves[best.count++] = path2[i];
            cost2 -= moveCost(path2[i]);
        }
        publishBest();
        return 1;
    }
    return 0;
}

// Phase 1 at exactly costLeft more quarter turns from state `at`; -1 when
// stopped.
int searchPhase1(int view, const Phase1State& at, int depth, int cost, int costLeft) {
    if (costLeft == 0) {
        if (at.dist != 0 || (depth == 0 && searchPart == 1)) return 0;
        // A phase 1 that ends in a phase-2 turn was already tried shorter.
        if (depth > 0) {
            const int last = path1[depth - 1];
            if (last / 3 < 2 || moveCost(last) == 2) return 0;
        }
        return startPhase2(view, depth, cost, at.corners, at.sliceOrder) < 0 ? -1 : 0;
    }
    if (timeUp()) return -1;
    __builtin_prefetch(cornerOrderMove[at.corners]);
    __builtin_prefetch(sliceOrderMove[at.sliceOrder]);
    const int lastFace = depth > 0 ? path1[depth - 1] / 3 : -1;
    const uint16_t* tm = twistMove[at.twist];
    const uint16_t* fm = flipMove[at.flip];
    const uint16_t* sm = sliceMove[at.slice];
    // Every child's distance: a quarter turn's from this state's, a half
    // turn's from the quarter turn's it continues. The table's entries are
    // far apart in memory: all are asked for before any is read, so that
    // their reads overlap instead of waiting in turn.
    long entry[kShortMoves];
    for (int m = 0; m < kShortMoves; ++m) {
        if (!allowedAfter(m / 3, lastFace)) continue;
        entry[m] = fm[m] * kShortSlices + sm[m];
        __builtin_prefetch(&phase1->classOf[entry[m]]);
    }
    for (int m = 0; m < kShortMoves; ++m) {
        if (!allowedAfter(m / 3, lastFace)) continue;
        entry[m] = phase1EntryOf(tm[m], phase1->classOf[entry[m]]);
        __builtin_prefetch(&phase1->distanceMod3[entry[m] >> 2]);
    }
    int childDist[kShortMoves];
    for (int m = 0; m < kShortMoves; ++m) {
        childDist[m] = kMaxPhase;
        if (!allowedAfter(m / 3, lastFace)) continue;
        const int from = m % 3 == 1 ? childDist[m - 1] : at.dist;
        childDist[m] = nextDistance(from, phase1Mod3At(entry[m]));
    }
    for (int m = 0; m < kShortMoves; ++m) {
        const int mc = moveCost(m);
        if (mc > costLeft || childDist[m] > costLeft - mc) continue;
        if (depth == 0 && searchPart >= 0 && m % 2 != searchPart) continue;
        // The last turn of phase 1 is a quarter turn of a side face.
        if (mc == costLeft && (m / 3 < 2 || mc == 2)) continue;
        path1[depth] = m;
        const Phase1State next = {tm[m],
                                  fm[m],
                                  sm[m],
                                  childDist[m],
                                  cornerOrderMove[at.corners][m],
                                  sliceOrderMove[at.sliceOrder][m]};
        if (searchPhase1(view, next, depth + 1, cost + mc, costLeft - mc) < 0) return -1;
    }
    return 0;
}

// One thread's search, part 0 or 1 of it, or all of it (-1).
void searchViews(int part) {
    searchPart = part;
    best.length = kNoSolution;
    best.found = 0;
    best.count = 0;
    best.view = 0;
    phase2Cap = kFirstCap;
    nodes = 0;
    stopped = 0;
    for (int cost1 = 0; cost1 < bestSoFar() - 1 && cost1 < kMaxPhase && !stopped; ++cost1)
        for (int view = 0; view < 6 && !stopped; ++view) {
            const Start& s = start[view];
            if (s.state.dist > cost1) continue;
            searchPhase1(view, s.state, 0, 0, cost1);
        }
}

// The helper thread, made once with the tables: it waits for a solve, runs
// its part of the search and hands its best solution over.
pthread_mutex_t helperLock = PTHREAD_MUTEX_INITIALIZER;
pthread_cond_t helperWake = PTHREAD_COND_INITIALIZER;
int helperRunning = 0; // 1 once the thread is there
int solvesPosted = 0, solvesDone = 0;
Best helperBest;

// The helper hands over every better solution as it finds it, so that its
// answer is there even if the thread is kept waiting for the processor.
void publishBest() {
    if (searchPart != 1) return;
    pthread_mutex_lock(&helperLock);
    helperBest = best;
    pthread_cond_broadcast(&helperWake);
    pthread_mutex_unlock(&helperLock);
}

void* helperMain(void*) {
    pthread_mutex_lock(&helperLock);
    for (int seen = 0;;) {
        while (solvesPosted == seen) pthread_cond_wait(&helperWake, &helperLock);
        seen = solvesPosted;
        pthread_mutex_unlock(&helperLock);
        searchViews(1);
        pthread_mutex_lock(&helperLock);
        solvesDone = seen;
        pthread_cond_broadcast(&helperWake);
    }
    return nullptr;
}

void makeHelper() {
    pthread_t thread;
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
    helperRunning = pthread_create(&thread, &attr, helperMain, nullptr) == 0;
    pthread_attr_destroy(&attr);
}

// Waits until the helper is idle: one left behind by the last solve has been
// told to stop and soon does. Before the next solve touches what it reads.
void settleHelper() {
    pthread_mutex_lock(&helperLock);
    while (solvesDone != solvesPosted) pthread_cond_wait(&helperWake, &helperLock);
    pthread_mutex_unlock(&helperLock);
}

// Sets the helper on the solve just prepared; 0 when there is no helper (the
// search then runs all six views itself).
int startHelper() {
    if (!helperRunning) return 0;
    pthread_mutex_lock(&helperLock);
    helperBest.length = kNoSolution;
    helperBest.found = 0;
    ++solvesPosted;
    pthread_cond_broadcast(&helperWake);
    pthread_mutex_unlock(&helperLock);
    return 1;
}

// Waits for the helper to finish, but past the deadline only while neither
// thread has a solution: a helper kept off the processor must not hold the
// frame up. It stops at its next look at the time. Returns the helper's
// best solution as it stands.
constexpr int kHelperGraceMicros = 300;
const Best& waitForHelper() {
    static Best answer;
    const Clock::time_point until = deadline + std::chrono::microseconds(kHelperGraceMicros);
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(until.time_since_epoch());
    timespec limit;
    limit.tv_sec = static_cast<time_t>(ns.count() / 1000000000);
    limit.tv_nsec = static_cast<long>(ns.count() % 1000000000);
    pthread_mutex_lock(&helperLock);
    while (solvesDone != solvesPosted) {
        if (!best.found && !helperBest.found) {
            pthread_cond_wait(&helperWake, &helperLock);
        } else if (pthread_cond_clockwait(&helperWake, &helperLock, CLOCK_MONOTONIC, &limit) != 0) {
            stopAll.store(1);
            break;
        }
    }
    answer = helperBest;
    pthread_mutex_unlock(&helperLock);
    return answer;
}

ShortCube inverseOf(const ShortCube& c) {
    ShortCube r;
    for (int i = 0; i < 8; ++i) {
        r.cp[c.cp[i]] = i;
        r.co[c.cp[i]] = (3 - c.co[i]) % 3;
    }
    for (int i = 0; i < 12; ++i) {
        r.ep[c.ep[i]] = i;
        r.eo[c.ep[i]] = c.eo[i];
    }
    return r;
}

} // namespace

// ---- coordinates (public) --------------------------------------------------------

int shortTwist(const ShortCube& c) {
    int t = 0;
    for (int i = 6; i >= 0; --i) t = 3 * t + c.co[i];
    return t;
}

int shortFlip(const ShortCube& c) {
    int f = 0;
    for (int i = 10; i >= 0; --i) f = 2 * f + c.eo[i];
    return f;
}

int shortSlice(const ShortCube& c) {
    int s = 0, k = 0;
    for (int i = 0; i < 12; ++i)
        if (c.ep[i] >= 8) s += choose(i, ++k);
    return s;
}

int shortCornerPerm(const ShortCube& c) {
    return permRank(c.cp, 8);
}

int shortEdgePerm(const ShortCube& c) {
    return permRank(c.ep, 8);
}

int shortSlicePerm(const ShortCube& c) {
    int a[4];
    for (int i = 0; i < 4; ++i) a[i] = c.ep[8 + i] - 8;
    return permRank(a, 4);
}

ShortCube shortFromTwist(int twist) {
    ShortCube c = solvedCube();
    int sum = 0;
    for (int i = 0; i < 7; ++i, twist /= 3) sum += c.co[i] = twist % 3;
    c.co[7] = (3 - sum % 3) % 3;
    return c;
}

ShortCube shortFromFlip(int flip) {
    ShortCube c = solvedCube();
    int sum = 0;
    for (int i = 0; i < 11; ++i, flip /= 2) sum += c.eo[i] = flip % 2;
    c.eo[11] = sum % 2;
    return c;
}

ShortCube shortFromSlice(int slice) {
    ShortCube c = solvedCube();
    int inSlice[12] = {0};
    for (int k = 4; k >= 1; --k) {
        int p = k - 1;
        while (choose(p + 1, k) <= slice) ++p;
        slice -= choose(p, k);
        inSlice[p] = 1;
    }
    int nextSlice = 8, nextOther = 0;
    for (int i = 0; i < 12; ++i) c.ep[i] = inSlice[i] ? nextSlice++ : nextOther++;
    return c;
}

ShortCube shortFromSliceAndOrder(int sliceOrder) {
    ShortCube c = shortFromSlice(sliceOrder / kShortSlicePerms);
    int order[4];
    permUnrank(sliceOrder % kShortSlicePerms, 4, 8, order);
    for (int i = 0, n = 0; i < 12; ++i)
        if (c.ep[i] >= 8) c.ep[i] = order[n++];
    return c;
}

ShortCube shortFromPerms(int cornerPerm, int edgePerm, int slicePerm) {
    ShortCube c = solvedCube();
    permUnrank(cornerPerm, 8, 0, c.cp);
    permUnrank(edgePerm, 8, 0, c.ep);
    permUnrank(slicePerm, 4, 8, c.ep + 8);
    return c;
}

void shortApplyMove(ShortCube& c, int m) {
    const PieceMove& pm = pieceMove[m];
    ShortCube r;
    for (int i = 0; i < 8; ++i) {
        r.cp[pm.cornerTo[i]] = c.cp[i];
        r.co[pm.cornerTo[i]] = (c.co[i] + pm.cornerTwist[i]) % 3;
    }
    for (int i = 0; i < 12; ++i) {
        r.ep[pm.edgeTo[i]] = c.ep[i];
        r.eo[pm.edgeTo[i]] = c.eo[i] ^ pm.edgeFlip[i];
    }
    c = r;
}

// The cube turned (or mirrored) by symmetry k with its colours moved along:
// every sticker goes where k takes it and shows the side k takes its own to.
ShortCube shortConjugate(const ShortCube& c, int k) {
    ShortCube r;
    for (int i = 0; i < 8; ++i) {
        const int to = cornerAt(symApply(k, cornerPos[i]));
        int home[3] = {0, 0, 0};
        Vec sum = {{0, 0, 0}};
        for (int s = 0; s < 3; ++s) {
            const int side = sideOf(symApply(k, kSideDir[cornerSide[i][s]]));
            const int was = cornerSide[c.cp[i]][(s - c.co[i] + 3) % 3];
            const int now = sideOf(symApply(k, kSideDir[was]));
            for (int t = 0; t < 3; ++t)
                if (cornerSide[to][t] == side) home[t] = now;
            for (int a = 0; a < 3; ++a) sum.v[a] += kSideDir[now].v[a];
        }
        const int piece = cornerAt(sum);
        int o = 0;
        while (o < 2 && home[o] != cornerSide[piece][0]) ++o;
        r.cp[to] = piece;
        r.co[to] = o;
    }
    for (int i = 0; i < 12; ++i) {
        const int to = edgeAt(symApply(k, edgePos[i]));
        int home[2] = {0, 0};
        Vec sum = {{0, 0, 0}};
        for (int s = 0; s < 2; ++s) {
            const int side = sideOf(symApply(k, kSideDir[edgeSide[i][s]]));
            const int now = sideOf(symApply(k, kSideDir[edgeSide[c.ep[i]][s ^ c.eo[i]]]));
            for (int t = 0; t < 2; ++t)
                if (edgeSide[to][t] == side) home[t] = now;
            for (int a = 0; a < 3; ++a) sum.v[a] += kSideDir[now].v[a];
        }
        const int piece = edgeAt(sum);
        r.ep[to] = piece;
        r.eo[to] = home[0] == edgeSide[piece][0] ? 0 : 1;
    }
    return r;
}

namespace {

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

} // namespace

int shortPhase1Generate(ShortPhase1Table& out) {
    if (twistMove[1][0] == 0 && twistMove[1][3] == 0) return 0; // move tables not built
    std::memset(&out, 0, sizeof out);
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
                out.classOf[v] =
                    static_cast<uint32_t>(own.size()) << 4 | static_cast<uint32_t>(symInverse[k]);
        }
        own.push_back(u);
        fixing.push_back(keeps);
    }
    if (own.size() != static_cast<size_t>(kShortFlipSliceClasses)) return 0;
    // The symmetries act on the coordinates alone: checked on mixed cubes.
    uint32_t seed = 12345;
    for (int n = 0; n < 20000; ++n) {
        ShortCube c = solvedCube();
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
    const uint32_t goal = out.classOf[sliceSolved];
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
                if (moveCost(m) != 1) continue;
                const uint32_t cs = out.classOf[flipMove[f][m] * kShortSlices + sliceMove[s][m]];
                const int t2 = out.twistConj[twistMove[t][m]][cs & 15];
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

int shortReadCube(ShortCube& out, int view) {
    const int axisView = view % 3;
    // Sticker on search side s of the cubie at search position p.
    const auto sticker = [axisView](const Vec& p, int s) {
        const Vec rp = realOf(axisView, p);
        const int rs = sideOf(realOf(axisView, kSideDir[s]));
        return CubieArray[rp.v[0] + 2][rp.v[1] + 2][rp.v[2] + 2][rs];
    };
    // The search side each colour belongs to, from the centres.
    int home[7] = {0};
    for (int s = 1; s <= 6; ++s) {
        const int colour = sticker(kSideDir[s], s);
        if (colour < 1 || colour > 6 || home[colour] != 0) return 0;
        home[colour] = s;
    }
    ShortCube c;
    int seenCorner = 0, seenEdge = 0;
    for (int i = 0; i < 8; ++i) {
        int h[3];
        Vec sum = {{0, 0, 0}};
        for (int k = 0; k < 3; ++k) {
            const int colour = sticker(cornerPos[i], cornerSide[i][k]);
            h[k] = colour >= 1 && colour <= 6 ? home[colour] : 0;
            if (h[k] == 0) return 0;
            for (int a = 0; a < 3; ++a) sum.v[a] += kSideDir[h[k]].v[a];
        }
        const int j = cornerAt(sum);
        if (j < 0 || (seenCorner >> j & 1)) return 0;
        seenCorner |= 1 << j;
        int o = 0;
        while (o < 3 && h[o] != cornerSide[j][0]) ++o;
        if (o == 3 || h[(o + 1) % 3] != cornerSide[j][1]) return 0;
        c.cp[i] = j;
        c.co[i] = o;
    }
    for (int i = 0; i < 12; ++i) {
        int h[2];
        Vec sum = {{0, 0, 0}};
        for (int k = 0; k < 2; ++k) {
            const int colour = sticker(edgePos[i], edgeSide[i][k]);
            h[k] = colour >= 1 && colour <= 6 ? home[colour] : 0;
            if (h[k] == 0) return 0;
            for (int a = 0; a < 3; ++a) sum.v[a] += kSideDir[h[k]].v[a];
        }
        const int j = edgeAt(sum);
        if (j < 0 || (seenEdge >> j & 1)) return 0;
        seenEdge |= 1 << j;
        c.ep[i] = j;
        c.eo[i] = h[0] == edgeSide[j][0] ? 0 : 1;
    }
    out = view >= 3 ? inverseOf(c) : c;
    return 1;
}

void shortTurnOf(int view, int m, int& layer, int& direction, int& count) {
    const ViewTurn& t = viewTurn[view % 3][m];
    layer = t.layer;
    direction = t.direction;
    count = t.count;
}

int shortTwistMove(int twist, int m) {
    return twistMove[twist][m];
}
int shortFlipMove(int flip, int m) {
    return flipMove[flip][m];
}
int shortSliceMove(int slice, int m) {
    return sliceMove[slice][m];
}
int shortCornerPermMove(int perm, int p2) {
    return cornerPermMove[perm][p2];
}
int shortEdgePermMove(int perm, int p2) {
    return edgePermMove[perm][p2];
}
int shortSlicePermMove(int perm, int p2) {
    return slicePermMove[perm][p2];
}
int shortPhase1Distance(int twist, int flip, int slice) {
    // Down the distances: some quarter turn always leads one nearer.
    int d = 0;
    while (twist != 0 || flip != 0 || slice != sliceSolved) {
        const int here = phase1Mod3(twist, flip, slice);
        int m = 0;
        while (m < kShortMoves && (m % 3 == 1 || phase1Mod3(twistMove[twist][m], flipMove[flip][m],
                                                            sliceMove[slice][m]) != (here + 2) % 3))
            ++m;
        if (m == kShortMoves || d > kMaxPhase) return -1;
        twist = twistMove[twist][m], flip = flipMove[flip][m], slice = sliceMove[slice][m];
        ++d;
    }
    return d;
}
int shortCornerSliceDistance(int cornerPerm, int slicePerm) {
    return cornerSliceDist[cornerPerm * kShortSlicePerms + slicePerm];
}
int shortEdgeSliceDistance(int edgePerm, int slicePerm) {
    return edgeSliceDist[edgePerm * kShortSlicePerms + slicePerm];
}

int shortNearDistance(int cornerPerm, int edgePerm, int slicePerm) {
    return nearDistance(cornerPerm, edgePerm, slicePerm);
}

int shortFallbackPhase2(int cp, int ep, int sp, int* moves, int capacity) {
    int count = 0;
    for (int d = cornerSliceDist[cp * kShortSlicePerms + sp]; d > 0;) {
        int k = 0;
        while (k < kShortPhase2Moves &&
               cornerSliceDist[cornerPermMove[cp][k] * kShortSlicePerms + slicePermMove[sp][k]] !=
                   d - moveCost(kShortPhase2Move[k]))
            ++k;
        if (k == kShortPhase2Moves || count == capacity) return -1;
        moves[count++] = kShortPhase2Move[k];
        d -= moveCost(kShortPhase2Move[k]);
        cp = cornerPermMove[cp][k], ep = edgePermMove[ep][k], sp = slicePermMove[sp][k];
    }
    for (; ep != 0; ep = edgeCycleFrom[ep]) {
        const int c = edgeCycleVia[ep];
        if (c >= edgeCycleCount || count + edgeCycleLength[c] > capacity) return -1;
        for (int i = edgeCycleLength[c] - 1; i >= 0; --i)
            moves[count++] = kShortPhase2Move[inversePhase2(edgeCycleMove[c][i])];
    }
    return count;
}

long shortTableBytes() {
    return static_cast<long>(sizeof twistMove + sizeof flipMove + sizeof sliceMove +
                             sizeof cornerPermMove + sizeof edgePermMove + sizeof slicePermMove +
                             sizeof(ShortPhase1Table) + sizeof cornerSliceDist +
                             sizeof edgeSliceDist + sizeof nearKey + sizeof nearDist);
}

// ---- the routine -------------------------------------------------------------------

void shortSolveInit() {
    if (ready.load()) return;
    buildTables();
    phase1 = reinterpret_cast<const ShortPhase1Table*>(shortPhase1Data());
    if (phase1 == nullptr) return;
    // Read a byte of every page once, so that no solve waits for the pages
    // of the table to come in from the program file.
    const unsigned char* bytes = shortPhase1Data();
    unsigned sum = 0;
    for (size_t i = 0; i < sizeof(ShortPhase1Table); i += 4096) sum += bytes[i];
    phase1Pages = sum;
    makeHelper();
    ready.store(1);
}

int shortSolveReady() {
    return ready.load();
}

int shortSolve(Move* out, int capacity, int timeLimitMicros) {
    if (!ready.load()) return -1;
    settleHelper();
    for (int view = 0; view < 6; ++view) {
        Start& s = start[view];
        if (!shortReadCube(s.cube, view)) return -1;
        Phase1State& p = s.state;
        p.twist = shortTwist(s.cube);
        p.flip = shortFlip(s.cube);
        p.slice = shortSlice(s.cube);
        p.dist = shortPhase1Distance(p.twist, p.flip, p.slice);
        p.corners = shortCornerPerm(s.cube);
        p.sliceOrder = sliceOrderOf(s.cube);
        if (p.dist < 0) return -1;
    }
    const Clock::time_point begin = Clock::now();
    deadline = begin + std::chrono::microseconds(timeLimitMicros);
    patience = begin + std::chrono::microseconds(kPatienceMicros);
    sharedBest.store(kNoSolution);
    sharedFound.store(0);
    sharedSearched.store(0);
    stopAll.store(0);
    const int helped = startHelper();
    searchViews(helped ? 0 : -1);
    const Best& other = helped ? waitForHelper() : best;
    const Best& b = other.length < best.length ? other : best;
    if (!b.found) return -1;

    // The program's turns, in playing order; an inverse view's solution
    // plays backwards with every turn the other way.
    const int inverse = b.view >= 3;
    int count = 0;
    for (int i = 0; i < b.count; ++i) {
        const int m = b.moves[inverse ? b.count - 1 - i : i];
        int layer, direction, turns;
        shortTurnOf(b.view, m, layer, direction, turns);
        if (inverse) direction = -direction;
        for (int t = 0; t < turns; ++t) {
            // Turns of one layer that meet merge: a turn and its reverse
            // cancel, three equal turns are one the other way.
            if (count > 0 && out[count - 1].layer == layer &&
                out[count - 1].direction == -direction) {
                --count;
            } else if (count > 1 && out[count - 1].layer == layer &&
                       out[count - 2].layer == layer && out[count - 1].direction == direction &&
                       out[count - 2].direction == direction) {
                count -= 2;
                if (count > 0 && out[count - 1].layer == layer &&
                    out[count - 1].direction == direction)
                    --count;
                else
                    out[count++] = {layer, -direction};
            } else {
                if (count >= capacity) return -1;
                out[count++] = {layer, direction};
            }
        }
    }
    return count;
}
