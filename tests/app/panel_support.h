// What the strip and help-overlay picture tests share: whole frames of the
// program in a window-sized corner of one hidden 1024 x 768 window, with a
// panel over them, read back; with CUBE_PANEL_DUMP set, PPM files of them.
#pragma once

#include "app/frame.h"
#include "app/frame_draw.h"
#include "app/hud_font.h"
#include "app/overlay.h"
#include "app/window.h"
#include "tests/app/controller_support.h"
#include "tests/render/gl_window.h"

inline unsigned panelClock() {
    return 65000;
}

// The w x h picture drawn so far (bottom row first), dumped as `name`.ppm
// when CUBE_PANEL_DUMP names a folder.
inline Picture readBack(int w, int h, const char* name) {
    GlWindow corner;
    corner.width = w, corner.height = h;
    const Picture pic = readPicture(corner);
    writePpm(pic, "CUBE_PANEL_DUMP", name);
    return pic;
}

class PanelSuite : public GlSuite<1024, 768> {
  public:
    static void SetUpTestSuite() {
        GlSuite::SetUpTestSuite();
        if (gl.context) setupGL(); // the fonts too
    }
    static void TearDownTestSuite() {
        freeHudFont();
        GlSuite::TearDownTestSuite();
    }
    void TearDown() override { controllerDrawing = kRecordingDrawing; }
    // The program as the window sets it up for a w x h window, the cube at
    // rest, a fixed clock; one frame drawn, as the first in a view is lit
    // from the default place (the light is placed after the cube).
    static void start(int w, int h) {
        startProgram();
        controllerDrawing = kRenderDrawing;
        hudDrawing = kGlHudDrawing;
        frameTicks = panelClock;
        startTick = 0.0f;
        fps = 60.0f;
        fpsLastTick = 65000;
        hudShiftX = w >= 1024 ? 350.0f : 0.0f;
        hudShiftY = w >= 1024 ? 200.0f : 0.0f;
        windowHeight = h;
        resizeView(w, h);
        drawFrame();
    }
    // One frame with `over` drawn in its text overlay, read back.
    template <class Over> static Picture frameWith(int w, int h, Over over, const char* name) {
        drawFrame();
        beginTextOverlay(w, h);
        over();
        endOverlay();
        return readBack(w, h, name);
    }
};
