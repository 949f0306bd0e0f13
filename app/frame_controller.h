// Everything that happens to the cube from one frame to the next: commands
// (app/commands.h) set requests and view changes, and once per frame the
// controller decides whether the cube stands still, plays the timeline (a
// manual turn, a step, an undo or redo), animates a random mix or a computed
// solution, or computes a whole solve; then it draws the cube. Animation is
// counted in frames: at the default speed a move takes three (angles 1, 31,
// 61; the turn is applied to the cube in the third).
#pragma once

#include "app/editor.h"
#include "app/player.h"
#include "app/strip.h"
#include "model/timeline.h"
#include "model/undo_stack.h"
#include "render/look.h"
#include "render/view.h"

#include <string>

// The records the controller owns: the timeline being shown, the player that
// plays it, the undo and redo stacks, and what the window shows of them.
struct FrameSession {
    Timeline timeline;
    Player player;
    UndoStack undoStack;
    int helpOpen = 0;   // the help overlay is up
    int stripShown = 0; // the strip of moves is on (a player key was used)
    // 1 from a turn by hand, recorded in the history as it was asked for,
    // until it starts playing.
    int turnRecorded = 0;
    // historyTop when a solution's playback ended on a solved cube, until
    // the history changes hands (see recordMove); -1 when none.
    int solvedHistoryTop = -1;

    // How the cube looks (C, --look) and how much nearer than the look's own
    // camera distance the wheel has brought it (within kNearest..kFarthest).
    const Look* look = &kPlainLook;
    double nearer = 0.0;
    // 1 while the letters turn layers as cubers write them (Tab).
    int cuberKeys = 0;
    // The colour editor (E), and the last fault of a paste into it.
    Editor editor{};
    char editorMessage[kTextMessageSize] = "";
    // Text for the editor's paste, and the state a copy put out (the window
    // moves both to and from the clipboard).
    std::string pasteText;
    std::string copiedText;
    // The frame's view: where the cube was drawn, for picking.
    View view{};
    // A layer drawn at a drag's angle (layer 0: none); `returning` while it
    // goes back to rest after a release short of a quarter turn.
    TurnShown dragShown{0, 0, 0};
    int dragReturning = 0;
    // The second quarter turn of a drag released past a half turn, turned
    // once the first has played, from the angle shown; layer 0 when none waits.
    TurnShown queuedTurn{0, 0, 0};
    // Frames a solve has waited for a routine that searches off the drawing
    // thread (see menuEntryReadyToSolve); 0 when none waits.
    int thinkingFrames = 0;
};

// The wheel's limits on `nearer`: the cube comes no closer than this much
// nearer, and goes no farther than this much away; and its centre stays at
// least kClosest from the eye, so that the clear look, near already, comes only
// a little nearer and never hides the HUD's lines.
constexpr double kNearest = 6.0;
constexpr double kFarthest = -10.0;
constexpr double kClosest = 8.0;
// The look with the wheel's camera distance in it, and the view of this
// frame made from it and the view angles (kept in the session for picking).
Look sessionLook();
const View& makeFrameView(int width, int height);
FrameSession& frameSession();
// The strip of moves as the window shows it: 1 with `view` filled from the
// timeline and the player once a player key has switched the strip on and
// the timeline has moves; 0 (nothing to draw) before.
int stripToShow(StripView* view);

// The cube's own orientation, in whole degrees (W/S, A/D).
extern int viewYaw;
extern int viewPitch;
// The whole scene's turn and tilt (V/B, O/L); the tilt stays within 0..90.
extern float sceneYaw;
extern float scenePitch;
// +1 or -1 when Up or Down was accepted in this frame.
extern int turnRequest;
// Direction of the manual turn being animated.
extern int turnDirection;
// Animation angle of the move in progress, shared by every animation: the
// player's (frameSession().player.angle).
extern int& turnAngle;
// Key-repeat guard: 0 = free, 1..4 = frames since a guarded key acted. A
// guarded key's press acts at once; a held arrow key repeats only after a
// quarter of a second, then whenever the latch is free (every fourth frame).
extern int keyLatch;
// The player's pause (frameSession().player.paused).
extern int& paused;
// U was down in this frame.
extern int faceRequest;
// 0 idle, 1 mix requested, 2 mix being animated.
extern int mixMode;
// -1 none, else the menu entry being run (0..kMenuSize - 1).
extern int selectedAlgorithm;
// SolutionList record being animated (the timeline's position while a
// solution plays).
extern int solutionPos;
// Frames spent in the spin between the two phases of a solve, 0..60.
extern int spinFrames;
// Counts frames 0..34 and wraps; the PAUSE banner blinks with it.
extern int frameCycle;
// The layer 1..9 that Up/Down turn and the marker shows.
extern short selectedLayer;
// 1 while the floor grid is shown; the window layer inverts it on every
// key-down of G.
extern unsigned char gridVisible;

// A digit pressed while a manual turn was animating, waiting for the turn to
// end; -1 when none waits.
extern int pendingDigit;
// 1 once R has been seen up since the last mix it started: a mix starts only
// on a fresh press of R.
extern int mixKeyArmed;

// 1 while the cube the program was started on with --state has not been
// solved since: the history replay ("Quick") only undoes recorded turns,
// which cannot solve that cube, so its key is refused then (nothing changes).
extern int givenStateUnsolved;
// Makes a checked state string the cube (see readStateString) and marks it
// as given. Returns 0 with the message when the string is refused.
int startFromState(const char* text, char* message, int messageSize);

// What the controller draws with. It defaults to the real GL matrix calls and
// the cube renderer; tests put recording stand-ins in its place so that whole
// key-and-frame scenarios run without a GL context.
struct ControllerDrawing {
    void (*pushMatrix)();
    void (*popMatrix)();
    void (*loadMatrix)(const double* m);
    void (*drawCube)(int layer, int direction, int angle);
    void (*drawCubie)(int x, int y, int z, const int (&cubies)[4][4][4][7]);
    void (*drawLayerMarker)(int layer);
    // The editor's painted cube, in place of the cube while it is open.
    void (*drawEditor)(const Editor& editor);
};
extern ControllerDrawing controllerDrawing;
// The real drawing functions.
extern const ControllerDrawing kRenderDrawing;

// A digit that waited for a manual turn to end asks for its solve once the
// turn is over (readKeys calls this before it reads the digits).
void runWaitingSolve();
// 1 while a mix, a solution or Quick is under way: the mouse then only turns
// the view.
int showRunning();
// Orients, advances and draws the cube; the scene transform is already set
// and the frame's view made (makeFrameView).
void runFrameController();
// Steps of runFrameController, one call per frame each.
void playSolution();
void playMix();
void playQuick();

// Every controller variable back to its start value (the cube, the move
// lists and the solve record are left alone).
void resetController();
// The whole program back to its fresh start: the solver side (resetSolver),
// every controller variable and no key held.
void resetProgram();
