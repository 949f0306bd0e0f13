// Base stage 6: flips the face-6 edges that sit in their places the wrong way
// round, two per call. The first of six pairs whose two edges are both wrong
// picks the case; with no such pair the call emits nothing.
#include "solve/solver.h"
#include "solve/stage_common.h"

namespace {

// The face-6 edge above side face i is wrong when its side cell does not show
// centre i's colour.
bool edgeWrong(int i) {
    return kEdgeSide[i].colour() != centre(i);
}

// Each case is B, T, B, V. B is four times (L, (8,-1)) with L a quarter turn
// of the layer of face f: it flips the edge above face f and stirs the middle
// layer. T turns layer 7 to bring the pair's other edge above face f, the
// second B flips it and puts the middle layer back, and V undoes T. T and V
// are runs of layer 7 in emitLayer7Run's terms.
struct FlipCase {
    int first, second; // the pair; `first` is the edge above face f
    Move l;
    int t, v;
};
constexpr FlipCase kCases[6] = {
    {1, 3, {6, -1}, -2, -2}, {2, 4, {1, -1}, -2, -2}, {1, 4, {6, -1}, 1, -1},
    {2, 1, {1, -1}, 1, -1},  {3, 2, {4, 1}, 1, -1},   {4, 3, {3, 1}, 1, -1},
};

void emitFlipBlock(Move l) {
    for (int i = 0; i < 4; ++i) {
        emitMove(l.layer, l.direction);
        emitMove(8, -1);
    }
}

} // namespace

void baseStage6() {
    stageBegin();
    for (const FlipCase& k : kCases) {
        if (edgeWrong(k.first) && edgeWrong(k.second)) {
            emitFlipBlock(k.l);
            emitLayer7Run(k.t);
            emitFlipBlock(k.l);
            emitLayer7Run(k.v);
            break;
        }
    }
    stageEnd();
}
