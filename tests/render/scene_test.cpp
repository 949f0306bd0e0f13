// The cube, the turning layer, the marker, the grid and the sphere cache,
// drawn into a real GL context with the program's own GL state and read back.
#include "render/scene.h"

#include "app/window.h"
#include "model/cube.h"
#include "tests/render/scene_gl_context.h"

#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr int kSize = 256;
SceneGlContext gl;

// Where the stickers of each face are, as the cube model numbers them: face
// f's sticker (row r, col c) is one side of cubie (x, y, z), where the
// coordinate `fixedAxis` is `fixedValue`, the row gives the coordinate
// `rowAxis` and the column the coordinate `colAxis`; `normal` points out of
// the face.
struct FaceLayout {
    int fixedAxis, fixedValue, rowAxis, colAxis;
    double normal[3];
};
constexpr FaceLayout kFaces[7] = {
    {0, 0, 0, 0, {0, 0, 0}},  {2, 3, 0, 1, {0, 0, 1}}, // 1: z = 3, CubieArray[r][c][3], side +z
    {0, 1, 1, 2, {-1, 0, 0}},                          // 2: x = 1, CubieArray[1][r][c], side -x
    {2, 1, 0, 1, {0, 0, -1}},                          // 3: z = 1, CubieArray[r][c][1], side -z
    {0, 3, 1, 2, {1, 0, 0}},                           // 4: x = 3, CubieArray[3][r][c], side +x
    {1, 3, 0, 2, {0, 1, 0}},                           // 5: y = 3, CubieArray[r][3][c], side +y
    {1, 1, 0, 2, {0, -1, 0}},                          // 6: y = 1, CubieArray[r][1][c], side -y
};

// Two views that between them show every face: from above the (+x, +z)
// edge, and from below the (-x, -z) edge.
struct View {
    double yaw, pitch;
    int faces[3];
};
constexpr View kViews[2] = {{-45.0, 30.0, {1, 4, 5}}, {135.0, -30.0, {2, 3, 6}}};

// Model units, the cube's centre 10 units in front of the eye; the light
// where the program puts it, at the centre of the scene.
void setView(double yaw, double pitch) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslated(0.0, 0.0, -10.0);
    const GLfloat light[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glLightfv(GL_LIGHT1, GL_POSITION, light);
    glRotated(pitch, 1.0, 0.0, 0.0);
    glRotated(yaw, 0.0, 1.0, 0.0);
}

// Window position of a model point under the current matrices.
void project(const double p[3], int* wx, int* wy) {
    GLdouble model[16], proj[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, proj);
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLdouble x, y, z;
    gluProject(p[0], p[1], p[2], model, proj, viewport, &x, &y, &z);
    *wx = int(x + 0.5);
    *wy = int(y + 0.5);
}

// The centre of face f's sticker (r, c) on the surface of the cube.
void stickerCentre(int f, int r, int c, double out[3]) {
    const FaceLayout& face = kFaces[f];
    int pos[3] = {0, 0, 0};
    pos[face.fixedAxis] = face.fixedValue;
    pos[face.rowAxis] = r;
    pos[face.colAxis] = c;
    for (int i = 0; i < 3; ++i) out[i] = (pos[i] - 2) + 0.5 * face.normal[i];
}

// Colours seen at the centres of the stickers of the view's faces, as
// seen[face][row][col]. The matrices of `view` must be current.
void readStickers(const View& view, int seen[7][4][4]) {
    const ScenePicture pic = readScenePicture(gl);
    for (int f : view.faces) {
        for (int r = 1; r <= 3; ++r) {
            for (int c = 1; c <= 3; ++c) {
                double p[3];
                stickerCentre(f, r, c, p);
                int x, y;
                project(p, &x, &y);
                seen[f][r][c] = cubieColourOf(pic.at(x, y));
            }
        }
    }
}

// Draws the cube with `drawing` from both views and collects every sticker.
template <typename Draw> void photographCube(Draw drawing, int seen[7][4][4]) {
    std::memset(seen, 0, sizeof(int) * 7 * 4 * 4);
    for (const View& view : kViews) {
        setView(view.yaw, view.pitch);
        drawing();
        readStickers(view, seen);
    }
}

