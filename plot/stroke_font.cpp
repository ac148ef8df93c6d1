// The stroke font's tables and DrawStrokeText.
#include "plot/stroke_font.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr std::array<uint8_t, 256> BuildCharacterMap() {
    std::array<uint8_t, 256> map{};
    for (int letter = 0; letter < 26; ++letter) {
        map['A' + letter] = static_cast<uint8_t>(1 + letter);
        map['a' + letter] = static_cast<uint8_t>(1 + letter);
    }
    map['+'] = 27;
    map['-'] = 28;
    map['*'] = 29;
    map['/'] = 30;
    map['('] = 31;
    map[')'] = 32;
    map['='] = 33;
    for (int digit = 1; digit <= 9; ++digit) map['0' + digit] = static_cast<uint8_t>(33 + digit);
    map['0'] = 43;
    map[','] = 44;
    map['.'] = 44;
    map['^'] = 45;
    map['~'] = 45;
    map['\''] = 46;
    return map;
}

bool FitsInt(int64_t value) {
    return value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max();
}

}  // namespace

const std::array<uint8_t, 256> StrokeFont::characterMap = BuildCharacterMap();

// clang-format off
const std::array<std::array<uint8_t, StrokeFont::kGlyphRows>, StrokeFont::kGlyphCount>
    StrokeFont::glyphs = {{
    // row 0 (bottom) ... row 5 (top)
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00},  //  0 blank
    {0x22, 0x3E, 0x22, 0x14, 0x08, 0x00},  //  1 A
    {0x3C, 0x22, 0x3C, 0x22, 0x3C, 0x00},  //  2 B
    {0x1E, 0x20, 0x20, 0x20, 0x1E, 0x00},  //  3 C
    {0x3C, 0x22, 0x22, 0x22, 0x3C, 0x00},  //  4 D
    {0x3E, 0x20, 0x38, 0x20, 0x3E, 0x00},  //  5 E
    {0x20, 0x20, 0x38, 0x20, 0x3E, 0x00},  //  6 F
    {0x1E, 0x22, 0x2E, 0x20, 0x1E, 0x00},  //  7 G
    {0x22, 0x22, 0x3E, 0x22, 0x22, 0x00},  //  8 H
    {0x1C, 0x08, 0x08, 0x08, 0x1C, 0x00},  //  9 I
    {0x30, 0x08, 0x08, 0x08, 0x1C, 0x00},  // 10 J
    {0x22, 0x24, 0x38, 0x24, 0x22, 0x00},  // 11 K
    {0x3E, 0x20, 0x20, 0x20, 0x20, 0x00},  // 12 L
    {0x22, 0x22, 0x2A, 0x36, 0x22, 0x00},  // 13 M
    {0x22, 0x26, 0x2A, 0x32, 0x22, 0x00},  // 14 N
    {0x1C, 0x22, 0x22, 0x22, 0x1C, 0x00},  // 15 O
    {0x20, 0x20, 0x3C, 0x22, 0x3C, 0x00},  // 16 P
    {0x1A, 0x24, 0x24, 0x24, 0x18, 0x00},  // 17 Q
    {0x22, 0x24, 0x3C, 0x22, 0x3C, 0x00},  // 18 R
    {0x3C, 0x02, 0x1C, 0x20, 0x1E, 0x00},  // 19 S
    {0x08, 0x08, 0x08, 0x08, 0x3E, 0x00},  // 20 T
    {0x1C, 0x22, 0x22, 0x22, 0x22, 0x00},  // 21 U
    {0x08, 0x14, 0x14, 0x22, 0x22, 0x00},  // 22 V
    {0x22, 0x36, 0x2A, 0x22, 0x22, 0x00},  // 23 W
    {0x22, 0x14, 0x08, 0x14, 0x22, 0x00},  // 24 X
    {0x08, 0x08, 0x08, 0x14, 0x22, 0x00},  // 25 Y
    {0x3E, 0x10, 0x08, 0x04, 0x3E, 0x00},  // 26 Z
    {0x08, 0x08, 0x3E, 0x08, 0x08, 0x00},  // 27 +
    {0x00, 0x00, 0x3E, 0x00, 0x00, 0x00},  // 28 -
    {0x14, 0x08, 0x3E, 0x08, 0x14, 0x00},  // 29 *
    {0x20, 0x10, 0x08, 0x04, 0x02, 0x00},  // 30 /
    {0x0C, 0x10, 0x10, 0x10, 0x0C, 0x00},  // 31 (
    {0x30, 0x08, 0x08, 0x08, 0x30, 0x00},  // 32 )
    {0x00, 0x3E, 0x00, 0x3E, 0x00, 0x00},  // 33 =
    {0x1C, 0x08, 0x28, 0x18, 0x08, 0x00},  // 34 1
    {0x3E, 0x08, 0x04, 0x22, 0x1C, 0x00},  // 35 2
    {0x3C, 0x02, 0x3C, 0x02, 0x3C, 0x00},  // 36 3
    {0x04, 0x3E, 0x24, 0x14, 0x0C, 0x00},  // 37 4
    {0x3C, 0x02, 0x3C, 0x20, 0x3E, 0x00},  // 38 5
    {0x1C, 0x22, 0x3C, 0x20, 0x1C, 0x00},  // 39 6
    {0x10, 0x08, 0x04, 0x02, 0x3E, 0x00},  // 40 7
    {0x1C, 0x22, 0x1C, 0x22, 0x1C, 0x00},  // 41 8
    {0x1C, 0x02, 0x1E, 0x22, 0x1C, 0x00},  // 42 9
    {0x1C, 0x22, 0x22, 0x22, 0x1C, 0x00},  // 43 0
    {0x10, 0x08, 0x00, 0x00, 0x00, 0x00},  // 44 , and .
    {0x00, 0x00, 0x22, 0x14, 0x08, 0x00},  // 45 ^ and ~
    {0x00, 0x00, 0x00, 0x10, 0x08, 0x00},  // 46 '
}};
// clang-format on

