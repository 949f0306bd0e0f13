// Start-up: the cube in its start state, the two questions, the window, the
// loop.
#include "app/window.h"

#include "model/cube.h"
#include "solve/menu.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <thread>

int main(int argc, char** argv) {
    // The only arguments: --help and --version answer and end the run; any
    // other start is the program as always.
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("cube-solver %s\n", CUBE_VERSION);
        return 0;
    }
    if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::printf("usage: cube-solver [--help] [--version]\n"
                    "  Shows the cube in a window after asking two questions (full screen?\n"
                    "  soft mode?). Keys: see the window's help text and cube-solver(6).\n"
                    "  --help       print this text\n"
                    "  --version    print the program's version\n");
        return 0;
    }
    startTick = float(SDL_GetTicks());
    initCubieArray();
    initFaceletGrid();
    // The routines' tables (the "Short" search's take about a second) are
    // built while the two questions wait for their answers, so that they are
    // ready before the first frame and no frame waits for them.
    std::thread routineTables([] {
        for (int entry = 0; entry < kMenuSize; ++entry) prepareMenuEntry(entry);
    });

    if (!askYesNo("Start FullScreen?", "Would You Like To Run In Fullscreen Mode?", kIconQuestion))
        fullscreen = 0;
    if (askYesNo("Start In A Soft Mode?", "Would You Like To Run In A Soft Mode?", kIconQuestion)) {
        windowWidth = 640;
        windowHeight = 480;
    } else {
        hudShiftY = 200.0f;
        hudShiftX = 350.0f;
    }

    routineTables.join();
    if (!openWindow(kWindowTitle, windowWidth, windowHeight, 32, fullscreen)) {
        // A refusal the user saw in a box ends quietly; one that could only
        // go to standard error (no display) is an error.
        return messageBoxFailed ? 1 : 0;
    }
    // The window and its context are gone when the loop returns; SDL's
    // display connection goes with the process.
    return runMessageLoop();
}
