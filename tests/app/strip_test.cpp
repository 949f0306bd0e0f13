// The solution strip: its layout over random timelines, windows and fonts, its pictures.
#include "app/strip.h"
#include "app/strip_layout.h"
#include "model/cube_text.h"
#include "solve/menu.h"
#include "tests/app/panel_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

struct SampleMoves {
    std::vector<Move> moves;
    std::vector<const char*> stages;
    StripView view(int position) const {
        return {moves.data(), stages.data(), int(moves.size()), position, 0, 0, 1.0};
    }
    void add(const char* stage, int n, std::mt19937& rng) {
        for (int i = 0; i < n; ++i) {
            moves.push_back({int(rng() % 9) + 1, rng() % 2 ? 1 : -1});
            stages.push_back(stage);
        }
    }
};

const std::string kLongName(90, 'n');
const char* const kNames[] = {kBaseStageNames[1], kBaseStageNames[5], "", nullptr, "x",
                              kLongName.c_str()};

std::string nameOf(const StripView& v, int i) {
    return v.stageNames[i] ? v.stageNames[i] : "";
}

// The first rule the layout breaks, or "".
std::string layoutFault(const StripView& v, int w, int h, const TextMetrics& m,
                        const StripLayout& s) {
    if (!s.visible) return w >= 640 && h >= 480 ? "not visible" : "";
    const auto inBand = [&](int x, int y, int chars) {
        return x >= s.left && x + chars * m.advance <= s.right && y - m.ascent >= s.top &&
               y - m.ascent + m.lineHeight <= s.bottom && s.bottom <= h - kStripBottomClearance;
    };
    char counter[64], speed[64];
    formatStripCounter(v, counter, sizeof counter);
    formatStripSpeed(v, speed, sizeof speed);
    if (!inBand(s.speedX, s.speedY, int(std::strlen(speed))) ||
        s.speedX < s.counterX + int(std::strlen(counter) + 2) * m.advance)
        return "speed outside the band or on the counter";
    const int focus = v.position < v.count ? v.position : v.count - 1;
    int focusRow = -1;
    for (int i = 0; i < s.tokenCount; ++i) {
        const StripToken& t = s.tokens[i];
        if (!inBand(t.x, t.y, t.chars) || t.y <= s.counterY) return "token outside";
        if (t.kind == kStripMove && t.index == focus) focusRow = t.row;
        if ((i == s.current) != (t.kind == kStripMove && t.index == v.position))
            return "wrong current token";
        const StripToken* p = i ? &s.tokens[i - 1] : nullptr;
        const bool rowStart = !p || t.row != p->row;
        if (p && (rowStart ? t.row != p->row + 1 || t.y != p->y + m.lineHeight
                           : t.y != p->y || t.x < p->x + (p->chars + 1) * m.advance))
            return "tokens overlap or rows out of order";
        // Moves in order; a stage name only before the first move of a group or row.
        const bool starts = t.index == 0 || nameOf(v, t.index) != nameOf(v, t.index - 1);
        const bool named = p && p->kind == kStripStageName;
        if (p && t.index != (p->kind == kStripMove ? p->index + 1 : p->index))
            return "moves out of order at " + std::to_string(i);
        if (t.kind == kStripStageName
                ? !(starts || rowStart)
                : (starts || rowStart) && !named && !nameOf(v, t.index).empty())
            return "a stage name missing or astray at " + std::to_string(i);
        if (!p) continue;
        // A row ends inside a group only where its next move does not fit.
        const StripToken& move =
            t.kind == kStripMove || i + 1 == s.tokenCount ? t : s.tokens[i + 1];
        if (rowStart && !starts && p->kind == kStripMove &&
            (p->x - s.left) / m.advance + p->chars + 1 + move.chars <= s.columns)
            return "a row ends early";
    }
    if (focusRow < 0) return "the current move is not shown";
    if (s.firstRow != std::max(0, std::min(focusRow, s.rowCount - kStripRowsShown)))
        return "the current row is not on top, or the last rows not shown";
    return "";
}

} // namespace