const std::array<uint8_t, StrokeFont::kGlyphRows>& StrokeFont::GlyphOf(wchar_t character) {
    const auto code = static_cast<uint32_t>(character);
    return glyphs[code > 255 ? 0 : characterMap[code]];
}

void DrawStrokeText(int x, int y, const std::wstring& text, bool centreX, bool centreY, CMyCDC* dc,
                    int size) {
    int n = size > 0 ? size : 1;
    const double length = static_cast<double>(text.size());
    // Half the text's width, 3.5 × n × len, truncated; worked in doubles so that no product of
    // a large size and a long text overflows.
    auto halfWidth = [&](int dots) { return std::trunc(3.5 * dots * length); };
    // The reductions keep the largest n not above the size for which the text starts at or right
    // of 0 (top at or below 0), else 1. Both tests only grow with n, so the largest is found by
    // halving rather than by one step per unit of a possibly huge size.
    if (centreX) {
        int fits = 0;
        for (int low = 1, high = n; low <= high;) {
            const int mid = low + (high - low) / 2;
            if (x - halfWidth(mid) >= 0) {
                fits = mid;
                low = mid + 1;
            } else {
                high = mid - 1;
            }
        }
        n = fits > 0 ? fits : 1;
    }
    if (centreY) {
        const int64_t fits = y >= 0 ? std::min<int64_t>(n, y / 3) : 0;
        n = fits > 0 ? static_cast<int>(fits) : 1;
    }
    int64_t left = x, top = y;
    if (centreX) {
        const double shifted = x - halfWidth(n);
        // Past about 2^62 the text lies wholly outside any int position anyway.
        if (!(shifted > -4.0e18)) return;
        left = static_cast<int64_t>(shifted);
    }
    if (centreY) top = y - 3 * static_cast<int64_t>(n);

    for (size_t j = 0; j < text.size(); ++j) {
        const auto& glyph = StrokeFont::GlyphOf(text[j]);
        for (int r = 0; r < StrokeFont::kGlyphRows; ++r) {
            const int64_t rowTop = top + (4 - r) * int64_t{n};
            const int64_t rowBottom = top + (5 - r) * int64_t{n};
            if (!FitsInt(rowTop) || !FitsInt(rowBottom)) continue;
            for (int i = 0; i <= 6; ++i) {
                if (!(glyph[r] & (1 << i))) continue;
                for (int k = 0; k < n; ++k) {
                    const int64_t column =
                        left + (7 * static_cast<int64_t>(j) + 6 - i) * int64_t{n} + k;
                    if (!FitsInt(column)) continue;
                    dc->MoveTo(static_cast<int>(column), static_cast<int>(rowTop));
                    dc->LineTo(static_cast<int>(column), static_cast<int>(rowBottom));
                }
            }
        }
    }
}
