// The line font: text drawn as straight line segments in the current
// projection, at any size, one colour per call. Each glyph is a fixed list of
// segments in glyph units (u across, v up; baseline v = 0, top v = 10) that
// lands at (x + u * size, y + v * size, 0) for the pen position (x, y).
// Lower-case letters are the upper-case glyphs at 0.7 of the size; the double
// quote, the apostrophe, the backslash, the space and every code outside
// 0x21..0x7E draw nothing.
#pragma once

// The largest size drawString draws with; bigger sizes are drawn at it.
constexpr float kStrokeMaxSize = 30.0f;
// Pen advance per character, in glyph units (times the size in pixels).
constexpr float kStrokeAdvance = 10.0f;
// Most segments any glyph draws ("8" has 15, "$" the 10 of "S" plus 2 bars).
constexpr int kMaxGlyphSegments = 16;

// One line segment of a glyph placed on the screen, with the GL line width it
// is drawn with.
struct StrokeSegment {
    float x1, y1, x2, y2;
    float width;
};

// The segments character c draws with its pen at (x, y) and the given size,
// in drawing order; returns how many were written to `out` (0 for a code
// without a glyph). Pure: touches no GL state.
int glyphSegments(char c, int x, int y, float size, StrokeSegment (&out)[kMaxGlyphSegments]);

// The size drawString really uses for `size`: sizes above kStrokeMaxSize are
// drawn at kStrokeMaxSize.
float strokeStringSize(float size);

// Pen x of the character at `index` of a string starting at x, for an
// already clamped size: x + 10 * size * index, truncated toward zero.
int strokePenX(int x, float size, int index);

// Draws the glyph of c at pen (x, y) in colour (r, g, b): sets the colour,
// the line width, and emits the segments as a GL line list. Nothing for an
// unmapped code.
void drawChar(char c, int x, int y, float r, float g, float b, float size);

// Draws a zero-terminated string, one character every 10 * size pixels from
// pen (x, y); every character advances the pen, also one without a glyph.
void drawString(const char* text, int x, int y, float r, float g, float b, float size);
