// The view's matrices against GL's, the looks and a dragged sticker read back.
#include "render/view.h"

#include "app/window.h"
#include "model/cube.h"
#include "model/layers.h"
#include "render/look.h"
#include "tests/render/gl_window.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

namespace {

constexpr int kWidth = 480, kHeight = 360;
using Suite = GlSuite<kWidth, kHeight>;
GlWindow& gl = Suite::gl;

class ViewInGl : public Suite {
  protected:
    void SetUp() override {
        Suite::SetUp();
        if (HasFatalFailure()) return;
        initCubieArray();
        initFaceletGrid();
        setupGL();
        resizeView(kWidth, kHeight);
    }
    void TearDown() override { resizeView(kWidth, kHeight); }
};

Matrix4 glMatrix(GLenum which) {
    Matrix4 m;
    glGetDoublev(which, m.m);
    return m;
}

void expectSame(const Matrix4& fromGl, const Matrix4& ours, const std::string& what) {
    for (int i = 0; i < 16; ++i) EXPECT_EQ(fromGl.m[i], ours.m[i]) << what << ", entry " << i;
}

// The scene and the cube's orientation as the frame sets them with GL calls.
void glScene(const Look& look, const ViewAngles& a) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, static_cast<float>(-look.camera.drop),
                 static_cast<float>(-look.camera.distance));
    if (look.camera.elevation != 0.0)
        glRotatef(static_cast<float>(look.camera.elevation), 1.0f, 0.0f, 0.0f);
    glRotatef(a.scenePitch, 1.0f, 0.0f, 0.0f);
    glRotatef(a.sceneYaw, 0.0f, 1.0f, 0.0f);
}
void glCube(const ViewAngles& a) {
    glRotated(a.cubeYaw - 45, 0.0, 1.0, 0.0);
    glRotated(a.cubePitch, 1.0, 0.0, 0.0);
}

ViewAngles randomAngles(std::mt19937& rng, bool whole) {
    std::uniform_real_distribution<float> yaw(-720.0f, 720.0f), pitch(0.0f, 90.0f);
    ViewAngles a;
    a.sceneYaw = whole ? std::round(yaw(rng)) : yaw(rng);
    a.scenePitch = whole ? std::round(pitch(rng)) : pitch(rng);
    a.cubeYaw = static_cast<int>(rng() % 1441) - 720;
    a.cubePitch = static_cast<int>(rng() % 1441) - 720;
    return a;
}

// Every matrix is GL's own, entry for entry: projections, and 400 random views.
TEST_F(ViewInGl, MatricesAreExactlyWhatGlBuilds) {
    const int sizes[][2] = {{640, 480}, {1024, 768}, {333, 0}, {1, 1000}, {1920, 1080}};
    for (const auto& size : sizes) {
        resizeView(size[0], size[1]);
        expectSame(glMatrix(GL_PROJECTION_MATRIX), perspectiveMatrix(45.0, size[0], size[1]),
                   "projection " + std::to_string(size[0]) + "x" + std::to_string(size[1]));
    }
    std::mt19937 rng(4242);
    for (int trial = 0; trial < 400; ++trial) {
        const Look& look = trial % 2 ? kClearLook : kPlainLook;
        const ViewAngles a = randomAngles(rng, trial % 4 < 2);
        const int layer = 1 + static_cast<int>(rng() % 9), direction = rng() % 2 ? 1 : -1;
        const int angle = static_cast<int>(rng() % 91);
        const View view = makeView(look, a, {layer, direction, angle}, kWidth, kHeight);
        const std::string what = "trial " + std::to_string(trial);
        glScene(look, a);
        expectSame(glMatrix(GL_MODELVIEW_MATRIX), view.scene, what + ", scene");
        glCube(a);
        expectSame(glMatrix(GL_MODELVIEW_MATRIX), view.cube, what + ", cube");
        // drawCube's sign: layers 1-3 turn by -angle for +1, layers 4-9 for -1.
        const double theta = direction == (layer <= 3 ? 1 : -1) ? -angle : angle;
        glRotated(theta, layer <= 3 ? 1.0 : 0.0, layer >= 7 ? 1.0 : 0.0,
                  layer >= 4 && layer <= 6 ? 1.0 : 0.0);
        expectSame(glMatrix(GL_MODELVIEW_MATRIX), view.layer, what + ", layer");
        if (HasFailure()) return;
    }
}

