// Base stage 5: moves the four face-6 corners to their own positions, their
// twist left as it comes. One call emits eight moves that cycle three corners
// and keep the first placed corner (in the order 1/2, 2/3, 3/4, 4/1) where it
// is; with no corner placed the 1/2 case is used.
#include "solve/solver.h"
#include "solve/stage_common.h"

namespace {

constexpr Move inverse(Move m) {
    return {m.layer, -m.direction};
}

// A face-6 corner position between side faces i and i+1, and the case that
// keeps it fixed. P, Q and R turn the layers of faces i+2, i+3 and i; the
// eight moves are P, Q, R', Q', P', Q, R, Q' and cycle the other three
// corners one way round the ring, leaving every other piece in place.
struct CornerCase {
    Cell cells[3]; // face-6 cell, then the two side cells
    int own;       // side face i: its centre colour is on the placed corner
    int previous;  // side face i-1: its centre colour is not
    Move p, q, r;
};
constexpr CornerCase kCases[4] = {
    {{{6, 1, 3}, {1, 1, 1}, {2, 1, 3}}, 1, 4, {4, 1}, {3, 1}, {6, 1}},    // 1/2
    {{{6, 1, 1}, {2, 1, 1}, {3, 1, 1}}, 2, 1, {3, 1}, {6, -1}, {1, 1}},   // 2/3
    {{{6, 3, 1}, {3, 3, 1}, {4, 1, 1}}, 3, 2, {6, -1}, {1, -1}, {4, -1}}, // 3/4
    {{{6, 3, 3}, {1, 3, 1}, {4, 1, 3}}, 4, 3, {1, -1}, {4, 1}, {3, -1}},  // 4/1
};
// When no corner is placed.
constexpr int kFallbackCase = 0;

bool holds(const CornerCase& k, int colour) {
    for (const Cell& cell : k.cells)
        if (cell.colour() == colour) return true;
    return false;
}

// The corner that belongs at this position stands there, in any twist.
bool placed(const CornerCase& k) {
    return holds(k, centre(k.own)) && !holds(k, centre(k.previous));
}

} // namespace

void baseStage5() {
    stageBegin();
    const CornerCase* chosen = &kCases[kFallbackCase];
    for (const CornerCase& k : kCases) {
        if (placed(k)) {
            chosen = &k;
            break;
        }
    }
    const Move moves[8] = {chosen->p,          chosen->q, inverse(chosen->r), inverse(chosen->q),
                           inverse(chosen->p), chosen->q, chosen->r,          inverse(chosen->q)};
    emitMoves(moves, 8);
    stageEnd();
}
