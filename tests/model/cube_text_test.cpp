// The state string and the notation: real turns, faults, random round trips.
#include "model/cube_text.h"
#include "tests/support/cube_support.h"

namespace {

using cubetest::Snapshot;

const std::string kSolved = "UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB";

std::string stateNow() {
    char s[kStateLength + 1];
    writeStateString(s);
    return s;
}

void play(const std::vector<Move>& moves) {
    for (const Move& m : moves) turnLayer(m.layer, m.direction);
}

std::vector<Move> parsed(const char* text) {
    Move moves[64];
    char msg[kTextMessageSize];
    const int n = parseMoves(text, moves, 64, msg, sizeof msg);
    EXPECT_GE(n, 0) << text << ": " << msg;
    return std::vector<Move>(moves, moves + (n < 0 ? 0 : n));
}

std::vector<Move> randomMoves(std::mt19937& rng, int count, int layers) {
    std::vector<Move> moves;
    for (int i = 0; i < count; ++i) {
        // Every third move repeats the one before, so half turns show up.
        if (!moves.empty() && rng() % 3 == 0) {
            moves.push_back(moves.back());
            continue;
        }
        const int pick = static_cast<int>(rng() % static_cast<unsigned>(layers));
        const int layer = layers == 9 ? pick + 1 : (pick / 2) * 3 + (pick % 2 ? 3 : 1);
        moves.push_back({layer, rng() % 2 ? 1 : -1});
    }
    return moves;
}

// Sticker k of face letter l in a state string.
char at(const std::string& s, char face, int k) {
    return s[static_cast<size_t>(9 * std::string("URFDLB").find(face) + static_cast<size_t>(k))];
}

std::vector<int> marksOf(const int (&marked)[kStateLength]) {
    std::vector<int> on;
    for (int i = 0; i < kStateLength; ++i)
        if (marked[i]) on.push_back(i);
    return on;
}

} // namespace

// Face turns move stickers as cubers' U, R, F do; slices follow L, D and F.
TEST(CubeText, FaceTurnsMoveStickersAsCubersNotationSays) {
    std::mt19937 rng(7);
    for (int trial = 0; trial < 50; ++trial) {
        cubetest::startState();
        play(randomMoves(rng, 30, 9));
        for (char face : std::string("URFDLB")) {
            const std::string b = stateNow();
            play(parsed(std::string(1, face).c_str()));
            const std::string a = stateNow();
            for (int r = 0; r < 3; ++r)
                for (int c = 0; c < 3; ++c)
                    ASSERT_EQ(at(a, face, 3 * r + c), at(b, face, 3 * (2 - c) + r)) << face;
            auto cycle = [&](char to, std::vector<int> toK, char from, std::vector<int> fromK) {
                for (size_t i = 0; i < toK.size(); ++i)
                    ASSERT_EQ(at(a, to, toK[i]), at(b, from, fromK[i])) << face << " to " << to;
            };
            if (face == 'U') { // F's top row goes to L
                cycle('L', {0, 1, 2}, 'F', {0, 1, 2});
                cycle('B', {0, 1, 2}, 'L', {0, 1, 2});
                cycle('R', {0, 1, 2}, 'B', {0, 1, 2});
                cycle('F', {0, 1, 2}, 'R', {0, 1, 2});
            } else if (face == 'R') {
                cycle('U', {2, 5, 8}, 'F', {2, 5, 8});
                cycle('B', {6, 3, 0}, 'U', {2, 5, 8});
                cycle('D', {8, 5, 2}, 'B', {0, 3, 6});
                cycle('F', {2, 5, 8}, 'D', {2, 5, 8});
            } else if (face == 'F') {
                cycle('R', {0, 3, 6}, 'U', {6, 7, 8});
                cycle('D', {2, 1, 0}, 'R', {0, 3, 6});
                cycle('L', {2, 5, 8}, 'D', {0, 1, 2});
                cycle('U', {8, 7, 6}, 'L', {2, 5, 8});
            }
        }
    }
    // A layer and the two parallel to it, turned the same way, turn the whole cube.
    for (const char* whole : {"U E' D'", "R M' L'", "F S B'"}) {
        cubetest::startState();
        play(parsed(whole));
        EXPECT_TRUE(isSolved()) << whole;
        // Relative to the centres the string is the solved one; four centres moved.
        EXPECT_EQ(stateNow(), kSolved) << whole;
        int moved = 0;
        for (int f = 1; f <= 6; ++f) moved += FaceletGrid[f][2][2] != kStartFaceColour[f];
        EXPECT_EQ(moved, 4) << whole;
    }
}

