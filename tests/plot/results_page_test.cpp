// Tests of the results page, call by call through a recording context: its geometry on the
// 2000 x 1333 bitmap page, what appears with and without points, function and fit, the point
// markers at the frame's edges and the breaks of the curve.
#include "plot/results_page.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "common/text_conversion.h"
#include "fitdata/number_format.h"
#include "plot/banner.h"
#include "plot/stroke_font.h"
#include "support/recording_cdc.h"

namespace {

std::vector<RecordedCall> Text(int x, int y, const std::wstring& text, bool centreX, bool centreY,
                               int size) {
    RecordingCDC dc;
    DrawStrokeText(x, y, text, centreX, centreY, &dc, size);
    return dc.calls;
}

std::vector<RecordedCall> Banner(int left, int right, int top, int bottom) {
    RecordingCDC dc;
    DrawBanner(left, right, top, bottom, &dc);
    return dc.calls;
}

std::vector<RecordedCall> Line(int x0, int y0, int x1, int y1) {
    return {{false, x0, y0}, {true, x1, y1}};
}

// Points with X from 0 to 10 and Y from 0 to 1 (scale X -2..12 by 2, Y -0.5..1.5 by 0.5).
std::unique_ptr<FitData> Document(const std::string& function, int nCoef = 0) {
    auto data = std::make_unique<FitData>();
    data->Reset();
    const double x[] = {0, 2.5, 5, 7.5, 10}, y[] = {0, 0.25, 0.5, 0.75, 1};
    data->SetPoints(5, x, y);
    if (!function.empty()) {
        EXPECT_EQ(data->function.SetTextA(function), "Ok") << function;
        EXPECT_EQ(data->function.nCoef, nCoef) << function;
        for (int i = 0; i < nCoef; ++i) data->function.coef[i] = 0.1 * (i + 1);
    }
    return data;
}

RecordingCDC Page(FitData* data, int f = 2) {
    RecordingCDC dc;
    DrawResultsPage(0, 2000, 0, 1333, data, &dc, f);
    return dc;
}

// Consecutive LineTo calls only come from the curve: everything else is moved to first.
bool HasCurve(const RecordingCDC& dc) {
    for (size_t i = 1; i < dc.calls.size(); ++i)
        if (dc.calls[i].line && dc.calls[i - 1].line) return true;
    return false;
}

TEST(ResultsPageTest, BitmapPageGeometry) {
    auto data = Document("A+B*X", 2);
    data->fitDone = 1;
    data->fitDistance = 0.0125;
    const RecordingCDC dc = Page(data.get());

    // The banner first, in the band 796..1204 by 1289..1333.
    const std::vector<RecordedCall> banner = Banner(796, 1204, 1289, 1333);
    ASSERT_EQ(dc.Find(banner), 0);
    size_t next = banner.size();

    // Frame corners Xl = 203, Xr = 1596, Yt = 382, Yb = 1138: the axes from (203, 1138), 8f
    // beyond the frame, then the graduations.
    EXPECT_EQ(dc.Find(Line(203, 1138, 1612, 1138), next), long(next));
    EXPECT_EQ(dc.Find(Line(203, 1138, 203, 366), next), long(next + 2));
    const int columns[] = {203, 402, 601, 800, 999, 1198, 1398, 1597};
    const wchar_t* numbers[] = {L"-2.0", L"0.0", L"2.0", L"4.0", L"6.0", L"8.0", L"10.0", L"12.0"};
    long at = static_cast<long>(next);
    for (int k = 0; k < 8; ++k) {
        const long tick = dc.Find(Line(columns[k], 1130, columns[k], 1146), size_t(at));
        EXPECT_GT(tick, at) << "X graduation " << k + 1;
        const long label = dc.Find(Text(columns[k], 1168, numbers[k], true, true, 2), size_t(at));
        EXPECT_EQ(label, tick + 2) << "X number " << k + 1;
        if (label > 0) at = label;
    }
    // X exponent 0: "AXE X" not centred, its top on the axis, 10f right of the frame.
    const long xTitle = dc.Find(Text(1616, 1138, L"AXE X", false, false, 2));
    EXPECT_GT(xTitle, at);

    const int rows[] = {1138, 949, 760, 571, 381};
    // In units of yPower = 0.1, like the title says.
    const wchar_t* yNumbers[] = {L"-5.0", L"0.0", L"5.0", L"10.0", L"15.0"};
    at = xTitle;
    for (int i = 0; i < 5; ++i) {
        const long tick = dc.Find(Line(195, rows[i], 211, rows[i]), size_t(at));
        EXPECT_GT(tick, at) << "Y graduation " << i + 1;
        EXPECT_EQ(dc.Find(Text(163, rows[i], yNumbers[i], true, true, 2), size_t(at)), tick + 2)
            << "Y number " << i + 1;
        if (tick > 0) at = tick;
    }
    // A grid cross at the first node inside: j = 2, i = 2.
    EXPECT_TRUE(dc.HasStroke({398, 949, 406, 949}));
    EXPECT_TRUE(dc.HasStroke({402, 945, 402, 953}));
    // None on the top row.
    EXPECT_FALSE(dc.HasStroke({398, 381, 406, 381}));

    // Top and right sides, then the Y title with its raised exponent -1, centred on Xl.
    const long sides =
        dc.Find({{false, 203, 382}, {true, 1596, 382}, {false, 1596, 1138}, {true, 1596, 382}});
    EXPECT_GT(sides, at);
    const long yTitle = dc.Find(Text(203, 342, L"AXE Y * 10  ", true, false, 2));
    EXPECT_EQ(yTitle, sides + 4);
    EXPECT_GT(dc.Find(Text(203, 330, L"          -1", true, false, 2)), yTitle);

    // The result text: formula at (1000, 14) size 4, coefficients on row 78, distance on 122
    // with fewer than four coefficients.
    const long formula = dc.Find(Text(1000, 14, L"F(X)=A+B*X", true, false, 4));
    EXPECT_GT(formula, yTitle);
    EXPECT_GT(dc.Find(Text(203, 78, L"A=" + FormatNumber(0.1), false, false, 2)), formula);
    EXPECT_GT(dc.Find(Text(896, 78, L"B=" + FormatNumber(0.2), false, false, 2)), formula);
    const std::vector<RecordedCall> distance =
        Text(1000, 122, L"DISTANCE=" + FormatNumber(0.0125), true, false, 4);
    EXPECT_EQ(dc.Find(distance) + long(distance.size()), long(dc.calls.size()))
        << "the distance closes the page";
    EXPECT_TRUE(HasCurve(dc));
}

TEST(ResultsPageTest, ResultTextRowsAndTheDistanceRow) {
    struct Case {
        std::string function;
        int nCoef;
        int distanceY;
    };
    const Case cases[] = {
        {"A*X", 1, 122},
        {"A+B*X+C*X*X", 3, 122},
        {"A+B*X+C*X*X+D*X*X*X", 4, 166},
        {"A+B*X+C*X*X+D*X*X*X+E*X*X*X*X", 5, 166},
        {"A+B*X+C*X*X+D*X*X*X+E*X*X*X*X+F*X*X*X*X*X", 6, 166},
    };
    // Columns l + (r - l) / 10, mid - 52f, r - 105f - (r - l) / 10; rows 78 and 122.
    const int xs[] = {203, 896, 1587, 203, 896, 1587};
    const int ys[] = {78, 78, 78, 122, 122, 122};
    for (const Case& c : cases) {
        auto data = Document(c.function, c.nCoef);
        data->fitDone = 1;
        data->fitDistance = 3.5e-7;
        RecordingCDC dc;
        DrawResultText(4, 4, 1996, 1329, data.get(), &dc, 2);
        std::vector<RecordedCall> expected =
            Text(1000, 14, L"F(X)=" + NarrowToWide(c.function), true, false, 4);
        for (int i = 0; i < c.nCoef; ++i) {
            const std::wstring text =
                std::wstring(1, wchar_t(L'A' + i)) + L"=" + FormatNumber(data->function.coef[i]);
            const auto calls = Text(xs[i], ys[i], text, false, false, 2);
            expected.insert(expected.end(), calls.begin(), calls.end());
        }
        const auto distance =
            Text(1000, c.distanceY, L"DISTANCE=" + FormatNumber(3.5e-7), true, false, 4);
        expected.insert(expected.end(), distance.begin(), distance.end());
        EXPECT_EQ(dc.calls, expected) << c.function;
    }
}

TEST(ResultsPageTest, WhatAppearsDependsOnPointsFunctionAndFit) {
    // No points: the banner alone, even with a function and a fit.
    auto noPoints = Document("A*X", 1);
    noPoints->hasPoints = 0;
    noPoints->fitDone = 1;
    EXPECT_EQ(Page(noPoints.get()).calls, Banner(796, 1204, 1289, 1333));

    // Points without a function: the graph and its points, no curve, no text.
    auto pointsOnly = Document("");
    const RecordingCDC graphOnly = Page(pointsOnly.get());
    EXPECT_FALSE(HasCurve(graphOnly));
    EXPECT_EQ(graphOnly.Find(Text(1000, 14, L"F(X)=", true, false, 4)), -1);
    RecordingCDC graph;
    DrawGraph(203, 1597, 382, 1139, pointsOnly.get(), &graph, 2);
    std::vector<RecordedCall> expected = Banner(796, 1204, 1289, 1333);
    expected.insert(expected.end(), graph.calls.begin(), graph.calls.end());
    EXPECT_EQ(graphOnly.calls, expected);
    // The point (0, 0): column 203 + trunc(2 × 99.57), row 1138 - trunc(0.5 × 378.5).
    EXPECT_TRUE(graphOnly.HasStroke({402 - 8, 949, 402 + 8, 949}));
    EXPECT_TRUE(graphOnly.HasStroke({402, 949 - 8, 402, 949 + 8}));

    // A function without a fit: formula and coefficients, no distance.
    auto noFit = Document("A*X", 1);
    noFit->fitDone = 0;
    const RecordingCDC page = Page(noFit.get());
    EXPECT_GT(page.Find(Text(1000, 14, L"F(X)=A*X", true, false, 4)), 0);
    EXPECT_EQ(
        page.Find(Text(1000, 122, L"DISTANCE=" + FormatNumber(noFit->fitDistance), true, false, 4)),
        -1);
}

TEST(ResultsPageTest, AxisTitlesAndExponents) {
    struct Case {
        double xMax, yMax;  // limits from 0, graduated by the user's scale
        std::wstring xTitle;
        bool xExponentShown;
        std::wstring yTitle;
        bool yExponentShown;
        std::wstring xExponent, yExponent;
    };
    const Case cases[] = {
        {0.007, 4e-6, L"AXE X * 10", true, L"AXE Y * 10  ", true, L"          -3", L"          -6"},
        {70, 40, L"AXE X * 10", true, L"AXE Y * 10  ", false, L"          1", L"          1"},
        {7, 4, L"AXE X", false, L"AXE Y", false, L"", L""},
    };
    for (const Case& c : cases) {
        auto data = Document("");
        data->scale.autoScale = 0;
        data->scale.xMin = 0;
        data->scale.xMax = c.xMax;
        data->scale.yMin = 0;
        data->scale.yMax = c.yMax;
        data->scale.RoundToNiceSteps();
        const RecordingCDC dc = Page(data.get());
        const bool xCentredY = c.xExponentShown;
        EXPECT_NE(dc.Find(Text(1616, 1138, c.xTitle, false, xCentredY, 2)), -1) << c.xMax;
        EXPECT_EQ(dc.Find(Text(1616, 1126, c.xExponent, false, false, 2)) != -1, c.xExponentShown)
            << c.xMax;
        EXPECT_NE(dc.Find(Text(203, 342, c.yTitle, true, false, 2)), -1) << c.yMax;
        EXPECT_EQ(dc.Find(Text(203, 330, c.yExponent, true, false, 2)) != -1, c.yExponentShown)
            << c.yMax;
    }
}

TEST(ResultsPageTest, PointsOnTheFrameAreDrawnAndOutsideNot) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double x, y;
        bool drawn;
        int px, py;
    };
    // Frame 100..200 by 50..150, one unit per pixel from (0, 0) at the lower left corner.
    const Case cases[] = {
        {0, 0, true, 100, 150},    {100, 100, true, 200, 50}, {50, 25, true, 150, 125},
        {-0.5, 0, true, 100, 150},  // trunc(-0.5) = 0: still on the left side
        {101, 0, false, 0, 0},     {-1, 0, false, 0, 0},      {0, -1, false, 0, 0},
        {0, 101, false, 0, 0},     {nan, 5, false, 0, 0},     {5, nan, false, 0, 0},
        {inf, 5, false, 0, 0},     {5, -inf, false, 0, 0},    {1e300, 5, false, 0, 0},
        {5, -1e300, false, 0, 0},  {3e9, 5, false, 0, 0},     {5, -3e9, false, 0, 0},
    };
    for (const Case& c : cases) {
        auto data = std::make_unique<FitData>();
        data->hasPoints = 1;
        data->nPoints = 1;
        data->pointX[0] = c.x;
        data->pointY[0] = c.y;
        RecordingCDC dc;
        DrawPoints(100, 50, 200, 150, data.get(), &dc, 2, 0, 0, 1, 1);
        if (c.drawn) {
            const std::vector<RecordedCall> cross = {{false, c.px - 8, c.py},
                                                     {true, c.px + 8, c.py},
                                                     {false, c.px, c.py - 8},
                                                     {true, c.px, c.py + 8}};
            EXPECT_EQ(dc.calls, cross) << c.x << ", " << c.y;
        } else {
            EXPECT_TRUE(dc.calls.empty()) << c.x << ", " << c.y;
        }
    }
    // A step of zero makes every position infinite or not a number: nothing is drawn.
    auto data = std::make_unique<FitData>();
    data->hasPoints = 1;
    data->nPoints = 2;
    data->pointX[1] = 5;
    RecordingCDC dc;
    DrawPoints(100, 50, 200, 150, data.get(), &dc, 2, 0, 0, inf, 1);
    EXPECT_TRUE(dc.calls.empty());
}

