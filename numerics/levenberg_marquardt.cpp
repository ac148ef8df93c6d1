// The Levenberg-Marquardt fit: normal equations, guarded Cholesky solve, predicted reduction and
// the accept-or-reject loop.
#include "numerics/levenberg_marquardt.h"

#include <cmath>

#include "common/assert.h"
#include "common/text_conversion.h"
#include "formula/evaluator.h"
#include "formula/evaluator_steps.h"

namespace {

// The evaluator's bounds of products and quotients, its clamp and its overflow code: the guards
// of the linear algebra fail where the evaluator's would, with its words.
constexpr double OVERFLOW_BOUND = evaluator_steps::PRODUCT_HIGH;
constexpr double UNDERFLOW_BOUND = evaluator_steps::PRODUCT_LOW;
constexpr double SUM_BOUND = evaluator_steps::CLAMP_HIGH;
constexpr int CODE_OVERFLOW = evaluator_steps::EVAL_OVERFLOW;
constexpr int CODE_PIVOT = 80;
constexpr int CODE_PREDICTION = 87;

// |u| > 1e18, or u != 0 and |u| < 1e-18.
bool ElementFails(double u) {
    const double m = std::fabs(u);
    return m > OVERFLOW_BOUND || (u != 0.0 && m < UNDERFLOW_BOUND);
}

// Both factors above 1e18, or both nonzero and below 1e-18.
bool ProductFails(double p, double q) {
    const double mp = std::fabs(p);
    const double mq = std::fabs(q);
    return (mp > OVERFLOW_BOUND && mq > OVERFLOW_BOUND) ||
           (p != 0.0 && q != 0.0 && mp < UNDERFLOW_BOUND && mq < UNDERFLOW_BOUND);
}

// u / v would underflow (tiny u over huge v) or overflow (huge u over tiny v).
bool QuotientFails(double u, double v) {
    const double magnitudeU = std::fabs(u);
    const double magnitudeV = std::fabs(v);
    return (u != 0.0 && magnitudeU < UNDERFLOW_BOUND && magnitudeV > OVERFLOW_BOUND) ||
           (magnitudeU > OVERFLOW_BOUND && v != 0.0 && magnitudeV < UNDERFLOW_BOUND);
}

}  // namespace

bool LmSolver::AddResidual(int i, double& s, double& r) {
    int code = 0;
    const double value = evaluations_->Value(i, code);
    if (code != 0) {
        error = code;
        return false;
    }
    r = fitData->pointY[i] - value;
    if (std::fabs(r) < UNDERFLOW_BOUND) r = 0.0;
    if (std::fabs(r) > OVERFLOW_BOUND) {
        error = CODE_OVERFLOW;
        return false;
    }
    s = s + r * r;
    if (s > SUM_BOUND) {
        error = CODE_OVERFLOW;
        return false;
    }
    return true;
}

double LmSolver::OutsideRun(double (LmSolver::*pass)()) {
    FitEvaluations evaluations(*fitData);
    evaluations_ = &evaluations;
    const double s = (this->*pass)();
    evaluations_ = nullptr;
    return s;
}

double LmSolver::SumOfSquares() {
    if (evaluations_ == nullptr) return OutsideRun(&LmSolver::SumOfSquares);
    double s = 0.0;
    double r = 0.0;
    for (int i = 0; i < fitData->nPoints; ++i) {
        evaluations_->Prepare(i, 0);
        if (!AddResidual(i, s, r)) return -1.0;
    }
    return s;
}

double LmSolver::BuildNormalEquations() {
    if (evaluations_ == nullptr) return OutsideRun(&LmSolver::BuildNormalEquations);
    const int n = fitData->function.nFree;
    maxGrad = 0.0;
    double s = 0.0;
    for (int j = 0; j < n; ++j) {
        grad[j] = 0.0;
        for (int k = 0; k < n; ++k) normal[j][k] = 0.0;
    }
    for (int i = 0; i < fitData->nPoints; ++i) {
        double r = 0.0;
        evaluations_->Prepare(i, n);
        if (!AddResidual(i, s, r)) return -1.0;
        for (int j = 0; j < n; ++j) {
            int code = 0;
            // The derivative itself is not bounded here.
            jacRow[j] = evaluations_->Derivative(i, j, derivative, code);
            if (code != 0) {
                error = code;
                return -1.0;
            }
        }
        for (int j = 0; j < n; ++j) {
            grad[j] = grad[j] + jacRow[j] * r;
            if (std::fabs(grad[j]) > maxGrad) maxGrad = std::fabs(grad[j]);
            for (int k = 0; k < n; ++k) normal[j][k] = normal[j][k] + jacRow[k] * jacRow[j];
        }
    }
    return s;
}

