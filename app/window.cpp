// The window layer on SDL2: the window and its GL context, the key table,
// the loop that draws a frame whenever no event waits, and the message boxes.
#include "app/window.h"

#include "app/commands.h"
#include "app/frame.h"
#include "app/frame_pacing.h"
#include "app/frame_controller.h"
#include "app/hud_font.h"
#include "render/scene.h"
#include "render/view.h"

#include <SDL.h>
#include <GL/gl.h>

#include <cstdio>
#include <cstring>

const char* const kWindowTitle = "OpenGL WinAPI template by Velmostin K.T.";

unsigned char keyDown[256] = {};
unsigned char keyPressed[256] = {};
int active = 1;
int fullscreen = 1;
int windowWidth = 1024;
int windowHeight = 768;
float hudShiftX = 0.0f;
float hudShiftY = 0.0f;
int viewportWidth = 0;
int viewportHeight = 0;
float startTick = 0.0f;
int quitPosted = 0;
int quitCode = 0;
int messageBoxFailed = 0;

namespace {

SDL_Window* mainWindow = nullptr;
SDL_GLContext glContext = nullptr;
// 1 once SDL's video is up; it stays up for the life of the process.
int videoStarted = 0;

constexpr int kKeyG = 'G';

// SDL keycode -> the program's key code. Letters and digits use their
// upper-case ASCII codes (the keypad's digits those of the digit row); the
// other keys the codes the program was written with.
struct KeyCodeEntry {
    SDL_Keycode sdl;
    unsigned char code;
};
// clang-format off
constexpr KeyCodeEntry kKeyTable[] = {
    {SDLK_BACKSPACE, 0x08}, {SDLK_TAB, 0x09},       {SDLK_RETURN, 0x0D},
    {SDLK_LSHIFT, 0x10},    {SDLK_RSHIFT, 0x10},    {SDLK_LCTRL, 0x11},
    {SDLK_RCTRL, 0x11},     {SDLK_PAUSE, 0x13},     {SDLK_ESCAPE, VK_ESCAPE},
    {SDLK_SPACE, 0x20},     {SDLK_PAGEUP, 0x21},    {SDLK_PAGEDOWN, 0x22},
    {SDLK_END, 0x23},       {SDLK_HOME, 0x24},      {SDLK_LEFT, VK_LEFT},
    {SDLK_UP, VK_UP},       {SDLK_RIGHT, VK_RIGHT}, {SDLK_DOWN, VK_DOWN},
    {SDLK_INSERT, 0x2D},    {SDLK_DELETE, 0x2E},    {SDLK_0, 0x30},
    {SDLK_1, 0x31},         {SDLK_2, 0x32},         {SDLK_3, 0x33},
    {SDLK_4, 0x34},         {SDLK_5, 0x35},         {SDLK_6, 0x36},
    {SDLK_7, 0x37},         {SDLK_8, 0x38},         {SDLK_9, 0x39},
    {SDLK_a, 'A'},          {SDLK_b, 'B'},          {SDLK_c, 'C'},
    {SDLK_d, 'D'},          {SDLK_e, 'E'},          {SDLK_f, 'F'},
    {SDLK_g, 'G'},          {SDLK_h, 'H'},          {SDLK_i, 'I'},
    {SDLK_j, 'J'},          {SDLK_k, 'K'},          {SDLK_l, 'L'},
    {SDLK_m, 'M'},          {SDLK_n, 'N'},          {SDLK_o, 'O'},
    {SDLK_p, 'P'},          {SDLK_q, 'Q'},          {SDLK_r, 'R'},
    {SDLK_s, 'S'},          {SDLK_t, 'T'},          {SDLK_u, 'U'},
    {SDLK_v, 'V'},          {SDLK_w, 'W'},          {SDLK_x, 'X'},
    {SDLK_y, 'Y'},          {SDLK_z, 'Z'},          {SDLK_KP_0, 0x30},
    {SDLK_KP_1, 0x31},      {SDLK_KP_2, 0x32},      {SDLK_KP_3, 0x33},
    {SDLK_KP_4, 0x34},      {SDLK_KP_5, 0x35},      {SDLK_KP_6, 0x36},
    {SDLK_KP_7, 0x37},      {SDLK_KP_8, 0x38},      {SDLK_KP_9, 0x39},
    {SDLK_F1, VK_F1},       {SDLK_F2, 0x71},        {SDLK_F3, 0x72},
    {SDLK_F4, 0x73},        {SDLK_F5, 0x74},        {SDLK_F6, 0x75},
    {SDLK_F7, 0x76},        {SDLK_F8, 0x77},        {SDLK_F9, 0x78},
    {SDLK_F11, 0x7A},       {SDLK_F12, 0x7B},       {SDLK_PERIOD, VK_OEM_PERIOD},
    {SDLK_COMMA, VK_OEM_COMMA}, {SDLK_MINUS, VK_OEM_MINUS}, {SDLK_EQUALS, VK_OEM_PLUS},
    {SDLK_PLUS, VK_OEM_PLUS}, {SDLK_KP_MINUS, VK_SUBTRACT}, {SDLK_KP_PLUS, VK_ADD},
    {SDLK_SLASH, VK_OEM_2}, {SDLK_QUESTION, VK_OEM_2},
};
// clang-format on

Uint32 iconFlags(MessageIcon icon) {
    switch (icon) {
    case kIconExclamation:
        return SDL_MESSAGEBOX_WARNING;
    case kIconStop:
        return SDL_MESSAGEBOX_ERROR;
    case kIconQuestion:
    case kIconInformation:
        break;
    }
    return SDL_MESSAGEBOX_INFORMATION;
}

// Creation failures: caption "ERROR", exclamation icon.
void creationError(const char* text) {
    showMessage("ERROR", text, kIconExclamation);
}
// Shutdown failures are reported and the shutdown goes on.
void shutdownError(const char* text) {
    showMessage("SHUTDOWN ERROR", text, kIconInformation);
}

// Events of a window that is already gone (F1 re-makes it) are dropped.
int ourWindow(Uint32 windowID) {
    return mainWindow == nullptr || windowID == SDL_GetWindowID(mainWindow);
}

// A display mode of exactly width x height at `bits` per pixel.
int findDisplayMode(int width, int height, int bits, SDL_DisplayMode* found) {
    const int modes = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < modes; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) != 0) continue;
        if (mode.w == width && mode.h == height &&
            int(SDL_BYTESPERPIXEL(mode.format)) * 8 == bits) {
            *found = mode;
            return 1;
        }
    }
    return 0;
}

