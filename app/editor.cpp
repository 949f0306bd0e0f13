// The colour editor's record: painting, choosing the colour, pasting and
// copying, and taking the painted cube, with the state check run after every
// change. Its drawing is in app/editor_draw.cpp.
#include "app/editor.h"

#include "app/frame_controller.h"
#include "model/cube.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr int kColours = 6;
constexpr int kCentre = 4; // the centre's place among a face's nine stickers
// The most quarter turns a pasted scramble may have.
constexpr int kPasteMoves = 2000;

void recheck(Editor& editor) {
    EditorCheck& c = editor.check;
    c.sound = findStateFault(editor.state, c.message, sizeof c.message, c.marked) == kStateSound;
    if (c.sound) c.message[0] = '\0';
}

bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The state of the solved cube turned by `moves`, the live cube left as it
// was (the model's one cube is lent for the turns and given back).
void scrambledState(const Move* moves, int count, char out[kStickers + 1]) {
    static int cubies[4][4][4][7], backup[4][4][4][7], grid[7][4][4];
    std::memcpy(cubies, CubieArray, sizeof cubies);
    std::memcpy(backup, CubieArrayBackup, sizeof backup);
    std::memcpy(grid, FaceletGrid, sizeof grid);
    initCubieArray();
    initFaceletGrid();
    for (int i = 0; i < count; ++i) turnLayer(moves[i].layer, moves[i].direction);
    writeStateString(out);
    std::memcpy(CubieArray, cubies, sizeof cubies);
    std::memcpy(CubieArrayBackup, backup, sizeof backup);
    std::memcpy(FaceletGrid, grid, sizeof grid);
}

// A state string makes every centre its face's start colour; after a slice
// turn the centres showed others, and the editor painted in those. The taken
// cube is recoloured so that each centre keeps the colour it showed (the
// same cube, as a turn of the whole cube recolours it), and every sticker
// shows the colour it was painted in.
void keepCentreColours(const int (&shown)[7]) {
    int colourOf[7] = {0, 0, 0, 0, 0, 0, 0};
    for (int face = 1; face <= 6; ++face) {
        const int now = FaceletGrid[face][2][2];
        if (now < 1 || now > 6 || shown[face] < 1 || shown[face] > 6 || colourOf[now] != 0) return;
        colourOf[now] = shown[face];
    }
    for (int x = 1; x <= 3; ++x)
        for (int y = 1; y <= 3; ++y)
            for (int z = 1; z <= 3; ++z)
                for (int side = 1; side <= 6; ++side) {
                    int& c = CubieArray[x][y][z][side];
                    if (c >= 1 && c <= 6) c = colourOf[c];
                }
    rebuildFaceletGrid();
}

} // namespace

int stickerOfCell(int face, int row, int col) {
    for (int l = 0; l < 6; ++l) {
        if (kFaceLetters[l].face != face) continue;
        for (int k = 0; k < 9; ++k)
            if (kFaceLetters[l].cells[k][0] == row && kFaceLetters[l].cells[k][1] == col)
                return 9 * l + k;
    }
    return -1;
}

void editorOpen(Editor& editor) {
    writeStateString(editor.state);
    if (editor.colour < 0 || editor.colour >= kColours) editor.colour = 0;
    editor.open = 1;
    recheck(editor);
}

void editorClose(Editor& editor) {
    editor.open = 0;
}

int editorPaint(Editor& editor, int sticker) {
    if (sticker < 0 || sticker >= kStickers || sticker % 9 == kCentre) return 0;
    const char letter = kFaceLetters[editor.colour].letter;
    if (editor.state[sticker] == letter) return 0;
    editor.state[sticker] = letter;
    recheck(editor);
    return 1;
}

void editorChooseColour(Editor& editor, int colour) {
    if (colour >= 0 && colour < kColours) editor.colour = colour;
}

void editorStepColour(Editor& editor, int step) {
    editor.colour = ((editor.colour + step) % kColours + kColours) % kColours;
}

int editorPaste(Editor& editor, const char* text, char* message, int messageSize) {
    const size_t size = static_cast<size_t>(messageSize);
    while (*text && blank(*text)) ++text;
    int length = static_cast<int>(std::strlen(text));
    while (length > 0 && blank(text[length - 1])) --length;
    int inner = 0; // blanks inside the text
    for (int i = 0; i < length; ++i) inner += blank(text[i]);

    static Move moves[kPasteMoves];
    char notation[kTextMessageSize];
    const int count = parseMoves(text, moves, kPasteMoves, notation, sizeof notation);
    if (count > 0) {
        scrambledState(moves, count, editor.state);
        recheck(editor);
        return 1;
    }
    if (inner > 0 || length <= 3) {
        std::snprintf(message, size, "%s", count == 0 ? "nothing to paste" : notation);
        return 0;
    }
    // One word: a state. Its length, its letters and its centres must be
    // right (painting cannot mend them); any other fault is painted away.
    // One letter past the 54 is enough for the check to say there are more.
    char state[kStickers + 2];
    const int kept = length < kStickers + 1 ? length : kStickers + 1;
    std::memcpy(state, text, static_cast<size_t>(kept));
    state[kept] = '\0';
    char fault[kTextMessageSize];
    int marked[kStickers];
    const StateFault f = findStateFault(state, fault, sizeof fault, marked);
    if (f == kFaultLength || f == kFaultLetter || f == kFaultCentresAlike || f == kFaultCentre) {
        std::snprintf(message, size, "%s", fault);
        return 0;
    }
    std::memcpy(editor.state, state, sizeof editor.state);
    recheck(editor);
    return 1;
}

void editorCopy(const Editor& editor, char out[kStickers + 1]) {
    std::memcpy(out, editor.state, kStickers);
    out[kStickers] = '\0';
}

int editorTake(Editor& editor) {
    recheck(editor);
    if (!editor.check.sound) return 0;
    char now[kStickers + 1];
    writeStateString(now);
    // The cube on screen already: nothing to take, and its history still
    // leads back to the start.
    if (std::strcmp(now, editor.state) != 0) {
        int shown[7]; // the colour each face's centre has on screen
        for (int face = 1; face <= 6; ++face) shown[face] = FaceletGrid[face][2][2];
        char message[kTextMessageSize];
        if (!startFromState(editor.state, message, sizeof message)) return 0;
        keepCentreColours(shown);
    }
    editor.open = 0;
    return 1;
}