// String out and in: every cubie side (hidden too) the same up to renaming.
TEST(CubeText, StateStringRoundTripsOverRandomCubes) {
    std::mt19937 rng(11);
    for (int trial = 0; trial < 2000; ++trial) {
        cubetest::startState();
        play(randomMoves(rng, static_cast<int>(rng() % 60), trial % 2 ? 9 : 6));
        const std::string s = stateNow();
        int before[4][4][4][7];
        std::memcpy(before, CubieArray, sizeof before);
        int rename[7] = {0};
        for (int f = 1; f <= 6; ++f) rename[FaceletGrid[f][2][2]] = kStartFaceColour[f];
        char msg[kTextMessageSize] = "";
        ASSERT_EQ(readStateString(s.c_str(), msg, sizeof msg), 1) << s << ": " << msg;
        ASSERT_EQ(stateNow(), s);
        for (int x = 1; x <= 3; ++x)
            for (int y = 1; y <= 3; ++y)
                for (int z = 1; z <= 3; ++z) {
                    if ((x == 2) + (y == 2) + (z == 2) > 1) continue; // centres, core
                    for (int side = 1; side <= 6; ++side)
                        ASSERT_EQ(CubieArray[x][y][z][side], rename[before[x][y][z][side]])
                            << s << " cubie " << x << y << z << " side " << side;
                }
        for (int f = 1; f <= 6; ++f) ASSERT_EQ(FaceletGrid[f][2][2], kStartFaceColour[f]);
    }
}

// Random move lists written in notation and read back turn the cube the same.
TEST(CubeText, NotationRoundTripsOverRandomMoveLists) {
    std::mt19937 rng(5);
    for (int trial = 0; trial < 2000; ++trial) {
        const std::vector<Move> moves = randomMoves(rng, static_cast<int>(rng() % 40), 9);
        char text[400];
        const int len =
            formatMoves(moves.data(), static_cast<int>(moves.size()), text, sizeof text);
        ASSERT_EQ(static_cast<size_t>(len), std::strlen(text));
        const std::vector<Move> back = parsed(text);
        ASSERT_EQ(back.size(), moves.size()) << text;
        cubetest::startState();
        play(moves);
        const Snapshot want = Snapshot::take();
        cubetest::startState();
        play(back);
        ASSERT_TRUE(Snapshot::take() == want) << text;
    }
    const Move merged[] = {{3, 1}, {3, 1}, {9, -1}, {2, 1}, {7, 1}, {7, 1}, {7, 1}};
    char text[64];
    EXPECT_EQ(formatMoves(merged, 7, text, sizeof text), 12);
    EXPECT_STREQ(text, "R2 U M' D2 D");
    EXPECT_EQ(formatMoves(merged, 7, text, 10), -1);
    const std::vector<Move> halfPrime = parsed("  R2'\tU2 ");
    ASSERT_EQ(halfPrime.size(), 4u);
    EXPECT_EQ(halfPrime[0].direction, -1);
    EXPECT_EQ(halfPrime[2].direction, -1);
}

// Bad input is quoted, control bytes escaped, cut short with "...".
TEST(CubeText, BadBytesAreQuotedEscapedAndCutShort) {
    const struct {
        std::string in;
        int room;
        const char* out;
    } cases[] = {
        {"R U", 32, "\"R U\""},
        {"\x1b[2J\a\x7f\xff", 32, "\"\\x1b[2J\\x07\\x7f\\xff\""},
        {"a\"b\\c\td\r", 32, "\"a\\\"b\\\\c\\td\\r\""},
        {std::string("x\0y", 3), 32, "\"x\\x00y\""},
        {"abcdefghij", 12, "\"abcdef\"..."},
        {"\x01\x02\x03", 12, "\"\\x01\"..."},
        {"", 8, "\"\""},
    };
    for (const auto& c : cases) {
        char out[64];
        EXPECT_STREQ(quoteText(c.in.data(), int(c.in.size()), out, c.room), c.out) << c.in;
        EXPECT_LT(std::strlen(out), size_t(c.room));
    }
}

