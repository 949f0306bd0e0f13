// What the strip and help-overlay tests share: a whole frame of the program
// in a window-sized corner of the test window, read back, and PPM files of
// such pictures when CUBE_PANEL_DUMP names a directory to look at them.
#pragma once

#include "app/frame.h"
#include "app/frame_draw.h"
#include "app/hud_font.h"
#include "app/overlay.h"
#include "app/window.h"
#include "tests/app/controller_support.h"
#include "tests/render/gl_window.h"

#include <cstdio>
#include <cstdlib>
#include <string>

// The lower left w x h pixels of the current draw buffer.
inline Picture readCorner(int w, int h) {
    Picture pic;
    pic.width = w, pic.height = h;
    pic.rgb.assign(size_t(3 * w * h), 0);
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, pic.rgb.data());
    return pic;
}

// Writes the picture as `name`.ppm into $CUBE_PANEL_DUMP, when it is set.
inline void dumpPanelPicture(const Picture& pic, const std::string& name) {
    const char* dir = std::getenv("CUBE_PANEL_DUMP");
    if (dir == nullptr) return;
    FILE* f = std::fopen((std::string(dir) + "/" + name + ".ppm").c_str(), "wb");
    if (f == nullptr) return;
    std::fprintf(f, "P6 %d %d 255\n", pic.width, pic.height);
    for (int y = pic.height - 1; y >= 0; --y)
        std::fwrite(pic.at(0, y), 1, size_t(3 * pic.width), f);
    std::fclose(f);
}

// Sets the program up as the window would for a w x h window (1024 x 768
// and 640 x 480 are the two the start-up question offers) with the real
// renderer, the cube at rest and a fixed clock, and draws one frame: the
// first frame in a view is lit from the default place (the light is placed
// after the cube), the ones after it are all alike.
inline unsigned panelClock() {
    return 65000;
}
inline void startPanelProgram(int w, int h) {
    startProgram();
    controllerDrawing = kRenderDrawing;
    hudDrawing = kGlHudDrawing;
    frameTicks = panelClock;
    startTick = 0.0f;
    fps = 60.0f;
    fpsFrames = 0;
    fpsLastTick = 65000;
    const int large = w >= 1024;
    hudShiftX = large ? 350.0f : 0.0f;
    hudShiftY = large ? 200.0f : 0.0f;
    windowHeight = h;
    resizeView(w, h);
    drawFrame();
}

// A suite sharing one hidden 1024 x 768 window, set up as the window's own
// setup does it (fonts included), drawing whole frames of the program with
// something over them.
class PanelSuite : public GlSuite<1024, 768> {
  public:
    static void SetUpTestSuite() {
        GlSuite::SetUpTestSuite();
        if (gl.context == nullptr) return;
        setupGL();
    }
    static void TearDownTestSuite() {
        freeHudFont();
        GlSuite::TearDownTestSuite();
    }
    void TearDown() override { controllerDrawing = kRecordingDrawing; }
    // One frame of the program in a w x h view (startPanelProgram first),
    // then `over` in its text overlay; the picture read back.
    template <class Over> static Picture frameWith(int w, int h, Over over) {
        drawFrame();
        beginTextOverlay(w, h);
        over();
        endOverlay();
        return readCorner(w, h);
    }
};
