// The Gauss-Newton fit and its L*D*L^T solver.
#include "numerics/gauss_newton.h"

#include <cmath>

#include "common/assert.h"
#include "common/text_conversion.h"
#include "formula/evaluator.h"
#include "formula/evaluator_steps.h"
#include "numerics/fit_evaluations.h"
#include "numerics/fit_support.h"

namespace {

// The evaluator's bounds and overflow code: the fit fails with the evaluator's own words.
constexpr double OVERFLOW_BOUND = evaluator_steps::PRODUCT_HIGH;  // |residual| and |derivative|
constexpr double SUM_BOUND = evaluator_steps::CLAMP_HIGH;         // |S|
constexpr int CODE_OVERFLOW = evaluator_steps::EVAL_OVERFLOW;
constexpr double STOP_THRESHOLD = 5e-5;  // on |distance - previous distance|
constexpr int PASS_LIMIT = 40;
constexpr int CODE_SINGULAR = 2;

}  // namespace

void SolveLDLt(double matrix[][MAX_COEF], double* rhs, int n, int& code) {
    KURVO_ASSERT(n >= 1 && n <= MAX_COEF);
    double(*a)[MAX_COEF] = matrix;
    for (int i = 0; i < n; ++i) {
        double sum = 0.0;
        for (int k = 0; k < i; ++k) sum += a[i][k] * a[i][k] * a[k][k];
        const double pivot = a[i][i] - sum;
        if (pivot == 0.0) {
            code = CODE_SINGULAR;
            return;
        }
        a[i][i] = pivot;
        for (int j = i + 1; j < n; ++j) {
            sum = 0.0;
            for (int k = 0; k < i; ++k) sum += a[i][k] * a[j][k] * a[k][k];
            a[j][i] = (a[i][j] - sum) / pivot;  // a[i][j]: the untouched upper triangle
        }
    }
    for (int i = 0; i < n; ++i) {
        double sum = 0.0;
        for (int k = 0; k < i; ++k) sum += a[i][k] * rhs[k];
        rhs[i] = rhs[i] - sum;
    }
    for (int i = 0; i < n; ++i) rhs[i] = rhs[i] / a[i][i];
    for (int i = n - 1; i >= 0; --i) {
        double sum = 0.0;
        for (int k = i + 1; k < n; ++k) sum += a[k][i] * rhs[k];
        rhs[i] = rhs[i] - sum;
    }
    code = 0;
}

std::string LeastSquaresFitA(FitData* data) {
    FunctionDef& function = data->function;
    const int n = function.nFree;
    AssertFitBounds(*data);

    double normal[MAX_COEF][MAX_COEF];
    double rhs[MAX_COEF];
    double jacRow[MAX_COEF];
    DerivativeScratch scratch;
    int error = 0;
    FitEvaluations evaluations(*data);

    data->fitDistance = 0.0;
    data->fitDone = 0;
    // As an evaluation that fails at the first point: nothing changed.
    if (!FitInputsFinite(*data)) return EvalErrorText(CODE_OVERFLOW);
    int passes = 0;
    for (;;) {
        for (int j = 0; j < n; ++j) {
            rhs[j] = 0.0;
            for (int k = 0; k < n; ++k) normal[j][k] = 0.0;
        }
        const double previous = data->fitDistance;
        data->fitDistance = 0.0;  // accumulates S during the pass
        double sumY2 = 0.0;

        for (int i = 0; i < data->nPoints; ++i) {
            const double y = data->pointY[i];
            evaluations.Prepare(i, n);
            const double value = evaluations.Value(i, error);
            if (error != 0) return EvalErrorText(error);
            const double r = y - value;
            if (std::fabs(r) > OVERFLOW_BOUND) return EvalErrorText(CODE_OVERFLOW);
            data->fitDistance = data->fitDistance + r * r;
            if (std::fabs(data->fitDistance) > SUM_BOUND) return EvalErrorText(CODE_OVERFLOW);
            sumY2 = sumY2 + y * y;
            for (int j = 0; j < n; ++j) {
                jacRow[j] = evaluations.Derivative(i, j, scratch, error);
                if (error != 0) return EvalErrorText(error);
                // Tested before the next coefficient is shifted.
                if (std::fabs(jacRow[j]) > OVERFLOW_BOUND) return EvalErrorText(CODE_OVERFLOW);
            }
            for (int j = 0; j < n; ++j) {
                rhs[j] = rhs[j] + jacRow[j] * r;
                for (int k = 0; k < n; ++k) normal[j][k] = normal[j][k] + jacRow[k] * jacRow[j];
            }
        }
        // The distance of the coefficients this pass started with.
        data->fitDistance = FitDistance(data->fitDistance, sumY2);

        if (n == 0) return "Pas de coefficients";
        int code = 0;
        SolveLDLt(normal, rhs, n, code);
        if (code != 0) return EvalErrorText(code);
        for (int j = 0; j < n; ++j) {
            const int k = function.freeIndex[j];
            function.coef[k] = function.coef[k] + rhs[j];
        }

        // |distance - previous distance| <= 5e-5: each pass compared with the one before only.
        if (std::fabs(data->fitDistance - previous) <= STOP_THRESHOLD) {
            data->fitDone = 1;
            return "";
        }
        ++passes;
        if (passes == PASS_LIMIT) {
            data->fitDone = 1;
            return "?";
        }
    }
}

std::wstring LeastSquaresFit(FitData* data) {
    return NarrowToWide(LeastSquaresFitA(data));
}
