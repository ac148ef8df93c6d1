// The formula evaluator and the texts of its error codes.
#pragma once

#include <string>

#include "formula/compiled_formula.h"

// Runs `program` for the given X, Y, Z and coefficients coef[0..5] (A..F). Returns the value with
// error 0, or 0.0 with a nonzero EvalErrorCode (3 or more). A nonzero `flag` is refused with 100.
// The value stack holds 100 values: a program that would push a 101st fails with 20, as does one
// that ends with other than one value. Allocates nothing; any number of evaluations may run at
// once on the same program.
double EvaluateFormula(const CompiledFormula& program, int flag, const double* coef, double X,
                       double Y, double Z, int& error);

// EvaluateFormula with Y and Z set to 0.0.
double EvaluateAt(const CompiledFormula& program, double X, int flag, const double* coef,
                  int& error);

// The French text of an EvalErrorCode (code 2 included, used by the fits' solver); "" otherwise.
std::string EvalErrorText(int code);
