// A small hidden SDL window with an OpenGL context for the scene and window
// tests, and reading its picture back. Needs a display (the tests run under
// Xvfb with Mesa's software renderer).
#pragma once

#include "render/scene.h"

#include <SDL.h>
#include <GL/gl.h>

#include <cstdlib>
#include <vector>

struct SceneGlContext {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    int width = 0;
    int height = 0;
};

// Opens the window and makes a context current; false when there is no
// display or no context.
inline bool openSceneGl(SceneGlContext& gl, int width, int height) {
    if (std::getenv("SDL_VIDEODRIVER") == nullptr) setenv("SDL_VIDEODRIVER", "x11", 1);
    // Xvfb refuses clients for a moment while it resets after its last
    // client left; wait that out.
    int tries = 0;
    while (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        if (++tries == 50) return false;
        SDL_Delay(100);
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    gl.window =
        SDL_CreateWindow("scene test", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (gl.window == nullptr) return false;
    gl.context = SDL_GL_CreateContext(gl.window);
    if (gl.context == nullptr) return false;
    SDL_GL_MakeCurrent(gl.window, gl.context);
    gl.width = width;
    gl.height = height;
    glDrawBuffer(GL_BACK);
    glReadBuffer(GL_BACK);
    return true;
}

inline void closeSceneGl(SceneGlContext& gl) {
    if (gl.context) SDL_GL_DeleteContext(gl.context);
    if (gl.window) SDL_DestroyWindow(gl.window);
    gl = SceneGlContext{};
}

// The picture as RGB bytes, bottom row first.
struct ScenePicture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    const unsigned char* at(int x, int y) const { return &rgb[3 * (y * width + x)]; }
    int differingPixels(const ScenePicture& other) const {
        int n = 0;
        for (size_t i = 0; i < rgb.size(); i += 3) {
            if (rgb[i] != other.rgb[i] || rgb[i + 1] != other.rgb[i + 1] ||
                rgb[i + 2] != other.rgb[i + 2])
                ++n;
        }
        return n;
    }
    int nonBlackPixels() const {
        int n = 0;
        for (size_t i = 0; i < rgb.size(); i += 3) {
            if (rgb[i] | rgb[i + 1] | rgb[i + 2]) ++n;
        }
        return n;
    }
};

inline ScenePicture readScenePicture(const SceneGlContext& gl) {
    ScenePicture pic;
    pic.width = gl.width;
    pic.height = gl.height;
    pic.rgb.assign(size_t(3 * gl.width * gl.height), 0);
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, gl.width, gl.height, GL_RGB, GL_UNSIGNED_BYTE, pic.rgb.data());
    return pic;
}

// Which cubie colour a lit pixel shows: the colour number 1..6 whose table
// entry has the same channels on and off (lighting only scales a colour),
// 0 for black, -1 for anything else.
inline int cubieColourOf(const unsigned char* p) {
    constexpr int kOn = 40, kOff = 15;
    if (p[0] < kOff && p[1] < kOff && p[2] < kOff) return 0;
    for (int colour = 1; colour <= 6; ++colour) {
        int match = 1;
        for (int ch = 0; ch < 3; ++ch) {
            const int on = CubieColourTable[colour][ch] > 0.5;
            if (on ? p[ch] < kOn : p[ch] > kOff) match = 0;
        }
        if (match) return colour;
    }
    return -1;
}