void LmSolver::CholeskySolve(const double matrix[][MAX_COEF], double* rhs, int n,
                             double threshold) {
    KURVO_ASSERT(n >= 1 && n <= MAX_COEF);
    error = 0;
    double upper[MAX_COEF][MAX_COEF];
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) upper[i][j] = matrix[i][j];

    for (int i = 0; i < n; ++i) {
        double s = 0.0;
        for (int k = 0; k < i; ++k) {
            if (ElementFails(upper[k][i])) {
                error = CODE_OVERFLOW;
                return;
            }
            s += upper[k][i] * upper[k][i];
        }
        const double pivot = matrix[i][i] - s;
        if (pivot <= threshold) {  // a NaN pivot passes
            error = CODE_PIVOT;
            return;
        }
        upper[i][i] = std::sqrt(pivot);
        for (int j = i + 1; j < n; ++j) {
            double t = 0.0;
            for (int k = 0; k < i; ++k) {
                if (ProductFails(upper[k][i], upper[k][j])) {
                    error = CODE_OVERFLOW;
                    return;
                }
                t += upper[k][i] * upper[k][j];
            }
            if (QuotientFails(matrix[i][j], upper[i][i])) {
                error = CODE_OVERFLOW;
                return;
            }
            upper[i][j] = (matrix[i][j] - t) / upper[i][i];
        }
        // Forward substitution with U^T, row by row as the factor grows.
        double t = 0.0;
        for (int k = 0; k < i; ++k) t += rhs[k] * upper[k][i];
        if (QuotientFails(rhs[i], upper[i][i])) {
            error = CODE_OVERFLOW;
            return;
        }
        rhs[i] = (rhs[i] - t) / upper[i][i];
    }

    rhs[n - 1] = rhs[n - 1] / upper[n - 1][n - 1];
    for (int i = n - 2; i >= 0; --i) {
        double t = 0.0;
        for (int k = i + 1; k < n; ++k) {
            if (ProductFails(upper[i][k], rhs[k])) {
                error = CODE_OVERFLOW;
                return;
            }
            t += upper[i][k] * rhs[k];
        }
        // A product test although a quotient follows: kept as the algorithm has it.
        if (ProductFails(rhs[i], upper[i][i])) {
            error = CODE_OVERFLOW;
            return;
        }
        rhs[i] = (rhs[i] - t) / upper[i][i];
    }
}

int LmSolver::MultiplyMatrix(const double matrix[][MAX_COEF], int rows, int cols, int transposed,
                             const double* vector, int length, double shift,
                             double result[][MAX_COEF]) {
    KURVO_ASSERT(rows >= 0 && rows <= MAX_COEF && cols >= 0 && cols <= MAX_COEF);
    const int productRows = transposed ? cols : rows;
    const int inner = transposed ? rows : cols;
    if (length != inner) return 0;

    double shifted[MAX_COEF][MAX_COEF];
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j) shifted[i][j] = matrix[i][j];
    for (int d = 0; d < productRows; ++d) {
        // A diagonal element outside the stored rows x cols block starts at 0.
        if (d >= rows || d >= cols) shifted[d][d] = 0.0;
        shifted[d][d] = shifted[d][d] + shift;
    }

    for (int row = 0; row < productRows; ++row) {
        result[row][0] = 0.0;
        for (int k = 0; k < length; ++k) {
            const double element = transposed ? shifted[k][row] : shifted[row][k];
            if (ProductFails(element, vector[k])) {
                error = CODE_OVERFLOW;
                return 0;
            }
            result[row][0] = result[row][0] + element * vector[k];
        }
    }
    return 1;
}

double LmSolver::PredictedReduction() {
    const int n = fitData->function.nFree;
    // t = g^T s: g as an n x 1 matrix, transposed.
    for (int k = 0; k < n; ++k) columnMatrix[k][0] = grad[k];
    if (!MultiplyMatrix(columnMatrix, n, 1, 1, step, n, 0.0, productMatrix)) {
        error = CODE_PREDICTION;
        return -1.0;
    }
    const double t = productMatrix[0][0];
    // w = (normal - mu*I) s = J^T J s, normal holding J^T J + mu*I.
    if (!MultiplyMatrix(normal, n, n, 0, step, n, -mu, productMatrix)) {
        error = CODE_PREDICTION;
        return -1.0;
    }
    double w[MAX_COEF];
    for (int k = 0; k < n; ++k) w[k] = productMatrix[k][0];
    // q = s^T w.
    for (int k = 0; k < n; ++k) columnMatrix[k][0] = step[k];
    if (!MultiplyMatrix(columnMatrix, n, 1, 1, w, n, 0.0, productMatrix)) {
        error = CODE_PREDICTION;
        return -1.0;
    }
    const double q = productMatrix[0][0];
    return t - 0.5 * q;
}

