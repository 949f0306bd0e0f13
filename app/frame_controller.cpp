// The frame controller: keys into requests, and one step of whatever the cube
// is doing in this frame.
#include "app/frame_controller.h"

#include "app/keys.h"
#include "model/cube.h"
#include "model/cube_text.h"
#include "model/moves.h"
#include "model/textlog.h"
#include "render/scene.h"
#include "solve/menu.h"
#include "solve/quick.h"
#include "solve/routines.h"
#include "solve/solver.h"

#include <GL/gl.h>

#include <cstdio>

int viewYaw = 0;
int viewPitch = 0;
float sceneYaw = 0.0f;
float scenePitch = 0.0f;
int turnRequest = 0;
int turnDirection = 0;
int turnAngle = 0;
int keyLatch = 0;
int paused = 0;
int faceRequest = 0;
int mixMode = 0;
int selectedAlgorithm = -1;
int solutionPos = 0;
int spinFrames = 0;
int pendingDigit = -1;
int mixKeyArmed = 1;
int frameCycle = 0;
short selectedLayer = 1;
unsigned char gridVisible = 1;
int givenStateUnsolved = 0;

namespace {

void glPush() {
    glPushMatrix();
}
void glPop() {
    glPopMatrix();
}
void glRotate(double angle, double x, double y, double z) {
    glRotated(angle, x, y, z);
}

// Letter keys are indexed by their upper-case codes.
constexpr int kKeyW = 'W', kKeyS = 'S', kKeyA = 'A', kKeyD = 'D';
constexpr int kKeyP = 'P', kKeyU = 'U', kKeyR = 'R';
constexpr int kKeyV = 'V', kKeyB = 'B', kKeyO = 'O', kKeyL = 'L';

// Keys that act in every frame they are held, on one of the two view angles.
struct HeldViewKey {
    int key;
    int* angle;
    int step;
};
const HeldViewKey kViewKeys[] = {
    {kKeyW, &viewPitch, -3}, {kKeyS, &viewPitch, +3}, {kKeyA, &viewYaw, -3}, {kKeyD, &viewYaw, +3}};

constexpr int kSpinLength = 60;
constexpr int kSpinStep = 9;
constexpr int kQuickMarkStep = 10;
constexpr int kSolutionClear = 1000;

bool held(int key) {
    return keyDown[key] != 0;
}

// The guarded keys: each press acts once, as soon as it is allowed to; Left,
// Right, Up and Down then repeat while still held once kHoldDelayFrames have
// passed since the press acted, every fourth frame (the latch). P never
// repeats.
enum GuardedKeyIndex { kGuardLeft, kGuardRight, kGuardUp, kGuardDown, kGuardP, kGuardedKeys };
struct GuardedKey {
    int key;
    int repeats;
};
constexpr GuardedKey kGuardedKeyTable[kGuardedKeys] = {
    {VK_LEFT, 1}, {VK_RIGHT, 1}, {VK_UP, 1}, {VK_DOWN, 1}, {kKeyP, 0}};

// A quarter of a second at 60 frames a second: longer than a tap.
constexpr int kHoldDelayFrames = 15;

// Per guarded key: 0 while its press has not acted yet, else the frames since
// it did (1 in that frame).
int guardedHeldFrames[kGuardedKeys] = {};

// Whether guarded key `index` acts in this frame: its press (a key that went
// down since the last frame counts even when it is up again already), or a
// repeat of a held key. The caller calls guardedKeyDone when it did act.
bool guardedKeyActs(int index) {
    const GuardedKey& g = kGuardedKeyTable[index];
    int& frames = guardedHeldFrames[index];
    const int pressed = keyPressed[g.key];
    keyPressed[g.key] = 0;
    if (pressed) {
        frames = 0;
    } else if (!held(g.key)) {
        frames = 0;
        return false;
    }
    if (frames == 0) return true;
    ++frames;
    return g.repeats && frames > kHoldDelayFrames && keyLatch == 0;
}

void guardedKeyDone(int index) {
    if (guardedHeldFrames[index] == 0) guardedHeldFrames[index] = 1;
    keyLatch = 1;
}

// A manual turn is being animated, or one was accepted in this frame.
bool turnInProgress() {
    return turnAngle != 0 || turnRequest != 0;
}

// Up/Down turn a layer only when nothing else is going on: no pause, no
// playback, no mix, no solve asked for, no turn animating, no digit waiting.
// Anywhere else the recorded move would never be animated to its end.
bool manualTurnAllowed() {
    return paused == 0 && solveState.playbackPending == 0 && mixMode == 0 &&
           solveState.solveRequested == 0 && !turnInProgress() && pendingDigit < 0;
}

void requestTurn(int direction) {
    const int guard = direction > 0 ? kGuardUp : kGuardDown;
    if (!pushHistory(selectedLayer, direction)) return; // history full: nothing changes
    turnRequest = direction;
    guardedKeyDone(guard);
}

void askForSolve(int digit) {
    solveState.solveRequested = 1;
    if (selectedAlgorithm == -1) selectedAlgorithm = digit;
}

// A move is animated over three frames at angles 1, 31 and 61; it is applied
// to the cube in the frame whose angle reaches kTurnApplyAngle, and the
// animation ends once the angle reaches kTurnEndAngle.
constexpr int kTurnStartAngle = 1;
constexpr int kTurnStep = 30;
constexpr int kTurnApplyAngle = 60;
constexpr int kTurnEndAngle = 90;

// One step of the three-frame animation of `move` (shared by every animator).
// Returns 1 in the frame the move ends.
int animateMove(const Move& move) {
    if (turnAngle == 0) turnAngle = kTurnStartAngle;
    if (turnAngle < kTurnEndAngle) {
        if (turnAngle >= kTurnApplyAngle) turnLayer(move.layer, move.direction);
        controllerDrawing.drawCube(move.layer, move.direction, turnAngle);
        turnAngle += kTurnStep;
    }
    if (turnAngle >= kTurnEndAngle) {
        turnAngle = 0;
        return 1;
    }
    return 0;
}

void drawCubeAtRest() {
    controllerDrawing.drawCube(1, +1, 0);
}

void drawPausedCube() {
    for (int z = 1; z <= 3; ++z)
        for (int y = 1; y <= 3; ++y)
            for (int x = 1; x <= 3; ++x) controllerDrawing.drawCubie(x, y, z, CubieArray);
}

// Branch d: the manual turn, or the cube at rest.
void manualTurn() {
    if (turnRequest != 0) turnDirection = turnRequest;
    if (turnRequest == 0 && turnAngle == 0)
        controllerDrawing.drawCube(selectedLayer, turnDirection, 0); // at rest
    else
        animateMove({selectedLayer, turnDirection});
}

// Branch e: the solve of the selected entry.
void solveSelected() {
    if (menuEntryExists(selectedAlgorithm) && kMenu[selectedAlgorithm].kind == kHistoryReplay) {
        if (givenStateUnsolved && solveState.quickPrepared == 0 && !isSolved()) {
            // Undoing the history cannot solve the given cube: refused.
            solveState.solveRequested = 0;
            selectedAlgorithm = -1;
            drawCubeAtRest();
            return;
        }
        givenStateUnsolved = 0;
        playQuick();
        return;
    }
    if (selectedAlgorithm < 0 || !computeSolve(selectedAlgorithm)) {
        // No entry selected, or the solve gave up at its bound: nothing to
        // play back, the cube as it was.
        solveState.solveRequested = 0;
        selectedAlgorithm = -1;
        drawCubeAtRest();
    }
    // The solve counts even when its text files could not be written; the
    // window has no place for it, so the reason goes to standard error once.
    const char* fault = nullptr;
    if (takeTextLogFault(&fault)) std::fprintf(stderr, "cube-solver: %s\n", fault);
    // A computed solve draws no cube in the frame it is computed in.
}

} // namespace