TEST(ResultsPageTest, CurveBreaksWhereTheFunctionHasNoValueOrLeavesTheFrame) {
    // SQRT(X) has no value left of 0; one unit per pixel, X from -50 at column 0.
    auto data = Document("A*SQRT(X)", 1);
    data->function.coef[0] = 10;
    RecordingCDC dc;
    DrawCurve(0, 0, 100, 100, data.get(), &dc, -50, 0, 1, 1);
    ASSERT_FALSE(dc.calls.empty());
    EXPECT_EQ(dc.calls.front(), (RecordedCall{false, 50, 100})) << "resumes with a move at x = 0";
    for (size_t i = 1; i < dc.calls.size(); ++i) {
        EXPECT_TRUE(dc.calls[i].line);
        EXPECT_EQ(dc.calls[i].x, 50 + static_cast<int>(i));
        EXPECT_EQ(dc.calls[i].y, 100 - static_cast<int>(std::trunc(10 * std::sqrt(double(i)))));
    }

    // A parabola leaving the frame at the top and coming back: two pieces, each opened by a
    // move. X from -10 to 10 over 20 columns, Y 0..50 over rows 50..0, f = X*X.
    auto parabola = Document("A*X*X", 1);
    parabola->function.coef[0] = 1;
    RecordingCDC twoPieces;
    DrawCurve(0, 0, 20, 50, parabola.get(), &twoPieces, -10, 0, 1, 1);
    std::vector<int> moves;
    for (const RecordedCall& call : twoPieces.calls)
        if (!call.line) moves.push_back(call.x);
    // X*X <= 50 for |X| <= 7: columns 3 to 17.
    EXPECT_EQ(moves, std::vector<int>{3});
    EXPECT_EQ(twoPieces.calls.size(), 15u);

    RecordingCDC broken;
    DrawCurve(0, 20, 20, 50, parabola.get(), &broken, -10, 0, 1, 1);  // rows 20..50: Y 0..30
    moves.clear();
    for (const RecordedCall& call : broken.calls)
        if (!call.line) moves.push_back(call.x);
    // X*X <= 30 for |X| <= 5: columns 5 to 15, one piece; then a valley function for two.
    EXPECT_EQ(moves, std::vector<int>{5});

    auto valley = Document("A/(X*X-B)", 2);  // no value at X*X = 4, tall near it
    valley->function.coef[0] = 1;
    valley->function.coef[1] = 4;
    RecordingCDC pieces;
    DrawCurve(0, 0, 20, 40, valley.get(), &pieces, -10, -20, 1, 1);
    moves.clear();
    for (const RecordedCall& call : pieces.calls)
        if (!call.line) moves.push_back(call.x);
    EXPECT_EQ(moves, (std::vector<int>{0, 9, 13})) << "broken at X = -2 and X = 2";

    // Non-finite scales never reach an int conversion.
    RecordingCDC none;
    DrawCurve(0, 0, 20, 40, parabola.get(), &none, 0, 0, 0, 1);
    DrawCurve(0, 0, 20, 40, parabola.get(), &none, 0, 0, 1,
              std::numeric_limits<double>::infinity());
    DrawCurve(5, 0, 4, 40, parabola.get(), &none, 0, 0, 1, 1);  // Xl > Xr
    EXPECT_TRUE(none.calls.empty());
}

