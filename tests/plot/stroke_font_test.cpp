// Tests of the stroke font: the glyph placement, the centring reductions and the character map.
#include "plot/stroke_font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "support/recording_cdc.h"

namespace {

RecordingCDC Draw(int x, int y, const std::wstring& text, bool centreX, bool centreY, int size) {
    RecordingCDC dc;
    DrawStrokeText(x, y, text, centreX, centreY, &dc, size);
    return dc;
}

// The strokes of one glyph drawn from a picture: picture line 0 is dot row 4 (the top inked
// row), line 4 is dot row 0; a '#' at column c is the dot in column c of the 7-dot cell.
std::set<std::tuple<int, int, int, int>> StrokesFromPicture(const std::vector<std::string>& picture,
                                                            int x, int y, int n) {
    std::set<std::tuple<int, int, int, int>> strokes;
    for (int line = 0; line < 5; ++line) {
        const int r = 4 - line;
        for (int column = 0; column < 7; ++column) {
            if (picture[line][column] != '#') continue;
            for (int k = 0; k < n; ++k)
                strokes.insert(
                    {x + column * n + k, y + (4 - r) * n, x + column * n + k, y + (5 - r) * n});
        }
    }
    return strokes;
}

std::set<std::tuple<int, int, int, int>> StrokeSet(const RecordingCDC& dc) {
    std::set<std::tuple<int, int, int, int>> strokes;
    for (const RecordedStroke& s : dc.strokes) strokes.insert({s.x0, s.y0, s.x1, s.y1});
    return strokes;
}

const std::vector<std::string> kA = {
    "...#...", "..#.#..", ".#...#.", ".#####.", ".#...#.",
};
const std::vector<std::string> kB = {
    ".####..", ".#...#.", ".####..", ".#...#.", ".####..",
};

TEST(StrokeTextTest, ABAtSizeTwoDrawsTwoCellsOfTwoByTwoDots) {
    const RecordingCDC dc = Draw(100, 50, L"AB", false, false, 2);
    auto expected = StrokesFromPicture(kA, 100, 50, 2);
    const auto b = StrokesFromPicture(kB, 114, 50, 2);
    expected.insert(b.begin(), b.end());
    EXPECT_EQ(StrokeSet(dc), expected);
    // Every stroke is a move to its top followed by one line down to its bottom, no other call.
    ASSERT_EQ(dc.calls.size(), 2 * dc.strokes.size());
    for (size_t i = 0; i < dc.calls.size(); i += 2) {
        EXPECT_FALSE(dc.calls[i].line);
        EXPECT_TRUE(dc.calls[i + 1].line);
        EXPECT_EQ(dc.calls[i].x, dc.calls[i + 1].x);
        EXPECT_EQ(dc.calls[i + 1].y, dc.calls[i].y + 2);
    }
    // The bottom dot row first, its rightmost dot first: A's right leg at columns 110 and 111.
    EXPECT_EQ(dc.calls[0], (RecordedCall{false, 110, 58}));
    EXPECT_EQ(dc.calls[1], (RecordedCall{true, 110, 60}));
    EXPECT_EQ(dc.calls[2], (RecordedCall{false, 111, 58}));
}

TEST(StrokeTextTest, CharactersMapToTheirGlyphs) {
    struct Case {
        std::wstring text;
        std::wstring sameAs;
    };
    const Case cases[] = {
        {L"kurvomat abcdefghijklmnopqrstuvwxyz", L"KURVOMAT ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
        {L"3.5", L"3,5"},
        {L"~", L"^"},
        // Unmapped and above 255: blank cells of full width. 0x141 and 0x2C would read as 'A'
        // and ',' if the code were cut to 8 bits; -191 likewise as 'A'.
        {L"A!A", L"A A"},
        {L"A\u0141A\u012C", L"A A "},
        {std::wstring{L'A', static_cast<wchar_t>(-191), L'A'}, L"A A"},
        {L"\u00E9\u00C0\t", L"   "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Draw(20, 30, c.text, false, false, 3).calls,
                  Draw(20, 30, c.sameAs, false, false, 3).calls)
            << std::string(c.sameAs.begin(), c.sameAs.end());
    }
    EXPECT_TRUE(Draw(20, 30, L" !?\u00E9\u20AC", false, false, 3).calls.empty());
}

TEST(StrokeTextTest, ThePointIsTheCommaShapedGlyph) {
    const RecordingCDC dot = Draw(0, 0, L".", false, false, 1);
    const std::vector<RecordedCall> expected = {
        {false, 2, 4},
        {true, 2, 5},  // dot row 0, column 2
        {false, 3, 3},
        {true, 3, 4},  // dot row 1, column 3
    };
    EXPECT_EQ(dot.calls, expected);
    // In "3.5" it sits in the second cell.
    const RecordingCDC number = Draw(0, 0, L"3.5", false, false, 1);
    EXPECT_NE(number.Find({{false, 9, 4}, {true, 9, 5}, {false, 10, 3}, {true, 10, 4}}), -1);
}

TEST(StrokeTextTest, GlyphsOfTheSignsAndDigits) {
    const std::vector<std::pair<std::wstring, std::vector<std::string>>> cases = {
        {L"1", {"...#...", "..##...", ".#.#...", "...#...", "..###.."}},
        {L"0", {"..###..", ".#...#.", ".#...#.", ".#...#.", "..###.."}},
        {L"7", {".#####.", ".....#.", "....#..", "...#...", "..#...."}},
        {L"=", {".......", ".#####.", ".......", ".#####.", "......."}},
        {L"'", {"...#...", "..#....", ".......", ".......", "......."}},
        {L"*", {"..#.#..", "...#...", ".#####.", "...#...", "..#.#.."}},
    };
    for (const auto& [text, picture] : cases)
        EXPECT_EQ(StrokeSet(Draw(40, 10, text, false, false, 1)),
                  StrokesFromPicture(picture, 40, 10, 1))
            << std::string(text.begin(), text.end());
}

struct CentringCase {
    const char* name;
    int x, y;
    std::wstring text;
    bool centreX, centreY;
    int size;
    int left, top, n;  // expected cell origin and dot size
};

TEST(StrokeTextTest, CentringShiftsAndReducesTheSize) {
    const CentringCase cases[] = {
        // 3.5 × 3 × 10 = 105 > 10, 3.5 × 2 × 10 = 70 > 10, 3.5 × 1 × 10 = 35 > 10: n reaches 0,
        // is set back to 1, and the text starts left of 0.
        {"reduced to 1 and still left of 0", 10, 0, L"HHHHHHHHHH", true, false, 3, -25, 0, 1},
        {"5 - 6 < 0 gives n = 1", 0, 5, L"H", false, true, 2, 0, 2, 1},
        {"no reduction needed", 1000, 100, L"HH", true, true, 4, 972, 88, 4},
        {"odd half width truncated", 100, 0, L"H", true, false, 1, 97, 0, 1},
        {"reduced to 2", 15, 0, L"HH", true, false, 5, 1, 0, 2},
        {"size 0 draws at size 1", 5, 5, L"H", false, false, 0, 5, 5, 1},
        {"negative size draws at size 1", 5, 5, L"H", false, false, -4, 5, 5, 1},
        {"centred at size 0", 100, 100, L"H", true, true, 0, 97, 97, 1},
    };
    const std::vector<std::string> h = {".#...#.", ".#...#.", ".#####.", ".#...#.", ".#...#."};
    for (const CentringCase& c : cases) {
        const RecordingCDC dc = Draw(c.x, c.y, c.text, c.centreX, c.centreY, c.size);
        auto expected = StrokesFromPicture(h, c.left, c.top, c.n);
        for (size_t j = 1; j < c.text.size(); ++j) {
            const auto more =
                StrokesFromPicture(h, c.left + static_cast<int>(7 * j) * c.n, c.top, c.n);
            expected.insert(more.begin(), more.end());
        }
        EXPECT_EQ(StrokeSet(dc), expected) << c.name;
    }
}

TEST(StrokeTextTest, EmptyTextDrawsNothing) {
    EXPECT_TRUE(Draw(100, 50, L"", false, false, 2).calls.empty());
    EXPECT_TRUE(Draw(0, 0, L"", true, true, 2).calls.empty());
}

TEST(StrokeTextTest, StrokesBeyondTheIntRangeAreLeftOut) {
    // The second cell lies past INT_MAX: only the first character's strokes are drawn, and no
    // column wraps around to a negative value.
    const RecordingCDC right = Draw(INT_MAX - 6, 0, L"HH", false, false, 1);
    EXPECT_EQ(StrokeSet(right),
              StrokesFromPicture({".#...#.", ".#...#.", ".#####.", ".#...#.", ".#...#."},
                                 INT_MAX - 6, 0, 1));
    const RecordingCDC low = Draw(0, INT_MAX - 2, L"H", false, false, 4);
    EXPECT_TRUE(low.calls.empty());
    // A huge size centred: only strokes whose positions fit, each of them well formed.
    const RecordingCDC huge = Draw(0, 0, L"A", true, true, INT_MAX);
    for (const RecordedStroke& s : huge.strokes) EXPECT_LT(s.y0, s.y1);
}

TEST(StrokeFontTest, MapCoversTheListedCharactersOnly) {
    int mapped = 0;
    for (int code = 0; code < 256; ++code) {
        const int glyph = StrokeFont::characterMap[code];
        EXPECT_LT(glyph, StrokeFont::kGlyphCount) << code;
        if (glyph != 0) ++mapped;
    }
    // 26 capitals, 26 small letters, + - * / ( ) =, ten digits, , . ^ ~ and the apostrophe.
    EXPECT_EQ(mapped, 26 + 26 + 7 + 10 + 5);
    for (const auto& glyph : StrokeFont::glyphs) {
        EXPECT_EQ(glyph[5], 0) << "the top row stays empty";
        for (uint8_t row : glyph) EXPECT_EQ(row & 0x80, 0);
    }
}

}  // namespace
