// The window layer: SDL keys into the program's key codes, events into the key
// table and the flags, the view set up on resize, and a real window opened,
// closed and opened again.
#include "app/frame_controller.h"
#include "app/window.h"

#include "render/scene.h"
#include "tests/render/gl_window.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iterator>
#include <vector>

namespace {

SDL_Event event(Uint32 type) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = type;
    return e;
}
SDL_Event keyEvent(Uint32 type, SDL_Keycode sym, int repeat = 0) {
    SDL_Event e = event(type);
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = Uint8(repeat);
    e.key.keysym.sym = sym;
    return e;
}
SDL_Event windowEvent(Uint8 what, int data1 = 0, int data2 = 0) {
    SDL_Event e = event(SDL_WINDOWEVENT);
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
    active = gridVisible = 1;
    quitPosted = quitCode = 0;
}

// The keys the program reacts to besides letters and digits.
struct KeyCase {
    SDL_Keycode sdl;
    int code;
};
constexpr KeyCase kSpecialKeys[] = {{SDLK_ESCAPE, 0x1B}, {SDLK_F1, 0x70},    {SDLK_LEFT, 0x25},
                                    {SDLK_UP, 0x26},     {SDLK_RIGHT, 0x27}, {SDLK_DOWN, 0x28}};

TEST(KeyTranslation, EveryKeyGetsItsCodeAndSetsAndClearsOnlyItsEntry) {
    std::vector<KeyCase> keys(std::begin(kSpecialKeys), std::end(kSpecialKeys));
    for (int i = 0; i < 26; ++i) keys.push_back({SDLK_a + i, 'A' + i});
    for (int i = 0; i < 10; ++i) keys.push_back({SDLK_0 + i, '0' + i});
    resetWindowState();
    for (const KeyCase& k : keys) {
        SCOPED_TRACE(SDL_GetKeyName(k.sdl));
        EXPECT_EQ(translateKey(k.sdl), k.code);
        handleEvent(keyEvent(SDL_KEYDOWN, k.sdl));
        EXPECT_EQ(keyDown[k.code], 1);
        EXPECT_EQ(keysHeld(), 1);
        handleEvent(keyEvent(SDL_KEYUP, k.sdl));
        EXPECT_EQ(keysHeld(), 0);
    }
    // Keys without a code give 0 and leave the table alone.
    for (SDL_Keycode k : {SDLK_UNKNOWN, SDLK_CAPSLOCK, SDLK_F13, SDLK_MENU, SDLK_AUDIOPLAY}) {
        EXPECT_EQ(translateKey(k), 0) << SDL_GetKeyName(k);
        handleEvent(keyEvent(SDL_KEYDOWN, k));
    }
    EXPECT_EQ(keysHeld(), 0);
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
    for (int repeat : {0, 1, 1}) {
        const int before = gridVisible;
        handleEvent(keyEvent(SDL_KEYDOWN, SDLK_g, repeat));
        EXPECT_EQ(gridVisible, 1 - before) << "repeat " << repeat;
    }
    handleEvent(keyEvent(SDL_KEYUP, SDLK_g));
    handleEvent(keyEvent(SDL_KEYDOWN, SDLK_h));
    EXPECT_EQ(gridVisible, 0) << "key up and other keys leave it alone";
    EXPECT_EQ(keyDown['G'], 0);
}

TEST(EventHandling, MinimiseStopsDrawingAndCloseOrQuitPostsAQuitWithCodeZero) {
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
    for (const SDL_Event& e : {windowEvent(SDL_WINDOWEVENT_CLOSE), event(SDL_QUIT)}) {
        resetWindowState();
        quitCode = 7;
        handleEvent(e);
        EXPECT_EQ(quitPosted, 1);
        EXPECT_EQ(quitCode, 0);
    }
}

// ---- with a GL context -----------------------------------------------------

constexpr int kSize = 128;
using Suite = GlSuite<kSize, kSize>;
GlWindow& gl = Suite::gl;
constexpr int kGreen = 4; // the marker's colour

class WindowGl : public Suite {
  protected:
    void SetUp() override {
        Suite::SetUp();
        resetWindowState();
    }
};

// The projection is a perspective with a vertical field of view of 45
// degrees, the given aspect, near plane 0.5 and far plane 50.
void expectPerspective(double aspect) {
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    const double f = 1.0 / std::tan(22.5 * M_PI / 180.0), n = 0.5, far = 50.0;
    double want[16] = {};
    want[0] = f / aspect, want[5] = f, want[10] = (far + n) / (n - far), want[11] = -1;
    want[14] = 2 * far * n / (n - far);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(m[i], want[i], 1e-6) << "element " << i;
}

TEST_F(WindowGl, SizeEventSetsTheViewportAndThePerspective) {
    glMatrixMode(GL_PROJECTION);
    handleEvent(windowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 300, 200));
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
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
    // Height 0 counts as 1.
    resizeView(640, 0);
    expectPerspective(640.0);
    EXPECT_EQ(viewportHeight, 1);
}

// The marker's colour at its window position for layer 1, in the window
// that openWindow made.
int markerSeenInOpenWindow() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslated(0.0, 0.0, -6.0);
    drawLayerMarker(1);
    const double at[3] = {-1.0, -1.0, 1.7};
    int x, y;
    projectPoint(at, &x, &y);
    if (x < 0 || y < 0 || x >= viewportWidth || y >= viewportHeight) return -2;
    unsigned char px[3];
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, px);
    return cubieColourOf(px);
}

TEST_F(WindowGl, OpenCloseAndOpenAgainKeepsTheMarker) {
    ASSERT_EQ(openWindow(kWindowTitle, 320, 240, 32, 0), 1);
    EXPECT_EQ(fullscreen, 0);
    GLint bits = 0, doubled = 0;
    glGetIntegerv(GL_DEPTH_BITS, &bits);
    glGetIntegerv(GL_DOUBLEBUFFER, &doubled);
    EXPECT_GE(bits, 16);
    EXPECT_EQ(doubled, 1);
    EXPECT_EQ(viewportWidth, 320);
    EXPECT_EQ(viewportHeight, 240);
    EXPECT_EQ(markerSeenInOpenWindow(), kGreen);
    EXPECT_EQ(sphereCacheSize(), 1);
    closeWindow();
    EXPECT_EQ(sphereCacheSize(), 0);
    ASSERT_EQ(openWindow(kWindowTitle, 320, 240, 32, 0), 1);
    EXPECT_EQ(markerSeenInOpenWindow(), kGreen);
    closeWindow();
}

TEST_F(WindowGl, LoopEndsOnEscapeOrQuitWithCodeZero) {
    for (SDL_Event e : {keyEvent(SDL_KEYDOWN, SDLK_ESCAPE), event(SDL_QUIT)}) {
        resetWindowState();
        ASSERT_EQ(openWindow(kWindowTitle, 160, 120, 32, 0), 1);
        SDL_PushEvent(&e);
        EXPECT_EQ(runMessageLoop(), 0);
        EXPECT_EQ(e.type == SDL_QUIT ? quitPosted : keyDown[VK_ESCAPE], 1);
    }
}

} // namespace
