// Tests of the automatic scale: margins, graduations, snapping, and ranges it cannot graduate.
#include "fitdata/scale_def.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "fitdata/fit_data.h"

namespace {

struct Axis {
    double min, max, mantissa, power;
    int exponent;
};

void ExpectAxis(double min, double max, double mantissa, double power, int exponent,
                const Axis& expected, const char* what) {
    // Limits come out of products of a step and a whole number: equal to the bit is not
    // promised, a few units in the last place are.
    const double tolerance = 1e-12 * (std::fabs(expected.min) + std::fabs(expected.max));
    EXPECT_NEAR(min, expected.min, tolerance) << what;
    EXPECT_NEAR(max, expected.max, tolerance) << what;
    EXPECT_EQ(mantissa, expected.mantissa) << what;
    EXPECT_DOUBLE_EQ(power, expected.power) << what;
    EXPECT_EQ(exponent, expected.exponent) << what;
}

ScaleDef FromPoints(const std::vector<double>& x, const std::vector<double>& y) {
    ScaleDef scale;
    scale.autoScale = 1;
    scale.FitToPoints(static_cast<int>(x.size()), x.data(), y.data());
    return scale;
}

ScaleDef FromLimits(double xMin, double xMax, double yMin, double yMax) {
    ScaleDef scale;
    scale.xMin = xMin;
    scale.xMax = xMax;
    scale.yMin = yMin;
    scale.yMax = yMax;
    scale.RoundToNiceSteps();
    return scale;
}

struct ScaleCase {
    const char* name;
    ScaleDef scale;
    Axis x, y;
};

TEST(ScaleTest, WorkedExamples) {
    const ScaleCase cases[] = {
        // Margins 1 and 0.1 give X -1..11, Y -0.1..1.1; 12 / 7 rounds up to 2, 1.2 / 4 = 0.3
        // normalises to 3 and rounds up to 5 × 0.1.
        {"points X 0..10, Y 0..1",
         FromPoints({0, 10, 4}, {0, 1, 0.5}),
         {-2, 12, 2, 1, 0},
         {-0.5, 1.5, 5, 0.1, -1}},
        {"limits 0..7 and 0..4 kept", FromLimits(0, 7, 0, 4), {0, 7, 1, 1, 0}, {0, 4, 1, 1, 0}},
        // The inward nudge makes 0.3 / 0.1 at least 3: the minimum is not lowered a step.
        {"limits 0.3..1 with step 0.1",
         FromLimits(0.3, 1, 0, 4),
         {0.3, 1, 1, 0.1, -1},
         {0, 4, 1, 1, 0}},
        // Margins 0.006 and 0.01: X 2.994..3.006 graduated by 0.002, Y 4.99..5.01 by 0.005.
        {"single point (3, 5)",
         FromPoints({3}, {5}),
         {2.994, 3.008, 2, 0.001, -3},
         {4.99, 5.01, 5, 0.001, -3}},
        {"all X at 0: margin 1",
         FromPoints({0, 0, 0}, {1, 2, 3}),
         {-1, 2.5, 5, 0.1, -1},
         {0, 4, 1, 1, 0}},
        // -0.3 is not a multiple of 0.5 and goes down to -0.5; -2 is one and stays.
        {"negative minima snapped down",
         FromLimits(-2, 12, -0.3, 1.5),
         {-2, 12, 2, 1, 0},
         {-0.5, 1.5, 5, 0.1, -1}},
        // A first pass gives X 1e6..8e6 by 1e6, short of 8.4e6: the second doubles the step.
        {"a second pass",
         FromLimits(1.5e6, 8.4e6, -2e7, 1.8e7),
         {0, 14e6, 2, 1e6, 6},
         {-2e7, 2e7, 1, 1e7, 7}},
        {"negative range", FromLimits(-70, -1, -4, -0.2), {-70, 0, 1, 10, 1}, {-4, 0, 1, 1, 0}},
    };
    for (const ScaleCase& c : cases) {
        const ScaleDef& s = c.scale;
        ExpectAxis(s.xMin, s.xMax, s.xMantissa, s.xPower, s.xExponent, c.x, c.name);
        ExpectAxis(s.yMin, s.yMax, s.yMantissa, s.yPower, s.yExponent, c.y, c.name);
        EXPECT_DOUBLE_EQ(s.xStep, c.x.mantissa * c.x.power) << c.name;
        EXPECT_DOUBLE_EQ(s.yStep, c.y.mantissa * c.y.power) << c.name;
    }
}

TEST(ScaleTest, StepsAndLimitsKeepTheirInvariantsOverManyRanges) {
    std::mt19937 random(2024);
    std::uniform_real_distribution<double> centre(-1, 1);
    std::uniform_real_distribution<double> logSpan(-8, 8);
    for (int i = 0; i < 2000; ++i) {
        const double scaleOfValues = std::pow(10.0, logSpan(random));
        const double a = centre(random) * scaleOfValues, b = centre(random) * scaleOfValues;
        const double c = centre(random) * 3, d = centre(random) * 3;
        const double xLow = std::min(a, b), xHigh = std::max(a, b);
        const double yLow = std::min(c, d), yHigh = std::max(c, d);
        if (xHigh - xLow < 1e-6 * scaleOfValues || yHigh - yLow < 1e-3) continue;
        const ScaleDef s = FromLimits(xLow, xHigh, yLow, yHigh);
        SCOPED_TRACE(testing::Message()
                     << "X " << xLow << ".." << xHigh << ", Y " << yLow << ".." << yHigh);
        EXPECT_NEAR((s.xMax - s.xMin) / s.xStep, 7, 1e-9);
        EXPECT_NEAR((s.yMax - s.yMin) / s.yStep, 4, 1e-9);
        EXPECT_NEAR(s.xMin / s.xStep, std::round(s.xMin / s.xStep), 1e-6);
        EXPECT_NEAR(s.yMin / s.yStep, std::round(s.yMin / s.yStep), 1e-6);
        // The limits passed in, nudged inward, lie inside the graduated ones.
        EXPECT_LE(s.xMin, xLow > 0 ? xLow * 1.00001 : xLow * 0.99999);
        EXPECT_GE(s.xMax, xHigh < 0 ? xHigh * 1.00001 : xHigh * 0.99999);
        EXPECT_LE(s.yMin, yLow > 0 ? yLow * 1.00001 : yLow * 0.99999);
        EXPECT_GE(s.yMax, yHigh < 0 ? yHigh * 1.00001 : yHigh * 0.99999);
        for (double m : {s.xMantissa, s.yMantissa})
            EXPECT_TRUE(m == 1 || m == 2 || m == 2.5 || m == 5);
        EXPECT_DOUBLE_EQ(s.xPower, std::pow(10.0, s.xExponent));
        EXPECT_DOUBLE_EQ(s.yPower, std::pow(10.0, s.yExponent));
        // Graduating a graduated scale again changes nothing.
        const ScaleDef again = FromLimits(s.xMin, s.xMax, s.yMin, s.yMax);
        EXPECT_NEAR(again.xMin, s.xMin, 1e-9 * s.xStep);
        EXPECT_NEAR(again.xMax, s.xMax, 1e-9 * s.xStep);
        EXPECT_EQ(again.xStep, s.xStep);
        EXPECT_EQ(again.yStep, s.yStep);
    }
}

TEST(ScaleTest, RangesThatCannotBeGraduatedAreWidenedAndTheLoopEnds) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* name;
        double xMin, xMax, yMin, yMax;
        double xInside;  // a value the new X axis must contain; NaN: none
    };
    const Case cases[] = {
        {"equal limits", 5, 5, 0, 4, 5},
        {"both axes equal", 2, 2, 7, 7, 2},
        {"span below the nudge", 1, 1.000001, 0, 4, 1},
        {"reversed limits", 10, 0, 0, 4, 5},
        {"zero span at zero", 0, 0, 0, 0, 0},
        {"infinite span", -DBL_MAX, DBL_MAX, 0, 4, 0},
        {"near the largest double", DBL_MAX / 2, DBL_MAX, 0, 4, nan},
        {"subnormal span", 1e-320, 2e-320, 0, 4, 1.5e-320},
        {"infinite limits", -inf, inf, 0, 4, 0},
        {"not a number", nan, nan, nan, 1, 0},
        {"Y not graduable only", 0, 7, 3, 3, 3},
    };
    for (const Case& c : cases) {
        const ScaleDef s = FromLimits(c.xMin, c.xMax, c.yMin, c.yMax);
        SCOPED_TRACE(c.name);
        for (double v : {s.xMin, s.xMax, s.yMin, s.yMax, s.xStep, s.yStep}) {
            EXPECT_TRUE(std::isfinite(v)) << v;
        }
        EXPECT_GT(s.xStep, 0);
        EXPECT_GT(s.yStep, 0);
        EXPECT_NEAR((s.xMax - s.xMin) / s.xStep, 7, 1e-9);
        EXPECT_NEAR((s.yMax - s.yMin) / s.yStep, 4, 1e-9);
        if (!std::isnan(c.xInside)) {
            EXPECT_LE(s.xMin, c.xInside);
            EXPECT_GE(s.xMax, c.xInside);
        }
    }
    // Equal limits get the margin rule of a single point: 0.1 % of the sum of the magnitudes.
    const ScaleDef equal = FromLimits(5, 5, 0, 4);
    EXPECT_NEAR(equal.xMin, 4.99, 1e-12);
    EXPECT_NEAR(equal.xMax, 5.025, 1e-12);
    EXPECT_EQ(equal.yMin, 0);
    EXPECT_EQ(equal.yMax, 4);
}

