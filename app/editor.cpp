// Placeholder bodies so the wiring builds; the editor's own file replaces it.
#include "app/editor.h"

#include <cstring>

int stickerOfCell(int face, int row, int col) {
    return (face - 1) * 9 + (row - 1) * 3 + (col - 1);
}
void editorOpen(Editor& editor) {
    editor.open = 1;
}
void editorClose(Editor& editor) {
    editor.open = 0;
}
int editorPaint(Editor&, int) {
    return 0;
}
void editorChooseColour(Editor& editor, int colour) {
    editor.colour = colour;
}
void editorStepColour(Editor& editor, int step) {
    editor.colour = ((editor.colour + step) % 6 + 6) % 6;
}
int editorPaste(Editor&, const char*, char* message, int messageSize) {
    if (messageSize > 0) message[0] = '\0';
    return 0;
}
void editorCopy(const Editor& editor, char out[kStickers + 1]) {
    std::memcpy(out, editor.state, kStickers + 1);
}
int editorTake(Editor& editor) {
    editor.open = 0;
    return 1;
}
void drawEditorCube(const Editor&, const Look&) {}
void drawEditorOverlay(const Editor&, const Look&, const View&) {}
int editorPaletteAt(const Editor&, int, int, double, double) {
    return -1;
}
