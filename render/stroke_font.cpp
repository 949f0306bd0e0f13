// The line font's glyph table and the two routines that draw from it. Every
// glyph is one row of data: its strokes as lists of points, each stroke
// joined point to point. One loop turns a row into placed segments, one loop
// draws them.
#include "render/stroke_font.h"

#include <GL/gl.h>

#include <array>

namespace {

// Stands for v on the lifted baseline: the point lies one line width
// (size / 3 + 1) above the pen's y and does not scale with the size.
constexpr float B = -1000.0f;

enum : signed char { kEnd = 0, kMove = 1, kLine = 2 };

// A point of a glyph: kMove starts a stroke there, kLine draws a segment
// from the previous point to it; a zero entry ends the glyph.
struct GlyphPoint {
    signed char op;
    float u, v;
};
constexpr GlyphPoint M(float u, float v) {
    return {kMove, u, v};
}
constexpr GlyphPoint L(float u, float v) {
    return {kLine, u, v};
}

constexpr int kMaxGlyphPoints = 18;

// One glyph. `under` names a glyph drawn whole before this one ("$" is "S"
// with two bars); this glyph's own strokes then use the thin line width
// size / 6 + 1.
struct GlyphDef {
    char code;
    char under;
    GlyphPoint pts[kMaxGlyphPoints];
};

constexpr GlyphDef kGlyphs[] = {
    {'!', 0, {M(0, 10), L(0, 3), M(0.5, 1), L(0.5, B), L(-0.5, B), L(-0.5, 1), L(0.5, 1)}},
    {'#', 0, {M(3, 10), L(2, 0), M(0, 10), L(-1, 0), M(-2, 7), L(4, 7), M(-2, 3), L(4, 3)}},
    {'$', 'S', {M(0, 11), L(0, -1), M(2, 11), L(2, -1)}},
    {'%',
     0,
     {M(-1, 9), L(0, 9), L(0, 8), L(-1, 8), L(-1, 9), M(4, 10), L(-2, 0), M(2, 1), L(3, 1), L(3, 2),
      L(2, 2), L(2, 1)}},
    {'&',
     0,
     {M(3, 10), L(0, 10), L(-2, 8), L(-2, 6), L(3, 0), M(3, 10), L(-2, 3), L(-2, 2), L(0, 0),
      M(0, B), L(1, B), L(3, 5)}},
    {'(', 0, {M(4, 10), L(2, 8), L(2, 2), L(4, 0)}},
    {')', 0, {M(-3, 10), L(-1, 8), L(-1, 2), L(-3, 0)}},
    {'*', 0, {M(1, 2), L(1, 8), M(-2, 5), L(4, 5), M(-1, 6.5), L(3.3, 3), M(-1, 3.5), L(3.2, 6.8)}},
    {'+', 0, {M(1, 2), L(1, 8), M(-2, 5), L(4, 5)}},
    {',', 0, {M(1, 2), L(1, 1), L(0, 1), L(0, 2), L(1, 2), M(1, 1), L(0, -2)}},
    {'-', 0, {M(-2, 5), L(3, 5)}},
    {'.', 0, {M(1, 2), L(1, 1), L(0, 1), L(0, 2), L(1, 2)}},
    {'/', 0, {M(2, 10), L(-1, 0)}},
    {'0',
     0,
     {M(-2, 8), L(-2, 2), L(-1, 0), M(-1, B), L(3, B), L(4, 2), L(4, 8), L(3, 10), L(-1, 10),
      L(-2, 8), L(4, 2)}},
    {'1', 0, {M(2, 10), L(2, 0), M(2, 10), L(0, 6)}},
    {'2',
     0,
     {M(3, 7), L(-1, 0), M(-1, B), L(3, B), M(3, 7), L(3, 8), L(2, 10), L(0, 10), L(-1, 8),
      L(-1, 6)}},
    {'3',
     0,
     {M(3, 10), L(-2, 10), M(3, 10), L(0, 6), L(1, 6), L(3, 4), L(3, 2), L(1, 0), M(1, B),
      L(-2, B)}},
    {'4', 0, {M(3, 8), L(3, 0), M(0, 10), L(-2, 4), L(3, 4)}},
    {'5',
     0,
     {M(3, 10), L(-2, 10), L(-2, 6), L(1, 6), L(3, 5), L(3, 2), L(1, 0), M(1, B), L(-1, B),
      L(-2, 2)}},
    {'6',
     0,
     {M(-1, 6), L(1, 6), L(3, 5), L(3, 2), L(1, 0), M(1, B), L(-1, B), L(-2, 2), L(-2, 4), L(-1, 6),
      L(1, 10), L(3, 10)}},
    {'7', 0, {M(-2, 10), L(3, 10), L(-1, 0)}},
    {'8',
     0,
     {M(-1, 6), L(2, 6), L(3, 4), L(3, 2), L(2, 0), M(2, B), L(-1, B), L(-2, 2), L(-2, 4), L(-1, 6),
      L(-2, 7), L(-2, 9), L(-1, 10), L(2, 10), L(3, 9), L(3, 7), L(2, 6)}},
    {'9',
     0,
     {M(-1, 5), L(2, 5), M(-1, 5), L(-2, 6), L(-2, 9), L(-1, 10), L(2, 10), L(3, 9), L(3, 6),
      L(2, 5), M(3, 6), L(3, 3), L(1, 0), M(1, B), L(-1, B)}},
    {':',
     0,
     {M(1, 6), L(1, 5), L(0, 5), L(0, 6), L(1, 6), M(1, 1), L(1, 2), L(0, 2), L(0, 1), L(1, 1)}},
    {';',
     0,
     {M(1, 5), L(1, 6), L(0, 6), L(0, 5), L(1, 5), M(1, 2), L(1, 1), L(0, 1), L(0, 2), L(1, 2),
      M(1, 1), L(0, -2)}},
    {'<', 0, {M(3, 8), L(-1, 5), L(3, 2)}},
    {'=', 0, {M(-3, 3), L(4, 3), M(-3, 7), L(4, 7)}},
    {'>', 0, {M(-1, 8), L(3, 5), L(-1, 2)}},
    {'?',
     0,
     {M(-2, 6), L(-2, 8), L(0, 10), L(2, 10), L(4, 8), L(4, 6), L(0.5, 5), L(0.5, 2), M(1, 1),
      L(1, B), L(0, B), L(0, 1), L(1, 1)}},
    {'@',
     0,
     {M(3, B), L(-2, B), M(-2, 0), L(-2, 10), L(3, 10), L(3, 3), L(0, 3), L(0, 7), L(2, 7)}},
    {'A', 0, {M(1, 10), L(-3, 0), M(1, 10), L(5, 0), M(-1, 5), L(3, 5)}},
    {'B',
     0,
     {M(-2, 10), L(-2, 0), M(-2, 10), L(3, 10), L(3.5, 9), L(3.5, 7), L(3, 6), L(-2, 6), M(-2, 5.5),
      L(3.5, 5.5), L(4.5, 4), L(4.5, 1), L(3.5, B), L(-2, B)}},
    {'C',
     0,
     {M(-2, 8), L(-2, 2), M(-2, 8), L(0, 10), L(3, 10), L(4, 8), M(-2, 2), L(0, B), L(3, B),
      L(4, 2)}},
    {'D',
     0,
     {M(-1.5, 10), L(-1.5, 0), M(-2, 10), L(0, 10), L(3, 10), L(4, 8), M(-2, B), L(0, B), L(3, B),
      L(4, 2), L(4, 8)}},
    {'E', 0, {M(-2, 0), L(-2, 10), L(4, 10), M(-2, 5.5), L(3, 5.5), M(-2, B), L(4, B)}},
    {'F', 0, {M(-2, 0), L(-2, 10), L(4, 10), M(-2, 5), L(3, 5)}},
    {'G',
     0,
     {M(-2, 8), L(-2, 2), M(-2, 8), L(0, 10), L(3, 10), L(4, 8), M(-2, 2), L(0, B), L(3, B),
      L(4, 2), L(4, 4), M(2, 4), L(4, 4)}},
    {'H', 0, {M(-2, 0), L(-2, 10), M(4, 0), L(4, 10), M(-2, 5.5), L(4, 5.5)}},
    {'I', 0, {M(1, 0), L(1, 10), M(-0.5, B), L(2.5, B), M(-0.5, 10), L(2.5, 10)}},
    {'J',
     0,
     {M(3, 10), L(1, 10), M(3, 2), L(3, 10), M(3, 2), L(2, B), L(0, B), L(-1, 2), L(-1, 3)}},
    {'K', 0, {M(-2, 0), L(-2, 10), M(-2, 4.5), L(3.5, 10), M(-2, 5.5), L(3.5, 0)}},
    {'L', 0, {M(-2, 0), L(-2, 10), M(-2, B), L(3.5, B), L(3.5, 2)}},
    {'M', 0, {M(-2, 0), L(-2, 10), M(4, 0), L(4, 10), L(1, 3), M(-2, 10), L(1, 3)}},
    {'N', 0, {M(-2, 0), L(-2, 10), M(4, 0), L(4, 10), M(-2, 10), L(4, B)}},
    {'O',
     0,
     {M(4, 2), L(4, 8), M(4, 2), L(3, B), L(-1, B), L(-2, 2), L(-2, 8), M(4, 8), L(3, 10),
      L(-1, 10), L(-2, 8)}},
    {'P',
     0,
     {M(-2, 10), L(-2, 0), M(-2, 10), L(3.5, 10), L(4, 8.5), L(4, 6.5), L(3.5, 5), L(-2, 5)}},
    {'Q',
     0,
     {M(4, 2), L(4, 8), M(4, 2), L(3, B), L(-1, B), L(-2, 2), L(-2, 8), M(4, 8), L(3, 10),
      L(-1, 10), L(-2, 8), M(2, 3), L(4.8, 0)}},
    {'R',
     0,
     {M(-2, 10), L(-2, 0), M(-2, 10), L(3.5, 10), L(4, 9), L(4, 7), L(3.5, 6), L(-2, 6), M(4, 0),
      L(0, 6)}},
    {'S',
     0,
     {M(-2, 6), L(-2, 8), L(0, 10), L(3, 10), L(3.5, 9), M(-2, 6), L(3.5, 4), L(3.5, 2), L(0.5, 0),
      M(0.5, B), L(-1.5, B), L(-2, 1), L(-2, 2)}},
    {'T',
     0,
     {M(1, 0), L(1, 10), M(-1.5, 10), L(4.5, 10), M(-1.5, 10), L(-1.5, 9), M(4.5, 10), L(4.5, 9)}},
    {'U', 0, {M(3.5, 0), L(3.5, 10), M(3.5, 1), L(2, B), L(-0.7, B), L(-1.5, 2), L(-1.5, 10)}},
    {'V',
     0,
     {M(3.5, 10), L(1, 0), M(-1.5, 10), L(1, 0), M(-0.5, 10), L(-2.5, 10), M(2.5, 10), L(4.5, 10)}},
    {'W',
     0,
     {M(4, 10), L(3, 0), L(1, 5), M(-2, 10), L(-1, 0), M(1, 5), L(-1, 0), M(-3, 10), L(-1, 10),
      M(3, 10), L(5, 10)}},
    {'X', 0, {M(-2, 10), L(4, 0), M(4, 10), L(-2, 0)}},
    {'Y', 0, {M(-2, 10), L(1, 4), M(4, 10), L(1, 4), M(1, 0), L(1, 4), M(0, B), L(2, B)}},
    {'Z', 0, {M(4, 10), L(-2, 0), M(4, 10), L(-2, 10), M(-2, B), L(4, B)}},
    {'[', 0, {M(2, 0), L(2, 10), L(4, 10), M(2, B), L(4, B)}},
    {']', 0, {M(-1, 0), L(-1, 10), L(-3, 10), M(-1, B), L(-3, B)}},
    {'^', 0, {M(-2, 8), L(0, 10), L(2, 8)}},
    {'_', 0, {M(-3, B), L(4, B)}},
    {'`', 0, {M(-2, 10), L(0, 8)}},
    {'{', 0, {M(1, 5), L(2, 6), L(2, 10), L(4, 10), M(1, 5), L(2, 4), L(2, 0), M(2, B), L(4, B)}},
    {'|', 0, {M(1, 10), L(1, 0)}},
    {'}', 0, {M(1, 5), L(0, 6), L(0, 10), L(-2, 10), M(1, 5), L(0, 4), L(0, 0), M(0, B), L(-2, B)}},
    {'~', 0, {M(-2, 4), L(-1, 5), L(0, 5), L(1, 4), L(2, 4), L(3, 5)}},
};
constexpr int kGlyphCount = sizeof kGlyphs / sizeof kGlyphs[0];
static_assert(kGlyphCount == 65, "one glyph per printable code but \" ' \\ and a..z");

// Code 0..127 -> row of kGlyphs, -1 for a code without a glyph.
constexpr std::array<signed char, 128> makeGlyphIndex() {
    std::array<signed char, 128> index{};
    for (int c = 0; c < 128; ++c) index[c] = -1;
    for (int g = 0; g < kGlyphCount; ++g) index[static_cast<int>(kGlyphs[g].code)] = g;
    return index;
}
constexpr std::array<signed char, 128> kGlyphIndex = makeGlyphIndex();

constexpr int ownSegments(const GlyphDef& g) {
    int n = 0;
    for (const GlyphPoint& p : g.pts) n += p.op == kLine;
    return n;
}
constexpr int mostSegments() {
    int most = 0;
    for (const GlyphDef& g : kGlyphs) {
        int n = ownSegments(g);
        if (g.under) n += ownSegments(kGlyphs[kGlyphIndex[static_cast<int>(g.under)]]);
        if (n > most) most = n;
    }
    return most;
}
static_assert(mostSegments() <= kMaxGlyphSegments,
              "a glyph has more segments than kMaxGlyphSegments");

// Places the strokes of one table row at pen (x, y) and size s, appending
// its segments to out from index n; returns the new count.
int placeStrokes(const GlyphDef& g, int x, int y, float s, float width,
                 StrokeSegment (&out)[kMaxGlyphSegments], int n) {
    const float lifted = static_cast<float>(y) + (s / 3.0f + 1.0f);
    float px = 0.0f, py = 0.0f;
    for (const GlyphPoint& p : g.pts) {
        if (p.op == kEnd) break;
        const float qx = static_cast<float>(x) + p.u * s;
        const float qy = p.v == B ? lifted : static_cast<float>(y) + p.v * s;
        if (p.op == kLine) out[n++] = {px, py, qx, qy, width};
        px = qx;
        py = qy;
    }
    return n;
}

} // namespace