void expectStickersAre(const int seen[7][4][4], const int want[7][4][4], const char* what) {
    for (int f = 1; f <= 6; ++f)
        for (int r = 1; r <= 3; ++r)
            for (int c = 1; c <= 3; ++c)
                EXPECT_EQ(seen[f][r][c], want[f][r][c])
                    << what << ": face " << f << " row " << r << " col " << c;
}

// A fixed pseudo-random sequence of turns, so every run sees the same cubes.
unsigned mixState = 12345;
void mixCube(int turns) {
    for (int i = 0; i < turns; ++i) {
        mixState = mixState * 1103515245u + 12345u;
        const int layer = int((mixState >> 16) % 9) + 1;
        const int direction = (mixState >> 8) & 1 ? +1 : -1;
        turnLayer(layer, direction);
    }
}

void drawStillCubies() {
    for (int z = 1; z <= 3; ++z)
        for (int y = 1; y <= 3; ++y)
            for (int x = 1; x <= 3; ++x) drawCubie(x, y, z, CubieArray);
}

ScenePicture pictureOf(void (*drawing)(int, int, int), int layer, int direction, int angle) {
    setView(kViews[0].yaw, kViews[0].pitch);
    drawing(layer, direction, angle);
    return readScenePicture(gl);
}

// The program's own view of the scene: 15 units away, 2 above the centre.
void setProgramView() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslated(0.0, -2.0, -15.0);
    const GLfloat light[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glLightfv(GL_LIGHT1, GL_POSITION, light);
}

int colourAt(const double at[3]) {
    int x, y;
    project(at, &x, &y);
    const ScenePicture pic = readScenePicture(gl);
    return cubieColourOf(pic.at(x, y));
}

constexpr int kGreen = 4; // the marker is drawn in CubieColourTable's green

class SceneDrawing : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_TRUE(openSceneGl(gl, kSize, kSize)) << SDL_GetError(); }
    static void TearDownTestSuite() {
        clearSphereCache();
        // SDL's video stays up: taking it down unloads the GL driver, whose
        // own caches would then show up as leaks no suppression can name.
        closeSceneGl(gl);
    }
    void SetUp() override {
        ASSERT_NE(gl.context, nullptr);
        initCubieArray();
        initFaceletGrid();
        selectedLayer = 1;
        gridVisible = 1;
        setupGL();
        resizeView(kSize, kSize);
    }
};

TEST_F(SceneDrawing, StartCubeShowsEachFacesColourOnEverySticker) {
    int seen[7][4][4];
    photographCube([] { drawCube(1, +1, 0); }, seen);
    expectStickersAre(seen, FaceletGrid, "start cube");
    // Side s of every cubie shows colour s at start: red (side 2) on +x,
    // white (side 6) on +y.
    EXPECT_EQ(seen[4][2][2], 2) << "face x = 3 should be red";
    EXPECT_EQ(seen[5][2][2], 6) << "face y = 3 should be white";
    for (int f = 1; f <= 6; ++f) EXPECT_EQ(seen[f][1][1], kStartFaceColour[f]) << "face " << f;
}

TEST_F(SceneDrawing, StickersFollowTheCubeOverManyMixes) {
    for (int round = 0; round < 8; ++round) {
        mixCube(7);
        int seen[7][4][4];
        photographCube([] { drawCube(1, +1, 0); }, seen);
        expectStickersAre(seen, FaceletGrid, "mixed cube");
        if (HasFailure()) break;
    }
}