// The requested full-screen mode cannot be had: offer the window instead.
// Returns 1 to go on windowed, 0 when the user chose to close.
int acceptWindowedInstead() {
    if (askYesNo("Qavo GL",
                 "The Requested Fullscreen Mode Is Not Supported By\n"
                 "Your Video Card. Use Windowed Mode Instead?",
                 kIconExclamation)) {
        fullscreen = 0;
        return 1;
    }
    showMessage("ERROR", "Program Will Now Close.", kIconStop);
    return 0;
}

// The deepest depth buffer the system offers, 32 bits first.
constexpr int kDepthChoices[] = {32, 24, 16};

SDL_Window* createGLWindow(const char* title, int width, int height, int bits, Uint32 flags) {
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    // `bits` per pixel of colour without alpha: 8 bits each of red, green
    // and blue in a 32-bit pixel.
    const int channel = bits >= 24 ? 8 : 5;
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, 0);
    for (int depth : kDepthChoices) {
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depth);
        SDL_Window* window = SDL_CreateWindow(title, 0, 0, width, height, flags);
        if (window) return window;
    }
    return nullptr;
}

// Tells a refused pixel format from a window that cannot be made at all.
int plainWindowPossible(int width, int height) {
    SDL_Window* probe = SDL_CreateWindow("", 0, 0, width, height, SDL_WINDOW_HIDDEN);
    if (!probe) return 0;
    SDL_DestroyWindow(probe);
    return 1;
}

// With no display SDL falls back to drivers that draw where nobody sees it;
// those count only when asked for by name (SDL_VIDEODRIVER).
int visibleDriver() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr) return 0;
    if (SDL_getenv("SDL_VIDEODRIVER") != nullptr) return 1;
    return std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0;
}

// The display now runs at the requested size.
int displayIsAt(int width, int height) {
    SDL_DisplayMode current;
    const int display = SDL_GetWindowDisplayIndex(mainWindow);
    if (display < 0 || SDL_GetCurrentDisplayMode(display, &current) != 0) return 0;
    return current.w == width && current.h == height;
}

} // namespace

int translateKey(int sdlKeycode) {
    for (const KeyCodeEntry& entry : kKeyTable) {
        if (entry.sdl == sdlKeycode) return entry.code;
    }
    return 0;
}

