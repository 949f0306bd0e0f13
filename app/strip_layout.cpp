// The solution strip's layout: the moves flow into rows of the band's width,
// two spaces before each stage's group and one between moves. The flow is walked twice, once to
// find the current move's row and once to place the tokens of the rows shown.
#include "app/strip_layout.h"

#include "model/cube_text.h"

#include <cstdio>
#include <cstring>

namespace {

// Pixels between the band and the viewport's sides, and inside the band.
constexpr int kMargin = 8;
constexpr int kPadding = 5;
// Fewest characters a row must hold for the strip to be drawn at all.
constexpr int kMinColumns = 24;

const char* stageOf(const StripView& view, int i) {
    const char* name = view.stageNames ? view.stageNames[i] : nullptr;
    return name ? name : "";
}

int moveChars(const Move& move) {
    char name[3];
    writeMoveName(move.layer, move.direction, name);
    return static_cast<int>(std::strlen(name));
}

// Walks the flow: visit(kind, index, row, column, chars) for every token. A
// group's name leads its first move, on the same row, and is said again at
// the start of every further row of the group, so that each row shown tells
// its stage.
template <class Visit> void flowTokens(const StripView& view, int columns, Visit visit) {
    int row = 0, column = 0;
    // Puts the name of move i's stage at the column (cut to leave room for
    // the move on the row); nothing for a nameless stage.
    const auto name = [&](int i, int moveChars) {
        const int length = static_cast<int>(std::strlen(stageOf(view, i)));
        if (length == 0) return;
        int chars = length + 1;
        if (chars > columns - column - 1 - moveChars) chars = columns - column - 1 - moveChars;
        if (chars <= 1) return;
        visit(kStripStageName, i, row, column, chars);
        column += chars + 1;
    };
    for (int i = 0; i < view.count; ++i) {
        const int chars = moveChars(view.moves[i]);
        const char* stage = stageOf(view, i);
        if (i == 0 || std::strcmp(stage, stageOf(view, i - 1)) != 0) {
            const int length = static_cast<int>(std::strlen(stage));
            if (column > 0) column += 2;
            if (column > 0 && column + (length ? length + 2 : 0) + chars > columns)
                ++row, column = 0;
            name(i, chars);
        } else if (column > 0) {
            column += 1;
            if (column + chars > columns) {
                ++row, column = 0;
                name(i, chars);
            }
        }
        visit(kStripMove, i, row, column, chars);
        column += chars;
    }
}

} // namespace

void formatStripCounter(const StripView& view, char* out, int size) {
    int shown = view.position + (view.animating ? 1 : 0);
    if (shown > view.count) shown = view.count;
    if (shown < 0) shown = 0;
    std::snprintf(out, static_cast<size_t>(size), "move %d / %d", shown, view.count);
}

void formatStripSpeed(const StripView& view, char* out, int size) {
    const double speed = view.turnsPerSecond;
    std::snprintf(out, static_cast<size_t>(size), "%s%g turn%s/s", view.paused ? "paused, " : "",
                  speed, speed == 1.0 ? "" : "s");
}

void layoutSolutionStrip(const StripView& view, int w, int h, const TextMetrics& m,
                         StripLayout* out) {
    StripLayout& s = *out;
    s.visible = 0;
    s.tokenCount = 0;
    s.current = -1;
    s.rowCount = s.firstRow = 0;
    if (view.count <= 0 || view.moves == nullptr || m.advance <= 0 || m.lineHeight <= 0) return;
    s.left = kMargin;
    s.right = w - kMargin;
    s.bottom = h - kStripBottomClearance;
    s.top = s.bottom - 2 * kPadding - (1 + kStripRowsShown) * m.lineHeight;
    s.columns = (s.right - s.left - 2 * kPadding) / m.advance;
    // The counter and the speed share the first line, two spaces apart at least.
    char counter[64], speed[64];
    formatStripCounter(view, counter, sizeof counter);
    formatStripSpeed(view, speed, sizeof speed);
    const int statusChars = static_cast<int>(std::strlen(counter) + 2 + std::strlen(speed));
    if (s.columns < kMinColumns || s.columns < statusChars || s.top < 0) return;
    s.visible = 1;

    const int textLeft = s.left + kPadding;
    const int firstBaseline = s.top + kPadding + m.ascent;
    s.counterX = textLeft;
    s.counterY = s.speedY = firstBaseline;
    s.speedX = s.right - kPadding - static_cast<int>(std::strlen(speed)) * m.advance;

    // The current move's row (the last move's once all are played) goes on
    // top, the next row under it, unless the flow ends first.
    const int focus = view.position < view.count ? view.position : view.count - 1;
    int focusRow = 0;
    flowTokens(view, s.columns, [&](StripTokenKind kind, int index, int row, int, int) {
        if (kind == kStripMove && index == focus) focusRow = row;
        s.rowCount = row + 1;
    });
    s.firstRow = focusRow;
    if (s.firstRow > s.rowCount - kStripRowsShown) s.firstRow = s.rowCount - kStripRowsShown;
    if (s.firstRow < 0) s.firstRow = 0;

    flowTokens(
        view, s.columns, [&](StripTokenKind kind, int index, int row, int column, int chars) {
            if (row < s.firstRow || row >= s.firstRow + kStripRowsShown ||
                s.tokenCount == kStripMaxTokens)
                return;
            if (kind == kStripMove && index == view.position) s.current = s.tokenCount;
            s.tokens[s.tokenCount++] = {kind,
                                        index,
                                        textLeft + column * m.advance,
                                        firstBaseline + (1 + row - s.firstRow) * m.lineHeight,
                                        chars,
                                        row};
        });
}
