// Start-up: the cube in its start state, the two questions, the window, the
// loop.
#include "app/frame_controller.h"
#include "app/window.h"

#include "model/cube.h"
#include "model/cube_text.h"
#include "solve/menu.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>

namespace {

// The state string of --state or --state-file, checked before anything is
// shown; "" when the program starts on the start state.
char startState[kStateLineMax + 1];

// Reads the command line. Returns -1 to go on, or the exit status to end
// with: 0 after --help or --version, 2 after a message for a bad argument or
// a state no real cube can have.
int readArguments(int argc, char** argv) {
    char message[kTextMessageSize] = "";
    for (int i = 1; i < argc; ++i) {
        const bool state = std::strcmp(argv[i], "--state") == 0;
        const bool stateFile = std::strcmp(argv[i], "--state-file") == 0;
        if ((!state && !stateFile) || i + 1 >= argc || startState[0] != '\0') {
            std::fprintf(stderr, "cube-solver: unknown, incomplete or repeated argument '%s'\n",
                         argv[i]);
            return 2;
        }
        if (!takeStateArgument(argv[++i], stateFile, startState, message, sizeof message)) break;
    }
    if (message[0] == '\0') return -1;
    std::fprintf(stderr, "cube-solver: %s\n", message);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    // --help and --version answer and end the run; --state and --state-file
    // start on a given cube; no argument is the program as always.
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("cube-solver %s\n", CUBE_VERSION);
        return 0;
    }
    if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::printf(
            "usage: cube-solver [--state STRING | --state-file FILE]\n"
            "       cube-solver --help | --version\n"
            "  Shows the cube in a window after asking two questions (full screen?\n"
            "  soft mode?). Keys: see the window's help text and cube-solver(6).\n"
            "  --state STRING     start from this cube: 54 letters, faces U R F D L B,\n"
            "                     nine stickers each in reading order (see cube-solve(6));\n"
            "                     a state no real cube can have ends the program (exit 2)\n"
            "  --state-file FILE  the same, from the first line of FILE ('-' = stdin)\n"
            "  --help       print this text\n"
            "  --version    print the program's version\n");
        return 0;
    }
    const int refused = readArguments(argc, argv);
    if (refused >= 0) return refused;
    startTick = float(SDL_GetTicks());
    initCubieArray();
    initFaceletGrid();
    char message[kTextMessageSize];
    if (startState[0] != '\0') startFromState(startState, message, sizeof message); // checked
    if (!askYesNo("Start FullScreen?", "Would You Like To Run In Fullscreen Mode?", kIconQuestion))
        fullscreen = 0;
    if (askYesNo("Start In A Soft Mode?", "Would You Like To Run In A Soft Mode?", kIconQuestion)) {
        windowWidth = 640;
        windowHeight = 480;
    } else {
        hudShiftY = 200.0f;
        hudShiftX = 350.0f;
    }

    // The routines' tables (the "Short" routine maps and checks its table
    // file) are made ready here, before the first frame, so that no frame
    // waits for them. Not in a thread while the questions wait: the message
    // box forks a child to show itself, and a child forked while another
    // thread holds a lock can hang. An entry that cannot solve says why.
    for (int entry = 0; entry < kMenuSize; ++entry)
        if (const char* why = prepareMenuEntry(entry))
            std::fprintf(stderr, "cube-solver: \"%s\" cannot solve: %s\n", kMenu[entry].label, why);
    if (!openWindow(kWindowTitle, windowWidth, windowHeight, 32, fullscreen)) {
        // A refusal the user saw in a box ends quietly; one that could only
        // go to standard error (no display) is an error.
        return messageBoxFailed ? 1 : 0;
    }
    // The window and its context are gone when the loop returns; SDL's
    // display connection goes with the process.
    return runMessageLoop();
}
