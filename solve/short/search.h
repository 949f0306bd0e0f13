// The Short routine's two-phase search, limited by work, not by time: the same
// cube gives the same solution on any machine, at any load, on any thread.
//
// Phase 1 turns the cube, by any outer-layer turns, into the subgroup where
// only quarter turns of the two faces of the search axis and half turns of the
// four other faces are needed: every corner and edge oriented, the four edges
// of the middle layer of that axis in that layer. Phase 2 then solves it with
// those turns only. Each phase is an iterative-deepening search over small
// coordinates with move tables and distance tables, all counted in quarter
// turns (a half turn costs 2). The search runs from three axes and from the
// inverse cube (six views), and keeps looking for shorter totals until its
// solution is short enough or its work is spent.
#pragma once

#include "model/moves.h"
#include "solve/short/tables.h"

#include <atomic>

// Room for a solution, in quarter turns: above any length the search returns,
// the fallback's included (a solution that does not fit is refused, never
// cut).
constexpr int kShortSolveMaxLength = 120;

// How much work a solve may do, in nodes of the search (a node: one state of
// either phase that is expanded). The search stops at once with a solution
// of goodLength quarter turns or fewer; after patienceNodes with one of
// fairLength or fewer; after maxNodes with the best it has (from its first
// phase-1 solution on it always has one, at worst the fallback's). The wall
// clock is only a last resort (wallLimitMillis), far beyond what any cube
// needs; a solve that reaches it says so in its stats.
struct ShortLimits {
    int goodLength;
    int fairLength;
    long patienceNodes;
    long maxNodes;
    int wallLimitMillis;
};
extern const ShortLimits kShortLimits;

struct ShortStats {
    long nodes;   // the work done
    int length;   // quarter turns of the solution found, before merging
    int timedOut; // 1 when the wall-clock last resort ended the search
};

// One search's working state: its own paths, best solution and counters.
// Any number may run at once on different threads (each its own record).
//
// A solve is two halves of one search, split by the parity of the first
// turn: both take every level of phase-1 length in turn, each with the best
// of both as it stood when the level began, and their bests are put together
// only between levels; a level on which the first half finds a good enough
// solution ends with it. So the answer is the same whether the halves run on
// two threads or one after the other, and at any load. The limits' node
// counts are shared out: half to each.
class ShortSearch {
  public:
    explicit ShortSearch(const ShortTables& tables, const ShortLimits& limits = kShortLimits);
    // A short solution of the cube seen in `views`: quarter turns of the
    // outer layers 1, 3, 4, 6, 7 and 9 into out[0..] (a half turn as two
    // equal quarter turns), their number returned: 0 for a solved cube, -1
    // when the cube's coordinates are out of the tables' reach or the
    // solution does not fit into `capacity`. With threads > 1 the second
    // half runs on a thread of its own, made for the solve.
    int solve(const ShortViews& views, Move* out, int capacity, int threads = 1);
    const ShortStats& stats() const { return stats_; }

  private:
    static constexpr int kMaxPhase = 40;
    // Levels from this one on run the halves side by side (when asked).
    static constexpr int kParallelFrom = 8;
    // Makes this record half `part` (0 or 1) of a search of `views`: 0, or
    // -1 when a view's coordinates are out of the tables' reach.
    int prepare(const ShortViews& views, int part);
    // One level: phase 1 at exactly cost1 quarter turns, from every view.
    int bound() const { return best_.length < sharedLength_ ? best_.length : sharedLength_; }
    static constexpr int kMaxSolution = 4 * kMaxPhase;
    struct Phase1State {
        int twist, flip, slice, dist, corners, sliceOrder;
    };
    struct Best {
        int length, view, count, found;
        int moves[kMaxSolution];
    };
    void searchLevel(int cost1, const Best& merged, int mergedSearched);

    int timeUp();
    int phase2Distance(int cp, int ep, int sp) const;
    int searchPhase2(int cp, int ep, int sp, int depth, int costLeft, int lastFace);
    void takeFallback(int view, int length, int cost1, int cp, int ep, int sp);
    int startPhase2(int view, int length, int cost1, int cornerOrder, int sliceOrder);
    int searchPhase1(int view, const Phase1State& at, int depth, int cost, int costLeft);

    const ShortTables& t_;
    ShortLimits limits_;
    ShortStats stats_ = {};
    ShortCube start_[kShortViews] = {};
    Phase1State startState_[kShortViews] = {};
    int path1_[kMaxPhase] = {}, path2_[kMaxPhase] = {};
    Best best_ = {};
    long nodes_ = 0, candidateLimit_ = 0;
    long wallCheckAt_ = 0;
    int phase2Cap_ = 0, searched_ = 0, stopped_ = 0;
    int part_ = 0;                             // the parity of the first turns this half takes
    int sharedLength_ = 0;                     // the best length of both when the level began
    int sharedFound_ = 0;                      // whether either had a solution then
    const std::atomic<int>* cancel_ = nullptr; // set: stop; the work is not looked at
    long long wallDeadlineNanos_ = 0;
};
