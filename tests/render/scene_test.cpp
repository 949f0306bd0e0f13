// The cube, at rest and with a layer turned, drawn in GL and read back.
#include "render/scene.h"

#include "app/window.h"
#include "model/cube.h"
#include "tests/render/gl_window.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

constexpr int kSize = 256;
using Suite = GlSuite<kSize, kSize>;
GlWindow& gl = Suite::gl;

// Where face f's sticker (row, col) is: one coordinate fixed, the row and the
// column giving the others; the normal out of the face.
struct FaceLayout {
    int fixedAxis, fixedValue, rowAxis, colAxis;
    double normal[3];
};
constexpr FaceLayout kFaces[7] = {
    {0, 0, 0, 0, {0, 0, 0}},  {2, 3, 0, 1, {0, 0, 1}}, {0, 1, 1, 2, {-1, 0, 0}},
    {2, 1, 0, 1, {0, 0, -1}}, {0, 3, 1, 2, {1, 0, 0}}, {1, 3, 0, 2, {0, 1, 0}},
    {1, 1, 0, 2, {0, -1, 0}},
};

// Two views that between them show every face.
struct View {
    double yaw, pitch;
    int faces[3];
};
constexpr View kViews[2] = {{-45.0, 30.0, {1, 4, 5}}, {135.0, -30.0, {2, 3, 6}}};

// The cube's centre `away` in front of the eye, the light where the program has it.
void setView(double yaw, double pitch, double up = 0.0, double away = 10.0) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslated(0.0, -up, -away);
    const GLfloat light[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glLightfv(GL_LIGHT1, GL_POSITION, light);
    glRotated(pitch, 1.0, 0.0, 0.0);
    glRotated(yaw, 0.0, 1.0, 0.0);
}

// The colour at every sticker's centre, seen[face][row][col], from both views.
template <typename Draw> void photographCube(Draw drawing, int seen[7][4][4]) {
    std::memset(seen, 0, sizeof(int) * 7 * 4 * 4);
    for (const View& view : kViews) {
        setView(view.yaw, view.pitch);
        drawing();
        const Picture pic = readPicture(gl);
        for (int f : view.faces)
            for (int r = 1; r <= 3; ++r)
                for (int c = 1; c <= 3; ++c) {
                    const FaceLayout& face = kFaces[f];
                    int pos[3] = {0, 0, 0}, x, y;
                    pos[face.fixedAxis] = face.fixedValue;
                    pos[face.rowAxis] = r;
                    pos[face.colAxis] = c;
                    double p[3];
                    for (int i = 0; i < 3; ++i) p[i] = (pos[i] - 2) + 0.5 * face.normal[i];
                    projectPoint(p, &x, &y);
                    seen[f][r][c] = cubieColourOf(pic.at(x, y));
                }
    }
}

void expectStickersAre(const int seen[7][4][4], const int want[7][4][4], const char* what) {
    for (int f = 1; f <= 6; ++f)
        for (int r = 1; r <= 3; ++r)
            for (int c = 1; c <= 3; ++c)
                EXPECT_EQ(seen[f][r][c], want[f][r][c])
                    << what << ": face " << f << " row " << r << " col " << c;
}

// A fixed pseudo-random sequence of turns.
void mixCube(int turns) {
    static unsigned state = 12345;
    for (int i = 0; i < turns; ++i) {
        state = state * 1103515245u + 12345u;
        turnLayer(int((state >> 16) % 9) + 1, (state >> 8) & 1 ? +1 : -1);
    }
}

class SceneDrawing : public Suite {
  protected:
    void SetUp() override {
        Suite::SetUp();
        if (HasFatalFailure()) return;
        initCubieArray();
        initFaceletGrid();
        setupGL();
        resizeView(kSize, kSize);
    }
};

// The start cube's picture; a mixed cube with any layer drawn turned by 90
// degrees shows the cube after that turn.
TEST_F(SceneDrawing, CubePictureIsTheCubeAndATurnedLayerTheTurnedCube) {
    int seen[7][4][4];
    photographCube([] { drawCube(1, +1, 0); }, seen);
    expectStickersAre(seen, FaceletGrid, "start cube");
    mixCube(20);
    for (int layer = 1; layer <= 9; ++layer)
        for (int direction : {+1, -1}) {
            photographCube([&] { drawCube(layer, direction, 90); }, seen);
            turnLayer(layer, direction);
            SCOPED_TRACE("layer " + std::to_string(layer) + " direction " +
                         std::to_string(direction));
            expectStickersAre(seen, FaceletGrid, "layer drawn turned by 90 degrees");
            turnLayer(layer, -direction);
            if (HasFailure()) return;
        }
}

// Leaving out the unseen sides changes no pixel, cubie by cubie and with any
// layer part way through a turn, over a clear colour a hole would show.
TEST_F(SceneDrawing, UnseenSidesLeftOutChangeNoPixel) {
    mixCube(25);
    glClearColor(0.3f, 0.4f, 0.5f, 0.0f);
    const auto pictureOf = [](int unseen, double yaw, double pitch, auto drawing) {
        drawUnseenSides = unseen;
        setView(yaw, pitch);
        drawing();
        drawUnseenSides = 0;
        return readPicture(gl).rgb;
    };
    const auto allCubies = [] {
        for (int z = 1; z <= 3; ++z)
            for (int y = 1; y <= 3; ++y)
                for (int x = 1; x <= 3; ++x) drawCubie(x, y, z, CubieArray);
    };
    for (double yaw : {-45.0, 20.0, 135.0, 250.0})
        for (double pitch : {-35.0, 30.0}) {
            SCOPED_TRACE("yaw " + std::to_string(yaw) + " pitch " + std::to_string(pitch));
            EXPECT_TRUE(pictureOf(1, yaw, pitch, allCubies) == pictureOf(0, yaw, pitch, allCubies));
            for (int layer = 1; layer <= 9; ++layer)
                for (int angle : {0, 30, 60})
                    for (int direction : {+1, -1}) {
                        const auto turned = [&] { drawCube(layer, direction, angle); };
                        EXPECT_TRUE(pictureOf(1, yaw, pitch, turned) ==
                                    pictureOf(0, yaw, pitch, turned))
                            << "layer " << layer << " angle " << angle << " direction "
                            << direction;
                    }
        }
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f); // the program's own
}

} // namespace
