// Tests of the Gauss-Newton fit and of its L*D*L^T solver.
#include "numerics/gauss_newton.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/numerics/evaluation_log.h"
#include "tests/numerics/fit_fixture.h"

namespace {

// ---- SolveLDLt ----

TEST(SolveLDLtTest, SolvesAndLeavesFactorsInTheMatrix) {
    // A = L D L^T with L = [1 0 0; 0.5 1 0; -1 2 1], D = diag(4, 2, 3); x = (1, -2, 3).
    double a[MAX_COEF][MAX_COEF] = {{4, 2, -4}, {2, 3, 2}, {-4, 2, 15}};
    double rhs[MAX_COEF] = {-12, 2, 37};
    int code = -1;
    SolveLDLt(a, rhs, 3, code);
    ASSERT_EQ(code, 0);
    // Every intermediate is a small integer or half-integer: exact in doubles.
    EXPECT_EQ(rhs[0], 1.0);
    EXPECT_EQ(rhs[1], -2.0);
    EXPECT_EQ(rhs[2], 3.0);
    EXPECT_EQ(a[0][0], 4.0);  // D on the diagonal
    EXPECT_EQ(a[1][1], 2.0);
    EXPECT_EQ(a[2][2], 3.0);
    EXPECT_EQ(a[1][0], 0.5);  // L below it
    EXPECT_EQ(a[2][0], -1.0);
    EXPECT_EQ(a[2][1], 2.0);
    EXPECT_EQ(a[0][1], 2.0);  // upper triangle untouched
    EXPECT_EQ(a[0][2], -4.0);
    EXPECT_EQ(a[1][2], 2.0);
}

TEST(SolveLDLtTest, SumsAreBuiltFirstInIncreasingOrder) {
    // For this matrix the last pivot D_3 = a_33 - ((a_30 a_30) a_00 + (a_31 a_31) a_11 + ...)
    // has one bit pattern; subtracting term by term (0x1.4cb197d967d26p+1), summing with k
    // decreasing (0x1.4cb197d967d24p+1) or grouping a_3k (a_3k a_kk) (0x1.4cb197d967d27p+1) each
    // give another.
    double a[MAX_COEF][MAX_COEF] = {{14.46, 9.32, 11.29, 0.79},
                                    {9.32, 27.43, 16.07, 5.91},
                                    {11.29, 16.07, 15.62, 0.54},
                                    {0.79, 5.91, 0.54, 5.65}};
    double rhs[MAX_COEF] = {1, 2, 3, 4};
    int code = -1;
    SolveLDLt(a, rhs, 4, code);
    ASSERT_EQ(code, 0);
    EXPECT_EQ(a[3][3], 0x1.4cb197d967d25p+1);
}

TEST(SolveLDLtTest, OnlyAnExactlyZeroPivotFails) {
    struct Case {
        double a01, a11;
        int code;
        const char* why;
    };
    const Case cases[] = {
        {2.0, 4.0, 2, "D_1 = 4 - 2*2/1 is exactly 0"},
        {2.0, 1.0, 0, "D_1 = -3: a negative pivot passes"},
        {1.0, 1.0 + 0x1p-52, 0, "D_1 = 2^-52: a tiny pivot passes"},
    };
    for (const Case& c : cases) {
        double a[MAX_COEF][MAX_COEF] = {{1.0, c.a01}, {c.a01, c.a11}};
        double rhs[MAX_COEF] = {7.0, 9.0};
        int code = -1;
        SolveLDLt(a, rhs, 2, code);
        EXPECT_EQ(code, c.code) << c.why;
        if (c.code == 2) {
            EXPECT_EQ(rhs[0], 7.0) << "rhs unchanged on a zero pivot";
            EXPECT_EQ(rhs[1], 9.0) << "rhs unchanged on a zero pivot";
        } else {
            // Residual of the 2 x 2 system with the original entries.
            EXPECT_NEAR(1.0 * rhs[0] + c.a01 * rhs[1], 7.0, 1e-3) << c.why;
            EXPECT_NEAR(c.a01 * rhs[0] + c.a11 * rhs[1], 9.0, 1e-3) << c.why;
        }
    }
}

TEST(SolveLDLtTest, ZeroFirstPivot) {
    double a[MAX_COEF][MAX_COEF] = {{0.0}};
    double rhs[MAX_COEF] = {1.0};
    int code = -1;
    SolveLDLt(a, rhs, 1, code);
    EXPECT_EQ(code, 2);
    EXPECT_EQ(rhs[0], 1.0);
}

// ---- LeastSquaresFitA ----

// Evaluations of one complete pass: the value and two per free coefficient at every point.
int PassEvaluations(int points, int nFree) {
    return points * (1 + 2 * nFree);
}

TEST(GaussNewtonTest, NoFreeCoefficient) {
    std::vector<double> x, y;
    Line(2.0, 1.0, 5, x, y);
    auto data = MakeFitData("A*X+B", {1.5, 1.0}, {1, 1}, x, y);
    const double before = RelativeDistance(*data);
    EXPECT_EQ(LeastSquaresFitA(data.get()), "Pas de coefficients");
    EXPECT_EQ(data->fitDone, 0);
    EXPECT_EQ(data->fitDistance, before) << "the distance of the current coefficients";
    EXPECT_EQ(data->function.coef[0], 1.5);
    EXPECT_EQ(data->function.coef[1], 1.0);
    EXPECT_EQ(EvaluationLog().size(), 5u) << "one pass over the points, values only";
}

TEST(GaussNewtonTest, DataAlreadyCloseEndsAfterOnePassWithItsCorrection) {
    // Within 1e-7 of 2X + 1: the first pass measures a distance below 5e-5 from prev = 0.
    const std::vector<double> x = {1, 2, 3, 4, 5};
    const std::vector<double> y = {3 + 1e-7, 5, 7, 9, 11};
    auto data = MakeFitData("A*X+B", {2.0, 1.0}, {}, x, y);
    const double before = RelativeDistance(*data);
    EXPECT_EQ(LeastSquaresFitA(data.get()), "");
    EXPECT_EQ(data->fitDone, 1);
    EXPECT_EQ(data->fitDistance, before) << "the distance before the pass's correction";
    EXPECT_EQ(EvaluationLog().size(), size_t(PassEvaluations(5, 2)));
    // The least-squares line through these points: A = 2 - 2e-8, B = 1 + 8e-8.
    EXPECT_NE(data->function.coef[0], 2.0) << "the correction is applied";
    EXPECT_NEAR(data->function.coef[0], 2.0 - 2e-8, 1e-12);
    EXPECT_NEAR(data->function.coef[1], 1.0 + 8e-8, 1e-12);
}

TEST(GaussNewtonTest, LinearModelFromPoorGuessAnswersInTheThirdPass) {
    std::vector<double> x, y;
    Line(3.0, -2.0, 6, x, y);
    auto data = MakeFitData("A*X+B", {0.0, 0.0}, {}, x, y);
    EXPECT_EQ(LeastSquaresFitA(data.get()), "");
    EXPECT_EQ(data->fitDone, 1);
    EXPECT_EQ(EvaluationLog().size(), size_t(3 * PassEvaluations(6, 2))) << "three passes";
    EXPECT_NEAR(data->function.coef[0], 3.0, 1e-9);
    EXPECT_NEAR(data->function.coef[1], -2.0, 1e-9);
    EXPECT_LT(data->fitDistance, 1e-9);
}

TEST(GaussNewtonTest, ZeroPivotLeavesCoefficients) {
    // B is used only multiplied by 0: its derivative is 0 at every point.
    std::vector<double> x, y;
    Line(2.0, 0.0, 4, x, y);
    auto data = MakeFitData("A*X+B*0", {1.0, 5.0}, {}, x, y);
    const double before = RelativeDistance(*data);
    EXPECT_EQ(LeastSquaresFitA(data.get()), "Erreur de resolution systeme");
    EXPECT_EQ(data->fitDone, 0);
    EXPECT_EQ(data->function.coef[0], 1.0);
    EXPECT_EQ(data->function.coef[1], 5.0);
    EXPECT_EQ(data->fitDistance, before);
}

TEST(GaussNewtonTest, PassLimitAnswersQuestionMark) {
    // Newton's step on a cube root doubles and flips A every pass: the distance keeps growing.
    const std::vector<double> x = {1, 2, 3};
    const std::vector<double> y = {1, 1, 1};
    auto data = MakeFitData("1+SIGN(A)*ABS(A)^(1/3)+0*X", {1.0}, {}, x, y);
    EXPECT_EQ(LeastSquaresFitA(data.get()), "?");
    EXPECT_EQ(data->fitDone, 1);
    EXPECT_EQ(EvaluationLog().size(), size_t(40 * PassEvaluations(3, 1))) << "40 passes";
    // After 40 corrections A is about (-2)^40 (the central difference is not exact).
    EXPECT_GT(data->function.coef[0], 1e11);
    EXPECT_LT(data->function.coef[0], 1e13);
}

TEST(GaussNewtonTest, EvaluationErrorAtFirstPointLeavesCoefficients) {
    auto data = MakeFitData("LN(A*X)+B", {-1.0, 2.0}, {}, {1, 2, 3}, {1, 2, 3});
    EXPECT_EQ(LeastSquaresFitA(data.get()), "Erreur de calcul dans LN");
    EXPECT_EQ(data->fitDone, 0);
    EXPECT_EQ(data->function.coef[0], -1.0);
    EXPECT_EQ(data->function.coef[1], 2.0);
    EXPECT_EQ(EvaluationLog().size(), 1u);
}

TEST(GaussNewtonTest, FailedDerivativeRestoresTheShiftedCoefficient) {
    // SQRT(A) at A = 0 evaluates, A + h too, A - h = -1e-7 fails.
    auto data = MakeFitData("SQRT(A)*X+B", {0.0, 1.0}, {}, {1, 2}, {1, 2});
    EXPECT_EQ(LeastSquaresFitA(data.get()), "Erreur de calcul dans SQRT");
    EXPECT_EQ(data->fitDone, 0);
    EXPECT_EQ(data->function.coef[0], 0.0);
    EXPECT_FALSE(std::signbit(data->function.coef[0])) << "the saved value itself, +0.0";
    ASSERT_EQ(EvaluationLog().size(), 3u);
    EXPECT_EQ(EvaluationLog()[2].coef[0], -1e-7);
}

TEST(GaussNewtonTest, DerivativeStepsAndRestoredValues) {
    struct Case {
        double a, h;
    };
    const Case cases[] = {{0.0, 1e-7}, {1e6, 10.0}, {-3.0, 3e-5}, {0.001, 1e-7}};
    for (const Case& c : cases) {
        auto data = MakeFitData("A*X+B", {c.a, 0.5}, {}, {1, 2}, {4, 5});
        LeastSquaresFitA(data.get());
        const auto& log = EvaluationLog();
        ASSERT_GE(log.size(), 6u);
        // Point 0: value, A + h, A - h, B + h, B - h.
        EXPECT_EQ(log[0].coef[0], c.a);
        EXPECT_NEAR(log[1].coef[0] - c.a, c.h, c.h * 1e-9) << "A = " << c.a;
        EXPECT_NEAR(c.a - log[2].coef[0], c.h, c.h * 1e-9) << "A = " << c.a;
        EXPECT_EQ(log[3].coef[0], c.a) << "A back to its saved value, A = " << c.a;
        EXPECT_EQ(log[3].coef[1], 0.5 + 5e-6) << "B + |0.5 * 1e-5|";
        EXPECT_EQ(log[5].coef[0], c.a) << "next point starts from the saved values";
        EXPECT_EQ(log[5].coef[1], 0.5);
    }
}

TEST(GaussNewtonTest, OverflowGuardsEndThePassAtOnce) {
    struct Case {
        const char* what;
        double a;
        std::vector<double> x, y;
        size_t evaluations;  // one free coefficient: 3 per completed point
        double partialSum;
    };
    const Case cases[] = {
        {"residual above 1e18 at the first point", 2e18, {1, 2}, {0, 0}, 1, 0.0},
        {"sum above 1e36 at the third point",
         6e17,
         {1, 1, 1, 1},
         {0, 0, 0, 0},
         3 + 3 + 1,
         3 * (6e17 * 6e17)},
        {"derivative above 1e18 with a zero residual", 1.0, {2e18}, {2e18}, 3, 0.0},
    };
    for (const Case& c : cases) {
        auto data = MakeFitData("A*X", {c.a}, {}, c.x, c.y);
        EXPECT_EQ(LeastSquaresFitA(data.get()), "Depassement Capacite Calcul") << c.what;
        EXPECT_EQ(data->fitDone, 0) << c.what;
        EXPECT_EQ(EvaluationLog().size(), c.evaluations) << c.what;
        EXPECT_EQ(data->function.coef[0], c.a) << c.what;
        EXPECT_DOUBLE_EQ(data->fitDistance, c.partialSum) << c.what;
    }
}

TEST(GaussNewtonTest, AllOrdinatesZeroUseTheAbsoluteDistance) {
    // y = 0 everywhere: sum of Y^2 is 0, the distance is sqrt(S) instead of sqrt(S / 0).
    auto data = MakeFitData("A*X+B", {1.0, 1.0}, {}, {1, 2, 3}, {0, 0, 0});
    const double startDistance = std::sqrt(SumOfSquaredResiduals(*data));
    EXPECT_EQ(LeastSquaresFitA(data.get()), "");
    EXPECT_EQ(data->fitDone, 1);
    EXPECT_FALSE(std::isnan(data->fitDistance));
    EXPECT_LT(data->fitDistance, 1e-9) << "third pass, measured at the solution";
    EXPECT_NEAR(data->function.coef[0], 0.0, 1e-12);
    EXPECT_NEAR(data->function.coef[1], 0.0, 1e-12);
    EXPECT_GT(startDistance, 5e-5);
}

TEST(GaussNewtonTest, WideWrapperConvertsTheAnswer) {
    auto data = MakeFitData("A*X", {1.0}, {1}, {1}, {1});
    EXPECT_EQ(LeastSquaresFit(data.get()), L"Pas de coefficients");
}

}  // namespace
