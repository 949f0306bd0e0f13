// The help overlay's layout: the key column as wide as the widest keys (at
// most two fifths of a block), the action column the rest, two spaces
// between them; a line takes as many rows as the longer of its two cells.
#include "app/help_layout.h"

#include <cstring>

namespace {

constexpr int kMargin = 10;
constexpr int kPadding = 10;
// Characters between the two blocks (the divider in the middle).
constexpr int kBlockGap = 3;
constexpr int kColumnGap = 2;

int rowsOf(const HelpLine& line, int keyColumns, int actionColumns) {
    const auto none = [](int, int) {};
    const int keys = wrapText(line.keys ? line.keys : "", keyColumns, none);
    const int action = wrapText(line.action ? line.action : "", actionColumns, none);
    const int rows = keys > action ? keys : action;
    return rows > 0 ? rows : 1;
}

} // namespace

void layoutHelpOverlay(const HelpLine* lines, int count, int w, int h, const TextMetrics& m,
                       HelpLayout* out) {
    HelpLayout& s = *out;
    s.visible = 0;
    s.pieceCount = 0;
    s.linesShown = 0;
    if (m.advance <= 0 || m.lineHeight <= 0) return;
    s.left = kMargin;
    s.top = kMargin;
    s.right = w - kMargin;
    s.bottom = h - kMargin;
    const int columns = (s.right - s.left - 2 * kPadding) / m.advance;
    s.titleX = s.left + kPadding;
    s.titleY = s.top + kPadding + m.ascent;
    s.contentTop = s.top + kPadding + m.lineHeight + m.lineHeight / 2;
    const int rowsPerBlock = (s.bottom - kPadding - s.contentTop) / m.lineHeight;
    if (columns < static_cast<int>(std::strlen(kHelpTitle)) || rowsPerBlock < 1) return;
    s.visible = 1;

    int widestKeys = 0;
    for (int i = 0; i < count; ++i) {
        const int n = lines[i].keys ? static_cast<int>(std::strlen(lines[i].keys)) : 0;
        if (n > widestKeys) widestKeys = n;
    }
    for (s.blocks = 1; s.blocks <= 2; ++s.blocks) {
        const int blockColumns = s.blocks == 1 ? columns : (columns - kBlockGap) / 2;
        s.keyColumns = widestKeys < blockColumns * 2 / 5 ? widestKeys : blockColumns * 2 / 5;
        if (s.keyColumns < 1) s.keyColumns = 1;
        s.actionColumns = blockColumns - s.keyColumns - kColumnGap;
        int rows = 0;
        for (int i = 0; i < count; ++i) rows += rowsOf(lines[i], s.keyColumns, s.actionColumns);
        if (rows <= rowsPerBlock || s.blocks == 2) break;
    }
    s.dividerX =
        s.left + kPadding + (columns - kBlockGap) / 2 * m.advance + kBlockGap * m.advance / 2;

    int block = 0, row = 0, rowsUsed = 0;
    for (int i = 0; i < count; ++i) {
        const int rows = rowsOf(lines[i], s.keyColumns, s.actionColumns);
        if (row + rows > rowsPerBlock) {
            if (++block == s.blocks || rows > rowsPerBlock) break;
            row = 0;
        }
        const int blockLeft =
            s.left + kPadding + block * ((columns - kBlockGap) / 2 + kBlockGap) * m.advance;
        for (int part = 0; part < 2; ++part) {
            const char* text = part ? lines[i].action : lines[i].keys;
            const int x = blockLeft + (part ? s.keyColumns + kColumnGap : 0) * m.advance;
            int r = 0;
            wrapText(text ? text : "", part ? s.actionColumns : s.keyColumns,
                     [&](int start, int chars) {
                         if (s.pieceCount == kHelpMaxPieces) return;
                         s.pieces[s.pieceCount++] = {
                             i,     part, start,
                             chars, x,    s.contentTop + m.ascent + (row + r) * m.lineHeight};
                         ++r;
                     });
        }
        row += rows;
        if (row > rowsUsed) rowsUsed = row;
        s.linesShown = i + 1;
    }
    // The panel ends under its longest block.
    s.bottom = s.contentTop + rowsUsed * m.lineHeight + kPadding;
}

int layoutHelpInFirstFitting(const HelpLine* lines, int count, int w, int h,
                             const TextMetrics* fonts, int fontCount, HelpLayout* out) {
    int font = 0;
    for (; font < fontCount; ++font) {
        layoutHelpOverlay(lines, count, w, h, fonts[font], out);
        if ((out->visible && out->linesShown == count) || font == fontCount - 1) break;
    }
    return font;
}
