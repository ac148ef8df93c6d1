// The values of the fitting function that a fit's pass walks through, evaluated a chunk of points
// at a time: f at the current coefficients and, per free coefficient, f with it shifted up and
// down by its derivative step.
#pragma once

#include <memory>

#include "common/assert.h"
#include "fitdata/fit_data.h"
#include "formula/batch_evaluator.h"
#include "formula/evaluator.h"
#include "numerics/fit_support.h"

// Point by point (each value through EvaluateAt when the walk reaches it, the coefficient shifted
// in place) is what the fits did before the batch evaluator; tools that watch every evaluation
// (the numerics tests' record, the fits benchmark's baseline) select it. The batch is the default.
void SetFitEvaluationsPerPoint(bool perPoint);
bool FitEvaluationsPerPoint();

// A pass calls Prepare(i, derivatives) before it reads point i, then Value(i) and Derivative(i, j)
// in the order it needs them. In the batch, Prepare evaluates the whole chunk that starts at i (a
// few points past where the pass may stop: evaluation has no state), and Value and Derivative
// give what EvaluateAt and CoefficientDerivative would give there, to the bit, with the same
// error codes and the same scratch; the coefficients are never shifted in place.
class FitEvaluations {
  public:
    static constexpr int CHUNK = BatchEvaluator::BLOCK;

    // Reads the program and the abscissas of `data`, which stay unchanged while this lives; the
    // coefficients are read at each chunk.
    explicit FitEvaluations(FitData& data);

    // derivatives: how many free coefficients (freeIndex order) the pass differentiates.
    void Prepare(int i, int derivatives) {
        if (batch_ && i % CHUNK == 0) EvaluateChunk(i, derivatives);
    }

    // f at point i with the current coefficients: EvaluateAt's value and error.
    double Value(int i, int& error) {
        if (!batch_) {
            FunctionDef& function = data_.function;
            return EvaluateAt(function.program, data_.pointX[i], 0, function.coef, error);
        }
        const int p = Index(i);
        error = errors_[0][p];
        return values_[0][p];
    }

    // d f / d coef[freeIndex[j]] at point i: what CoefficientDerivative answers, with its scratch.
    double Derivative(int i, int j, DerivativeScratch& scratch, int& error) {
        if (!batch_) {
            FunctionDef& function = data_.function;
            return CoefficientDerivative(function.program, function.coef, function.freeIndex[j],
                                         data_.pointX[i], scratch, error);
        }
        KURVO_ASSERT(j < derivatives_);
        const int p = Index(i);
        scratch.saved = saved_[j];
        scratch.step = step_[j];
        scratch.fPlus = values_[1 + 2 * j][p];
        error = errors_[1 + 2 * j][p];
        if (error != 0) return 0.0;
        const double fMinus = values_[2 + 2 * j][p];
        error = errors_[2 + 2 * j][p];
        if (error != 0) return 0.0;
        return (scratch.fPlus - fMinus) * 0.5 / scratch.step;
    }

  private:
    int Index(int i) const {
        KURVO_ASSERT(i >= chunkStart_ && i < chunkStart_ + chunkCount_);
        return i - chunkStart_;
    }
    void EvaluateChunk(int first, int derivatives);

    FitData& data_;
    std::unique_ptr<BatchEvaluator> batch_;  // null point by point
    int chunkStart_ = 0;
    int chunkCount_ = 0;
    int derivatives_ = 0;
    double saved_[MAX_COEF] = {};
    double step_[MAX_COEF] = {};
    // Row 0: f; rows 1 + 2j and 2 + 2j: f with coefficient j shifted up and down.
    double values_[1 + 2 * MAX_COEF][CHUNK];
    int errors_[1 + 2 * MAX_COEF][CHUNK];
};
