// The banner at the foot of the results page: its picture and DrawBanner.
#include "plot/banner.h"

#include <string_view>

namespace {

// The picture as drawn, '#' for ink: picture rows 20 (top) down to 8, 200 columns each. Rows 0
// to 7 never reach the page and stay blank. The program's name, and a fitted curve through a few
// point markers above an X axis.
// clang-format off
constexpr std::string_view kPicture[] = {
    "......................................................................................................................#.................................................................................",
    "....###....###...###....###...########.....###....###.....######.....###......###......####......##########...........####..............................................................................",
    "....###...###....###....###...#########....###....###....########....####....####.....######.....##########...........#..####...........................................................................",
    "....###..###.....###....###...###....###...###....###...####..####...#####..#####....###..###.......####..............#.....#####............#..........................................................",
    "....###.###......###....###...###....###....###..###....###....###...############...###....###......####..............#.......#.#####.......###.........................................................",
    "....######.......###....###...#########.....###..###....###....###...###.####.###...###....###......####..............#......###....#####....#..........................................................",
    "....#####........###....###...########......###..###....###....###...###..##..###...##########......####..............#.......#.........#######...............................#.........................",
    "....######.......###....###...###.###........######.....###....###...###......###...##########......####..............#.......................#########......................###........................",
    "....###.###......###....###...###..###.......######.....###....###...###......###...###....###......####..............#...............................###########.............#.........................",
    "....###..###.....####..####...###...###.......####......####..####...###......###...###....###......####..............#......................................#..###################.....................",
    "....###...###.....########....###....###......####.......########....###......###...###....###......####..............#.....................................###...................###################...",
    "....###....###.....######.....###....###.......##.........######.....###......###...###....###......####..............#......................................#...............................###........",
    "......................................................................................................................###############################################################################...",
};
// clang-format on

constexpr int kDrawnRows = sizeof(kPicture) / sizeof(kPicture[0]);
static_assert(kDrawnRows == 13, "the picture shows rows 8 to 20");

constexpr bool PictureIsWellFormed() {
    for (std::string_view row : kPicture) {
        if (row.size() != 200) return false;
        for (char c : row)
            if (c != '#' && c != '.') return false;
    }
    return true;
}
static_assert(PictureIsWellFormed(), "every picture row holds 200 of '#' and '.'");

// Byte 21 g + r holds picture row r of column group g (columns 7g to 7g + 6), bit 6 the
// leftmost column; columns 200 to 202 of the last group stay blank.
constexpr std::array<uint8_t, kBannerBytes> PackPicture() {
    std::array<uint8_t, kBannerBytes> bytes{};
    for (int line = 0; line < kDrawnRows; ++line) {
        const int r = kBannerRows - 1 - line;
        for (int column = 0; column < kBannerColumns; ++column) {
            if (kPicture[line][column] != '#') continue;
            const int g = column / 7;
            bytes[21 * g + r] |= static_cast<uint8_t>(1 << (6 - column % 7));
        }
    }
    return bytes;
}

}  // namespace

const std::array<uint8_t, kBannerBytes> kBannerPicture = PackPicture();

void DrawBanner(int left, int right, int top, int bottom, CMyCDC* dc) {
    // Sums and differences in 64 bits: the rectangle's sides may lie far apart.
    const int64_t width = int64_t{right} - left, height = int64_t{bottom} - top;
    const int64_t e = width / 200, h = height / 21;
    if (e <= 0) return;
    const int64_t x0 = left + (width % 200) / 2;
    const int64_t base = bottom - (height % 21) / 2;
    const int64_t lastColumn = x0 + 203 * e - 1;
    const int64_t highest = base - 21 * h, lowest = base - 8 * h;
    // A rectangle whose picture cannot land on int coordinates is left blank.
    const auto fits = [](int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; };
    if (!fits(x0) || !fits(lastColumn) || !fits(highest) || !fits(lowest)) return;

    for (int r = 8; r <= 20; ++r) {
        const int lower = static_cast<int>(base - r * h),
                  upper = static_cast<int>(base - (r + 1) * h);
        for (int g = 28; g >= 0; --g) {
            const uint8_t bits = kBannerPicture[21 * g + r];
            for (int i = 0; i <= 6; ++i) {
                for (int64_t k = 0; k < e; ++k) {
                    const int c = static_cast<int>(x0 + (7 * g + 6 - i) * e + k);
                    dc->MoveTo(c, lower);
                    if (bits & (1 << i)) dc->LineTo(c, upper);
                }
            }
        }
    }
}
