// The colour editor on screen: the painted cube in place of the live one, and
// in the text overlay the marks on the stickers the check names, the palette
// down the left side and, in a band along the bottom, the check's message
// and a line of help.
#include "app/editor.h"

#include "app/help_layout.h"
#include "app/hud_font.h"
#include "model/cube.h"
#include "model/layers.h"
#include "render/look.h"
#include "render/scene.h"
#include "render/view.h"

#include <GL/gl.h>

#include <cstdio>
#include <initializer_list>

namespace {

// ---- where the palette is: from the window's size alone ---------------------

// The swatches stand in a column on the left, below the HUD's lines and above
// the bottom band, each `size` pixels square and a quarter of that apart.
constexpr int kPaletteLeft = 10;
constexpr int kPaletteTop = 150;    // below the HUD's menu and learning line
constexpr int kPaletteBottom = 110; // kept free for the band at the bottom
constexpr int kSwatchLargest = 48;
constexpr int kSwatchSmallest = 12;

struct PaletteLayout {
    int left, top, size, step;
};

PaletteLayout paletteLayout(int height) {
    // Six swatches and five gaps of a quarter: 7.25 swatches high.
    int size = (height - kPaletteTop - kPaletteBottom) * 4 / 29;
    if (size > kSwatchLargest) size = kSwatchLargest;
    if (size < kSwatchSmallest) size = kSwatchSmallest;
    const int step = size + size / 4;
    const int room = height - kPaletteTop - kPaletteBottom;
    int top = kPaletteTop + (room - (5 * step + size)) / 2;
    if (top < kPaletteTop) top = kPaletteTop;
    return {kPaletteLeft, top, size, step};
}

// ---- colours ------------------------------------------------------------------

// The colour number a letter is drawn in: the colour of the centre of the
// face it names, as the cube on screen has it.
int colourOfLetter(char letter) {
    for (const FaceLetter& fl : kFaceLetters)
        if (fl.letter == letter) return FaceletGrid[fl.face][2][2];
    return 0;
}

constexpr float kMarkColour[3] = {0.0f, 1.0f, 1.0f}; // no sticker is cyan
constexpr float kSoundColour[3] = {0.35f, 1.0f, 0.35f};
constexpr float kFaultColour[3] = {1.0f, 0.4f, 0.25f};
constexpr float kHelpColour[3] = {0.85f, 0.85f, 0.85f};
constexpr float kBandColour[4] = {0.0f, 0.0f, 0.08f, 0.8f};

constexpr const char* kSoundMessage = "sound: Enter takes it";
constexpr const char* kHelpText = "click a sticker to paint, 1-6 or the wheel: colour, Enter: "
                                  "take, Esc: leave, Ctrl+V: paste, Ctrl+C: copy";

void fillRect(float l, float t, float r, float b) {
    glBegin(GL_QUADS);
    glVertex2f(l, t);
    glVertex2f(r, t);
    glVertex2f(r, b);
    glVertex2f(l, b);
    glEnd();
}
void frameRect(float l, float t, float r, float b, float width) {
    fillRect(l - width, t - width, r + width, t);
    fillRect(l - width, b, r + width, b + width);
    fillRect(l - width, t, l, b);
    fillRect(r, t, r + width, b);
}

// ---- the marks --------------------------------------------------------------

// The corners of sticker `sticker` (its outer face, in cubie units of the cube
// at rest) and its centre.
void stickerCorners(const Look& look, int sticker, double (&centre)[3], double (&corner)[4][3]) {
    const FaceLetter& fl = kFaceLetters[sticker / 9];
    int cubie[3], side = 0;
    faceletCubie(fl.face, fl.cells[sticker % 9][0], fl.cells[sticker % 9][1], cubie, &side);
    const SideDirection& dir = kSideDirection[side];
    for (int a = 0; a < 3; ++a)
        centre[a] = cubie[a] - kCubieCentre + (a == dir.axis ? dir.sign * stickerReach(look) : 0);
    const int u = (dir.axis + 1) % 3, w = (dir.axis + 2) % 3;
    const double half = look.stickerEdge / 2;
    for (int k = 0; k < 4; ++k) {
        for (int a = 0; a < 3; ++a) corner[k][a] = centre[a];
        corner[k][u] += (k == 0 || k == 3) ? -half : half;
        corner[k][w] += k < 2 ? -half : half;
    }
}

// A mark on every sticker the check names that the eye sees (its centre
// picks it): the sticker's outline and a cross through its centre, cyan over
// black so that it shows on every colour.
void drawMarks(const Editor& editor, const Look& look, const View& view) {
    View rest = view;
    rest.layer = view.cube;
    rest.turning = {1, 1, 0};
    for (int i = 0; i < kStickers; ++i) {
        if (!editor.check.marked[i]) continue;
        double centre[3], corner[4][3], cx, cy, x[4], y[4];
        stickerCorners(look, i, centre, corner);
        if (!projectPoint(rest, rest.cube, centre, &cx, &cy)) continue;
        const StickerPick pick = pickSticker(rest, cx, cy);
        const FaceLetter& fl = kFaceLetters[i / 9];
        if (!pick.hit || pick.face != fl.face || pick.row != fl.cells[i % 9][0] ||
            pick.col != fl.cells[i % 9][1])
            continue;
        bool shown = true;
        for (int k = 0; k < 4; ++k)
            shown = shown && projectPoint(rest, rest.cube, corner[k], &x[k], &y[k]);
        if (!shown) continue;
        // The cross reaches two thirds of the way to the corners.
        for (int pass = 0; pass < 2; ++pass) {
            glLineWidth(pass == 0 ? 6.0f : 3.0f);
            if (pass == 0)
                glColor3f(0.0f, 0.0f, 0.0f);
            else
                glColor3fv(kMarkColour);
            glBegin(GL_LINE_LOOP);
            for (int k = 0; k < 4; ++k) glVertex2d(x[k], y[k]);
            glEnd();
            glBegin(GL_LINES); // corner 0 to 2, 1 to 3
            for (const int k : {0, 2, 1, 3})
                glVertex2d(cx + (x[k] - cx) * 2 / 3, cy + (y[k] - cy) * 2 / 3);
            glEnd();
        }
    }
}

// ---- the palette and the band ------------------------------------------------

void drawPalette(const Editor& editor, const Look& look, int height) {
    const PaletteLayout p = paletteLayout(height);
    const TextMetrics m = hudFontMetrics();
    char label[4] = "1 U";
    for (int l = 0; l < 6; ++l) {
        const float left = static_cast<float>(p.left);
        const float top = static_cast<float>(p.top + l * p.step);
        const float size = static_cast<float>(p.size);
        const int colour = colourOfLetter(kFaceLetters[l].letter);
        if (colour >= 1 && colour <= 6) glColor3dv(look.palette[colour]);
        fillRect(left, top, left + size, top + size);
        if (l == editor.colour) { // white, a black line inside it: seen round every colour
            glColor3f(0.0f, 0.0f, 0.0f);
            frameRect(left, top, left + size, top + size, 2.0f);
            glColor3f(1.0f, 1.0f, 1.0f);
            frameRect(left - 2.0f, top - 2.0f, left + size + 2.0f, top + size + 2.0f, 3.0f);
        } else {
            glColor3f(0.35f, 0.35f, 0.35f);
            frameRect(left, top, left + size, top + size, 1.0f);
        }
        label[0] = static_cast<char>('1' + l);
        label[2] = kFaceLetters[l].letter;
        glColor3f(1.0f, 1.0f, 1.0f);
        hudPrint(left + size + 8.0f, top + (size + static_cast<float>(m.ascent)) / 2, "%s", label);
    }
}

// Rows of `width` characters the text wraps into, and the text printed so in
// panel font `font`, the first baseline at (x, y).
int wrapRows(const char* text, int width) {
    return wrapText(text, width, [](int, int) {});
}
void printWrapped(int font, const char* text, int width, int x, int y, int lineHeight) {
    int row = 0;
    wrapText(text, width, [&](int at, int chars) {
        char line[256];
        std::snprintf(line, sizeof line, "%.*s", chars, text + at);
        panelPrint(font, static_cast<float>(x), static_cast<float>(y + row++ * lineHeight), line);
    });
}

// The message in the larger panel font (the medium one when it does not fit
// the width on one line, wrapped when neither does) and the help wrapped in
// the medium one, on a dark band along the window's bottom.
void drawBand(const Editor& editor, int width, int height) {
    const char* message = editor.check.sound ? kSoundMessage : editor.check.message;
    const int margin = 10;
    const int room = width - 2 * margin;
    int messageFont = kPanelFontLarge;
    TextMetrics mm = panelFontMetrics(messageFont);
    int length = 0;
    while (message[length]) ++length;
    if (mm.advance > 0 && length * mm.advance > room) {
        messageFont = kPanelFontMedium;
        mm = panelFontMetrics(messageFont);
    }
    const TextMetrics hm = panelFontMetrics(kPanelFontMedium);
    if (mm.advance <= 0 || hm.advance <= 0) return; // no fonts in this context
    const int messageRows = wrapRows(message, room / mm.advance);
    const int helpRows = wrapRows(kHelpText, room / hm.advance);
    const int bandHeight =
        margin + messageRows * mm.lineHeight + 4 + helpRows * hm.lineHeight + margin / 2;
    const int bandTop = height - bandHeight;
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4fv(kBandColour);
    fillRect(0.0f, static_cast<float>(bandTop), static_cast<float>(width),
             static_cast<float>(height));
    glDisable(GL_BLEND);

    glColor3fv(editor.check.sound ? kSoundColour : kFaultColour);
    int y = bandTop + margin / 2 + mm.ascent;
    printWrapped(messageFont, message, room / mm.advance, margin, y, mm.lineHeight);
    y += messageRows * mm.lineHeight + 4;
    glColor3fv(kHelpColour);
    printWrapped(kPanelFontMedium, kHelpText, room / hm.advance, margin, y, hm.lineHeight);
}

} // namespace

