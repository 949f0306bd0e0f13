// The nine layers as geometry, written once: which cubie coordinate picks a
// layer's nine cubies, at which value, and which way its turn goes. The cube's
// turns, its drawing, picking and the solvers' own coordinates all read this.
#pragma once

// Cubie coordinates: 0 = x, 1 = y, 2 = z, each running 1..3.
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
    {0, 0, 0},                           // unused
    {0, 1, -1}, {0, 2, -1}, {0, 3, -1},  // x layers
    {2, 1, +1}, {2, 2, +1}, {2, 3, +1},  // z layers
    {1, 1, +1}, {1, 2, +1}, {1, 3, +1},  // y layers
};

// The layer of coordinate `axis` at value `slice` (1..3).
constexpr int layerAt(int axis, int slice) {
    return (axis == 0 ? 0 : axis == 2 ? 3 : 6) + slice;
}