TEST_F(SceneDrawing, CubieDrawsTheArrayItIsGivenAndKeepsTheLastColourForUnknownValues) {
    static int cubies[4][4][4][7] = {};
    // Sides in drawing order 2, 4, 6, 5, 3, 1; side 6 holds no colour and so
    // takes side 4's.
    int* sides = cubies[3][2][2];
    sides[2] = 5;
    sides[4] = 3;
    sides[6] = 0;
    sides[5] = 1;
    sides[3] = 4;
    sides[1] = 6;
    setView(kViews[0].yaw, kViews[0].pitch);
    drawCubie(3, 2, 2, cubies);
    const double plusX[3] = {1.5, 0.0, 0.0}, plusY[3] = {1.0, 0.5, 0.0}, plusZ[3] = {1.0, 0.0, 0.5};
    EXPECT_EQ(colourAt(plusX), 5);
    EXPECT_EQ(colourAt(plusY), 3);
    EXPECT_EQ(colourAt(plusZ), 4);
}

TEST_F(SceneDrawing, AngleZeroIsTheCubeAtRestForEveryLayerAndDirection) {
    mixCube(20);
    setView(kViews[0].yaw, kViews[0].pitch);
    drawStillCubies();
    const ScenePicture rest = readScenePicture(gl);
    ASSERT_GT(rest.nonBlackPixels(), kSize * kSize / 10);
    for (int layer = 1; layer <= 9; ++layer) {
        for (int direction : {+1, -1}) {
            const ScenePicture pic = pictureOf(drawCube, layer, direction, 0);
            EXPECT_EQ(pic.differingPixels(rest), 0)
                << "layer " << layer << " direction " << direction;
        }
    }
}

TEST_F(SceneDrawing, OppositeDirectionWithNegatedAngleIsTheSamePicture) {
    mixCube(20);
    const ScenePicture rest = pictureOf(drawCube, 1, +1, 0);
    for (int layer = 1; layer <= 9; ++layer) {
        const ScenePicture forward = pictureOf(drawCube, layer, +1, 30);
        const ScenePicture backward = pictureOf(drawCube, layer, -1, -30);
        EXPECT_EQ(forward.differingPixels(backward), 0) << "layer " << layer;
        // The layer did turn.
        EXPECT_GT(forward.differingPixels(rest), 200) << "layer " << layer;
    }
}

TEST_F(SceneDrawing, QuarterTurnPictureIsTheTurnedCube) {
    mixCube(20);
    for (int layer = 1; layer <= 9; ++layer) {
        for (int direction : {+1, -1}) {
            static int drawLayer, drawDirection;
            drawLayer = layer;
            drawDirection = direction;
            int seen[7][4][4];
            photographCube([] { drawCube(drawLayer, drawDirection, 90); }, seen);
            turnLayer(layer, direction);
            expectStickersAre(seen, FaceletGrid, "layer drawn turned by 90 degrees");
            turnLayer(layer, -direction);
            if (HasFailure()) {
                ADD_FAILURE() << "layer " << layer << " direction " << direction;
                return;
            }
        }
    }
}

TEST_F(SceneDrawing, LayersOutsideOneToNineDrawNothing) {
    for (int layer : {0, 10, -1, 11, 100}) {
        for (int direction : {+1, -1}) {
            for (int angle : {0, 30, -61}) {
                const ScenePicture pic = pictureOf(drawCube, layer, direction, angle);
                EXPECT_EQ(pic.nonBlackPixels(), 0)
                    << "layer " << layer << " direction " << direction << " angle " << angle;
            }
        }
    }
}

TEST_F(SceneDrawing, FloorGridShowsOnlyWhileVisible) {
    setProgramView();
    drawFloorGrid();
    const ScenePicture shown = readScenePicture(gl);
    // The grid lies below the eye: lines in the lower half, none above the
    // horizon, and pink (more red than green, green and blue alike).
    int lower = 0, upper = 0, pink = 0;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const unsigned char* p = shown.at(x, y);
            if (!(p[0] | p[1] | p[2])) continue;
            (y < kSize / 2 ? lower : upper)++;
            if (p[0] > p[1] + 20 && std::abs(p[1] - p[2]) < 8) ++pink;
        }
    }
    EXPECT_GT(lower, 1000);
    EXPECT_EQ(upper, 0);
    EXPECT_GT(pink, lower * 9 / 10);

    gridVisible = 0;
    setProgramView();
    drawFloorGrid();
    EXPECT_EQ(readScenePicture(gl).nonBlackPixels(), 0);
}

