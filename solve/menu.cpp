// The algorithm menu, one row per digit key.
#include "solve/menu.h"

#include "solve/routines.h"
#include "solve/short/routine.h"

constexpr MenuEntry kMenu[kMenuSize] = {
    {"Base algorythm", kBaseLoop, nullptr, nullptr},
    {"6 - cross algorythm", kTwoPhase, &kSixCrossPhase, nullptr},
    {"2x2x2 algorythm", kTwoPhase, &kTwoByTwoPhase, nullptr},
    {"Half-solve algoryth", kTwoPhase, &kHalfSolvePhase, nullptr},
    {"'X' - algorythm", kTwoPhase, &kXPatternPhase, nullptr},
    {"Quick algorythm", kHistoryReplay, nullptr, nullptr},
    {"Short algorythm", kOneCall, nullptr, shortWholeSolve, shortPrepare, shortAnswerReady},
};
static_assert(kMenu[kMenuSize - 1].label != nullptr, "kMenuSize counts one row too many");

const char* const kBaseStageNames[8] = {nullptr,
                                        "cross",
                                        "first-layer corners",
                                        "middle layer",
                                        "last-layer edges placed",
                                        "last-layer corners placed",
                                        "last-layer edges turned",
                                        "last-layer corners turned"};

const char* solveStageName(int entry, int stage) {
    if (stage >= 1 && stage <= 7) return kBaseStageNames[stage];
    if (!menuEntryExists(entry)) return "";
    if (stage == kFirstPhaseStage && kMenu[entry].firstPhase) return kMenu[entry].firstPhase->name;
    return kMenu[entry].label;
}
