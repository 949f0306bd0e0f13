// The view's matrices against what GL builds from the frame's own calls, the
// pictures GL draws when handed them, picking against the picture read back,
// and the two looks as a user sees them.
#include "render/view.h"

#include "app/window.h"
#include "model/cube.h"
#include "render/look.h"
#include "tests/render/gl_window.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
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

// The scene transform and the cube's orientation as the frame sets them with
// GL calls today (the camera of the look; the plain look's elevation is 0).
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

// Every matrix equals GL's own, entry for entry: the projection for window
// sizes (a height of 0 counting as 1), and the scene, cube and turning-layer
// transforms for 400 random angles in both looks.
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
        // The turning layer's sign as drawCube has it: layers 1-3 turn by
        // -angle for direction +1, layers 4-9 by -angle for direction -1.
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

// The frame's drawing with today's GL calls, and the same handed the
// computed matrices: the light set in the scene transform first, then the
// cube with its turning layer and marker, then the floor grid.
void drawWithGlCalls(const Look& look, const ViewAngles& a, const TurnShown& t) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glScene(look, a);
    const GLfloat light[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glLightfv(GL_LIGHT1, GL_POSITION, light);
    glPushMatrix();
    glCube(a);
    drawCube(look, t.layer, t.direction, t.angle);
    drawLayerMarker(look, t.layer);
    glPopMatrix();
    drawFloorGrid(look, 1);
}
void drawWithMatrices(const Look& look, const View& v) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(v.projection.m);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixd(v.scene.m);
    const GLfloat light[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glLightfv(GL_LIGHT1, GL_POSITION, light);
    glLoadMatrixd(v.cube.m);
    drawCube(look, v.turning.layer, v.turning.direction, v.turning.angle);
    drawLayerMarker(look, v.turning.layer);
    glLoadMatrixd(v.scene.m);
    drawFloorGrid(look, 1);
}

TEST_F(ViewInGl, GlHandedTheMatricesDrawsTheSamePictureByteForByte) {
    std::mt19937 rng(31);
    mixCube(rng, 30);
    for (int trial = 0; trial < 24; ++trial) {
        const Look& look = trial % 3 == 2 ? kClearLook : kPlainLook;
        const ViewAngles a = randomAngles(rng, trial % 2 == 0);
        const TurnShown t = {1 + static_cast<int>(rng() % 9), rng() % 2 ? 1 : -1,
                             static_cast<int>(rng() % 4) * 30 + (trial % 2)};
        resizeView(kWidth, kHeight);
        drawWithGlCalls(look, a, t);
        const Picture before = readPicture(gl);
        drawWithMatrices(look, makeView(look, a, t, kWidth, kHeight));
        EXPECT_TRUE(readPicture(gl).rgb == before.rgb) << "trial " << trial;
        EXPECT_GT(before.nonBlackPixels(), 1000);
    }
}

// The colour number a pixel shows in `look`: the palette entry nearest in
// direction (lighting scales a colour), 0 for black.
int colourIn(const Look& look, const unsigned char* p) {
    if (p[0] < 20 && p[1] < 20 && p[2] < 20) return 0;
    const double length = std::sqrt(double(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]));
    int best = -1;
    double bestCos = 0.97;
    for (int c = 1; c <= 6; ++c) {
        const double* q = look.palette[c];
        const double ql = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2]);
        const double cosine = (p[0] * q[0] + p[1] * q[1] + p[2] * q[2]) / (length * ql);
        if (cosine > bestCos) bestCos = cosine, best = c;
    }
    return best;
}

