#include "model/cube.h"

int CubieArray[4][4][4][7];
int FaceletGrid[7][4][4];
int CubieArrayBackup[4][4][4][7];
int FaceletGridBackup[7][4][4];
int backupTaken = 0;

namespace {

// How a layer turn moves things, one row per axis (0: x layers 1-3,
// 1: z layers 4-6, 2: y layers 7-9).
struct AxisTurn {
    // Which cubie coordinate (0 = x, 1 = y, 2 = z) is fixed by the slice, and
    // the two that vary, in the order (a, b) used by the position map.
    int fixed, a, b;
    // Direction +1 sends (a, b) to (aFromB ? b : 4-b ...): encoded below as
    // the new a = pick(a, b), new b = pick(a, b) with optional mirror 4-v.
    int newAIsB, newAMirror, newBIsB, newBMirror;
    // Side map for direction +1: sidePlus[s] = the side that old side s becomes.
    int sidePlus[7];
};

// Position maps for direction +1:
//   x layers, (y, z) -> (z, 4-y)     z layers, (x, y) -> (4-y, x)
//   y layers, (x, z) -> (z, 4-x)
// Side maps for direction +1:
//   x layers 1->5, 5->3, 3->6, 6->1     z layers 2->6, 6->4, 4->5, 5->2
//   y layers 1->4, 4->3, 3->2, 2->1
constexpr AxisTurn kAxisTurn[3] = {
    {0, 1, 2, 1, 0, 0, 1, {0, 5, 2, 6, 4, 3, 1}},
    {2, 0, 1, 1, 1, 0, 0, {0, 1, 6, 3, 5, 2, 4}},
    {1, 0, 2, 1, 0, 0, 1, {0, 4, 1, 2, 3, 5, 6}},
};

// For faces 1..6: which coordinate is fixed and at what value, the side read,
// and which coordinates the row and column index.
struct FaceCells {
    int fixed, value, side, rowAxis, colAxis;
};
constexpr FaceCells kFaceCells[7] = {
    {0, 0, 0, 0, 0}, {2, 3, 3, 0, 1}, // face 1: z = 3, side +z, [r][c][3]
    {0, 1, 4, 1, 2},                  // face 2: x = 1, side -x, [1][r][c]
    {2, 1, 1, 0, 1},                  // face 3: z = 1, side -z, [r][c][1]
    {0, 3, 2, 1, 2},                  // face 4: x = 3, side +x, [3][r][c]
    {1, 3, 6, 0, 2},                  // face 5: y = 3, side +y, [r][3][c]
    {1, 1, 5, 0, 2},                  // face 6: y = 1, side -y, [r][1][c]
};

int& cubie(int (&cube)[4][4][4][7], const int pos[3], int side) {
    return cube[pos[0]][pos[1]][pos[2]][side];
}

} // namespace

void initCubieArray() {
    for (int x = 1; x <= 3; ++x)
        for (int y = 1; y <= 3; ++y)
            for (int z = 1; z <= 3; ++z)
                for (int s = 1; s <= 6; ++s) {
                    CubieArray[x][y][z][s] = s;
                    CubieArrayBackup[x][y][z][s] = s;
                }
}

void initFaceletGrid() {
    for (int f = 1; f <= 6; ++f)
        for (int r = 1; r <= 3; ++r)
            for (int c = 1; c <= 3; ++c) FaceletGrid[f][r][c] = kStartFaceColour[f];
}

void rebuildFaceletGrid() {
    for (int f = 1; f <= 6; ++f) {
        const FaceCells& fc = kFaceCells[f];
        for (int r = 1; r <= 3; ++r)
            for (int c = 1; c <= 3; ++c) {
                int pos[3];
                pos[fc.fixed] = fc.value;
                pos[fc.rowAxis] = r;
                pos[fc.colAxis] = c;
                FaceletGrid[f][r][c] = cubie(CubieArray, pos, fc.side);
            }
    }
}

