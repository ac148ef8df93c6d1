// Tests of the bitmap context: the rasteriser's pixels, the skipping of pixels outside the buffer
// and the bitmap header.
#include "plot/file_cdc.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace {

using Pixels = std::set<std::pair<int, int>>;

constexpr double kExportDpiX = 179.5053003533569;
constexpr double kExportDpiY = 179.52386002120892;

Pixels InkPixels(const CMyFileCDC& dc) {
    Pixels ink;
    for (int y = 0; y < dc.rowCount; ++y) {
        const uint8_t* row = dc.Row(y);
        for (int b = 0; b < dc.rowBytes; ++b) {
            if (row[b] == 0) continue;
            for (int bit = 0; bit < 8; ++bit)
                if (row[b] & (0x80 >> bit)) ink.insert({8 * b + bit, y});
        }
    }
    return ink;
}

Pixels DrawLine(int x0, int y0, int x1, int y1) {
    CMyFileCDC dc(96, 96);
    dc.MoveTo(x0, y0);
    dc.LineTo(x1, y1);
    return InkPixels(dc);
}

struct LineCase {
    const char* name;
    int x0, y0, x1, y1;
    Pixels expected;
};

TEST(FileCdcRasteriserTest, SetsExactlyThePixelsOfTheWorkedExamples) {
    const std::vector<LineCase> cases = {
        {"a point", 0, 0, 0, 0, {{0, 0}}},
        {"horizontal",
         10,
         5,
         20,
         5,
         {{10, 5},
          {11, 5},
          {12, 5},
          {13, 5},
          {14, 5},
          {15, 5},
          {16, 5},
          {17, 5},
          {18, 5},
          {19, 5},
          {20, 5}}},
        {"vertical", 7, 3, 7, 6, {{7, 3}, {7, 4}, {7, 5}, {7, 6}}},
        {"shallow", 0, 0, 3, 1, {{0, 0}, {1, 0}, {2, 0}, {3, 1}}},
        // Ten additions of 0.3 stay below 3: the last pixel lies one row short of the end.
        {"running sum short of the end",
         0,
         0,
         10,
         3,
         {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 1}, {5, 1}, {6, 1}, {7, 2}, {8, 2}, {9, 2}, {10, 2}}},
        {"steep from the upper end",
         5,
         10,
         6,
         0,
         {{6, 0}, {5, 1}, {5, 2}, {5, 3}, {5, 4}, {5, 5}, {5, 6}, {5, 7}, {5, 8}, {5, 9}, {5, 10}}},
        {"slope 1 walked by columns", 0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        {"slope -1 walked by columns", 0, 3, 3, 0, {{0, 3}, {1, 2}, {2, 1}, {3, 0}}},
        // Negative running sums truncate toward zero, not down.
        {"rising to the right", 0, 3, 4, 1, {{0, 3}, {1, 2}, {2, 2}, {3, 1}, {4, 1}}},
    };
    for (const LineCase& c : cases) {
        EXPECT_EQ(DrawLine(c.x0, c.y0, c.x1, c.y1), c.expected) << c.name << " forward";
        EXPECT_EQ(DrawLine(c.x1, c.y1, c.x0, c.y0), c.expected) << c.name << " backward";
    }
}

TEST(FileCdcRasteriserTest, MoveAnswersTheNewPointAndLinesChainFromTheirEnd) {
    CMyFileCDC dc(96, 96);
    const CMyPoint p = dc.MoveTo(4, 9);
    EXPECT_EQ(p.x, 4);
    EXPECT_EQ(p.y, 9);
    EXPECT_EQ(dc.LineTo(6, 9), 1);
    EXPECT_EQ(dc.LineTo(6, 11), 1);  // from (6, 9), not from (4, 9)
    EXPECT_EQ(InkPixels(dc), (Pixels{{4, 9}, {5, 9}, {6, 9}, {6, 10}, {6, 11}}));
}

// The walk as written in the design, without any clipping, over 64-bit integers.
Pixels ReferenceWalk(int64_t cx, int64_t cy, int64_t x, int64_t y) {
    Pixels all;
    auto keep = [&](double c, double r) {
        c = std::trunc(c);
        r = std::trunc(r);
        if (c >= 0 && c < 2000 && r >= 0 && r < 1333) all.insert({int(c), int(r)});
    };
    if (x == cx) {
        for (int64_t r = std::min(cy, y); r <= std::max(cy, y); ++r) keep(double(x), double(r));
    } else if (y == cy) {
        for (int64_t c = std::min(cx, x); c <= std::max(cx, x); ++c) keep(double(c), double(y));
    } else {
        const double a = double(y - cy) / double(x - cx);
        if (a >= -1 && a <= 1) {
            const bool fromCurrent = cx < x;
            const int64_t xl = fromCurrent ? cx : x, xr = fromCurrent ? x : cx;
            double v = double(fromCurrent ? cy : y);
            for (int64_t c = xl; c <= xr; ++c, v += a) keep(double(c), v);
        } else {
            const bool fromCurrent = cy < y;
            const int64_t yu = fromCurrent ? cy : y, yd = fromCurrent ? y : cy;
            double u = double(fromCurrent ? cx : x);
            for (int64_t r = yu; r <= yd; ++r, u += 1 / a) keep(u, double(r));
        }
    }
    return all;
}

