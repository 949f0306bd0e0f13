// The solution strip: its layout over many random timelines, windows and
// fonts (the current move in view, tokens in order, inside the band and
// apart), its counter and speed texts, and its pictures read back.
#include "app/hud_font.h"
#include "app/overlay.h"
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

// A timeline the tests own: moves, a stage name per move, and the view of it.
struct Timeline {
    std::vector<Move> moves;
    std::vector<const char*> stages;
    StripView view() const {
        return {moves.data(), stages.data(), int(moves.size()), 0, 0, 0, 1.0};
    }
    void add(const char* stage, int n, std::mt19937& rng) {
        for (int i = 0; i < n; ++i) {
            moves.push_back({int(rng() % 9) + 1, rng() % 2 ? 1 : -1});
            stages.push_back(stage);
        }
    }
};

// 57 moves in three stages, as a two-phase solve shows them.
Timeline sampleTimeline() {
    std::mt19937 rng(17);
    Timeline t;
    t.add(solveStageName(2, kFirstPhaseStage), 14, rng);
    t.add(kBaseStageNames[3], 19, rng);
    t.add(kBaseStageNames[4], 24, rng);
    return t;
}

const std::string kLongName(90, 'n');
const char* const kNamePool[] = {kBaseStageNames[1],
                                 kBaseStageNames[2],
                                 kBaseStageNames[5],
                                 kBaseStageNames[7],
                                 "",
                                 nullptr,
                                 "x",
                                 kLongName.c_str()};

Timeline randomTimeline(std::mt19937& rng, int maxMoves) {
    Timeline t;
    const int count = 1 + int(rng() % unsigned(maxMoves));
    while (int(t.moves.size()) < count) {
        const int n = std::min(count - int(t.moves.size()), 1 + int(rng() % 30));
        t.add(kNamePool[rng() % (sizeof kNamePool / sizeof *kNamePool)], n, rng);
    }
    return t;
}

std::string stageText(const char* s) {
    return s ? s : "";
}

// The first broken rule of the layout, or "" when it keeps them all.
std::string layoutFault(const StripView& v, int w, int h, const TextMetrics& m,
                        const StripLayout& s) {
    // Only windows smaller than the smallest the program opens may go without.
    if (!s.visible) return w >= 640 && h >= 480 ? "not visible" : "";
    if (s.bottom > h - kStripBottomClearance || s.top < 0 || s.left < 0 || s.right > w)
        return "band outside its place";
    const auto inBand = [&](int x, int y, int chars) {
        return x >= s.left && x + chars * m.advance <= s.right && y - m.ascent >= s.top &&
               y - m.ascent + m.lineHeight <= s.bottom;
    };
    char counter[64], speed[64];
    formatStripCounter(v, counter, sizeof counter);
    formatStripSpeed(v, speed, sizeof speed);
    const int counterChars = int(std::strlen(counter)), speedChars = int(std::strlen(speed));
    if (!inBand(s.counterX, s.counterY, counterChars) || !inBand(s.speedX, s.speedY, speedChars))
        return "counter or speed outside the band";
    if (s.counterY == s.speedY && s.counterX + (counterChars + 1) * m.advance > s.speedX)
        return "counter and speed overlap";
    if (s.firstRow > s.rowCount - 1) return "first row past the end";
    const int focus = v.position < v.count ? v.position : v.count - 1;
    bool focusShown = false;
    for (int i = 0; i < s.tokenCount; ++i) {
        const StripToken& t = s.tokens[i];
        if (!inBand(t.x, t.y, t.chars)) return "token " + std::to_string(i) + " outside the band";
        if (t.y <= s.counterY) return "token on the counter's line";
        if (t.row < s.firstRow || t.row >= s.firstRow + kStripRowsShown)
            return "token of a row not shown";
        if (t.kind == kStripMove) {
            char name[3];
            writeMoveName(v.moves[t.index].layer, v.moves[t.index].direction, name);
            if (t.chars != int(std::strlen(name))) return "move token of the wrong width";
            focusShown |= t.index == focus;
            if ((i == s.current) != (t.index == v.position)) return "wrong current token";
        }
        if (i == 0) continue;
        const StripToken& p = s.tokens[i - 1];
        if (t.row == p.row) {
            if (t.y != p.y || t.x < p.x + (p.chars + 1) * m.advance) return "tokens overlap";
        } else if (t.row != p.row + 1 || t.y != p.y + m.lineHeight) {
            return "rows out of order";
        }
        // Moves come one after another, a stage's name just before a move of
        // its stage: the group's first, or the first of a row.
        const int expected = p.kind == kStripMove ? p.index + 1 : p.index;
        if (t.index != expected || (t.kind == kStripStageName && p.kind == kStripStageName))
            return "tokens out of order at " + std::to_string(i);
        const auto startsGroup = [&](int index) {
            return index == 0 ||
                   stageText(v.stageNames[index]) != stageText(v.stageNames[index - 1]);
        };
        const bool rowStart = t.row != p.row;
        if (t.kind == kStripStageName && !startsGroup(t.index) && !rowStart)
            return "a stage name inside a row of its group";
        if (t.kind == kStripMove && p.kind == kStripMove && (startsGroup(t.index) || rowStart) &&
            !stageText(v.stageNames[t.index]).empty())
            return "a group or a row without its stage name";
        // A row ends inside a group only where its next move does not fit.
        const StripToken& next =
            t.kind == kStripMove || i + 1 == s.tokenCount ? t : s.tokens[i + 1];
        if (rowStart && p.kind == kStripMove && next.kind == kStripMove &&
            !startsGroup(next.index) &&
            (p.x - s.left) / m.advance + p.chars + 1 + next.chars <= s.columns)
            return "a row ends early";
    }
    if (!focusShown) return "the current move is not shown";
    return "";
}

} // namespace

