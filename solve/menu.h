// The algorithm menu: one row per digit key, in key order. Everything that
// depends on which entries exist (the solve, the digit keys, the HUD's menu
// lines, cube-solve's --entry and the benchmark) reads this table, so a new
// routine is its own file plus one row here.
#pragma once

// How a menu entry solves.
enum SolveKind {
    kBaseLoop,      // the Base loop alone
    kTwoPhase,      // the entry's first phase, then the Base loop
    kHistoryReplay, // the recorded MoveHistory undone, animated as it goes
    kOneCall,       // the routine fills the SolutionList itself in one call
};

// The first phase of a two-phase entry: its driver is called until all of
// its tests held at the start of an iteration (see first_phase.cpp).
using PhaseTest = bool (*)();
struct FirstPhase {
    const char* name;   // what the phase reaches, for reports of the solve
    PhaseTest tests[5]; // evaluated in this order at the start of every iteration
    int testCount;
    void (*driver)();
    int moveLimit;     // no iteration starts at this many moves; 0 = no limit
    PhaseTest deadEnd; // ends the phase before the driver call; null = none
    int* deadEndSeen;  // counts those ends
};

struct MenuEntry {
    const char* label; // the HUD's name of the entry
    SolveKind kind;
    const FirstPhase* firstPhase; // kTwoPhase: the phase run before the Base loop
    // kOneCall: takes the backup and applies its moves as a driver does
    // (backupCube, applyMove); returns 0 when it gave up.
    int (*wholeSolve)();
    // Makes ready what the routine needs before its first solve (once; later
    // calls return at once): null when it can solve, else why it cannot (the
    // entry then refuses every solve). Null = nothing to make ready.
    const char* (*prepare)() = nullptr;
    // For a caller that must not wait: 1 when computeSolve of this entry
    // will answer within a frame, 0 while a worker still searches for the
    // live cube (started by the first call). Null = always 1.
    int (*readyToSolve)() = nullptr;
};

constexpr int kMenuSize = 7;
extern const MenuEntry kMenu[kMenuSize];

// The Base algorithm's seven stages by number 1..7, for reports of the solve.
extern const char* const kBaseStageNames[8];

// The stage ids kept beside every SolutionList record (SolutionStage): 1..7
// the Base stages, kFirstPhaseStage the entry's first phase, kWholeEntryStage
// a routine that names no stages of its own (shown as the entry's label).
constexpr int kFirstPhaseStage = 8;
constexpr int kWholeEntryStage = 9;
// The name of stage id `stage` in a solve of menu entry `entry`.
const char* solveStageName(int entry, int stage);

// 1 when `entry` is a row of the menu.
inline int menuEntryExists(int entry) {
    return entry >= 0 && entry < kMenuSize;
}
// Makes ready what the entry's routine needs, if anything (see
// MenuEntry::prepare): null, or why the entry cannot solve.
inline const char* prepareMenuEntry(int entry) {
    if (menuEntryExists(entry) && kMenu[entry].prepare) return kMenu[entry].prepare();
    return nullptr;
}
// Whether computeSolve(entry) on the live cube answers within a frame now
// (see MenuEntry::readyToSolve); the window asks before it calls it.
inline int menuEntryReadyToSolve(int entry) {
    if (menuEntryExists(entry) && kMenu[entry].readyToSolve) return kMenu[entry].readyToSolve();
    return 1;
}
