// The Short routine's two-phase search. See search.h.
#include "solve/short/search.h"

#include "solve/short/distances.h"

#include <chrono>
#include <cstring>
#include <initializer_list>
#include <atomic>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kNoSolution = 999;
// Phase 2 is cut off at a few quarter turns: long phase-2 searches cost much
// and seldom give a short total, while phase-1 solutions are many and cheap.
// Until the search has a solution of its own, each phase-1 solution gets only
// kFirstCandidateNodes nodes of phase 2 (and a share of the work so far): one
// that needs more gives way to the next.
constexpr int kPhase2Cap = 16;
constexpr long kFirstCandidateNodes = 1500;
constexpr long kFirstGrowth = 4;
constexpr long kNoLimit = 1L << 62;
// The wall clock is looked at every this many nodes, and only as a last resort.
constexpr long kWallCheckNodes = 1 << 14;

long long nowNanos() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
        .count();
}

} // namespace

const ShortLimits kShortLimits = {24, 26, 25000, 80000, 2000};

ShortSearch::ShortSearch(const ShortTables& tables, const ShortLimits& limits)
    : t_(tables), limits_(limits) {}

// 1 when the search must end now: a solution at hand (the fallback's
// counts) and the work spent, or one fair enough after the work of patience,
// or the last-resort time limit passed.
int ShortSearch::timeUp() {
    ++nodes_;
    if (cancel_ != nullptr && cancel_->load(std::memory_order_relaxed)) stopped_ = 1;
    if (stopped_ || !(best_.found || sharedFound_)) return stopped_;
    if (nodes_ >= limits_.maxNodes / 2) stopped_ = 1;
    if (searched_ && bound() <= limits_.fairLength && nodes_ >= limits_.patienceNodes / 2)
        stopped_ = 1;
    if (nodes_ >= wallCheckAt_) {
        wallCheckAt_ = nodes_ + kWallCheckNodes;
        if (nowNanos() >= wallDeadlineNanos_) stopped_ = stats_.timedOut = 1;
    }
    return stopped_;
}

int ShortSearch::phase2Distance(int cp, int ep, int sp) const {
    const int a = t_.cornerSliceDist[cp * kShortSlicePerms + sp];
    const int b = t_.edgeSliceDist[ep * kShortSlicePerms + sp];
    return a > b ? a : b;
}

// Phase 2 at exactly costLeft quarter turns: 1 found, 0 not, -1 stopped, -2
// this candidate's work spent.
int ShortSearch::searchPhase2(int cp, int ep, int sp, int depth, int costLeft, int lastFace) {
    if (costLeft <= kShortNearCost) {
        if (shortNearDistance(t_, cp, ep, sp) != costLeft) return 0;
        // Down the distances: some turn always leads one distance nearer.
        while (costLeft > 0)
            for (int k = 0; k < kShortPhase2Moves; ++k) {
                const int cost = shortMoveCost(kShortPhase2Move[k]);
                const int ncp = t_.cornerPermMove[cp][k], nep = t_.edgePermMove[ep][k];
                const int nsp = t_.slicePermMove[sp][k];
                if (cost > costLeft || shortNearDistance(t_, ncp, nep, nsp) != costLeft - cost)
                    continue;
                path2_[depth++] = kShortPhase2Move[k];
                cp = ncp, ep = nep, sp = nsp;
                costLeft -= cost;
                break;
            }
        return 1;
    }
    if (timeUp()) return -1;
    if (nodes_ > candidateLimit_) return -2;
    // The children's table entries are asked for before any is read (see
    // searchPhase1), then those near enough for the near table have their
    // slots asked for before any child is searched.
    int ncp[kShortPhase2Moves], nep[kShortPhase2Moves], nsp[kShortPhase2Moves];
    int open[kShortPhase2Moves];
    for (int k = 0; k < kShortPhase2Moves; ++k) {
        const int m = kShortPhase2Move[k];
        open[k] = shortMoveCost(m) <= costLeft && shortAllowedAfter(m / 3, lastFace);
        if (!open[k]) continue;
        ncp[k] = t_.cornerPermMove[cp][k], nep[k] = t_.edgePermMove[ep][k];
        nsp[k] = t_.slicePermMove[sp][k];
        __builtin_prefetch(&t_.cornerSliceDist[ncp[k] * kShortSlicePerms + nsp[k]]);
        __builtin_prefetch(&t_.edgeSliceDist[nep[k] * kShortSlicePerms + nsp[k]]);
    }
    for (int k = 0; k < kShortPhase2Moves; ++k) {
        if (!open[k]) continue;
        const int left = costLeft - shortMoveCost(kShortPhase2Move[k]);
        open[k] = t_.cornerSliceDist[ncp[k] * kShortSlicePerms + nsp[k]] <= left &&
                  t_.edgeSliceDist[nep[k] * kShortSlicePerms + nsp[k]] <= left;
        if (open[k] && left <= kShortNearCost) {
            const uint32_t home = shortNearHome(shortPhase2Key(ncp[k], nep[k], nsp[k]));
            __builtin_prefetch(&t_.nearKey[home]);
            __builtin_prefetch(&t_.nearDist[home]);
        }
    }
    for (int k = 0; k < kShortPhase2Moves; ++k) {
        if (!open[k]) continue;
        const int m = kShortPhase2Move[k];
        path2_[depth] = m;
        const int r =
            searchPhase2(ncp[k], nep[k], nsp[k], depth + 1, costLeft - shortMoveCost(m), m / 3);
        if (r != 0) return r;
    }
    return 0;
}