TEST(StripLayout, KeepsItsRulesOverRandomTimelinesWindowsAndFonts) {
    const double kSpeeds[] = {0.5, 1, 2, 4, 8, 20};
    const TextMetrics fonts[] = {{11, 20, 15}, {14, 18, 14}, {8, 16, 12}, {7, 14, 10}};
    std::mt19937 rng(1717);
    int shown = 0;
    for (int trial = 0; trial < 3000; ++trial) {
        const Timeline t = randomTimeline(rng, trial % 10 == 0 ? 3000 : 200);
        StripView v = t.view();
        v.position = int(rng() % unsigned(v.count + 1));
        v.animating = v.position < v.count && rng() % 2;
        v.paused = rng() % 2;
        v.turnsPerSecond = kSpeeds[rng() % 6];
        int w = 640, h = 480;
        if (trial % 3 == 1) w = 1024, h = 768;
        if (trial % 3 == 2) w = 400 + int(rng() % 1600), h = 300 + int(rng() % 1000);
        const TextMetrics& m = fonts[rng() % 4];
        static StripLayout s;
        layoutSolutionStrip(v, w, h, m, &s);
        shown += s.visible;
        ASSERT_EQ(layoutFault(v, w, h, m, s), "")
            << "trial " << trial << ": " << v.count << " moves, position " << v.position << ", "
            << w << " x " << h << ", advance " << m.advance;
    }
    EXPECT_GT(shown, 2900); // the rules were checked, not skipped
}

TEST(StripLayout, ShowsTheNextRowUnderTheCurrentOneAndNothingForAnEmptyTimeline) {
    const Timeline t = sampleTimeline();
    static StripLayout s;
    const TextMetrics m{11, 20, 15};
    StripView v = t.view();
    int lastFirstRow = 0;
    for (v.position = 0; v.position <= v.count; ++v.position) {
        layoutSolutionStrip(v, 640, 480, m, &s);
        ASSERT_GE(s.rowCount, 3); // 57 moves do not fit two rows at 640 pixels
        const int row = v.position < v.count ? s.tokens[s.current].row : s.rowCount - 1;
        EXPECT_EQ(s.firstRow, std::min(row, s.rowCount - kStripRowsShown));
        EXPECT_GE(s.firstRow, lastFirstRow); // playing on never scrolls back
        lastFirstRow = s.firstRow;
    }
    EXPECT_EQ(s.current, -1); // all played: nothing highlighted
    v.count = 0;
    layoutSolutionStrip(v, 640, 480, m, &s);
    EXPECT_EQ(s.visible, 0);
    layoutSolutionStrip(t.view(), 150, 480, m, &s);
    EXPECT_EQ(s.visible, 0); // too narrow for a row of moves
}

TEST(StripLayout, CounterAndSpeedTexts) {
    const struct {
        int count, position, animating, paused;
        double speed;
        const char *counter, *speedText;
    } cases[] = {
        {57, 0, 0, 0, 1.0, "move 0 / 57", "1 turn/s"},
        {57, 11, 1, 0, 0.5, "move 12 / 57", "0.5 turns/s"},
        {57, 12, 0, 1, 2.0, "move 12 / 57", "paused, 2 turns/s"},
        {57, 57, 0, 0, 20.0, "move 57 / 57", "20 turns/s"},
        {3, 3, 1, 1, 8.0, "move 3 / 3", "paused, 8 turns/s"},
    };
    for (const auto& c : cases) {
        const StripView v{nullptr, nullptr, c.count, c.position, c.animating, c.paused, c.speed};
        char text[64];
        formatStripCounter(v, text, sizeof text);
        EXPECT_STREQ(text, c.counter);
        formatStripSpeed(v, text, sizeof text);
        EXPECT_STREQ(text, c.speedText);
    }
}

// ---- pictures -------------------------------------------------------------

