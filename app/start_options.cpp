// cube-solver's options, the answers they settle, the given cube and the
// desktop's state folder.
#include "app/start_options.h"

#include "app/commands.h"
#include "app/frame_controller.h"
#include "model/cube.h"

#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

void printHelp() {
    std::printf(
        "usage: cube-solver [--state STRING | --state-file FILE | --scramble MOVES]\n"
        "                   [--window | --fullscreen] [--soft] [--look plain|clear]\n"
        "                   [--remember] [--desktop]\n"
        "       cube-solver --help | --version\n"
        "  Shows the cube in a window after asking two questions (full screen?\n"
        "  soft mode?). The keys are listed below and in cube-solver(6).\n"
        "  --state STRING     start from this cube: 54 letters, faces U R F D L B,\n"
        "                     nine stickers each in reading order (see cube-solve(6));\n"
        "                     a state no real cube can have ends the program (exit 2)\n"
        "  --state-file FILE  the same, from the first line of FILE ('-' = stdin)\n"
        "  --scramble MOVES   start from the cube these moves in standard notation\n"
        "                     make of the solved cube, e.g. \"R U F' M2\"\n"
        "  --window           answer the first question No: run in a window\n"
        "  --fullscreen       answer it Yes: run full screen\n"
        "  --soft             answer the second question Yes: 640x480, not 1024x768\n"
        "                     (with any of these three no question is asked; what\n"
        "                     they leave out is taken from the settings file, else No)\n"
        "  --look plain|clear how the cube looks: plain (the program's own) or clear\n"
        "                     (larger, seen from above, a real cube's colours); C in\n"
        "                     the window switches between them\n"
        "  --remember         keep this run's answers in the settings file\n"
        "                     ($XDG_CONFIG_HOME/cube-solver/settings.conf, else\n"
        "                     ~/.config/cube-solver/settings.conf); later runs take\n"
        "                     them from there instead of asking; the look and the\n"
        "                     speed the window has when it closes are kept too\n"
        "  --desktop          started from the desktop menu: write the text files in\n"
        "                     $XDG_STATE_HOME/cube-solver (else ~/.local/state/cube-solver)\n"
        "  --help       print this text\n"
        "  --version    print the program's version\n"
        "Every solve writes Kyb.txt (its trace) and appends its moves to kub2.txt, in\n"
        "the working folder (with --desktop, in the state folder above). --remember\n"
        "writes the settings file; nothing else is written.\n"
        "Keys (H or ? in the window shows them too):\n");
    for (int i = 0; i < kHelpLineCount; ++i)
        std::printf("  %-22s %s\n", kHelpLines[i].keys, kHelpLines[i].action);
}

int refuse(const char* what, const char* arg) {
    std::fprintf(stderr, "cube-solver: %s '%s' (see cube-solver --help)\n", what, arg);
    return 2;
}

} // namespace

int readStartOptions(int argc, char** argv, StartOptions* o) {
    char message[kTextMessageSize] = "";
    int cubeGiven = 0;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            printHelp();
            return 0;
        }
        const bool state = std::strcmp(arg, "--state") == 0;
        const bool stateFile = std::strcmp(arg, "--state-file") == 0;
        const bool scramble = std::strcmp(arg, "--scramble") == 0;
        if (state || stateFile || scramble) {
            if (i + 1 >= argc || cubeGiven++)
                return refuse("incomplete or repeated argument (one of --state, --state-file "
                              "and --scramble)",
                              arg);
            const char* value = argv[++i];
            if (scramble) {
                o->scrambleCount =
                    parseMoves(value, o->scramble, kHistoryLimit, message, sizeof message);
                if (o->scrambleCount < 0) {
                    std::fprintf(stderr, "cube-solver: --scramble: %s\n", message);
                    return 2;
                }
            } else if (!takeStateArgument(value, stateFile, o->state, message, sizeof message)) {
                std::fprintf(stderr, "cube-solver: %s\n", message);
                return 2;
            }
            continue;
        }
        int* flag = nullptr;
        int value = 1;
        if (std::strcmp(arg, "--look") == 0) {
            if (i + 1 >= argc || o->look != kUnset)
                return refuse("incomplete or repeated argument", arg);
            const char* look = argv[++i];
            if (std::strcmp(look, "plain") != 0 && std::strcmp(look, "clear") != 0)
                return refuse("--look takes plain or clear, not", look);
            o->look = look[0] == 'c';
            continue;
        }
        if (std::strcmp(arg, "--window") == 0 || std::strcmp(arg, "--fullscreen") == 0) {
            if (o->fullscreen != kUnset) return refuse("repeated argument", arg);
            flag = &o->fullscreen;
            value = arg[2] == 'f';
        } else if (std::strcmp(arg, "--soft") == 0) {
            flag = &o->soft;
        } else if (std::strcmp(arg, "--remember") == 0) {
            flag = &o->remember;
        } else if (std::strcmp(arg, "--desktop") == 0) {
            flag = &o->desktop;
        } else {
            return refuse("unknown argument", arg);
        }
        if (*flag == 1) return refuse("repeated argument", arg);
        *flag = value;
    }
    return -1;
}

Settings settledAnswers(const StartOptions& o, const Settings& kept) {
    Settings answers = kept;
    const bool optionsGiven = o.fullscreen != kUnset || o.soft != kUnset;
    if (o.fullscreen != kUnset) answers.fullscreen = o.fullscreen;
    if (o.soft != kUnset) answers.soft = o.soft;
    if (optionsGiven) {
        if (answers.fullscreen == kUnset) answers.fullscreen = 0;
        if (answers.soft == kUnset) answers.soft = 0;
    }
    return answers;
}

Settings startLookAndSpeed(const StartOptions& o, const Settings& kept) {
    Settings start;
    start.look = o.look != kUnset ? o.look : kept.look;
    start.speed = kept.speed;
    return start;
}

void startGivenCube(const StartOptions& o) {
    char message[kTextMessageSize];
    if (o.state[0] != '\0') startFromState(o.state, message, sizeof message); // checked
    if (o.scrambleCount < 0) return;
    for (int i = 0; i < o.scrambleCount; ++i)
        turnLayer(o.scramble[i].layer, o.scramble[i].direction);
    givenStateUnsolved = 1;
}

int enterStateFolder(char* message, int messageSize) {
    char folder[kSettingsPathSize];
    if (!userFolder("XDG_STATE_HOME", ".local/state", folder, sizeof folder)) {
        std::snprintf(message, static_cast<size_t>(messageSize),
                      "no state folder: neither XDG_STATE_HOME nor HOME is an absolute path");
        return 0;
    }
    if (!makeFolders(folder, message, messageSize)) return 0;
    if (chdir(folder) != 0) {
        std::snprintf(message, static_cast<size_t>(messageSize), "cannot enter %s", folder);
        return 0;
    }
    return 1;
}
