// The colour editor: a real cube's stickers painted onto the cube on screen.
// It starts from the cube shown, a click paints the sticker under the mouse
// with the chosen colour (the centres stay: they say which face is which), a
// pasted text replaces the whole cube, and the same check as a given state's
// runs after every change, naming the fault and marking the stickers it
// concerns. Enter takes the cube when it is sound. No GL here except in
// drawEditor.
#pragma once

#include "model/cube_text.h"

struct View;
struct Look;

// Stickers are numbered as in the 54-letter state string: faces U R F D L B,
// nine each in reading order (kFaceLetters in model/cube_text.h).
constexpr int kStickers = kStateLength;

struct EditorCheck {
    int sound;                      // 1 when a real cube can look like this
    char message[kTextMessageSize]; // the fault, or "" when sound
    int marked[kStickers];          // 1 for each sticker the fault concerns
};

struct Editor {
    int open;                  // 1 while the editor has the window
    char state[kStickers + 1]; // the painted cube as a state string
    int colour;                // the colour being painted: 0..5, index into "URFDLB"
    EditorCheck check;         // the check of `state`, kept up to date
};

// The sticker number of FaceletGrid cell (face 1..6, row 1..3, col 1..3).
int stickerOfCell(int face, int row, int col);

// Opens the editor on the cube as it is now (writeStateString).
void editorOpen(Editor& editor);
// Leaves the editor; the cube is as it was.
void editorClose(Editor& editor);
// Paints sticker `sticker` with the chosen colour; a centre is left alone.
// Returns 1 when a sticker changed.
int editorPaint(Editor& editor, int sticker);
// Chooses colour `colour` (0..5), or moves the choice by `step` round the six.
void editorChooseColour(Editor& editor, int colour);
void editorStepColour(Editor& editor, int step);
// Replaces the painted cube by `text`: a 54-letter state, or moves in
// standard notation played from the solved cube. Returns 1, or 0 with the
// reason in message (nothing changed).
int editorPaste(Editor& editor, const char* text, char* message, int messageSize);
// The painted cube as a state string (for the clipboard).
void editorCopy(const Editor& editor, char out[kStickers + 1]);
// Makes the painted cube the program's cube when it is sound (as --state does,
// so Quick is refused until it is solved) and closes the editor. Returns 1,
// or 0 when the check finds a fault (nothing changed, the editor stays).
int editorTake(Editor& editor);

// Draws the painted cube (its stickers as painted, whatever the check says),
// the marks on the stickers the fault concerns, the palette with the chosen
// colour and the check's message, in the given look and view. The frame
// calls it in place of the cube while the editor is open; the palette and the
// message go into the text overlay.
void drawEditorCube(const Editor& editor, const Look& look);
void drawEditorOverlay(const Editor& editor, const Look& look, const View& view);
// The palette colour (0..5) under window pixel (x, y), or -1.
int editorPaletteAt(const Editor& editor, int viewportWidth, int viewportHeight, double x,
                    double y);