// A phase-1 solution completed by the fallback, kept when it is the shortest
// so far: long, but at hand from the first phase-1 solution on.
void ShortSearch::takeFallback(int view, int length, int cost1, int cp, int ep, int sp) {
    int moves[kMaxSolution];
    for (int i = 0; i < length; ++i) moves[i] = path1_[i];
    const int n = shortFallbackPhase2(t_, cp, ep, sp, moves + length, kMaxSolution - length);
    if (n < 0) return;
    int cost = cost1;
    for (int i = length; i < length + n; ++i) cost += shortMoveCost(moves[i]);
    if (cost >= bound()) return;
    std::memcpy(best_.moves, moves, sizeof moves[0] * static_cast<size_t>(length + n));
    best_.length = cost;
    best_.view = view;
    best_.count = length + n;
    best_.found = 1;
}

// A phase-1 solution of `length` moves and cost cost1 for `view`: the
// shortest phase 2 that makes the total shorter than the best so far.
int ShortSearch::startPhase2(int view, int length, int cost1, int cornerOrder, int sliceOrder) {
    // Most phase-1 solutions end here: their corners alone are too far.
    const int room = bound() - 1 - cost1;
    if (searched_ &&
        t_.cornerSliceDist[cornerOrder * kShortSlicePerms + sliceOrder % kShortSlicePerms] >
            (phase2Cap_ < room ? phase2Cap_ : room))
        return 0;
    ShortCube c = start_[view];
    for (int i = 0; i < length; ++i) shortApplyMove(c, path1_[i]);
    const int cp = shortCornerPerm(c), ep = shortEdgePerm(c), sp = shortSlicePerm(c);
    if (!searched_) takeFallback(view, length, cost1, cp, ep, sp);
    const int lastFace = length > 0 ? path1_[length - 1] / 3 : -1;
    candidateLimit_ = searched_ ? kNoLimit : nodes_ + kFirstCandidateNodes + nodes_ / kFirstGrowth;
    for (int cost2 = phase2Distance(cp, ep, sp); cost1 + cost2 < bound() && cost2 <= phase2Cap_;
         cost2 += 2) {
        const int r = searchPhase2(cp, ep, sp, 0, cost2, lastFace);
        if (r == -1) return -1;
        if (r == -2) return 0; // the next phase-1 solution may do better
        if (r == 0) continue;
        best_.length = cost1 + cost2;
        best_.found = 1;
        searched_ = 1;
        if (best_.length <= limits_.goodLength) stopped_ = 1;
        best_.view = view;
        best_.count = 0;
        for (int i = 0; i < length; ++i) best_.moves[best_.count++] = path1_[i];
        for (int i = 0; cost2 > 0; ++i) {
            best_.moves[best_.count++] = path2_[i];
            cost2 -= shortMoveCost(path2_[i]);
        }
        return stopped_ ? -1 : 1;
    }
    return 0;
}

