// Where the help overlay's pieces go, worked out without GL: a panel over
// the window with a title, then the lines in two columns (keys, action),
// each wrapped at spaces to its column; in one block, or in two blocks side
// by side when one has too few rows for them all.
#pragma once

#include "app/help_overlay.h"
#include "app/hud_font.h"

// The panel's title.
constexpr const char* kHelpTitle = "Keys  (any key closes this)";

// The overlay's colours (r, g, b, a): the dimming over the whole window, the
// panel, its border and the divider between two blocks, the title, the keys
// and the actions.
enum HelpColour { kHelpDim, kHelpPanel, kHelpBorder, kHelpHeading, kHelpKeys, kHelpAction };
constexpr float kHelpColours[][4] = {
    {0.0f, 0.0f, 0.0f, 0.5f}, {0.04f, 0.04f, 0.12f, 0.95f}, {0.5f, 0.5f, 0.6f, 1.0f},
    {1.0f, 1.0f, 0.0f, 1.0f}, {1.0f, 0.75f, 0.25f, 1.0f},   {1.0f, 1.0f, 1.0f, 1.0f},
};

struct HelpPiece {
    int line;         // the line it comes from
    int action;       // 0: a piece of the keys, 1: a piece of the action
    int start, chars; // the characters of that text it shows
    int x, y;         // where its baseline starts, in overlay pixels (y down)
};

constexpr int kHelpMaxPieces = 600;

struct HelpLayout {
    int visible;                   // 0: nothing to draw
    int left, top, right, bottom;  // the panel
    int titleX, titleY;            // baseline of the title
    int blocks;                    // 1 or 2
    int dividerX;                  // the line between two blocks
    int contentTop;                // the top of the first row under the title
    int keyColumns, actionColumns; // characters the two columns hold
    HelpPiece pieces[kHelpMaxPieces];
    int pieceCount;
    int linesShown; // lines laid out: all of them when they fit
};

// Lays out `count` lines over a viewport of w x h pixels for a fixed-width
// font with metrics m.
void layoutHelpOverlay(const HelpLine* lines, int count, int w, int h, const TextMetrics& m,
                       HelpLayout* out);

// Lays the lines out in the first of `fontCount` fonts (largest first) that
// shows them all, or else in the last; returns the index of the font used.
int layoutHelpInFirstFitting(const HelpLine* lines, int count, int w, int h,
                             const TextMetrics* fonts, int fontCount, HelpLayout* out);

// Splits text into rows of at most `width` characters, breaking at spaces
// (a word longer than a row is cut); visit(start, chars) for each row, with
// the spaces at row ends left out. Returns the number of rows.
template <class Visit> int wrapText(const char* text, int width, Visit visit) {
    int rows = 0, pos = 0;
    int length = 0;
    while (text[length] != '\0') ++length;
    while (width > 0) {
        while (pos < length && text[pos] == ' ') ++pos;
        if (pos >= length) break;
        int chars = length - pos;
        if (chars > width) {
            chars = width;
            if (text[pos + width] != ' ') {
                int space = width - 1;
                while (space > 0 && text[pos + space] != ' ') --space;
                if (space > 0) chars = space;
            }
        }
        int end = chars;
        while (end > 0 && text[pos + end - 1] == ' ') --end;
        visit(pos, end);
        ++rows;
        pos += chars;
    }
    return rows;
}
