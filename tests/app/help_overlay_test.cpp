// The help overlay: its layout over random tables and windows (every piece
// inside the panel, in its column, apart from the others, no word lost), the
// whole key table at 640 x 480, the wrapping of a cell, and its pictures
// read back.
#include "app/help_layout.h"
#include "app/help_overlay.h"
#include "app/hud_font.h"
#include "app/overlay.h"
#include "tests/app/panel_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

// Every key the program has, with the step, speed, undo and help keys, and
// room to spare: a few more lines than the table the window shows.
const HelpLine kKeyTable[] = {
    {"0 - 6", "Solve with that routine of the menu"},
    {"R", "Mix the cube with 50 random turns"},
    {"Left / Right", "Choose the layer to turn"},
    {"Up / Down", "Turn the chosen layer one way or the other"},
    {"U", "Turn the chosen face towards you"},
    {"W S A D", "Turn the whole cube"},
    {"O L V B", "Turn the scene"},
    {"P, Space", "Pause or go on"},
    {". (period)", "Play the next quarter turn and pause"},
    {", (comma)", "Turn back the last quarter turn and pause"},
    {"Home / End", "Go to the start / the end of the moves"},
    {"- / +", "Slower / faster: 0.5, 1, 2, 4, 8 or 20 turns a second"},
    {"Ctrl+Z", "Undo the last manual turn or mix"},
    {"Ctrl+Y, Ctrl+Shift+Z", "Redo what was undone"},
    {"H, ?", "Show this help"},
    {"G", "Show or hide the floor grid"},
    {"F1", "Switch between full screen and a window"},
    {"Esc", "Quit"},
    {"Left drag", "Turn the layer under the pointer"},
    {"Right drag", "Turn the scene"},
    {"Wheel", "Zoom in or out"},
    {"E", "Edit the colours of the cube"},
};
constexpr int kKeyLines = int(sizeof kKeyTable / sizeof *kKeyTable);

const TextMetrics kFonts[] = {{11, 20, 15}, {14, 18, 14}, {8, 16, 12}, {7, 14, 10}};

std::string withoutSpaces(const char* text) {
    std::string s;
    for (const char* p = text; p && *p; ++p)
        if (*p != ' ') s += *p;
    return s;
}

// The first broken rule of the layout, or "".
std::string layoutFault(const HelpLine* lines, int count, int w, int h, const TextMetrics& m,
                        const HelpLayout& s) {
    if (!s.visible) return w >= 640 && h >= 480 ? "not visible" : "";
    if (s.left < 0 || s.top < 0 || s.right > w || s.bottom > h) return "panel outside the view";
    const auto inside = [&](int x, int y, int chars) {
        return x >= s.left && x + chars * m.advance <= s.right && y - m.ascent >= s.top &&
               y - m.ascent + m.lineHeight <= s.bottom;
    };
    if (!inside(s.titleX, s.titleY, int(std::strlen(kHelpTitle)))) return "title outside";
    std::vector<std::string> cells(size_t(2 * count));
    int lastBlock = 0, lowestY = 0;
    for (int i = 0; i < s.pieceCount; ++i) {
        const HelpPiece& p = s.pieces[i];
        if (!inside(p.x, p.y, p.chars)) return "piece " + std::to_string(i) + " outside";
        if (p.y - m.ascent < s.contentTop) return "piece over the title";
        if (p.chars > (p.action ? s.actionColumns : s.keyColumns)) return "piece too wide";
        for (int j = 0; j < i; ++j) {
            const HelpPiece& q = s.pieces[j];
            if (q.y == p.y && p.x < q.x + q.chars * m.advance && q.x < p.x + p.chars * m.advance)
                return "pieces " + std::to_string(j) + " and " + std::to_string(i) + " overlap";
        }
        // Lines go down a block, then down the next one; a line's rows are
        // below every row of the lines before it in its block.
        const int block = s.blocks == 2 && p.x > s.dividerX;
        if (i > 0 && p.line != s.pieces[i - 1].line) {
            if (p.line < s.pieces[i - 1].line || block < lastBlock) return "lines out of order";
            if (block == lastBlock && p.y <= lowestY) return "lines overlap";
        }
        if (block != lastBlock) lowestY = 0;
        lastBlock = block;
        if (p.y > lowestY && (i + 1 == s.pieceCount || s.pieces[i + 1].line != p.line))
            lowestY = p.y;
        const char* text = p.action ? lines[p.line].action : lines[p.line].keys;
        cells[size_t(2 * p.line + p.action)] += std::string(text + p.start, size_t(p.chars));
    }
    if (s.linesShown > count) return "more lines than the table";
    for (int i = 0; i < s.linesShown; ++i)
        for (int part = 0; part < 2; ++part)
            if (withoutSpaces(cells[size_t(2 * i + part)].c_str()) !=
                withoutSpaces(part ? lines[i].action : lines[i].keys))
                return "line " + std::to_string(i) + " lost text";
    return "";
}

