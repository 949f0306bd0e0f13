// cube-solve: the program's solver without a window, for scripts, tests and
// benchmarks.
//
//   cube-solve [--state STRING | --state-file FILE | --scramble MOVES] [--mixes N]
//              [--moves FILE] [--entry E] [--print] [--notation] [--stages]
//              [--show-state]
//   cube-solve --batch [FILE] [--entry E] [--jobs N] [--logs]
//
// Starts from the start state, as a fresh run of the program does (or from
// the cube a state string describes, checked before anything is done, or the
// one a scramble in notation makes of the solved cube); presses the mix key N
// times (each mix applied whole); applies the moves in FILE ("-" for standard
// input; one "layer direction" pair a line, the journal's format, or a line of
// notation) as manual turns; then solves with menu entry E (default 0) as pressing that
// digit does, writing "Kyb.txt" and "kub2.txt" into the working directory,
// plays the solution back on the restored cube and checks that it ends solved.
// The solution is printed as "layer direction" lines, in standard notation,
// or one line per stage of the routine.
// With --show-state and none of --entry, --print, --notation and --stages it
// only prints the state: nothing is solved or written.
// Exit status: 0 solved, 1 not solved, 2 bad input (nothing written then), 3
// solved but "Kyb.txt" or "kub2.txt" could not be written (the message says
// which and why).
// With --batch it solves many cubes instead, one a line (see solve/batch.h):
// exit status 0 when every line was solved, 1 when some line was not (or the
// entry cannot solve at all), 2 bad arguments or an unreadable file.
#include "model/cube.h"
#include "model/cube_text.h"
#include "model/moves.h"
#include "model/textlog.h"
#include "solve/batch.h"
#include "solve/menu.h"
#include "solve/quick.h"
#include "solve/solver.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <csignal>
#include <cstring>
#include <thread>
#include <unistd.h>

