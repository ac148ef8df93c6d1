// The fits' chunked evaluations: the batch evaluator over the point table, coefficient vectors
// shifted as the central differences shift them.
#include "numerics/fit_evaluations.h"

#include <algorithm>
#include <atomic>

namespace {

std::atomic<bool> perPointEvaluations{false};

}  // namespace

void SetFitEvaluationsPerPoint(bool perPoint) {
    perPointEvaluations = perPoint;
}

bool FitEvaluationsPerPoint() {
    return perPointEvaluations;
}

FitEvaluations::FitEvaluations(FitData& data) : data_(data) {
    AssertFitBounds(data);
    if (FitEvaluationsPerPoint()) return;
    batch_ = std::make_unique<BatchEvaluator>(data.function.program);
    // The abscissas stay as they are for the whole fit: their steps are computed once.
    batch_->CachePoints(data.pointX, data.nPoints);
}

void FitEvaluations::EvaluateChunk(int first, int derivatives) {
    const FunctionDef& function = data_.function;
    chunkStart_ = first;
    chunkCount_ = std::min(CHUNK, data_.nPoints - first);
    derivatives_ = derivatives;
    batch_->EvaluateCached(first, chunkCount_, 0, function.coef, values_[0], errors_[0]);
    double coef[MAX_COEF];
    for (int j = 0; j < derivatives; ++j) {
        // The coefficients CoefficientDerivative evaluates with: c + h, then c - h.
        const int k = function.freeIndex[j];
        std::copy(function.coef, function.coef + MAX_COEF, coef);
        saved_[j] = function.coef[k];
        step_[j] = DerivativeStep(saved_[j]);
        coef[k] = saved_[j] + step_[j];
        batch_->EvaluateCached(first, chunkCount_, 0, coef, values_[1 + 2 * j], errors_[1 + 2 * j]);
        coef[k] = saved_[j] - step_[j];
        batch_->EvaluateCached(first, chunkCount_, 0, coef, values_[2 + 2 * j], errors_[2 + 2 * j]);
    }
}
