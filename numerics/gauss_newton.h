// The Gauss-Newton fit of the free coefficients and its L*D*L^T solver.
#pragma once

#include <string>

#include "fitdata/fit_data.h"

// Fits the free coefficients (function.freeIndex[0..nFree-1]) of data->function to the point
// table by Gauss-Newton: numerical Jacobian by central differences, normal equations solved by
// SolveLDLt, the whole correction added, at most 40 passes.
//
// Answers "" when the distance of a pass differs from the previous pass's by 5e-5 or less, "?"
// after 40 passes without that (fitDone = 1 for both), "Pas de coefficients" when nFree is 0, or
// the evaluator's text of the failure: an evaluation error, "Depassement Capacite Calcul" (code
// 21: a residual or derivative above 1e18, a sum of squares above 1e36, or a point or used
// coefficient that is not a finite number, found before any evaluation), "Erreur de resolution
// systeme" (code 2: a zero pivot). Every failure leaves fitDone = 0.
//
// fitDistance: on "" and "?" the distance measured at the start of the last pass, before its
// correction (sqrt(S / sum of Y^2), or sqrt(S) when every Y is 0); after a failure a partial sum
// or the last distance, which no reader looks at since fitDone is 0. The corrections of completed
// passes stay in the coefficients; a failing pass changes none. Fixed coefficients, the point
// table and the program are never written.
std::string LeastSquaresFitA(FitData* data);

// LeastSquaresFitA with its answer as wide text: the form the user interface calls.
std::wstring LeastSquaresFit(FitData* data);

// Solves matrix * x = rhs for a symmetric n x n matrix (n 1..6, both triangles filled, row stride
// 6) by L*D*L^T without pivoting. code = 0: rhs holds x, the strict lower triangle holds L (unit
// diagonal implied), the diagonal holds D, the strict upper triangle is unchanged. code = 2: a
// pivot D_i is exactly 0.0 (any other value passes); rhs is unchanged.
// Every sum runs over k increasing and is subtracted whole: D_i = a_ii - sum((a_ik * a_ik) * a_kk).
void SolveLDLt(double matrix[][MAX_COEF], double* rhs, int n, int& code);
