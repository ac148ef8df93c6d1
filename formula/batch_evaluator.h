// The batch evaluator: one compiled program over many abscissas at once, giving at every point
// the value bits and the error code that EvaluateAt gives there.
#pragma once

#include <cstdint>
#include <vector>

#include "formula/compiled_formula.h"

// Settles a program once (its malformed steps, its stack depth, which steps depend on the
// coefficients only, on X only, or on both), then runs it step by step across blocks of points.
// Steps of constants and coefficients are computed once per call, steps of X alone once per
// block, or once for all when the points are kept (CachePoints); the rest across the block, with
// the cheap range test of products and quotients and the exact guard for the points that fail it.
// The error of a point is the first one it meets in the order of the program, as in EvaluateAt.
//
// Construction and CachePoints allocate; the evaluations allocate nothing. An evaluator keeps
// scratch between calls: one evaluator per thread.
class BatchEvaluator {
  public:
    // Points run together across one block.
    static constexpr int BLOCK = 128;

    explicit BatchEvaluator(const CompiledFormula& program);

    // For i in [0, count): values[i] = EvaluateAt(program, x[i], flag, coef, errors[i]).
    void Evaluate(const double* x, int count, int flag, const double* coef, double* values,
                  int* errors);

    // Keeps a copy of x[0..count-1] with the values (and first errors) of every step that
    // depends on X alone, for EvaluateCached. Allocates.
    void CachePoints(const double* x, int count);
    // Evaluate over the kept points first .. first + count - 1 (within the kept count).
    void EvaluateCached(int first, int count, int flag, const double* coef, double* values,
                        int* errors);
    int CachedCount() const { return cachedCount_; }

    // What a step depends on: constants only, coefficients (and constants), X (and constants),
    // or both X and coefficients.
    enum Kind : uint8_t { KIND_CONST, KIND_COEF, KIND_X, KIND_MIXED };

    // One step of the settled program; the value of step i is value i. Equal steps of the
    // program are settled once (their bits are equal, and a failure of the later one is never
    // the first), at the place of the first.
    struct Step {
        int32_t op = 0;     // opcode; LOG_ABS for ln|a| shared by the powers of one base
        int32_t place = 0;  // index of the step in the program: the order of the errors
        int32_t a = -1;     // operands: value ids
        int32_t b = -1;
        int32_t log = -1;  // a power: the value id of ln|a|
        int32_t coefficient = 0;
        double constant = 0.0;
        Kind kind = KIND_CONST;
    };
    static constexpr int32_t LOG_ABS = 1;

  private:
    // Each point's first failure in the block so far; `any` once a point has one.
    struct Failures {
        int32_t place[BLOCK];
        int32_t code[BLOCK];
        bool any = false;
        void Note(int p, int32_t stepPlace, int32_t stepCode) {
            if (stepPlace < place[p]) {
                place[p] = stepPlace;
                code[p] = stepCode;
                any = true;
            }
        }
    };

    int AddStep(const Step& step);
    void Settle(const CompiledFormula& program);
    // The steps of constants and coefficients for this call, in order up to the first failure;
    // sets stopPlace_ / stopCode_ to the first failure that every point meets.
    void RunUniform(const double* coef);
    double UniformValue(const Step& step, const double* coef, int& code) const;
    // Runs `list` across n points (the operands set in in_) up to stopPlace_.
    void RunBlock(const std::vector<int32_t>& list, int n);
    void RunStep(const Step& step, double* out, int n);
    // Final clamp and outputs of one block.
    void Finish(int n, double* values, int* errors);
    void EvaluateBlocks(const double* x, int first, int count, int flag, const double* coef,
                        double* values, int* errors, bool cached);

    std::vector<Step> steps_;
    std::vector<double> scalar_;            // values of the uniform steps
    std::vector<const double*> in_;         // block values of the other steps
    std::vector<double*> slot_;             // where a computed step writes its block
    std::vector<double> slots_;             // BLOCK doubles per computed step
    std::vector<int32_t> coefSteps_;        // uniform steps that need the coefficients, in order
    std::vector<int32_t> xSteps_;           // computed steps of X alone, in order
    std::vector<int32_t> mixedSteps_;       // steps of X and coefficients, in order
    std::vector<int32_t> allSteps_;         // both, in order
    std::vector<int32_t> xValues_;          // every value of X alone (the X push included)
    int32_t xPush_ = -1;                    // value id of X, or -1
    int32_t final_ = -1;                    // value id of the result, or -1
    int32_t finalPlace_ = 0;                // place of the final clamp
    int32_t programStopPlace_ = INT32_MAX;  // first failure of the program itself
    int32_t programStopCode_ = 0;
    int32_t stopPlace_ = INT32_MAX;  // of this call
    int32_t stopCode_ = 0;

    // Kept points: xValues_.size() rows of cachedCount_ values, and each point's first failure
    // among the steps of X alone.
    int cachedCount_ = 0;
    std::vector<double> cache_;
    std::vector<int32_t> cacheRow_;  // value id -> row, -1 for the others
    std::vector<int32_t> cachedPlace_;
    std::vector<int32_t> cachedCode_;
    bool cachedFailures_ = false;  // some kept point fails in a step of X alone

    Failures failures_;
};
