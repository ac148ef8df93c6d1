// The drawing of the results page through the two operations of CMyCDC.
#include "plot/results_page.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <string>

#include "fitdata/number_format.h"
#include "numerics/calculations.h"
#include "plot/banner.h"
#include "plot/stroke_font.h"

namespace {

// Truncation (toward zero) or floor of a page coordinate. Page coordinates come from the int
// rectangle and f, so they fit an int; saturating keeps even an absurd f from converting an
// out-of-range double.
int ClampToInt(double value) {
    if (!(value > INT_MIN)) return INT_MIN;
    if (!(value < INT_MAX)) return INT_MAX;
    return static_cast<int>(value);
}
int Trunc(double value) {
    return ClampToInt(std::trunc(value));
}
int Floor(double value) {
    return ClampToInt(std::floor(value));
}

// base + trunc(offset) as an int when it is a finite number in lowest..highest: the position of
// a point or curve value, which may be anything.
bool PositionInRange(int base, double offset, int sign, int lowest, int highest, int& position) {
    const double p = base + sign * std::trunc(offset);
    if (!(p >= lowest && p <= highest)) return false;  // NaN fails too
    position = static_cast<int>(p);
    return true;
}

// A graduation number, "%3.1lf"; that of the largest double needs some 312 characters.
std::wstring GraduationText(double value) {
    char text[400];
    const int length = std::snprintf(text, sizeof text, "%3.1lf", value);
    if (length < 0) return std::wstring();
    return std::wstring(text,
                        text + std::min<size_t>(static_cast<size_t>(length), sizeof text - 1));
}

std::wstring Exponent(int exponent) {
    char text[32];
    std::snprintf(text, sizeof text, "          %d", exponent);
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

void Line(CMyCDC* dc, int x0, int y0, int x1, int y1) {
    dc->MoveTo(x0, y0);
    dc->LineTo(x1, y1);
}

}  // namespace

void DrawResultsPage(int left, int right, int top, int bottom, FitData* data, CMyCDC* dc, int f) {
    const int mid = (left + right) / 2;
    DrawBanner(mid - 102 * f, mid + 102 * f, bottom - 22 * f, bottom, dc);
    const int l = left + 4, r = right - 4, t = top + 4, b = bottom - 4;
    const double v = (r - l) / 10.0, w = (b - t) / 7.0;
    if (data->hasPoints) {
        DrawGraph(Trunc(l + v), Trunc(r - 2 * v), Trunc(t + 2 * w), Trunc(b - w), data, dc, f);
        DrawResultText(l, t, r, b, data, dc, f);
    }
}

void DrawGraph(int L, int R, int T, int B, FitData* data, CMyCDC* dc, int f) {
    // One division in pixels, and the outer bounds one division (two on the right and at the
    // top) beyond the plot area, where the titles go.
    const double dx = (R - L) / 7.0, dy = (B - T) / 4.0;
    const int L0 = L - Trunc(dx), R0 = R + Trunc(2 * dx);
    const int T0 = T - Trunc(2 * dy), B0 = B + Trunc(dy);
    const double xLeft = L0 + dx, xRight = R0 - 2 * dx;
    const double yBottom = B0 - dy, yTop = T0 + 2 * dy;
    const int Xl = Trunc(xLeft), Xr = Trunc(xRight), Yb = Trunc(yBottom), Yt = Trunc(yTop);
    if (!data->hasPoints) return;

    data->AutoScale();
    const ScaleDef& s = data->scale;

    // The axes run 8f beyond the frame.
    Line(dc, Xl, Yb, Trunc(xRight + 8 * f), Yb);
    Line(dc, Xl, Yb, Xl, Trunc(yTop - 8 * f));

    // X graduations, numbered in units of xPower.
    for (int k = 1; k <= 8; ++k) {
        const int Xk = Floor(L0 + k * dx);
        Line(dc, Xk, Trunc(yBottom - 4 * f), Xk, Trunc(yBottom + 4 * f));
        DrawStrokeText(Xk, Trunc(yBottom + 15 * f),
                       GraduationText((k - 1) * s.xMantissa + s.xMin / s.xPower), true, true, dc,
                       f);
    }

    // X title; a nonzero exponent is written raised after "10".
    const int titleX = Trunc(xRight + 10 * f);
    if (s.xExponent != 0) {
        DrawStrokeText(titleX, Yb, L"AXE X * 10", false, true, dc, f);
        DrawStrokeText(titleX, Trunc(yBottom - 6 * f), Exponent(s.xExponent), false, false, dc, f);
    } else {
        DrawStrokeText(titleX, Yb, L"AXE X", false, false, dc, f);
    }

    // Y graduations, and a row of small crosses on the grid nodes of the four lower rows
    // (neither on the top row nor on the right column).
    for (int i = 1; i <= 5; ++i) {
        const double yi = B0 - i * dy;
        const int Yi = Trunc(yi);
        Line(dc, Trunc(xLeft - 4 * f), Yi, Trunc(xLeft + 4 * f), Yi);
        DrawStrokeText(Trunc(xLeft - 20 * f), Yi,
                       GraduationText((i - 1) * s.yMantissa + s.yMin / s.yPower), true, true, dc,
                       f);
        if (i == 5) break;
        for (int j = 1; j <= 7; ++j) {
            const double xj = L0 + j * dx;
            Line(dc, Floor(xj - 2 * f), Yi, Floor(xj + 2 * f), Yi);
            Line(dc, Floor(xj), Trunc(yi - 2 * f), Floor(xj), Trunc(yi + 2 * f));
        }
    }

    // The top and right sides of the frame.
    Line(dc, Xl, Yt, Xr, Yt);
    Line(dc, Xr, Yb, Xr, Yt);

    // Y title centred on the Y axis. "AXE Y * 10  " and the exponent text have the same length,
    // so the exponent's digits, centred the same way, fall above the two trailing blanks; an
    // exponent of 1 is told by the title alone.
    const int titleY = Trunc(yTop - 20 * f);
    if (s.yExponent != 0) {
        DrawStrokeText(Xl, titleY, L"AXE Y * 10  ", true, false, dc, f);
        if (s.yExponent != 1)
            DrawStrokeText(Xl, Trunc(yTop - 26 * f), Exponent(s.yExponent), true, false, dc, f);
    } else {
        DrawStrokeText(Xl, titleY, L"AXE Y", true, false, dc, f);
    }

    const double pxPerX = dx / s.xStep, pxPerY = dy / s.yStep;
    DrawPoints(Xl, Yt, Xr, Yb, data, dc, f, s.xMin, s.yMin, pxPerX, pxPerY);
    DrawCurve(Xl, Yt, Xr, Yb, data, dc, s.xMin, s.yMin, pxPerX, pxPerY);
}

void DrawPoints(int Xl, int Yt, int Xr, int Yb, const FitData* data, CMyCDC* dc, int f, double xMin,
                double yMin, double pxPerX, double pxPerY) {
    if (!data->hasPoints) return;
    const int count = std::min(data->nPoints, MAX_POINTS);
    const int half = 4 * f;
    for (int i = 0; i < count; ++i) {
        int px = 0, py = 0;
        if (!PositionInRange(Xl, (data->pointX[i] - xMin) * pxPerX, +1, Xl, Xr, px)) continue;
        if (!PositionInRange(Yb, (data->pointY[i] - yMin) * pxPerY, -1, Yt, Yb, py)) continue;
        Line(dc, px - half, py, px + half, py);
        Line(dc, px, py - half, px, py + half);
    }
}

void DrawCurve(int Xl, int Yt, int Xr, int Yb, const FitData* data, CMyCDC* dc, double xMin,
               double yMin, double pxPerX, double pxPerY) {
    if (!data->function.isCompiled || Xl > Xr) return;
    bool penDown = false;
    std::wstring message;
    for (int64_t c = Xl; c <= Xr; ++c) {
        const double x = xMin + static_cast<double>(c - Xl) / pxPerX;
        const double y = EvaluateF(data, x, message);
        int row = 0;
        if (!message.empty() || !PositionInRange(Yb, (y - yMin) * pxPerY, -1, Yt, Yb, row)) {
            penDown = false;
            continue;
        }
        if (penDown)
            dc->LineTo(static_cast<int>(c), row);
        else
            dc->MoveTo(static_cast<int>(c), row);
        penDown = true;
    }
}

void DrawResultText(int l, int t, int r, int b, const FitData* data, CMyCDC* dc, int f) {
    const FunctionDef& function = data->function;
    if (!function.isCompiled) return;
    const int mid = (l + r) / 2;
    DrawStrokeText(mid, t + 10, L"F(X)=" + function.GetText(), true, false, dc, 2 * f);

    // A B C in the first row, D E F in the second; the middle column starts 52f left of the
    // middle, the right one 105f (fifteen characters) before the right tenth.
    const int columns[3] = {l + (r - l) / 10, mid - 52 * f, r - 105 * f - (r - l) / 10};
    const int rows[2] = {t + (b - t) / 30 + 15 * f, t + (b - t) / 15 + 15 * f};
    const int count = std::clamp(function.nCoef, 0, MAX_COEF);
    for (int i = 0; i < count; ++i) {
        const std::wstring text =
            std::wstring(1, static_cast<wchar_t>(L'A' + i)) + L"=" + FormatNumber(function.coef[i]);
        DrawStrokeText(columns[i % 3], rows[i / 3], text, false, false, dc, f);
    }

    if (data->fitDone) {
        // Below the second row, or in its place when there is none.
        const int y = function.nCoef > 3 ? t + (b - t) / 10 + 15 * f : rows[1];
        DrawStrokeText(mid, y, L"DISTANCE=" + FormatNumber(data->fitDistance), true, false, dc,
                       2 * f);
    }
}
