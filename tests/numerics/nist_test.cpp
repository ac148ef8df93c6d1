// Both fits on three NIST StRD nonlinear-regression problems from both of NIST's starts: the
// answer and the correct significant digits of the coefficients are held, so that a change to
// either fit that alters them shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "numerics/gauss_newton.h"
#include "numerics/levenberg_marquardt.h"
#include "tests/numerics/fit_fixture.h"

namespace {

struct NistProblem {
    const char* name;
    const char* formula;
    std::vector<double> start[2];
    std::vector<double> certified;
    std::vector<double> x, y;
};

const NistProblem kDanWood{"DanWood",
                           "A*(X^B)",
                           {{1, 5}, {0.7, 4}},
                           {7.6886226176E-01, 3.8604055871E+00},
                           {1.309, 1.471, 1.490, 1.565, 1.611, 1.680},
                           {2.138, 3.421, 3.597, 4.340, 4.882, 5.660}};
const NistProblem kBoxBod{"BoxBOD",
                          "A*(1-EXP(-B*X))",
                          {{1, 1}, {100, 0.75}},
                          {2.1380940889E+02, 5.4723748542E-01},
                          {1, 2, 3, 5, 7, 10},
                          {109, 149, 149, 191, 213, 224}};
const NistProblem kRat42{"Rat42",
                         "A/(1+EXP(B-C*X))",
                         {{100, 1, 0.1}, {75, 2.5, 0.07}},
                         {7.2462237576E+01, 2.6180768402E+00, 6.7359200066E-02},
                         {9, 14, 21, 28, 42, 57, 63, 70, 79},
                         {8.930, 10.800, 18.590, 22.330, 39.350, 56.110, 61.730, 64.620, 67.080}};

// The fewest correct significant digits among the coefficients, -log10 of the relative error,
// from 0 to 11 (the certified values carry 11), to one decimal.
double CorrectDigits(const FitData& data, const std::vector<double>& certified) {
    double fewest = 11.0;
    for (size_t k = 0; k < certified.size(); ++k) {
        if (!std::isfinite(data.function.coef[k])) return 0.0;
        const double relative =
            std::fabs(data.function.coef[k] - certified[k]) / std::fabs(certified[k]);
        fewest = std::min(fewest, relative == 0.0 ? 11.0 : -std::log10(relative));
    }
    fewest = std::max(fewest, 0.0);
    return std::round(fewest * 10) / 10;
}

enum Method { kGaussNewton, kLevenbergMarquardt };

struct NistCase {
    const NistProblem* problem;
    Method method;
    int start;  // 1 or 2
    const char* answer;
    double digits;
};

TEST(NistTest, AnswersAndCorrectDigitsOfBothFitsFromBothStarts) {
    const NistCase cases[] = {
        {&kDanWood, kGaussNewton, 1, "", 8.0},
        {&kDanWood, kGaussNewton, 2, "", 8.7},
        {&kDanWood, kLevenbergMarquardt, 1, "", 11.0},
        {&kDanWood, kLevenbergMarquardt, 2, "?", 11.0},
        {&kBoxBod, kGaussNewton, 1,
         "Erreur dans le calcul d'une Exponentielle : Depassement Capacite", 0.0},
        {&kBoxBod, kGaussNewton, 2, "", 3.8},
        {&kBoxBod, kLevenbergMarquardt, 1, "Depassement Capacite Calcul", 0.0},
        {&kBoxBod, kLevenbergMarquardt, 2, "", 9.4},
        {&kRat42, kGaussNewton, 1, "Erreur de resolution systeme", 0.0},
        {&kRat42, kGaussNewton, 2, "", 6.0},
        {&kRat42, kLevenbergMarquardt, 1, "", 11.0},
        {&kRat42, kLevenbergMarquardt, 2, "", 11.0},
    };
    for (const NistCase& c : cases) {
        const NistProblem& p = *c.problem;
        SCOPED_TRACE(testing::Message() << p.name << (c.method == kGaussNewton ? " GN" : " LM")
                                        << " start " << c.start);
        auto data = MakeFitData(p.formula, p.start[c.start - 1], {}, p.x, p.y);
        std::string answer;
        if (c.method == kGaussNewton) {
            answer = LeastSquaresFitA(data.get());
        } else {
            LmSolver solver;
            solver.Run(data.get(), answer);
        }
        EXPECT_EQ(answer, c.answer);
        EXPECT_EQ(CorrectDigits(*data, p.certified), c.digits);
    }
}

}  // namespace
