#include "model/cube_text.h"

#include "model/cube.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// Where the letters live on the cubies, worked out from the face table:
// the direction each cubie side faces, the face letter on each side, and the
// place in the state string of every visible (cubie, side).
struct Layout {
    int sideDir[7][3];
    int sideLetter[7]; // 0..5, the index into kFaceLetters
    int place[4][4][4][7];
};

void makeLayout(Layout& lay) {
    for (int i = 0; i < 6; ++i) {
        int pos[3], side = 0;
        faceletCubie(kFaceLetters[i].face, 2, 2, pos, &side);
        for (int a = 0; a < 3; ++a) lay.sideDir[side][a] = pos[a] - 2;
        lay.sideLetter[side] = i;
        for (int k = 0; k < 9; ++k) {
            faceletCubie(kFaceLetters[i].face, kFaceLetters[i].cells[k][0],
                         kFaceLetters[i].cells[k][1], pos, &side);
            lay.place[pos[0]][pos[1]][pos[2]][side] = 9 * i + k;
        }
    }
}

int letterIndex(char c) {
    for (int i = 0; i < 6; ++i)
        if (kFaceLetters[i].letter == c) return i;
    return -1;
}

// Colour of a letter: the start colour of its face. A start cubie shows
// colour s on side s, so a colour is also the side it started on.
int letterColour(char c) {
    return kStartFaceColour[kFaceLetters[letterIndex(c)].face];
}

int dot(const int* a, const int* b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
void cross(const int* a, const int* b, int* out) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}
int sideFacing(const Layout& lay, const int* d) {
    for (int s = 1; s <= 6; ++s)
        if (dot(lay.sideDir[s], d) == 1) return s;
    return 0;
}

// A corner or edge position with its visible sides in naming order: the U/D
// side first (for edges without one, the F/B side), a corner's other two
// clockwise as seen from outside.
struct Piece {
    int pos[3];
    int n;
    int sides[3];
};
struct Pieces {
    Piece corners[8];
    Piece edges[12];
};

void orderSides(const Layout& lay, Piece& p) {
    // Rank by axis: y (U/D) first, then z (F/B), then x (R/L).
    auto rank = [&](int s) { return lay.sideDir[s][1] ? 0 : lay.sideDir[s][2] ? 1 : 2; };
    for (int i = 0; i < p.n; ++i)
        for (int j = i + 1; j < p.n; ++j)
            if (rank(p.sides[j]) < rank(p.sides[i])) {
                const int t = p.sides[i];
                p.sides[i] = p.sides[j];
                p.sides[j] = t;
            }
    if (p.n == 3) {
        int c[3];
        cross(lay.sideDir[p.sides[1]], lay.sideDir[p.sides[2]], c);
        if (dot(lay.sideDir[p.sides[0]], c) > 0) {
            const int t = p.sides[1];
            p.sides[1] = p.sides[2];
            p.sides[2] = t;
        }
    }
}

void makePieces(const Layout& lay, Pieces& ps) {
    int nc = 0, ne = 0;
    for (int x = 1; x <= 3; ++x)
        for (int y = 1; y <= 3; ++y)
            for (int z = 1; z <= 3; ++z) {
                Piece p{{x, y, z}, 0, {0, 0, 0}};
                for (int a = 0; a < 3; ++a) {
                    if (p.pos[a] == 2) continue;
                    int d[3] = {0, 0, 0};
                    d[a] = p.pos[a] - 2;
                    p.sides[p.n++] = sideFacing(lay, d);
                }
                if (p.n < 2) continue;
                orderSides(lay, p);
                if (p.n == 3)
                    ps.corners[nc++] = p;
                else
                    ps.edges[ne++] = p;
            }
}

// "corner U-R-F" style names.
void pieceName(const Layout& lay, const Piece& p, char* out) {
    int k = 0;
    for (int i = 0; i < p.n; ++i) {
        if (i) out[k++] = '-';
        out[k++] = kFaceLetters[lay.sideLetter[p.sides[i]]].letter;
    }
    out[k] = '\0';
}

