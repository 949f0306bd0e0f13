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
constexpr float kLiftedBase = -1000.0f;

enum : signed char { kEnd = 0, kMove = 1, kLine = 2 };

// A point of a glyph: kMove starts a stroke there, kLine draws a segment
// from the previous point to it; a zero entry ends the glyph.
struct GlyphPoint {
    signed char op;
    float u, v;
};
constexpr GlyphPoint moveTo(float u, float v) {
    return {kMove, u, v};
}
constexpr GlyphPoint lineTo(float u, float v) {
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
    {'!',
     0,
     {moveTo(0, 10), lineTo(0, 3), moveTo(0.5, 1), lineTo(0.5, kLiftedBase),
      lineTo(-0.5, kLiftedBase), lineTo(-0.5, 1), lineTo(0.5, 1)}},
    {'#',
     0,
     {moveTo(3, 10), lineTo(2, 0), moveTo(0, 10), lineTo(-1, 0), moveTo(-2, 7), lineTo(4, 7),
      moveTo(-2, 3), lineTo(4, 3)}},
    {'$', 'S', {moveTo(0, 11), lineTo(0, -1), moveTo(2, 11), lineTo(2, -1)}},
    {'%',
     0,
     {moveTo(-1, 9), lineTo(0, 9), lineTo(0, 8), lineTo(-1, 8), lineTo(-1, 9), moveTo(4, 10),
      lineTo(-2, 0), moveTo(2, 1), lineTo(3, 1), lineTo(3, 2), lineTo(2, 2), lineTo(2, 1)}},
    {'&',
     0,
     {moveTo(3, 10), lineTo(0, 10), lineTo(-2, 8), lineTo(-2, 6), lineTo(3, 0), moveTo(3, 10),
      lineTo(-2, 3), lineTo(-2, 2), lineTo(0, 0), moveTo(0, kLiftedBase), lineTo(1, kLiftedBase),
      lineTo(3, 5)}},
    {'(', 0, {moveTo(4, 10), lineTo(2, 8), lineTo(2, 2), lineTo(4, 0)}},
    {')', 0, {moveTo(-3, 10), lineTo(-1, 8), lineTo(-1, 2), lineTo(-3, 0)}},
    {'*',
     0,
     {moveTo(1, 2), lineTo(1, 8), moveTo(-2, 5), lineTo(4, 5), moveTo(-1, 6.5), lineTo(3.3f, 3),
      moveTo(-1, 3.5), lineTo(3.2f, 6.8f)}},
    {'+', 0, {moveTo(1, 2), lineTo(1, 8), moveTo(-2, 5), lineTo(4, 5)}},
    {',',
     0,
     {moveTo(1, 2), lineTo(1, 1), lineTo(0, 1), lineTo(0, 2), lineTo(1, 2), moveTo(1, 1),
      lineTo(0, -2)}},
    {'-', 0, {moveTo(-2, 5), lineTo(3, 5)}},
    {'.', 0, {moveTo(1, 2), lineTo(1, 1), lineTo(0, 1), lineTo(0, 2), lineTo(1, 2)}},
    {'/', 0, {moveTo(2, 10), lineTo(-1, 0)}},
    {'0',
     0,
     {moveTo(-2, 8), lineTo(-2, 2), lineTo(-1, 0), moveTo(-1, kLiftedBase), lineTo(3, kLiftedBase),
      lineTo(4, 2), lineTo(4, 8), lineTo(3, 10), lineTo(-1, 10), lineTo(-2, 8), lineTo(4, 2)}},
    {'1', 0, {moveTo(2, 10), lineTo(2, 0), moveTo(2, 10), lineTo(0, 6)}},
    {'2',
     0,
     {moveTo(3, 7), lineTo(-1, 0), moveTo(-1, kLiftedBase), lineTo(3, kLiftedBase), moveTo(3, 7),
      lineTo(3, 8), lineTo(2, 10), lineTo(0, 10), lineTo(-1, 8), lineTo(-1, 6)}},
    {'3',
     0,
     {moveTo(3, 10), lineTo(-2, 10), moveTo(3, 10), lineTo(0, 6), lineTo(1, 6), lineTo(3, 4),
      lineTo(3, 2), lineTo(1, 0), moveTo(1, kLiftedBase), lineTo(-2, kLiftedBase)}},
    {'4', 0, {moveTo(3, 8), lineTo(3, 0), moveTo(0, 10), lineTo(-2, 4), lineTo(3, 4)}},
    {'5',
     0,
     {moveTo(3, 10), lineTo(-2, 10), lineTo(-2, 6), lineTo(1, 6), lineTo(3, 5), lineTo(3, 2),
      lineTo(1, 0), moveTo(1, kLiftedBase), lineTo(-1, kLiftedBase), lineTo(-2, 2)}},
    {'6',
     0,
     {moveTo(-1, 6), lineTo(1, 6), lineTo(3, 5), lineTo(3, 2), lineTo(1, 0), moveTo(1, kLiftedBase),
      lineTo(-1, kLiftedBase), lineTo(-2, 2), lineTo(-2, 4), lineTo(-1, 6), lineTo(1, 10),
      lineTo(3, 10)}},
    {'7', 0, {moveTo(-2, 10), lineTo(3, 10), lineTo(-1, 0)}},
    {'8',
     0,
     {moveTo(-1, 6), lineTo(2, 6), lineTo(3, 4), lineTo(3, 2), lineTo(2, 0), moveTo(2, kLiftedBase),
      lineTo(-1, kLiftedBase), lineTo(-2, 2), lineTo(-2, 4), lineTo(-1, 6), lineTo(-2, 7),
      lineTo(-2, 9), lineTo(-1, 10), lineTo(2, 10), lineTo(3, 9), lineTo(3, 7), lineTo(2, 6)}},
    {'9',
     0,
     {moveTo(-1, 5), lineTo(2, 5), moveTo(-1, 5), lineTo(-2, 6), lineTo(-2, 9), lineTo(-1, 10),
      lineTo(2, 10), lineTo(3, 9), lineTo(3, 6), lineTo(2, 5), moveTo(3, 6), lineTo(3, 3),
      lineTo(1, 0), moveTo(1, kLiftedBase), lineTo(-1, kLiftedBase)}},
    {':',
     0,
     {moveTo(1, 6), lineTo(1, 5), lineTo(0, 5), lineTo(0, 6), lineTo(1, 6), moveTo(1, 1),
      lineTo(1, 2), lineTo(0, 2), lineTo(0, 1), lineTo(1, 1)}},
    {';',
     0,
     {moveTo(1, 5), lineTo(1, 6), lineTo(0, 6), lineTo(0, 5), lineTo(1, 5), moveTo(1, 2),
      lineTo(1, 1), lineTo(0, 1), lineTo(0, 2), lineTo(1, 2), moveTo(1, 1), lineTo(0, -2)}},
    {'<', 0, {moveTo(3, 8), lineTo(-1, 5), lineTo(3, 2)}},
    {'=', 0, {moveTo(-3, 3), lineTo(4, 3), moveTo(-3, 7), lineTo(4, 7)}},
    {'>', 0, {moveTo(-1, 8), lineTo(3, 5), lineTo(-1, 2)}},
    {'?',
     0,
     {moveTo(-2, 6), lineTo(-2, 8), lineTo(0, 10), lineTo(2, 10), lineTo(4, 8), lineTo(4, 6),
      lineTo(0.5, 5), lineTo(0.5, 2), moveTo(1, 1), lineTo(1, kLiftedBase), lineTo(0, kLiftedBase),
      lineTo(0, 1), lineTo(1, 1)}},
    {'@',
     0,
     {moveTo(3, kLiftedBase), lineTo(-2, kLiftedBase), moveTo(-2, 0), lineTo(-2, 10), lineTo(3, 10),
      lineTo(3, 3), lineTo(0, 3), lineTo(0, 7), lineTo(2, 7)}},
    {'A',
     0,
     {moveTo(1, 10), lineTo(-3, 0), moveTo(1, 10), lineTo(5, 0), moveTo(-1, 5), lineTo(3, 5)}},
    {'B',
     0,
     {moveTo(-2, 10), lineTo(-2, 0), moveTo(-2, 10), lineTo(3, 10), lineTo(3.5, 9), lineTo(3.5, 7),
      lineTo(3, 6), lineTo(-2, 6), moveTo(-2, 5.5), lineTo(3.5, 5.5), lineTo(4.5, 4),
      lineTo(4.5, 1), lineTo(3.5, kLiftedBase), lineTo(-2, kLiftedBase)}},
    {'C',
     0,
     {moveTo(-2, 8), lineTo(-2, 2), moveTo(-2, 8), lineTo(0, 10), lineTo(3, 10), lineTo(4, 8),
      moveTo(-2, 2), lineTo(0, kLiftedBase), lineTo(3, kLiftedBase), lineTo(4, 2)}},
    {'D',
     0,
     {moveTo(-1.5, 10), lineTo(-1.5, 0), moveTo(-2, 10), lineTo(0, 10), lineTo(3, 10), lineTo(4, 8),
      moveTo(-2, kLiftedBase), lineTo(0, kLiftedBase), lineTo(3, kLiftedBase), lineTo(4, 2),
      lineTo(4, 8)}},
    {'E',
     0,
     {moveTo(-2, 0), lineTo(-2, 10), lineTo(4, 10), moveTo(-2, 5.5), lineTo(3, 5.5),
      moveTo(-2, kLiftedBase), lineTo(4, kLiftedBase)}},
    {'F', 0, {moveTo(-2, 0), lineTo(-2, 10), lineTo(4, 10), moveTo(-2, 5), lineTo(3, 5)}},
    {'G',
     0,
     {moveTo(-2, 8), lineTo(-2, 2), moveTo(-2, 8), lineTo(0, 10), lineTo(3, 10), lineTo(4, 8),
      moveTo(-2, 2), lineTo(0, kLiftedBase), lineTo(3, kLiftedBase), lineTo(4, 2), lineTo(4, 4),
      moveTo(2, 4), lineTo(4, 4)}},
    {'H',
     0,
     {moveTo(-2, 0), lineTo(-2, 10), moveTo(4, 0), lineTo(4, 10), moveTo(-2, 5.5), lineTo(4, 5.5)}},
    {'I',
     0,
     {moveTo(1, 0), lineTo(1, 10), moveTo(-0.5, kLiftedBase), lineTo(2.5, kLiftedBase),
      moveTo(-0.5, 10), lineTo(2.5, 10)}},
    {'J',
     0,
     {moveTo(3, 10), lineTo(1, 10), moveTo(3, 2), lineTo(3, 10), moveTo(3, 2),
      lineTo(2, kLiftedBase), lineTo(0, kLiftedBase), lineTo(-1, 2), lineTo(-1, 3)}},
    {'K',
     0,
     {moveTo(-2, 0), lineTo(-2, 10), moveTo(-2, 4.5), lineTo(3.5, 10), moveTo(-2, 5.5),
      lineTo(3.5, 0)}},
    {'L',
     0,
     {moveTo(-2, 0), lineTo(-2, 10), moveTo(-2, kLiftedBase), lineTo(3.5, kLiftedBase),
      lineTo(3.5, 2)}},
    {'M',
     0,
     {moveTo(-2, 0), lineTo(-2, 10), moveTo(4, 0), lineTo(4, 10), lineTo(1, 3), moveTo(-2, 10),
      lineTo(1, 3)}},
    {'N',
     0,
     {moveTo(-2, 0), lineTo(-2, 10), moveTo(4, 0), lineTo(4, 10), moveTo(-2, 10),
      lineTo(4, kLiftedBase)}},
    {'O',
     0,
     {moveTo(4, 2), lineTo(4, 8), moveTo(4, 2), lineTo(3, kLiftedBase), lineTo(-1, kLiftedBase),
      lineTo(-2, 2), lineTo(-2, 8), moveTo(4, 8), lineTo(3, 10), lineTo(-1, 10), lineTo(-2, 8)}},
    {'P',
     0,
     {moveTo(-2, 10), lineTo(-2, 0), moveTo(-2, 10), lineTo(3.5, 10), lineTo(4, 8.5),
      lineTo(4, 6.5), lineTo(3.5, 5), lineTo(-2, 5)}},
    {'Q',
     0,
     {moveTo(4, 2), lineTo(4, 8), moveTo(4, 2), lineTo(3, kLiftedBase), lineTo(-1, kLiftedBase),
      lineTo(-2, 2), lineTo(-2, 8), moveTo(4, 8), lineTo(3, 10), lineTo(-1, 10), lineTo(-2, 8),
      moveTo(2, 3), lineTo(4.8f, 0)}},
    {'R',
     0,
     {moveTo(-2, 10), lineTo(-2, 0), moveTo(-2, 10), lineTo(3.5, 10), lineTo(4, 9), lineTo(4, 7),
      lineTo(3.5, 6), lineTo(-2, 6), moveTo(4, 0), lineTo(0, 6)}},
    {'S',
     0,
     {moveTo(-2, 6), lineTo(-2, 8), lineTo(0, 10), lineTo(3, 10), lineTo(3.5, 9), moveTo(-2, 6),
      lineTo(3.5, 4), lineTo(3.5, 2), lineTo(0.5, 0), moveTo(0.5, kLiftedBase),
      lineTo(-1.5, kLiftedBase), lineTo(-2, 1), lineTo(-2, 2)}},
    {'T',
     0,
     {moveTo(1, 0), lineTo(1, 10), moveTo(-1.5, 10), lineTo(4.5, 10), moveTo(-1.5, 10),
      lineTo(-1.5, 9), moveTo(4.5, 10), lineTo(4.5, 9)}},
    {'U',
     0,
     {moveTo(3.5, 0), lineTo(3.5, 10), moveTo(3.5, 1), lineTo(2, kLiftedBase),
      lineTo(-0.7f, kLiftedBase), lineTo(-1.5, 2), lineTo(-1.5, 10)}},
    {'V',
     0,
     {moveTo(3.5, 10), lineTo(1, 0), moveTo(-1.5, 10), lineTo(1, 0), moveTo(-0.5, 10),
      lineTo(-2.5, 10), moveTo(2.5, 10), lineTo(4.5, 10)}},
    {'W',
     0,
     {moveTo(4, 10), lineTo(3, 0), lineTo(1, 5), moveTo(-2, 10), lineTo(-1, 0), moveTo(1, 5),
      lineTo(-1, 0), moveTo(-3, 10), lineTo(-1, 10), moveTo(3, 10), lineTo(5, 10)}},
    {'X', 0, {moveTo(-2, 10), lineTo(4, 0), moveTo(4, 10), lineTo(-2, 0)}},
    {'Y',
     0,
     {moveTo(-2, 10), lineTo(1, 4), moveTo(4, 10), lineTo(1, 4), moveTo(1, 0), lineTo(1, 4),
      moveTo(0, kLiftedBase), lineTo(2, kLiftedBase)}},
    {'Z',
     0,
     {moveTo(4, 10), lineTo(-2, 0), moveTo(4, 10), lineTo(-2, 10), moveTo(-2, kLiftedBase),
      lineTo(4, kLiftedBase)}},
    {'[',
     0,
     {moveTo(2, 0), lineTo(2, 10), lineTo(4, 10), moveTo(2, kLiftedBase), lineTo(4, kLiftedBase)}},
    {']',
     0,
     {moveTo(-1, 0), lineTo(-1, 10), lineTo(-3, 10), moveTo(-1, kLiftedBase),
      lineTo(-3, kLiftedBase)}},
    {'^', 0, {moveTo(-2, 8), lineTo(0, 10), lineTo(2, 8)}},
    {'_', 0, {moveTo(-3, kLiftedBase), lineTo(4, kLiftedBase)}},
    {'`', 0, {moveTo(-2, 10), lineTo(0, 8)}},
    {'{',
     0,
     {moveTo(1, 5), lineTo(2, 6), lineTo(2, 10), lineTo(4, 10), moveTo(1, 5), lineTo(2, 4),
      lineTo(2, 0), moveTo(2, kLiftedBase), lineTo(4, kLiftedBase)}},
    {'|', 0, {moveTo(1, 10), lineTo(1, 0)}},
    {'}',
     0,
     {moveTo(1, 5), lineTo(0, 6), lineTo(0, 10), lineTo(-2, 10), moveTo(1, 5), lineTo(0, 4),
      lineTo(0, 0), moveTo(0, kLiftedBase), lineTo(-2, kLiftedBase)}},
    {'~',
     0,
     {moveTo(-2, 4), lineTo(-1, 5), lineTo(0, 5), lineTo(1, 4), lineTo(2, 4), lineTo(3, 5)}},
};
constexpr int kGlyphCount = sizeof kGlyphs / sizeof kGlyphs[0];
static_assert(kGlyphCount == 65, "one glyph per printable code but \" ' \\ and a..z");

