// The frame controller: commands into requests, and one step of whatever the
// cube is doing in this frame.
#include "app/frame_controller.h"

#include "app/commands.h"
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

#include <cmath>
#include <cstdio>
#include <vector>

namespace {
FrameSession session;
}

FrameSession& frameSession() {
    return session;
}

int stripToShow(StripView* view) {
    const Timeline& t = session.timeline;
    const Player& p = session.player;
    if (!session.stripShown || timelineCount(t) == 0) return 0;
    *view = {t.moves.data(),
             t.stages.data(),
             timelineCount(t),
             t.position,
             p.angle != 0 && !p.back ? 1 : 0,
             p.paused,
             kPlayerSpeeds[p.speed].turnsPerSecond};
    return 1;
}

int viewYaw = 0;
int viewPitch = 0;
float sceneYaw = 0.0f;
float scenePitch = 0.0f;
int turnRequest = 0;
int turnDirection = 0;
int& turnAngle = session.player.angle;
int keyLatch = 0;
int& paused = session.player.paused;
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
void glLoad(const double* m) {
    glLoadMatrixd(m);
}
// The cube drawn in the session's look.
void drawLookCube(int layer, int direction, int angle) {
    drawCube(*session.look, layer, direction, angle);
}
void drawLookCubie(int x, int y, int z, const int (&cubies)[4][4][4][7]) {
    drawCubie(*session.look, x, y, z, cubies);
}
void drawLookMarker(int layer) {
    drawLayerMarker(*session.look, layer);
}
void drawLookEditor(const Editor& editor) {
    drawEditorCube(editor, *session.look);
}

constexpr int kSpinLength = 60;
constexpr int kSpinStep = 9;
constexpr int kQuickMarkStep = 10;
constexpr int kSolutionClear = 1000;
constexpr int kTurnEndAngle = 90;

// The stage names of moves that are not a solve's.
constexpr const char* kMixStage = "Mix";
constexpr const char* kTurnStage = "Turns";
constexpr const char* kUndoStage = "Undo";
constexpr const char* kRedoStage = "Redo";

void drawTurn(int layer, int direction, int angle) {
    controllerDrawing.drawCube(layer, direction, angle);
}

// A turn is being animated, or a manual turn was accepted in this frame.
bool turnInProgress() {
    return turnAngle != 0 || turnRequest != 0;
}
// That, or the idle cube's timeline still plays what the user asked for
// (undo, redo, a replay).
bool playerBusy() {
    const bool idle =
        mixMode == 0 && solveState.playbackPending == 0 && solveState.solveRequested == 0;
    return turnInProgress() || (idle && timelineWaiting(session.player, session.timeline));
}

// Up/Down turn a layer only when nothing else is going on: no pause, no
// playback, no mix, no solve asked for, no turn animating, no digit waiting,
// the timeline at its end. Anywhere else the recorded move would never be
// animated to its end.
bool manualTurnAllowed() {
    return paused == 0 && solveState.playbackPending == 0 && mixMode == 0 &&
           solveState.solveRequested == 0 && !playerBusy() && pendingDigit < 0;
}

// The history below a finished solve no longer describes the cube (the solve
// is not in it); Quick stops at the solved cube before it reaches them, but
// only while nothing cancels across. Before a step, seek, undo or redo adds
// to the history, those records go, so that Quick keeps solving whatever the
// user goes through; a program that does not use those keys keeps them.
void dropHistoryBeforeSolve() {
    const int drop = session.solvedHistoryTop;
    session.solvedHistoryTop = -1;
    if (drop <= 0 || drop > historyTop) return;
    for (int i = drop + 1; i <= historyTop; ++i) MoveHistory[i - drop] = MoveHistory[i];
    historyTop -= drop;
}

