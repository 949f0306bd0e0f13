// The frame controller run headless: simulated keys, recorded drawing calls.
#pragma once

#include "app/commands.h"
#include "app/frame_controller.h"
#include "app/keys.h"
#include "render/scene.h"
#include "solve/quick.h"
#include "solve/short/routine.h"
#include "tests/support/cube_support.h"

#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

struct CubeDraw {
    int layer, direction, angle;
};

// Everything the controller drew in one frame.
struct FrameRecord {
    std::vector<CubeDraw> cubes;
    int cubies = 0, markers = 0, editors = 0;
    int depth = 0; // pushes minus pops
};
inline FrameRecord recorded;

inline const ControllerDrawing kRecordingDrawing = {
    [] { ++recorded.depth; },
    [] { --recorded.depth; },
    [](const double*) {},
    [](int l, int d, int a) {
        recorded.cubes.push_back({l, d, a});
    },
    [](int, int, int, const int (&)[4][4][4][7]) { ++recorded.cubies; },
    [](int) { ++recorded.markers; },
    [](const Editor&) { ++recorded.editors; }};

// The program as it starts, with the recorder in place of the renderer.
inline void startProgram() {
    resetProgram();
    controllerDrawing = kRecordingDrawing;
    recorded = FrameRecord{};
}

// One frame as drawFrame runs it, in a 1024 x 768 window.
constexpr int kTestWidth = 1024, kTestHeight = 768;
inline void frame() {
    recorded = FrameRecord{};
    latchStep();
    readKeys();
    makeFrameView(kTestWidth, kTestHeight);
    runFrameController();
}
inline void press(int key) {
    keyDown[key] = 1;
}
inline void release(int key) {
    keyDown[key] = 0;
}
inline void tap(int key) { // down for exactly one frame
    press(key);
    frame();
    release(key);
}

using CubeCopy = cubetest::Snapshot;

// Waits for a routine thinking off the drawing thread, for the next frame.
inline void waitForThinking() {
    while (frameSession().thinkingFrames > 0 && shortWorkerBusy())
        std::this_thread::sleep_for(std::chrono::microseconds(200));
}

// `from` with `moves` applied by turnLayer; the live cube is left as it was.
inline CubeCopy turned(const CubeCopy& from, const Move* moves, int n) {
    const CubeCopy live = CubeCopy::take();
    from.put();
    for (int i = 0; i < n; ++i) turnLayer(moves[i].layer, moves[i].direction);
    const CubeCopy result = CubeCopy::take();
    live.put();
    return result;
}

// Frames while `busy` holds (at most `limit`), each drawing one cube: the cubes.
template <typename Busy> std::vector<CubeDraw> framesWhile(Busy busy, int limit) {
    std::vector<CubeDraw> drawn;
    while (busy() && int(drawn.size()) < limit) {
        frame();
        if (recorded.cubes.size() != 1u) break;
        drawn.push_back(recorded.cubes[0]);
    }
    return drawn;
}

// The timeline's start cube with its first `at` moves on it; the live one kept.
inline CubeCopy timelineCube(const Timeline& t, int at) {
    const CubeCopy live = CubeCopy::take();
    std::memcpy(CubieArray, t.startCubies, sizeof CubieArray);
    rebuildFaceletGrid();
    const CubeCopy start = CubeCopy::take();
    live.put();
    return turned(start, t.moves.data(), at);
}
