// The three lists of moves: a stage's output (MoveList), a whole solve
// (SolutionList) and what was done to the cube by hand or by the mix
// (MoveHistory); the random mix and the runtime random generator it draws from.
#pragma once

struct Move {
    int layer;     // 1..9
    int direction; // +1 or -1
};

// The move that undoes m.
constexpr Move inverse(Move m) {
    return {m.layer, -m.direction};
}

// A stage's output. moveListLast is the index of the LAST record (not a size).
constexpr int kMoveListSize = 25;
extern Move MoveList[kMoveListSize];
extern int moveListLast;

// Every move of one solve, in order. solutionCount is the number of records.
constexpr int kSolutionListSize = 11000;
extern Move SolutionList[kSolutionListSize];
extern int solutionCount;
// The stage that made each SolutionList record (a stage id of solve/menu.h),
// written beside the record; solutionStage is the id the drivers set before
// they store moves.
extern int SolutionStage[kSolutionListSize];
extern int solutionStage;

// Mixes and manual turns since the last "Quick" solve, records 1..historyTop.
constexpr int kHistorySize = 1000;
extern Move MoveHistory[kHistorySize];
extern int historyTop;
// historyTop before the latest mix: the playback of the mix ends at mixStart + N.
extern int mixStart;
// Moves per mix.
extern int N;

// The "Quick" solve appends up to this many records of its own on top of the
// history, so mixes and manual turns stop that far below the end of the array.
constexpr int kQuickReserve = 16;
constexpr int kHistoryLimit = kHistorySize - 1 - kQuickReserve; // 983

// Checked appends. Each returns 1 when the move was stored, 0 when the list
// was full (and then nothing changed).
int appendSolution(int layer, int direction);
// Records a manual turn at historyTop + 1, or refuses it when it would take
// historyTop past kHistoryLimit.
int pushHistory(int layer, int direction);
// 1 when a whole mix still fits into the history.
int mixFits();

// Writes a mix of N moves after historyTop (see moves.cpp) and leaves
// historyTop on the first new record, as the mix playback's cursor. A mix that
// would not fit is refused whole: it returns 0 and changes nothing, not even
// the random generator. Returns 1 when the mix was written.
int randomMix();

// Plays the latest mix at once: every record from the cursor to mixStart + N
// turned, historyTop left on the last one, as the animated playback leaves
// it. Used where no frames run (the headless tool, tests, benchmarks).
void playMixWhole();

// The runtime library's linear congruential generator: state starts at 1,
// state = state * 214013 + 2531011 (mod 2^32), result (state >> 16) & 0x7FFF.
int runtimeRand();
// Puts the generator back to a given state (1 is the state at program start).
void runtimeSeed(unsigned state);