// Code 0..127 -> row of kGlyphs, -1 for a code without a glyph.
constexpr std::array<signed char, 128> makeGlyphIndex() {
    std::array<signed char, 128> index{};
    for (int c = 0; c < 128; ++c) index[c] = -1;
    for (int row = 0; row < kGlyphCount; ++row)
        index[static_cast<int>(kGlyphs[row].code)] = static_cast<signed char>(row);
    return index;
}
constexpr std::array<signed char, 128> kGlyphIndex = makeGlyphIndex();

constexpr int ownSegments(const GlyphDef& glyph) {
    int n = 0;
    for (const GlyphPoint& point : glyph.pts) n += point.op == kLine;
    return n;
}
constexpr int mostSegments() {
    int most = 0;
    for (const GlyphDef& glyph : kGlyphs) {
        int n = ownSegments(glyph);
        if (glyph.under) n += ownSegments(kGlyphs[kGlyphIndex[static_cast<int>(glyph.under)]]);
        if (n > most) most = n;
    }
    return most;
}
static_assert(mostSegments() <= kMaxGlyphSegments,
              "a glyph has more segments than kMaxGlyphSegments");

// Places the strokes of one table row at pen (x, y) and size `scale`, appending
// its segments to out from index n; returns the new count.
int placeStrokes(const GlyphDef& glyph, int x, int y, float scale, float width,
                 StrokeSegment (&out)[kMaxGlyphSegments], int n) {
    const float lifted = static_cast<float>(y) + (scale / 3.0f + 1.0f);
    float fromX = 0.0f, fromY = 0.0f;
    for (const GlyphPoint& point : glyph.pts) {
        if (point.op == kEnd) break;
        const float toX = static_cast<float>(x) + point.u * scale;
        const float toY = point.v == kLiftedBase ? lifted : static_cast<float>(y) + point.v * scale;
        if (point.op == kLine) out[n++] = {fromX, fromY, toX, toY, width};
        fromX = toX;
        fromY = toY;
    }
    return n;
}

} // namespace

int glyphSegments(char c, int x, int y, float size, StrokeSegment (&out)[kMaxGlyphSegments]) {
    int code = c;
    float scale = size;
    if (code >= 'a' && code <= 'z') {
        code -= 'a' - 'A';
        scale = 0.7f * size;
    }
    if (code < 0 || code > 127 || kGlyphIndex[code] < 0) return 0;
    const GlyphDef& glyph = kGlyphs[kGlyphIndex[code]];
    int n = 0;
    if (glyph.under)
        n = placeStrokes(kGlyphs[kGlyphIndex[static_cast<int>(glyph.under)]], x, y, scale,
                         scale / 3.0f + 1.0f, out, n);
    return placeStrokes(glyph, x, y, scale, glyph.under ? scale / 6.0f + 1.0f : scale / 3.0f + 1.0f,
                        out, n);
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
