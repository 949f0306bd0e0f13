// The keys into commands: every key the program reads, in one place.
#include "app/commands.h"

#include "app/frame_controller.h"
#include "app/keys.h"
#include "solve/menu.h"

namespace {

// Letter keys are indexed by their upper-case codes.
constexpr int kKeyW = 'W', kKeyS = 'S', kKeyA = 'A', kKeyD = 'D';
constexpr int kKeyP = 'P', kKeyU = 'U', kKeyR = 'R';
constexpr int kKeyV = 'V', kKeyB = 'B', kKeyO = 'O', kKeyL = 'L';
constexpr int kKeyH = 'H', kKeyY = 'Y', kKeyZ = 'Z';

// Keys that act in every frame they are held, each one command.
struct HeldKey {
    int key;
    CommandKind kind;
    int value;
};
const HeldKey kViewKeys[] = {{kKeyW, kCommandViewPitch, -3},
                             {kKeyS, kCommandViewPitch, +3},
                             {kKeyA, kCommandViewYaw, -3},
                             {kKeyD, kCommandViewYaw, +3}};
const HeldKey kSceneKeys[] = {{kKeyV, kCommandSceneYaw, +1},
                              {kKeyB, kCommandSceneYaw, -1},
                              {kKeyO, kCommandScenePitch, +1},
                              {kKeyL, kCommandScenePitch, -1}};

// The guarded keys: each press acts once, as soon as it is allowed to; Left,
// Right, Up, Down, '.' and ',' then repeat while still held once
// kHoldDelayFrames have passed since the press acted, every fourth frame (the
// latch). The others never repeat.
enum GuardedKeyIndex {
    kGuardLeft,
    kGuardRight,
    kGuardUp,
    kGuardDown,
    kGuardP,
    kGuardSpace,
    kGuardStepOn,
    kGuardStepBack,
    kGuardHome,
    kGuardEnd,
    kGuardSlower,
    kGuardSlowerPad,
    kGuardFaster,
    kGuardFasterPad,
    kGuardZ,
    kGuardY,
    kGuardH,
    kGuardQuestion,
    kGuardedKeys
};
struct GuardedKey {
    int key;
    int repeats;
};
constexpr GuardedKey kGuardedKeyTable[kGuardedKeys] = {
    {VK_LEFT, 1},      {VK_RIGHT, 1},      {VK_UP, 1},        {VK_DOWN, 1}, {kKeyP, 0},
    {VK_SPACE, 0},     {VK_OEM_PERIOD, 1}, {VK_OEM_COMMA, 1}, {VK_HOME, 0}, {VK_END, 0},
    {VK_OEM_MINUS, 0}, {VK_SUBTRACT, 0},   {VK_OEM_PLUS, 0},  {VK_ADD, 0},  {kKeyZ, 0},
    {kKeyY, 0},        {kKeyH, 0},         {VK_OEM_2, 0}};

// The player's keys with the command each gives (two keys may give the same);
// Z, Y, H and ? are read apart: they need the modifiers, or open the help.
struct PlayerKey {
    GuardedKeyIndex guard;
    CommandKind kind;
    int value;
};
constexpr PlayerKey kPlayerKeys[] = {
    {kGuardStepOn, kCommandStep, +1},  {kGuardStepBack, kCommandStep, -1},
    {kGuardHome, kCommandSeek, -1},    {kGuardEnd, kCommandSeek, +1},
    {kGuardSlower, kCommandSpeed, -1}, {kGuardSlowerPad, kCommandSpeed, -1},
    {kGuardFaster, kCommandSpeed, +1}, {kGuardFasterPad, kCommandSpeed, +1}};

// A quarter of a second at 60 frames a second: longer than a tap.
constexpr int kHoldDelayFrames = 15;

// What the key reading keeps from one frame to the next.
struct KeyReading {
    // Per guarded key: 0 while its press has not acted yet, else the frames
    // since it did (1 in that frame).
    int guardedHeldFrames[kGuardedKeys] = {};
    // Keys that were down when the help overlay closed, until released.
    unsigned char heldThroughHelp[256] = {};
};
KeyReading reading;

bool held(int key) {
    return keyDown[key] != 0 && reading.heldThroughHelp[key] == 0;
}

// Whether guarded key `index` acts in this frame: its press (a key that went
// down since the last frame counts even when it is up again already), or a
// repeat of a held key. The caller calls guardedKeyDone when it did act.
bool guardedKeyActs(int index) {
    const GuardedKey& g = kGuardedKeyTable[index];
    int& frames = reading.guardedHeldFrames[index];
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
    if (reading.guardedHeldFrames[index] == 0) reading.guardedHeldFrames[index] = 1;
    keyLatch = 1;
}

// A guarded key whose command waits while it is refused.
void guardedCommand(int index, const Command& command) {
    if (guardedKeyActs(index) && runCommand(command)) guardedKeyDone(index);
}

// While the help overlay is up: the first key pressed closes it, and every key
// down then stays with the overlay until it is released.
void readKeysUnderHelp() {
    int pressed = 0;
    for (unsigned char& p : keyPressed) {
        pressed |= p;
        p = 0;
    }
    if (!pressed) return;
    frameSession().helpOpen = 0;
    for (int key = 0; key < 256; ++key) reading.heldThroughHelp[key] = keyDown[key];
}

// A turn accepted in this frame plays first: the player's keys wait for the
// next frame, as P does.
void readPlayerKeys() {
    if (turnRequest != 0) return;
    for (const PlayerKey& k : kPlayerKeys) {
        if (!guardedKeyActs(k.guard)) continue;
        runCommand({k.kind, k.value, 0});
        guardedKeyDone(k.guard);
    }
    guardedCommand(kGuardSpace, {kCommandPause, 0, 0});
    // Ctrl+Z undoes, Ctrl+Y and Ctrl+Shift+Z redo; Z and Y alone do nothing.
    const bool control = held(VK_CONTROL);
    if (guardedKeyActs(kGuardZ) && control &&
        runCommand({held(VK_SHIFT) ? kCommandRedo : kCommandUndo, 0, 0}))
        guardedKeyDone(kGuardZ);
    if (guardedKeyActs(kGuardY) && control && runCommand({kCommandRedo, 0, 0}))
        guardedKeyDone(kGuardY);
    guardedCommand(kGuardH, {kCommandHelp, 0, 0});
    guardedCommand(kGuardQuestion, {kCommandHelp, 0, 0});
    // Only a press after the overlay opened closes it: the keys that are
    // read while held leave their press flags standing.
    if (frameSession().helpOpen)
        for (unsigned char& p : keyPressed) p = 0;
}

} // namespace