TEST_F(SceneDrawing, MarkerSitsBesideTheSelectedLayer) {
    // Beside the x slices in front of +z, the z slices outside +x, the y
    // slices off the (+x, +z) edge at their height.
    const double where[10][3] = {{0, 0, 0},     {-1, -1, 1.7}, {0, -1, 1.7}, {1, -1, 1.7},
                                 {1.7, -1, -1}, {1.7, -1, 0},  {1.7, -1, 1}, {2, -1, 2},
                                 {2, 0, 2},     {2, 1, 2}};
    for (int layer = 1; layer <= 9; ++layer) {
        selectedLayer = short(layer);
        setView(kViews[0].yaw, kViews[0].pitch);
        drawLayerMarker();
        EXPECT_EQ(colourAt(where[layer]), kGreen) << "layer " << layer;
        // Only a small sphere: about pi * r^2 of the picture.
        const int drawn = readScenePicture(gl).nonBlackPixels();
        EXPECT_GT(drawn, 10) << "layer " << layer;
        EXPECT_LT(drawn, 400) << "layer " << layer;
    }
}

TEST_F(SceneDrawing, SphereCacheKeepsOneEntryPerRadius) {
    clearSphereCache();
    EXPECT_EQ(sphereCacheSize(), 0);
    setView(0.0, 0.0);
    glColor3d(0.0, 1.0, 0.0);
    solidSphere(0.5);
    const ScenePicture compiled = readScenePicture(gl);
    EXPECT_EQ(sphereCacheSize(), 1);
    setView(0.0, 0.0);
    glColor3d(0.0, 1.0, 0.0);
    solidSphere(0.5);
    const ScenePicture called = readScenePicture(gl);
    EXPECT_EQ(sphereCacheSize(), 1);
    // Compiled-and-drawn and drawn from the list give the same sphere.
    EXPECT_GT(compiled.nonBlackPixels(), 500);
    EXPECT_EQ(compiled.differingPixels(called), 0);

    solidSphere(0.25);
    EXPECT_EQ(sphereCacheSize(), 2);
    solidSphere(0.5);
    solidSphere(0.25);
    EXPECT_EQ(sphereCacheSize(), 2);
}

TEST_F(SceneDrawing, MarkerDrawsAgainAfterTheCacheIsEmptied) {
    const double at[3] = {-1, -1, 1.7};
    clearSphereCache();
    setView(kViews[0].yaw, kViews[0].pitch);
    drawLayerMarker();
    ASSERT_EQ(colourAt(at), kGreen);
    ASSERT_EQ(sphereCacheSize(), 1);
    clearSphereCache();
    EXPECT_EQ(sphereCacheSize(), 0);
    setView(kViews[0].yaw, kViews[0].pitch);
    drawLayerMarker();
    EXPECT_EQ(colourAt(at), kGreen);
    EXPECT_EQ(sphereCacheSize(), 1);
}

TEST_F(SceneDrawing, MarkerDrawsInANewContext) {
    const double at[3] = {-1, -1, 1.7};
    setView(kViews[0].yaw, kViews[0].pitch);
    drawLayerMarker();
    ASSERT_EQ(colourAt(at), kGreen);

    // The context is made anew, as F1 does; its setup forgets the old lists.
    SDL_GL_MakeCurrent(gl.window, nullptr);
    SDL_GL_DeleteContext(gl.context);
    gl.context = SDL_GL_CreateContext(gl.window);
    ASSERT_NE(gl.context, nullptr) << SDL_GetError();
    SDL_GL_MakeCurrent(gl.window, gl.context);
    glDrawBuffer(GL_BACK);
    glReadBuffer(GL_BACK);
    setupGL();
    resizeView(kSize, kSize);

    setView(kViews[0].yaw, kViews[0].pitch);
    drawLayerMarker();
    EXPECT_EQ(colourAt(at), kGreen);
    EXPECT_EQ(sphereCacheSize(), 1);
}

} // namespace
