// Start-up: the cube in its start state, the two questions, the window, the
// loop.
#include "app/frame_controller.h"
#include "app/settings.h"
#include "app/start_options.h"
#include "app/window.h"

#include "model/cube.h"
#include "solve/menu.h"

#include <SDL.h>

#include <csignal>
#include <cstdio>
#include <cstring>

namespace {

// The run's options: one record, read once.
StartOptions options;

// The settings file's answers; a damaged or unreadable file is reported here,
// once, and counts as no file.
Settings keptSettings(char* path, int pathSize) {
    Settings kept;
    char message[kSettingsMessageSize];
    if (settingsPath(path, pathSize) && !loadSettings(path, &kept, message, sizeof message)) {
        std::fprintf(stderr, "cube-solver: settings ignored: %s\n", message);
        kept = Settings{};
    }
    return kept;
}

// Asks a start-up question the settings and options left open. Returns 1 or
// 0, or kUnset when it could not be shown.
int ask(int answer, const char* caption, const char* text) {
    if (answer != kUnset) return answer;
    const int asked = askYesNo(caption, text, kIconQuestion);
    return asked < 0 ? kUnset : asked;
}

} // namespace

int main(int argc, char** argv) {
    // --help and --version answer and end the run; --state, --state-file and
    // --scramble start on a given cube; no argument is the program as always.
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("cube-solver %s\n", CUBE_VERSION);
        return 0;
    }
    const int refused = readStartOptions(argc, argv, &options);
    if (refused >= 0) return refused;
    // Past a file-size limit a write fails (and is reported) instead of the
    // signal ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    startTick = float(SDL_GetTicks());
    initCubieArray();
    initFaceletGrid();
    startGivenCube(options);

    char settingsFile[kSettingsPathSize] = "";
    int rememberAtExit = 0; // the answers were kept: the look and speed follow at the end
    const Settings kept = keptSettings(settingsFile, sizeof settingsFile);
    Settings answers = settledAnswers(options, kept);
    // The look and the speed: --look, else what the settings kept.
    const Settings start = startLookAndSpeed(options, kept);
    FrameSession& session = frameSession();
    if (start.look != kUnset) session.look = start.look ? &kClearLook : &kPlainLook;
    if (start.speed != kUnset) session.player.speed = start.speed;
    answers.fullscreen =
        ask(answers.fullscreen, "Start FullScreen?", "Would You Like To Run In Fullscreen Mode?");
    answers.soft =
        ask(answers.soft, "Start In A Soft Mode?", "Would You Like To Run In A Soft Mode?");
    if (answers.fullscreen == kUnset || answers.soft == kUnset) {
        // A question nobody saw is not a Yes: the plainest start.
        std::fprintf(stderr, "cube-solver: could not ask the start-up questions; starting in a "
                             "1024x768 window\n");
        answers.fullscreen = answers.soft = 0;
    } else if (options.remember) {
        char message[kSettingsMessageSize];
        if (settingsFile[0] == '\0')
            std::fprintf(stderr, "cube-solver: not remembered: no configuration folder (HOME)\n");
        else if (!saveSettings(settingsFile, answers, message, sizeof message))
            std::fprintf(stderr, "cube-solver: not remembered: %s\n", message);
        else
            rememberAtExit = 1;
    }
    if (!answers.fullscreen) fullscreen = 0;
    if (answers.soft) {
        windowWidth = 640;
        windowHeight = 480;
    } else {
        hudShiftY = 200.0f;
        hudShiftX = 350.0f;
    }
    if (options.desktop) {
        char message[kSettingsMessageSize];
        if (!enterStateFolder(message, sizeof message))
            std::fprintf(stderr, "cube-solver: the text files stay in the working folder: %s\n",
                         message);
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
    const int code = runMessageLoop();
    if (rememberAtExit) {
        // What the window had when it closed is kept with the answers.
        answers.look = session.look == &kClearLook ? 1 : 0;
        answers.speed = session.player.speed;
        char message[kSettingsMessageSize];
        if (!saveSettings(settingsFile, answers, message, sizeof message))
            std::fprintf(stderr, "cube-solver: not remembered: %s\n", message);
    }
    return code;
}
