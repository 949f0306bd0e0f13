// The window layer: SDL keys into the program's key codes, events into the key
// table and the flags, the view set up on resize, the fixed GL state, and a
// real window opened, closed and opened again.
#include "app/window.h"

#include "render/scene.h"
#include "tests/render/scene_gl_context.h"

#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

SDL_Event keyEvent(Uint32 type, SDL_Keycode sym, int repeat = 0) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = Uint8(repeat);
    e.key.keysym.sym = sym;
    return e;
}

SDL_Event windowEvent(Uint8 what, int data1 = 0, int data2 = 0) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_WINDOWEVENT;
    e.window.event = what;
    e.window.data1 = data1;
    e.window.data2 = data2;
    return e;
}

int keysHeld() {
    int n = 0;
    for (unsigned char k : keyDown) n += k != 0;
    return n;
}

void resetWindowState() {
    std::memset(keyDown, 0, sizeof keyDown);
    active = 1;
    gridVisible = 1;
    quitPosted = 0;
    quitCode = 0;
}

// The keys the program reacts to and the codes it knows them by.
struct KeyCase {
    SDL_Keycode sdl;
    int code;
};
constexpr KeyCase kProgramKeys[] = {
    {SDLK_ESCAPE, 0x1B}, {SDLK_F1, 0x70}, {SDLK_LEFT, 0x25}, {SDLK_UP, 0x26}, {SDLK_RIGHT, 0x27},
    {SDLK_DOWN, 0x28},   {SDLK_0, 0x30},  {SDLK_1, 0x31},    {SDLK_2, 0x32},  {SDLK_3, 0x33},
    {SDLK_4, 0x34},      {SDLK_5, 0x35},  {SDLK_a, 0x41},    {SDLK_b, 0x42},  {SDLK_d, 0x44},
    {SDLK_g, 0x47},      {SDLK_l, 0x4C},  {SDLK_o, 0x4F},    {SDLK_p, 0x50},  {SDLK_r, 0x52},
    {SDLK_s, 0x53},      {SDLK_u, 0x55},  {SDLK_v, 0x56},    {SDLK_w, 0x57},
};

TEST(KeyTranslation, ProgramKeysGetTheirCodes) {
    for (const KeyCase& k : kProgramKeys)
        EXPECT_EQ(translateKey(k.sdl), k.code) << SDL_GetKeyName(k.sdl);
    // Every letter and digit, not only those the program uses.
    for (int i = 0; i < 26; ++i) EXPECT_EQ(translateKey(SDLK_a + i), 'A' + i);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(translateKey(SDLK_0 + i), '0' + i);
}

TEST(KeyTranslation, KeysWithoutACodeGiveZeroAndLeaveTheTableAlone) {
    resetWindowState();
    for (SDL_Keycode k : {SDLK_UNKNOWN, SDLK_CAPSLOCK, SDLK_F13, SDLK_MENU, SDLK_AUDIOPLAY}) {
        EXPECT_EQ(translateKey(k), 0) << SDL_GetKeyName(k);
        handleEvent(keyEvent(SDL_KEYDOWN, k));
    }
    EXPECT_EQ(keysHeld(), 0);
    EXPECT_EQ(gridVisible, 1);
}

TEST(EventHandling, KeyDownAndUpSetAndClearOnlyThatKey) {
    resetWindowState();
    for (const KeyCase& k : kProgramKeys) {
        handleEvent(keyEvent(SDL_KEYDOWN, k.sdl));
        EXPECT_EQ(keyDown[k.code], 1) << SDL_GetKeyName(k.sdl);
        EXPECT_EQ(keysHeld(), 1) << SDL_GetKeyName(k.sdl);
        handleEvent(keyEvent(SDL_KEYUP, k.sdl));
        EXPECT_EQ(keysHeld(), 0) << SDL_GetKeyName(k.sdl);
    }
    // Held together, released one by one.
    handleEvent(keyEvent(SDL_KEYDOWN, SDLK_w));
    handleEvent(keyEvent(SDL_KEYDOWN, SDLK_LEFT));
    EXPECT_EQ(keysHeld(), 2);
    handleEvent(keyEvent(SDL_KEYUP, SDLK_w));
    EXPECT_EQ(keyDown[0x25], 1);
    EXPECT_EQ(keysHeld(), 1);
}

