// "'X'": the eight corners first, an X of one colour on every face. Base
// stage 2 places the face-5 corners, then the face-6 corners are twisted
// until face 6 shows its X and exchanged until the side faces show theirs;
// the Base loop then solves the edges. Marker lines go to standard output.
#include <cstdio>

#include "model/cube.h"
#include "model/moves.h"
#include "model/textlog.h"
#include "solve/routines.h"
#include "solve/solver.h"
#include "solve/stage_common.h"

int xCornerOrderStops = 0;

namespace {

// The two corner cells of side face i in the face-6 layer, and the two in
// the face-5 layer, show one colour.
bool face6PairMatches(int i) {
    return kFace6Corner[i].after.colour() == kFace6Corner[nextFace(i)].before.colour();
}
bool face5PairMatches(int i) {
    return kFace5Corner[i].after.colour() == kFace5Corner[nextFace(i)].before.colour();
}

bool allShow(const Cell* cells, int n, int colour) {
    for (int i = 0; i < n; ++i)
        if (cells[i].colour() != colour) return false;
    return true;
}

// The twists of the face-6 corners on which the twist sequence is used, each
// as the four cells that must show centre 6; in any other position the layer
// is turned so that the next call sees the corners from another side.
constexpr Cell kTwistPatterns[7][4] = {
    {kFace6Corner[4].cap, kFace6Corner[2].cap, kFace6Corner[1].after, kFace6Corner[3].before},
    {kFace6Corner[4].cap, kFace6Corner[3].cap, kFace6Corner[1].after, kFace6Corner[2].before},
    {kFace6Corner[1].cap, kFace6Corner[2].cap, kFace6Corner[4].after, kFace6Corner[3].before},
    {kFace6Corner[4].cap, kFace6Corner[3].after, kFace6Corner[1].after, kFace6Corner[2].after},
    {kFace6Corner[2].cap, kFace6Corner[1].before, kFace6Corner[4].before, kFace6Corner[3].before},
    {kFace6Corner[4].after, kFace6Corner[3].before, kFace6Corner[1].after, kFace6Corner[2].before},
    {kFace6Corner[1].before, kFace6Corner[4].after, kFace6Corner[2].after, kFace6Corner[3].before},
};
// Twists corner 2/3 in place and exchanges corners 1/2 and 4/1, leaving the
// face-5 layer alone.
constexpr Move kTwist[7] = {{3, -1}, {7, 1}, {3, 1}, {7, 1}, {6, -1}, {7, -1}, {6, 1}};
// Five times over it exchanges the face-6 corners 2/3 and 3/4.
constexpr Move kSwapRound[5] = {{1, -1}, {1, -1}, {6, -1}, {6, -1}, {7, 1}};
constexpr int kSwapRounds = 5;

constexpr DriverStep kSteps[3] = {
    {face5XComplete, baseStage2},
    {face6XComplete, twistFace6Corners},
    {sideXComplete, swapFace6Corners},
};
// Each step's marker, written to standard output once per applied move.
constexpr const char* kMarkers[3] = {"Up\n", "Down\n", "All X-es\n"};
// The step that also writes "niz!!!" when all it did was turn layer 7.
constexpr int kSwapStep = 2;

} // namespace

bool face5XComplete() {
    for (int k = 1; k <= 4; ++k)
        if (kFace5Corner[k].cap.colour() != centre(5)) return false;
    return true;
}

bool face6XComplete() {
    for (int k = 1; k <= 4; ++k)
        if (kFace6Corner[k].cap.colour() != centre(6)) return false;
    return true;
}

bool sideXComplete() {
    for (int i = 1; i <= 4; ++i)
        if (!face6PairMatches(i) || kFace6Corner[i].after.colour() != centre(i) ||
            !face5PairMatches(i))
            return false;
    return true;
}

bool face5CornersInOrder() {
    for (int i = 1; i <= 4; ++i)
        if (!face5PairMatches(i)) return false;
    return true;
}

void twistFace6Corners() {
    stageBegin();
    const int u = centre(6);
    int twist = 0;
    for (const auto& pattern : kTwistPatterns)
        if (allShow(pattern, 4, u)) twist = 1;
    if (twist)
        emitMoves(kTwist, 7);
    else
        emitMove(7, 1);
    stageEnd();
}

void swapFace6Corners() {
    stageBegin();
    if (!face6PairMatches(2) && !face6PairMatches(3) && !face6PairMatches(4)) {
        for (int round = 0; round < kSwapRounds; ++round) emitMoves(kSwapRound, 5);
    } else {
        emitMove(7, 1);
    }
    stageEnd();
}

namespace {

// One marker per move of the step's output that the SolutionList still has
// room for; a lone (7, 1) of the swap step is noted after each.
void writeMarkers(int step) {
    const bool loneTurn = moveListLast == 0 && MoveList[0].layer == 7 && MoveList[0].direction == 1;
    int records = moveListLast + 1;
    if (records > kSolutionListSize - solutionCount) records = kSolutionListSize - solutionCount;
    for (int i = 0; i < records; ++i) {
        std::fputs(kMarkers[step], stdout);
        if (step == kSwapStep && loneTurn) std::fputs("niz!!!\n", stdout);
    }
}

} // namespace

void XPatternDriver() {
    takeWorkColour();
    runFirstFailingStep(kSteps, 3, writeMarkers);
}

namespace {

// The four face-5 corners show centre 5 but stand out of their cyclic order.
// No step of this phase changes the face-5 layer any more, so the X on the
// side faces can never come about; the Base loop takes over from there.
bool xCornersStuck() {
    return face5XComplete() && !face5CornersInOrder();
}

} // namespace

const FirstPhase kXPatternPhase = {"eight corners",
                                   {face6XComplete, face5XComplete, sideXComplete},
                                   3,
                                   XPatternDriver,
                                   0,
                                   xCornersStuck,
                                   &xCornerOrderStops};
