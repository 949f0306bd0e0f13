// Base stage 5: moves the four face-6 corners to their own positions, their
// twist left as it comes. One call emits eight moves that cycle three corners
// and keep the first placed corner (in the order 1/2, 2/3, 3/4, 4/1) where it
// is; with no corner placed the 1/2 case is used.
#include "solve/solver.h"
#include "solve/stage_common.h"

namespace {

// A face-6 corner position between side faces i and i+1, and the case that
// keeps it fixed. P, Q and R turn the layers of faces i+2, i+3 and i; the
// eight moves are P, Q, R', Q', P', Q, R, Q' and cycle the other three
// corners one way round the ring, leaving every other piece in place.
struct CornerCase {
    int own; // side face i: its centre colour is on the placed corner, and
             // that of face i-1 is not
    Move p, q, r;
};
constexpr CornerCase kCases[4] = {
    {1, {4, 1}, {3, 1}, {6, 1}},    // 1/2
    {2, {3, 1}, {6, -1}, {1, 1}},   // 2/3
    {3, {6, -1}, {1, -1}, {4, -1}}, // 3/4
    {4, {1, -1}, {4, 1}, {3, -1}},  // 4/1
};
// When no corner is placed.
constexpr int kFallbackCase = 0;

// The corner that belongs at this position stands there, in any twist.
bool placed(const CornerCase& k) {
    const CornerCells& corner = kFace6Corner[nextFace(k.own)];
    return cornerHolds(corner, centre(k.own)) && !cornerHolds(corner, centre(previousFace(k.own)));
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