namespace {

// Exit statuses.
constexpr int kExitSolved = 0;
constexpr int kExitNotSolved = 1;
constexpr int kExitBadInput = 2;
constexpr int kExitUnwritten = 3; // solved, but "Kyb.txt" or "kub2.txt" not written

// --batch: the entry used when none is given ("Short"), and the most threads.
constexpr int kBatchDefaultEntry = 6;
constexpr int kMaxJobs = 256;

// Characters of one move-file line, its line feed not counted.
constexpr int kMaxLineLength = 254;

constexpr int kMaxFileMoves = kHistoryLimit;
Move fileMoves[kMaxFileMoves];
int fileMoveCount = 0;
constexpr int kQuickPlayedSize = kHistorySize + 64;
Move quickPlayed[kQuickPlayedSize];
// The solution in notation: at most three characters and a space a move.
char notationText[kSolutionListSize * 4 + 1];

// The moves of --scramble.
Move scrambleMoves[kMaxFileMoves];
int scrambleCount = 0;

// The help text: on standard output for --help, on standard error after a
// usage error.
void usage(FILE* to) {
    std::fprintf(to,
                 "usage: cube-solve [--state STRING | --state-file FILE | --scramble MOVES]\n"
                 "                  [--mixes N] [--moves FILE] [--entry E] [--print] [--notation]\n"
                 "                  [--stages] [--show-state]\n"
                 "       cube-solve --batch [FILE] [--entry E] [--jobs N] [--logs]\n"
                 "       cube-solve --help | --version\n"
                 "  --state STRING  start from this cube: 54 letters, faces U R F D L B, nine\n"
                 "               stickers each in reading order, each the letter of the face\n"
                 "               whose centre has its colour (solved: UUUUUUUUURRR...BBB)\n"
                 "  --state-file FILE  the same, from the first line of FILE ('-' = stdin)\n"
                 "  --scramble MOVES  start from the cube these moves in standard notation make\n"
                 "               of the solved cube, e.g. \"R U F' M2\"\n"
                 "  --mixes N    press the mix key N times first (0 to %d)\n"
                 "  --moves FILE then apply the moves in FILE as manual turns ('-' = stdin):\n"
                 "               a line is one \"layer direction\" pair (layer 1..9, direction\n"
                 "               1 or -1) or moves in standard notation (R U' F2 M ...); at most\n"
                 "               %d lines and moves (%d fewer per mix, blank lines count) of at\n"
                 "               most %d characters\n"
                 "  --entry E    solve with menu entry E, 0..%d (default 0); the history replay\n"
                 "               (Quick) cannot solve a cube given with --state or --scramble\n"
                 "  --print      write the solution's moves to standard output\n"
                 "  --notation   print the solution in standard notation (R U' F2 M ...)\n"
                 "  --stages     print the solution one line per stage, headed by its name\n"
                 "  --show-state print the cube's state string before the solve; without\n"
                 "               --entry, --print, --notation and --stages only the state is\n"
                 "               printed: nothing is solved and no file is written\n"
                 "  --batch [FILE]  solve every line of FILE (standard input when none or '-'):\n"
                 "               a 54-letter state or a mix in notation played from the solved\n"
                 "               cube; one line out for each, in order: the solution in\n"
                 "               notation, or \"error: line N: \" and the fault. Entry 6 unless\n"
                 "               --entry is given; no Kyb.txt or kub2.txt unless --logs\n"
                 "  --jobs N     --batch: search on N threads (default: one per processor);\n"
                 "               the answers are the same for every N. Entries 0 to 5 share\n"
                 "               the one cube and solve on one thread\n"
                 "  --logs       --batch: write Kyb.txt and kub2.txt as single solves do\n"
                 "  --help       print this text\n"
                 "  --version    print the program's version\n"
                 "Each option may be given once. A solve writes Kyb.txt (its trace) and\n"
                 "appends to kub2.txt (its moves) in the working directory; --batch writes\n"
                 "them only with --logs, --show-state alone never.\n"
                 "Exit status: %d solved, %d not solved, %d bad input (nothing written),\n"
                 "             %d solved but Kyb.txt or kub2.txt could not be written\n",
                 kHistoryLimit / N, kHistoryLimit, N, kMaxLineLength, kMenuSize - 1, kExitSolved,
                 kExitNotSolved, kExitBadInput, kExitUnwritten);
}

// ---- Numbers --------------------------------------------------------------

enum NumberRead { kNumberOk, kNotANumber, kOutOfRange };

// Reads a whole decimal int (an optional sign, then digits) from `text`.
NumberRead readNumber(const char* text, int* out) {
    if (!text || !*text) return kNotANumber;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0') return kNotANumber;
    if (errno == ERANGE || v < INT_MIN || v > INT_MAX) return kOutOfRange;
    *out = static_cast<int>(v);
    return kNumberOk;
}

// ---- Options --------------------------------------------------------------

struct ToolOptions {
    int mixes = 0;
    int entry = 0;
    int print = 0;
    int notation = 0;
    int stages = 0;
    int showState = 0;
    int entryGiven = 0;
    const char* scramble = nullptr;
    const char* movesFile = nullptr;
    const char* state = nullptr;
    const char* stateFile = nullptr;
    // --batch [FILE] ("-" or none: standard input), --jobs N, --logs
    int batch = 0;
    const char* batchFile = nullptr;
    int jobs = 0; // 0: one per processor
    int logs = 0;
};

enum Flag {
    kMixesFlag,
    kMovesFlag,
    kEntryFlag,
    kPrintFlag,
    kStateFlag,
    kStateFileFlag,
    kNotationFlag,
    kStagesFlag,
    kShowStateFlag,
    kScrambleFlag,
    kBatchFlag,
    kJobsFlag,
    kLogsFlag,
    kHelpFlag,
    kFlagCount
};

struct FlagSpec {
    const char* name;
    const char* shortName;
    int takesValue;
};

constexpr FlagSpec kFlags[kFlagCount] = {
    {"--mixes", nullptr, 1},    {"--moves", nullptr, 1},  {"--entry", nullptr, 1},
    {"--print", nullptr, 0},    {"--state", nullptr, 1},  {"--state-file", nullptr, 1},
    {"--notation", nullptr, 0}, {"--stages", nullptr, 0}, {"--show-state", nullptr, 0},
    {"--scramble", nullptr, 1}, {"--batch", nullptr, 0},  {"--jobs", nullptr, 1},
    {"--logs", nullptr, 0},     {"--help", "-h", 0}};

int findFlag(const char* arg) {
    for (int f = 0; f < kFlagCount; ++f)
        if (std::strcmp(arg, kFlags[f].name) == 0 ||
            (kFlags[f].shortName && std::strcmp(arg, kFlags[f].shortName) == 0))
            return f;
    return -1;
}

// Reads the command line into `o`. Returns -1 to go on, or the exit status
// to end with (after --help, or a message for a bad argument).
int parseOptions(int argc, char** argv, ToolOptions* o) {
    int seen[kFlagCount] = {};
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const int flag = findFlag(arg);
        if (flag < 0 || (kFlags[flag].takesValue && i + 1 >= argc)) {
            std::fprintf(stderr, "cube-solve: unknown or incomplete argument '%s'\n", arg);
            usage(stderr);
            return kExitBadInput;
        }
        if (seen[flag]++) {
            std::fprintf(stderr, "cube-solve: %s is given more than once\n", kFlags[flag].name);
            return kExitBadInput;
        }
        const char* value = kFlags[flag].takesValue ? argv[++i] : nullptr;
        switch (flag) {
        case kMixesFlag: {
            const NumberRead r = readNumber(value, &o->mixes);
            if (r == kOutOfRange) {
                std::fprintf(stderr, "cube-solve: --mixes %s is out of range (0 to %d)\n", value,
                             kHistoryLimit / N);
                return kExitBadInput;
            }
            if (r != kNumberOk || o->mixes < 0) {
                std::fprintf(stderr, "cube-solve: --mixes takes a whole number >= 0, not '%s'\n",
                             value);
                return kExitBadInput;
            }
            break;
        }
        case kMovesFlag:
            o->movesFile = value;
            break;
        case kEntryFlag:
            o->entryGiven = 1;
            if (readNumber(value, &o->entry) != kNumberOk || !menuEntryExists(o->entry)) {
                std::fprintf(stderr, "cube-solve: unknown entry '%s' (the menu has 0..%d)\n", value,
                             kMenuSize - 1);
                return kExitBadInput;
            }
            break;
        case kPrintFlag:
            o->print = 1;
            break;
        case kStateFlag:
            o->state = value;
            break;
        case kStateFileFlag:
            o->stateFile = value;
            break;
        case kNotationFlag:
            o->notation = 1;
            break;
        case kStagesFlag:
            o->stages = 1;
            break;
        case kShowStateFlag:
            o->showState = 1;
            break;
        case kScrambleFlag:
            o->scramble = value;
            break;
        case kBatchFlag:
            o->batch = 1;
            // An optional FILE: the next argument unless it is an option.
            if (i + 1 < argc && (argv[i + 1][0] != '-' || std::strcmp(argv[i + 1], "-") == 0))
                o->batchFile = argv[++i];
            break;
        case kJobsFlag:
            if (readNumber(value, &o->jobs) != kNumberOk || o->jobs < 1 || o->jobs > kMaxJobs) {
                std::fprintf(stderr,
                             "cube-solve: --jobs takes a number of threads, 1 to %d, not '%s'\n",
                             kMaxJobs, value);
                return kExitBadInput;
            }
            break;
        case kLogsFlag:
            o->logs = 1;
            break;
        default:
            usage(stdout);
            return kExitSolved;
        }
    }
    if (!o->batch && (o->jobs || o->logs)) {
        std::fprintf(stderr, "cube-solve: --jobs and --logs go with --batch\n");
        return kExitBadInput;
    }
    if (o->batch && (o->state || o->stateFile || o->scramble || o->mixes || o->movesFile ||
                     o->print || o->stages || o->showState)) {
        std::fprintf(stderr, "cube-solve: --batch reads its cubes from its input and prints "
                             "notation; it takes only --entry, --jobs and --logs\n");
        return kExitBadInput;
    }
    // In batch mode the routine that suits many cubes is the default.
    if (o->batch && !o->entryGiven) o->entry = kBatchDefaultEntry;
    if ((o->state != nullptr) + (o->stateFile != nullptr) + (o->scramble != nullptr) > 1) {
        std::fprintf(stderr, "cube-solve: give one of --state, --state-file and --scramble\n");
        return kExitBadInput;
    }
    if ((o->state || o->stateFile || o->scramble) && kMenu[o->entry].kind == kHistoryReplay) {
        std::fprintf(stderr,
                     "cube-solve: entry %d (\"%s\") only undoes the recorded mixes and turns, so "
                     "it cannot solve a cube given with --state, --state-file or --scramble\n",
                     o->entry, kMenu[o->entry].label);
        return kExitBadInput;
    }
    if (o->scramble) {
        char message[kTextMessageSize];
        scrambleCount =
            parseMoves(o->scramble, scrambleMoves, kMaxFileMoves, message, sizeof message);
        if (scrambleCount < 0) {
            std::fprintf(stderr, "cube-solve: --scramble: %s\n", message);
            return kExitBadInput;
        }
    }
    return -1;
}

