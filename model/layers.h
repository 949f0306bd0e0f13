// The cube's cell geometry, written once: which cubie coordinate picks a
// layer's nine cubies, at which value, and which way its turn goes; which way
// each cubie side faces; which cubie side each face's stickers are. The cube's
// turns, its drawing, picking and the solvers' own coordinates all read this.
#pragma once

// Cubie coordinates: 0 = x, 1 = y, 2 = z, each running 1..3. Cubie (x, y, z)
// is drawn centred at (x - 2, y - 2, z - 2), one unit apart.
constexpr int kCubieCentre = 2;

struct LayerCells {
    int axis;  // the coordinate that is fixed across the layer's nine cubies
    int slice; // its value, 1..3
    // Direction +1 turns the layer by sense * 90 degrees about the positive
    // axis (right-handed); direction -1 the other way.
    int sense;
};

// Layers 1..3 are the slices x = 1..3, 4..6 the slices z = 1..3, 7..9 the
// slices y = 1..3; row 0 is unused.
constexpr LayerCells kLayerCells[10] = {
    {0, 0, 0},                          // unused
    {0, 1, -1}, {0, 2, -1}, {0, 3, -1}, // x layers
    {2, 1, +1}, {2, 2, +1}, {2, 3, +1}, // z layers
    {1, 1, +1}, {1, 2, +1}, {1, 3, +1}, // y layers
};

// The layer of coordinate `axis` at value `slice` (1..3).
constexpr int layerAt(int axis, int slice) {
    return (axis == 0 ? 0 : axis == 2 ? 3 : 6) + slice;
}

// Cubie side s (1..6) faces along `axis`, towards its positive end when
// `sign` is +1: 1 = -z, 2 = +x, 3 = +z, 4 = -x, 5 = -y, 6 = +y.
struct SideDirection {
    int axis;
    int sign;
};
constexpr SideDirection kSideDirection[7] = {
    {0, 0}, {2, -1}, {0, +1}, {2, +1}, {0, -1}, {1, -1}, {1, +1},
};

// The side facing along `axis` towards the end `sign`.
constexpr int sideAt(int axis, int sign) {
    int side = 1;
    while (side < 6 && (kSideDirection[side].axis != axis || kSideDirection[side].sign != sign))
        ++side;
    return side;
}

// Faces 1..6 are the outer layers z = 3, x = 1, z = 1, x = 3, y = 3, y = 1.
// Sticker (row r, col c) of a face is side `side` of the cubie whose
// coordinate `fixed` is `value`, coordinate `rowAxis` is r and `colAxis` is c.
struct FaceCells {
    int fixed, value, side, rowAxis, colAxis;
};
constexpr FaceCells kFaceCells[7] = {
    {0, 0, 0, 0, 0}, // unused
    {2, 3, 3, 0, 1}, // face 1: z = 3, side +z, [r][c][3]
    {0, 1, 4, 1, 2}, // face 2: x = 1, side -x, [1][r][c]
    {2, 1, 1, 0, 1}, // face 3: z = 1, side -z, [r][c][1]
    {0, 3, 2, 1, 2}, // face 4: x = 3, side +x, [3][r][c]
    {1, 3, 6, 0, 2}, // face 5: y = 3, side +y, [r][3][c]
    {1, 1, 5, 0, 2}, // face 6: y = 1, side -y, [r][1][c]
};

// The face whose stickers are side `side` (1..6) of its outer cubies.
constexpr int faceOfSide(int side) {
    int face = 1;
    while (face < 6 && kFaceCells[face].side != side) ++face;
    return face;
}

// A vector of whole units turned by one quarter turn about `axis`:
// counter-clockwise seen from the positive end when `quarter` is +1, the
// other way when it is -1.
constexpr void quarterTurn(int axis, int quarter, int (&v)[3]) {
    const int u = (axis + 1) % 3, w = (axis + 2) % 3;
    const int vu = v[u], vw = v[w];
    v[u] = quarter > 0 ? -vw : vw;
    v[w] = quarter > 0 ? vu : -vu;
}
