// cube-solve: the program's solver without a window, for scripts, tests and
// benchmarks.
//
//   cube-solve [--mixes N] [--moves FILE] [--entry E] [--print]
//
// Starts from the start state, as a fresh run of the program does; presses the
// mix key N times (each mix applied whole); applies the moves in FILE ("-" for
// standard input; one "layer direction" pair a line, the journal's format) as
// manual turns; then solves with menu entry E (default 0) as pressing that
// digit does, writing "Kyb.txt" and "kub2.txt" into the working directory,
// plays the solution back on the restored cube and checks that it ends solved.
// Exit status: 0 solved, 1 not solved, 2 bad input (nothing written then).
#include "model/cube.h"
#include "model/moves.h"
#include "solve/menu.h"
#include "solve/quick.h"
#include "solve/solver.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

constexpr int kMaxFileMoves = kHistoryLimit;
Move fileMoves[kMaxFileMoves];
int fileMoveCount = 0;
Move quickPlayed[kHistorySize + 64];

void usage() {
    std::fprintf(
        stderr,
        "usage: cube-solve [--mixes N] [--moves FILE] [--entry E] [--print]\n"
        "  --mixes N    press the mix key N times first (0 to %d)\n"
        "  --moves FILE then apply the moves in FILE as manual turns ('-' = stdin),\n"
        "               one \"layer direction\" pair a line, layer 1..9, direction 1 or -1\n"
        "  --entry E    solve with menu entry E, 0..%d (default 0)\n"
        "  --print      write the solution's moves to standard output\n",
        kHistoryLimit / 50, kMenuSize - 1);
}

// Parses a whole decimal int; false on anything else.
bool parseInt(const char* text, int* out) {
    if (!text || !*text) return false;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || v < INT_MIN || v > INT_MAX) return false;
    *out = static_cast<int>(v);
    return true;
}

// Reads the move file whole before anything is changed or written. Returns
// false after printing a message that names the file and the line.
bool readMoves(const char* name) {
    FILE* in = std::strcmp(name, "-") == 0 ? stdin : std::fopen(name, "r");
    const char* shown = std::strcmp(name, "-") == 0 ? "<stdin>" : name;
    if (!in) {
        std::fprintf(stderr, "cube-solve: cannot read %s: %s\n", shown, std::strerror(errno));
        return false;
    }
    char line[256];
    int lineNo = 0;
    bool ok = true;
    while (ok && std::fgets(line, sizeof line, in)) {
        ++lineNo;
        const size_t len = std::strlen(line);
        if (len == sizeof line - 1 && line[len - 1] != '\n') {
            std::fprintf(stderr, "cube-solve: %s:%d: line too long\n", shown, lineNo);
            ok = false;
            break;
        }
        // Blank lines are allowed; anything else is exactly two integers.
        char* p = line;
        while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n') ++p;
        if (*p == '\0') continue;
        char a[64], b[64], extra[2];
        const int fields = std::sscanf(line, "%63s %63s %1s", a, b, extra);
        int layer = 0, direction = 0;
        if (fields != 2 || !parseInt(a, &layer) || !parseInt(b, &direction)) {
            std::fprintf(stderr, "cube-solve: %s:%d: expected \"layer direction\", got: %s", shown,
                         lineNo, line);
            if (line[len - 1] != '\n') std::fputc('\n', stderr);
            ok = false;
        } else if (layer < 1 || layer > 9) {
            std::fprintf(stderr, "cube-solve: %s:%d: layer %d is outside 1..9\n", shown, lineNo,
                         layer);
            ok = false;
        } else if (direction != 1 && direction != -1) {
            std::fprintf(stderr, "cube-solve: %s:%d: direction %d is neither 1 nor -1\n", shown,
                         lineNo, direction);
            ok = false;
        } else if (fileMoveCount >= kMaxFileMoves) {
            std::fprintf(stderr, "cube-solve: %s:%d: too many moves for the history (%d at most)\n",
                         shown, lineNo, kMaxFileMoves);
            ok = false;
        } else {
            fileMoves[fileMoveCount++] = {layer, direction};
        }
    }
    if (ok && std::ferror(in)) {
        std::fprintf(stderr, "cube-solve: cannot read %s: %s\n", shown, std::strerror(errno));
        ok = false;
    }
    if (in != stdin) std::fclose(in);
    return ok;
}