TEST(StripLayout, KeepsItsRulesOverRandomTimelinesWindowsAndFonts) {
    const TextMetrics fonts[] = {{11, 20, 15}, {14, 18, 14}, {8, 16, 12}, {7, 14, 10}};
    std::mt19937 rng(1717);
    int shown = 0;
    static StripLayout s;
    for (int trial = 0; trial < 3000; ++trial) {
        SampleMoves t;
        const int count = 1 + int(rng() % (trial % 10 ? 200u : 3000u));
        while (int(t.moves.size()) < count)
            t.add(kNames[rng() % 6], std::min(count - int(t.moves.size()), 1 + int(rng() % 30)),
                  rng);
        StripView v = t.view(int(rng() % unsigned(count + 1)));
        v.animating = v.position < count && rng() % 2;
        v.paused = rng() % 2;
        v.turnsPerSecond = rng() % 2 ? 0.5 : 20.0;
        int w = 640, h = 480;
        if (trial % 3) w = 400 + int(rng() % 1600), h = 300 + int(rng() % 1000);
        const TextMetrics& m = fonts[rng() % 4];
        layoutSolutionStrip(v, w, h, m, &s);
        shown += s.visible;
        ASSERT_EQ(layoutFault(v, w, h, m, s), "") << "trial " << trial << ", " << w << " x " << h;
    }
    EXPECT_GT(shown, 2800); // the rules were checked, not skipped
}

class StripPicture : public PanelSuite {};

// The strip changes the frame only in its band, each token in its colour; empty, nothing.
TEST_F(StripPicture, HighlightsTheCurrentMoveAndLeavesTheHudAlone) {
    std::mt19937 rng(17);
    SampleMoves t;
    t.add(solveStageName(2, kFirstPhaseStage), 14, rng);
    t.add(kBaseStageNames[3], 19, rng);
    t.add(kBaseStageNames[4], 24, rng);
    StripView v = t.view(35);
    v.animating = 1;
    const TextMetrics m = panelFontMetrics(kPanelFontLarge);
    for (const int w : {640, 1024}) {
        const int h = w * 3 / 4;
        SCOPED_TRACE(w);
        static StripLayout s;
        layoutSolutionStrip(v, w, h, m, &s);
        start(w, h);
        const Picture plain = frameWith(
            w, h, [] {}, nullptr);
        const std::string name = "strip_" + std::to_string(w);
        const Picture pic = frameWith(
            w, h, [&] { drawSolutionStrip(v, w, h); }, name.c_str());
        int changed = 0, outside = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const bool band =
                    x >= s.left && x < s.right && h - 1 - y >= s.top && h - 1 - y < s.bottom;
                const bool differs = std::memcmp(plain.at(x, y), pic.at(x, y), 3) != 0;
                changed += differs;
                outside += differs && !band;
            }
        EXPECT_GT(changed, 5000);
        EXPECT_EQ(outside, 0);
        const auto count = [&](const StripToken& tok, StripColour c) {
            int n = 0;
            for (int y = tok.y - m.ascent; y < tok.y - m.ascent + m.lineHeight; ++y)
                for (int x = tok.x; x < tok.x + tok.chars * m.advance; ++x) {
                    const unsigned char* p = pic.at(x, h - 1 - y);
                    bool same = true;
                    for (int ch = 0; ch < 3; ++ch)
                        same &= std::abs(p[ch] - int(kStripColours[c][ch] * 255 + 0.5f)) <= 2;
                    n += same;
                }
            return n;
        };
        int played = 0, coming = 0;
        for (int i = 0; i < s.tokenCount; ++i) {
            const StripToken& tok = s.tokens[i];
            const StripColour c = tok.kind == kStripStageName ? kStripStage
                                  : i == s.current            ? kStripCurrent
                                  : tok.index < v.position    ? kStripPlayed
                                                              : kStripComing;
            EXPECT_GT(count(tok, c), 3) << "token " << i;
            EXPECT_EQ(count(tok, kStripCurrent), c == kStripCurrent ? count(tok, c) : 0);
            EXPECT_EQ(c == kStripPlayed ? count(tok, kStripComing) : 0, 0) << "token " << i;
            played += c == kStripPlayed;
            coming += c == kStripComing;
        }
        EXPECT_GT(count(s.tokens[s.current], kStripCurrentBox), 50);
        EXPECT_GT(played * coming, 0);
        const StripView empty{nullptr, nullptr, 0, 0, 0, 0, 1.0};
        EXPECT_TRUE(frameWith(
                        w, h, [&] { drawSolutionStrip(empty, w, h); }, nullptr)
                        .rgb == plain.rgb);
    }
}