// ---- The state string -------------------------------------------------------

char stateText[kStateLineMax + 1];

// Takes the state string of --state or --state-file into stateText and checks
// it. Returns false after the message.
bool takeStateText(const ToolOptions& o) {
    char message[kTextMessageSize];
    const int fromFile = o.stateFile != nullptr;
    if (takeStateArgument(fromFile ? o.stateFile : o.state, fromFile, stateText, message,
                          sizeof message))
        return true;
    std::fprintf(stderr, "cube-solve: %s\n", message);
    return false;
}

// ---- Printing the solution --------------------------------------------------

// Writes moves[0..count-1]: in notation, or as "layer direction" pairs
// separated by `pairGap`.
void printMoves(const Move* moves, int count, int notation, const char* pairGap) {
    if (notation) {
        formatMoves(moves, count, notationText, sizeof notationText);
        std::fputs(notationText, stdout);
        return;
    }
    for (int i = 0; i < count; ++i)
        std::printf("%s%d %d", i ? pairGap : "", moves[i].layer, moves[i].direction);
}

// The solution of `entry`, as the options ask: one line per stage (a run of
// records of one stage id; `stages` null for a routine without stages), one
// line in notation, or one "layer direction" line per move.
void printSolution(const ToolOptions& o, const Move* moves, const int* stages, int count) {
    if (o.stages) {
        for (int i = 0; i < count;) {
            int end = i + 1;
            while (stages && end < count && stages[end] == stages[i]) ++end;
            if (!stages) end = count;
            const char* name = stages ? solveStageName(o.entry, stages[i]) : kMenu[o.entry].label;
            std::printf("%s: ", name);
            printMoves(moves + i, end - i, o.notation, ", ");
            std::fputc('\n', stdout);
            i = end;
        }
    } else if (o.notation) {
        printMoves(moves, count, 1, "");
        std::fputc('\n', stdout);
    } else if (o.print) {
        printMoves(moves, count, 0, "\n");
        if (count > 0) std::fputc('\n', stdout);
    }
}