// Presses the mix key once: a mix written and played whole, as the program's
// mix animation leaves it.
void mixOnce() {
    randomMix();
    playMixWhole();
}

} // namespace

int main(int argc, char** argv) {
    int mixes = 0, entry = 0, print = 0;
    const char* movesFile = nullptr;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(arg, "--mixes") == 0 && hasValue) {
            if (!parseInt(argv[++i], &mixes) || mixes < 0) {
                std::fprintf(stderr, "cube-solve: --mixes takes a whole number >= 0, not '%s'\n",
                             argv[i]);
                return 2;
            }
        } else if (std::strcmp(arg, "--moves") == 0 && hasValue) {
            movesFile = argv[++i];
        } else if (std::strcmp(arg, "--entry") == 0 && hasValue) {
            if (!parseInt(argv[++i], &entry) || !menuEntryExists(entry)) {
                std::fprintf(stderr, "cube-solve: unknown entry '%s' (the menu has 0..%d)\n",
                             argv[i], kMenuSize - 1);
                return 2;
            }
        } else if (std::strcmp(arg, "--print") == 0) {
            print = 1;
        } else if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            usage();
            return 0;
        } else {
            std::fprintf(stderr, "cube-solve: unknown or incomplete argument '%s'\n", arg);
            usage();
            return 2;
        }
    }
    if (mixes > kHistoryLimit / N) {
        std::fprintf(stderr, "cube-solve: too many mixes for the history: %d (at most %d)\n", mixes,
                     kHistoryLimit / N);
        return 2;
    }
    if (movesFile && !readMoves(movesFile)) return 2;
    if (mixes * N + fileMoveCount > kHistoryLimit) {
        std::fprintf(
            stderr, "cube-solve: %d mixes and %d moves are too many for the history (%d records)\n",
            mixes, fileMoveCount, kHistoryLimit);
        return 2;
    }

    // A fresh program run: the start state and the generator at its start.
    resetSolver();
    const bool replay = kMenu[entry].kind == kHistoryReplay;
    for (int m = 0; m < mixes; ++m) mixOnce();
    for (int i = 0; i < fileMoveCount; ++i) {
        pushHistory(fileMoves[i].layer, fileMoves[i].direction);
        turnLayer(fileMoves[i].layer, fileMoves[i].direction);
    }

    const auto started = std::chrono::steady_clock::now();
    int moves = 0;
    bool solved = false;
    bool computed = true;
    if (replay) {
        solveState.solveRequested = 1;
        moves = runQuickSolve(quickPlayed, kHistorySize + 64);
        solveState.driverCalls = 0;
        solved = isSolved();
        if (print)
            for (int i = 0; i < moves && i < kHistorySize + 64; ++i)
                std::printf("%d %d\n", quickPlayed[i].layer, quickPlayed[i].direction);
    } else {
        solveState.solveRequested = 1;
        // The 'X' routine writes its marker lines to standard output while it
        // solves; send them to standard error so that --print stays a clean
        // move list.
        std::fflush(stdout);
        const int savedOut = dup(STDOUT_FILENO);
        if (savedOut >= 0) dup2(STDERR_FILENO, STDOUT_FILENO);
        computed = computeSolve(entry) == 1;
        std::fflush(stdout);
        if (savedOut >= 0) {
            dup2(savedOut, STDOUT_FILENO);
            close(savedOut);
        }
        moves = solutionCount;
    }
    const long long micros = std::chrono::duration_cast<std::chrono::microseconds>(
                                 std::chrono::steady_clock::now() - started)
                                 .count();
    if (!replay) {
        if (computed) {
            // The playback: every recorded move applied to the restored cube.
            for (int i = 0; i < solutionCount; ++i) {
                turnLayer(SolutionList[i].layer, SolutionList[i].direction);
                if (print) std::printf("%d %d\n", SolutionList[i].layer, SolutionList[i].direction);
            }
            solved = isSolved();
            endSolve();
        } else {
            std::fprintf(stderr,
                         "cube-solve: the solve was abandoned at its bound (%d driver calls)\n",
                         solveState.driverCalls);
        }
    }
    std::fflush(stdout);
    std::fprintf(stderr, "entry %d: %d moves, %d driver calls, %lld us, %s\n", entry, moves,
                 solveState.driverCalls, micros, solved ? "solved" : "NOT solved");
    return solved ? 0 : 1;
}
