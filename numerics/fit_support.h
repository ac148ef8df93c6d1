// Pieces shared by the two fits and the calculations: the derivative step, the distance, and the
// central difference in one coefficient.
#pragma once

#include <algorithm>
#include <cmath>

#include "common/assert.h"
#include "fitdata/fit_data.h"
#include "formula/evaluator.h"

// What both fits rely on to stay inside the arrays: a point count and a free list within bounds
// (kept so by FitData's own operations and readers).
inline void AssertFitBounds(const FitData& data) {
    const FunctionDef& function = data.function;
    KURVO_ASSERT(function.nFree >= 0 && function.nFree <= MAX_COEF);
    KURVO_ASSERT(data.nPoints >= 0 && data.nPoints <= MAX_POINTS);
    for (int j = 0; j < function.nFree; ++j)
        KURVO_ASSERT(function.freeIndex[j] >= 0 && function.freeIndex[j] < MAX_COEF);
}

// Whether every value a fit reads is finite: the points of the table and the coefficients the
// formula uses. A NaN or an infinity (from a damaged file) would turn every free coefficient into
// NaN, so the fits refuse such a document before their first evaluation.
inline bool FitInputsFinite(const FitData& data) {
    for (int i = 0; i < data.nPoints; ++i)
        if (!std::isfinite(data.pointX[i]) || !std::isfinite(data.pointY[i])) return false;
    const int used = data.function.nCoef < 0 ? 0 : std::min<int>(data.function.nCoef, MAX_COEF);
    for (int k = 0; k < used; ++k)
        if (!std::isfinite(data.function.coef[k])) return false;
    return true;
}

// Step of every central difference in a value c: |c * 1e-5|, at least 1e-7.
inline double DerivativeStep(double c) {
    double h = std::fabs(c * 1e-5);
    if (h < 1e-7) h = 1e-7;
    return h;
}

// Distance of a fit with the sum of squared residuals s: relative, sqrt(s / sumY2), except when
// every Y is 0 (sumY2 is 0), where the relative distance has no meaning and the absolute one,
// sqrt(s), stands in for it.
inline double FitDistance(double s, double sumY2) {
    if (sumY2 == 0.0) return std::sqrt(s);
    return std::sqrt(s / sumY2);
}

// Scratch of one central difference; the Levenberg-Marquardt solver keeps it as a member.
struct DerivativeScratch {
    double saved = 0.0;  // the coefficient's own value, put back after every shift
    double step = 0.0;   // h
    double fPlus = 0.0;  // f with the coefficient at saved + h
};

// d f / d coef[k] at x by (f(c + h) - f(c - h)) * 0.5 / h. coef[k] always gets its saved value
// back (the value itself, not c - h + h), also when an evaluation fails; then error holds the
// evaluator's code and the answer is 0.0.
inline double CoefficientDerivative(const CompiledFormula& program, double* coef, int k, double x,
                                    DerivativeScratch& scratch, int& error) {
    scratch.saved = coef[k];
    scratch.step = DerivativeStep(scratch.saved);
    coef[k] = scratch.saved + scratch.step;
    scratch.fPlus = EvaluateAt(program, x, 0, coef, error);
    if (error != 0) {
        coef[k] = scratch.saved;
        return 0.0;
    }
    coef[k] = scratch.saved - scratch.step;
    const double fMinus = EvaluateAt(program, x, 0, coef, error);
    coef[k] = scratch.saved;
    if (error != 0) return 0.0;
    return (scratch.fPlus - fMinus) * 0.5 / scratch.step;
}