int editorPaletteAt(const Editor& editor, int viewportWidth, int viewportHeight, double x,
                    double y) {
    (void)editor;
    (void)viewportWidth;
    const PaletteLayout p = paletteLayout(viewportHeight);
    for (int l = 0; l < 6; ++l) {
        const double top = p.top + l * p.step;
        if (x >= p.left && x < p.left + p.size && y >= top && y < top + p.size) return l;
    }
    return -1;
}

void drawEditorCube(const Editor& editor, const Look& look) {
    int cubies[4][4][4][7];
    for (int x = 1; x <= 3; ++x)
        for (int y = 1; y <= 3; ++y)
            for (int z = 1; z <= 3; ++z)
                for (int s = 1; s <= 6; ++s) cubies[x][y][z][s] = s;
    for (int i = 0; i < kStickers; ++i) {
        const FaceLetter& fl = kFaceLetters[i / 9];
        int pos[3], side = 0;
        faceletCubie(fl.face, fl.cells[i % 9][0], fl.cells[i % 9][1], pos, &side);
        const int colour = colourOfLetter(editor.state[i]);
        if (colour) cubies[pos[0]][pos[1]][pos[2]][side] = colour;
    }
    for (int z = 1; z <= 3; ++z)
        for (int y = 1; y <= 3; ++y)
            for (int x = 1; x <= 3; ++x) drawCubie(look, x, y, z, cubies);
}

void drawEditorOverlay(const Editor& editor, const Look& look, const View& view) {
    // The HUD's text queued so far goes under the editor's.
    flushHudText();
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT | GL_LINE_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    drawMarks(editor, look, view);
    drawPalette(editor, look, view.height);
    drawBand(editor, view.width, view.height);
    glPopAttrib();
    flushHudText();
    flushPanelText(kPanelFontLarge);
    flushPanelText(kPanelFontMedium);
}
