// The keys into commands: every key the program reads, in one place.
#include "app/commands.h"

#include "app/frame_controller.h"
#include "app/frame_draw.h"
#include "app/keys.h"
#include "model/cube_text.h"
#include "render/view.h"
#include "solve/menu.h"

#include <cmath>
#include <cstdlib>

namespace {

// Letter keys are indexed by their upper-case codes.
constexpr int kKeyW = 'W', kKeyS = 'S', kKeyA = 'A', kKeyD = 'D';
constexpr int kKeyP = 'P', kKeyU = 'U', kKeyR = 'R';
constexpr int kKeyV = 'V', kKeyB = 'B', kKeyO = 'O', kKeyL = 'L';
constexpr int kKeyH = 'H', kKeyY = 'Y', kKeyZ = 'Z';
constexpr int kKeyC = 'C', kKeyE = 'E';
constexpr int kKeyTab = 0x09, kKeyEnter = 0x0D;

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

// What a press of the mouse has become, until its release: nothing yet (a
// press on a sticker, not moved far enough to tell the layer), a turn of the
// cube (left, background) or of the scene (right), a layer following the
// finger, or nothing at all.
enum DragKind { kDragNone, kDragPending, kDragCube, kDragScene, kDragLayer, kDragIgnored };
// A drag this many pixels long tells which layer it turns.
constexpr int kDragThreshold = 6;
// Pixels of drag per degree the view turns.
constexpr int kPixelsPerDegree = 2;

struct MouseReading {
    DragKind kind = kDragNone;
    int button = 0;
    int x0 = 0, y0 = 0; // where it was pressed
    int turnedX = 0;    // degrees already turned across, and up and down
    int turnedY = 0;
    View atPress{};     // the view the press was made on
    StickerPick pick{}; // the sticker pressed
    int layer = 0;      // the layer following the finger
    int angle = 0;      // its angle, whole degrees
};
MouseReading mouse;

// Every key press not yet taken is dropped.
void dropPresses() {
    for (unsigned char& p : keyPressed) p = 0;
}

bool held(int key) {
    return keyDown[key] != 0 && reading.heldThroughHelp[key] == 0;
}

// A press of `key` since it was last taken (taken now).
bool takePress(int key) {
    const bool pressed = keyPressed[key] != 0 && reading.heldThroughHelp[key] == 0;
    keyPressed[key] = 0;
    return pressed;
}

// While the cuber's keys are on, the letters of the notation turn layers and
// do nothing else.
const NotationTurn* cuberLetter(int key) {
    if (!frameSession().cuberKeys) return nullptr;
    for (const NotationTurn& t : kNotationTurns)
        if (t.letter == key) return &t;
    return nullptr;
}
bool heldForProgram(int key) {
    return held(key) && cuberLetter(key) == nullptr;
}

// Each letter of the notation pressed turns its layer (Shift: the other way);
// a press refused for now is tried again while the key is held.
void readCuberKeys() {
    for (const NotationTurn& t : kNotationTurns) {
        const int key = t.letter;
        if (!takePress(key)) continue;
        const int direction = held(VK_SHIFT) ? -t.clockwise : t.clockwise;
        if (!runCommand({kCommandTurn, direction, t.layer}) && keyDown[key]) keyPressed[key] = 1;
    }
}

template <int N> void readHeldKeys(const HeldKey (&keys)[N]) {
    for (const HeldKey& k : keys)
        if (heldForProgram(k.key)) runCommand({k.kind, k.value, 0});
}

// C, Ctrl+C and Tab, read in the editor as well as outside it.
void readLookAndCopyKeys() {
    if (takePress(kKeyC)) runCommand({held(VK_CONTROL) ? kCommandCopy : kCommandLook, 0, 0});
}

// While the editor is open: its own keys, and the view keys.
void readEditorKeys() {
    for (int colour = 0; colour < 6; ++colour)
        if (takePress(VK_KEY_0 + 1 + colour)) runCommand({kCommandEditorColour, colour, 0});
    if (takePress(kKeyEnter)) runCommand({kCommandEditorTake, 0, 0});
    if (takePress(VK_ESCAPE)) {
        runCommand({kCommandEditorClose, 0, 0});
        // The Escape that closed the editor does not quit while still held.
        reading.heldThroughHelp[VK_ESCAPE] = 1;
    }
    const bool control = held(VK_CONTROL);
    if (takePress(kKeyV) && control) runCommand({kCommandEditorPaste, 0, 0});
    readLookAndCopyKeys();
    readHeldKeys(kViewKeys);
    if (!control) readHeldKeys(kSceneKeys);
    // The presses of the keys the editor does not read are dropped, so that
    // none of them (E, Tab, an arrow) acts once it has closed.
    dropPresses();
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
    if (frameSession().editor.open) {
        readEditorKeys();
        return;
    }
    if (takePress(kKeyTab) && runCommand({kCommandCuberKeys, 0, 0})) {
        // The letters' presses from before the switch (U, R and the view
        // keys are read while held and leave theirs standing) are no turns.
        for (const NotationTurn& t : kNotationTurns) keyPressed[static_cast<int>(t.letter)] = 0;
    }
    if (frameSession().cuberKeys) readCuberKeys();
    readLookAndCopyKeys();
    // E opens the editor; Ctrl+V opens it with the clipboard's cube pasted.
    const bool paste = takePress(kKeyV) && held(VK_CONTROL);
    if (((takePress(kKeyE) && !cuberLetter(kKeyE)) || paste) &&
        runCommand({kCommandEditorOpen, 0, 0})) {
        if (paste) runCommand({kCommandEditorPaste, 0, 0});
        // Presses from before the editor opened are not its colours.
        dropPresses();
        return;
    }
    readHeldKeys(kViewKeys);

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
    if (heldForProgram(kKeyU)) runCommand({kCommandFace, 0, 0});

    // A mix starts once per press of R, and never over a turn or a mix in
    // progress; a press that came too early starts it when they are done.
    // While R is a cuber's key, holding it arms nothing.
    if (!held(kKeyR))
        mixKeyArmed = 1;
    else if (cuberLetter(kKeyR))
        mixKeyArmed = 0;
    else if (mixKeyArmed && runCommand({kCommandMix, 0, 0}))
        mixKeyArmed = 0;

    readHeldKeys(kSceneKeys);

    readPlayerKeys();
}

void resetKeyReading() {
    reading = KeyReading{};
    mouse = MouseReading{};
}

namespace {

// A press: what it starts depends on what is under the pointer.
void pressMouse(const MouseEvent& e) {
    FrameSession& session = frameSession();
    mouse = MouseReading{};
    mouse.button = e.button;
    mouse.x0 = e.x;
    mouse.y0 = e.y;
    if (e.button == 3) {
        mouse.kind = kDragScene;
        return;
    }
    if (e.button != 1) return;
    const View& view = session.view;
    const double x = e.x + 0.5, y = e.y + 0.5;
    if (session.editor.open) {
        const int colour = editorPaletteAt(session.editor, view.width, view.height, x, y);
        if (colour >= 0) {
            runCommand({kCommandEditorColour, colour, 0});
            mouse.kind = kDragIgnored;
            return;
        }
    }
    const int entry = session.editor.open ? -1 : menuEntryAt(e.x, e.y);
    if (entry >= 0) {
        if (!showRunning()) runCommand({kCommandSolve, entry, 0});
        mouse.kind = kDragIgnored;
        return;
    }
    const StickerPick pick = pickSticker(view, x, y);
    if (!pick.hit) {
        mouse.kind = kDragCube;
        return;
    }
    mouse.kind = kDragIgnored;
    if (pick.face == 0) return;
    if (session.editor.open) {
        runCommand({kCommandEditorPaint, stickerOfCell(pick.face, pick.row, pick.col), 0});
        return;
    }
    if (showRunning()) return;
    mouse.kind = kDragPending;
    mouse.atPress = view;
    mouse.pick = pick;
}

// The view turned by a drag: one degree a kPixelsPerDegree pixels, counted
// from the press so that nothing is lost to rounding.
int degreesToTurn(int pixels, int& turned) {
    const int want = pixels / kPixelsPerDegree;
    const int step = want - turned;
    turned = want;
    return step;
}

void moveMouse(const MouseEvent& e) {
    const int dx = e.x - mouse.x0, dy = e.y - mouse.y0;
    switch (mouse.kind) {
    case kDragCube: {
        const int yaw = degreesToTurn(dx, mouse.turnedX);
        const int pitch = degreesToTurn(dy, mouse.turnedY);
        if (yaw != 0) runCommand({kCommandViewYaw, yaw, 0});
        if (pitch != 0) runCommand({kCommandViewPitch, pitch, 0});
        return;
    }
    case kDragScene: {
        const int yaw = degreesToTurn(dx, mouse.turnedX);
        const int pitch = degreesToTurn(dy, mouse.turnedY);
        if (yaw != 0) runCommand({kCommandSceneYaw, yaw, 0});
        // The tilt is kept within 0..90 a degree at a time.
        for (int i = 0; i < std::abs(pitch); ++i)
            runCommand({kCommandScenePitch, pitch > 0 ? 1 : -1, 0});
        return;
    }
    case kDragPending: {
        if (dx * dx + dy * dy < kDragThreshold * kDragThreshold) return;
        const DragTurn turn = dragTurn(mouse.atPress, mouse.pick, dx, dy);
        if (turn.layer == 0) {
            mouse.kind = kDragIgnored;
            return;
        }
        mouse.layer = turn.layer;
        mouse.kind = kDragLayer;
        [[fallthrough]];
    }
    case kDragLayer: {
        const double angle = followDrag(mouse.atPress, mouse.pick, mouse.layer, dx, dy);
        const int shown = static_cast<int>(std::lround(angle));
        if (runCommand({kCommandDragLayer, shown, mouse.layer}))
            mouse.angle = shown;
        else
            mouse.kind = kDragIgnored;
        return;
    }
    case kDragNone:
    case kDragIgnored:
        return;
    }
}

} // namespace

void readMouse(const MouseEvent& e) {
    FrameSession& session = frameSession();
    if (session.helpOpen) return;
    switch (e.action) {
    case kMousePress:
        if (mouse.kind == kDragNone) pressMouse(e);
        return;
    case kMouseMove:
        moveMouse(e);
        return;
    case kMouseRelease:
        if (e.button != mouse.button) return;
        if (mouse.kind == kDragLayer) runCommand({kCommandDragRelease, mouse.angle, mouse.layer});
        mouse = MouseReading{};
        return;
    case kMouseWheel:
        if (e.wheel == 0) return;
        if (session.editor.open)
            runCommand({kCommandEditorStep, e.wheel > 0 ? -1 : 1, 0});
        else
            runCommand({kCommandZoom, e.wheel > 0 ? 1 : -1, 0});
        return;
    }
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
    {"C", "the plain look or the clear one (larger, real colours)"},
    {"Left drag", "on a sticker: turn its layer; elsewhere: turn the cube"},
    {"Right drag, wheel", "tilt and turn the scene; the cube nearer / farther"},
    {"Click a routine", "solve with it, as its number does"},
    {"Tab", "cuber's keys on / off: U R F D L B M E S turn layers"},
    {"Shift+letter", "with cuber's keys: the other way (U R D L B S E turn only)"},
    {"E", "enter your own cube: click stickers to paint them"},
    {"1 - 6, wheel", "in the editor: the colour to paint (or click the palette)"},
    {"Enter / Esc", "in the editor: take the cube / leave it unchanged"},
    {"Ctrl+V", "paste 54 letters or moves in notation into the editor"},
    {"Ctrl+C", "copy the cube's state (54 letters)"},
    {"F1", "full screen or window"},
    {"H / ?", "this help; any key closes it"},
    {"Esc", "quit"},
};
const int kHelpLineCount = sizeof kHelpLines / sizeof kHelpLines[0];