// ---- Move files -----------------------------------------------------------

enum LineRead { kLineOk, kLineEnd, kLineTooLong, kLineNul, kLineError };

// Reads one line (without its line feed) into `line`; a last line may lack
// the line feed. Stops at a NUL byte or a line longer than kMaxLineLength.
LineRead readLine(FILE* in, char (&line)[kMaxLineLength + 1], int* length) {
    int n = 0, c = 0;
    while ((c = std::getc(in)) != EOF && c != '\n') {
        if (c == '\0') return kLineNul;
        if (n == kMaxLineLength) return kLineTooLong;
        line[n++] = static_cast<char>(c);
    }
    line[n] = '\0';
    *length = n;
    if (std::ferror(in)) return kLineError;
    return c == EOF && n == 0 ? kLineEnd : kLineOk;
}

// Writes `line` to standard error quoted, its control bytes escaped.
void quoteLine(const char* line, int length) {
    char shown[4 * kMaxLineLength + 8];
    std::fputs(quoteText(line, length, shown, sizeof shown), stderr);
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// Splits `line` into at most `max` blank-separated fields, in place; returns
// how many there were (max + 1 when there were more).
int splitFields(char* line, char** fields, int max) {
    int n = 0;
    for (char* p = line; *p;) {
        while (isBlank(*p)) *p++ = '\0';
        if (!*p) break;
        if (n == max) return max + 1;
        fields[n++] = p;
        while (*p && !isBlank(*p)) ++p;
    }
    return n;
}

// A line of notation starts with a move letter; a "layer direction" line
// with a number.
bool notationLine(const char* line) {
    while (isBlank(*line)) ++line;
    for (const NotationTurn& t : kNotationTurns)
        if (*line == t.letter) return true;
    return false;
}

// The most quarter turns one line of notation can name: "R2" and a blank
// are two.
constexpr int kMaxLineMoves = kMaxLineLength;

// One line of a move file: the number of moves written to `out` (room for
// kMaxLineMoves; 0 for a blank line), or -1 after a message naming the file
// and the line (and, in notation, the word).
int parseMoveLine(const char* shown, int lineNo, char* line, int length, Move* out) {
    if (notationLine(line)) {
        char message[kTextMessageSize];
        const int n = parseMoves(line, out, kMaxLineMoves, message, sizeof message);
        if (n < 0) std::fprintf(stderr, "cube-solve: %s:%d: %s\n", shown, lineNo, message);
        return n;
    }
    char original[kMaxLineLength + 1];
    std::memcpy(original, line, static_cast<size_t>(length) + 1);
    char* field[2] = {};
    const int fields = splitFields(line, field, 2);
    if (fields == 0) return 0;
    int value[2] = {};
    const NumberRead r[2] = {fields == 2 ? readNumber(field[0], &value[0]) : kNotANumber,
                             fields == 2 ? readNumber(field[1], &value[1]) : kNotANumber};
    if (r[0] == kNotANumber || r[1] == kNotANumber) {
        std::fprintf(stderr, "cube-solve: %s:%d: expected \"layer direction\" or notation, got ",
                     shown, lineNo);
        quoteLine(original, length);
        std::fputc('\n', stderr);
    } else if (r[0] == kOutOfRange) {
        std::fprintf(stderr, "cube-solve: %s:%d: layer %s is out of range (1..9)\n", shown, lineNo,
                     field[0]);
    } else if (r[1] == kOutOfRange) {
        std::fprintf(stderr, "cube-solve: %s:%d: direction %s is out of range (1 or -1)\n", shown,
                     lineNo, field[1]);
    } else if (value[0] < 1 || value[0] > 9) {
        std::fprintf(stderr, "cube-solve: %s:%d: layer %d is outside 1..9\n", shown, lineNo,
                     value[0]);
    } else if (value[1] != 1 && value[1] != -1) {
        std::fprintf(stderr, "cube-solve: %s:%d: direction %d is neither 1 nor -1\n", shown, lineNo,
                     value[1]);
    } else {
        *out = {value[0], value[1]};
        return 1;
    }
    return -1;
}

// Reads the move file whole before anything is changed or written, and no
// further than the `room` lines the history has left after `mixes` mixes, so
// that endless input ends too. Returns false after a message that names the
// file and the line.
bool readMoves(const char* name, int room, int mixes) {
    const bool useStdin = std::strcmp(name, "-") == 0;
    FILE* in = useStdin ? stdin : std::fopen(name, "r");
    const char* shown = useStdin ? "<stdin>" : name;
    if (!in) {
        std::fprintf(stderr, "cube-solve: cannot read %s: %s\n", shown, std::strerror(errno));
        return false;
    }
    char line[kMaxLineLength + 1];
    int length = 0;
    bool ok = true;
    for (int lineNo = 1; ok; ++lineNo) {
        const LineRead got = readLine(in, line, &length);
        if (got == kLineEnd) break;
        ok = false;
        if (got == kLineError) {
            std::fprintf(stderr, "cube-solve: cannot read %s: %s\n", shown, std::strerror(errno));
        } else if (got == kLineNul) {
            std::fprintf(stderr, "cube-solve: %s:%d: NUL byte in the line\n", shown, lineNo);
        } else if (got == kLineTooLong) {
            std::fprintf(stderr, "cube-solve: %s:%d: line too long (at most %d characters)\n",
                         shown, lineNo, kMaxLineLength);
        } else if (lineNo > room) {
            std::fprintf(stderr,
                         "cube-solve: %s:%d: %d mixes and %d lines are too many for the history "
                         "(%d records)\n",
                         shown, lineNo, mixes, lineNo, kHistoryLimit);
        } else {
            Move lineMoves[kMaxLineMoves];
            const int parsed = parseMoveLine(shown, lineNo, line, length, lineMoves);
            if (parsed > room - fileMoveCount) {
                std::fprintf(stderr,
                             "cube-solve: %s:%d: %d mixes and %d moves are too many for the "
                             "history (%d records)\n",
                             shown, lineNo, mixes, fileMoveCount + parsed, kHistoryLimit);
            } else if (parsed >= 0) {
                for (int i = 0; i < parsed; ++i) fileMoves[fileMoveCount++] = lineMoves[i];
                ok = true;
            }
        }
    }
    if (!useStdin) std::fclose(in);
    return ok;
}

// Presses the mix key once: a mix written and played whole, as the program's
// mix animation leaves it.
void mixOnce() {
    randomMix();
    playMixWhole();
}

// The summary's note on the text files the solve could not write.
const char* unwrittenNote(int unwritten) {
    if (unwritten == (kTraceUnwritten | kJournalUnwritten))
        return ", journal and trace not written";
    if (unwritten & kJournalUnwritten) return ", journal not written";
    if (unwritten & kTraceUnwritten) return ", trace not written";
    return "";
}

// ---- Batch mode ---------------------------------------------------------------

// cube-solve --batch: every line of the input solved, one line out for each.
// The routines' own lines on standard output (the 'X' routine's markers) go
// to standard error, so that standard output holds the answers alone.
int runBatch(const ToolOptions& o) {
    const bool useStdin = !o.batchFile || std::strcmp(o.batchFile, "-") == 0;
    FILE* in = useStdin ? stdin : std::fopen(o.batchFile, "r");
    if (!in) {
        std::fprintf(stderr, "cube-solve: cannot read %s: %s\n", o.batchFile, std::strerror(errno));
        return kExitBadInput;
    }
    std::fflush(stdout);
    const int answers = dup(STDOUT_FILENO);
    FILE* out = answers >= 0 ? fdopen(answers, "w") : nullptr;
    if (!out) {
        std::fprintf(stderr, "cube-solve: cannot write the answers: %s\n", std::strerror(errno));
        return kExitBadInput;
    }
    dup2(STDERR_FILENO, STDOUT_FILENO);
    BatchOptions options;
    options.entry = o.entry;
    const unsigned cores = std::thread::hardware_concurrency();
    options.jobs = o.jobs > 0 ? o.jobs : cores > 0 ? static_cast<int>(cores) : 1;
    options.logs = o.logs;
    BatchCounts counts;
    char message[512] = "";
    const auto started = std::chrono::steady_clock::now();
    const int ran = solveBatch(in, out, options, counts, message, sizeof message);
    const long long millis = std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now() - started)
                                 .count();
    std::fflush(stdout);
    const bool written = std::fclose(out) == 0;
    if (!useStdin) std::fclose(in);
    if (!ran) std::fprintf(stderr, "cube-solve: %s\n", message);
    if (!written) std::fprintf(stderr, "cube-solve: the answers could not be written\n");
    const char* fault = nullptr;
    if (takeTextLogFault(&fault)) std::fprintf(stderr, "cube-solve: %s\n", fault);
    std::fprintf(stderr, "batch: entry %d, %d jobs: %ld lines, %ld solved, %ld errors, %lld ms\n",
                 o.entry, options.jobs, counts.lines, counts.solved, counts.failed, millis);
    if (!written) return kExitBadInput;
    return !ran || counts.failed ? kExitNotSolved : kExitSolved;
}

} // namespace