// Moves the idle cube makes go into the history as they start, so that it
// keeps describing the cube (Quick undoes it). A turn by hand is in it
// already; a step, seek, undo or redo that takes back the history's last
// record takes it off instead, so going back and forth does not fill it.
int recordMove(const Move& move) {
    if (session.turnRecorded) {
        session.turnRecorded = 0;
        return 1;
    }
    dropHistoryBeforeSolve();
    const Move top = MoveHistory[historyTop];
    if (historyTop >= 1 && top.layer == move.layer && top.direction == -move.direction) {
        --historyTop;
        return 1;
    }
    return pushHistory(move.layer, move.direction);
}

void drawCubeAtRest() {
    controllerDrawing.drawCube(1, +1, 0);
}

// A turn by hand: into the history as asked for, onto the timeline, onto
// the undo stack; the idle frame plays it. Returns 0 when it is refused for
// now (nothing changes).
int turnByHand(const Move& move) {
    if (!manualTurnAllowed()) return 0;
    if (!pushHistory(move.layer, move.direction)) return 0; // history full: nothing changes
    session.turnRecorded = 1;
    turnRequest = move.direction;
    appendToTimeline(session.timeline, move, kTurnStage);
    recordAction(session.undoStack, &move, 1);
    return 1;
}

// A turn by hand whose animation goes on from `angle` degrees (1..89), where
// a drag let the layer go: the player takes it up as if it had played so far.
void playTurnFrom(const Move& move, int angle) {
    Player& p = session.player;
    session.turnRecorded = 0; // in the history already: the player records nothing
    p.turning = move;
    p.back = 0;
    p.applied = 0;
    p.frames = kPlayerSpeeds[p.speed].framesPerTurn;
    p.angle = angle < 1 ? 1 : angle > kTurnEndAngle - 1 ? kTurnEndAngle - 1 : angle;
    p.frame = (p.angle - 1) * p.frames / kTurnEndAngle;
    if (p.frame >= p.frames) p.frame = p.frames - 1;
}

// `layer` shown at `angle` degrees in the sense of direction +1.
TurnShown layerAt(int layer, int angle) {
    return {layer, angle >= 0 ? 1 : -1, angle >= 0 ? angle : -angle};
}

// A drag let go at `angle` degrees of `layer` (in the sense of direction +1):
// whole quarter turns are turned by hand, the first from where the layer
// was let go; short of one the layer goes back.
int releaseDrag(int layer, int angle) {
    const int quarters = settleQuarterTurns(angle);
    if (quarters == 0) {
        session.dragShown = layerAt(layer, angle);
        session.dragReturning = session.dragShown.angle != 0;
        if (!session.dragReturning) session.dragShown = {0, 0, 0};
        return 1;
    }
    session.dragShown = {0, 0, 0};
    session.dragReturning = 0;
    const int direction = quarters > 0 ? 1 : -1;
    const Move move = {layer, direction};
    if (!turnByHand(move)) return 0;
    if (quarters * direction == 2) {
        // Past a half turn the first quarter ends at once and the second
        // goes on from where the layer was let go.
        playTurnFrom(move, kTurnEndAngle - 1);
        session.queuedTurn = {layer, direction, angle * direction - kTurnEndAngle};
    } else {
        playTurnFrom(move, angle * direction);
    }
    return 1;
}

// The drag's layer going back to rest, a third of a quarter turn a frame.
void drawReturningDrag() {
    TurnShown& t = session.dragShown;
    t.angle -= kTurnEndAngle / 3;
    if (t.angle <= 0) {
        t = {0, 0, 0};
        session.dragReturning = 0;
        drawCubeAtRest();
        return;
    }
    controllerDrawing.drawCube(t.layer, t.direction, t.angle);
}

void askForSolve(int digit) {
    solveState.solveRequested = 1;
    if (selectedAlgorithm == -1) selectedAlgorithm = digit;
}

void drawPausedCube() {
    for (int z = 1; z <= 3; ++z)
        for (int y = 1; y <= 3; ++y)
            for (int x = 1; x <= 3; ++x) controllerDrawing.drawCubie(x, y, z, CubieArray);
}