// The rotation that takes colours a0, a1 (start sides) to sides b0, b1,
// applied to colour c: the side colour c ends on. 0 when a0, a1 are not two
// sides at right angles.
int rotatedSide(const Layout& lay, int a0, int a1, int b0, int b1, int c) {
    const int* u0 = lay.sideDir[a0];
    const int* u1 = lay.sideDir[a1];
    if (dot(u0, u1) != 0) return 0;
    int u2[3], v2[3];
    cross(u0, u1, u2);
    cross(lay.sideDir[b0], lay.sideDir[b1], v2);
    const int* d = lay.sideDir[c];
    const int k0 = dot(d, u0), k1 = dot(d, u1), k2 = dot(d, u2);
    int out[3];
    for (int i = 0; i < 3; ++i)
        out[i] = k0 * lay.sideDir[b0][i] + k1 * lay.sideDir[b1][i] + k2 * v2[i];
    return sideFacing(lay, out);
}

// One corner or edge as the string shows it: its colours in naming order,
// the cubie they make (its home piece index) and how it is turned there.
struct Found {
    int colours[3];
    int home;
    int turn; // corner: twist 0..2; edge: flip 0..1
};

int findPiece(const Layout& lay, const Piece* set, int count, const Piece& at, const char* text,
              Found& f) {
    for (int i = 0; i < at.n; ++i)
        f.colours[i] = letterColour(text[lay.place[at.pos[0]][at.pos[1]][at.pos[2]][at.sides[i]]]);
    // A real cubie: a rotation carries its start sides onto this position's.
    if (rotatedSide(lay, f.colours[0], f.colours[1], at.sides[0], at.sides[1], f.colours[0]) !=
        at.sides[0])
        return 0;
    if (at.n == 3 && rotatedSide(lay, f.colours[0], f.colours[1], at.sides[0], at.sides[1],
                                 f.colours[2]) != at.sides[2])
        return 0;
    int home[3] = {2, 2, 2};
    for (int i = 0; i < at.n; ++i)
        for (int a = 0; a < 3; ++a) home[a] += lay.sideDir[f.colours[i]][a];
    for (int h = 0; h < count; ++h) {
        const Piece& p = set[h];
        if (p.pos[0] != home[0] || p.pos[1] != home[1] || p.pos[2] != home[2]) continue;
        f.home = h;
        f.turn = 0;
        while (f.colours[f.turn] != p.sides[0]) ++f.turn;
        return 1;
    }
    return 0;
}

int parity(const int* perm, int n) {
    int seen[12] = {0}, odd = 0;
    for (int i = 0; i < n; ++i) {
        if (seen[i]) continue;
        int len = 0;
        for (int j = i; !seen[j]; j = perm[j]) {
            seen[j] = 1;
            ++len;
        }
        odd ^= (len + 1) & 1;
    }
    return odd;
}

void markPiece(const Layout& lay, const Piece& p, int* marked) {
    for (int i = 0; i < p.n; ++i) marked[lay.place[p.pos[0]][p.pos[1]][p.pos[2]][p.sides[i]]] = 1;
}

StateFault examineState(const char* text, char* msg, int size, int* marked, int apply);

// A wrong count from one sticker painted the wrong colour: the stickers that,
// given a colour seen too seldom, make the whole cube sound. When no single
// sticker does (more than one is wrong), every sticker but the centres of
// each letter seen too often.
void markCount(const char* text, const int* count, int* marked) {
    char trial[kStateLength + 1];
    std::memcpy(trial, text, kStateLength);
    trial[kStateLength] = '\0';
    char unused[kTextMessageSize];
    int found = 0;
    for (int i = 0; i < kStateLength; ++i) {
        if (i % 9 == 4 || count[letterIndex(text[i])] <= 9) continue;
        for (int l = 0; l < 6; ++l) {
            if (count[l] >= 9) continue;
            trial[i] = kFaceLetters[l].letter;
            if (examineState(trial, unused, sizeof unused, nullptr, 0) == kStateSound)
                marked[i] = found = 1;
        }
        trial[i] = text[i];
    }
    if (found) return;
    for (int i = 0; i < kStateLength; ++i)
        if (i % 9 != 4 && count[letterIndex(text[i])] > 9) marked[i] = 1;
}

