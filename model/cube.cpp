#include "model/cube.h"

#include "model/layers.h"

int CubieArray[4][4][4][7];
int FaceletGrid[7][4][4];
int CubieArrayBackup[4][4][4][7];
int FaceletGridBackup[7][4][4];
int backupTaken = 0;

namespace {

// One quarter turn of one layer in one direction, worked out from the layer's
// geometry: the cubie at from[i] goes to to[i], and the colour on its side s
// goes to side sideTo[s].
struct LayerTurnTable {
    int from[9][3];
    int to[9][3];
    int sideTo[7];
};

constexpr LayerTurnTable makeLayerTurn(int layer, int direction) {
    LayerTurnTable t{};
    const LayerCells& cells = kLayerCells[layer];
    const int quarter = cells.sense * direction;
    const int u = (cells.axis + 1) % 3, w = (cells.axis + 2) % 3;
    int n = 0;
    for (int a = 1; a <= 3; ++a)
        for (int b = 1; b <= 3; ++b, ++n) {
            int v[3] = {0, 0, 0};
            v[u] = a - kCubieCentre;
            v[w] = b - kCubieCentre;
            t.from[n][cells.axis] = t.to[n][cells.axis] = cells.slice;
            t.from[n][u] = a;
            t.from[n][w] = b;
            quarterTurn(cells.axis, quarter, v);
            t.to[n][u] = v[u] + kCubieCentre;
            t.to[n][w] = v[w] + kCubieCentre;
        }
    for (int s = 1; s <= 6; ++s) {
        int v[3] = {0, 0, 0};
        v[kSideDirection[s].axis] = kSideDirection[s].sign;
        quarterTurn(cells.axis, quarter, v);
        for (int axis = 0; axis < 3; ++axis)
            if (v[axis] != 0) t.sideTo[s] = sideAt(axis, v[axis]);
    }
    return t;
}

// [layer][0] for direction -1, [layer][1] for +1.
struct LayerTurnTables {
    LayerTurnTable turn[10][2];
};
constexpr LayerTurnTables makeLayerTurns() {
    LayerTurnTables all{};
    for (int layer = 1; layer <= 9; ++layer) {
        all.turn[layer][0] = makeLayerTurn(layer, -1);
        all.turn[layer][1] = makeLayerTurn(layer, +1);
    }
    return all;
}
constexpr LayerTurnTables kLayerTurns = makeLayerTurns();

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
        const LayerTurnTable& t = kLayerTurns.turn[layer][direction > 0 ? 1 : 0];
        int old[9][7];
        for (int i = 0; i < 9; ++i)
            for (int s = 1; s <= 6; ++s) old[i][s] = cubie(CubieArray, t.from[i], s);
        for (int i = 0; i < 9; ++i)
            for (int s = 1; s <= 6; ++s) cubie(CubieArray, t.to[i], t.sideTo[s]) = old[i][s];
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
