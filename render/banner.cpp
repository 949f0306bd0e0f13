// The "PAUSE" banner: a table of its three copies and one loop drawing the
// ones whose phase window holds, with the line font.
#include "render/banner.h"

#include "render/stroke_font.h"

#include <GL/gl.h>

namespace {

// One row per copy, in drawing order: colour, pen offset from
// (0.5 * shiftX, shiftY), and the first and last phase of the cycle in which
// the copy shows.
struct BannerRow {
    float r, g, b;
    float dx, dy;
    int firstPhase, lastPhase;
};

constexpr BannerRow kBannerRows[3] = {
    {1.0f, 0.0f, 0.0f, 200.0f, 300.0f, 18, 34},
    {0.0f, 1.0f, 0.0f, 202.0f, 298.0f, 11, 26},
    {0.0f, 0.0f, 1.0f, 204.0f, 296.0f, 4, 19},
};

constexpr const char* kBannerText = "PAUSE";

} // namespace

int pauseBannerCopies(int cycle, float shiftX, float shiftY, BannerCopy (&out)[3]) {
    const int phase = (cycle % kBannerCycle + kBannerCycle) % kBannerCycle;
    int n = 0;
    for (const BannerRow& row : kBannerRows) {
        if (phase < row.firstPhase || phase > row.lastPhase) continue;
        out[n++] = {static_cast<int>(0.5f * shiftX + row.dx), static_cast<int>(row.dy + shiftY),
                    row.r, row.g, row.b};
    }
    return n;
}

void drawPauseBanner(int cycle, float shiftX, float shiftY) {
    BannerCopy copies[3];
    const int n = pauseBannerCopies(cycle, shiftX, shiftY, copies);
    // The line font leaves its wide pen set; keep it from drawing the next
    // frame's floor grid thick while the program is paused.
    glPushAttrib(GL_LINE_BIT);
    for (int i = 0; i < n; ++i)
        drawString(kBannerText, copies[i].x, copies[i].y, copies[i].r, copies[i].g, copies[i].b,
                   kBannerSize);
    glPopAttrib();
}