// Checks the string, marking the stickers of the fault found when `marked`
// is given; when it is sound and `apply` is set, writes the cube.
StateFault examineState(const char* text, char* msg, int size, int* marked, int apply) {
    if (marked)
        for (int i = 0; i < kStateLength; ++i) marked[i] = 0;
    int len = 0;
    while (text[len] && len <= kStateLength) ++len;
    if (len != kStateLength) {
        std::snprintf(msg, static_cast<size_t>(size), "the state has %s%d letters, not %d",
                      len > kStateLength ? "more than " : "",
                      len > kStateLength ? kStateLength : len, kStateLength);
        return kFaultLength;
    }
    int count[6] = {0};
    for (int i = 0; i < kStateLength; ++i) {
        const int l = letterIndex(text[i]);
        if (l < 0) {
            char shown[16];
            std::snprintf(msg, static_cast<size_t>(size),
                          "letter %d (%s) is none of U, R, F, D, L, B", i + 1,
                          quoteText(text + i, 1, shown, sizeof shown));
            if (marked) marked[i] = 1;
            return kFaultLetter;
        }
        ++count[l];
    }
    for (int l = 0; l < 6; ++l)
        if (count[l] != 9) {
            std::snprintf(msg, static_cast<size_t>(size), "there are %d of letter %c, not nine",
                          count[l], kFaceLetters[l].letter);
            if (marked) markCount(text, count, marked);
            return kFaultCount;
        }
    for (int l = 0; l < 6; ++l) {
        const char c = text[9 * l + 4];
        for (int m = 0; m < l; ++m)
            if (text[9 * m + 4] == c) {
                std::snprintf(msg, static_cast<size_t>(size),
                              "two centres alike: the centres of %c and %c are both %c",
                              kFaceLetters[m].letter, kFaceLetters[l].letter, c);
                if (marked) marked[9 * m + 4] = marked[9 * l + 4] = 1;
                return kFaultCentresAlike;
            }
    }
    for (int l = 0; l < 6; ++l)
        if (text[9 * l + 4] != kFaceLetters[l].letter) {
            std::snprintf(msg, static_cast<size_t>(size),
                          "the centre of %c is %c; each centre is its own face's letter",
                          kFaceLetters[l].letter, text[9 * l + 4]);
            if (marked) marked[9 * l + 4] = 1;
            return kFaultCentre;
        }

    Layout lay;
    makeLayout(lay);
    Pieces ps;
    makePieces(lay, ps);
    Found corner[8], edge[12];
    int twist = 0, flip = 0;
    int cornerPerm[8], edgePerm[12];
    for (int kind = 0; kind < 2; ++kind) {
        const Piece* set = kind == 0 ? ps.corners : ps.edges;
        Found* found = kind == 0 ? corner : edge;
        int* perm = kind == 0 ? cornerPerm : edgePerm;
        const int n = kind == 0 ? 8 : 12;
        const char* what = kind == 0 ? "corner" : "edge";
        int holder[12];
        for (int h = 0; h < n; ++h) holder[h] = -1;
        for (int i = 0; i < n; ++i) {
            char where[8], shows[8];
            pieceName(lay, set[i], where);
            if (!findPiece(lay, set, n, set[i], text, found[i])) {
                int k = 0;
                for (int j = 0; j < set[i].n; ++j) {
                    if (j) shows[k++] = '-';
                    shows[k++] = text[lay.place[set[i].pos[0]][set[i].pos[1]][set[i].pos[2]]
                                               [set[i].sides[j]]];
                }
                shows[k] = '\0';
                std::snprintf(msg, static_cast<size_t>(size),
                              "%s %s shows %s, colours no cubie has", what, where, shows);
                if (marked) markPiece(lay, set[i], marked);
                return kFaultNoSuchCubie;
            }
            const int h = found[i].home;
            if (holder[h] >= 0) {
                char first[8], cubie[8];
                pieceName(lay, set[holder[h]], first);
                pieceName(lay, set[h], cubie);
                std::snprintf(msg, static_cast<size_t>(size),
                              "the same cubie twice: the %s %s is at %s %s and at %s %s", what,
                              cubie, what, first, what, where);
                if (marked) {
                    markPiece(lay, set[holder[h]], marked);
                    markPiece(lay, set[i], marked);
                }
                return kFaultSameCubie;
            }
            holder[h] = i;
            perm[i] = h;
            if (kind == 0)
                twist += found[i].turn;
            else
                flip += found[i].turn;
        }
    }
    if (twist % 3 != 0) {
        std::snprintf(msg, static_cast<size_t>(size),
                      "one corner twisted: the corner twists add up to %d, not a multiple of 3",
                      twist);
        if (marked)
            for (int i = 0; i < 8; ++i)
                if (corner[i].turn) markPiece(lay, ps.corners[i], marked);
        return kFaultTwist;
    }
    if (flip % 2 != 0) {
        std::snprintf(msg, static_cast<size_t>(size),
                      "one edge flipped: %d edges are flipped, an odd number", flip);
        if (marked)
            for (int i = 0; i < 12; ++i)
                if (edge[i].turn) markPiece(lay, ps.edges[i], marked);
        return kFaultFlip;
    }
    if (parity(cornerPerm, 8) != parity(edgePerm, 12)) {
        std::snprintf(msg, static_cast<size_t>(size),
                      "two pieces swapped: the corners and the edges are permuted with "
                      "different parity");
        if (marked) {
            for (int i = 0; i < 8; ++i)
                if (cornerPerm[i] != i) markPiece(lay, ps.corners[i], marked);
            for (int i = 0; i < 12; ++i)
                if (edgePerm[i] != i) markPiece(lay, ps.edges[i], marked);
        }
        return kFaultSwap;
    }
    if (!apply) return kStateSound;

    // Centres and the core as at start; every corner and edge the rotation of
    // its start cubie that puts its colours where the string shows them.
    for (int x = 1; x <= 3; ++x)
        for (int y = 1; y <= 3; ++y)
            for (int z = 1; z <= 3; ++z)
                for (int s = 1; s <= 6; ++s) CubieArray[x][y][z][s] = s;
    for (int kind = 0; kind < 2; ++kind) {
        const Piece* set = kind == 0 ? ps.corners : ps.edges;
        const Found* found = kind == 0 ? corner : edge;
        for (int i = 0; i < (kind == 0 ? 8 : 12); ++i) {
            const Piece& p = set[i];
            const Found& f = found[i];
            for (int c = 1; c <= 6; ++c)
                CubieArray[p.pos[0]][p.pos[1]][p.pos[2]][rotatedSide(
                    lay, f.colours[0], f.colours[1], p.sides[0], p.sides[1], c)] = c;
        }
    }
    rebuildFaceletGrid();
    return kStateSound;
}

