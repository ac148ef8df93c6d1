// Both fits with the batch evaluations against the same fits point by point: every answer,
// coefficient, distance and, for Levenberg-Marquardt, every field the run leaves, to the bit.
#include "numerics/fit_evaluations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "numerics/gauss_newton.h"
#include "numerics/levenberg_marquardt.h"

namespace {

// Smooth models, models that fail at some points or coefficients (logarithms, roots, poles,
// overflowing exponentials, factorials), and one whose coefficient B has a zero derivative.
const char* const FORMULAS[] = {"A*EXP(-B*X)+C",
                                "A+B*X",
                                "(A+B*X+C*X^2)/(1+D*X+E*X^2+F*X^3)",
                                "A*SIN(B*X+C)+D",
                                "A*LN(B*X)",
                                "SQRT(A-X)*B",
                                "A/(X-B)",
                                "A*X^B",
                                "EXP(A*X)*B+C",
                                "A*FACT(X)+B",
                                "A*TAN(B*X)",
                                "1E20*A*X+B",
                                "A*X+B*0",
                                "A*EXP(B*X*X)-C*X^3"};

double Pick(std::mt19937_64& random) {
    static const double EDGES[] = {0.0, 1e-18, 1e18, 1e-300, 40.0, -3.0, 1e30};
    if (random() % 32 == 0) return EDGES[random() % std::size(EDGES)];
    return std::uniform_real_distribution<double>(-3.0, 3.0)(random);
}

std::unique_ptr<FitData> RandomProblem(std::mt19937_64& random, std::string& formula) {
    auto data = std::make_unique<FitData>();
    data->Reset();
    formula = FORMULAS[random() % std::size(FORMULAS)];
    EXPECT_EQ(data->function.SetTextA(formula), "Ok") << formula;
    double truth[MAX_COEF];
    double start[MAX_COEF];
    int fixed[MAX_COEF];
    for (int k = 0; k < MAX_COEF; ++k) {
        truth[k] = std::uniform_real_distribution<double>(-2.0, 2.0)(random);
        start[k] = random() % 4 ? truth[k] * (1.0 + 0.1 * Pick(random)) : Pick(random);
        fixed[k] = random() % 6 == 0 ? 1 : 0;
    }
    data->function.SetCoefficients(truth, fixed);
    // Past several chunks, or within the first.
    const int n = 1 + static_cast<int>(random() % (random() % 3 ? 300 : 20));
    std::vector<double> x(n);
    std::vector<double> y(n);
    for (int i = 0; i < n; ++i) {
        x[i] = random() % 50 == 0 ? Pick(random) : 3.0 * i / n + 0.1;
        int error = 0;
        y[i] = EvaluateAt(data->function.program, x[i], 0, data->function.coef, error) +
               0.01 * Pick(random);
        if (random() % 200 == 0) y[i] = random() % 2 ? 1e19 : 0.0;
    }
    data->SetPoints(n, x.data(), y.data());
    data->function.SetCoefficients(start, fixed);
    return data;
}

bool SameBits(const void* a, const void* b, size_t size) {
    return std::memcmp(a, b, size) == 0;
}

// What both fits leave in the record.
std::string CompareRecords(const FitData& batch, const FitData& perPoint) {
    if (!SameBits(batch.function.coef, perPoint.function.coef, sizeof batch.function.coef))
        return "coefficients";
    if (!SameBits(&batch.fitDistance, &perPoint.fitDistance, sizeof(double))) return "distance";
    if (batch.fitDone != perPoint.fitDone) return "fitDone";
    return "";
}

// Every field of the solver but the record pointer.
std::string CompareSolvers(const LmSolver& a, const LmSolver& b) {
    struct Field {
        const char* name;
        const void* first;
        const void* second;
        size_t size;
    };
#define FIELD(name) \
    { #name, &a.name, &b.name, sizeof a.name }
    const Field fields[] = {
        FIELD(maxGrad),
        FIELD(pdMin),
        FIELD(gradTol),
        FIELD(sTol),
        FIELD(mu),
        FIELD(gradOk),
        FIELD(sOk),
        FIELD(jacRow),
        FIELD(grad),
        FIELD(step),
        FIELD(normal),
        FIELD(rho),
        FIELD(pred),
        FIELD(muPrev),
        FIELD(sumY2),
        FIELD(sOld),
        FIELD(sNew),
        FIELD(recompute),
        FIELD(iteration),
        FIELD(maxIter),
        FIELD(error),
        FIELD(derivative.saved),
        FIELD(derivative.step),
        FIELD(derivative.fPlus),
    };
#undef FIELD
    for (const Field& field : fields)
        if (!SameBits(field.first, field.second, field.size)) return field.name;
    return "";
}

#ifdef NDEBUG
constexpr int PROBLEMS = 400;
#else
constexpr int PROBLEMS = 120;  // sanitizer builds run several times slower
#endif

TEST(FitEvaluationsTest, BothFitsLeaveWhatTheyLeavePointByPoint) {
    std::mt19937_64 random(7);
    int failures = 0;
    int successes = 0;
    for (int problem = 0; problem < PROBLEMS; ++problem) {
        std::string formula;
        const auto original = RandomProblem(random, formula);
        const std::string where = formula + ", problem " + std::to_string(problem);
        auto batch = std::make_unique<FitData>(*original);
        auto perPoint = std::make_unique<FitData>(*original);

        SetFitEvaluationsPerPoint(false);
        const std::string gnBatch = LeastSquaresFitA(batch.get());
        SetFitEvaluationsPerPoint(true);
        const std::string gnPerPoint = LeastSquaresFitA(perPoint.get());
        EXPECT_EQ(gnBatch, gnPerPoint) << where;
        EXPECT_EQ(CompareRecords(*batch, *perPoint), "") << "Gauss-Newton, " << where;

        *batch = *original;
        *perPoint = *original;
        LmSolver batchSolver{};
        LmSolver perPointSolver{};
        std::string lmBatch;
        std::string lmPerPoint;
        SetFitEvaluationsPerPoint(false);
        batchSolver.Run(batch.get(), lmBatch);
        SetFitEvaluationsPerPoint(true);
        perPointSolver.Run(perPoint.get(), lmPerPoint);
        SetFitEvaluationsPerPoint(false);
        EXPECT_EQ(lmBatch, lmPerPoint) << where;
        EXPECT_EQ(CompareRecords(*batch, *perPoint), "") << "Levenberg-Marquardt, " << where;
        EXPECT_EQ(CompareSolvers(batchSolver, perPointSolver), "") << where;

        for (const std::string& answer : {gnBatch, lmBatch})
            (answer.empty() || answer == "?" ? successes : failures) += 1;
        if (::testing::Test::HasFailure()) break;
    }
    // The problems reach both ends: fits that succeed and fits that stop on a failure.
    EXPECT_GT(successes, PROBLEMS / 4);
    EXPECT_GT(failures, PROBLEMS / 8);
}

// One side of a derivative failing alone: f(c + h) fails where f(c - h) does not. The batch
// answers what the point-by-point path answers there, to the bit, error codes and scratch included.
TEST(FitEvaluationsTest, DerivativeFailingOnTheUpperSideAlone) {
    struct Case {
        const char* formula;
        double coef[MAX_COEF];
        int failing;  // the coefficient whose upward shift fails at the last point
        double x;     // that point
    };
    const Case cases[] = {
        // A + h = 1e-7 makes EXP(1e23); A - h makes EXP(-1e23).
        {"EXP(A*X)*B+C", {1e-28, 2.0, 0.5}, 0, 1e30},
        // B + h > 0 puts a negative under LN; B and B - h do not.
        {"A*LN(B*X)", {1.5, -1e-8}, 1, -1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.formula);
        FitData data;
        data.Reset();
        ASSERT_EQ(data.function.SetTextA(c.formula), "Ok");
        const int fixed[MAX_COEF] = {};
        data.function.SetCoefficients(c.coef, fixed);
        const double x[] = {-0.5, 0.25, c.x};
        const int n = static_cast<int>(std::size(x));
        data.SetPoints(n, x, x);

        // The case fails where it should, or it tells nothing.
        double shifted[MAX_COEF];
        std::copy(std::begin(data.function.coef), std::end(data.function.coef), shifted);
        const double step = DerivativeStep(shifted[c.failing]);
        int upError = 0;
        int downError = 0;
        shifted[c.failing] = c.coef[c.failing] + step;
        EvaluateAt(data.function.program, c.x, 0, shifted, upError);
        shifted[c.failing] = c.coef[c.failing] - step;
        EvaluateAt(data.function.program, c.x, 0, shifted, downError);
        ASSERT_NE(upError, 0);
        ASSERT_EQ(downError, 0);

        std::vector<double> answers[2];
        std::vector<int> errors[2];
        for (int perPoint = 0; perPoint < 2; ++perPoint) {
            SetFitEvaluationsPerPoint(perPoint == 1);
            FitEvaluations evaluations(data);
            for (int i = 0; i < n; ++i) {
                evaluations.Prepare(i, data.function.nFree);
                int error = 0;
                answers[perPoint].push_back(evaluations.Value(i, error));
                errors[perPoint].push_back(error);
                for (int j = 0; j < data.function.nFree; ++j) {
                    DerivativeScratch scratch;
                    answers[perPoint].push_back(evaluations.Derivative(i, j, scratch, error));
                    answers[perPoint].insert(answers[perPoint].end(),
                                             {scratch.saved, scratch.step, scratch.fPlus});
                    errors[perPoint].push_back(error);
                }
            }
        }
        SetFitEvaluationsPerPoint(false);
        EXPECT_TRUE(
            SameBits(answers[0].data(), answers[1].data(), answers[0].size() * sizeof(double)));
        EXPECT_EQ(errors[0], errors[1]);
        EXPECT_NE(errors[1][(n - 1) * (1 + data.function.nFree) + 1 + c.failing], 0)
            << "the point-by-point path answers the failure";
    }
}

}  // namespace
