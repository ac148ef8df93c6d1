// Link-time wrappers of the evaluator that record every call (see evaluation_log.h).
#include "tests/numerics/evaluation_log.h"

#include "formula/evaluator.h"
#include "numerics/fit_evaluations.h"

// The real evaluator under the names that --wrap gives it, and the wrappers the callers reach.
double RealEvaluateAt(const CompiledFormula& program, double X, int flag, const double* coef,
                      int& error) __asm__("__real__Z10EvaluateAtRK15CompiledFormuladiPKdRi");
double RealEvaluateFormula(
    const CompiledFormula& program, int flag, const double* coef, double X, double Y, double Z,
    int& error) __asm__("__real__Z15EvaluateFormulaRK15CompiledFormulaiPKddddRi");
double WrappedEvaluateAt(const CompiledFormula& program, double X, int flag, const double* coef,
                         int& error) __asm__("__wrap__Z10EvaluateAtRK15CompiledFormuladiPKdRi");
double WrappedEvaluateFormula(
    const CompiledFormula& program, int flag, const double* coef, double X, double Y, double Z,
    int& error) __asm__("__wrap__Z15EvaluateFormulaRK15CompiledFormulaiPKddddRi");

namespace {

// The record sees what goes through EvaluateAt, so the fits under test evaluate point by point;
// the batch that they use otherwise is compared with this path in fit_evaluations_test.cpp.
const bool fitsPerPoint = [] {
    SetFitEvaluationsPerPoint(true);
    return true;
}();

// Set while EvaluateAt runs, so that its own call of EvaluateFormula (when the evaluator's two
// routines sit in different object files) is not recorded twice.
bool insideEvaluateAt = false;

EvaluationSubstitute& Substitute() {
    static EvaluationSubstitute substitute;
    return substitute;
}

double Record(double x, double y, double z, const double* coef, int error, double value) {
    if (Substitute()) value = Substitute()(EvaluationLog().size(), value);
    EvaluationRecord record{x, y, z, {}, error, value};
    for (int i = 0; i < 6; ++i) record.coef[i] = coef[i];
    EvaluationLog().push_back(record);
    return value;
}

}  // namespace

std::vector<EvaluationRecord>& EvaluationLog() {
    static std::vector<EvaluationRecord> log;
    return log;
}

void ClearEvaluationLog() {
    EvaluationLog().clear();
    Substitute() = nullptr;
}

void SubstituteEvaluations(EvaluationSubstitute substitute) {
    Substitute() = substitute;
}

double WrappedEvaluateAt(const CompiledFormula& program, double X, int flag, const double* coef,
                         int& error) {
    insideEvaluateAt = true;
    const double value = RealEvaluateAt(program, X, flag, coef, error);
    insideEvaluateAt = false;
    return Record(X, 0.0, 0.0, coef, error, value);
}

double WrappedEvaluateFormula(const CompiledFormula& program, int flag, const double* coef,
                              double X, double Y, double Z, int& error) {
    const double value = RealEvaluateFormula(program, flag, coef, X, Y, Z, error);
    if (insideEvaluateAt) return value;
    return Record(X, Y, Z, coef, error, value);
}