TEST(EventHandling, GTogglesTheGridOnEveryKeyDownRepeatsIncluded) {
    resetWindowState();
    handleEvent(keyEvent(SDL_KEYDOWN, SDLK_g));
    EXPECT_EQ(gridVisible, 0);
    // Auto-repeat while G is held.
    handleEvent(keyEvent(SDL_KEYDOWN, SDLK_g, 1));
    EXPECT_EQ(gridVisible, 1);
    handleEvent(keyEvent(SDL_KEYDOWN, SDLK_g, 1));
    EXPECT_EQ(gridVisible, 0);
    handleEvent(keyEvent(SDL_KEYUP, SDLK_g));
    EXPECT_EQ(gridVisible, 0);
    EXPECT_EQ(keyDown['G'], 0);
    // Pressed twice: back as it was.
    const int before = gridVisible;
    for (int press = 0; press < 2; ++press) {
        handleEvent(keyEvent(SDL_KEYDOWN, SDLK_g));
        handleEvent(keyEvent(SDL_KEYUP, SDLK_g));
    }
    EXPECT_EQ(gridVisible, before);
    // Other keys leave it alone.
    handleEvent(keyEvent(SDL_KEYDOWN, SDLK_h));
    EXPECT_EQ(gridVisible, before);
}

TEST(EventHandling, MinimiseStopsDrawingAndRestoreResumesIt) {
    resetWindowState();
    handleEvent(windowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
    EXPECT_EQ(active, 1) << "losing the focus is not minimising";
    handleEvent(windowEvent(SDL_WINDOWEVENT_MINIMIZED));
    EXPECT_EQ(active, 0);
    handleEvent(windowEvent(SDL_WINDOWEVENT_RESTORED));
    EXPECT_EQ(active, 1);
    handleEvent(windowEvent(SDL_WINDOWEVENT_MINIMIZED));
    handleEvent(windowEvent(SDL_WINDOWEVENT_MAXIMIZED));
    EXPECT_EQ(active, 1);
}

TEST(EventHandling, CloseAndQuitPostAQuitWithCodeZero) {
    resetWindowState();
    quitCode = 7;
    handleEvent(windowEvent(SDL_WINDOWEVENT_CLOSE));
    EXPECT_EQ(quitPosted, 1);
    EXPECT_EQ(quitCode, 0);

    resetWindowState();
    SDL_Event quit;
    std::memset(&quit, 0, sizeof quit);
    quit.type = SDL_QUIT;
    handleEvent(quit);
    EXPECT_EQ(quitPosted, 1);
    EXPECT_EQ(quitCode, 0);
    EXPECT_EQ(keysHeld(), 0);
}

// ---- with a GL context -----------------------------------------------------

SceneGlContext gl;
constexpr int kSize = 128;

class WindowGl : public ::testing::Test {
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
        SDL_GL_MakeCurrent(gl.window, gl.context);
        resetWindowState();
    }
};

// The perspective matrix for a vertical field of view of 45 degrees, the
// given aspect, near plane 0.5 and far plane 50.
void expectPerspective(double aspect) {
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    const double f = 1.0 / std::tan(22.5 * M_PI / 180.0);
    const double n = 0.5, far = 50.0;
    const double want[16] = {f / aspect,
                             0,
                             0,
                             0,
                             0,
                             f,
                             0,
                             0,
                             0,
                             0,
                             (far + n) / (n - far),
                             -1,
                             0,
                             0,
                             2 * far * n / (n - far),
                             0};
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(m[i], want[i], 1e-6) << "element " << i;
}

