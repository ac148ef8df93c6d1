// Builds the FitData records of the numerics tests: a compiled function, its coefficients and
// fixed flags, and a point table.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "fitdata/fit_data.h"
#include "formula/evaluator.h"
#include "tests/numerics/evaluation_log.h"

// A record with `formula` compiled, coefficients A.. = coef (fixed where fixed[i] is 1) and the
// points (x[i], y[i]); the evaluation log is cleared.
inline std::unique_ptr<FitData> MakeFitData(const std::string& formula,
                                            const std::vector<double>& coef,
                                            const std::vector<int>& fixed,
                                            const std::vector<double>& x,
                                            const std::vector<double>& y) {
    auto data = std::make_unique<FitData>();
    data->Reset();
    EXPECT_EQ(data->function.SetTextA(formula), "Ok") << formula;
    double values[MAX_COEF] = {};
    int flags[MAX_COEF] = {};
    for (size_t i = 0; i < coef.size(); ++i) values[i] = coef[i];
    for (size_t i = 0; i < fixed.size(); ++i) flags[i] = fixed[i];
    data->function.SetCoefficients(values, flags);
    data->SetPoints(static_cast<int>(x.size()), x.data(), y.data());
    ClearEvaluationLog();
    return data;
}

// A record with no points whose program is any formula (the calculations read nothing else).
inline std::unique_ptr<FitData> MakeFunction(const std::string& formula,
                                             const std::vector<double>& coef = {}) {
    auto data = std::make_unique<FitData>();
    data->Reset();
    int error = -1;
    data->function.program.CompileExpression(std::wstring(formula.begin(), formula.end()), error);
    EXPECT_EQ(error, 0) << formula;
    for (size_t i = 0; i < coef.size(); ++i) data->function.coef[i] = coef[i];
    ClearEvaluationLog();
    return data;
}

// Sum of squared residuals at the current coefficients, in point order (not logged).
inline double SumOfSquaredResiduals(const FitData& data) {
    const size_t logged = EvaluationLog().size();
    double s = 0.0;
    for (int i = 0; i < data.nPoints; ++i) {
        int error = 0;
        const double r = data.pointY[i] - EvaluateAt(data.function.program, data.pointX[i], 0,
                                                     data.function.coef, error);
        EXPECT_EQ(error, 0);
        s += r * r;
    }
    EvaluationLog().resize(logged);
    return s;
}

// sqrt(S / sum of Y^2) at the current coefficients (not logged).
inline double RelativeDistance(const FitData& data) {
    double sumY2 = 0.0;
    for (int i = 0; i < data.nPoints; ++i) sumY2 += data.pointY[i] * data.pointY[i];
    return std::sqrt(SumOfSquaredResiduals(data) / sumY2);
}

// The points of y = slope * x + intercept at x = 1..count.
inline void Line(double slope, double intercept, int count, std::vector<double>& x,
                 std::vector<double>& y) {
    x.clear();
    y.clear();
    for (int i = 1; i <= count; ++i) {
        x.push_back(i);
        y.push_back(slope * i + intercept);
    }
}
