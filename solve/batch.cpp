// Many cubes solved one after the other. See batch.h.
#include "solve/batch.h"

#include "model/cube.h"
#include "model/cube_text.h"
#include "model/moves.h"
#include "model/textlog.h"
#include "solve/menu.h"
#include "solve/quick.h"
#include "solve/routines.h"
#include "solve/short/routine.h"
#include "solve/solver.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

// Lines read and solved together: the "Short" searches of a chunk are spread
// over the jobs, everything that touches the live cube stays on one thread.
constexpr size_t kChunkLines = 256;

struct Line {
    std::string text;
    long number = 0;
    int fault = 0; // set up refused it: `message` says why
    std::string message;
    ShortViews views;
    int count = 0;
    int timedOut = 0;
    Move moves[kShortSolveMaxLength];
};

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// Makes the line's cube the live cube of a fresh solver: a state string, or
// a mix in notation played from the solved cube (recorded in the history, so
// that "Quick" can undo it). 1, or 0 with the message.
int setUp(const std::string& text, int entry, std::string& message) {
    size_t begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;
    const std::string cube = text.substr(begin, end - begin);
    char why[kTextMessageSize];
    resetSolver();
    bool state = cube.size() == static_cast<size_t>(kStateLength);
    for (const char c : cube) state &= (c >= 'A' && c <= 'Z');
    if (state) {
        if (kMenu[entry].kind == kHistoryReplay) {
            message = "the history replay cannot solve a cube given as a state";
            return 0;
        }
        if (!readStateString(cube.c_str(), why, sizeof why)) {
            message = why;
            return 0;
        }
        return 1;
    }
    static Move mix[kHistoryLimit];
    const int n = parseMoves(cube.c_str(), mix, kHistoryLimit, why, sizeof why);
    if (n < 0) {
        message = why;
        return 0;
    }
    for (int i = 0; i < n; ++i) {
        pushHistory(mix[i].layer, mix[i].direction);
        turnLayer(mix[i].layer, mix[i].direction);
    }
    return 1;
}

// Solves the live cube with `entry` as a keypress does, plays the solution
// on it and checks that it ends solved; the solution in notation into
// `text`. 1, or 0 with the message.
int solveLine(int entry, std::string& text, std::string& message) {
    static Move played[kHistorySize + 64];
    static char notation[(kHistorySize + 64 + kSolutionListSize) * 4 + 1];
    const Move* moves = played;
    int count = 0;
    bool solved = false;
    solveState.solveRequested = 1;
    if (kMenu[entry].kind == kHistoryReplay) {
        count = runQuickSolve(played, kHistorySize + 64);
        solveState.driverCalls = 0;
        solved = isSolved();
    } else {
        if (!computeSolve(entry)) {
            message = "the solve was abandoned at its bound";
            return 0;
        }
        solved = playSolutionAtOnce();
        moves = SolutionList;
        count = solutionCount;
    }
    if (!solved) {
        message = "the solution does not solve the cube";
        return 0;
    }
    if (formatMoves(moves, count, notation, sizeof notation) < 0) {
        message = "the solution cannot be written in notation";
        return 0;
    }
    text = notation;
    return 1;
}

// Reads one line into `text`: 1, 0 at the end of the input, -1 on a read
// error. A line longer than kBatchLineMax is kept cut, with `tooLong` set.
int readLine(FILE* in, std::string& text, int& tooLong) {
    text.clear();
    tooLong = 0;
    int c = 0;
    while ((c = std::getc(in)) != EOF && c != '\n') {
        if (text.size() < static_cast<size_t>(kBatchLineMax))
            text.push_back(static_cast<char>(c));
        else
            tooLong = 1;
    }
    if (std::ferror(in)) return -1;
    return c == EOF && text.empty() && !tooLong ? 0 : 1;
}

// The searches of a chunk's lines, spread over `jobs` threads: each takes the
// next line not taken yet; every answer depends on its cube alone.
void searchChunk(std::vector<std::unique_ptr<Line>>& chunk, int jobs) {
    std::atomic<size_t> next{0};
    const auto work = [&chunk, &next] {
        ShortSearch search(*shortTables());
        for (size_t i = next++; i < chunk.size(); i = next++) {
            Line& l = *chunk[i];
            if (l.fault) continue;
            l.count = search.solve(l.views, l.moves, kShortSolveMaxLength);
            l.timedOut = search.stats().timedOut;
        }
    };
    std::vector<std::thread> helpers;
    for (int j = 1; j < jobs && static_cast<size_t>(j) < chunk.size(); ++j)
        helpers.emplace_back(work);
    work();
    for (std::thread& t : helpers) t.join();
}

void writeChunk(std::vector<std::unique_ptr<Line>>& chunk, int entry, int searched, FILE* out,
                BatchCounts& counts) {
    std::string text;
    for (const auto& line : chunk) {
        Line& l = *line;
        int ok = !l.fault;
        if (ok && searched) {
            setUp(l.text, entry, l.message); // as before the search: it took it then
            shortOfferAnswer(l.views, l.moves, l.count, l.timedOut);
        }
        if (ok && (searched || setUp(l.text, entry, l.message)))
            ok = solveLine(entry, text, l.message);
        else
            ok = 0;
        ++counts.lines;
        if (ok) {
            ++counts.solved;
            std::fprintf(out, "%s\n", text.c_str());
        } else {
            ++counts.failed;
            std::fprintf(out, "error: line %ld: %s\n", l.number, l.message.c_str());
        }
    }
}

} // namespace

int solveBatch(FILE* in, FILE* out, const BatchOptions& options, BatchCounts& counts, char* message,
               int messageSize) {
    const int entry = options.entry;
    if (const char* why = prepareMenuEntry(entry)) {
        std::snprintf(message, static_cast<size_t>(messageSize),
                      "entry %d (\"%s\") cannot solve: %s", entry, kMenu[entry].label, why);
        return 0;
    }
    // Only "Short" searches apart from the live cube, on the jobs' threads.
    const int searched = kMenu[entry].wholeSolve == shortWholeSolve;
    textLogDrop(!options.logs);
    std::vector<std::unique_ptr<Line>> chunk;
    long number = 0;
    int result = 1;
    for (bool more = true; more;) {
        chunk.clear();
        while (chunk.size() < kChunkLines) {
            auto l = std::make_unique<Line>();
            int tooLong = 0;
            const int got = readLine(in, l->text, tooLong);
            if (got < 0) {
                std::snprintf(message, static_cast<size_t>(messageSize), "cannot read line %ld: %s",
                              number + 1, std::strerror(errno));
                result = 0;
            }
            if (got <= 0) {
                more = false;
                break;
            }
            l->number = ++number;
            if (tooLong) {
                l->fault = 1;
                l->message =
                    "line too long (at most " + std::to_string(kBatchLineMax) + " characters)";
            } else if (std::memchr(l->text.data(), '\0', l->text.size()) != nullptr) {
                l->fault = 1;
                l->message = "NUL byte in the line";
            } else if (searched && setUp(l->text, entry, l->message)) {
                l->fault = !shortReadViews(l->views);
                if (l->fault) l->message = "the cube cannot be read";
            } else if (searched) {
                l->fault = 1;
            }
            chunk.push_back(std::move(l));
        }
        if (searched) searchChunk(chunk, options.jobs);
        writeChunk(chunk, entry, searched, out, counts);
    }
    std::fflush(out);
    textLogDrop(0);
    return result;
}
