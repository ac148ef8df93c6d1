// A record of every evaluation the numerical routines make, taken by wrapping the evaluator at
// link time (-Wl,--wrap), so that tests can see which abscissas and coefficients were evaluated,
// in which order and how many times.
#pragma once

#include <vector>

struct EvaluationRecord {
    double x;
    double y;  // Y and Z as passed to EvaluateFormula; 0.0 through EvaluateAt
    double z;
    double coef[6];
    int error;  // the code the evaluation answered
};

// Evaluations of EvaluateAt (the fits and the calculations) and of EvaluateFormula called from
// outside the evaluator (the integrator), since the last Clear.
std::vector<EvaluationRecord>& EvaluationLog();
void ClearEvaluationLog();
