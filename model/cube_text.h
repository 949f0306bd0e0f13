// The cube as cubers write it: the 54-letter state string (faces U R F D L B,
// nine stickers each in reading order) out of and, checked, into the cube; and
// moves in standard notation (R, U', F2, M, E, S) out of and into Move lists.
// Nothing here allocates; faults come back as a message in the caller's buffer.
#pragma once

#include "model/moves.h"

// How the six cubers' faces lie on the program's faces as the start view
// shows them: U the top face (y = 3), F the face turned towards the viewer on
// the left (z = 3), R the one on the right (x = 3), and D, B, L opposite them.
// cells[k] is the FaceletGrid {row, col} of the k-th sticker in reading order
// (seen from outside; U read with F at the bottom, D with F at the top, the
// four sides with U at the top).
struct FaceLetter {
    char letter;
    int face;
    int cells[9][2];
};
constexpr FaceLetter kFaceLetters[6] = {
    {'U', 5, {{1, 1}, {2, 1}, {3, 1}, {1, 2}, {2, 2}, {3, 2}, {1, 3}, {2, 3}, {3, 3}}},
    {'R', 4, {{3, 3}, {3, 2}, {3, 1}, {2, 3}, {2, 2}, {2, 1}, {1, 3}, {1, 2}, {1, 1}}},
    {'F', 1, {{1, 3}, {2, 3}, {3, 3}, {1, 2}, {2, 2}, {3, 2}, {1, 1}, {2, 1}, {3, 1}}},
    {'D', 6, {{1, 3}, {2, 3}, {3, 3}, {1, 2}, {2, 2}, {3, 2}, {1, 1}, {2, 1}, {3, 1}}},
    {'L', 2, {{3, 1}, {3, 2}, {3, 3}, {2, 1}, {2, 2}, {2, 3}, {1, 1}, {1, 2}, {1, 3}}},
    {'B', 3, {{3, 3}, {2, 3}, {1, 3}, {3, 2}, {2, 2}, {1, 2}, {3, 1}, {2, 1}, {1, 1}}},
};

// The turn each notation letter names: the layer and the direction that turns
// it clockwise as seen looking at its face (M as L, E as D, S as F).
struct NotationTurn {
    char letter;
    int layer;
    int clockwise;
};
constexpr NotationTurn kNotationTurns[9] = {
    {'U', 9, -1}, {'R', 3, +1}, {'F', 6, -1}, {'D', 7, +1}, {'L', 1, -1},
    {'B', 4, +1}, {'M', 2, -1}, {'E', 8, +1}, {'S', 5, -1},
};

constexpr int kStateLength = 54;
// Room for any fault message of this file, its end included.
constexpr int kTextMessageSize = 160;

// Writes the cube's state string and its terminating NUL into out. Each
// sticker is the letter of the face whose current centre has its colour.
void writeStateString(char out[kStateLength + 1]);

// Checks that `text` (exactly 54 letters) is a state a real cube can have.
// Returns 1 when it is; otherwise returns 0 and writes a message naming the
// fault and where it is into message (messageSize bytes). Changes nothing.
int checkStateString(const char* text, char* message, int messageSize);

// The faults a state string can have, in the order the check looks for them.
enum StateFault {
    kStateSound,
    kFaultLength,       // not 54 letters
    kFaultLetter,       // a letter none of U R F D L B
    kFaultCount,        // a letter not seen nine times
    kFaultCentresAlike, // two centres with one letter
    kFaultCentre,       // a centre not its own face's letter
    kFaultNoSuchCubie,  // a corner or edge whose colours no cubie has
    kFaultSameCubie,    // one cubie's colours at two places
    kFaultTwist,        // the corner twists do not add up
    kFaultFlip,         // an odd number of edges flipped
    kFaultSwap,         // corners and edges permuted with different parity
};

// The same check as checkStateString (the same faults, found in the same
// order, with the same messages) that also tells which fault it found and
// sets marked[i] to 1 for each sticker i it concerns, 0 for the others (all
// 0 when sound or when the length is wrong):
// - a letter none of the six: that letter;
// - a wrong count: the sticker that, given a colour seen too seldom, makes
//   the cube sound (one sticker painted wrong); when no single sticker does,
//   every sticker but the centres of each letter seen more than nine times;
// - centres: the centres named;
// - colours no cubie has: that piece's stickers; the same cubie twice: the
//   stickers at both places;
// - one corner twisted, one edge flipped: every corner (edge) that is turned
//   from the way its own place holds it; two pieces swapped: every corner
//   and edge away from its own place. On a cube one turn or one swap from
//   solved that is exactly the piece (the pair) at fault; on a mixed cube
//   any of them could be.
StateFault findStateFault(const char* text, char* message, int messageSize,
                          int marked[kStateLength]);

// Checks `text` as above and, when it is sound, makes it the cube: every
// cubie's six sides (the hidden ones too) set to a rotation of a start cubie,
// face f's centre showing face f's start colour, the FaceletGrid rebuilt.
// On a fault nothing changes and 0 is returned with the message.
int readStateString(const char* text, char* message, int messageSize);

// Longest state line read from a file: room for the 54 letters and some
// stray characters, so that a wrong length is still reported as one.
constexpr int kStateLineMax = 120;

// Reads the first line of `fileName` ("-" = standard input) into out
// (kStateLineMax + 1 bytes), its line feed (and a carriage return before it)
// stripped; nothing after the line feed is read, and no more than
// kStateLineMax + 1 bytes, so endless input ends too. Returns 1, or 0 with a
// message naming the file when it cannot be read or the line is too long or
// holds a NUL byte. The letters are checked by checkStateString.
int readStateFile(const char* fileName, char* out, char* message, int messageSize);
// The state of a --state STRING (fromFile 0) or --state-file FILE (fromFile
// 1) argument into `out` (kStateLineMax + 1 bytes), read and checked; the
// cube is not changed. Returns 1, or 0 with a message.
int takeStateArgument(const char* value, int fromFile, char* out, char* message, int messageSize);

// Writes `text[0..length-1]` into out (outSize bytes) in double quotes, with
// every byte outside printable ASCII, and the quote and backslash, escaped
// (\t, \r, \xNN, \", \\), so that no control byte of bad input reaches a
// terminal. What does not fit is left out and marked by "...". Returns out.
const char* quoteText(const char* text, int length, char* out, int outSize);

// Writes one quarter turn's name ("R", "U'", ...; at most 2 letters) and a NUL.
void writeMoveName(int layer, int direction, char out[3]);

// Writes moves[0..count-1] in standard notation, separated by single spaces,
// two equal quarter turns in a row merged into one half turn ("R2"). Returns
// the length written, or -1 (out holding "") when out is too small or a move
// is not a quarter turn of layer 1..9.
int formatMoves(const Move* moves, int count, char* out, int outSize);

// Parses notation (moves separated by blanks; X, X', X2, X2') into quarter
// turns, a half turn giving two. Returns the number of moves written, or -1
// with a message naming the token when a word is not a move or there are more
// than `capacity` quarter turns.
int parseMoves(const char* text, Move* moves, int capacity, char* message, int messageSize);