// What is graduated as given and what is replaced, at the exact limits: beyond them the top
// graduation would overflow, or the step's power of ten would leave the normal doubles (it then
// stops being a power of ten and ends at 0, a division by zero in the snap).
TEST(ScaleTest, ExactLimitsOfWhatIsGraduated) {
    struct Case {
        const char* name;
        double xMax;  // X from 0; Y 0..4
        double mantissa;
        int exponent;  // of the graduated axis; 0: the range is replaced
    };
    const Case cases[] = {
        {"largest: step 2.5e307, top 1.75e308", 1.750017500175e+308, 2.5, 307},
        {"one more: the step 5e307 puts the top beyond the doubles", 1.7500175001750002e+308, 0, 0},
        {"smallest: step 1e-307", 3.5000350003500042e-307, 1, -307},
        {"one less: the power 1e-308 is subnormal", 3.5000350003500038e-307, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ScaleDef s = FromLimits(0, c.xMax, 0, 4);
        EXPECT_TRUE(std::isfinite(s.xMax));
        if (c.exponent != 0) {
            EXPECT_EQ(s.xMin, 0);
            EXPECT_EQ(s.xMantissa, c.mantissa);
            EXPECT_EQ(s.xExponent, c.exponent);
            EXPECT_GE(s.xMax, c.xMax * 0.99999);
            EXPECT_NEAR((s.xMax - s.xMin) / s.xStep, 7, 1e-9);
        } else {
            EXPECT_NE(s.xMin, 0) << "replaced";
        }
    }
    // Large values far from those limits are graduated as they are, from limits or from points.
    const ScaleDef limits = FromLimits(2e300, 3e300, 0, 4);
    EXPECT_NEAR(limits.xMin, 2e300, 1e288);
    EXPECT_NEAR(limits.xMax, 3.4e300, 1e288);
    EXPECT_NEAR(limits.xStep, 2e299, 1e287);
    const ScaleDef points = FromPoints({2e300, 3e300}, {2e300, 3e300});
    EXPECT_NEAR(points.xMin, 1.8e300, 1e288);
    EXPECT_NEAR(points.xMax, 3.2e300, 1e288);
    EXPECT_NEAR(points.xStep, 2e299, 1e287);
}

// The mantissa rounds up at 1, 2 and 2.5 exclusive, and m is normalised into 0.5 < m <= 5: Y from 0
// to each first value gives m = yMax x 0.99999 x 0.25 exactly 0.5, 1, 2, 2.5 or 5, and the next
// double one unit above.
TEST(ScaleTest, MantissaBoundariesAreExact) {
    struct Case {
        double yMax, mantissa, power;
    };
    const Case cases[] = {
        {2.0000200002000019, 5, 0.1}, {2.0000200002000024, 1, 1}, {4.0000400004000038, 1, 1},
        {4.0000400004000047, 2, 1},   {8.0000800008000077, 2, 1}, {8.0000800008000095, 2.5, 1},
        {10.000100001000009, 2.5, 1}, {10.000100001000011, 5, 1}, {20.000200002000017, 5, 1},
        {20.000200002000021, 1, 10},
    };
    for (const Case& c : cases) {
        const ScaleDef s = FromLimits(0, 7, 0, c.yMax);
        EXPECT_EQ(s.yMantissa, c.mantissa) << c.yMax;
        EXPECT_DOUBLE_EQ(s.yPower, c.power) << c.yMax;
    }
}

// A minimum of -0.0, typed or snapped, is the graduation 0: +0.0, which shows without a sign.
TEST(ScaleTest, ZeroMinimumHasNoSign) {
    const ScaleDef s = FromLimits(-0.0, 7, -0.0, 4);
    EXPECT_EQ(s.xMin, 0);
    EXPECT_FALSE(std::signbit(s.xMin));
    EXPECT_FALSE(std::signbit(s.yMin));
}

TEST(ScaleTest, ATopThatNoStepCanReachThroughRoundingStillEnds) {
    // Y from -0.1 to 1e-18: the step 0.025 puts the top graduation on 0, just below the top, but
    // 0.1 + 1e-18 rounds back to 0.1, so the next pass finds the same step again. Without a bound
    // on the passes this never ends; the scale stays on the step found.
    const ScaleDef s = FromLimits(0, 7, -0.1, 1e-18);
    EXPECT_EQ(s.yStep, 0.025);
    EXPECT_NEAR(s.yMin, -0.1, 1e-15);
    EXPECT_NEAR(s.yMax, 0, 1e-15);
    EXPECT_EQ(s.xStep, 1);
    EXPECT_EQ(s.xMin, 0);
    EXPECT_EQ(s.xMax, 7);

    // The same through the points of a document.
    const ScaleDef fromPoints = FromPoints({7.527e-15, 4.059e-15}, {-0.0071, -0.0781});
    EXPECT_EQ(fromPoints.yStep, 0.025);
    EXPECT_NEAR(fromPoints.yMax, 0, 1e-15);
}

TEST(ScaleTest, FitToPointsRespectsTheFlagAndTheCount) {
    ScaleDef user;
    user.autoScale = 0;
    user.xMin = -3;
    user.xMax = 4;
    const double x[] = {100, 200}, y[] = {1, 2};
    user.FitToPoints(2, x, y);
    EXPECT_EQ(user.xMin, -3) << "limits set by the user stay";
    EXPECT_EQ(user.xMax, 4);
    ScaleDef none;
    none.autoScale = 1;
    none.xMax = 9;
    none.FitToPoints(0, x, y);
    EXPECT_EQ(none.xMax, 9) << "no points, no change";
}

TEST(ScaleTest, AutoScaleUsesThePointTableOnlyWhenPresent) {
    auto data = std::make_unique<FitData>();
    data->scale.autoScale = 1;
    data->scale.xMax = 123;
    data->nPoints = 3;
    data->AutoScale();
    EXPECT_EQ(data->scale.xMax, 123) << "hasPoints not set";
    data->hasPoints = 1;
    data->nPoints = 0;
    data->AutoScale();
    EXPECT_EQ(data->scale.xMax, 123) << "an empty table";
    data->nPoints = 3;
    for (int i = 0; i < 3; ++i) {
        data->pointX[i] = 5 * i;    // 0..10
        data->pointY[i] = 0.5 * i;  // 0..1
    }
    data->AutoScale();
    EXPECT_DOUBLE_EQ(data->scale.xMin, -2);
    EXPECT_DOUBLE_EQ(data->scale.xMax, 12);
    EXPECT_DOUBLE_EQ(data->scale.yMax, 1.5);
}

TEST(ScaleTest, AutoScaleNeverReadsPastTheTable) {
    // A count beyond the arrays: only the 5000 abscissas are read, never the ordinates that
    // follow them in the record.
    auto data = std::make_unique<FitData>();
    data->hasPoints = 1;
    data->nPoints = MAX_POINTS + 1000;
    data->scale.autoScale = 1;
    for (int i = 0; i < MAX_POINTS; ++i) {
        data->pointX[i] = i % 11;
        data->pointY[i] = 1e9;
    }
    data->AutoScale();
    EXPECT_DOUBLE_EQ(data->scale.xMin, -2);
    EXPECT_DOUBLE_EQ(data->scale.xMax, 12);
}

}  // namespace