const NotationTurn* turnOfLayer(int layer) {
    for (const NotationTurn& t : kNotationTurns)
        if (t.layer == layer) return &t;
    return nullptr;
}

} // namespace

void writeStateString(char out[kStateLength + 1]) {
    for (int i = 0; i < 6; ++i)
        for (int k = 0; k < 9; ++k) {
            const FaceLetter& fl = kFaceLetters[i];
            const int colour = FaceletGrid[fl.face][fl.cells[k][0]][fl.cells[k][1]];
            char letter = '?';
            for (const FaceLetter& centre : kFaceLetters)
                if (FaceletGrid[centre.face][2][2] == colour) letter = centre.letter;
            out[9 * i + k] = letter;
        }
    out[kStateLength] = '\0';
}

int checkStateString(const char* text, char* message, int messageSize) {
    return examineState(text, message, messageSize, nullptr, 0) == kStateSound;
}

StateFault findStateFault(const char* text, char* message, int messageSize,
                          int marked[kStateLength]) {
    return examineState(text, message, messageSize, marked, 0);
}

int readStateString(const char* text, char* message, int messageSize) {
    return examineState(text, message, messageSize, nullptr, 1) == kStateSound;
}

const char* quoteText(const char* text, int length, char* out, int outSize) {
    // Room is kept for the closing quote, "..." and the NUL.
    const int room = outSize - 5;
    int n = 0;
    if (room > 0) out[n++] = '"';
    int i = 0;
    for (; i < length && room > 0; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        char piece[5];
        if (c == '"' || c == '\\')
            std::snprintf(piece, sizeof piece, "\\%c", c);
        else if (c == '\t')
            std::snprintf(piece, sizeof piece, "\\t");
        else if (c == '\r')
            std::snprintf(piece, sizeof piece, "\\r");
        else if (c < 0x20 || c >= 0x7f)
            std::snprintf(piece, sizeof piece, "\\x%02x", c);
        else
            std::snprintf(piece, sizeof piece, "%c", c);
        const int len = static_cast<int>(std::strlen(piece));
        if (n + len > room) break;
        std::memcpy(out + n, piece, static_cast<size_t>(len));
        n += len;
    }
    if (room > 0) {
        out[n++] = '"';
        if (i < length) {
            std::memcpy(out + n, "...", 3);
            n += 3;
        }
    }
    if (outSize > 0) out[n < outSize ? n : outSize - 1] = '\0';
    return out;
}

void writeMoveName(int layer, int direction, char out[3]) {
    const NotationTurn* t = turnOfLayer(layer);
    out[0] = t ? t->letter : '?';
    out[1] = direction == (t ? t->clockwise : 0) ? '\0' : '\'';
    out[2] = '\0';
}

