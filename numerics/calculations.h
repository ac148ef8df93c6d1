// Calculations on the document's function f (function.program with function.coef): value,
// derivative, Simpson integral, and the solution of f(x) = y by bisection or by Newton's method.
#pragma once

#include <string>

#include "fitdata/fit_data.h"

// Contract shared by all of them: they read only data->function.program and data->function.coef
// and write nothing in data. The first evaluation that fails ends the routine: the answer is 0.0
// and message the evaluator's text. Success is told by the message alone ("" on success), since
// 0.0 can be a true result.

// f(x). message = "" on entry.
double EvaluateFA(const FitData* data, double x, std::string& message);

// EvaluateFA with the message as wide text: the form the curve drawing and the dialogs call.
double EvaluateF(const FitData* data, double x, std::wstring& message);

// f'(x) = (f(x + h) - f(x - h)) * 0.5 / h, h = |x * 1e-5| but at least 1e-7; f(x + h) first.
// message = "" on entry.
double DerivativeF(const FitData* data, double x, std::string& message);

// Composite Simpson rule over 100 intervals (the abscissa advancing by repeated addition of h).
// Unless b > a: "Erreur de definition des bornes" and 0.0 without any evaluation. message = ""
// on success.
double IntegrateSimpson(const FitData* data, double a, double b, std::string& message);

// 20 halvings of [a, b] (a > b works the same) with three evaluations each, f(a), f(m), f(b), no
// tolerance; answers the last midpoint. "Erreur de definition des bornes" and 0.0 when f - y has
// one strict sign at a, m and b, or is not a number (y not a number). An exact zero among the three
// without a strict sign change answers the bound that holds it (a before b), and keeps the interval
// when only the midpoint holds it. message = "" on entry.
double SolveBisection(const FitData* data, double a, double b, double y, std::string& message);

// Newton's method from x0 with the slope (f(x + h/2) - f(x - h/2)) / h, h = x / 1000 (1e-6 when
// that is 0; f(x + h/2) first), a zero slope replaced by 1e-6; at most 200 steps while
// |y - f(x)| > 1e-6. Answers x, or "Erreur de definition des bornes" and 0.0 when |y - f(x)| still
// exceeds 1e-6 or is not a number (y not a number). On success message is left as the caller passed
// it.
double SolveNewton(const FitData* data, double x0, double y, std::string& message);
