// A hidden SDL window with an OpenGL compatibility context for tests that
// draw and read the picture back. Runs under Xvfb (SDL's X11 driver).
#pragma once

#include <SDL2/SDL.h>
#include <GL/gl.h>

#include <cstdlib>
#include <vector>

struct GlTestWindow {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    int width = 0;
    int height = 0;
};

// Opens the window and makes its context current; false (with SDL's error
// in SDL_GetError) when no display or no context can be had.
inline bool openGlTestWindow(GlTestWindow& w, int width, int height) {
    if (std::getenv("SDL_VIDEODRIVER") == nullptr) setenv("SDL_VIDEODRIVER", "x11", 1);
    // Xvfb resets itself when its last client leaves, and refuses new
    // clients for a moment while it does: wait that out.
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
    w.window =
        SDL_CreateWindow("gl test", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (w.window == nullptr) return false;
    w.context = SDL_GL_CreateContext(w.window);
    if (w.context == nullptr) return false;
    SDL_GL_MakeCurrent(w.window, w.context);
    w.width = width;
    w.height = height;
    glViewport(0, 0, width, height);
    glDrawBuffer(GL_BACK);
    glReadBuffer(GL_BACK);
    return true;
}

// Closes the window and its context. SDL's video stays up (its display
// connection open) so that the next suite's window does not meet an X server
// in the middle of a reset.
inline void closeGlTestWindow(GlTestWindow& w) {
    if (w.context) SDL_GL_DeleteContext(w.context);
    if (w.window) SDL_DestroyWindow(w.window);
    w = GlTestWindow{};
}

// The picture as RGB bytes, bottom row first (GL window coordinates).
struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    const unsigned char* at(int x, int y) const { return &rgb[3 * (y * width + x)]; }
    bool lit(int x, int y) const {
        const unsigned char* p = at(x, y);
        return p[0] > 64 || p[1] > 64 || p[2] > 64;
    }
};

inline Picture readPicture(const GlTestWindow& w) {
    Picture pic;
    pic.width = w.width;
    pic.height = w.height;
    pic.rgb.assign(static_cast<size_t>(3 * w.width * w.height), 0);
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w.width, w.height, GL_RGB, GL_UNSIGNED_BYTE, pic.rgb.data());
    return pic;
}

// Black picture, identity matrices, nothing enabled that would tint lines or
// bitmaps.
inline void clearForTest() {
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glDisable(GL_LINE_SMOOTH);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