// Steps and seeks work on the timeline of the solution or mix being played,
// or on the idle cube's; not while a solve is computed or Quick runs.
bool timelineSteppable() {
    if (solveState.playbackPending || mixMode != 0) return true;
    return solveState.solveRequested == 0;
}

// Undo and redo: the moves go onto the end of the timeline and play there.
// They act between turns with the timeline at its end, also while paused (the
// player plays on for them).
int playAction(bool undo) {
    const Player& p = session.player;
    const Timeline& t = session.timeline;
    if (solveState.playbackPending || mixMode != 0 || solveState.solveRequested ||
        turnInProgress() || pendingDigit >= 0 || p.stepping != 0 || p.seek != 0 ||
        t.position < timelineCount(t))
        return 0;
    std::vector<Move> moves;
    if (!(undo ? takeUndo(session.undoStack, moves) : takeRedo(session.undoStack, moves)))
        return 1; // nothing to undo or redo: the press is used up
    for (const Move& m : moves)
        appendToTimeline(session.timeline, m, undo ? kUndoStage : kRedoStage);
    session.player.paused = 0;
    return 1;
}

// Branch d: the timeline (a manual turn, a step, undo, redo), or the cube at rest.
void idleFrame() {
    if (turnRequest != 0) turnDirection = turnRequest;
    Player& p = session.player;
    if (session.dragShown.layer != 0 && p.angle == 0) {
        const TurnShown& t = session.dragShown;
        if (session.dragReturning)
            drawReturningDrag();
        else
            controllerDrawing.drawCube(t.layer, t.direction, t.angle);
        return;
    }
    if (session.queuedTurn.layer != 0 && p.angle == 0 && turnRequest == 0) {
        const TurnShown second = session.queuedTurn;
        session.queuedTurn = {0, 0, 0};
        if (turnByHand({second.layer, second.direction}))
            playTurnFrom({second.layer, second.direction}, second.angle);
    }
    if (p.seek != 0 && p.angle == 0) {
        seekTimeline(session.timeline, p.seek, recordMove);
        p.seek = 0;
    }
    if (advanceTimeline(p, session.timeline, recordMove, drawTurn) < 0) {
        // Moves left that the history had no room for: the player pauses
        // rather than try again every frame (Quick then makes room).
        if (!p.paused && session.timeline.position < timelineCount(session.timeline)) p.paused = 1;
        controllerDrawing.drawCube(selectedLayer, turnDirection, 0); // at rest
    }
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
    // A routine whose search would hold up the frame thinks off the drawing
    // thread; the cube stays at rest, and the request waits, until its answer
    // is in.
    if (selectedAlgorithm >= 0 && !menuEntryReadyToSolve(selectedAlgorithm)) {
        ++session.thinkingFrames;
        drawCubeAtRest();
        return;
    }
    session.thinkingFrames = 0;
    if (selectedAlgorithm < 0 || !computeSolve(selectedAlgorithm)) {
        // No entry selected, or the solve gave up at its bound: nothing to
        // play back, the cube as it was.
        solveState.solveRequested = 0;
        selectedAlgorithm = -1;
        drawCubeAtRest();
    } else {
        startTimeline(session.timeline);
        for (int i = 0; i < solutionCount; ++i)
            appendToTimeline(session.timeline, SolutionList[i],
                             solveStageName(selectedAlgorithm, SolutionStage[i]));
    }
    // The solve counts even when its text files could not be written; the
    // window has no place for it, so the reason goes to standard error once.
    const char* fault = nullptr;
    if (takeTextLogFault(&fault)) std::fprintf(stderr, "cube-solver: %s\n", fault);
    // A computed solve draws no cube in the frame it is computed in.
}

// The view turned by the phase spin goes with the position: gone back before
// the phase mark, the spin is undone (and comes again); gone past it by a
// seek, the rest of it is done at once.
void keepSpinWithPosition() {
    const int mark = solveState.phaseMark;
    if (mark == 0) return;
    int frames = 0;
    if (solutionPos < mark)
        frames = -spinFrames;
    else if (solutionPos > mark)
        frames = kSpinLength - spinFrames;
    viewYaw += kSpinStep * frames;
    viewPitch += kSpinStep * frames;
    spinFrames += frames;
}

