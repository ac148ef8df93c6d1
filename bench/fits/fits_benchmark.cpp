// Time per fit of both fits on 5000 points, with 3 and 6 free coefficients: with the batch
// evaluations (the fits as they are), point by point through EvaluateAt (as before the batch),
// and beside GSL's gsl_multifit_nlinear (trust-region Levenberg-Marquardt with a finite-difference
// Jacobian) on the same data, from the same start, through EvaluateAt.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "fitdata/fit_data.h"
#include "formula/evaluator.h"
#include "numerics/fit_evaluations.h"
#include "numerics/gauss_newton.h"
#include "numerics/levenberg_marquardt.h"

#ifdef KURVOMAT_HAVE_GSL
#include <gsl/gsl_blas.h>
#include <gsl/gsl_multifit_nlinear.h>
#include <gsl/gsl_vector.h>
#endif

// Every call of EvaluateAt from the fits and from the peer's callback passes here (--wrap).
double RealEvaluateAt(const CompiledFormula& program, double X, int flag, const double* coef,
                      int& error) __asm__("__real__Z10EvaluateAtRK15CompiledFormuladiPKdRi");
double CountedEvaluateAt(const CompiledFormula& program, double X, int flag, const double* coef,
                         int& error) __asm__("__wrap__Z10EvaluateAtRK15CompiledFormuladiPKdRi");

