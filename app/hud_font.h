// The HUD's bitmap font: 96 display lists, one per character code 32..127,
// each drawing its glyph with glBitmap and moving the raster position on by
// the glyph's advance, and the same glyphs in one texture that the frame's
// text is drawn from in a single batch. Made once per GL context (the
// window's setup builds it, closing the window frees it). Beside it, from the
// same face, larger fonts with smooth edges for the solution strip and the
// help overlay: drawn from textures of their own, no lists.
#pragma once

constexpr int kHudFontFirstCode = 32;
constexpr int kHudFontLists = 96;
// Character height the HUD layout assumes, in pixels.
constexpr int kHudFontPixels = 12;
// The panel fonts, for the solution strip and the help overlay: the HUD's
// face in two larger sizes with smooth edges. Their character heights in
// pixels: readable, and a strip of a few lines of the large one, or the whole
// key table in the medium one, still fits the 640 x 480 window.
enum PanelFontSize { kPanelFontLarge, kPanelFontMedium, kPanelFontSizes };
constexpr int kPanelFontPixels[kPanelFontSizes] = {18, 14};

// How a fixed-width font lays out, in pixels: the advance of every
// character, the distance of two lines' baselines, and how far the letters
// reach above the baseline.
struct TextMetrics {
    int advance, lineHeight, ascent;
};

// What the lists hold: nothing yet, the font asked for (or the fixed-width
// face fontconfig puts in its place), any other fixed-width font, or the
// built-in block glyphs used when no font file can be loaded at all.
constexpr int kHudFontNone = 0;
constexpr int kHudFontNamed = 1;
constexpr int kHudFontMonospace = 2;
constexpr int kHudFontBlocks = 3;

// First of the 96 lists; 0 while no font is built.
extern unsigned int hudFontBase;
// The glyph atlas texture the frame's text is drawn from; 0 while none.
extern unsigned int hudFontTexture;
// Which kind of font the lists hold (kHudFont...).
extern int hudFontKind;
// Family name of the face the lists were made from ("" for none).
extern char hudFontFamily[128];

// Builds the font from "Courier New" (or whatever fixed-width face the system
// offers in its place) at 12 pixels, and the panel fonts from the same face.
void buildHudFont();
// Builds the font from the given family, falling back to any fixed-width
// font and then to block glyphs; returns the kind built. Frees an earlier
// font first. Needs a current GL context.
int buildHudFontFrom(const char* family);
// Builds the block glyphs alone (the last resort of buildHudFontFrom).
void buildHudBlockFont();
// Deletes the 96 lists and every font's texture; harmless when none are built.
void freeHudFont();

// Formats printf-style into 256 bytes (at most 255 characters) and queues the
// text at raster position (x, y) of the current projection in the current
// colour: the same pixels the font's lists would draw there, shown by the
// next flushHudText. The raster position moves on as the lists would move
// it. A null format draws nothing.
void hudPrint(float x, float y, const char* format, ...) __attribute__((format(printf, 3, 4)));
// Draws the queued text in one call from the glyph atlas and empties the
// queue (a full queue is flushed by hudPrint itself). Leaves the matrices and
// the GL state as it found them.
void flushHudText();

// The HUD font's metrics (its layout keeps lines 10 pixels apart all the
// same), and a panel font's; all 0 while no font is built.
TextMetrics hudFontMetrics();
TextMetrics panelFontMetrics(int size);
// Queues the text with panel font `size`, its baseline starting at (x, y) of
// the current projection, in the current colour (codes outside 32..127 show
// as '?'); shown by the next flushPanelText of that size.
void panelPrint(int size, float x, float y, const char* text);
// Draws the queued text of panel font `size`, blended by the glyphs'
// coverage, and empties its queue. Leaves the matrices and the GL state as it
// found them.
void flushPanelText(int size);
