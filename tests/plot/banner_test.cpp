// Tests of the banner: its stored picture and the way DrawBanner scales and places it.
#include "plot/banner.h"

#include <gtest/gtest.h>

#include <set>

#include "plot/file_cdc.h"
#include "support/recording_cdc.h"

namespace {

bool PictureBit(int column, int row) {
    const int g = column / 7;
    return (kBannerPicture[21 * g + row] >> (6 - column % 7)) & 1;
}

TEST(BannerPictureTest, StorageFollowsTheLayout) {
    int ink = 0;
    for (int g = 0; g < 29; ++g)
        for (int r = 0; r < 21; ++r) EXPECT_EQ(kBannerPicture[21 * g + r] & 0x80, 0) << g << r;
    for (int column = 0; column < 203; ++column) {
        for (int row = 0; row < 21; ++row) {
            if (!PictureBit(column, row)) continue;
            EXPECT_LT(column, 200) << "columns 200 to 202 stay blank";
            EXPECT_GE(row, 8) << "rows 0 to 7 never reach the page";
            ++ink;
        }
    }
    EXPECT_GT(ink, 600) << "the name and the curve carry ink";
}

TEST(BannerTest, PageBandScalesByTwoAndMovesForEveryBit) {
    // The band of the 2000 x 1333 page: 796..1204 across, 1289..1333 down.
    RecordingCDC dc;
    DrawBanner(796, 1204, 1289, 1333, &dc);
    // e = 408 / 200 = 2, h = 44 / 21 = 2, x0 = 796 + 8 / 2 = 800, base = 1333 - 2 / 2 = 1332.
    int moves = 0;
    std::set<std::pair<int, int>> inked;
    for (size_t i = 0; i < dc.calls.size(); ++i) {
        const RecordedCall& call = dc.calls[i];
        if (!call.line) {
            ++moves;
            EXPECT_GE(call.x, 800);
            EXPECT_LE(call.x, 800 + 203 * 2 - 1) << "columns 200 to 202 are moved over too";
            continue;
        }
        const RecordedCall& from = dc.calls[i - 1];
        ASSERT_FALSE(from.line) << "each stroke starts with its own move";
        EXPECT_EQ(call.x, from.x);
        EXPECT_EQ(call.y, from.y - 2) << "strokes rise by h";
        const int column = (call.x - 800) / 2, row = (1332 - from.y) / 2;
        EXPECT_TRUE(PictureBit(column, row)) << column << ", " << row;
        inked.insert({column, row});
    }
    EXPECT_EQ(moves, 13 * 29 * 7 * 2);
    // The first move: row 8, group 28, bit 0 (column 202), first of its two pixel columns.
    EXPECT_EQ(dc.calls.front(), (RecordedCall{false, 800 + 202 * 2, 1332 - 16}));
    // Every inked bit of rows 8 to 20 is drawn.
    int bits = 0;
    for (int column = 0; column < 200; ++column)
        for (int row = 8; row <= 20; ++row) bits += PictureBit(column, row);
    EXPECT_EQ(static_cast<int>(inked.size()), bits);
}

TEST(BannerTest, PictureIsCentredInItsRectangle) {
    struct Case {
        int left, right, top, bottom;
        RecordedCall first;
    };
    const Case cases[] = {
        // e = 2, x0 = 0 + 50 / 2 = 25; h = 2, base = 50 - 8 / 2 = 46.
        {0, 450, 0, 50, {false, 25 + 202 * 2, 46 - 8 * 2}},
        // e = 1, x0 = 10 + 1 / 2 = 10; h = 1, base = 40 - 0 = 40.
        {10, 211, 19, 40, {false, 10 + 202, 40 - 8}},
        // e = 3, x0 = -700 + 0 = -700; h = 3, base = 2 - 5 / 2 = 0.
        {-700, -100, -66, 2, {false, -700 + 202 * 3, 0 - 8 * 3}},
    };
    for (const Case& c : cases) {
        RecordingCDC dc;
        DrawBanner(c.left, c.right, c.top, c.bottom, &dc);
        ASSERT_FALSE(dc.calls.empty());
        EXPECT_EQ(dc.calls.front(), c.first) << c.left << ".." << c.right;
    }
}

TEST(BannerTest, NarrowOrLowRectangles) {
    RecordingCDC narrow;
    DrawBanner(0, 199, 0, 100, &narrow);
    EXPECT_TRUE(narrow.calls.empty()) << "e = 0 draws nothing";
    RecordingCDC reversed;
    DrawBanner(500, 0, 0, 100, &reversed);
    EXPECT_TRUE(reversed.calls.empty());
    RecordingCDC low;
    DrawBanner(0, 200, 0, 20, &low);
    ASSERT_FALSE(low.strokes.empty());
    for (const RecordedStroke& s : low.strokes) EXPECT_EQ(s.y0, s.y1) << "h = 0: length 0";
    RecordingCDC huge;
    DrawBanner(INT_MIN, INT_MAX, INT_MIN, INT_MAX, &huge);
    EXPECT_TRUE(huge.calls.empty()) << "a picture beyond the int range is left out";
}

TEST(BannerTest, DrawnIntoTheBitmapShowsThePictureRows) {
    // e = 1 and h = 2: picture pixel (column, row) covers rows base - 2row - 2 .. base - 2row.
    CMyFileCDC bitmap(96, 96);
    DrawBanner(0, 200, 0, 42, &bitmap);
    for (int column = 0; column < 203; ++column) {
        for (int row = 8; row <= 20; ++row) {
            // The middle pixel of each stroke belongs to that stroke alone.
            EXPECT_EQ(bitmap.Pixel(column, 42 - 2 * row - 1), PictureBit(column, row))
                << column << ", " << row;
        }
    }
    for (int y = 42 - 16 + 1; y < 1333; ++y)
        for (int x = 0; x < 2000; x += 7) EXPECT_FALSE(bitmap.Pixel(x, y)) << x << ", " << y;
}

}  // namespace
