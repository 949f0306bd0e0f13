// The help overlay: its layout over random tables, the key table read back.
#include "app/help_layout.h"
#include "app/help_overlay.h"
#include "tests/app/panel_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

std::string words(const char* text) {
    std::string s;
    for (const char* p = text; *p; ++p) s += *p == ' ' ? "" : std::string(1, *p);
    return s;
}

} // namespace

// Every piece in the panel, in its column, apart; every line's words kept whole.
TEST(HelpLayout, KeepsItsRulesOverRandomTablesAndWindows) {
    std::mt19937 rng(4242);
    static HelpLayout s;
    int cut = 0;
    for (int trial = 0; trial < 1500; ++trial) {
        std::vector<std::string> texts(2 * (rng() % 50));
        for (std::string& t : texts)
            for (int i = int(rng() % 12); i > 0; --i)
                t += std::string(1 + rng() % 2, ' ') +
                     std::string(1 + rng() % (rng() % 8 ? 9 : 40), char('a' + rng() % 26));
        std::vector<HelpLine> lines;
        for (size_t i = 0; i < texts.size(); i += 2)
            lines.push_back({texts[i].c_str(), texts[i + 1].c_str()});
        const int count = int(lines.size());
        const int w = 300 + int(rng() % 1600), h = 200 + int(rng() % 1000);
        const TextMetrics m{7 + int(rng() % 8), 14 + int(rng() % 8), 10};
        layoutHelpOverlay(lines.data(), count, w, h, m, &s);
        SCOPED_TRACE("trial " + std::to_string(trial));
        std::vector<std::string> cells(2 * size_t(count));
        for (int i = 0; i < s.pieceCount; ++i) {
            const HelpPiece& p = s.pieces[i];
            ASSERT_TRUE(p.x >= s.left && p.x + p.chars * m.advance <= s.right &&
                        p.y - m.ascent >= s.contentTop &&
                        p.y - m.ascent + m.lineHeight <= s.bottom && s.bottom <= h);
            ASSERT_LE(p.chars, p.action ? s.actionColumns : s.keyColumns);
            for (int j = 0; j < i; ++j)
                ASSERT_FALSE(s.pieces[j].y == p.y &&
                             std::abs(s.pieces[j].x - p.x) < m.advance * (p.chars + 1) &&
                             std::abs(s.pieces[j].x - p.x) < m.advance * (s.pieces[j].chars + 1))
                    << "pieces " << j << " and " << i << " overlap";
            const char* text = p.action ? lines[size_t(p.line)].action : lines[size_t(p.line)].keys;
            cells[size_t(2 * p.line + p.action)] += std::string(text + p.start, size_t(p.chars));
        }
        for (int i = 0; i < s.linesShown; ++i) {
            ASSERT_EQ(words(cells[size_t(2 * i)].c_str()), words(lines[size_t(i)].keys));
            ASSERT_EQ(words(cells[size_t(2 * i + 1)].c_str()), words(lines[size_t(i)].action));
        }
        cut += s.visible && s.linesShown < count;
    }
    EXPECT_GT(cut, 0); // some tables were too long, and were cut after a whole line
}

class HelpPicture : public PanelSuite {};

// The whole key table at both sizes: keys amber, actions white, the window dimmed.
TEST_F(HelpPicture, TheWholeKeyTableReadableOverADimmedWindow) {
    const TextMetrics fonts[] = {panelFontMetrics(kPanelFontLarge),
                                 panelFontMetrics(kPanelFontMedium), hudFontMetrics()};
    for (const int w : {640, 1024}) {
        const int h = w * 3 / 4;
        SCOPED_TRACE(w);
        static HelpLayout s, larger;
        const int font = layoutHelpInFirstFitting(kHelpLines, kHelpLineCount, w, h, fonts, 3, &s);
        EXPECT_TRUE(w < 1024 || font == kPanelFontLarge);
        for (int f = 0; f < font; ++f) { // the larger fonts cannot show the whole table
            layoutHelpOverlay(kHelpLines, kHelpLineCount, w, h, fonts[f], &larger);
            EXPECT_LT(larger.visible ? larger.linesShown : 0, kHelpLineCount) << "font " << f;
        }
        EXPECT_EQ(s.linesShown, kHelpLineCount);
        const TextMetrics m = fonts[font];
        start(w, h);
        const Picture plain = frameWith(
            w, h, [] {}, nullptr);
        const std::string name = "help_" + std::to_string(w);
        const Picture pic = frameWith(
            w, h, [&] { drawHelpOverlay(kHelpLines, kHelpLineCount, w, h); }, name.c_str());
        // Smooth text: amber has blue well under red, white all three alike.
        const auto amber = [](const unsigned char* p) { return p[0] > 120 && p[2] < 0.6 * p[0]; };
        const auto white = [](const unsigned char* p) {
            return p[0] > 120 && p[1] > 0.85 * p[0] && p[2] > 0.85 * p[0];
        };
        for (int i = 0; i < s.pieceCount; ++i) {
            const HelpPiece& p = s.pieces[i];
            int own = 0, other = 0;
            for (int y = p.y - m.ascent; y < p.y - m.ascent + m.lineHeight; ++y)
                for (int x = p.x; x < p.x + p.chars * m.advance; ++x) {
                    const unsigned char* px = pic.at(x, h - 1 - y);
                    own += p.action ? white(px) : amber(px);
                    other += p.action ? amber(px) : white(px);
                }
            EXPECT_GE(own, p.chars) << "piece " << i;
            EXPECT_EQ(other, 0) << "piece " << i;
        }
        int bright = 0, halved = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int oy = h - 1 - y;
                if (x >= s.left && x < s.right && oy >= s.top && oy < s.bottom) continue;
                const unsigned char *a = plain.at(x, y), *b = pic.at(x, y);
                if (a[0] + a[1] + a[2] < 150) continue;
                ++bright;
                halved += std::abs(2 * (b[0] + b[1] + b[2]) - (a[0] + a[1] + a[2])) <= 12;
            }
        EXPECT_GT(bright, 20);
        EXPECT_EQ(halved, bright);
    }
}