// A seek asked for while a mix or a solution plays, done between two turns.
// Returns 1 when it was done (the cube is drawn at rest in that frame).
bool seekBetweenTurns() {
    Player& p = session.player;
    if (p.seek == 0 || p.angle != 0) return false;
    seekTimeline(session.timeline, p.seek, nullptr);
    p.seek = 0;
    return true;
}

} // namespace

const ControllerDrawing kRenderDrawing = {
    glPush, glPop, glLoad, drawLookCube, drawLookCubie, drawLookMarker, drawLookEditor};
ControllerDrawing controllerDrawing = kRenderDrawing;

int runCommand(const Command& c) {
    Player& p = session.player;
    switch (c.kind) {
    case kCommandViewPitch:
        viewPitch += c.value;
        return 1;
    case kCommandViewYaw:
        viewYaw += c.value;
        return 1;
    case kCommandSceneYaw:
        sceneYaw += static_cast<float>(c.value);
        return 1;
    case kCommandScenePitch:
        if (c.value > 0 && scenePitch < 90.0f) scenePitch += static_cast<float>(c.value);
        if (c.value < 0 && scenePitch > 0.0f) scenePitch += static_cast<float>(c.value);
        return 1;
    case kCommandSelectLayer:
        if (turnAngle == 0 && selectedLayer + c.value >= 1 && selectedLayer + c.value <= 9)
            selectedLayer = static_cast<short>(selectedLayer + c.value);
        return 1;
    case kCommandTurn:
        if (session.editor.open || session.dragShown.layer != 0) return 0;
        return turnByHand({c.layer, c.value});
    case kCommandSolve:
        // While a manual turn animates, the press waits for the turn's end,
        // so that the solve starts from a cube the recorded history describes.
        if (!playerBusy())
            askForSolve(c.value);
        else if (selectedAlgorithm == -1 && pendingDigit < 0)
            pendingDigit = c.value;
        return 1;
    case kCommandPause:
        p.paused = 1 - p.paused;
        p.stepping = 0;
        return 1;
    case kCommandFace:
        faceRequest = 1;
        return 1;
    case kCommandMix:
        if (mixMode != 0 || playerBusy() || !mixFits()) return 0;
        mixMode = 1;
        return 1;
    case kCommandStep:
        session.stripShown = 1;
        if (!timelineSteppable()) return 0;
        p.paused = 1;
        p.stepping = c.value;
        return 1;
    case kCommandSeek:
        session.stripShown = 1;
        if (!timelineSteppable()) return 0;
        p.paused = 1;
        p.stepping = 0;
        p.seek = c.value;
        return 1;
    case kCommandSpeed:
        session.stripShown = 1;
        p.speed += c.value;
        if (p.speed < 0) p.speed = 0;
        if (p.speed >= kPlayerSpeedCount) p.speed = kPlayerSpeedCount - 1;
        return 1;
    case kCommandUndo:
    case kCommandRedo:
        session.stripShown = 1;
        return playAction(c.kind == kCommandUndo);
    case kCommandHelp:
        session.helpOpen = 1;
        return 1;
    case kCommandZoom: {
        const double nearer = session.nearer + c.value;
        if (nearer <= kNearest && nearer >= kFarthest &&
            (c.value < 0 || session.look->camera.distance - nearer >= kClosest))
            session.nearer = nearer;
        return 1;
    }
    case kCommandLook: {
        session.look = session.look == &kClearLook ? &kPlainLook : &kClearLook;
        const double most = std::floor(session.look->camera.distance - kClosest);
        if (session.nearer > most) session.nearer = most;
        return 1;
    }
    case kCommandCuberKeys:
        session.cuberKeys = !session.cuberKeys;
        return 1;
    case kCommandDragLayer:
        // A layer follows the finger only on an idle cube, one drag at a time.
        if (session.editor.open || c.layer < 1 || c.layer > 9) return 0;
        if (session.dragShown.layer != c.layer &&
            (session.dragShown.layer != 0 || !manualTurnAllowed()))
            return 0;
        session.dragReturning = 0;
        session.dragShown = layerAt(c.layer, c.value);
        return 1;
    case kCommandDragRelease:
        if (session.dragShown.layer != c.layer || session.dragReturning) return 0;
        session.dragShown = {0, 0, 0};
        if (!manualTurnAllowed()) return 0;
        return releaseDrag(c.layer, c.value);
    case kCommandEditorOpen:
        if (session.editor.open || !manualTurnAllowed() || session.dragShown.layer != 0) return 0;
        session.editorMessage[0] = '\0';
        editorOpen(session.editor);
        return 1;
    case kCommandEditorPaint:
        return session.editor.open && editorPaint(session.editor, c.value);
    case kCommandEditorColour:
        if (!session.editor.open) return 0;
        editorChooseColour(session.editor, c.value);
        return 1;
    case kCommandEditorStep:
        if (!session.editor.open) return 0;
        editorStepColour(session.editor, c.value);
        return 1;
    case kCommandEditorPaste:
        if (!session.editor.open) return 0;
        session.editorMessage[0] = '\0';
        return editorPaste(session.editor, session.pasteText.c_str(), session.editorMessage,
                           sizeof session.editorMessage);
    case kCommandEditorTake:
        if (!session.editor.open || !editorTake(session.editor)) return 0;
        // The cube changed under the history: as with a given state, Quick
        // is refused until it is solved, and nothing recorded before it is
        // undone or replayed.
        session.editorMessage[0] = '\0';
        givenStateUnsolved = !isSolved();
        historyTop = 0;
        session.solvedHistoryTop = -1; // no records from before a solve are left
        clearTimeline(session.timeline);
        session.undoStack = UndoStack{};
        return 1;
    case kCommandEditorClose:
        if (!session.editor.open) return 0;
        editorClose(session.editor);
        session.editorMessage[0] = '\0';
        return 1;
    case kCommandCopy: {
        char state[kStickers + 1];
        if (session.editor.open)
            editorCopy(session.editor, state);
        else
            writeStateString(state);
        session.copiedText = state;
        return 1;
    }
    }
    return 0;
}