// Picking agrees with the picture: over a grid of pixels in random views of
// a mixed cube, with a layer part way through its turn, both looks, a pixel
// that picks a sticker shows that sticker's colour (or the black rim or gap
// around it), and a pixel that picks nothing shows the background.
TEST_F(ViewInGl, PickedStickersAreTheColoursOnTheScreen) {
    std::mt19937 rng(5);
    mixCube(rng, 40);
    int agree = 0, rim = 0, disagree = 0, background = 0;
    for (int trial = 0; trial < 16; ++trial) {
        const Look& look = trial % 2 ? kClearLook : kPlainLook;
        const ViewAngles a = randomAngles(rng, false);
        const TurnShown t = {1 + static_cast<int>(rng() % 9), rng() % 2 ? 1 : -1,
                             static_cast<int>(rng() % 80) + 5};
        const View view = makeView(look, a, t, kWidth, kHeight);
        drawWithMatrices(look, view);
        // No marker and no grid here: only the cube is on the picture.
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadMatrixd(view.cube.m);
        drawCube(look, t.layer, t.direction, t.angle);
        const Picture pic = readPicture(gl);
        for (int y = 2; y < kHeight; y += 5)
            for (int x = 2; x < kWidth; x += 5) {
                const StickerPick pick = pickSticker(view, x + 0.5, y + 0.5);
                const int shown = colourIn(look, pic.at(x, kHeight - 1 - y));
                if (!pick.hit) {
                    EXPECT_EQ(shown, 0) << "background at " << x << "," << y;
                    ++background;
                    continue;
                }
                if (pick.face == 0) continue; // an inner side, seen mid-turn
                const int colour =
                    CubieArray[pick.cubie[0]][pick.cubie[1]][pick.cubie[2]][pick.side];
                if (shown == colour)
                    ++agree;
                else if (shown == 0)
                    ++rim;
                else
                    ++disagree;
            }
    }
    std::printf(
        "picked pixels: %d in the sticker's colour, %d on its rim, %d other, %d background\n",
        agree, rim, disagree, background);
    EXPECT_GT(agree, 3000);
    // Only pixels cut by a sticker's edge may show a neighbour.
    EXPECT_LT(disagree * 200, agree);
}

// ---- the looks -------------------------------------------------------------

void shoot(const char* name) {
    const char* dir = std::getenv("CUBE_LOOK_SHOTS");
    if (dir == nullptr) return;
    const Picture pic = readPicture(gl);
    const std::string path = std::string(dir) + "/" + name + ".ppm";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return;
    std::fprintf(f, "P6\n%d %d\n255\n", pic.width, pic.height);
    for (int y = pic.height - 1; y >= 0; --y) std::fwrite(pic.at(0, y), 3, size_t(pic.width), f);
    std::fclose(f);
}

// The window position of a sticker's centre at rest.
void stickerPixel(const View& view, int face, int row, int col, int* x, int* y) {
    int cubie[3], side;
    faceletCubie(face, row, col, cubie, &side);
    double p[3] = {cubie[0] - 2.0, cubie[1] - 2.0, cubie[2] - 2.0};
    const double out = view.reach;
    p[side == 2 || side == 4   ? 0
      : side == 5 || side == 6 ? 1
                               : 2] += side == 2 || side == 3 || side == 6 ? out : -out;
    double wx, wy;
    projectPoint(view, view.cube, p, &wx, &wy);
    *x = static_cast<int>(wx), *y = kHeight - 1 - static_cast<int>(wy);
}

// The clear look at rest, from the start: the top, front-left and
// front-right faces show (faces 5, 1, 4), every sticker in its own colour at
// full strength, white on top, green and red at the front, black gaps between
// the stickers; the cube fills more of the window than in the plain look.
TEST_F(ViewInGl, TheClearLookShowsThreeFacesInFullColourWithGaps) {
    const ViewAngles start = {0.0f, 0.0f, 0, 0};
    const TurnShown rest = {1, 1, 0};
    int covered[2];
    for (const Look* look : {&kPlainLook, &kClearLook}) {
        const View view = makeView(*look, start, rest, kWidth, kHeight);
        drawWithMatrices(*look, view);
        shoot(look == &kClearLook ? "clear_start" : "plain_start");
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadMatrixd(view.cube.m);
        drawCube(*look, 1, 1, 0);
        const Picture pic = readPicture(gl);
        covered[look == &kClearLook] = pic.nonBlackPixels();
        for (int face : {5, 1, 4})
            for (int row = 1; row <= 3; ++row)
                for (int col = 1; col <= 3; ++col) {
                    int x, y;
                    stickerPixel(view, face, row, col, &x, &y);
                    const unsigned char* p = pic.at(x, y);
                    const int brightest = std::max(p[0], std::max(p[1], p[2]));
                    SCOPED_TRACE("face " + std::to_string(face) + " " + std::to_string(row) + " " +
                                 std::to_string(col));
                    EXPECT_EQ(colourIn(*look, p), FaceletGrid[face][row][col]);
                    if (look == &kClearLook)
                        EXPECT_GE(brightest, 235);
                    else
                        EXPECT_LE(brightest, 103); // the plain look as it always was
                }
        if (look == &kClearLook) {
            int x, y;
            stickerPixel(view, 5, 2, 2, &x, &y);
            const unsigned char* top = pic.at(x, y);
            EXPECT_TRUE(top[0] >= 240 && top[1] >= 240 && top[2] >= 240) << "top centre not white";
            // A real cube's scheme: white on top, green front-left, red front-right.
            const double* front = look->palette[FaceletGrid[1][2][2]];
            const double* right = look->palette[FaceletGrid[4][2][2]];
            EXPECT_TRUE(front[1] == 1.0 && front[0] == 0.0) << "front not green";
            EXPECT_TRUE(right[0] == 1.0 && right[1] == 0.0) << "right not red";
            // Black between the top face's centre sticker and each neighbour.
            const int neighbours[][2] = {{1, 2}, {3, 2}, {2, 1}, {2, 3}};
            for (const auto& next : neighbours) {
                int nx, ny;
                stickerPixel(view, 5, next[0], next[1], &nx, &ny);
                int dark = 0;
                for (int i = 1; i < 40; ++i) {
                    const unsigned char* q = pic.at(x + (nx - x) * i / 40, y + (ny - y) * i / 40);
                    dark += q[0] < 30 && q[1] < 30 && q[2] < 30;
                }
                EXPECT_GE(dark, 2) << "no gap towards " << next[0] << " " << next[1];
            }
        }
    }
    // The clear cube covers well over twice the plain one's pixels.
    EXPECT_GT(covered[1], covered[0] * 2);
}