int askYesNo(const char* caption, const char* text, MessageIcon icon) {
    const SDL_MessageBoxButtonData buttons[2] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
    };
    const SDL_MessageBoxData box = {iconFlags(icon), nullptr, caption, text, 2, buttons, nullptr};
    int answer = 1;
    if (SDL_ShowMessageBox(&box, &answer) < 0) {
        std::fprintf(stderr, "%s: %s [Yes/No] -> not asked (no message box: %s)\n", caption, text,
                     SDL_GetError());
        return -1;
    }
    return answer == 1;
}

void showMessage(const char* caption, const char* text, MessageIcon icon) {
    if (SDL_ShowSimpleMessageBox(iconFlags(icon), caption, text, nullptr) < 0) {
        std::fprintf(stderr, "%s: %s\n", caption, text);
        messageBoxFailed = 1;
    }
}

namespace {

// The clipboard's text as the editor's paste, read when Ctrl+V goes down.
void takeClipboard() {
    char* text = SDL_GetClipboardText();
    frameSession().pasteText = text != nullptr ? text : "";
    SDL_free(text);
}

// A state a copy put out goes onto the clipboard.
void giveClipboard() {
    std::string& copied = frameSession().copiedText;
    if (copied.empty()) return;
    SDL_SetClipboardText(copied.c_str());
    copied.clear();
}

void mouseEvent(MouseAction action, int button, int x, int y, int wheel) {
    readMouse(MouseEvent{action, button, x, y, wheel});
}

} // namespace

void handleEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (!ourWindow(event.button.windowID)) break;
        mouseEvent(event.type == SDL_MOUSEBUTTONDOWN ? kMousePress : kMouseRelease,
                   event.button.button, event.button.x, event.button.y, 0);
        break;
    case SDL_MOUSEMOTION:
        if (!ourWindow(event.motion.windowID)) break;
        mouseEvent(kMouseMove, 0, event.motion.x, event.motion.y, 0);
        break;
    case SDL_MOUSEWHEEL: {
        if (!ourWindow(event.wheel.windowID)) break;
        int wheel = event.wheel.y;
        if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) wheel = -wheel;
        int x = 0, y = 0;
        SDL_GetMouseState(&x, &y);
        mouseEvent(kMouseWheel, 0, x, y, wheel);
        break;
    }
    case SDL_QUIT: // the system asks the program to end
        quitPosted = 1;
        quitCode = 0;
        break;
    case SDL_WINDOWEVENT:
        if (!ourWindow(event.window.windowID)) break;
        switch (event.window.event) {
        case SDL_WINDOWEVENT_MINIMIZED:
            active = 0;
            break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
            active = 1;
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            resizeView(event.window.data1, event.window.data2);
            break;
        case SDL_WINDOWEVENT_CLOSE:
            quitPosted = 1;
            quitCode = 0;
            break;
        default:
            break;
        }
        break;
    case SDL_KEYDOWN: {
        const int code = translateKey(event.key.keysym.sym);
        if (code == 0) break;
        keyDown[code] = 1;
        if (!event.key.repeat) keyPressed[code] = 1;
        if (code == 'V' && (event.key.keysym.mod & KMOD_CTRL) != 0) takeClipboard();
        // Every key-down toggles the grid, auto-repeats included (not while
        // the help overlay keeps the keys).
        if (code == kKeyG && !keyTakenByHelp(code)) gridVisible = !gridVisible;
        break;
    }
    case SDL_KEYUP: {
        const int code = translateKey(event.key.keysym.sym);
        if (code != 0) keyDown[code] = 0;
        break;
    }
    default:
        break;
    }
}

