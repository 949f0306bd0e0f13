// Commands: what the user asked for (turn a layer, mix, solve, step, seek,
// change the speed, undo, redo, pause, help, turn the view ...). The keys are
// turned into commands in one place (readKeys); any other source of input
// hands its commands to runCommand the same way.
#pragma once

#include "app/help_overlay.h"

enum CommandKind {
    kCommandViewPitch,   // value: degrees added to viewPitch
    kCommandViewYaw,     // value: degrees added to viewYaw
    kCommandSceneYaw,    // value: degrees added to sceneYaw
    kCommandScenePitch,  // value: degrees added to scenePitch, kept within 0..90
    kCommandSelectLayer, // value: -1 or +1 to the selected layer
    kCommandTurn,        // layer, value: direction
    kCommandSolve,       // value: menu entry
    kCommandPause,       // pause or resume
    kCommandFace,        // the cube's front face to the viewer
    kCommandMix,         // a random mix
    kCommandStep,        // value: +1 one quarter turn on, -1 one back
    kCommandSeek,        // value: -1 to the start of the timeline, +1 to its end
    kCommandSpeed,       // value: -1 slower, +1 faster
    kCommandUndo,
    kCommandRedo,
    kCommandHelp,         // the help overlay
    kCommandZoom,         // value: +1 nearer, -1 farther (the wheel)
    kCommandLook,         // the plain look or the clear one
    kCommandCuberKeys,    // the letters turn layers as cubers write them, or not
    kCommandDragLayer,    // layer shown turned by value degrees (direction +1 sense)
    kCommandDragRelease,  // layer let go at value degrees: settles on quarter turns
    kCommandEditorOpen,   // the colour editor on the cube shown
    kCommandEditorPaint,  // value: sticker 0..53 painted in the chosen colour
    kCommandEditorColour, // value: the colour 0..5
    kCommandEditorStep,   // value: -1 or +1 round the colours
    kCommandEditorPaste,  // the session's paste text into the editor
    kCommandEditorTake,   // the painted cube becomes the cube
    kCommandEditorClose,  // the editor closes, nothing changed
    kCommandCopy,         // the state (the editor's, else the cube's) to copy
};

struct Command {
    CommandKind kind;
    int value;
    int layer; // kCommandTurn only
};

// Carries out a command at once. Returns 1 when it acted, 0 when it was
// refused for now (nothing changed); a refused key press waits while held.
int runCommand(const Command& command);

// The key latch step, first thing of every frame.
void latchStep();
// Turns the held keys into commands. While the help overlay is up, the first
// key pressed closes it and does nothing else, and the keys down then are
// left alone until they are released.
void readKeys();
// Every key-reading state back to its start.
void resetKeyReading();
// 1 while key `code` is kept from the program: the help overlay is up, or the
// key closed it and is still down. The window layer asks this of the keys it
// acts on itself (G, ESC, F1).
int keyTakenByHelp(int code);

// What the mouse did, as the window layer hands it over: a button (1 left,
// 3 right) pressed or released, the pointer moved, or the wheel turned (wheel
// +1 away from the user, -1 towards), at window pixel (x, y).
enum MouseAction { kMousePress, kMouseRelease, kMouseMove, kMouseWheel };
struct MouseEvent {
    MouseAction action;
    int button;
    int x, y;
    int wheel;
};
// Turns what the mouse did into commands, beside the keys: drags on the
// background turn the cube (left) or the scene (right), a drag across a
// sticker turns its layer, the wheel moves the cube nearer or farther, a
// click on a line of the routine menu starts that routine; while the editor
// is open, a click paints or picks a colour.
void readMouse(const MouseEvent& event);

// Every key and what it does, old and new, for the help overlay.
extern const HelpLine kHelpLines[];
extern const int kHelpLineCount;