int formatMoves(const Move* moves, int count, char* out, int outSize) {
    if (outSize < 1) return -1;
    int len = 0;
    for (int i = 0; i < count; ++i) {
        const Move m = moves[i];
        if (!turnOfLayer(m.layer) || (m.direction != 1 && m.direction != -1)) {
            out[0] = '\0';
            return -1;
        }
        char name[3];
        writeMoveName(m.layer, m.direction, name);
        const int half =
            i + 1 < count && moves[i + 1].layer == m.layer && moves[i + 1].direction == m.direction;
        if (half) {
            name[1] = '2';
            ++i;
        }
        const int need = (len ? 1 : 0) + (name[1] ? 2 : 1);
        if (len + need >= outSize) {
            out[0] = '\0';
            return -1;
        }
        if (len) out[len++] = ' ';
        out[len++] = name[0];
        if (name[1]) out[len++] = name[1];
    }
    out[len] = '\0';
    return len;
}

int parseMoves(const char* text, Move* moves, int capacity, char* message, int messageSize) {
    int n = 0, word = 0;
    const char* p = text;
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (*p) {
        while (*p && blank(*p)) ++p;
        if (!*p) break;
        const char* start = p;
        while (*p && !blank(*p)) ++p;
        ++word;
        const NotationTurn* t = nullptr;
        for (const NotationTurn& nt : kNotationTurns)
            if (nt.letter == *start) t = &nt;
        int half = 0, prime = 0, ok = t != nullptr;
        for (const char* q = start + 1; ok && q < p; ++q) {
            if (*q == '2' && !half && !prime)
                half = 1;
            else if (*q == '\'' && !prime)
                prime = 1;
            else
                ok = 0;
        }
        if (!ok) {
            char shown[48];
            std::snprintf(message, static_cast<size_t>(messageSize), "word %d, %s, is not a move",
                          word, quoteText(start, static_cast<int>(p - start), shown, sizeof shown));
            return -1;
        }
        const int quarters = half ? 2 : 1;
        if (n + quarters > capacity) {
            std::snprintf(message, static_cast<size_t>(messageSize),
                          "more than %d quarter turns (at word %d)", capacity, word);
            return -1;
        }
        for (int q = 0; q < quarters; ++q)
            moves[n++] = {t->layer, prime ? -t->clockwise : t->clockwise};
    }
    return n;
}

int readStateFile(const char* fileName, char* out, char* message, int messageSize) {
    const bool useStdin = std::strcmp(fileName, "-") == 0;
    const char* shown = useStdin ? "<stdin>" : fileName;
    const size_t size = static_cast<size_t>(messageSize);
    FILE* in = useStdin ? stdin : std::fopen(fileName, "rb");
    if (!in) {
        std::snprintf(message, size, "cannot read %s: %s", shown, std::strerror(errno));
        return 0;
    }
    // The first line only, read no further than its line feed (a terminal
    // or a pipe need not end) and no longer than kStateLineMax + 1 bytes.
    int length = 0, c = 0, nul = 0;
    while (length <= kStateLineMax && (c = std::getc(in)) != EOF && c != '\n') {
        if (c == '\0') nul = 1;
        if (length < kStateLineMax) out[length] = static_cast<char>(c);
        ++length;
    }
    const int failed = std::ferror(in);
    const int readErrno = errno;
    if (!useStdin) std::fclose(in);
    if (failed) {
        std::snprintf(message, size, "cannot read %s: %s", shown, std::strerror(readErrno));
        return 0;
    }
    if (length > kStateLineMax) {
        std::snprintf(message, size, "%s: the state line is longer than %d characters", shown,
                      kStateLineMax);
        return 0;
    }
    if (nul) {
        std::snprintf(message, size, "%s: NUL byte in the state line", shown);
        return 0;
    }
    if (length > 0 && out[length - 1] == '\r') --length;
    out[length] = '\0';
    return 1;
}

int takeStateArgument(const char* value, int fromFile, char* out, char* message, int messageSize) {
    if (fromFile) {
        if (!readStateFile(value, out, message, messageSize)) return 0;
    } else {
        std::snprintf(out, kStateLineMax + 1, "%s", value);
    }
    if (checkStateString(fromFile ? out : value, message, messageSize)) return 1;
    if (fromFile) {
        // A fault in the file's line names the file.
        char fault[kTextMessageSize];
        std::snprintf(fault, sizeof fault, "%s", message);
        std::snprintf(message, static_cast<size_t>(messageSize), "%s: %s",
                      std::strcmp(value, "-") == 0 ? "<stdin>" : value, fault);
    }
    return 0;
}