const ControllerDrawing kRenderDrawing = {glPush,   glPop,     glRotate,
                                          drawCube, drawCubie, drawLayerMarker};
ControllerDrawing controllerDrawing = kRenderDrawing;

void latchStep() {
    if (keyLatch > 0) {
        ++keyLatch;
        if (keyLatch == 5) keyLatch = 0;
    }
}

void readKeys() {
    for (const HeldViewKey& k : kViewKeys)
        if (held(k.key)) *k.angle += k.step;

    if (guardedKeyActs(kGuardLeft)) {
        if (selectedLayer > 1 && turnAngle == 0) --selectedLayer;
        guardedKeyDone(kGuardLeft);
    }
    if (guardedKeyActs(kGuardRight)) {
        if (selectedLayer < 9 && turnAngle == 0) ++selectedLayer;
        guardedKeyDone(kGuardRight);
    }
    if (guardedKeyActs(kGuardUp) && manualTurnAllowed()) requestTurn(+1);
    if (guardedKeyActs(kGuardDown) && manualTurnAllowed()) requestTurn(-1);

    // Digits: the lowest held one wins. While a manual turn animates, the
    // press waits for the turn's end, so that the solve starts from a cube
    // the recorded history describes.
    if (pendingDigit >= 0 && !turnInProgress()) {
        askForSolve(pendingDigit);
        pendingDigit = -1;
    }
    for (int digit = 0; digit < kMenuSize; ++digit) {
        if (!held(VK_KEY_0 + digit)) continue;
        if (!turnInProgress())
            askForSolve(digit);
        else if (selectedAlgorithm == -1 && pendingDigit < 0)
            pendingDigit = digit;
    }

    // A turn accepted in this frame is animated from this frame on: a press
    // of P waits for the next frame rather than drop it.
    if (turnRequest == 0 && guardedKeyActs(kGuardP)) {
        paused = 1 - paused;
        guardedKeyDone(kGuardP);
    }
    if (held(kKeyU)) faceRequest = 1;

    // A mix starts once per press of R, and never over a turn or a mix in
    // progress; a press that came too early starts it when they are done.
    if (!held(kKeyR)) {
        mixKeyArmed = 1;
    } else if (mixKeyArmed && mixMode == 0 && !turnInProgress() && mixFits()) {
        mixMode = 1;
        mixKeyArmed = 0;
    }

    if (held(kKeyV)) sceneYaw += 1.0f;
    if (held(kKeyB)) sceneYaw -= 1.0f;
    if (held(kKeyO) && scenePitch < 90.0f) scenePitch += 1.0f;
    if (held(kKeyL) && scenePitch > 0.0f) scenePitch -= 1.0f;
}