TEST_F(WindowGl, SizeEventSetsTheViewportAndThePerspective) {
    glMatrixMode(GL_PROJECTION);
    handleEvent(windowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 300, 200));
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], 300);
    EXPECT_EQ(viewport[3], 200);
    EXPECT_EQ(viewportWidth, 300);
    EXPECT_EQ(viewportHeight, 200);
    expectPerspective(300.0 / 200.0);

    // The model-view matrix is selected again, as the identity.
    GLint mode;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLdouble mv[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, mv);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(mv[i], i % 5 == 0 ? 1.0 : 0.0);
}

TEST_F(WindowGl, HeightZeroCountsAsOne) {
    resizeView(640, 0);
    expectPerspective(640.0);
    EXPECT_EQ(viewportHeight, 1);
}

TEST_F(WindowGl, GKeyHidesTheDrawnGridAndShowsItAgain) {
    setupGL();
    resizeView(kSize, kSize);
    auto gridPixels = [] {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        glTranslated(0.0, -2.0, -15.0);
        drawFloorGrid();
        return readScenePicture(gl).nonBlackPixels();
    };
    EXPECT_GT(gridPixels(), 200);
    handleEvent(keyEvent(SDL_KEYDOWN, SDLK_g));
    EXPECT_EQ(gridPixels(), 0);
    handleEvent(keyEvent(SDL_KEYUP, SDLK_g));
    handleEvent(keyEvent(SDL_KEYDOWN, SDLK_g));
    EXPECT_GT(gridPixels(), 200);
}

// The marker's colour at its window position for layer 1, in the window
// that openWindow made.
int markerSeenInOpenWindow(int width, int height) {
    selectedLayer = 1;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslated(0.0, 0.0, -6.0);
    drawLayerMarker();
    GLdouble model[16], proj[16], wx, wy, wz;
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, proj);
    glGetIntegerv(GL_VIEWPORT, viewport);
    gluProject(-1.0, -1.0, 1.7, model, proj, viewport, &wx, &wy, &wz);
    glFinish();
    glReadBuffer(GL_BACK);
    unsigned char px[3];
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (wx < 0 || wy < 0 || wx >= width || wy >= height) return -2;
    glReadPixels(int(wx + 0.5), int(wy + 0.5), 1, 1, GL_RGB, GL_UNSIGNED_BYTE, px);
    return cubieColourOf(px);
}

TEST_F(WindowGl, OpenCloseAndOpenAgainKeepsTheMarker) {
    constexpr int kGreen = 4;
    ASSERT_EQ(openWindow(kWindowTitle, 320, 240, 32, 0), 1);
    EXPECT_EQ(fullscreen, 0);
    GLint bits = 0, doubled = 0;
    glGetIntegerv(GL_DEPTH_BITS, &bits);
    glGetIntegerv(GL_DOUBLEBUFFER, &doubled);
    EXPECT_GE(bits, 16);
    EXPECT_EQ(doubled, 1);
    EXPECT_EQ(viewportWidth, 320);
    EXPECT_EQ(viewportHeight, 240);
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
    EXPECT_EQ(markerSeenInOpenWindow(320, 240), kGreen);
    EXPECT_EQ(sphereCacheSize(), 1);

    closeWindow();
    EXPECT_EQ(sphereCacheSize(), 0);
    ASSERT_EQ(openWindow(kWindowTitle, 320, 240, 32, 0), 1);
    EXPECT_EQ(markerSeenInOpenWindow(320, 240), kGreen);
    closeWindow();
}

TEST_F(WindowGl, LoopEndsOnEscapeWithCodeZero) {
    ASSERT_EQ(openWindow(kWindowTitle, 160, 120, 32, 0), 1);
    SDL_Event esc = keyEvent(SDL_KEYDOWN, SDLK_ESCAPE);
    SDL_PushEvent(&esc);
    EXPECT_EQ(runMessageLoop(), 0);
    EXPECT_EQ(keyDown[VK_ESCAPE], 1);
}

TEST_F(WindowGl, LoopEndsOnQuitWithCodeZero) {
    ASSERT_EQ(openWindow(kWindowTitle, 160, 120, 32, 0), 1);
    SDL_Event quit;
    std::memset(&quit, 0, sizeof quit);
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_EQ(runMessageLoop(), 0);
    EXPECT_EQ(quitPosted, 1);
}

} // namespace
