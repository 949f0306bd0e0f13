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
    kCommandHelp, // the help overlay
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

// Every key and what it does, old and new, for the help overlay.
extern const HelpLine kHelpLines[];
extern const int kHelpLineCount;
