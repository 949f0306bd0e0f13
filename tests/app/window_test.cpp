// The window's events: SDL keys into the key table, G, minimise, close and quit.
#include "app/frame_controller.h"
#include "app/window.h"

#include "render/scene.h"

#include <SDL.h>

#include <gtest/gtest.h>

#include <cstring>
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
SDL_Event windowEvent(Uint8 what) {
    SDL_Event e = event(SDL_WINDOWEVENT);
    e.window.event = what;
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

} // namespace

// One row for each kind of key; every SDL key sets and clears only its own entry.
TEST(WindowEvents, EveryKeySetsAndClearsOnlyItsEntry) {
    // clang-format off
    // Escape, F1, Home, End, comma, period and the keypad's 1: e2e/*.sh press them.
    const std::pair<SDL_Keycode, int> rows[] = {
        {SDLK_LEFT, 0x25}, {SDLK_DOWN, 0x28}, {SDLK_MINUS, VK_OEM_MINUS},
        {SDLK_KP_MINUS, VK_SUBTRACT}, {SDLK_EQUALS, VK_OEM_PLUS}, {SDLK_PLUS, VK_OEM_PLUS},
        {SDLK_KP_PLUS, VK_ADD}, {SDLK_SPACE, VK_SPACE}, {SDLK_SLASH, VK_OEM_2},
        {SDLK_QUESTION, VK_OEM_2}, {SDLK_LCTRL, VK_CONTROL}, {SDLK_RCTRL, VK_CONTROL},
        {SDLK_LSHIFT, VK_SHIFT}, {SDLK_RSHIFT, VK_SHIFT}, {SDLK_a, 'A'}, {SDLK_0, '0'},
        {SDLK_9, '9'}, {SDLK_KP_0, '0'}, {SDLK_KP_9, '9'}, // the keypad's digits are the row's
        {SDLK_UNKNOWN, 0}, {SDLK_CAPSLOCK, 0}, {SDLK_F13, 0}, {SDLK_MENU, 0}};
    // clang-format on
    for (const auto& r : rows) EXPECT_EQ(translateKey(r.first), r.second) << r.first;
    resetWindowState();
    std::vector<SDL_Keycode> all;
    for (SDL_Keycode k = 0; k < 128; ++k) all.push_back(k);
    for (SDL_Keycode k = SDLK_CAPSLOCK; k <= SDLK_KP_PERIOD; ++k) all.push_back(k);
    for (SDL_Keycode k = SDLK_LCTRL; k <= SDLK_RGUI; ++k) all.push_back(k);
    for (const SDL_Keycode k : all) {
        const int code = translateKey(k);
        handleEvent(keyEvent(SDL_KEYDOWN, k));
        EXPECT_EQ(keysHeld(), code != 0) << k;
        EXPECT_EQ(keyDown[code], code != 0) << k;
        handleEvent(keyEvent(SDL_KEYUP, k));
        EXPECT_EQ(keysHeld(), 0) << k;
    }
    handleEvent(keyEvent(SDL_KEYDOWN, SDLK_w)); // held together, released one by one
    handleEvent(keyEvent(SDL_KEYDOWN, SDLK_LEFT));
    handleEvent(keyEvent(SDL_KEYUP, SDLK_w));
    EXPECT_EQ(keyDown[0x25], 1);
    EXPECT_EQ(keysHeld(), 1);
}

TEST(WindowEvents, GridToggleMinimiseCloseAndQuit) {
    resetWindowState();
    for (int repeat : {0, 1, 1}) { // every key-down, repeats included
        const int before = gridVisible;
        handleEvent(keyEvent(SDL_KEYDOWN, SDLK_g, repeat));
        EXPECT_EQ(gridVisible, 1 - before) << "repeat " << repeat;
    }
    handleEvent(keyEvent(SDL_KEYUP, SDLK_g));
    EXPECT_EQ(gridVisible, 0);
    // Drawing stops while minimised only (active 0), not on a lost focus.
    for (Uint8 what :
         {SDL_WINDOWEVENT_FOCUS_LOST, SDL_WINDOWEVENT_MINIMIZED, SDL_WINDOWEVENT_RESTORED,
          SDL_WINDOWEVENT_MINIMIZED, SDL_WINDOWEVENT_MAXIMIZED}) {
        handleEvent(windowEvent(what));
        EXPECT_EQ(active, what != SDL_WINDOWEVENT_MINIMIZED) << int(what);
    }
    for (const SDL_Event& e : {windowEvent(SDL_WINDOWEVENT_CLOSE), event(SDL_QUIT)}) {
        resetWindowState();
        quitCode = 7;
        handleEvent(e);
        EXPECT_EQ(quitPosted, 1);
        EXPECT_EQ(quitCode, 0);
    }
}
