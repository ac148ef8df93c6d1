// The Levenberg-Marquardt fit: its solver record and the wrapper the user interface calls.
#pragma once

#include <cstdint>
#include <string>

#include "fitdata/fit_data.h"
#include "numerics/fit_evaluations.h"
#include "numerics/fit_support.h"

// Working state of one Levenberg-Marquardt run. Run sets every field that matters, so the record
// needs no construction; it lives for one call of LevenbergMarquardtFit.
//
// Each iteration solves (J^T J + mu*I) s = J^T r by CholeskySolve, tries c + s, and accepts the
// trial when the gain ratio rho = (sOld - sNew) / pred is above 0 (rho is twice the usual ratio,
// S carrying no factor 1/2). mu is multiplied by 4 when rho < 0.25 (and after every rejection,
// a rho that is not a number included) and by 0.5 when rho > 0.75.
class LmSolver {
  public:
    // Fits the free coefficients of data->function to the point table. message: "" when the
    // gradient and the change of S are small (maxGrad <= gradTol and |sNew - sOld| <= sTol), "?"
    // after maxIter iterations (fitDone = 1 for both, fitDistance = sqrt(S / sum of Y^2), or
    // sqrt(S) when every Y is 0); otherwise the failure's text with fitDone = 0 and
    // fitDistance = 0.0: the evaluator's text, "Depassement Capacite Calcul" (code 21; also for a
    // point or used coefficient that is not finite, the coefficients untouched), or
    // LM_PREDICTION_FAILED_TEXT (code 87). nFree = 0 answers "" at the first iteration.
    void Run(FitData* data, std::string& message);

    // One pass over the points at the current coefficients: S, jacRow, grad = J^T r,
    // normal = J^T J and maxGrad. Answers S, or -1.0 with error set (evaluator's code, or 21).
    double BuildNormalEquations();

    // S at the current coefficients; -1.0 with error set on failure.
    double SumOfSquares();

    // Solves U^T U x = rhs in place, U the upper Cholesky factor of a copy of matrix (which stays
    // unchanged). error = 0; 80 when a pivot A_ii - sum(U_ki^2) is not above threshold (a pivot
    // that is not a number passes); 21 when a guard of the products or quotients fails.
    void CholeskySolve(const double matrix[][MAX_COEF], double* rhs, int n, double threshold);

    // result[row][0] = (M' or M'^T) * vector, M' a copy of the rows x cols matrix (row stride 6)
    // with shift added to the diagonal of as many rows as the product has. length must equal
    // rows when transposed, cols otherwise. Answers 1; 0 on a length mismatch, or with error = 21
    // when a pair fails the product test.
    int MultiplyMatrix(const double matrix[][MAX_COEF], int rows, int cols, int transposed,
                       const double* vector, int length, double shift, double result[][MAX_COEF]);

    // pred = grad . step - 0.5 * step . ((normal - mu*I) step): half the decrease of S that the
    // linear model predicts. Answers pred, or -1.0 with error = 87.
    double PredictedReduction();

    double maxGrad;  // largest |grad_j| reached in the last gradient pass, after every point
    double pdMin;    // 0.005: a Cholesky pivot must exceed it
    double gradTol;  // 1e10
    double sTol;     // 1e-20, absolute
    double mu;       // damping, 4.0 at the start
    int32_t gradOk;  // last stop test: maxGrad <= gradTol
    int32_t sOk;     // last stop test: |sNew - sOld| <= sTol
    double jacRow[MAX_COEF];            // derivative row of the current point
    double grad[MAX_COEF];              // J^T r
    double step[MAX_COEF];              // right-hand side of the damped system, then its solution s
    double normal[MAX_COEF][MAX_COEF];  // J^T J with the damping in its diagonal
    double columnMatrix[MAX_COEF][MAX_COEF];   // a vector as an n x 1 matrix (first column)
    double productMatrix[MAX_COEF][MAX_COEF];  // MultiplyMatrix results (first column)
    double rho;                                // gain ratio of the last trial
    double pred;                               // predicted reduction of the last trial
    double muPrev;  // damping already in the diagonal of normal; 0.0 after a rebuild
    double sumY2;   // sum of Y^2, once per run
    DerivativeScratch derivative;
    double sOld;        // S where the trial starts; after a rejection, the rejected trial's S
    double sNew;        // S at the trial coefficients
    int32_t recompute;  // 1: rebuild J, grad and normal at the start of the next iteration
    int32_t iteration;
    int32_t maxIter;   // 200
    int32_t error;     // 0, an EvalErrorCode, 80 (pivot not above pdMin) or 87 (pred failed)
    FitData* fitData;  // not owned

  private:
    // Run's body; answers the message.
    std::string Iterate(FitData* data);
    // Adds the squared residual of point i to s; false with error set when the pass must end.
    bool AddResidual(int i, double& s, double& r);

    // A pass called on its own, outside Run: with evaluations of its own.
    double OutsideRun(double (LmSolver::*pass)());

    // The evaluations of the run (set by Run); the passes called on their own make their own.
    FitEvaluations* evaluations_ = nullptr;
};

// Code 87 has no evaluator text: this is the answer of a run ended by a failed prediction.
inline constexpr const char* LM_PREDICTION_FAILED_TEXT =
    "Erreur dans le calcul de la reduction prevue";

// Runs an LmSolver on data and answers its message as wide text: the form the user interface
// calls.
std::wstring LevenbergMarquardtFit(FitData* data);
