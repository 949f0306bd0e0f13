// The cube drawn in GL and read back: the sides left out are never seen.
#include "render/scene.h"

#include "app/window.h"
#include "model/cube.h"
#include "tests/render/gl_window.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int kSize = 256;
using Suite = GlSuite<kSize, kSize>;
GlWindow& gl = Suite::gl;

// The cube's centre 10 in front of the eye, the light where the program has it.
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

// Leaving out unseen sides changes no pixel, at rest or mid-turn, over a telling clear colour.
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