namespace {

bool isColour(const unsigned char* p, StripColour c) {
    for (int ch = 0; ch < 3; ++ch)
        if (std::abs(int(p[ch]) - int(kStripColours[c][ch] * 255.0f + 0.5f)) > 3) return false;
    return true;
}

// Pixels of colour c in the cell of token t (overlay coordinates, y down).
int countInToken(const Picture& pic, const StripToken& t, const TextMetrics& m, StripColour c) {
    int n = 0;
    for (int y = t.y - m.ascent; y < t.y - m.ascent + m.lineHeight; ++y)
        for (int x = t.x; x < t.x + t.chars * m.advance; ++x)
            n += isColour(pic.at(x, pic.height - 1 - y), c);
    return n;
}

} // namespace

class StripPicture : public PanelSuite {
  protected:
    // The strip alone over black, in a w x h view.
    static Picture stripAlone(const StripView& v, int w, int h) {
        glViewport(0, 0, w, h);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        beginTextOverlay(w, h);
        drawSolutionStrip(v, w, h);
        endOverlay();
        return readCorner(w, h);
    }
    // A frame of the program with the strip over it.
    static Picture frameWith(const StripView& v, int w, int h) {
        return PanelSuite::frameWith(w, h, [&] { drawSolutionStrip(v, w, h); });
    }
};

TEST_F(StripPicture, CurrentMoveHighlightedPlayedOnesDimmerTheRestWhite) {
    const Timeline t = sampleTimeline();
    StripView v = t.view();
    v.position = 20;
    const TextMetrics m = panelFontMetrics(kPanelFontLarge);
    ASSERT_GT(m.advance, 0);
    for (const auto& size : {std::pair{640, 480}, std::pair{1024, 768}}) {
        const int w = size.first, h = size.second;
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
        static StripLayout s;
        layoutSolutionStrip(v, w, h, m, &s);
        ASSERT_GE(s.current, 0);
        const Picture pic = stripAlone(v, w, h);
        int played = 0, coming = 0, names = 0;
        for (int i = 0; i < s.tokenCount; ++i) {
            const StripToken& tok = s.tokens[i];
            SCOPED_TRACE("token " + std::to_string(i));
            if (tok.kind == kStripStageName) {
                EXPECT_GT(countInToken(pic, tok, m, kStripStage), 5);
                ++names;
            } else if (i == s.current) {
                EXPECT_GT(countInToken(pic, tok, m, kStripCurrent), 5);
                EXPECT_GT(countInToken(pic, tok, m, kStripCurrentBox), 50);
            } else {
                const StripColour c = tok.index < v.position ? kStripPlayed : kStripComing;
                EXPECT_GT(countInToken(pic, tok, m, c), 3);
                EXPECT_EQ(countInToken(pic, tok, m, kStripCurrent), 0);
                if (c == kStripPlayed) {
                    EXPECT_EQ(countInToken(pic, tok, m, kStripComing), 0);
                }
                (c == kStripPlayed ? played : coming)++;
            }
        }
        EXPECT_GT(played, 5);
        EXPECT_GT(coming, 5);
        EXPECT_GE(names, 1);
        // Nothing is drawn below the band, where the HUD's credit line is.
        for (int y = 0; y < kStripBottomClearance; ++y)
            for (int x = 0; x < w; ++x) ASSERT_EQ(pic.at(x, y)[0] | pic.at(x, y)[1], 0);
    }
    v.count = 0;
    EXPECT_EQ(stripAlone(v, 640, 480).nonBlackPixels(), 0);
}

// Over a whole frame the strip changes only its band: the HUD's lines, the
// credit line among them, stay as they are.
TEST_F(StripPicture, LeavesTheHudAsItIs) {
    const Timeline t = sampleTimeline();
    StripView v = t.view();
    v.position = 30;
    v.animating = 1;
    const TextMetrics m = panelFontMetrics(kPanelFontLarge);
    for (const auto& size : {std::pair{640, 480}, std::pair{1024, 768}}) {
        const int w = size.first, h = size.second;
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
        static StripLayout s;
        layoutSolutionStrip(v, w, h, m, &s);
        startPanelProgram(w, h);
        const Picture plain = PanelSuite::frameWith(w, h, [] {});
        const Picture withStrip = frameWith(v, w, h);
        int changed = 0, changedOutside = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int oy = h - 1 - y;
                const bool band = x >= s.left && x < s.right && oy >= s.top && oy < s.bottom;
                const bool differs = std::memcmp(plain.at(x, y), withStrip.at(x, y), 3) != 0;
                changed += differs;
                changedOutside += differs && !band;
            }
        EXPECT_GT(changed, 1000);
        EXPECT_EQ(changedOutside, 0);
        dumpPanelPicture(withStrip, "strip_" + std::to_string(w));
        v.paused = 1;
        v.turnsPerSecond = 0.5;
        v.position = 57;
        v.animating = 0;
        dumpPanelPicture(frameWith(v, w, h), "strip_end_" + std::to_string(w));
        v = t.view();
        v.position = 30;
        v.animating = 1;
    }
}
