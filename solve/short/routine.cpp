// The "Short" routine: the whole solve in one call. The two-phase search
// finds a short solution of the live cube without changing it (or the worker
// found it earlier); its quarter turns are then applied as every driver
// applies its moves: to the live cube, the SolutionList and "kub2.txt". The
// call is one stage call, so "Kyb.txt" is its trace: the whole solution, one
// line a turn (an empty trace for a solved cube).
#include "solve/short/routine.h"

#include "model/cube.h"
#include "model/textlog.h"
#include "solve/routines.h"
#include "solve/solver.h"
#include "solve/stage_common.h"

#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <thread>

namespace {

// A single solve searches its two halves side by side (the answer is the
// same on one thread).
constexpr int kSearchThreads = 2;

// The one answer kept ready, and the worker that finds it.
struct Answer {
    ShortViews views;
    Move moves[kShortSolveMaxLength];
    int count = 0;
    int timedOut = 0;
    int ready = 0; // the answer above is for `views`
};

struct Worker {
    std::mutex lock;
    Answer answer; // under lock
    int busy = 0;  // under lock: a search of answer.views is running
    std::thread thread;

    ~Worker() {
        if (thread.joinable()) thread.join();
    }
};

Worker& worker() {
    static Worker w;
    return w;
}

bool sameViews(const ShortViews& a, const ShortViews& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void search(Worker* w, ShortViews views) {
    static thread_local Move found[kShortSolveMaxLength];
    ShortSearch s(*shortTables());
    const int count = s.solve(views, found, kShortSolveMaxLength, kSearchThreads);
    std::lock_guard<std::mutex> hold(w->lock);
    Answer& a = w->answer;
    a.count = count;
    std::memcpy(a.moves, found, sizeof found[0] * static_cast<size_t>(count > 0 ? count : 0));
    a.timedOut = s.stats().timedOut;
    a.ready = 1;
    w->busy = 0;
}

// Takes the kept answer when it is for `views`: its move count (-1 for a
// search that found nothing), or -2 when there is none for them.
int takeAnswer(const ShortViews& views, Move* out, int capacity, int* timedOut) {
    Worker& w = worker();
    std::lock_guard<std::mutex> hold(w.lock);
    Answer& a = w.answer;
    if (!a.ready || w.busy || !sameViews(a.views, views)) return -2;
    a.ready = 0;
    if (a.count > capacity) return -1;
    if (a.count > 0) std::memcpy(out, a.moves, sizeof out[0] * static_cast<size_t>(a.count));
    *timedOut = a.timedOut;
    return a.count;
}

Move found[kShortSolveMaxLength];

void noteTimedOut() {
    std::fprintf(stderr,
                 "Short routine: the search reached its last-resort time limit (%d ms); this "
                 "answer may differ from run to run\n",
                 kShortLimits.wallLimitMillis);
}

} // namespace

const char* shortPrepare() {
    return shortTables() ? nullptr : shortTablesFault();
}

int shortSolve(Move* out, int capacity, ShortStats* stats) {
    const ShortTables* tables = shortTables();
    ShortViews views;
    if (tables == nullptr || !shortReadViews(views)) return -1;
    ShortSearch s(*tables);
    const int count = s.solve(views, out, capacity, kSearchThreads);
    if (stats) *stats = s.stats();
    return count;
}

int shortAnswerReady() {
    ShortViews views;
    if (shortTables() == nullptr || !shortReadViews(views)) return 1; // refused at once
    Worker& w = worker();
    std::unique_lock<std::mutex> hold(w.lock);
    if (w.busy) return 0;
    if (w.answer.ready && sameViews(w.answer.views, views)) return 1;
    hold.unlock();
    if (w.thread.joinable()) w.thread.join(); // done: busy is 0
    hold.lock();
    w.answer.views = views;
    w.answer.ready = 0;
    w.busy = 1;
    hold.unlock();
    w.thread = std::thread(search, &w, views);
    return 0;
}

int shortWorkerBusy() {
    Worker& w = worker();
    std::lock_guard<std::mutex> hold(w.lock);
    return w.busy;
}

void shortOfferAnswer(const ShortViews& views, const Move* moves, int count, int timedOut) {
    Worker& w = worker();
    std::lock_guard<std::mutex> hold(w.lock);
    if (w.busy) return; // the worker's answer is on its way
    Answer& a = w.answer;
    a.views = views;
    a.count = count <= kShortSolveMaxLength ? count : -1;
    if (a.count > 0) std::memcpy(a.moves, moves, sizeof moves[0] * static_cast<size_t>(a.count));
    a.timedOut = timedOut;
    a.ready = 1;
}

int shortWholeSolve() {
    // Without its tables the routine refuses, touching nothing.
    ShortViews views;
    if (shortTables() == nullptr || !driverCallAllowed() || !shortReadViews(views)) return 0;
    int timedOut = 0;
    int count = takeAnswer(views, found, kShortSolveMaxLength, &timedOut);
    if (count == -2) {
        ShortSearch s(*shortTables());
        count = s.solve(views, found, kShortSolveMaxLength, kSearchThreads);
        timedOut = s.stats().timedOut;
    }
    if (timedOut) noteTimedOut();
    if (count < 0) return 0;
    if (backupTaken == 0) backupCube();
    stageBegin();
    journalOpen();
    int applied = 1;
    for (int i = 0; i < count && applied; ++i) {
        traceMove(found[i].layer, found[i].direction);
        applied = applyMove(found[i]);
    }
    journalClose();
    stageEnd();
    solveState.playbackPending = 1;
    return applied;
}