Look sessionLook() {
    Look look = *session.look;
    look.camera.distance -= session.nearer;
    return look;
}

const View& makeFrameView(int width, int height) {
    TurnShown turning = {1, 1, 0};
    const Player& p = session.player;
    if (p.angle != 0)
        turning = {p.turning.layer, p.turning.direction, p.angle};
    else if (session.dragShown.layer != 0)
        turning = session.dragShown;
    session.view =
        makeView(sessionLook(), {sceneYaw, scenePitch, viewYaw, viewPitch}, turning, width, height);
    return session.view;
}

int showRunning() {
    return mixMode != 0 || solveState.playbackPending || solveState.solveRequested;
}

void runWaitingSolve() {
    if (pendingDigit >= 0 && !playerBusy()) {
        askForSolve(pendingDigit);
        pendingDigit = -1;
    }
}

void runFrameController() {
    const ControllerDrawing& d = controllerDrawing;
    d.pushMatrix();
    const View& v = session.view;
    if (faceRequest == 1) {
        // Undo the cube's own orientation and face the viewer in this frame already.
        d.loadMatrix(
            rotated(rotated(v.cube, -viewPitch, 0), -static_cast<float>(viewYaw) - sceneYaw, 1).m);
        viewYaw = static_cast<int>(-sceneYaw);
        viewPitch = 0;
        faceRequest = 0;
    } else {
        d.loadMatrix(v.cube.m);
    }

    // A step or a seek runs while paused: the player stays paused after it.
    const Player& p = session.player;
    if (session.editor.open) {
        // The editor's cube in place of the cube; nothing plays meanwhile.
        d.drawEditor(session.editor);
        d.popMatrix();
        turnRequest = 0;
        return;
    }
    if (paused == 1 && p.stepping == 0 && p.seek == 0) {
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
        idleFrame();
    } else {
        solveSelected();
    }

    d.drawLayerMarker(selectedLayer);
    d.popMatrix();

    turnRequest = 0;
    if (turnAngle >= kTurnEndAngle && solveState.playbackPending == 0) turnAngle = 0;
    if (++frameCycle == 35) frameCycle = 0;
}

