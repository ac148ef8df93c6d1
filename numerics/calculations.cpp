// Calculations on the document's function: value, derivative, integral, solutions of f(x) = y.
#include "numerics/calculations.h"

#include <cmath>

#include "common/text_conversion.h"
#include "formula/evaluator.h"
#include "numerics/fit_support.h"

namespace {

const char* const BAD_BOUNDS = "Erreur de definition des bornes";

// f(x) with the current coefficients; a failure fills message and answers false.
bool Evaluate(const FitData* data, double x, double& value, std::string& message) {
    int error = 0;
    value = EvaluateAt(data->function.program, x, 0, data->function.coef, error);
    if (error == 0) return true;
    message = EvalErrorText(error);
    return false;
}

}  // namespace

double EvaluateFA(const FitData* data, double x, std::string& message) {
    message = "";
    double value = 0.0;
    if (!Evaluate(data, x, value, message)) return 0.0;
    return value;
}

double EvaluateF(const FitData* data, double x, std::wstring& message) {
    std::string narrow;
    const double value = EvaluateFA(data, x, narrow);
    message = NarrowToWide(narrow);
    return value;
}

double DerivativeF(const FitData* data, double x, std::string& message) {
    message = "";
    const double h = DerivativeStep(x);
    double fPlus = 0.0;
    double fMinus = 0.0;
    if (!Evaluate(data, x + h, fPlus, message)) return 0.0;
    if (!Evaluate(data, x - h, fMinus, message)) return 0.0;
    return (fPlus - fMinus) * 0.5 / h;
}

double IntegrateSimpson(const FitData* data, double a, double b, std::string& message) {
    if (!(b > a)) {
        message = BAD_BOUNDS;
        return 0.0;
    }
    double value = 0.0;
    if (!Evaluate(data, a, value, message)) return 0.0;
    double sum = value;
    const double h = (b - a) / 100;
    double x = a;
    for (int pair = 0; pair < 50; ++pair) {
        x = x + h;
        if (!Evaluate(data, x, value, message)) return 0.0;
        sum = sum + 4 * value;
        x = x + h;
        if (!Evaluate(data, x, value, message)) return 0.0;
        sum = sum + 2 * value;
    }
    // The loop's last point, about b, entered with weight 2; this leaves the end weight 1.
    if (!Evaluate(data, b, value, message)) return 0.0;
    sum = sum - value;
    message = "";
    return h * sum / 3;
}

double SolveBisection(const FitData* data, double a, double b, double y, std::string& message) {
    message = "";
    for (int halving = 0; halving < 20; ++halving) {
        double fa = 0.0;
        double fm = 0.0;
        double fb = 0.0;
        if (!Evaluate(data, a, fa, message)) return 0.0;
        fa = fa - y;
        const double m = (a + b) * 0.5;
        if (!Evaluate(data, m, fm, message)) return 0.0;
        fm = fm - y;
        if (!Evaluate(data, b, fb, message)) return 0.0;
        fb = fb - y;
        // A y that is not a number (typed as "nan") has no sign against anything: refused
        // like bounds without a sign change, rather than answering the midpoint as a root.
        if ((fa > 0 && fm > 0 && fb > 0) || (fa < 0 && fm < 0 && fb < 0) || std::isnan(fa) ||
            std::isnan(fm) || std::isnan(fb)) {
            message = BAD_BOUNDS;
            return 0.0;
        }
        if ((fa > 0 && fm < 0) || (fa < 0 && fm > 0)) {
            b = m;
        } else if ((fm > 0 && fb < 0) || (fm < 0 && fb > 0)) {
            a = m;
        } else {
            // A zero without a strict sign change. A root on a bound is that bound: halving on
            // would answer the midpoint, which is no root (f = X on [0, 10] with y = 0 gave 5).
            // A zero at the midpoint keeps the interval, whose midpoint is then the answer.
            if (fa == 0) return a;
            if (fb == 0) return b;
        }
    }
    return (a + b) * 0.5;
}

double SolveNewton(const FitData* data, double x0, double y, std::string& message) {
    double x = x0;
    double v = 0.0;
    if (!Evaluate(data, x, v, message)) return 0.0;
    for (int steps = 0; std::fabs(y - v) > 1e-6 && steps < 200; ++steps) {
        double h = x / 1000;
        if (h == 0.0) h = 1e-6;
        double fPlus = 0.0;
        double fMinus = 0.0;
        double fx = 0.0;
        if (!Evaluate(data, x + h / 2, fPlus, message)) return 0.0;
        if (!Evaluate(data, x - h / 2, fMinus, message)) return 0.0;
        double slope = (fPlus - fMinus) / h;
        if (slope == 0.0) slope = 1e-6;
        if (!Evaluate(data, x, fx, message)) return 0.0;
        x = x - (fx - y) / slope;
        if (!Evaluate(data, x, v, message)) return 0.0;
    }
    // Written as "not within" so that a y that is not a number is no success.
    if (!(std::fabs(y - v) <= 1e-6)) {
        message = BAD_BOUNDS;
        return 0.0;
    }
    return x;
}