TEST(FileCdcRasteriserTest, LinesReachingOutsideKeepExactlyTheirInsidePixels) {
    struct Case {
        int x0, y0, x1, y1;
    };
    std::vector<Case> cases = {
        {-50, 10, 60, 40},
        {1990, 5, 2030, 25},
        {-7, -7, 20, 20},
        {1995, 1320, 2010, 1345},
        {30, -400, 31, 900},
        {-1000000, 3, 1000000, 7},
        {-1000000, -1000000, 1000000, 1000000},
        {2100, 10, 1900, 12},
        {5, 2000, 1999, -300},
        {1999, -5, 1999, 1400},
        {-3, 1332, 2500, 1332},
    };
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> coordinate(-3000, 4000);
    for (int i = 0; i < 200; ++i)
        cases.push_back(
            {coordinate(random), coordinate(random), coordinate(random), coordinate(random)});
    for (const Case& c : cases) {
        EXPECT_EQ(DrawLine(c.x0, c.y0, c.x1, c.y1), ReferenceWalk(c.x0, c.y0, c.x1, c.y1))
            << "(" << c.x0 << ", " << c.y0 << ")-(" << c.x1 << ", " << c.y1 << ")";
    }
}

TEST(FileCdcRasteriserTest, ExtremeCoordinatesWriteNothingOutsideTheRows) {
    const int ends[] = {INT_MIN, INT_MIN + 1, -1, 0, 1332, 1999, 2000, INT_MAX - 1, INT_MAX};
    CMyFileCDC dc(96, 96);
    for (int x0 : ends)
        for (int y0 : ends)
            for (int x1 : ends)
                for (int y1 : ends) {
                    dc.MoveTo(x0, y0);
                    dc.LineTo(x1, y1);
                }
    for (int y = 0; y < dc.rowCount; ++y) {
        EXPECT_EQ(dc.Row(y)[250], 0) << "row " << y;
        EXPECT_EQ(dc.Row(y)[251], 0) << "row " << y;
    }
    EXPECT_TRUE(dc.Pixel(0, 0));
    EXPECT_TRUE(dc.Pixel(1999, 1332));
    EXPECT_TRUE(dc.Pixel(1999, 0));
    EXPECT_TRUE(dc.Pixel(0, 1332));
}

TEST(FileCdcRasteriserTest, FarLinesAcrossTheBufferAreWalkedLikeShortOnes) {
    // The diagonal from (-2^20, -2^20): its pixels inside are those of the diagonal from (0, 0).
    CMyFileCDC far(96, 96);
    far.MoveTo(-(1 << 20), -(1 << 20));
    far.LineTo(1 << 20, 1 << 20);
    Pixels diagonal;
    for (int i = 0; i < 1333; ++i) diagonal.insert({i, i});
    EXPECT_EQ(InkPixels(far), diagonal);

    // From 2^31 units away the walk enters by a product, on the same diagonal.
    CMyFileCDC farthest(96, 96);
    farthest.MoveTo(INT_MAX, INT_MAX);
    farthest.LineTo(INT_MIN, INT_MIN);
    EXPECT_EQ(InkPixels(farthest), diagonal);
}

TEST(FileCdcBitmapTest, HeaderBytesFollowTheLayout) {
    CMyFileCDC dc(kExportDpiX, kExportDpiY);
    const std::vector<uint8_t> expected = {
        'B',  'M',               // signature
        0x6A, 0x20, 0x05, 0x00,  // file size 335978
        0,    0,    0,    0,     // reserved
        62,   0,    0,    0,     // pixel data offset
        40,   0,    0,    0,     // information header size
        0xD0, 0x07, 0,    0,     // width 2000
        0x35, 0x05, 0,    0,     // height 1333, bottom-up
        1,    0,                 // planes
        1,    0,                 // bits per pixel
        0,    0,    0,    0,     // no compression
        0x2C, 0x20, 0x05, 0x00,  // image size 335916
        0x9B, 0x1B, 0,    0,     // 7067 pixels per metre (7067.14, truncated)
        0x9B, 0x1B, 0,    0,     // 7067 pixels per metre (7067.87, truncated, not rounded)
        2,    0,    0,    0,     // colours used
        2,    0,    0,    0,     // important colours
        0xFF, 0xFF, 0xFF, 0x00,  // colour 0: white
        0x00, 0x00, 0x00, 0x00,  // colour 1: black
    };
    EXPECT_EQ(dc.BitmapHeader(), expected);
}

TEST(FileCdcBitmapTest, ResolutionFieldsTruncateAndSurviveNonsense) {
    struct Case {
        double dpi;
        uint32_t perMetre;
    };
    const Case cases[] = {{96, 3779}, {300, 11811},  {0, 0},    {-96, uint32_t(-3779)},
                          {NAN, 0},   {INFINITY, 0}, {1e300, 0}};
    for (const Case& c : cases) {
        CMyFileCDC dc(c.dpi, 72);
        const std::vector<uint8_t> header = dc.BitmapHeader();
        const uint32_t field =
            header[38] | header[39] << 8 | header[40] << 16 | uint32_t(header[41]) << 24;
        EXPECT_EQ(field, c.perMetre) << c.dpi;
        EXPECT_EQ(header[42] | header[43] << 8, 2834) << "72 dpi";
    }
}

}  // namespace