// Each fault named and marked exactly; the read refused, live cube untouched.
TEST(CubeText, EachFaultIsNamedMarkedAndRefused) {
    struct Case {
        std::vector<std::pair<int, char>> edits; // place -> letter
        StateFault fault;
        const char* message;
        std::vector<int> marked;
    };
    const Case cases[] = {
        {{{54, 'U'}}, kFaultLength, "the state has more than 54 letters, not 54", {}},
        {{{30, 'x'}}, kFaultLetter, "letter 31 (\"x\") is none of U, R, F, D, L, B", {30}},
        // Two stickers wrong: no single one makes it sound; every R but the centre.
        {{{0, 'R'}, {1, 'R'}},
         kFaultCount,
         "there are 7 of letter U, not nine",
         {0, 1, 9, 10, 11, 12, 14, 15, 16, 17}},
        {{{4, 'R'}, {9, 'U'}},
         kFaultCentresAlike,
         "two centres alike: the centres of U and R are both R",
         {4, 13}},
        {{{4, 'R'}, {13, 'U'}},
         kFaultCentre,
         "the centre of U is R; each centre is its own face's letter",
         {4}},
        {{{8, 'R'}, {9, 'U'}},
         kFaultNoSuchCubie,
         "corner U-R-F shows R-U-F, colours no cubie has",
         {8, 9, 20}},
        {{{19, 'D'}, {28, 'F'}},
         kFaultNoSuchCubie,
         "edge D-F shows F-F, colours no cubie has",
         {25, 28}},
        // Two edges' colours exchanged make real cubies, in an odd permutation.
        {{{7, 'D'}, {28, 'U'}},
         kFaultSwap,
         "two pieces swapped: the corners and the edges are permuted with different parity",
         {7, 19, 25, 28}},
        {{{46, 'F'}, {25, 'B'}},
         kFaultSameCubie,
         "the same cubie twice: the edge D-B is at edge D-B and at edge D-F",
         {25, 28, 34, 52}},
        {{{8, 'F'}, {9, 'U'}, {20, 'R'}},
         kFaultTwist,
         "one corner twisted: the corner twists add up to 1, not a multiple of 3",
         {8, 9, 20}},
        {{{7, 'F'}, {19, 'U'}},
         kFaultFlip,
         "one edge flipped: 1 edges are flipped, an odd number",
         {7, 19}},
    };
    std::mt19937 rng(3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        std::string s = kSolved;
        for (auto e : c.edits)
            if (e.first < kStateLength)
                s[size_t(e.first)] = e.second;
            else
                s += e.second;
        char msg[kTextMessageSize] = "", read[kTextMessageSize] = "";
        int marked[kStateLength];
        EXPECT_EQ(findStateFault(s.c_str(), msg, sizeof msg, marked), c.fault);
        EXPECT_STREQ(msg, c.message);
        EXPECT_EQ(marksOf(marked), c.marked);
        cubetest::startState();
        play(randomMoves(rng, 20, 9));
        const std::string before = stateNow();
        const Snapshot cube = Snapshot::take();
        EXPECT_EQ(readStateString(s.c_str(), read, sizeof read), 0);
        EXPECT_STREQ(read, msg);
        EXPECT_TRUE(Snapshot::take() == cube);
    }
}

// Random repaints: one sticker is marked alone; any fault marks something.
TEST(CubeText, TheMarkingCheckAgreesWithTheCheckOverMixedCubes) {
    std::mt19937 rng(99);
    int faults[kFaultSwap + 1] = {0};
    for (int trial = 0; trial < 1500; ++trial) {
        cubetest::startState();
        play(randomMoves(rng, 5 + static_cast<int>(rng() % 40), 9));
        const std::string sound = stateNow();
        char msg[kTextMessageSize] = "";
        int marked[kStateLength];
        ASSERT_EQ(findStateFault(sound.c_str(), msg, sizeof msg, marked), kStateSound) << sound;

        std::string one = sound;
        int place = static_cast<int>(rng() % kStateLength);
        if (place % 9 == 4) ++place;
        const char letters[] = "URFDLB";
        char paint = letters[rng() % 6];
        if (paint == one[size_t(place)])
            paint = letters[(std::strchr(letters, paint) - letters + 1) % 6];
        one[size_t(place)] = paint;
        ASSERT_EQ(findStateFault(one.c_str(), msg, sizeof msg, marked), kFaultCount) << one;
        ASSERT_EQ(marksOf(marked), std::vector<int>{place}) << one;

        std::string changed = sound;
        for (int n = 1 + static_cast<int>(rng() % 3); n > 0; --n) {
            const size_t i = rng() % kStateLength, j = rng() % kStateLength;
            const unsigned op = rng() % 4;
            if (op == 0) { // the corner at U-R-F turned in place
                std::swap(changed[8], changed[9]);
                std::swap(changed[9], changed[20]);
            } else if (op == 1) {
                changed[i] = letters[rng() % 6];
            } else {
                std::swap(changed[i], changed[j]);
            }
        }
        const StateFault fault = findStateFault(changed.c_str(), msg, sizeof msg, marked);
        ASSERT_EQ(fault == kStateSound, marksOf(marked).empty()) << changed << ": " << msg;
        ++faults[fault];
    }
    // The exchanges reach every kind of fault a painted cube can have.
    for (const StateFault f : {kFaultCount, kFaultCentre, kFaultNoSuchCubie, kFaultSameCubie,
                               kFaultTwist, kFaultFlip, kFaultSwap})
        EXPECT_GT(faults[f], 0) << f;
}
