// The colour editor without a window: open, paint, paste, take.
#include "app/editor.h"

#include "tests/app/controller_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

namespace {

const std::string kSolved = "UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB";

std::string liveState() {
    char s[kStateLength + 1];
    writeStateString(s);
    return s;
}

// The whole model, backups and the flag included.
struct ModelCopy {
    CubeCopy cube;
    int backup[4][4][4][7];
    int given;
    static ModelCopy take() {
        ModelCopy m{CubeCopy::take(), {}, givenStateUnsolved};
        std::memcpy(m.backup, CubieArrayBackup, sizeof m.backup);
        return m;
    }
    bool operator==(const ModelCopy& o) const {
        return cube == o.cube && std::memcmp(backup, o.backup, sizeof backup) == 0 &&
               given == o.given;
    }
};

int colourIndex(char letter) {
    return static_cast<int>(std::strchr("URFDLB", letter) - "URFDLB");
}

// The editor's check is the state check of what it shows.
void expectChecked(const Editor& e) {
    char message[kTextMessageSize];
    int marked[kStickers];
    const StateFault f = findStateFault(e.state, message, sizeof message, marked);
    ASSERT_EQ(e.check.sound, f == kStateSound) << e.state;
    ASSERT_STREQ(e.check.message, f == kStateSound ? "" : message) << e.state;
    ASSERT_EQ(std::memcmp(e.check.marked, marked, sizeof marked), 0) << e.state;
}

} // namespace

// Opened on a mixed cube the editor shows it, sound; random paints keep the
// check current and centres fixed; painted back, copy and take change nothing.
TEST(Editor, OpensOnTheCubeShownAndPaintedBackIsSoundAgain) {
    std::mt19937 rng(21);
    int faulty = 0;
    for (int trial = 0; trial < 200; ++trial) {
        startProgram();
        cubetest::apply(cubetest::randomTurns(rng, static_cast<int>(rng() % 50)));
        const ModelCopy model = ModelCopy::take();
        Editor e{};
        e.colour = 9;
        editorOpen(e);
        ASSERT_EQ(e.colour, 0);
        const std::string start = e.state;
        ASSERT_EQ(start, liveState());
        ASSERT_NO_FATAL_FAILURE(expectChecked(e));
        ASSERT_EQ(e.check.sound, 1);
        for (int n = 1 + static_cast<int>(rng() % 6); n > 0; --n) {
            const int sticker = static_cast<int>(rng() % kStickers);
            editorChooseColour(e, static_cast<int>(rng() % 6));
            const std::string before = e.state;
            const int changed = editorPaint(e, sticker);
            const bool centre = sticker % 9 == 4;
            const bool same = before[size_t(sticker)] == kFaceLetters[e.colour].letter;
            ASSERT_EQ(changed, centre || same ? 0 : 1);
            ASSERT_TRUE(changed || std::string(e.state) == before);
            ASSERT_NO_FATAL_FAILURE(expectChecked(e));
            for (int f = 0; f < 6; ++f) ASSERT_EQ(e.state[9 * f + 4], kFaceLetters[f].letter);
        }
        faulty += !e.check.sound;
        for (int s = 0; s < kStickers; ++s) {
            editorChooseColour(e, colourIndex(start[size_t(s)]));
            editorPaint(e, s);
        }
        EXPECT_EQ(std::string(e.state), start);
        ASSERT_NO_FATAL_FAILURE(expectChecked(e));
        EXPECT_TRUE(ModelCopy::take() == model); // painting never touches the cube
        char copied[kStickers + 1];
        editorCopy(e, copied);
        EXPECT_EQ(std::string(copied), start);
        EXPECT_EQ(editorTake(e), 1);
        EXPECT_EQ(e.open, 0);
        EXPECT_TRUE(ModelCopy::take() == model);
    }
    EXPECT_GT(faulty, 150);
    Editor e{};
    editorOpen(e);
    EXPECT_EQ(editorPaint(e, -1) + editorPaint(e, kStickers), 0);
}

