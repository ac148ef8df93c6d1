// The Runge-Kutta integrator of an explicit differential equation of order 1 to 6.
#include "numerics/differential_equation.h"

#include "common/assert.h"
#include "formula/evaluator.h"

namespace {

// k[c] = h * t[c + 1] for the lower components (y^(c) has the derivative y^(c+1)), and h * f for
// the last one: the equation as a first-order system.
void Increments(const double* t, double f, int order, double h, double* k) {
    for (int c = 0; c < order - 1; ++c) k[c] = h * t[c + 1];
    k[order - 1] = h * f;
}

}  // namespace

int IntegrateEquation(const CompiledFormula& program, int order, double xStart, double xEnd,
                      int nIntervals, int finesse, int shownOrder, const double* initial, double* X,
                      double* Y) {
    KURVO_ASSERT(order >= 1 && order <= MAX_COEF);
    KURVO_ASSERT(shownOrder >= 0 && shownOrder < order);
    KURVO_ASSERT(nIntervals >= 1 && nIntervals < MAX_POINTS);
    KURVO_ASSERT(finesse >= 1);

    const double h = (xEnd - xStart) / nIntervals / finesse;
    const double half = h * 0.5;
    double s[MAX_COEF];
    double t[MAX_COEF] = {};  // entries at order and beyond stay 0.0
    double k1[MAX_COEF];
    double k2[MAX_COEF];
    double k3[MAX_COEF];
    double k4[MAX_COEF];
    int error = 0;
    auto f = [&](double x) { return EvaluateFormula(program, 0, t, x, t[0], t[1], error); };

    X[0] = xStart;
    Y[0] = initial[shownOrder];
    for (int c = 0; c < order; ++c) s[c] = initial[c];

    for (int i = 0; i < nIntervals; ++i) {
        double lastAbscissa = xStart;
        for (int j = 0; j < finesse; ++j) {
            const double x = xStart + static_cast<double>(i * finesse + j) * h;

            for (int c = 0; c < order; ++c) t[c] = s[c];
            double r = f(x);
            if (error != 0) return error;
            Increments(t, r, order, h, k1);

            for (int c = 0; c < order; ++c) t[c] = s[c] + k1[c] / 2;
            r = f(x + half);
            if (error != 0) return error;
            Increments(t, r, order, h, k2);

            for (int c = 0; c < order; ++c) t[c] = s[c] + k2[c] / 2;
            r = f(x + half);
            if (error != 0) return error;
            Increments(t, r, order, h, k3);

            // The half step added twice, not h once.
            lastAbscissa = (x + half) + half;
            for (int c = 0; c < order; ++c) t[c] = s[c] + k3[c];
            r = f(lastAbscissa);
            if (error != 0) return error;
            Increments(t, r, order, h, k4);

            for (int c = 0; c < order; ++c)
                s[c] = s[c] + (k1[c] + 2 * k2[c] + 2 * k3[c] + k4[c]) / 6;
        }
        X[i + 1] = lastAbscissa;
        Y[i + 1] = s[shownOrder];
    }
    return 0;
}