void playSolution() {
    Timeline& t = session.timeline;
    if (solveState.phaseMark != 0 && solutionPos == solveState.phaseMark &&
        spinFrames < kSpinLength) {
        viewYaw += kSpinStep;
        viewPitch += kSpinStep;
        ++spinFrames;
        drawCubeAtRest();
        return;
    }
    const bool sought = seekBetweenTurns();
    const int played = advanceTimeline(session.player, t, nullptr, drawTurn);
    solutionPos = t.position;
    keepSpinWithPosition();
    if (t.position >= timelineCount(t)) {
        solutionPos = 0;
        for (int i = 0; i < kSolutionClear; ++i) SolutionList[i] = {0, 0};
        endSolve();
        spinFrames = 0;
        selectedAlgorithm = -1;
        if (isSolved()) {
            givenStateUnsolved = 0;
            session.solvedHistoryTop = historyTop;
        }
    }
    if (played < 0 && (sought || session.player.paused)) drawCubeAtRest();
}

void playMix() {
    Timeline& t = session.timeline;
    if (mixMode == 1) {
        // The mix just written: its records after the cursor are the timeline.
        startTimeline(t);
        for (int i = mixStart + 1; i <= mixStart + N; ++i)
            appendToTimeline(t, MoveHistory[i], kMixStage);
        recordAction(session.undoStack, &MoveHistory[mixStart + 1], N);
    }
    mixMode = 2;
    const bool sought = seekBetweenTurns();
    const int played = advanceTimeline(session.player, t, nullptr, drawTurn);
    historyTop = mixStart + 1 + t.position;
    if (t.position >= timelineCount(t)) {
        historyTop = mixStart + N;
        mixMode = 0;
    }
    if (played < 0 && (sought || session.player.paused)) drawCubeAtRest();
}

void playQuick() {
    if (solveState.quickPrepared == 0) {
        prepareQuick();
        startTimeline(session.timeline);
    }
    // Solved counts between two turns: slower than three frames a turn, a
    // move is on the cube before its last frame.
    const bool solved = turnAngle == 0 && isSolved();
    if (historyTop >= solveState.yawMark && historyTop <= solveState.yawMark + 2)
        viewYaw += kQuickMarkStep;
    if (historyTop >= solveState.pitchMark && historyTop <= solveState.pitchMark + 2)
        viewPitch += kQuickMarkStep;
    int drawn = 0;
    if (historyTop >= 1 && !solved) {
        const Move undo = quickUndoMove();
        if (animateTurn(session.player, undo, drawTurn)) {
            --historyTop;
            // The timeline of a Quick solve grows as it plays.
            appendToTimeline(session.timeline, undo, kMenu[selectedAlgorithm].label);
            session.timeline.position = timelineCount(session.timeline);
        }
        drawn = 1;
    }
    if (historyTop < 1 || solved) {
        finishQuick();
        session.solvedHistoryTop = -1;
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
    keyLatch = 0;
    faceRequest = 0;
    mixMode = 0;
    selectedAlgorithm = -1;
    solutionPos = 0;
    spinFrames = 0;
    frameCycle = 0;
    pendingDigit = -1;
    mixKeyArmed = 1;
    givenStateUnsolved = 0;
    selectedLayer = 1;
    session = FrameSession{};
    resetKeyReading();
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
