// The solution strip drawn: a dimmed band, the current move on a box of its
// own, and the text in the large panel font, all where layoutSolutionStrip put it.
#include "app/strip.h"

#include "app/hud_font.h"
#include "app/strip_layout.h"
#include "model/cube_text.h"

#include <GL/gl.h>

#include <cstdio>

namespace {

void setColour(StripColour c) {
    glColor3fv(kStripColours[c]);
}

void fillRect(int left, int top, int right, int bottom) {
    glRecti(left, top, right, bottom);
}

StripColour moveColour(const StripView& view, int index) {
    if (index < view.position) return kStripPlayed;
    return index == view.position ? kStripCurrent : kStripComing;
}

} // namespace

void drawSolutionStrip(const StripView& view, int viewportWidth, int viewportHeight) {
    const TextMetrics m = panelFontMetrics(kPanelFontLarge);
    StripLayout layout;
    layoutSolutionStrip(view, viewportWidth, viewportHeight, m, &layout);
    if (!layout.visible) return;
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    const float* band = kStripColours[kStripBand];
    glColor4f(band[0], band[1], band[2], kStripBandAlpha);
    fillRect(layout.left, layout.top, layout.right, layout.bottom);
    glDisable(GL_BLEND);
    if (layout.current >= 0) {
        const StripToken& t = layout.tokens[layout.current];
        setColour(kStripCurrentBox);
        fillRect(t.x - 3, t.y - m.ascent - 1, t.x + t.chars * m.advance + 3,
                 t.y - m.ascent + m.lineHeight);
    }

    char text[256];
    for (int i = 0; i < layout.tokenCount; ++i) {
        const StripToken& t = layout.tokens[i];
        if (t.kind == kStripStageName) {
            setColour(kStripStage);
            std::snprintf(text, sizeof text, "%.*s:", t.chars - 1, view.stageNames[t.index]);
        } else {
            setColour(moveColour(view, t.index));
            writeMoveName(view.moves[t.index].layer, view.moves[t.index].direction, text);
        }
        panelPrint(kPanelFontLarge, static_cast<float>(t.x), static_cast<float>(t.y), text);
    }
    setColour(kStripCounter);
    formatStripCounter(view, text, sizeof text);
    panelPrint(kPanelFontLarge, static_cast<float>(layout.counterX),
               static_cast<float>(layout.counterY), text);
    setColour(kStripSpeed);
    formatStripSpeed(view, text, sizeof text);
    panelPrint(kPanelFontLarge, static_cast<float>(layout.speedX),
               static_cast<float>(layout.speedY), text);
    glPopAttrib();
    flushPanelText(kPanelFontLarge);
}
