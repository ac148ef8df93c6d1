// A record of every evaluation the numerical routines make, taken by wrapping the evaluator at
// link time (-Wl,--wrap), so that tests can see which abscissas and coefficients were evaluated,
// in which order and how many times.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

struct EvaluationRecord {
    double x;
    double y;  // Y and Z as passed to EvaluateFormula; 0.0 through EvaluateAt
    double z;
    double coef[6];
    int error;     // the code the evaluation answered
    double value;  // the value it answered (after any substitution)
};

// Evaluations of EvaluateAt (the fits and the calculations) and of EvaluateFormula called from
// outside the evaluator (the integrator), since the last Clear.
std::vector<EvaluationRecord>& EvaluationLog();
// Clears the log and the substitution.
void ClearEvaluationLog();

// When set, the value of the evaluation numbered `index` (from 0 since the last clear) is replaced
// by what this answers, so that a test can feed the routines a value the evaluator never gives.
using EvaluationSubstitute = std::function<double(size_t index, double value)>;
void SubstituteEvaluations(EvaluationSubstitute substitute);