void latchStep() {
    if (keyLatch > 0) {
        ++keyLatch;
        if (keyLatch == 5) keyLatch = 0;
    }
}

void readKeys() {
    for (int key = 0; key < 256; ++key)
        if (!keyDown[key]) reading.heldThroughHelp[key] = 0;
    if (frameSession().helpOpen) {
        readKeysUnderHelp();
        return;
    }
    for (const HeldKey& k : kViewKeys)
        if (held(k.key)) runCommand({k.kind, k.value, 0});

    if (guardedKeyActs(kGuardLeft)) {
        runCommand({kCommandSelectLayer, -1, 0});
        guardedKeyDone(kGuardLeft);
    }
    if (guardedKeyActs(kGuardRight)) {
        runCommand({kCommandSelectLayer, +1, 0});
        guardedKeyDone(kGuardRight);
    }
    guardedCommand(kGuardUp, {kCommandTurn, +1, selectedLayer});
    guardedCommand(kGuardDown, {kCommandTurn, -1, selectedLayer});

    // Digits: the lowest held one wins (see kCommandSolve); a digit that
    // waited for a turn's end goes first.
    runWaitingSolve();
    for (int digit = 0; digit < kMenuSize; ++digit)
        if (held(VK_KEY_0 + digit)) runCommand({kCommandSolve, digit, 0});

    // A turn accepted in this frame is animated from this frame on: a press
    // of P waits for the next frame rather than drop it.
    if (turnRequest == 0) guardedCommand(kGuardP, {kCommandPause, 0, 0});
    if (held(kKeyU)) runCommand({kCommandFace, 0, 0});

    // A mix starts once per press of R, and never over a turn or a mix in
    // progress; a press that came too early starts it when they are done.
    if (!held(kKeyR))
        mixKeyArmed = 1;
    else if (mixKeyArmed && runCommand({kCommandMix, 0, 0}))
        mixKeyArmed = 0;

    for (const HeldKey& k : kSceneKeys)
        if (held(k.key)) runCommand({k.kind, k.value, 0});

    readPlayerKeys();
}

void resetKeyReading() {
    reading = KeyReading{};
}

int keyTakenByHelp(int code) {
    return frameSession().helpOpen || reading.heldThroughHelp[code & 0xFF];
}

const HelpLine kHelpLines[] = {
    {"0 - 6", "solve with the routine of that number (5: undo the history)"},
    {"R", "mix the cube"},
    {"Up / Down", "turn the selected layer one way or the other"},
    {"Left / Right", "select the layer to turn (the marker shows it)"},
    {"P / Space", "pause or go on"},
    {". / ,", "one quarter turn on / back, then stay paused"},
    {"Home / End", "to the start / end of the moves shown, at once"},
    {"- / +", "slower / faster: 0.5, 1, 2, 4, 7.5, 20 quarter turns a second"},
    {"Ctrl+Z", "undo the last turn or mix"},
    {"Ctrl+Y, Ctrl+Shift+Z", "redo what was undone"},
    {"W / S, A / D", "turn the cube"},
    {"O / L, V / B", "tilt and turn the scene"},
    {"U", "the cube's face to you"},
    {"G", "floor grid on or off"},
    {"F1", "full screen or window"},
    {"H / ?", "this help; any key closes it"},
    {"Esc", "quit"},
};
const int kHelpLineCount = sizeof kHelpLines / sizeof kHelpLines[0];