// Phase 1 at exactly costLeft more quarter turns from state `at`; -1 when
// stopped.
int ShortSearch::searchPhase1(int view, const Phase1State& at, int depth, int cost, int costLeft) {
    if (costLeft == 0) {
        if (at.dist != 0 || (depth == 0 && part_ == 1)) return 0;
        // A phase 1 that ends in a phase-2 turn was already tried shorter.
        if (depth > 0) {
            const int last = path1_[depth - 1];
            if (last / 3 < 2 || shortMoveCost(last) == 2) return 0;
        }
        return startPhase2(view, depth, cost, at.corners, at.sliceOrder) < 0 ? -1 : 0;
    }
    if (timeUp()) return -1;
    const int lastFace = depth > 0 ? path1_[depth - 1] / 3 : -1;
    if (costLeft == 1) {
        // The last turn, a quarter turn of a side face, must end on the goal
        // itself: told by the move tables alone, without the distance table
        // (most nodes of a search are here).
        const int solvedSlice = shortSolvedSlice();
        for (int m = 6; m < kShortMoves; ++m) {
            if (m % 3 == 1 || !shortAllowedAfter(m / 3, lastFace)) continue;
            if (depth == 0 && m % 2 != part_) continue;
            if (t_.twistMove[at.twist][m] != 0 || t_.flipMove[at.flip][m] != 0 ||
                t_.sliceMove[at.slice][m] != solvedSlice)
                continue;
            path1_[depth] = m;
            if (startPhase2(view, depth + 1, cost + 1, t_.cornerOrderMove[at.corners][m],
                            t_.sliceOrderMove[at.sliceOrder][m]) < 0)
                return -1;
        }
        return 0;
    }
    __builtin_prefetch(t_.cornerOrderMove[at.corners]);
    __builtin_prefetch(t_.sliceOrderMove[at.sliceOrder]);
    const uint16_t* tm = t_.twistMove[at.twist];
    const uint16_t* fm = t_.flipMove[at.flip];
    const uint16_t* sm = t_.sliceMove[at.slice];
    // Every child's distance: a quarter turn's from this state's, a half
    // turn's from the quarter turn's it continues. The table's entries are
    // far apart in memory: all are asked for before any is read, so that
    // their reads overlap instead of waiting in turn.
    long entry[kShortMoves];
    for (int m = 0; m < kShortMoves; ++m) {
        if (!shortAllowedAfter(m / 3, lastFace)) continue;
        entry[m] = fm[m] * kShortSlices + sm[m];
        __builtin_prefetch(&t_.classOf[entry[m]]);
    }
    for (int m = 0; m < kShortMoves; ++m) {
        if (!shortAllowedAfter(m / 3, lastFace)) continue;
        entry[m] = shortPhase1EntryOf(t_, tm[m], t_.classOf[entry[m]]);
        __builtin_prefetch(&t_.distanceMod3[entry[m] >> 2]);
    }
    int childDist[kShortMoves];
    for (int m = 0; m < kShortMoves; ++m) {
        childDist[m] = kMaxPhase;
        if (!shortAllowedAfter(m / 3, lastFace)) continue;
        const int from = m % 3 == 1 ? childDist[m - 1] : at.dist;
        childDist[m] = shortNextDistance(from, shortPhase1Mod3At(t_, entry[m]));
    }
    for (int m = 0; m < kShortMoves; ++m) {
        const int mc = shortMoveCost(m);
        if (mc > costLeft || childDist[m] > costLeft - mc) continue;
        if (depth == 0 && m % 2 != part_) continue;
        // The last turn of phase 1 is a quarter turn of a side face.
        if (mc == costLeft && (m / 3 < 2 || mc == 2)) continue;
        path1_[depth] = m;
        const Phase1State next = {tm[m],
                                  fm[m],
                                  sm[m],
                                  childDist[m],
                                  t_.cornerOrderMove[at.corners][m],
                                  t_.sliceOrderMove[at.sliceOrder][m]};
        if (searchPhase1(view, next, depth + 1, cost + mc, costLeft - mc) < 0) return -1;
    }
    return 0;
}

int ShortSearch::prepare(const ShortViews& views, int part) {
    part_ = part;
    best_.length = sharedLength_ = kNoSolution;
    best_.found = best_.count = best_.view = 0;
    nodes_ = 0;
    stopped_ = searched_ = sharedFound_ = 0;
    phase2Cap_ = kPhase2Cap;
    wallCheckAt_ = kWallCheckNodes;
    wallDeadlineNanos_ = nowNanos() + static_cast<long long>(limits_.wallLimitMillis) * 1000000;
    for (int view = 0; view < kShortViews; ++view) {
        const ShortCube& c = views.cube[view];
        start_[view] = c;
        Phase1State& p = startState_[view];
        p.twist = shortTwist(c);
        p.flip = shortFlip(c);
        p.slice = shortSlice(c);
        p.dist = shortPhase1Distance(t_, p.twist, p.flip, p.slice);
        p.corners = shortCornerPerm(c);
        p.sliceOrder = shortSliceOrder(c);
        if (p.dist < 0) return -1;
    }
    return 0;
}