void mixCube(std::mt19937& rng, int turns) {
    for (int i = 0; i < turns; ++i) turnLayer(1 + static_cast<int>(rng() % 9), rng() % 2 ? 1 : -1);
}

// The cube alone (no marker, no grid) drawn in the view's matrices.
Picture cubeOnly(const Look& look, const View& view) {
    loadView(view);
    drawCube(look, view.turning.layer, view.turning.direction, view.turning.angle);
    return readPicture(gl);
}

// The picture position (GL rows, bottom up) of the centre of a face's sticker.
void stickerPixel(const View& view, int face, int row, int col, int* x, int* y) {
    int cubie[3], side;
    faceletCubie(face, row, col, cubie, &side);
    double wx = 0, wy = 0, p[3];
    for (int a = 0; a < 3; ++a) p[a] = cubie[a] - 2.0;
    p[kFaceCells[face].fixed] += (kFaceCells[face].value - 2) * view.reach;
    projectPoint(view, view.cube, p, &wx, &wy);
    *x = static_cast<int>(wx), *y = kHeight - 1 - static_cast<int>(wy);
}

// Whether a face is turned towards the eye (its centre picks it).
bool facesEye(const View& view, int face) {
    int x, y;
    stickerPixel(view, face, 2, 2, &x, &y);
    return pickSticker(view, x + 0.5, kHeight - 1 - y + 0.5).face == face;
}

// The plain look dim; the clear look bright, with gaps, covering twice the pixels.
TEST_F(ViewInGl, TheClearLookShowsARealCubeInFullColourWithGaps) {
    int covered[2], seen[2] = {0, 0};
    for (const Look* look : {&kPlainLook, &kClearLook}) {
        const bool clear = look == &kClearLook;
        for (const ViewAngles& a :
             {ViewAngles{0.0f, 0.0f, 0, 0}, ViewAngles{0.0f, 0.0f, 180, 180}}) {
            const View view = makeView(*look, a, {1, 1, 0}, kWidth, kHeight);
            const Picture pic = cubeOnly(*look, view);
            if (a.cubeYaw == 0) covered[clear] = pic.nonBlackPixels();
            for (int face = 1; face <= 6; ++face) {
                if (!facesEye(view, face)) continue;
                ++seen[clear];
                for (int row = 1; row <= 3; ++row)
                    for (int col = 1; col <= 3; ++col) {
                        int x, y;
                        stickerPixel(view, face, row, col, &x, &y);
                        const unsigned char* p = pic.at(x, y);
                        const int brightest = std::max(p[0], std::max(p[1], p[2]));
                        EXPECT_EQ(colourIn(*look, p), kStartFaceColour[face]) << face << row << col;
                        if (clear) {
                            EXPECT_GE(brightest, 235) << face << row << col;
                        } else {
                            EXPECT_LE(brightest, 103) << face << row << col;
                        }
                    }
            }
        }
        if (!clear) continue;
        const View view = makeView(*look, {0.0f, 0.0f, 0, 0}, {1, 1, 0}, kWidth, kHeight);
        const Picture pic = cubeOnly(*look, view);
        int x, y;
        stickerPixel(view, 5, 2, 2, &x, &y);
        const int neighbours[][2] = {{1, 2}, {3, 2}, {2, 1}, {2, 3}};
        for (const auto& next : neighbours) {
            int nx, ny, dark = 0;
            stickerPixel(view, 5, next[0], next[1], &nx, &ny);
            for (int i = 1; i < 40; ++i) {
                const unsigned char* q = pic.at(x + (nx - x) * i / 40, y + (ny - y) * i / 40);
                dark += q[0] < 30 && q[1] < 30 && q[2] < 30;
            }
            EXPECT_GE(dark, 2) << "no gap towards " << next[0] << " " << next[1];
        }
    }
    EXPECT_GT(covered[1], covered[0] * 2);
    EXPECT_EQ(seen[0], 6); // every face, three from each side
    EXPECT_EQ(seen[1], 6);
}

