// The automatic scale: limits from the points with margins, and graduations of 1, 2, 2.5 or 5
// times a power of ten, 7 divisions on X and 4 on Y.
#include <algorithm>
#include <cmath>

#include "fitdata/fit_data.h"
#include "fitdata/scale_def.h"

namespace {

// Below this span the power of ten of the step would leave the normal doubles; beyond this
// magnitude the graduated maximum could overflow.
constexpr double kSmallestSpan = 1e-300;
constexpr double kLargestLimit = 1e300;

// Moves both limits inward by one part in 100000 of their own value.
void NudgeInward(double& low, double& high) {
    low = low > 0 ? low * 1.00001 : low * 0.99999;
    high = high < 0 ? high * 1.00001 : high * 0.99999;
}

// Whether the nudged range can be graduated: its span is positive and not so small that the
// step's power of ten underflows, and both limits are finite numbers small enough for the
// graduated maximum to stay finite.
bool CanGraduate(double low, double high) {
    return std::fabs(low) <= kLargestLimit && std::fabs(high) <= kLargestLimit &&
           high - low >= kSmallestSpan;
}

// Nudges a range inward. A range that cannot be graduated (equal or reversed limits, a span below
// the nudge, a limit beyond 1e300 in magnitude or no finite number) is first replaced by a narrow
// one around its middle, with the margin rule of FitToPoints, or by -1..1 when that cannot be
// graduated either, so that the step loop always ends on a usable scale.
void NudgeOrWiden(double& low, double& high) {
    double nudgedLow = low, nudgedHigh = high;
    NudgeInward(nudgedLow, nudgedHigh);
    if (!CanGraduate(nudgedLow, nudgedHigh) && std::isfinite(low) && std::isfinite(high)) {
        const double middle = low / 2 + high / 2;
        double margin = std::fabs(high) * 0.001 + std::fabs(low) * 0.001;
        if (std::fabs(margin) < 1e-30) margin = 1;
        nudgedLow = middle - margin;
        nudgedHigh = middle + margin;
        NudgeInward(nudgedLow, nudgedHigh);
    }
    if (!CanGraduate(nudgedLow, nudgedHigh)) {
        nudgedLow = -1;
        nudgedHigh = 1;
        NudgeInward(nudgedLow, nudgedHigh);
    }
    low = nudgedLow;
    high = nudgedHigh;
}

// The graduation of one axis: a mantissa of 1, 2, 2.5 or 5 times a power of ten, at least
// m = span / divisions once normalised into 0.5 < m <= 5.
struct Graduation {
    double mantissa = 1.0;
    double power = 1.0;
    int exponent = 0;
};

Graduation Graduate(double m) {
    Graduation g;
    while (!(m > 0.5 && m <= 5)) {
        if (m <= 0.5) {
            m = m * 10;
            g.power = g.power / 10;
            g.exponent -= 1;
        }
        if (m > 5) {
            m = m / 10;
            g.power = g.power * 10;
            g.exponent += 1;
        }
    }
    g.mantissa = m > 2.5 ? 5 : m > 2 ? 2.5 : m > 1 ? 2 : 1;
    return g;
}

// The largest multiple of step not above value.
double SnapDown(double value, double step) {
    double q = value / step;
    if (value < 0 && value != std::trunc(q) * step) q = q - 1;
    return std::trunc(q) * step;
}

// Limits of a range with a margin on each side: 10 % of the span, or 0.1 % of the sum of the
// magnitudes of its ends when the span is not more than that, or 1 when that is below 1e-30.
void AddMargins(double& low, double& high) {
    double margin = (std::fabs(high) + std::fabs(low)) * 0.001;
    if (high - low > margin) margin = (high - low) * 0.1;
    if (std::fabs(margin) < 1e-30) margin = 1;
    low -= margin;
    high += margin;
}

}  // namespace

void ScaleDef::RoundToNiceSteps() {
    NudgeOrWiden(xMin, xMax);
    NudgeOrWiden(yMin, yMax);
    double gxTop = xMin, gyTop = yMin;
    // Each pass that does not fit makes the failing axis's step grow strictly, so the loop ends
    // after a few passes; the bound only guards against a rounding surprise.
    for (int pass = 0; pass < 64 && (xMax > gxTop || yMax > gyTop); ++pass) {
        const Graduation x = Graduate((xMax - xMin) / 7);
        const Graduation y = Graduate((yMax - yMin) * 0.25);
        xMantissa = x.mantissa;
        yMantissa = y.mantissa;
        xPower = x.power;
        yPower = y.power;
        xExponent = x.exponent;
        yExponent = y.exponent;
        xStep = xMantissa * xPower;
        yStep = yMantissa * yPower;
        xMin = SnapDown(xMin, xStep);
        yMin = SnapDown(yMin, yStep);
        gxTop = xMin + 7 * xStep;
        gyTop = yMin + 4 * yStep;
    }
    xMax = gxTop;
    yMax = gyTop;
}

void ScaleDef::FitToPoints(int n, const double* x, const double* y) {
    if (autoScale == 0 || n <= 0) return;
    xMin = xMax = x[0];
    yMin = yMax = y[0];
    for (int i = 0; i < n; ++i) {
        if (x[i] < xMin) xMin = x[i];
        if (y[i] < yMin) yMin = y[i];
        if (x[i] > xMax) xMax = x[i];
        if (y[i] > yMax) yMax = y[i];
    }
    AddMargins(xMin, xMax);
    AddMargins(yMin, yMax);
    RoundToNiceSteps();
}

void FitData::AutoScale() {
    if (hasPoints && nPoints > 0) scale.FitToPoints(std::min(nPoints, MAX_POINTS), pointX, pointY);
}