void resizeView(int width, int height) {
    if (height == 0) height = 1;
    glViewport(0, 0, width, height);
    const Matrix4 projection = perspectiveMatrix(sessionLook().camera.fieldOfView, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(projection.m);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    viewportWidth = width;
    viewportHeight = height;
}

void setupGL() {
    // A new context knows none of the sphere lists compiled in the last one.
    clearSphereCache();
    // The HUD font's lists belong to this context.
    buildHudFont();
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    const GLfloat ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    const GLfloat diffuse[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    glLightfv(GL_LIGHT1, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse);
    glEnable(GL_LIGHT1);
    glEnable(GL_LIGHTING);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
}

int openWindow(const char* title, int width, int height, int bits, int fullscreenFlag) {
    fullscreen = fullscreenFlag;
    if (!videoStarted) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            creationError("Failed To Register The Window Class.");
            return 0;
        }
        if (!visibleDriver()) {
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            creationError("Failed To Register The Window Class.");
            return 0;
        }
        videoStarted = 1;
    }

    SDL_DisplayMode mode;
    if (fullscreen && !findDisplayMode(width, height, bits, &mode) && !acceptWindowedInstead()) {
        closeWindow();
        return 0;
    }

    const Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN |
                         (fullscreen ? SDL_WINDOW_FULLSCREEN : SDL_WINDOW_RESIZABLE);
    mainWindow = createGLWindow(title, width, height, bits, flags);
    if (!mainWindow) {
        const int formatRefused = plainWindowPossible(width, height);
        closeWindow();
        creationError(formatRefused ? "Can't Find A Suitable PixelFormat."
                                    : "Window Creation Error.");
        return 0;
    }
    if (fullscreen) {
        SDL_SetWindowDisplayMode(mainWindow, &mode);
        SDL_ShowCursor(SDL_DISABLE);
    }

    glContext = SDL_GL_CreateContext(mainWindow);
    if (!glContext) {
        closeWindow();
        creationError("Can't Create A GL Rendering Context.");
        return 0;
    }
    if (SDL_GL_MakeCurrent(mainWindow, glContext) != 0) {
        closeWindow();
        creationError("Can't Activate The GL Rendering Context.");
        return 0;
    }
    // Vertical sync where the driver offers it; elsewhere frames run free.
    SDL_GL_SetSwapInterval(1);

    SDL_ShowWindow(mainWindow);
    // The display switches when the full-screen window shows; a switch that
    // did not reach the requested size counts as refused.
    if (fullscreen && !displayIsAt(width, height)) {
        if (!acceptWindowedInstead()) {
            closeWindow();
            return 0;
        }
        SDL_SetWindowFullscreen(mainWindow, 0);
        SDL_ShowCursor(SDL_ENABLE);
        SDL_SetWindowResizable(mainWindow, SDL_TRUE);
        SDL_SetWindowSize(mainWindow, width, height);
    }
    SDL_RaiseWindow(mainWindow);
    SDL_DisableScreenSaver();
    resizeView(width, height);
    setupGL();
    return 1;
}

void closeWindow() {
    if (fullscreen && videoStarted) {
        if (mainWindow) SDL_SetWindowFullscreen(mainWindow, 0); // back to the desktop mode
        SDL_ShowCursor(SDL_ENABLE);
    }
    if (glContext) {
        // The HUD font's lists go while their context is still current.
        freeHudFont();
        clearSphereCache();
        if (SDL_GL_MakeCurrent(mainWindow, nullptr) != 0)
            shutdownError("Release Of DC And RC Failed.");
        SDL_GL_DeleteContext(glContext);
        glContext = nullptr;
    }
    if (mainWindow) {
        SDL_DestroyWindow(mainWindow);
        mainWindow = nullptr;
    }
    // SDL's video itself stays up until the process ends, so F1 keeps the
    // display connection: closing it would unload the GL driver each time,
    // and the driver's own allocations would then look like ours to the
    // leak checker.
    if (videoStarted) SDL_EnableScreenSaver();
}

int runMessageLoop() {
    int done = 0;
    SDL_Event event;
    while (!done) {
        if (SDL_PollEvent(&event)) {
            handleEvent(event);
            continue;
        }
        // The posted quit is reached once no other event waits.
        if (quitPosted) break;
        if (active) {
            // Escape quits, except in the editor, where it closes the editor.
            if (keyDown[VK_ESCAPE] && !keyTakenByHelp(VK_ESCAPE) && !frameSession().editor.open) {
                done = 1;
            } else {
                // At most 60 frames a second, whatever the display's rate.
                paceFrame();
                drawFrame();
                SDL_GL_SwapWindow(mainWindow);
                giveClipboard();
            }
        }
        if (keyDown[VK_F1] && !keyTakenByHelp(VK_F1)) {
            keyDown[VK_F1] = 0;
            closeWindow();
            fullscreen = !fullscreen;
            if (!openWindow(kWindowTitle, windowWidth, windowHeight, 32, fullscreen))
                return messageBoxFailed ? 1 : 0;
        } else if (!active && !done) {
            // Minimised: nothing to draw, so wait for the next event a little
            // instead of spinning.
            SDL_WaitEventTimeout(nullptr, 10);
        }
    }
    closeWindow();
    return quitCode;
}
