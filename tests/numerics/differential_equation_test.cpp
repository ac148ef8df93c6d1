// Tests of the Runge-Kutta integrator.
#include "numerics/differential_equation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "formula/evaluator.h"
#include "tests/numerics/evaluation_log.h"

namespace {

CompiledFormula Compile(const std::string& text) {
    CompiledFormula program;
    int error = -1;
    program.CompileExpression(std::wstring(text.begin(), text.end()), error);
    EXPECT_EQ(error, 0) << text;
    ClearEvaluationLog();
    return program;
}

struct Solution {
    int code = -1;
    std::vector<double> x = std::vector<double>(MAX_POINTS, -99.0);
    std::vector<double> y = std::vector<double>(MAX_POINTS, -99.0);
};

Solution Integrate(const std::string& equation, int order, double xStart, double xEnd,
                   int nIntervals, int finesse, int shownOrder, std::vector<double> initial) {
    const CompiledFormula program = Compile(equation);
    initial.resize(MAX_COEF, 0.0);
    Solution s;
    s.code = IntegrateEquation(program, order, xStart, xEnd, nIntervals, finesse, shownOrder,
                               initial.data(), s.x.data(), s.y.data());
    return s;
}

TEST(IntegrateEquationTest, ExponentialToOrderFour) {
    // y' = y, y(0) = 1: e^X. RK4's global error falls by about 2^4 when h halves.
    double maxError[2] = {};
    const int finesse[2] = {10, 20};
    for (int run = 0; run < 2; ++run) {
        const Solution s = Integrate("Y", 1, 0.0, 1.0, 10, finesse[run], 0, {1.0});
        ASSERT_EQ(s.code, 0);
        for (int i = 0; i <= 10; ++i) {
            EXPECT_NEAR(s.x[i], 0.1 * i, 1e-15) << i;
            maxError[run] = std::max(maxError[run], std::fabs(s.y[i] - std::exp(s.x[i])));
        }
        EXPECT_EQ(s.x[11], -99.0) << "nothing written past point 10";
    }
    // h = 0.01: e * h^4 / 120 is about 2.3e-10.
    EXPECT_LT(maxError[0], 1e-9);
    EXPECT_GT(maxError[0], 1e-12) << "an error of order h^4, not an exact answer";
    EXPECT_GT(maxError[0] / maxError[1], 13.0);
    EXPECT_LT(maxError[0] / maxError[1], 19.0);
}

TEST(IntegrateEquationTest, SecondOrderGivesSineAndCosine) {
    for (int shown = 0; shown < 2; ++shown) {
        const Solution s = Integrate("-A", 2, 0.0, 3.0, 30, 20, shown, {0.0, 1.0});
        ASSERT_EQ(s.code, 0);
        for (int i = 0; i <= 30; ++i) {
            const double expected = shown == 0 ? std::sin(s.x[i]) : std::cos(s.x[i]);
            // h = 0.005: global error about h^4 * 3 / 120, far below 1e-10.
            EXPECT_NEAR(s.y[i], expected, 1e-10) << "shown order " << shown << ", point " << i;
        }
    }
}

TEST(IntegrateEquationTest, PointCountsAndStepsPerInterval) {
    struct Case {
        int nIntervals, finesse;
    };
    const Case cases[] = {{2, 1}, {2, 7}, {98, 1}, {98, 3}};
    for (const Case& c : cases) {
        const Solution s = Integrate("X", 1, -1.0, 2.0, c.nIntervals, c.finesse, 0, {0.5});
        ASSERT_EQ(s.code, 0);
        EXPECT_EQ(EvaluationLog().size(), size_t(4 * c.nIntervals * c.finesse));
        EXPECT_EQ(s.x[0], -1.0);
        EXPECT_EQ(s.y[0], 0.5);
        EXPECT_NEAR(s.x[c.nIntervals], 2.0, 1e-14) << c.nIntervals << " intervals";
        EXPECT_EQ(s.x[c.nIntervals + 1], -99.0) << c.nIntervals + 1 << " points only";
        // y' = X is integrated exactly by RK4: y = X^2 / 2 from y(-1) = 0.5.
        for (int i = 0; i <= c.nIntervals; ++i)
            EXPECT_NEAR(s.y[i], s.x[i] * s.x[i] / 2, 1e-13) << i;
        ClearEvaluationLog();
    }
}

TEST(IntegrateEquationTest, StageAbscissasAndBindings) {
    // One step from 0.94 to 1.51: stages at x, x + half, x + half, (x + half) + half, which
    // here differs from x + h in its last bit.
    const Solution s = Integrate("2*B+Z", 2, 0.94, 1.51, 1, 1, 0, {1.0, 2.0});
    ASSERT_EQ(s.code, 0);
    const auto& log = EvaluationLog();
    ASSERT_EQ(log.size(), 4u);
    const double h = (1.51 - 0.94) / 1 / 1;
    const double half = h * 0.5;
    EXPECT_EQ(log[0].x, 0.94);
    EXPECT_EQ(log[1].x, 0.94 + half);
    EXPECT_EQ(log[2].x, 0.94 + half);
    EXPECT_EQ(log[3].x, (0.94 + half) + half);
    EXPECT_EQ(s.x[1], (0.94 + half) + half) << "the output abscissa is the fourth stage's";
    EXPECT_NE(s.x[1], 0.94 + h);
    for (const auto& record : log) {
        EXPECT_EQ(record.y, record.coef[0]) << "Y is A";
        EXPECT_EQ(record.z, record.coef[1]) << "Z is B";
        for (int c = 2; c < 6; ++c) EXPECT_EQ(record.coef[c], 0.0) << "letters past the order";
    }
    // Stage 1 sees the initial state; stage 2 the state plus half of k1 = (h * 2, h * f1).
    EXPECT_EQ(log[0].coef[0], 1.0);
    EXPECT_EQ(log[0].coef[1], 2.0);
    EXPECT_EQ(log[1].coef[0], 1.0 + h * 2.0 / 2);
    EXPECT_EQ(log[1].coef[1], 2.0 + h * 6.0 / 2);
}

TEST(IntegrateEquationTest, LettersPastTheOrderAreZero) {
    // Order 1: B, C and Z read 0, so y' = 1 + B + Z + C is y' = 1.
    const Solution s = Integrate("1+B+Z+C", 1, 0.0, 2.0, 4, 2, 0, {3.0});
    ASSERT_EQ(s.code, 0);
    for (int i = 0; i <= 4; ++i) EXPECT_NEAR(s.y[i], 3.0 + s.x[i], 1e-14);
}

TEST(IntegrateEquationTest, EvaluationErrorEndsAtOnce) {
    struct Case {
        const char* equation;
        std::vector<double> initial;
        int nIntervals;
        int code;
        size_t evaluations;
    };
    const Case cases[] = {
        {"LN(A)", {0.0}, 10, 12, 1},  // fails at the start
        // h = 0.125: the fourth stage of the fourth step is at 0.375 + 0.0625 + 0.0625 = 0.5.
        {"1/(X-0.5)", {0.0}, 8, 4, 3 * 4 + 4},
        {"W", {1.0}, 10, 3, 1},  // a letter without a value
    };
    for (const Case& c : cases) {
        const Solution s = Integrate(c.equation, 1, 0.0, 1.0, c.nIntervals, 1, 0, c.initial);
        EXPECT_EQ(s.code, c.code) << c.equation;
        EXPECT_EQ(EvaluationLog().size(), c.evaluations) << c.equation;
    }
}

}  // namespace
