// The colour editor's pictures read back from GL in both looks and two sizes.
#include "app/editor.h"
#include "model/layers.h"
#include "render/view.h"
#include "tests/app/panel_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

namespace {

class EditorPicture : public PanelSuite {};

// The editor's whole frame in `view`, read back.
Picture editorFrame(const Editor& e, const Look& look, const View& view, const char* name) {
    resizeView(view.width, view.height);
    loadView(view);
    drawEditorCube(e, look);
    beginTextOverlay(view.width, view.height);
    drawEditorOverlay(e, look, view);
    endOverlay();
    return readBack(view.width, view.height, name);
}

// The pixel at window position (x right, y down).
const unsigned char* pixel(const Picture& pic, double x, double y) {
    return pic.at(static_cast<int>(x), pic.height - 1 - static_cast<int>(y));
}

bool cyan(const unsigned char* p) {
    return p[0] < 60 && p[1] > 200 && p[2] > 200;
}

// Text pixels in the band: the fault's red-orange, or the sound cube's green.
int textPixels(const Picture& pic, bool fault) {
    int n = 0;
    for (int y = pic.height - 90; y < pic.height; ++y)
        for (int x = 0; x < pic.width; ++x) {
            const unsigned char* p = pixel(pic, x, y);
            const int main = fault ? p[0] : p[1], other = fault ? p[1] : p[0];
            n += main > 150 && other > 0.2 * main && other < 0.6 * main && p[2] > 0.1 * main &&
                 p[2] < 0.45 * main;
        }
    return n;
}

// Where sticker s's centre is on the screen, and whether it is seen (picked) there.
bool stickerSeen(const View& view, const Look& look, int s, double* x, double* y) {
    const FaceLetter& fl = kFaceLetters[s / 9];
    int cubie[3], side = 0;
    faceletCubie(fl.face, fl.cells[s % 9][0], fl.cells[s % 9][1], cubie, &side);
    double p[3];
    for (int a = 0; a < 3; ++a) p[a] = cubie[a] - 2.0;
    p[kFaceCells[fl.face].fixed] += (kFaceCells[fl.face].value - 2) * stickerReach(look);
    if (!projectPoint(view, view.cube, p, x, y)) return false;
    const StickerPick pick = pickSticker(view, *x, *y);
    return pick.face == fl.face && pick.row == fl.cells[s % 9][0] && pick.col == fl.cells[s % 9][1];
}

int colourOfLetter(char letter) {
    for (const FaceLetter& fl : kFaceLetters)
        if (fl.letter == letter) return FaceletGrid[fl.face][2][2];
    return 0;
}

struct Setting {
    const Look* look;
    const char* name;
    int width, height;
};
const Setting kSettings[] = {{&kPlainLook, "plain", 1024, 768},
                             {&kClearLook, "clear", 1024, 768},
                             {&kPlainLook, "plain", 640, 480},
                             {&kClearLook, "clear", 640, 480}};

} // namespace

// Random paints in random views: every sticker seen shows its painted colour,
// or cyan when the fault marks it; the message in the fault's colour or the
// sound one's. Unpainted, each swatch shows its colour where its hit test finds it.
TEST_F(EditorPicture, EveryStickerSeenShowsItsPaintedColourAndThePaletteItsSix) {
    std::mt19937 rng(77);
    int checked = 0, marks = 0;
    for (int trial = 0; trial < 16; ++trial) {
        const Setting& s = kSettings[trial % 4];
        startProgram();
        cubetest::apply(cubetest::randomTurns(rng, 30));
        Editor e{};
        editorOpen(e);
        for (int n = 0; n < 12; ++n) {
            const int colour = static_cast<int>(rng() % 6),
                      at = static_cast<int>(rng() % kStickers);
            if (trial >= 4) editorChooseColour(e, colour), editorPaint(e, at);
        }
        const ViewAngles angles = {0.0f, 0.0f, static_cast<int>(rng() % 360),
                                   static_cast<int>(rng() % 360)};
        const View view = makeView(*s.look, angles, {1, 1, 0}, s.width, s.height);
        const std::string name = std::string("editor_painted_") + s.name;
        const Picture pic = editorFrame(e, *s.look, view, trial < 4 ? name.c_str() : nullptr);
        for (int i = 0; i < kStickers; ++i) {
            double x, y;
            if (!stickerSeen(view, *s.look, i, &x, &y)) continue;
            if (e.check.marked[i]) { // a fault's mark: cyan
                int near = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) near += cyan(pixel(pic, x + dx, y + dy));
                EXPECT_GE(near, 3) << "trial " << trial << " sticker " << i;
                ++marks;
                continue;
            }
            // Seen almost edge on a sticker is its black rim.
            const int shown = colourIn(*s.look, pixel(pic, x, y));
            if (shown == 0) continue;
            EXPECT_EQ(shown, colourOfLetter(e.state[i])) << "trial " << trial << " sticker " << i;
            ++checked;
        }
        // The fault's message in its colour, or the sound cube's.
        EXPECT_GT(textPixels(pic, !e.check.sound), 100) << "trial " << trial;
        EXPECT_EQ(textPixels(pic, e.check.sound != 0), 0) << "trial " << trial;
        if (trial >= 4) continue;
        int found[6] = {0, 0, 0, 0, 0, 0};
        for (int y = 0; y < s.height; ++y) // the window's left quarter
            for (int x = 0; x < s.width / 4; ++x) {
                const int l = editorPaletteAt(e, s.width, s.height, x + 0.5, y + 0.5);
                if (l < 0) continue;
                const unsigned char* p = pixel(pic, x, y);
                const double* want = s.look->palette[colourOfLetter(kFaceLetters[l].letter)];
                for (int ch = 0; ch < 3; ++ch)
                    ASSERT_NEAR(p[ch], want[ch] * 255, 1.5) << name << " swatch " << l;
                ++found[l];
            }
        for (int l = 0; l < 6; ++l) EXPECT_GE(found[l], 144) << name << " swatch " << l;
    }
    EXPECT_GT(checked, 16 * 10);
    EXPECT_GT(marks, 50);
    std::printf("stickers checked: %d, marks seen: %d\n", checked, marks);
}
