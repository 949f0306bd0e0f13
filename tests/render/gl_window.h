// A hidden SDL window with a GL compatibility context, and its pictures read back.
#pragma once

#include "render/scene.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>
#include <SDL.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

struct GlWindow {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    int width = 0, height = 0;

    // Opens the window and makes its context current; false without one.
    bool open(int w, int h) {
        if (std::getenv("SDL_VIDEODRIVER") == nullptr) setenv("SDL_VIDEODRIVER", "x11", 1);
        // Xvfb refuses clients for a moment while it resets: wait that out.
        for (int tries = 0; SDL_InitSubSystem(SDL_INIT_VIDEO) != 0; SDL_Delay(100))
            if (++tries == 50) return false;
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
        for (SDL_GLattr a : {SDL_GL_RED_SIZE, SDL_GL_GREEN_SIZE, SDL_GL_BLUE_SIZE})
            SDL_GL_SetAttribute(a, 8);
        window = SDL_CreateWindow("gl test", 0, 0, w, h, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (window == nullptr) return false;
        context = SDL_GL_CreateContext(window);
        if (context == nullptr) return false;
        SDL_GL_MakeCurrent(window, context);
        width = w, height = h;
        glViewport(0, 0, w, h);
        glDrawBuffer(GL_BACK);
        glReadBuffer(GL_BACK);
        return true;
    }
    // SDL's video stays up: taking it down unloads the GL driver.
    void close() {
        if (context) SDL_GL_DeleteContext(context);
        if (window) SDL_DestroyWindow(window);
        *this = GlWindow{};
    }
};

// The picture as RGB bytes, bottom row first (GL window coordinates).
struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    const unsigned char* at(int x, int y) const { return &rgb[3 * (y * width + x)]; }
    int nonBlackPixels() const {
        int n = 0;
        for (size_t i = 0; i < rgb.size(); i += 3) n += (rgb[i] | rgb[i + 1] | rgb[i + 2]) != 0;
        return n;
    }
};

inline Picture readPicture(const GlWindow& w) {
    Picture pic;
    pic.width = w.width, pic.height = w.height;
    pic.rgb.assign(size_t(3 * w.width * w.height), 0);
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w.width, w.height, GL_RGB, GL_UNSIGNED_BYTE, pic.rgb.data());
    return pic;
}

// With the folder variable `env` set, the picture as `name`.ppm in it.
inline void writePpm(const Picture& pic, const char* env, const char* name) {
    const char* dir = std::getenv(env);
    FILE* f =
        dir && name ? std::fopen((std::string(dir) + "/" + name + ".ppm").c_str(), "wb") : nullptr;
    if (f == nullptr) return;
    std::fprintf(f, "P6 %d %d 255\n", pic.width, pic.height);
    for (int y = pic.height - 1; y >= 0; --y) std::fwrite(pic.at(0, y), 3, size_t(pic.width), f);
    std::fclose(f);
}

// Clears, loads the view and the light as the frame does, the cube's matrix last.
template <class View> void loadView(const View& view) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(view.projection.m);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixd(view.scene.m);
    const GLfloat light[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glLightfv(GL_LIGHT1, GL_POSITION, light);
    glLoadMatrixd(view.cube.m);
}

// The palette entry nearest a pixel's direction in `look`, 0 black, -1 none.
template <class Look> int colourIn(const Look& look, const unsigned char* p) {
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

// A test suite sharing one hidden W x H window.
template <int W, int H> class GlSuite : public ::testing::Test {
  public:
    static inline GlWindow gl;
    static void SetUpTestSuite() { gl.open(W, H); }
    static void TearDownTestSuite() {
        clearSphereCache();
        gl.close();
    }
    void SetUp() override {
        ASSERT_NE(gl.context, nullptr) << "no GL context: " << SDL_GetError();
        SDL_GL_MakeCurrent(gl.window, gl.context);
    }
};