std::string randomWords(std::mt19937& rng, int maxWords) {
    std::string s;
    const int words = int(rng() % unsigned(maxWords + 1));
    for (int i = 0; i < words; ++i) {
        if (i) s += std::string(1 + rng() % 2, ' ');
        s += std::string(1 + rng() % (rng() % 8 ? 9 : 40), char('a' + rng() % 26));
    }
    return s;
}

} // namespace

TEST(HelpLayout, WrapsACellAtSpaces) {
    const struct {
        const char* text;
        int width;
        std::vector<std::string> rows;
    } cases[] = {
        {"Turn the whole cube", 40, {"Turn the whole cube"}},
        {"Turn the whole cube", 10, {"Turn the", "whole cube"}},
        {"Turn the whole cube", 9, {"Turn the", "whole", "cube"}},
        {"  leading  and   trailing  ", 8, {"leading", "and", "trailing"}},
        {"Ctrl+Y, Ctrl+Shift+Z", 8, {"Ctrl+Y,", "Ctrl+Shi", "ft+Z"}},
        {"abcdefghij", 4, {"abcd", "efgh", "ij"}},
        {"", 5, {}},
        {"   ", 5, {}},
        {"word", 0, {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> rows;
        const int n = wrapText(c.text, c.width, [&](int start, int chars) {
            rows.emplace_back(c.text + start, size_t(chars));
        });
        EXPECT_EQ(rows, c.rows) << '"' << c.text << "\" at " << c.width;
        EXPECT_EQ(n, int(c.rows.size()));
    }
}

// The overlay's fonts as the face installed here makes them: the two panel
// sizes and the HUD's.
const TextMetrics kHelpFontMetrics[] = {{11, 20, 15}, {8, 16, 12}, {7, 14, 10}};

TEST(HelpLayout, TheWholeKeyTableFitsBothWindows) {
    static HelpLayout s;
    const struct { int w, h, font, blocks; } cases[] = {{1024, 768, 0, 1}, {640, 480, 1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
        const int font =
            layoutHelpInFirstFitting(kKeyTable, kKeyLines, c.w, c.h, kHelpFontMetrics, 3, &s);
        EXPECT_EQ(font, c.font);
        EXPECT_EQ(s.blocks, c.blocks);
        EXPECT_EQ(s.linesShown, kKeyLines);
        EXPECT_EQ(layoutFault(kKeyTable, kKeyLines, c.w, c.h, kHelpFontMetrics[font], s), "");
    }
    // Too long for any font: the last one shows what fits, whole lines only.
    std::vector<HelpLine> twice(kKeyTable, kKeyTable + kKeyLines);
    twice.insert(twice.end(), kKeyTable, kKeyTable + kKeyLines);
    twice.insert(twice.end(), kKeyTable, kKeyTable + kKeyLines);
    EXPECT_EQ(
        layoutHelpInFirstFitting(twice.data(), 3 * kKeyLines, 640, 480, kHelpFontMetrics, 3, &s),
        2);
    EXPECT_GT(s.linesShown, kKeyLines);
    EXPECT_LT(s.linesShown, 3 * kKeyLines);
}

TEST(HelpLayout, KeepsItsRulesOverRandomTablesAndWindows) {
    std::mt19937 rng(4242);
    static HelpLayout s;
    int cut = 0;
    for (int trial = 0; trial < 1500; ++trial) {
        std::vector<std::string> texts;
        const int count = int(rng() % 50);
        for (int i = 0; i < 2 * count; ++i) texts.push_back(randomWords(rng, i % 2 ? 12 : 3));
        std::vector<HelpLine> lines;
        for (int i = 0; i < count; ++i)
            lines.push_back({texts[size_t(2 * i)].c_str(), texts[size_t(2 * i + 1)].c_str()});
        int w = 640, h = 480;
        if (trial % 3 == 1) w = 1024, h = 768;
        if (trial % 3 == 2) w = 300 + int(rng() % 1600), h = 200 + int(rng() % 1000);
        const TextMetrics& m = kFonts[rng() % 4];
        layoutHelpOverlay(lines.data(), count, w, h, m, &s);
        ASSERT_EQ(layoutFault(lines.data(), count, w, h, m, s), "")
            << "trial " << trial << ": " << count << " lines, " << w << " x " << h;
        cut += s.visible && s.linesShown < count;
    }
    EXPECT_GT(cut, 0); // some tables were too long, and were cut at a line
}

// ---- pictures -------------------------------------------------------------

class HelpPicture : public PanelSuite {};

TEST_F(HelpPicture, KeysAndActionsReadableOverADimmedWindow) {
    for (const auto& size : {std::pair{640, 480}, std::pair{1024, 768}}) {
        const int w = size.first, h = size.second;
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
        // The metrics the layout tests assume are the real ones.
        const TextMetrics real[] = {panelFontMetrics(kPanelFontLarge),
                                    panelFontMetrics(kPanelFontMedium), hudFontMetrics()};
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(real[i].advance, kHelpFontMetrics[i].advance) << "font " << i;
            EXPECT_EQ(real[i].lineHeight, kHelpFontMetrics[i].lineHeight) << "font " << i;
            EXPECT_EQ(real[i].ascent, kHelpFontMetrics[i].ascent) << "font " << i;
        }
        static HelpLayout s;
        const int font = layoutHelpInFirstFitting(kKeyTable, kKeyLines, w, h, real, 3, &s);
        ASSERT_EQ(s.linesShown, kKeyLines);
        ASSERT_LT(font, 2); // a panel font
        const TextMetrics m = real[font];
        startPanelProgram(w, h);
        const Picture plain = frameWith(w, h, [] {});
        const Picture help =
            frameWith(w, h, [w, h] { drawHelpOverlay(kKeyTable, kKeyLines, w, h); });
        dumpPanelPicture(help, "help_" + std::to_string(w));
        // The text is smooth-edged: a pixel of it is told by its hue, the
        // keys' amber (blue well under red) from the actions' white.
        const auto colourOf = [](HelpColour c, const unsigned char* p) {
            if (p[0] < 120) return false;
            return c == kHelpKeys ? p[2] < 0.6 * p[0] : p[1] > 0.85 * p[0] && p[2] > 0.85 * p[0];
        };
        // Each piece shows in its colour, and the other colour not at all.
        for (int i = 0; i < s.pieceCount; ++i) {
            const HelpPiece& p = s.pieces[i];
            int own = 0, other = 0;
            for (int y = p.y - m.ascent; y < p.y - m.ascent + m.lineHeight; ++y)
                for (int x = p.x; x < p.x + p.chars * m.advance; ++x) {
                    const unsigned char* px = help.at(x, h - 1 - y);
                    own += colourOf(p.action ? kHelpAction : kHelpKeys, px);
                    other += colourOf(p.action ? kHelpKeys : kHelpAction, px);
                }
            EXPECT_GE(own, p.chars) << "piece " << i;
            EXPECT_EQ(other, 0) << "piece " << i;
        }
        // Outside the panel the window is dimmed to half; inside it nothing
        // of the scene shows brighter than the panel's own text.
        int bright = 0, dimmedRight = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int oy = h - 1 - y;
                const bool panel = x >= s.left && x < s.right && oy >= s.top && oy < s.bottom;
                if (panel) continue;
                const unsigned char *a = plain.at(x, y), *b = help.at(x, y);
                const int before = a[0] + a[1] + a[2], after = b[0] + b[1] + b[2];
                if (before < 150) continue;
                ++bright;
                dimmedRight += std::abs(2 * after - before) <= 12;
            }
        EXPECT_GT(bright, 20);
        EXPECT_EQ(dimmedRight, bright);
    }
}