int glyphSegments(char c, int x, int y, float size, StrokeSegment (&out)[kMaxGlyphSegments]) {
    int code = c;
    float s = size;
    if (code >= 'a' && code <= 'z') {
        code -= 'a' - 'A';
        s = 0.7f * size;
    }
    if (code < 0 || code > 127 || kGlyphIndex[code] < 0) return 0;
    const GlyphDef& g = kGlyphs[kGlyphIndex[code]];
    int n = 0;
    if (g.under)
        n = placeStrokes(kGlyphs[kGlyphIndex[static_cast<int>(g.under)]], x, y, s, s / 3.0f + 1.0f,
                         out, n);
    return placeStrokes(g, x, y, s, g.under ? s / 6.0f + 1.0f : s / 3.0f + 1.0f, out, n);
}

float strokeStringSize(float size) {
    return size > kStrokeMaxSize ? kStrokeMaxSize : size;
}

int strokePenX(int x, float size, int index) {
    return static_cast<int>(static_cast<float>(x) +
                            kStrokeAdvance * size * static_cast<float>(index));
}

void drawChar(char c, int x, int y, float r, float g, float b, float size) {
    StrokeSegment seg[kMaxGlyphSegments];
    const int n = glyphSegments(c, x, y, size, seg);
    if (n == 0) return;
    glColor3d(r, g, b);
    // A new line list starts wherever the line width changes (only "$",
    // whose bars are thinner than its S).
    float width = -1.0f;
    for (int i = 0; i < n; ++i) {
        if (seg[i].width != width) {
            if (width >= 0.0f) glEnd();
            width = seg[i].width;
            glLineWidth(width);
            glBegin(GL_LINES);
        }
        glVertex3f(seg[i].x1, seg[i].y1, 0.0f);
        glVertex3f(seg[i].x2, seg[i].y2, 0.0f);
    }
    glEnd();
}

void drawString(const char* text, int x, int y, float r, float g, float b, float size) {
    if (text == nullptr) return;
    const float s = strokeStringSize(size);
    for (int i = 0; text[i] != '\0'; ++i) drawChar(text[i], strokePenX(x, s, i), y, r, g, b, s);
}
