// The Short routine's cube: positions and sides worked out from the model's
// layer table, the 18 moves on pieces, coordinates, symmetries and the
// reading of the live cube. See cube.h.
#include "solve/short/cube.h"

#include "model/cube.h"
#include "model/layers.h"

#include <initializer_list>

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

// A layer's slice as a vector component (-1..1).
int sliceOfLayer(int layer) {
    return kLayerCells[layer].slice - 2;
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

int determinant(const Vec& a, const Vec& b, const Vec& c) {
    return a.v[0] * (b.v[1] * c.v[2] - b.v[2] * c.v[1]) -
           a.v[1] * (b.v[0] * c.v[2] - b.v[2] * c.v[0]) +
           a.v[2] * (b.v[0] * c.v[1] - b.v[1] * c.v[0]);
}

struct PieceMove {
    int cornerTo[8], cornerTwist[8], edgeTo[12], edgeFlip[12];
};

struct ViewTurn {
    int layer, direction, count;
};

// Everything the cube's geometry gives, worked out once.
struct Geometry {
    Vec cornerPos[8];
    int cornerSide[8][3]; // y side first, then the other two right-handed
    Vec edgePos[12];
    int edgeSide[12][2]; // y side first; middle-layer edges: z side first
    PieceMove pieceMove[kShortMoves];
    int symMatrix[kShortSyms][3][3];
    int symInverse[kShortSyms];
    ViewTurn viewTurn[3][kShortMoves];

    Geometry();
    int cornerAt(const Vec& p) const {
        for (int i = 0; i < 8; ++i)
            if (sameVec(cornerPos[i], p)) return i;
        return -1;
    }
    int edgeAt(const Vec& p) const {
        for (int i = 0; i < 12; ++i)
            if (sameVec(edgePos[i], p)) return i;
        return -1;
    }
    Vec symApply(int k, const Vec& v) const {
        Vec r = {{0, 0, 0}};
        for (int a = 0; a < 3; ++a)
            for (int b = 0; b < 3; ++b) r.v[a] += symMatrix[k][a][b] * v.v[b];
        return r;
    }

  private:
    void buildPositions();
    void buildPieceMoves();
    void buildSymmetries();
    void buildViewTurns();
};

const Geometry& geometry() {
    static const Geometry g;
    return g;
}

Geometry::Geometry() {
    buildPositions();
    buildPieceMoves();
    buildSymmetries();
    buildViewTurns();
}

void Geometry::buildPositions() {
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

void Geometry::buildPieceMoves() {
    for (int m = 0; m < kShortMoves; ++m) {
        const LayerCells& g = kLayerCells[kFaceLayer[m / 3]];
        const int slice = sliceOfLayer(kFaceLayer[m / 3]);
        const int q = g.sense * (m % 3 + 1);
        PieceMove& pm = pieceMove[m];
        for (int i = 0; i < 8; ++i) {
            pm.cornerTo[i] = i;
            pm.cornerTwist[i] = 0;
            if (cornerPos[i].v[g.axis] != slice) continue;
            const int j = cornerAt(rotate(cornerPos[i], g.axis, q));
            const int s0 = sideOf(rotate(kSideDir[cornerSide[i][0]], g.axis, q));
            pm.cornerTo[i] = j;
            for (int k = 0; k < 3; ++k)
                if (cornerSide[j][k] == s0) pm.cornerTwist[i] = k;
        }
        for (int i = 0; i < 12; ++i) {
            pm.edgeTo[i] = i;
            pm.edgeFlip[i] = 0;
            if (edgePos[i].v[g.axis] != slice) continue;
            const int j = edgeAt(rotate(edgePos[i], g.axis, q));
            const int s0 = sideOf(rotate(kSideDir[edgeSide[i][0]], g.axis, q));
            pm.edgeTo[i] = j;
            pm.edgeFlip[i] = edgeSide[j][0] == s0 ? 0 : 1;
        }
    }
}

// The 16 turns and mirror images of the cube that keep the search axis: the
// matrices with one +1 or -1 in each row and column whose middle entry is not
// 0. Each maps any cube to a cube as far from the phase-2 group as it is, in
// quarter turns.
void Geometry::buildSymmetries() {
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

void Geometry::buildViewTurns() {
    for (int view = 0; view < 3; ++view)
        for (int m = 0; m < kShortMoves; ++m) {
            const LayerCells& g = kLayerCells[kFaceLayer[m / 3]];
            Vec normal = {{0, 0, 0}}, axis = {{0, 0, 0}};
            normal.v[g.axis] = sliceOfLayer(kFaceLayer[m / 3]);
            axis.v[g.axis] = 1;
            const Vec rn = realOf(view, normal), ra = realOf(view, axis);
            int layer = 0;
            for (int l : kFaceLayer)
                if (rn.v[kLayerCells[l].axis] == sliceOfLayer(l)) layer = l;
            const LayerCells& h = kLayerCells[layer];
            // The search's +1 is sense * 90 degrees about its axis, which lies
            // along +/- the real axis; the real +1 is h.sense * 90 about it.
            const int along = ra.v[h.axis];
            int direction = g.sense * along * h.sense;
            if (m % 3 == 2) direction = -direction;
            viewTurn[view][m] = {layer, m % 3 == 1 ? 1 : direction, shortMoveCost(m)};
        }
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

} // namespace

ShortCube shortSolvedCube() {
    ShortCube c;
    for (int i = 0; i < 8; ++i) c.cp[i] = i, c.co[i] = 0;
    for (int i = 0; i < 12; ++i) c.ep[i] = i, c.eo[i] = 0;
    return c;
}

ShortCube shortInverse(const ShortCube& c) {
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

int shortSolvedSlice() {
    static const int solved = shortSlice(shortSolvedCube());
    return solved;
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

int shortSliceOrder(const ShortCube& c) {
    int order[4], n = 0, s = 0;
    for (int i = 0; i < 12; ++i)
        if (c.ep[i] >= 8) {
            order[n] = c.ep[i] - 8;
            s += choose(i, ++n);
        }
    return s * kShortSlicePerms + permRank(order, 4);
}

ShortCube shortFromTwist(int twist) {
    ShortCube c = shortSolvedCube();
    int sum = 0;
    for (int i = 0; i < 7; ++i, twist /= 3) sum += c.co[i] = twist % 3;
    c.co[7] = (3 - sum % 3) % 3;
    return c;
}

ShortCube shortFromFlip(int flip) {
    ShortCube c = shortSolvedCube();
    int sum = 0;
    for (int i = 0; i < 11; ++i, flip /= 2) sum += c.eo[i] = flip % 2;
    c.eo[11] = sum % 2;
    return c;
}

ShortCube shortFromSlice(int slice) {
    ShortCube c = shortSolvedCube();
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
    ShortCube c = shortSolvedCube();
    permUnrank(cornerPerm, 8, 0, c.cp);
    permUnrank(edgePerm, 8, 0, c.ep);
    permUnrank(slicePerm, 4, 8, c.ep + 8);
    return c;
}

void shortApplyMove(ShortCube& c, int m) {
    const PieceMove& pm = geometry().pieceMove[m];
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

int shortSymInverse(int k) {
    return geometry().symInverse[k];
}

// The cube turned (or mirrored) by symmetry k with its colours moved along:
// every sticker goes where k takes it and shows the side k takes its own to.
ShortCube shortConjugate(const ShortCube& c, int k) {
    const Geometry& g = geometry();
    ShortCube r;
    for (int i = 0; i < 8; ++i) {
        const int to = g.cornerAt(g.symApply(k, g.cornerPos[i]));
        int home[3] = {0, 0, 0};
        Vec sum = {{0, 0, 0}};
        for (int s = 0; s < 3; ++s) {
            const int side = sideOf(g.symApply(k, kSideDir[g.cornerSide[i][s]]));
            const int was = g.cornerSide[c.cp[i]][(s - c.co[i] + 3) % 3];
            const int now = sideOf(g.symApply(k, kSideDir[was]));
            for (int t = 0; t < 3; ++t)
                if (g.cornerSide[to][t] == side) home[t] = now;
            for (int a = 0; a < 3; ++a) sum.v[a] += kSideDir[now].v[a];
        }
        const int piece = g.cornerAt(sum);
        int o = 0;
        while (o < 2 && home[o] != g.cornerSide[piece][0]) ++o;
        r.cp[to] = piece;
        r.co[to] = o;
    }
    for (int i = 0; i < 12; ++i) {
        const int to = g.edgeAt(g.symApply(k, g.edgePos[i]));
        int home[2] = {0, 0};
        Vec sum = {{0, 0, 0}};
        for (int s = 0; s < 2; ++s) {
            const int side = sideOf(g.symApply(k, kSideDir[g.edgeSide[i][s]]));
            const int now = sideOf(g.symApply(k, kSideDir[g.edgeSide[c.ep[i]][s ^ c.eo[i]]]));
            for (int t = 0; t < 2; ++t)
                if (g.edgeSide[to][t] == side) home[t] = now;
            for (int a = 0; a < 3; ++a) sum.v[a] += kSideDir[now].v[a];
        }
        const int piece = g.edgeAt(sum);
        r.ep[to] = piece;
        r.eo[to] = home[0] == g.edgeSide[piece][0] ? 0 : 1;
    }
    return r;
}

int shortReadCube(ShortCube& out, int view) {
    const Geometry& g = geometry();
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
    // The home sides of the n stickers of the piece at `pos` (on sides
    // `side`) and the sum of their directions, which is where the piece
    // belongs; false for a sticker of no centre's colour.
    const auto homes = [&](const Vec& pos, const int* side, int n, int* h, Vec& sum) {
        sum = {{0, 0, 0}};
        for (int k = 0; k < n; ++k) {
            const int colour = sticker(pos, side[k]);
            h[k] = colour >= 1 && colour <= 6 ? home[colour] : 0;
            if (h[k] == 0) return false;
            for (int a = 0; a < 3; ++a) sum.v[a] += kSideDir[h[k]].v[a];
        }
        return true;
    };
    ShortCube c;
    int seenCorner = 0, seenEdge = 0;
    for (int i = 0; i < 8; ++i) {
        int h[3];
        Vec sum;
        if (!homes(g.cornerPos[i], g.cornerSide[i], 3, h, sum)) return 0;
        const int j = g.cornerAt(sum);
        if (j < 0 || (seenCorner >> j & 1)) return 0;
        seenCorner |= 1 << j;
        int o = 0;
        while (o < 3 && h[o] != g.cornerSide[j][0]) ++o;
        if (o == 3 || h[(o + 1) % 3] != g.cornerSide[j][1]) return 0;
        c.cp[i] = j;
        c.co[i] = o;
    }
    for (int i = 0; i < 12; ++i) {
        int h[2];
        Vec sum;
        if (!homes(g.edgePos[i], g.edgeSide[i], 2, h, sum)) return 0;
        const int j = g.edgeAt(sum);
        if (j < 0 || (seenEdge >> j & 1)) return 0;
        seenEdge |= 1 << j;
        c.ep[i] = j;
        c.eo[i] = h[0] == g.edgeSide[j][0] ? 0 : 1;
    }
    out = view >= 3 ? shortInverse(c) : c;
    return 1;
}

int shortReadViews(ShortViews& out) {
    for (int view = 0; view < kShortViews; ++view)
        if (!shortReadCube(out.cube[view], view)) return 0;
    return 1;
}

void shortTurnOf(int view, int m, int& layer, int& direction, int& count) {
    const ViewTurn& t = geometry().viewTurn[view % 3][m];
    layer = t.layer;
    direction = t.direction;
    count = t.count;
}