// Seen into a turning layer, the clear look is black inside, the plain look is not.
TEST_F(ViewInGl, TheClearLookIsBlackInsideATurningLayer) {
    std::mt19937 rng(31);
    mixCube(rng, 30);
    int inside[2] = {0, 0}, black[2] = {0, 0};
    for (int trial = 0; trial < 40; ++trial) {
        const Look& look = trial % 2 ? kClearLook : kPlainLook;
        const TurnShown turn = {1 + int(rng() % 9), rng() % 2 ? 1 : -1, 20 + int(rng() % 50)};
        const View view = makeView(look, randomAngles(rng, true), turn, kWidth, kHeight);
        const Picture pic = cubeOnly(look, view);
        for (int y = 1; y < kHeight; y += 3)
            for (int x = 1; x < kWidth; x += 3) {
                const StickerPick pick = pickSticker(view, x + 0.5, kHeight - 1 - y + 0.5);
                if (!pick.hit || pick.face != 0) continue;
                ++inside[trial % 2];
                black[trial % 2] += colourIn(look, pic.at(x, y)) == 0;
            }
    }
    EXPECT_GT(inside[0], 1000);
    EXPECT_GT(inside[1], 1000);
    // Edge on, a pixel may show the rim of a sticker beside it.
    EXPECT_GT(black[1] * 100, inside[1] * 97);
    EXPECT_LT(black[0] * 2, inside[0]);
}

// A dragged sticker, drawn at the drag's angle, is picked and shown under the finger.
TEST_F(ViewInGl, ADraggedStickerStaysUnderTheFinger) {
    std::mt19937 rng(12);
    mixCube(rng, 30);
    int dragged = 0, underFinger = 0, inColour = 0;
    for (int trial = 0; trial < 160; ++trial) {
        const Look& look = trial % 2 ? kClearLook : kPlainLook;
        const ViewAngles angles = randomAngles(rng, true);
        const View view = makeView(look, angles, {1, 1, 0}, kWidth, kHeight);
        int sx, sy;
        stickerPixel(view, 1 + int(rng() % 6), 1 + int(rng() % 3), 1 + int(rng() % 3), &sx, &sy);
        const StickerPick pick = pickSticker(view, sx + 0.5, kHeight - 1 - sy + 0.5);
        if (pick.face == 0) continue;
        const SideDirection& dir = kSideDirection[pick.side];
        const int axis = (dir.axis + 1 + static_cast<int>(rng() % 2)) % 3;
        const TurnShown target = {layerAt(axis, pick.cubie[axis]), rng() % 2 ? 1 : -1,
                                  10 + static_cast<int>(rng() % 61)};
        double p[3], x0, y0, x1, y1;
        for (int a = 0; a < 3; ++a)
            p[a] = pick.cubie[a] - 2 + (a == dir.axis ? dir.sign * view.reach : 0);
        const View aimed = makeView(look, angles, target, kWidth, kHeight);
        projectPoint(view, view.cube, p, &x0, &y0);
        projectPoint(aimed, aimed.layer, p, &x1, &y1);
        const DragTurn turn = dragTurn(view, pick, x1 - x0, y1 - y0);
        if (turn.layer != target.layer) continue; // a view that cannot tell the layers apart
        ++dragged;
        EXPECT_EQ(turn.direction, target.direction);
        const TurnShown shownTurn = {turn.layer, turn.direction, int(std::lround(turn.angle))};
        const View shown = makeView(look, angles, shownTurn, kWidth, kHeight);
        const StickerPick there = pickSticker(shown, x1, y1);
        if (there.side != pick.side || there.cubie[0] != pick.cubie[0] ||
            there.cubie[1] != pick.cubie[1] || there.cubie[2] != pick.cubie[2])
            continue; // turned out of sight
        ++underFinger;
        const Picture pic = cubeOnly(look, shown);
        const int x = static_cast<int>(x1), y = kHeight - 1 - static_cast<int>(y1);
        const int colour = colourIn(look, pic.at(x, y));
        // Its colour, or black where it is seen almost edge on (its rim).
        if (colour == CubieArray[pick.cubie[0]][pick.cubie[1]][pick.cubie[2]][pick.side])
            ++inColour;
        else
            EXPECT_EQ(colour, 0) << "trial " << trial;
    }
    EXPECT_GT(dragged, 40);
    EXPECT_GT(underFinger * 10, dragged * 8);
    EXPECT_GT(inColour * 20, underFinger * 19);
}

} // namespace