int main(int argc, char** argv) {
    // Past a file-size limit (ulimit -f) a write fails with EFBIG instead of
    // the signal ending the tool, and is reported like any failed write.
    std::signal(SIGXFSZ, SIG_IGN);
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("cube-solve %s\n", CUBE_VERSION);
            return 0;
        }
    ToolOptions o;
    const int parsed = parseOptions(argc, argv, &o);
    if (parsed >= 0) return parsed;
    if (o.batch) return runBatch(o);
    const int mixes = o.mixes, entry = o.entry;
    if (mixes > kHistoryLimit / N) {
        std::fprintf(stderr, "cube-solve: too many mixes for the history: %d (at most %d)\n", mixes,
                     kHistoryLimit / N);
        return kExitBadInput;
    }
    if ((o.state || o.stateFile) && !takeStateText(o)) return kExitBadInput;
    if (o.movesFile && !readMoves(o.movesFile, kHistoryLimit - mixes * N, mixes))
        return kExitBadInput;
    // A fresh program run: the start state and the generator at its start.
    resetSolver();
    if (o.state || o.stateFile) {
        char message[kTextMessageSize];
        readStateString(stateText, message, sizeof message); // checked above
    }
    // A scramble is played on the solved cube, outside the history, like a
    // given state.
    for (int i = 0; i < scrambleCount; ++i)
        turnLayer(scrambleMoves[i].layer, scrambleMoves[i].direction);
    const bool replay = kMenu[entry].kind == kHistoryReplay;
    for (int m = 0; m < mixes; ++m) mixOnce();
    for (int i = 0; i < fileMoveCount; ++i) {
        pushHistory(fileMoves[i].layer, fileMoves[i].direction);
        turnLayer(fileMoves[i].layer, fileMoves[i].direction);
    }
    if (o.showState) {
        char state[kStateLength + 1];
        writeStateString(state);
        std::printf("%s\n", state);
        // Asked for the state alone: nothing is solved or written.
        if (!o.entryGiven && !o.print && !o.notation && !o.stages) return kExitSolved;
    }

    // Only the entry that is run makes its tables ready, before the solve's
    // time; one that cannot solve (a missing or damaged table file) refuses
    // before anything is written.
    if (const char* why = prepareMenuEntry(entry)) {
        std::fprintf(stderr, "cube-solve: entry %d (\"%s\") cannot solve: %s\n", entry,
                     kMenu[entry].label, why);
        return kExitNotSolved;
    }
    const auto started = std::chrono::steady_clock::now();
    int moves = 0;
    bool solved = false;
    bool computed = true;
    if (replay) {
        solveState.solveRequested = 1;
        moves = runQuickSolve(quickPlayed, kQuickPlayedSize);
        solveState.driverCalls = 0;
        solved = isSolved();
        printSolution(o, quickPlayed, nullptr, moves < kQuickPlayedSize ? moves : kQuickPlayedSize);
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
            printSolution(o, SolutionList, SolutionStage, solutionCount);
            // The playback: every recorded move applied to the restored cube.
            solved = playSolutionAtOnce();
        } else {
            std::fprintf(stderr,
                         "cube-solve: the solve was abandoned at its bound (%d driver calls)\n",
                         solveState.driverCalls);
        }
    }
    const char* fault = nullptr;
    const int unwritten = replay ? 0 : takeTextLogFault(&fault);
    if (unwritten) std::fprintf(stderr, "cube-solve: %s\n", fault);
    std::fflush(stdout);
    std::fprintf(stderr, "entry %d: %d moves, %d driver calls, %lld us, %s%s\n", entry, moves,
                 solveState.driverCalls, micros, solved ? "solved" : "NOT solved",
                 unwrittenNote(unwritten));
    if (!solved) return kExitNotSolved;
    return unwritten ? kExitUnwritten : kExitSolved;
}