// A fault refuses the take; mended, the cube is taken as a given state, every
// sticker in its painted colour, also after slice turns moved the centres.
TEST(Editor, TakesTheCubeOnlyWhenSoundWithThePaintedColours) {
    for (const char* slices : {"", "M", "E S'", "M2 E S"}) {
        SCOPED_TRACE(slices);
        startProgram();
        Move moves[4];
        char message[kTextMessageSize] = "";
        const int n = parseMoves(slices, moves, 4, message, sizeof message);
        for (int i = 0; i < n; ++i) turnLayer(moves[i].layer, moves[i].direction);
        Editor e{};
        editorOpen(e);
        ASSERT_EQ(editorPaste(e, "R U2 F' M E' S2 D L B'", message, sizeof message), 1) << message;
        const std::string painted = e.state;
        int shown[kStickers];
        for (int i = 0; i < kStickers; ++i)
            shown[i] = FaceletGrid[kFaceLetters[colourIndex(e.state[i])].face][2][2];
        editorChooseColour(e, (colourIndex(painted[0]) + 1) % 6);
        ASSERT_EQ(editorPaint(e, 0), 1);
        const ModelCopy before = ModelCopy::take();
        EXPECT_EQ(editorTake(e), 0);
        EXPECT_EQ(e.open, 1);
        EXPECT_TRUE(ModelCopy::take() == before);
        editorChooseColour(e, colourIndex(painted[0]));
        editorPaint(e, 0);
        EXPECT_EQ(editorTake(e), 1);
        EXPECT_EQ(e.open, 0);
        EXPECT_EQ(liveState(), painted);
        EXPECT_EQ(givenStateUnsolved, 1);
        for (int i = 0; i < kStickers; ++i) {
            const FaceLetter& fl = kFaceLetters[i / 9];
            EXPECT_EQ(FaceletGrid[fl.face][fl.cells[i % 9][0]][fl.cells[i % 9][1]], shown[i]) << i;
        }
    }
}

// Pasted text: a state, moves from the solved cube, or refused with the reason.
TEST(Editor, PastesAStateOrMovesAndRefusesTheRest) {
    startProgram();
    std::string flipped = kSolved;
    std::swap(flipped[7], flipped[19]);
    std::string centre = kSolved;
    std::swap(centre[4], centre[13]);
    std::string lower = kSolved;
    lower[10] = 'r';
    const struct {
        std::string text;
        const char* result; // the state (none: the moves' own), or the message when refused
        int taken;
    } cases[] = {
        {"  \n" + flipped + "\r\n", flipped.c_str(), 1},
        {"R2 U", nullptr, 1},
        {" M E S \n", nullptr, 1},
        {"", "nothing to paste", 0},
        {" \t\n", "nothing to paste", 0},
        {"hello world", "word 1, \"hello\", is not a move", 0},
        {"RUFF", "the state has 4 letters, not 54", 0},
        {kSolved + "UU", "the state has more than 54 letters, not 54", 0},
        {lower, "letter 11 (\"r\") is none of U, R, F, D, L, B", 0},
        {centre, "the centre of U is R; each centre is its own face's letter", 0},
    };
    const CubeCopy solved = CubeCopy::take();
    for (const auto& c : cases) {
        std::string result = c.result ? c.result : "";
        if (!c.result) { // the moves turned from the solved cube by the model
            Move moves[16];
            char message[kTextMessageSize];
            const int n = parseMoves(c.text.c_str(), moves, 16, message, sizeof message);
            turned(solved, moves, n).put();
            result = liveState();
            EXPECT_NE(result, kSolved);
            solved.put();
        }
        Editor e{};
        editorOpen(e);
        editorChooseColour(e, 1);
        ASSERT_EQ(editorPaint(e, 0), 1); // something to keep when refused
        const std::string before = e.state;
        const ModelCopy model = ModelCopy::take();
        char message[kTextMessageSize] = "";
        ASSERT_EQ(editorPaste(e, c.text.c_str(), message, sizeof message), c.taken) << c.text;
        EXPECT_EQ(c.taken ? std::string(e.state) : std::string(message), result) << c.text;
        EXPECT_TRUE(c.taken || std::string(e.state) == before) << c.text; // refused: kept
        ASSERT_NO_FATAL_FAILURE(expectChecked(e));
        EXPECT_TRUE(ModelCopy::take() == model) << c.text; // the live cube only lent
    }
}