void LmSolver::Run(FitData* data, std::string& message) {
    FitEvaluations evaluations(*data);
    evaluations_ = &evaluations;
    message = Iterate(data);
    evaluations_ = nullptr;
}

std::string LmSolver::Iterate(FitData* data) {
    fitData = data;
    FunctionDef& function = data->function;
    const int n = function.nFree;
    AssertFitBounds(*data);

    data->fitDistance = 0.0;
    data->fitDone = 0;
    gradTol = 1e10;
    sTol = 1e-20;
    error = 0;
    mu = 4.0;
    pdMin = 0.005;
    recompute = 1;
    muPrev = 0.0;
    maxIter = 200;
    maxGrad = 0.0;
    sumY2 = 0.0;
    for (int i = 0; i < data->nPoints; ++i) sumY2 = sumY2 + data->pointY[i] * data->pointY[i];
    // As an evaluation that fails at the first point: nothing changed.
    if (!FitInputsFinite(*data)) {
        error = CODE_OVERFLOW;
        return EvalErrorText(error);
    }

    // A failure ends the run with fitDone = 0 and fitDistance = 0.0 as set above.
    for (iteration = 0; iteration < maxIter; ++iteration) {
        if (recompute == 1) {
            sOld = BuildNormalEquations();
            if (error != 0) return EvalErrorText(error);
        } else {
            // The matrices still hold the start of the rejected trial; its sum is the one to beat.
            sOld = sNew;
        }

        for (int j = 0; j < n; ++j) {
            normal[j][j] = normal[j][j] + (mu - muPrev);
            step[j] = grad[j];
        }
        if (n > 0) {
            CholeskySolve(normal, step, n, pdMin);
            while (error == CODE_PIVOT) {
                muPrev = mu;
                mu = 4.0 * mu;
                for (int j = 0; j < n; ++j) {
                    normal[j][j] = normal[j][j] + (mu - muPrev);
                    step[j] = grad[j];
                }
                CholeskySolve(normal, step, n, pdMin);
            }
            if (error != 0) return EvalErrorText(error);
        }

        for (int j = 0; j < n; ++j) {
            const int k = function.freeIndex[j];
            function.coef[k] = function.coef[k] + step[j];
        }
        sNew = SumOfSquares();
        if (error != 0) return EvalErrorText(error);  // coefficients left at the trial
        pred = PredictedReduction();
        if (error != 0) return LM_PREDICTION_FAILED_TEXT;

        rho = pred == 0.0 ? 8.0 : (sOld - sNew) / pred;
        if (std::fabs(rho) < 1e-5) rho = 0.1;

        if (rho > 0.0) {
            muPrev = 0.0;
            recompute = 1;
            if (rho < 0.25)
                mu = 4.0 * mu;
            else if (rho > 0.75)
                mu = 0.5 * mu;
        } else {
            // Rejected, a rho that is not a number included.
            for (int j = 0; j < n; ++j) {
                const int k = function.freeIndex[j];
                function.coef[k] = function.coef[k] - step[j];
            }
            recompute = 0;
            muPrev = mu;
            mu = 4.0 * mu;
        }

        // maxGrad <= gradTol, from the last gradient pass; |sNew - sOld| <= sTol, absolute, not
        // relative. Tested after accepted and rejected trials alike.
        gradOk = maxGrad <= gradTol;
        sOk = std::fabs(sNew - sOld) <= sTol;
        if (gradOk && sOk) {
            data->fitDistance = FitDistance(sNew, sumY2);
            data->fitDone = 1;
            return "";
        }
    }

    const double s = SumOfSquares();
    // These coefficients were evaluated before, but a restored c + s - s need not be c to the
    // bit: a failure here is still reported as one.
    if (error != 0) return EvalErrorText(error);
    data->fitDistance = FitDistance(s, sumY2);
    data->fitDone = 1;
    return "?";
}

std::wstring LevenbergMarquardtFit(FitData* data) {
    LmSolver solver;
    std::string message;
    solver.Run(data, message);
    return NarrowToWide(message);
}