// Opposite faces carry white and yellow, red and orange, blue and green, and
// the six colours are told apart on the screen from two opposite views.
TEST_F(ViewInGl, TheClearLooksColoursAreARealCubesScheme) {
    const double(*pal)[3] = kClearLook.palette;
    const auto is = [&](int c, double r, double g, double b) {
        return std::fabs(pal[c][0] - r) < 0.3 && std::fabs(pal[c][1] - g) < 0.3 &&
               std::fabs(pal[c][2] - b) < 0.3;
    };
    // Opposite faces carry colours {1, 3}, {2, 4}, {5, 6} at the start.
    EXPECT_TRUE(is(6, 1, 1, 1) && is(5, 1, 1, 0)) << "white opposite yellow";
    EXPECT_TRUE(is(2, 1, 0, 0) && is(4, 1, 0.5, 0)) << "red opposite orange";
    EXPECT_TRUE(is(1, 0, 0.3, 1) && is(3, 0, 1, 0.2)) << "blue opposite green";
    for (const ViewAngles& a : {ViewAngles{0.0f, 0.0f, 0, 0}, ViewAngles{0.0f, 0.0f, 180, 180}}) {
        const View view = makeView(kClearLook, a, {1, 1, 0}, kWidth, kHeight);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixd(view.projection.m);
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixd(view.cube.m);
        drawCube(kClearLook, 1, 1, 0);
        const Picture pic = readPicture(gl);
        int seen = 0;
        for (int face = 1; face <= 6; ++face) {
            int x, y;
            stickerPixel(view, face, 2, 2, &x, &y);
            if (pickSticker(view, x + 0.5, kHeight - 1 - y + 0.5).face != face) continue;
            EXPECT_EQ(colourIn(kClearLook, pic.at(x, y)), kStartFaceColour[face])
                << "face " << face;
            ++seen;
        }
        EXPECT_EQ(seen, 3);
    }
}

// The plain look drawn by name is the drawing the program has always made.
TEST_F(ViewInGl, ThePlainLookIsTheDefaultDrawing) {
    std::mt19937 rng(8);
    mixCube(rng, 20);
    for (int trial = 0; trial < 6; ++trial) {
        const ViewAngles a = randomAngles(rng, true);
        const TurnShown t = {1 + trial, trial % 2 ? 1 : -1, trial * 15};
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glScene(kPlainLook, a);
        glCube(a);
        drawCube(t.layer, t.direction, t.angle);
        const Picture before = readPicture(gl);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawCube(kPlainLook, t.layer, t.direction, t.angle);
        EXPECT_TRUE(readPicture(gl).rgb == before.rgb);
    }
    // Mid-solve pictures for a person to look at.
    const View mid = makeView(kClearLook, {0.0f, 0.0f, 0, 0}, {9, 1, 31}, kWidth, kHeight);
    drawWithMatrices(kClearLook, mid);
    shoot("clear_mixed_turning");
    const View midPlain = makeView(kPlainLook, {0.0f, 0.0f, 0, 0}, {9, 1, 31}, kWidth, kHeight);
    drawWithMatrices(kPlainLook, midPlain);
    shoot("plain_mixed_turning");
}

} // namespace