void faceletCubie(int face, int row, int col, int pos[3], int* side) {
    const FaceCells& fc = kFaceCells[face];
    pos[fc.fixed] = fc.value;
    pos[fc.rowAxis] = row;
    pos[fc.colAxis] = col;
    *side = fc.side;
}

void turnLayer(int layer, int direction) {
    if ((direction == 1 || direction == -1) && layer >= 1 && layer <= 9) {
        const AxisTurn& t = kAxisTurn[(layer - 1) / 3];
        const int slice = (layer - 1) % 3 + 1;
        // The side map for this direction: +1 as tabled, -1 its inverse.
        int sideTo[7];
        for (int s = 1; s <= 6; ++s) {
            if (direction == 1)
                sideTo[s] = t.sidePlus[s];
            else
                sideTo[t.sidePlus[s]] = s;
        }
        int old[4][4][4][7];
        for (int a = 1; a <= 3; ++a)
            for (int b = 1; b <= 3; ++b) {
                int from[3];
                from[t.fixed] = slice;
                from[t.a] = a;
                from[t.b] = b;
                for (int s = 1; s <= 6; ++s) cubie(old, from, s) = cubie(CubieArray, from, s);
            }
        for (int a = 1; a <= 3; ++a)
            for (int b = 1; b <= 3; ++b) {
                int from[3], to[3];
                from[t.fixed] = to[t.fixed] = slice;
                from[t.a] = a;
                from[t.b] = b;
                // Direction +1 position map; direction -1 is its inverse, so
                // for -1 we compute where each cubie comes from instead.
                int va = t.newAIsB ? b : a;
                int vb = t.newBIsB ? b : a;
                if (t.newAMirror) va = 4 - va;
                if (t.newBMirror) vb = 4 - vb;
                if (direction == 1) {
                    to[t.a] = va;
                    to[t.b] = vb;
                    for (int s = 1; s <= 6; ++s)
                        cubie(CubieArray, to, sideTo[s]) = cubie(old, from, s);
                } else {
                    // The +1 map sends `from` to (va, vb); a -1 turn sends
                    // (va, vb) back to `from`.
                    int src[3];
                    src[t.fixed] = slice;
                    src[t.a] = va;
                    src[t.b] = vb;
                    for (int s = 1; s <= 6; ++s)
                        cubie(CubieArray, from, sideTo[s]) = cubie(old, src, s);
                }
            }
    }
    rebuildFaceletGrid();
}

bool isSolved() {
    for (int f = 1; f <= 6; ++f)
        for (int r = 1; r <= 3; ++r)
            for (int c = 1; c <= 3; ++c)
                if (FaceletGrid[f][r][c] != FaceletGrid[f][2][2]) return false;
    return true;
}

void backupCube() {
    for (int f = 1; f <= 6; ++f)
        for (int r = 1; r <= 3; ++r)
            for (int c = 1; c <= 3; ++c) FaceletGridBackup[f][r][c] = FaceletGrid[f][r][c];
    for (int x = 1; x <= 3; ++x)
        for (int y = 1; y <= 3; ++y)
            for (int z = 1; z <= 3; ++z)
                for (int s = 1; s <= 6; ++s) CubieArrayBackup[x][y][z][s] = CubieArray[x][y][z][s];
    backupTaken = 1;
}

void restoreCube() {
    for (int f = 0; f <= 6; ++f)
        for (int r = 0; r <= 3; ++r)
            for (int c = 0; c <= 3; ++c) FaceletGrid[f][r][c] = FaceletGridBackup[f][r][c];
    backupTaken = 0;
    for (int x = 1; x <= 3; ++x)
        for (int y = 1; y <= 3; ++y)
            for (int z = 1; z <= 3; ++z)
                for (int s = 1; s <= 6; ++s) CubieArray[x][y][z][s] = CubieArrayBackup[x][y][z][s];
}
