// Tests of the Levenberg-Marquardt fit: its linear algebra with guards, and whole runs.
#include "numerics/levenberg_marquardt.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "numerics/fit_support.h"
#include "tests/numerics/evaluation_log.h"
#include "tests/numerics/fit_fixture.h"

namespace {

std::string RunFit(FitData* data, LmSolver& solver) {
    std::string message = "not set";
    solver.Run(data, message);
    return message;
}

// ---- CholeskySolve ----

TEST(CholeskySolveTest, SolvesWithoutChangingTheMatrix) {
    // A = U^T U with U = [2 1 -1; 0 3 2; 0 0 1]; x = (1, 2, -1).
    const double a[MAX_COEF][MAX_COEF] = {{4, 2, -2}, {2, 10, 5}, {-2, 5, 6}};
    double b[MAX_COEF] = {10, 17, 2};
    LmSolver solver;
    solver.error = -1;
    solver.CholeskySolve(a, b, 3, 0.005);
    ASSERT_EQ(solver.error, 0);
    EXPECT_EQ(b[0], 1.0);  // small integers all the way: exact
    EXPECT_EQ(b[1], 2.0);
    EXPECT_EQ(b[2], -1.0);
    EXPECT_EQ(a[0][0], 4.0) << "the factorisation works on a copy";
    EXPECT_EQ(a[2][1], 5.0);
}

TEST(CholeskySolveTest, BackwardSumsRunOverIncreasingIndices) {
    // x_0 = (b_0 - (U_01 x_1 + U_02 x_2 + U_03 x_3)) / U_00; with k decreasing the sum, and so
    // x_0, would end in ...c89 instead of ...c87.
    const double a[MAX_COEF][MAX_COEF] = {{14.46, 9.32, 11.29, 0.79},
                                          {9.32, 27.43, 16.07, 5.91},
                                          {11.29, 16.07, 15.62, 0.54},
                                          {0.79, 5.91, 0.54, 5.65}};
    double b[MAX_COEF] = {2.2, 3.8, 2.1, 4.2};
    LmSolver solver;
    solver.CholeskySolve(a, b, 4, 0.005);
    ASSERT_EQ(solver.error, 0);
    EXPECT_EQ(b[0], -0x1.0dc5712807c87p-3);
    EXPECT_NEAR(b[1], -0.4542577551169569, 1e-15);
    EXPECT_NEAR(b[2], 0.6564031537895861, 1e-15);
    EXPECT_NEAR(b[3], 1.1742066875811987, 1e-15);
}

TEST(CholeskySolveTest, PivotMustExceedTheThreshold) {
    struct Case {
        double a11;
        int error;
        const char* why;
    };
    // Second pivot = a11 - 1 (U_01 = 1).
    const Case cases[] = {
        {1.005, 80, "pivot at the threshold (rounded just below it) fails"},
        {1.0, 80, "zero pivot fails"},
        {0.5, 80, "negative pivot fails"},
        {1.006, 0, "pivot above the threshold passes"},
        {std::numeric_limits<double>::quiet_NaN(), 0, "a pivot that is not a number passes"},
    };
    for (const Case& c : cases) {
        const double a[MAX_COEF][MAX_COEF] = {{1, 1}, {1, c.a11}};
        double b[MAX_COEF] = {1, 1};
        LmSolver solver;
        solver.CholeskySolve(a, b, 2, 0.005);
        EXPECT_EQ(solver.error, c.error) << c.why;
    }
    // Exactly at the threshold: first pivot 0.005 itself.
    const double a[MAX_COEF][MAX_COEF] = {{0.005}};
    double b[MAX_COEF] = {1};
    LmSolver solver;
    solver.CholeskySolve(a, b, 1, 0.005);
    EXPECT_EQ(solver.error, 80) << "the pivot must exceed the threshold";
}

TEST(CholeskySolveTest, GuardsReportOverflow) {
    struct Case {
        double a00, a01, a11, b0;
        const char* why;
    };
    const Case cases[] = {
        // U_00 = 1e20, U_01 = 1e-20: the element test of U_01 fails in row 1.
        {1e40, 1.0, 1.0, 1.0, "element below 1e-18"},
        // (A_01, U_00) = (1e-19, 1e19): a tiny value over a huge one.
        {1e38, 1e-19, 1.0, 1.0, "quotient of A_01 underflows"},
        // (b_0, U_00) = (1e19, 1e-20): a huge value over a tiny one.
        {1e-40, 0.0, 1.0, 1e19, "quotient of b_0 overflows"},
    };
    for (const Case& c : cases) {
        const double a[MAX_COEF][MAX_COEF] = {{c.a00, c.a01}, {c.a01, c.a11}};
        double b[MAX_COEF] = {c.b0, 1.0};
        LmSolver solver;
        solver.CholeskySolve(a, b, 2, -1.0);
        EXPECT_EQ(solver.error, 21) << c.why;
    }
}

// ---- MultiplyMatrix and PredictedReduction ----

TEST(MultiplyMatrixTest, ProductsShiftsAndLengthCheck) {
    const double m[MAX_COEF][MAX_COEF] = {{1, 2, 3}, {4, 5, 6}};  // 2 x 3
    const double v3[3] = {1, -1, 2};
    const double v2[2] = {2, -1};
    double result[MAX_COEF][MAX_COEF] = {};
    LmSolver solver;
    solver.error = 0;

    ASSERT_EQ(solver.MultiplyMatrix(m, 2, 3, 0, v3, 3, 0.0, result), 1);
    EXPECT_EQ(result[0][0], 5.0);
    EXPECT_EQ(result[1][0], 11.0);

    // Shift on the diagonal of the two product rows: (1+10, 5+10).
    ASSERT_EQ(solver.MultiplyMatrix(m, 2, 3, 0, v3, 3, 10.0, result), 1);
    EXPECT_EQ(result[0][0], 15.0);
    EXPECT_EQ(result[1][0], 1.0);

    // Transposed: 3 rows, each column of m times (2, -1).
    ASSERT_EQ(solver.MultiplyMatrix(m, 2, 3, 1, v2, 2, 0.0, result), 1);
    EXPECT_EQ(result[0][0], -2.0);
    EXPECT_EQ(result[1][0], -1.0);
    EXPECT_EQ(result[2][0], 0.0);

    EXPECT_EQ(solver.MultiplyMatrix(m, 2, 3, 0, v2, 2, 0.0, result), 0) << "length must be 3";
    EXPECT_EQ(solver.MultiplyMatrix(m, 2, 3, 1, v3, 3, 0.0, result), 0) << "length must be 2";
    EXPECT_EQ(solver.error, 0) << "a length mismatch is no guard failure";

    const double huge[MAX_COEF][MAX_COEF] = {{1e19}};
    const double big[1] = {2e18};
    EXPECT_EQ(solver.MultiplyMatrix(huge, 1, 1, 0, big, 1, 0.0, result), 0);
    EXPECT_EQ(solver.error, 21);
}

TEST(PredictedReductionTest, HalfTheModelDecrease) {
    auto data = MakeFitData("A*X+B", {0, 0}, {}, {1, 2}, {1, 2});
    LmSolver solver;
    solver.fitData = data.get();
    solver.error = 0;
    solver.mu = 3.0;
    // normal = J^T J + mu*I with J^T J = [2 1; 1 5].
    const double normal[2][2] = {{5, 1}, {1, 8}};
    for (int j = 0; j < 2; ++j)
        for (int k = 0; k < 2; ++k) solver.normal[j][k] = normal[j][k];
    solver.grad[0] = 4;
    solver.grad[1] = -2;
    solver.step[0] = 1;
    solver.step[1] = 2;
    // g.s = 0; s^T J^T J s = 2 + 2*2 + 5*4 = 26; pred = 0 - 13.
    EXPECT_EQ(solver.PredictedReduction(), -13.0);
    EXPECT_EQ(solver.error, 0);

    solver.grad[0] = 1e19;
    solver.step[0] = 1e19;
    EXPECT_EQ(solver.PredictedReduction(), -1.0);
    EXPECT_EQ(solver.error, 87);
}

// ---- Run ----

int BuildEvaluations(int points, int nFree) {
    return points * (1 + 2 * nFree);
}

TEST(LevenbergMarquardtTest, NoFreeCoefficientAnswersEmptyAtOnce) {
    std::vector<double> x, y;
    Line(2.0, 1.0, 5, x, y);
    auto data = MakeFitData("A*X+B", {1.5, 1.0}, {1, 1}, x, y);
    const double before = RelativeDistance(*data);
    LmSolver solver;
    EXPECT_EQ(RunFit(data.get(), solver), "");
    EXPECT_EQ(data->fitDone, 1);
    EXPECT_EQ(data->fitDistance, before);
    EXPECT_EQ(solver.rho, 8.0) << "pred is 0";
    EXPECT_EQ(solver.iteration, 0);
    EXPECT_EQ(EvaluationLog().size(), 10u) << "one gradient pass and one trial";
}

TEST(LevenbergMarquardtTest, DataOnTheCurveAnswersAtTheFirstIteration) {
    std::vector<double> x, y;
    Line(0.5, 4.0, 8, x, y);
    auto data = MakeFitData("A*X+B", {0.5, 4.0}, {}, x, y);
    LmSolver solver;
    EXPECT_EQ(RunFit(data.get(), solver), "");
    EXPECT_EQ(data->fitDone, 1);
    EXPECT_EQ(data->fitDistance, 0.0);
    EXPECT_EQ(solver.pred, 0.0);
    EXPECT_EQ(solver.iteration, 0);
    EXPECT_EQ(data->function.coef[0], 0.5);
    EXPECT_EQ(data->function.coef[1], 4.0);
    EXPECT_EQ(EvaluationLog().size(), size_t(BuildEvaluations(8, 2) + 8));
}

TEST(LevenbergMarquardtTest, ConvergesOnAnExponential) {
    std::vector<double> x, y;
    for (int i = 0; i < 20; ++i) {
        x.push_back(0.25 * i);
        y.push_back(3.0 * std::exp(-0.7 * x.back()) + 0.5);
    }
    auto data = MakeFitData("A*EXP(-B*X)+C", {1.0, 0.1, 0.0}, {}, x, y);
    LmSolver solver;
    EXPECT_EQ(RunFit(data.get(), solver), "");
    EXPECT_EQ(data->fitDone, 1);
    EXPECT_NEAR(data->function.coef[0], 3.0, 1e-7);
    EXPECT_NEAR(data->function.coef[1], 0.7, 1e-7);
    EXPECT_NEAR(data->function.coef[2], 0.5, 1e-7);
    EXPECT_LT(data->fitDistance, 1e-8);
}

TEST(LevenbergMarquardtTest, EvaluationErrorInTheGradientPassKeepsCoefficients) {
    auto data = MakeFitData("LN(A*X)+B", {-1.0, 2.0}, {}, {1, 2, 3}, {1, 2, 3});
    LmSolver solver;
    EXPECT_EQ(RunFit(data.get(), solver), "Erreur de calcul dans LN");
    EXPECT_EQ(data->fitDone, 0);
    EXPECT_EQ(data->fitDistance, 0.0);
    EXPECT_EQ(data->function.coef[0], -1.0);
    EXPECT_EQ(data->function.coef[1], 2.0);
    EXPECT_EQ(EvaluationLog().size(), 1u);
}

TEST(LevenbergMarquardtTest, FailedDerivativeRestoresTheShiftedCoefficient) {
    auto data = MakeFitData("SQRT(A)*X+B", {0.0, 1.0}, {}, {1, 2}, {1, 2});
    LmSolver solver;
    EXPECT_EQ(RunFit(data.get(), solver), "Erreur de calcul dans SQRT");
    EXPECT_EQ(data->function.coef[0], 0.0);
    EXPECT_EQ(solver.derivative.saved, 0.0);
    EXPECT_EQ(solver.derivative.step, 1e-7);
    EXPECT_EQ(EvaluationLog().size(), 3u);
}

TEST(LevenbergMarquardtTest, EvaluationErrorAtTheTrialLeavesTheTrialValues) {
    // f = SQRT(A) at 100 equal points, y = 0.01, A = 1: J = 0.5, r = -0.99, so the first step
    // is 100 * 0.5 * -0.99 / (100 * 0.25 + 4), about -1.7, and the trial's SQRT fails.
    std::vector<double> x, y;
    for (int i = 1; i <= 100; ++i) {
        x.push_back(i);
        y.push_back(0.01);
    }
    auto data = MakeFitData("SQRT(A)+0*X", {1.0}, {}, x, y);
    LmSolver solver;
    EXPECT_EQ(RunFit(data.get(), solver), "Erreur de calcul dans SQRT");
    EXPECT_EQ(data->fitDone, 0);
    EXPECT_EQ(data->fitDistance, 0.0);
    ASSERT_EQ(EvaluationLog().size(), 301u) << "a gradient pass, then the trial's first point";
    EXPECT_NEAR(data->function.coef[0], 1.0 - 49.5 / 29.0, 1e-6) << "the trial values stay";
    EXPECT_EQ(data->function.coef[0], EvaluationLog()[300].coef[0]);
}

TEST(LevenbergMarquardtTest, OverflowGuardsEndThePassAtOnce) {
    struct Case {
        const char* what;
        double a;
        std::vector<double> x, y;
        size_t evaluations;
    };
    const Case cases[] = {
        {"residual above 1e18 at the first point", 2e18, {1, 2}, {0, 0}, 1},
        {"sum above 1e36 at the third point", 6e17, {1, 1, 1, 1}, {0, 0, 0, 0}, 3 + 3 + 1},
    };
    for (const Case& c : cases) {
        auto data = MakeFitData("A*X", {c.a}, {}, c.x, c.y);
        LmSolver solver;
        EXPECT_EQ(RunFit(data.get(), solver), "Depassement Capacite Calcul") << c.what;
        EXPECT_EQ(data->fitDone, 0) << c.what;
        EXPECT_EQ(data->fitDistance, 0.0) << c.what;
        EXPECT_EQ(EvaluationLog().size(), c.evaluations) << c.what;
        EXPECT_EQ(data->function.coef[0], c.a) << c.what;
    }
}

TEST(LevenbergMarquardtTest, ResidualsBelow1e18CountAsZero) {
    // Y = 1e-19 on the line f = 0*X + A with A = 0: the residual is flushed, S stays 0.
    auto data = MakeFitData("A+0*X", {0.0}, {}, {1, 2}, {1e-19, 1e-19});
    LmSolver solver;
    EXPECT_EQ(RunFit(data.get(), solver), "");
    EXPECT_EQ(solver.sNew, 0.0);
    EXPECT_EQ(data->function.coef[0], 0.0) << "a zero gradient gives a zero step";
}

TEST(LevenbergMarquardtTest, AllOrdinatesZeroUseTheAbsoluteDistance) {
    auto data = MakeFitData("A*X+B", {1.0, 1.0}, {}, {1, 2, 3}, {0, 0, 0});
    LmSolver solver;
    EXPECT_EQ(RunFit(data.get(), solver), "");
    EXPECT_EQ(data->fitDone, 1);
    EXPECT_FALSE(std::isnan(data->fitDistance));
    EXPECT_EQ(data->fitDistance, std::sqrt(solver.sNew));
    EXPECT_NEAR(data->function.coef[0], 0.0, 1e-9);
    EXPECT_NEAR(data->function.coef[1], 0.0, 1e-9);
}

TEST(LevenbergMarquardtTest, UnchangedSumWithNonzeroPredictionIsAcceptedAndEnds) {
    // INT(A) is flat around A = 0.999995, but its central difference straddles 1: J = 0.5 / h.
    // The step moves A down, S stays exactly 1, pred is about 0.5: rho = 0 becomes 0.1.
    auto data = MakeFitData("INT(A)*X", {0.999995}, {}, {1}, {-1});
    LmSolver solver;
    EXPECT_EQ(RunFit(data.get(), solver), "");
    EXPECT_EQ(solver.iteration, 0);
    EXPECT_EQ(solver.rho, 0.1);
    EXPECT_EQ(solver.mu, 16.0) << "accepted with rho < 0.25: mu times 4";
    EXPECT_EQ(solver.recompute, 1) << "accepted";
    EXPECT_LT(data->function.coef[0], 0.999995) << "the trial stays";
    EXPECT_NEAR(solver.pred, 0.5, 1e-3);
}

TEST(LevenbergMarquardtTest, PivotAtMostPdMinQuadruplesMu) {
    // B is used only multiplied by 0, so its pivot in J^T J + mu*I is mu itself. The model is
    // linear in A (rho = 2), so mu halves after every trial until it reaches 0.00390625; the next
    // factorisation fails on that pivot and mu goes to 0.015625, then halves to 0.0078125, and so
    // on: mu never ends an iteration below 0.00390625 (without the pivot test it would keep
    // halving).
    auto data =
        MakeFitData("A*X+B*0", {0.0, 0.0}, {}, {0.01, 0.02, 0.03, 0.04}, {0.03, 0.06, 0.09, 0.12});
    LmSolver solver;
    EXPECT_EQ(RunFit(data.get(), solver), "");
    EXPECT_GT(solver.iteration, 20) << "mu stayed large: slow convergence";
    EXPECT_GE(solver.mu, 0.00390625);
    EXPECT_LE(solver.mu, 0.0078125);
    EXPECT_EQ(data->function.coef[1], 0.0) << "a zero gradient gives B a zero step";
    EXPECT_NEAR(data->function.coef[0], 3.0, 1e-8);
}

TEST(LevenbergMarquardtTest, IterationLimitAnswersQuestionMark) {
    // As above with abscissas ten times smaller: mu held near 0.005 dwarfs J^T J = 3e-5 and
    // 200 iterations do not reach the solution.
    auto data = MakeFitData("A*X+B*0", {0.0, 0.0}, {}, {0.001, 0.002, 0.003, 0.004},
                            {0.003, 0.006, 0.009, 0.012});
    LmSolver solver;
    EXPECT_EQ(RunFit(data.get(), solver), "?");
    EXPECT_EQ(data->fitDone, 1);
    EXPECT_EQ(solver.iteration, 200);
    EXPECT_GT(data->function.coef[0], 0.1);
    EXPECT_LT(data->function.coef[0], 2.9);
    EXPECT_DOUBLE_EQ(data->fitDistance, RelativeDistance(*data))
        << "the distance of the coefficients after the last accepted trial";
}

TEST(LevenbergMarquardtTest, FailedPredictionEndsWithItsText) {
    // The cube root's derivative grows without bound near A = 0: eventually step and gradient
    // fall below 1e-18 and the guarded products of the prediction fail.
    auto data = MakeFitData("1+SIGN(A)*ABS(A)^(1/3)+0*X", {1.0}, {}, {1, 2, 3}, {1, 1, 1});
    LmSolver solver;
    EXPECT_EQ(RunFit(data.get(), solver), LM_PREDICTION_FAILED_TEXT);
    EXPECT_EQ(solver.error, 87);
    EXPECT_EQ(data->fitDone, 0);
    EXPECT_EQ(data->fitDistance, 0.0);
    ASSERT_FALSE(EvaluationLog().empty());
    EXPECT_EQ(data->function.coef[0], EvaluationLog().back().coef[0]) << "the trial values stay";
}

TEST(LevenbergMarquardtTest, GainRatioThatIsNotANumberRejectsTheTrial) {
    // One point, one coefficient: a gradient pass of 3 evaluations, then the trial (number 3),
    // whose value is replaced by NaN (the evaluator itself refuses NaN, so only a substitution
    // reaches this). rho is NaN: the trial is rejected and mu goes from 4 to 16, so the next
    // trial (number 4, no gradient pass between) takes the step J r / (J^2 + 16).
    auto data = MakeFitData("A*X", {1.0}, {}, {2}, {5});
    SubstituteEvaluations([](size_t index, double value) {
        return index == 3 ? std::numeric_limits<double>::quiet_NaN() : value;
    });
    LmSolver solver;
    RunFit(data.get(), solver);
    const auto& log = EvaluationLog();
    ASSERT_GE(log.size(), 5u);
    const double h = DerivativeStep(1.0);
    const double j = (log[1].value - log[2].value) * 0.5 / h;
    const double r = 5.0 - log[0].value;
    EXPECT_NEAR(log[3].coef[0], 1.0 + j * r / (j * j + 4.0), 1e-12) << "first trial, mu = 4";
    EXPECT_NEAR(log[4].coef[0], 1.0 + j * r / (j * j + 16.0), 1e-12)
        << "second trial from the same start, mu = 16";
}

// The log of a one-point, one-coefficient run read as gradient passes (c, c + h, c - h) and
// trials (one evaluation each).
struct Pass {
    bool gradient;
    double a;
};

std::vector<Pass> ReadPasses() {
    const auto& log = EvaluationLog();
    std::vector<Pass> passes;
    for (size_t i = 0; i < log.size();) {
        const double a = log[i].coef[0];
        const double h = DerivativeStep(a);
        const bool gradient =
            i + 2 < log.size() && log[i + 1].coef[0] == a + h && log[i + 2].coef[0] == a - h;
        passes.push_back({gradient, a});
        i += gradient ? 3 : 1;
    }
    return passes;
}

TEST(LevenbergMarquardtTest, TrialAfterARejectionIsComparedWithTheRejectedSum) {
    // f = (A^2 - A^4) X at X = 1, y = 0.9, from A = -3: a trial is rejected, and the next one,
    // worse than the start but better than the rejected trial, is accepted.
    auto data = MakeFitData("A^2*X-A^4*X", {-3.0}, {}, {1}, {0.9});
    LmSolver solver;
    EXPECT_EQ(RunFit(data.get(), solver), "");
    const std::vector<Pass> passes = ReadPasses();
    auto sumAt = [&](double a) {
        const double f = a * a - a * a * a * a;
        return (0.9 - f) * (0.9 - f);
    };
    int acceptedWorse = 0;
    for (size_t k = 0; k + 3 < passes.size(); ++k) {
        // gradient pass at a0, rejected trial a1, trial a2, gradient pass at a2 (accepted).
        if (!passes[k].gradient || passes[k + 1].gradient || passes[k + 2].gradient ||
            !passes[k + 3].gradient || passes[k + 3].a != passes[k + 2].a)
            continue;
        const double s0 = sumAt(passes[k].a);
        const double s1 = sumAt(passes[k + 1].a);
        const double s2 = sumAt(passes[k + 2].a);
        EXPECT_GT(s1, s0) << "the first trial was rejected";
        EXPECT_LT(s2, s1) << "accepted against the rejected trial's sum";
        if (s2 > s0) ++acceptedWorse;
    }
    EXPECT_GE(acceptedWorse, 1) << "a trial worse than its start accepted after a rejection";
}

TEST(LevenbergMarquardtTest, WideWrapperConvertsTheAnswer) {
    auto data = MakeFitData("LN(A*X)", {-1.0}, {}, {1}, {1});
    EXPECT_EQ(LevenbergMarquardtFit(data.get()), L"Erreur de calcul dans LN");
}

}  // namespace
