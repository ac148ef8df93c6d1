// Both fits on a document holding values that are no numbers (an old or damaged file): the fit
// fails at once and the coefficients stay as they were.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "numerics/gauss_newton.h"
#include "numerics/levenberg_marquardt.h"
#include "tests/numerics/fit_fixture.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct InputCase {
    const char* name;
    std::vector<double> coef;
    std::vector<int> fixed;
    std::vector<double> x;
    std::vector<double> y;
};

using Fit = std::string (*)(FitData*);

std::string GaussNewton(FitData* data) {
    return LeastSquaresFitA(data);
}

std::string Marquardt(FitData* data) {
    LmSolver solver;
    std::string message;
    solver.Run(data, message);
    return message;
}

TEST(FitInputsTest, ValueThatIsNoNumberFailsWithoutTouchingTheCoefficients) {
    const InputCase cases[] = {
        {"NaN abscissa", {1.0, 0.5}, {}, {1, kNaN, 3}, {2, 4, 6}},
        {"infinite ordinate", {1.0, 0.5}, {}, {1, 2, 3}, {2, -kInf, 6}},
        {"NaN free coefficient", {kNaN, 0.5}, {}, {1, 2, 3}, {2, 4, 6}},
        {"infinite fixed coefficient", {1.0, kInf}, {0, 1}, {1, 2, 3}, {2, 4, 6}},
        {"every coefficient fixed", {1.0, 0.5}, {1, 1}, {1, 2, 3}, {2, kNaN, 6}},
    };
    for (const Fit fit : {&GaussNewton, &Marquardt}) {
        for (const InputCase& c : cases) {
            auto data = MakeFitData("A*X+B", c.coef, c.fixed, c.x, c.y);
            data->fitDone = 1;
            double before[MAX_COEF];
            std::memcpy(before, data->function.coef, sizeof before);
            const std::string label =
                std::string(fit == &GaussNewton ? "Gauss-Newton, " : "Marquardt, ") + c.name;
            EXPECT_EQ(fit(data.get()), "Depassement Capacite Calcul") << label;
            EXPECT_EQ(data->fitDone, 0) << label;
            EXPECT_EQ(data->fitDistance, 0.0) << label;
            // Bit for bit, so that a NaN kept counts as kept.
            EXPECT_EQ(std::memcmp(before, data->function.coef, sizeof before), 0) << label;
        }
    }
}

// Values outside the table and letters the formula does not use are no part of the fit.
TEST(FitInputsTest, ValuesOutsideTheFitDoNotStopIt) {
    for (const Fit fit : {&GaussNewton, &Marquardt}) {
        auto data = MakeFitData("A*X+B", {1.0, 0.5}, {}, {1, 2, 3}, {2, 4, 6});
        data->pointX[3] = kNaN;
        data->pointY[3] = kInf;
        data->function.coef[2] = kNaN;
        const std::string label = fit == &GaussNewton ? "Gauss-Newton" : "Marquardt";
        EXPECT_EQ(fit(data.get()), "") << label;
        EXPECT_EQ(data->fitDone, 1) << label;
        EXPECT_NEAR(data->function.coef[0], 2.0, 1e-9) << label << ": the line y = 2x";
        EXPECT_NEAR(data->function.coef[1], 0.0, 1e-9) << label;
    }
}

}  // namespace
