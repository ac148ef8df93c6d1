// The automatic scale: limits from the points with margins, and graduations of 1, 2, 2.5 or 5
// times a power of ten, 7 divisions on X and 4 on Y.
#include <algorithm>
#include <cfloat>
#include <cmath>

#include "fitdata/fit_data.h"
#include "fitdata/scale_def.h"

namespace {

// Moves both limits inward by one part in 100000 of their own value.
void NudgeInward(double& low, double& high) {
    low = low > 0 ? low * 1.00001 : low * 0.99999;
    high = high < 0 ? high * 1.00001 : high * 0.99999;
}

// A span the graduation can start from: positive and finite (a NaN is neither).
bool IsProperSpan(double low, double high) {
    const double span = high - low;
    return span > 0 && span <= DBL_MAX;
}

// What an axis is graduated from, in the order tried: its own limits; when their nudged span is
// not proper or their graduation fails, a narrow range around their middle with the margin rule of
// FitToPoints; when that fails as well, -1..1.
enum class Stand { kOwnLimits, kAroundMiddle, kUnit };

Stand Next(Stand stand) {
    return stand == Stand::kOwnLimits ? Stand::kAroundMiddle : Stand::kUnit;
}

// The nudged limits of an axis from `stand`, moved on to the next stand while their span is not
// proper.
void NudgedLimits(double low, double high, Stand& stand, double& nudgedLow, double& nudgedHigh) {
    if (stand == Stand::kOwnLimits) {
        nudgedLow = low;
        nudgedHigh = high;
        NudgeInward(nudgedLow, nudgedHigh);
        if (IsProperSpan(nudgedLow, nudgedHigh)) return;
        stand = Stand::kAroundMiddle;
    }
    if (stand == Stand::kAroundMiddle && std::isfinite(low) && std::isfinite(high)) {
        const double middle = low / 2 + high / 2;
        double margin = std::fabs(high) * 0.001 + std::fabs(low) * 0.001;
        if (std::fabs(margin) < 1e-30) margin = 1;
        nudgedLow = middle - margin;
        nudgedHigh = middle + margin;
        NudgeInward(nudgedLow, nudgedHigh);
        if (IsProperSpan(nudgedLow, nudgedHigh)) return;
    }
    stand = Stand::kUnit;
    nudgedLow = -1;
    nudgedHigh = 1;
    NudgeInward(nudgedLow, nudgedHigh);
}

// The graduation of one axis: a mantissa of 1, 2, 2.5 or 5 times a power of ten, at least
// m = span / divisions once normalised into 0.5 < m <= 5. m must be positive and finite.
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

// The largest multiple of step not above value. The multiple 0 is +0.0, never -0.0, as the
// whole number it stands for.
double SnapDown(double value, double step) {
    double q = value / step;
    if (value < 0 && value != std::trunc(q) * step) q = q - 1;
    const double snapped = std::trunc(q) * step;
    return snapped == 0 ? 0.0 : snapped;
}

// One axis through the passes of RoundToNiceSteps.
struct AxisPasses {
    explicit AxisPasses(double divisionCount) : divisions(divisionCount) {}

    double divisions;
    double min = 0.0;  // nudged; snapped by every pass
    double max = 0.0;  // nudged
    Graduation graduation;
    double step = 0.0;
    double top = 0.0;

    // One pass: the graduation from the span, the minimum snapped, the top graduation. Answers
    // false when a step of the arithmetic fails: a span, step, minimum or top beyond the finite
    // numbers, a span whose share of a division underflows to 0, or a power of ten below the
    // normal numbers, where power / 10 no longer gives 10^exponent and ends at 0, a division by
    // zero in the snap.
    bool Pass() {
        const double m = (max - min) / divisions;
        if (!(m > 0 && m <= DBL_MAX)) return false;
        graduation = Graduate(m);
        step = graduation.mantissa * graduation.power;
        if (!(graduation.power >= DBL_MIN && step <= DBL_MAX)) return false;
        min = SnapDown(min, step);
        top = min + divisions * step;
        return std::isfinite(min) && std::isfinite(top);
    }
};

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
    Stand xStand = Stand::kOwnLimits, yStand = Stand::kOwnLimits;
    // Each failure moves an axis to its next stand; -1..1 always graduates, so this ends.
    for (;;) {
        AxisPasses x(7), y(4);
        NudgedLimits(xMin, xMax, xStand, x.min, x.max);
        NudgedLimits(yMin, yMax, yStand, y.min, y.max);
        x.top = x.min;
        y.top = y.min;
        bool xFailed = false, yFailed = false;
        int passes = 0;
        // Each pass that does not fit makes the failing axis's step grow strictly, so the loop
        // ends after a few passes; the bound only guards against a rounding surprise.
        for (; passes < 64 && (x.max > x.top || y.max > y.top); ++passes) {
            xFailed = !x.Pass();
            yFailed = !y.Pass();
            if (xFailed || yFailed) break;
        }
        if (xFailed || yFailed) {
            if (xFailed) xStand = Next(xStand);
            if (yFailed) yStand = Next(yStand);
            continue;
        }
        if (passes > 0) {
            xMantissa = x.graduation.mantissa;
            yMantissa = y.graduation.mantissa;
            xPower = x.graduation.power;
            yPower = y.graduation.power;
            xExponent = x.graduation.exponent;
            yExponent = y.graduation.exponent;
            xStep = x.step;
            yStep = y.step;
        }
        xMin = x.min;
        yMin = y.min;
        xMax = x.top;
        yMax = y.top;
        return;
    }
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