void runFrameController() {
    const ControllerDrawing& d = controllerDrawing;
    d.pushMatrix();
    d.rotate(viewYaw - 45, 0.0, 1.0, 0.0);
    d.rotate(viewPitch, 1.0, 0.0, 0.0);
    if (faceRequest == 1) {
        // Undo the cube's own orientation and face the viewer in this frame already.
        d.rotate(-viewPitch, 1.0, 0.0, 0.0);
        d.rotate(-static_cast<float>(viewYaw) - sceneYaw, 0.0, 1.0, 0.0);
        viewYaw = static_cast<int>(-sceneYaw);
        viewPitch = 0;
        faceRequest = 0;
    }

    if (paused == 1) {
        drawPausedCube();
    } else if (solveState.playbackPending == 1) {
        playSolution();
    } else if (mixMode != 0) {
        if (mixMode == 1 && !randomMix()) {
            // The history has no room for another mix: nothing changes.
            mixMode = 0;
            drawCubeAtRest();
        } else {
            playMix();
        }
    } else if (solveState.solveRequested == 0) {
        manualTurn();
    } else {
        solveSelected();
    }

    d.drawLayerMarker(selectedLayer);
    d.popMatrix();

    turnRequest = 0;
    if (turnAngle >= kTurnEndAngle && solveState.playbackPending == 0) turnAngle = 0;
    if (++frameCycle == 35) frameCycle = 0;
}

// Plays list[pos] while pos <= last, moving pos on when its turn ends; true
// once the list is played out.
static bool playList(const Move* list, int& pos, int last) {
    if (pos <= last && animateMove(list[pos])) ++pos;
    return pos > last;
}

void playSolution() {
    if (solveState.phaseMark != 0 && solutionPos == solveState.phaseMark &&
        spinFrames < kSpinLength) {
        viewYaw += kSpinStep;
        viewPitch += kSpinStep;
        ++spinFrames;
        drawCubeAtRest();
        return;
    }
    if (playList(SolutionList, solutionPos, solutionCount - 1)) {
        solutionPos = 0;
        for (int i = 0; i < kSolutionClear; ++i) SolutionList[i] = {0, 0};
        endSolve();
        spinFrames = 0;
        selectedAlgorithm = -1;
        if (isSolved()) givenStateUnsolved = 0;
    }
}

void playMix() {
    mixMode = 2;
    if (playList(MoveHistory, historyTop, mixStart + N)) {
        historyTop = mixStart + N;
        mixMode = 0;
    }
}

void playQuick() {
    if (solveState.quickPrepared == 0) prepareQuick();
    const bool solved = isSolved();
    if (historyTop >= solveState.yawMark && historyTop <= solveState.yawMark + 2)
        viewYaw += kQuickMarkStep;
    if (historyTop >= solveState.pitchMark && historyTop <= solveState.pitchMark + 2)
        viewPitch += kQuickMarkStep;
    int drawn = 0;
    if (historyTop >= 1 && !solved) {
        if (animateMove(quickUndoMove())) --historyTop;
        drawn = 1;
    }
    if (historyTop < 1 || solved) {
        finishQuick();
        selectedAlgorithm = -1;
        // The last frame shows the cube as well, not an empty scene.
        if (!drawn) drawCubeAtRest();
    }
}

void resetController() {
    viewYaw = 0;
    viewPitch = 0;
    sceneYaw = 0.0f;
    scenePitch = 0.0f;
    turnRequest = 0;
    turnDirection = 0;
    turnAngle = 0;
    keyLatch = 0;
    paused = 0;
    faceRequest = 0;
    mixMode = 0;
    selectedAlgorithm = -1;
    solutionPos = 0;
    spinFrames = 0;
    frameCycle = 0;
    pendingDigit = -1;
    mixKeyArmed = 1;
    givenStateUnsolved = 0;
    for (int& frames : guardedHeldFrames) frames = 0;
    selectedLayer = 1;
}

int startFromState(const char* text, char* message, int messageSize) {
    if (!readStateString(text, message, messageSize)) return 0;
    givenStateUnsolved = 1;
    return 1;
}

void resetProgram() {
    resetSolver();
    resetController();
    for (unsigned char& key : keyDown) key = 0;
    for (unsigned char& key : keyPressed) key = 0;
}