void ShortSearch::searchLevel(int cost1, const Best& merged, int mergedSearched) {
    sharedLength_ = merged.length;
    sharedFound_ = merged.found;
    searched_ |= mergedSearched;
    for (int view = 0; view < kShortViews && !stopped_; ++view)
        if (startState_[view].dist <= cost1) searchPhase1(view, startState_[view], 0, 0, cost1);
}

int ShortSearch::solve(const ShortViews& views, Move* out, int capacity, int threads) {
    // Each level of phase-1 length is searched by both halves, each taking
    // the first turns of its parity, each with the best of both as it stood
    // when the level began; their bests are put together only between
    // levels, the first half's first, and a level on which the first half
    // found a good enough solution ends with it. So every level starts from
    // the same state and ends with the same answer whether the halves run
    // side by side or one after the other, and at any load.
    ShortSearch other(t_, limits_);
    stats_ = {};
    if (prepare(views, 0) < 0 || other.prepare(views, 1) < 0) return -1;
    Best merged;
    merged.length = kNoSolution;
    merged.found = merged.count = merged.view = 0;
    int mergedSearched = 0;
    for (int cost1 = 0; cost1 < merged.length - 1 && cost1 < kMaxPhase; ++cost1) {
        if (stopped_ && other.stopped_) break;
        // A level whose first half ends with a good enough solution is done:
        // the second half's work on it (done beside it, or not at all) is
        // not looked at.
        const auto firstHalfGood = [this] {
            return best_.found && best_.length <= limits_.goodLength;
        };
        const long otherNodes = other.nodes_;
        int good = 0;
        if (threads > 1 && cost1 >= kParallelFrom && !stopped_ && !other.stopped_) {
            std::atomic<int> cancel{0};
            other.cancel_ = &cancel;
            std::thread helper([&] { other.searchLevel(cost1, merged, mergedSearched); });
            searchLevel(cost1, merged, mergedSearched);
            good = firstHalfGood();
            if (good) cancel.store(1);
            helper.join();
            other.cancel_ = nullptr;
        } else {
            searchLevel(cost1, merged, mergedSearched);
            good = firstHalfGood();
            if (!good) other.searchLevel(cost1, merged, mergedSearched);
        }
        if (good) {
            other.nodes_ = otherNodes;
            if (best_.length < merged.length) merged = best_;
            break;
        }
        for (const ShortSearch* half :
             {static_cast<const ShortSearch*>(this), static_cast<const ShortSearch*>(&other)}) {
            if (half->best_.found && half->best_.length < merged.length) merged = half->best_;
            mergedSearched |= half->searched_;
        }
        if (merged.found && merged.length <= limits_.goodLength) break;
    }
    stats_.nodes = nodes_ + other.nodes_;
    stats_.timedOut = other.stats_.timedOut || stats_.timedOut;
    stats_.length = merged.length;
    if (!merged.found) return -1;
    const Best& b = merged;

    // The program's turns, in playing order; an inverse view's solution
    // plays backwards with every turn the other way.
    const int inverse = b.view >= 3;
    int count = 0;
    for (int i = 0; i < b.count; ++i) {
        const int m = b.moves[inverse ? b.count - 1 - i : i];
        int layer, direction, turns;
        shortTurnOf(b.view, m, layer, direction, turns);
        if (inverse) direction = -direction;
        for (int q = 0; q < turns; ++q) {
            // Turns of one layer that meet merge: a turn and its reverse
            // cancel, three equal turns are one the other way.
            if (count > 0 && out[count - 1].layer == layer &&
                out[count - 1].direction == -direction) {
                --count;
            } else if (count > 1 && out[count - 1].layer == layer &&
                       out[count - 2].layer == layer && out[count - 1].direction == direction &&
                       out[count - 2].direction == direction) {
                count -= 2;
                if (count > 0 && out[count - 1].layer == layer &&
                    out[count - 1].direction == direction)
                    --count;
                else
                    out[count++] = {layer, -direction};
            } else {
                if (count >= capacity) return -1;
                out[count++] = {layer, direction};
            }
        }
    }
    return count;
}