TEST(ResultsPageTest, FactorZeroDrawsWithoutFailing) {
    auto data = Document("A+B*X", 2);
    data->fitDone = 1;
    data->fitDistance = 0.5;
    const RecordingCDC dc = Page(data.get(), 0);
    // No banner (e = 0): the page opens with the X axis, which ends on the frame.
    ASSERT_GE(dc.calls.size(), 2u);
    EXPECT_EQ(dc.calls[0], (RecordedCall{false, 203, 1138}));
    EXPECT_EQ(dc.calls[1], (RecordedCall{true, 1596, 1138}));
    // Texts fall back to size 1, markers shrink to points.
    EXPECT_NE(dc.Find(Text(1000, 14, L"F(X)=A+B*X", true, false, 0)), -1);
    EXPECT_TRUE(dc.HasStroke({402, 949, 402, 949}));
}

TEST(ResultsPageTest, StaleOrDegenerateScalesNeverFail) {
    // A user scale never graduated (all zero): positions are infinite or not numbers and the
    // numbers read "nan"; nothing may fail and the frame is still drawn.
    auto data = Document("A*X", 1);
    data->scale = ScaleDef{};
    data->scale.autoScale = 0;
    const RecordingCDC dc = Page(data.get());
    EXPECT_NE(dc.Find(Line(203, 382, 1596, 382)), -1);
    EXPECT_FALSE(HasCurve(dc));
    // Points of extreme values under the automatic scale.
    auto extreme = Document("A*X", 1);
    const double x[] = {-1e308, 1e308, 0}, y[] = {std::numeric_limits<double>::quiet_NaN(), 1, 2};
    extreme->SetPoints(3, x, y);
    const RecordingCDC page = Page(extreme.get());
    EXPECT_GT(page.calls.size(), 100u);
}

}  // namespace