namespace {

int64_t evaluations = 0;

struct Problem {
    const char* formula;
    int nCoef;
    double truth[MAX_COEF];
    double start[MAX_COEF];
    double xMax;
};

// A smooth model with 3 coefficients and a rational one with 6.
const Problem PROBLEMS[2] = {
    {"A*EXP(-B*X)+C", 3, {2.5, 1.3, 0.7}, {1.0, 0.5, 0.0}, 5.0},
    {"(A+B*X+C*X^2)/(1+D*X+E*X^2+F*X^3)",
     6,
     {1.0, 2.0, 0.5, 0.3, 0.1, 0.01},
     {1.1, 1.8, 0.55, 0.33, 0.09, 0.011},
     4.0},
};

constexpr int POINTS = 5000;

// 5000 points of the true curve with a deterministic noise of +-0.5 %.
std::unique_ptr<FitData> MakeData(const Problem& problem) {
    auto data = std::make_unique<FitData>();
    data->Reset();
    if (data->function.SetTextA(problem.formula) != "Ok") std::abort();
    int fixed[MAX_COEF] = {};
    data->function.SetCoefficients(problem.truth, fixed);
    static double x[POINTS], y[POINTS];
    uint32_t state = 12345;
    for (int i = 0; i < POINTS; ++i) {
        x[i] = problem.xMax * i / POINTS;
        int error = 0;
        const double f =
            RealEvaluateAt(data->function.program, x[i], 0, data->function.coef, error);
        state = state * 1664525u + 1013904223u;
        y[i] = f * (1.0 + 0.01 * (state / 4294967296.0 - 0.5));
    }
    data->SetPoints(POINTS, x, y);
    data->function.SetCoefficients(problem.start, fixed);
    return data;
}

double SumOfSquares(const FitData& data) {
    double s = 0.0;
    for (int i = 0; i < data.nPoints; ++i) {
        int error = 0;
        const double r = data.pointY[i] - RealEvaluateAt(data.function.program, data.pointX[i], 0,
                                                         data.function.coef, error);
        s += r * r;
    }
    return s;
}

// Evaluations per fit and per second where they go through EvaluateAt (count > 0), and the
// final sum of squares (also in the label, with more digits than the counters show).
void Report(benchmark::State& state, const std::string& outcome, int64_t count, double sum,
            bool ok) {
    char label[96];
    std::snprintf(label, sizeof label, "%s, S = %.10g", outcome.c_str(), sum);
    state.SetLabel(label);
    const double fits = double(state.iterations());
    if (count > 0) {
        state.counters["evals/fit"] = double(count) / fits;
        state.counters["evals/s"] = benchmark::Counter(double(count), benchmark::Counter::kIsRate);
    }
    state.counters["S"] = sum;
    if (!ok) state.SkipWithError("the fit did not answer \"\" or \"?\"");
}

template <typename Fit>
void RunOurs(benchmark::State& state, bool perPoint, Fit fit) {
    const Problem& problem = PROBLEMS[state.range(0)];
    const auto original = MakeData(problem);
    auto data = std::make_unique<FitData>();
    std::string answer;
    evaluations = 0;
    SetFitEvaluationsPerPoint(perPoint);
    for (auto _ : state) {
        state.PauseTiming();
        *data = *original;
        state.ResumeTiming();
        answer = fit(data.get());
    }
    SetFitEvaluationsPerPoint(false);
    Report(state, "answer \"" + answer + "\"", evaluations, SumOfSquares(*data),
           answer.empty() || answer == "?");
}

std::string RunGaussNewton(FitData* data) {
    return LeastSquaresFitA(data);
}

std::string RunLevenbergMarquardt(FitData* data) {
    LmSolver solver;
    std::string message;
    solver.Run(data, message);
    return message;
}

void GaussNewton(benchmark::State& state) {
    RunOurs(state, false, RunGaussNewton);
}

void GaussNewtonPerPoint(benchmark::State& state) {
    RunOurs(state, true, RunGaussNewton);
}

void LevenbergMarquardt(benchmark::State& state) {
    RunOurs(state, false, RunLevenbergMarquardt);
}

void LevenbergMarquardtPerPoint(benchmark::State& state) {
    RunOurs(state, true, RunLevenbergMarquardt);
}

BENCHMARK(GaussNewton)->Arg(0)->Arg(1)->ArgName("six")->Unit(benchmark::kMillisecond);
BENCHMARK(GaussNewtonPerPoint)->Arg(0)->Arg(1)->ArgName("six")->Unit(benchmark::kMillisecond);
BENCHMARK(LevenbergMarquardt)->Arg(0)->Arg(1)->ArgName("six")->Unit(benchmark::kMillisecond);
BENCHMARK(LevenbergMarquardtPerPoint)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("six")
    ->Unit(benchmark::kMillisecond);

#ifdef KURVOMAT_HAVE_GSL

// Residuals f_i = model(X_i) - Y_i for GSL, through the same evaluator.
int GslResiduals(const gsl_vector* c, void* params, gsl_vector* f) {
    const FitData& data = *static_cast<const FitData*>(params);
    double coef[MAX_COEF] = {};
    for (size_t k = 0; k < c->size; ++k) coef[k] = gsl_vector_get(c, k);
    for (int i = 0; i < data.nPoints; ++i) {
        int error = 0;
        const double v = EvaluateAt(data.function.program, data.pointX[i], 0, coef, error);
        if (error != 0) return GSL_EDOM;
        gsl_vector_set(f, i, v - data.pointY[i]);
    }
    return GSL_SUCCESS;
}

void GslTrustRegionLm(benchmark::State& state) {
    const Problem& problem = PROBLEMS[state.range(0)];
    const auto data = MakeData(problem);
    const size_t n = size_t(problem.nCoef);
    gsl_multifit_nlinear_parameters parameters = gsl_multifit_nlinear_default_parameters();
    parameters.trs = gsl_multifit_nlinear_trs_lm;  // finite differences: fdf.df = NULL
    gsl_multifit_nlinear_fdf fdf = {};
    fdf.f = GslResiduals;
    fdf.df = nullptr;
    fdf.fvv = nullptr;
    fdf.n = POINTS;
    fdf.p = n;
    fdf.params = data.get();
    gsl_multifit_nlinear_workspace* work =
        gsl_multifit_nlinear_alloc(gsl_multifit_nlinear_trust, &parameters, POINTS, n);
    gsl_vector* c = gsl_vector_alloc(n);
    double sum = 0.0;
    int status = 0;
    evaluations = 0;
    for (auto _ : state) {
        for (size_t k = 0; k < n; ++k) gsl_vector_set(c, k, problem.start[k]);
        gsl_multifit_nlinear_init(c, &fdf, work);
        int info = 0;
        status = gsl_multifit_nlinear_driver(200, 1e-8, 1e-8, 0.0, nullptr, nullptr, &info, work);
        gsl_blas_ddot(work->f, work->f, &sum);
    }
    Report(state, std::string("status ") + gsl_strerror(status), evaluations, sum,
           status == GSL_SUCCESS);
    gsl_vector_free(c);
    gsl_multifit_nlinear_free(work);
}

BENCHMARK(GslTrustRegionLm)->Arg(0)->Arg(1)->ArgName("six")->Unit(benchmark::kMillisecond);

#endif

}  // namespace

double CountedEvaluateAt(const CompiledFormula& program, double X, int flag, const double* coef,
                         int& error) {
    ++evaluations;
    return RealEvaluateAt(program, X, flag, coef, error);
}

BENCHMARK_MAIN();
