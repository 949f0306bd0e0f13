// Runs the frame controller headless: a simulated key table, a recording
// stand-in for its drawing calls, one helper per frame, and copies of the
// cube to compare the live one with.
#pragma once

#include "app/frame_controller.h"
#include "app/keys.h"
#include "model/cube.h"
#include "model/moves.h"
#include "render/scene.h"
#include "solve/quick.h"
#include "solve/solver.h"
#include "tests/support/cube_support.h"

#include <cstring>
#include <vector>

struct CubeDraw {
    int layer, direction, angle;
};
struct RotateCall {
    double angle, x, y, z;
};

// Everything the controller drew in one frame.
struct FrameRecord {
    std::vector<CubeDraw> cubes;
    std::vector<RotateCall> rotations;
    int cubies = 0, markers = 0;
    int depth = 0; // pushes minus pops
};
inline FrameRecord recorded;

inline const ControllerDrawing kRecordingDrawing = {
    [] { ++recorded.depth; },
    [] { --recorded.depth; },
    [](double a, double x, double y, double z) {
        recorded.rotations.push_back({a, x, y, z});
    },
    [](int l, int d, int a) {
        recorded.cubes.push_back({l, d, a});
    },
    [](int, int, int, const int (&)[4][4][4][7]) { ++recorded.cubies; },
    [](int) { ++recorded.markers; }};

// The program as it starts: the cube at its start state, empty lists, every
// controller variable at its start value, no key down, the generator at its
// start state, and the recorder in place of the renderer.
inline void startProgram() {
    resetProgram();
    controllerDrawing = kRecordingDrawing;
    recorded = FrameRecord{};
}

// One frame as drawFrame runs it: the latch step, the keys, the controller.
inline void frame() {
    recorded = FrameRecord{};
    latchStep();
    readKeys();
    runFrameController();
}
inline void press(int key) {
    keyDown[key] = 1;
}
inline void release(int key) {
    keyDown[key] = 0;
}
// Key down for exactly one frame.
inline void tap(int key) {
    press(key);
    frame();
    release(key);
}

// A copy of the cube state.
using CubeCopy = cubetest::Snapshot;

// `from` with `moves` applied by the model's own turnLayer; the live cube is
// left as it was.
inline CubeCopy turned(const CubeCopy& from, const Move* moves, int n) {
    const CubeCopy live = CubeCopy::take();
    from.put();
    for (int i = 0; i < n; ++i) turnLayer(moves[i].layer, moves[i].direction);
    const CubeCopy result = CubeCopy::take();
    live.put();
    return result;
}

// Frames until `busy` turns false (at most `limit`), each drawing exactly one
// cube; the cubes drawn, in order.
template <typename Busy> std::vector<CubeDraw> framesWhile(Busy busy, int limit) {
    std::vector<CubeDraw> drawn;
    while (busy() && int(drawn.size()) < limit) {
        frame();
        if (recorded.cubes.size() != 1u) break;
        drawn.push_back(recorded.cubes[0]);
    }
    return drawn;
}
