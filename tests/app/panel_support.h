// Whole frames with a panel over them, drawn in a corner of one hidden window.
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

// The w x h picture so far, dumped as `name`.ppm into CUBE_PANEL_DUMP if set.
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
    // The program set up for a w x h window with a fixed clock; a first frame
    // drawn, as the first in a view is lit from the default place.
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
