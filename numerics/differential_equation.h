// The Runge-Kutta integrator of an explicit differential equation y^(n) = f(X, y, ..., y^(n-1)).
#pragma once

#include "fitdata/fit_data.h"
#include "formula/compiled_formula.h"

// Integrates y^(order) = program from xStart to xEnd with the classical fourth-order Runge-Kutta
// method: nIntervals output intervals of finesse equal steps each, h = (xEnd - xStart) /
// nIntervals / finesse. initial[0..order-1] holds y, y', ... at xStart.
//
// At every stage the formula sees X = the stage abscissa, A..F = the stage's y, y', ... (letters
// beyond the order are 0.0), Y = A and Z = B. The fourth stage's abscissa is (x + h/2) + h/2.
//
// Fills X[0..nIntervals] and Y[0..nIntervals] (component shownOrder of the solution at the ends
// of the output intervals, X[0] = xStart) and answers 0, or the first nonzero EvalErrorCode of an
// evaluation, which ends the integration at once (the arrays are then of no use).
// Ranges (checked by the caller): order 1..6, 0 <= shownOrder < order, nIntervals 1..MAX_POINTS-1,
// finesse >= 1; X and Y have at least nIntervals + 1 entries.
int IntegrateEquation(const CompiledFormula& program, int order, double xStart, double xEnd,
                      int nIntervals, int finesse, int shownOrder, const double* initial, double* X,
                      double* Y);
