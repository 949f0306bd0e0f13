// The window layer's event handling: SDL keys into the program's key codes
// and the key table, G toggling the grid, minimise, close and quit.
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

TEST(WindowEvents, EveryKeySetsAndClearsOnlyItsEntry) {
    std::vector<std::pair<SDL_Keycode, int>> keys = {{SDLK_ESCAPE, 0x1B}, {SDLK_F1, 0x70},
                                                     {SDLK_LEFT, 0x25},   {SDLK_UP, 0x26},
                                                     {SDLK_RIGHT, 0x27},  {SDLK_DOWN, 0x28}};
    // The player's keys, help and the modifiers.
    for (const auto& k : std::vector<std::pair<SDL_Keycode, int>>{{SDLK_PERIOD, VK_OEM_PERIOD},
                                                                  {SDLK_COMMA, VK_OEM_COMMA},
                                                                  {SDLK_HOME, VK_HOME},
                                                                  {SDLK_END, VK_END},
                                                                  {SDLK_MINUS, VK_OEM_MINUS},
                                                                  {SDLK_KP_MINUS, VK_SUBTRACT},
                                                                  {SDLK_EQUALS, VK_OEM_PLUS},
                                                                  {SDLK_PLUS, VK_OEM_PLUS},
                                                                  {SDLK_KP_PLUS, VK_ADD},
                                                                  {SDLK_SPACE, VK_SPACE},
                                                                  {SDLK_SLASH, VK_OEM_2},
                                                                  {SDLK_QUESTION, VK_OEM_2},
                                                                  {SDLK_LCTRL, VK_CONTROL},
                                                                  {SDLK_RCTRL, VK_CONTROL},
                                                                  {SDLK_LSHIFT, VK_SHIFT},
                                                                  {SDLK_RSHIFT, VK_SHIFT}})
        keys.push_back(k);
    for (int i = 0; i < 26; ++i) keys.push_back({SDLK_a + i, 'A' + i});
    for (int i = 0; i < 10; ++i) keys.push_back({SDLK_0 + i, '0' + i});
    // The keypad's digits are the digit row's: they start the routines too.
    keys.push_back({SDLK_KP_0, '0'});
    for (int i = 1; i < 10; ++i) keys.push_back({SDLK_KP_1 + i - 1, '0' + i});
    for (SDL_Keycode k : {SDLK_UNKNOWN, SDLK_CAPSLOCK, SDLK_F13, SDLK_MENU}) keys.push_back({k, 0});
    resetWindowState();
    for (const auto& k : keys) {
        SCOPED_TRACE(SDL_GetKeyName(k.first));
        EXPECT_EQ(translateKey(k.first), k.second);
        handleEvent(keyEvent(SDL_KEYDOWN, k.first));
        EXPECT_EQ(keysHeld(), k.second != 0);
        EXPECT_EQ(keyDown[k.second], k.second != 0);
        handleEvent(keyEvent(SDL_KEYUP, k.first));
        EXPECT_EQ(keysHeld(), 0);
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
    frameSession().helpOpen = 1; // the help overlay keeps G: it only closes it
    handleEvent(keyEvent(SDL_KEYDOWN, SDLK_g));
    handleEvent(keyEvent(SDL_KEYUP, SDLK_g));
    EXPECT_EQ(gridVisible, 0);
    frameSession().helpOpen = 0;
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
