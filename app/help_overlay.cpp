// The help overlay drawn: the window dimmed, a darker panel with a border,
// the title, and the keys and actions where layoutHelpOverlay put them, in
// the largest font that shows the whole table: the large panel font, the
// medium one, or at last the HUD's own.
#include "app/help_overlay.h"

#include "app/help_layout.h"
#include "app/hud_font.h"

#include <GL/gl.h>

#include <cstdio>

namespace {

// The fonts tried, largest first: the two panel fonts, then the HUD's own.
struct HelpFont {
    int panelSize; // kPanelFontSizes for the HUD font
    TextMetrics metrics() const {
        return panelSize < kPanelFontSizes ? panelFontMetrics(panelSize) : hudFontMetrics();
    }
    void print(float x, float y, const char* text) const {
        if (panelSize < kPanelFontSizes)
            panelPrint(panelSize, x, y, text);
        else
            hudPrint(x, y, "%s", text);
    }
    void flush() const {
        if (panelSize < kPanelFontSizes)
            flushPanelText(panelSize);
        else
            flushHudText();
    }
};
constexpr HelpFont kHelpFonts[] = {{kPanelFontLarge}, {kPanelFontMedium}, {kPanelFontSizes}};
constexpr int kHelpFontCount = int(sizeof kHelpFonts / sizeof *kHelpFonts);

void setColour(HelpColour c) {
    glColor4fv(kHelpColours[c]);
}

} // namespace

void drawHelpOverlay(const HelpLine* lines, int count, int viewportWidth, int viewportHeight) {
    TextMetrics metrics[kHelpFontCount];
    for (int i = 0; i < kHelpFontCount; ++i) metrics[i] = kHelpFonts[i].metrics();
    HelpLayout layout;
    const HelpFont* font = &kHelpFonts[layoutHelpInFirstFitting(
        lines, count, viewportWidth, viewportHeight, metrics, kHelpFontCount, &layout)];
    // The HUD's text queued so far goes under the panel.
    flushHudText();
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT | GL_LINE_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    setColour(kHelpDim);
    glRecti(0, 0, viewportWidth, viewportHeight);
    if (!layout.visible) {
        glPopAttrib();
        return;
    }
    setColour(kHelpPanel);
    glRecti(layout.left, layout.top, layout.right, layout.bottom);
    glDisable(GL_BLEND);
    setColour(kHelpBorder);
    glLineWidth(1.0f);
    const float l = static_cast<float>(layout.left) + 0.5f,
                t = static_cast<float>(layout.top) + 0.5f;
    const float r = static_cast<float>(layout.right) - 0.5f;
    const float b = static_cast<float>(layout.bottom) - 0.5f;
    glBegin(GL_LINE_LOOP);
    glVertex2f(l, t);
    glVertex2f(r, t);
    glVertex2f(r, b);
    glVertex2f(l, b);
    glEnd();
    if (layout.blocks == 2) {
        const float x = static_cast<float>(layout.dividerX) + 0.5f;
        glBegin(GL_LINES);
        glVertex2f(x, static_cast<float>(layout.contentTop));
        glVertex2f(x, b - 8.0f);
        glEnd();
    }

    setColour(kHelpHeading);
    font->print(static_cast<float>(layout.titleX), static_cast<float>(layout.titleY), kHelpTitle);
    char text[256];
    for (int i = 0; i < layout.pieceCount; ++i) {
        const HelpPiece& p = layout.pieces[i];
        const HelpLine& line = lines[p.line];
        setColour(p.action ? kHelpAction : kHelpKeys);
        std::snprintf(text, sizeof text, "%.*s", p.chars,
                      (p.action ? line.action : line.keys) + p.start);
        font->print(static_cast<float>(p.x), static_cast<float>(p.y), text);
    }
    glPopAttrib();
    font->flush();
}
