// Time per fit of both fits on 5000 points (3 and 6 free coefficients), with the batch evaluations
// and point by point through EvaluateAt, beside GSL's trust-region Levenberg-Marquardt with the
// model written in plain C++ (and, as a second row, through EvaluateAt). Every row reports its
// iterations, evaluations per point and final sum of squares; --write-data=DIR writes the problems
// for the other tools (bench/peers/run).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "fitdata/fit_data.h"
#include "formula/evaluator.h"
#include "numerics/fit_evaluations.h"
#include "numerics/gauss_newton.h"
#include "numerics/levenberg_marquardt.h"

#ifdef KURVOMAT_HAVE_GSL
#include <gsl/gsl_blas.h>
#include <gsl/gsl_errno.h>
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

// The models as a C++ user writes them: the rival's residuals, and one problem's data.
struct ExpModel {
    static double Value(const double* c, double x) { return c[0] * std::exp(-c[1] * x) + c[2]; }
};

struct RationalModel {
    static double Value(const double* c, double x) {
        return (c[0] + c[1] * x + c[2] * x * x) /
               (1.0 + c[3] * x + c[4] * x * x + c[5] * x * x * x);
    }
};

enum class Model { EXP, RATIONAL };

double NativeValue(Model model, const double* c, double x) {
    return model == Model::EXP ? ExpModel::Value(c, x) : RationalModel::Value(c, x);
}

struct Problem {
    const char* name;
    const char* formula;
    Model model;
    int nCoef;
    double truth[MAX_COEF];
    double start[MAX_COEF];
    double xMax;
    // The true curve through plain C++ instead of EvaluateAt: some values differ in the last bit,
    // which changes the path (and the iteration count) of a fit.
    bool cppData;
};

const Problem PROBLEMS[] = {
    {"exp3", "A*EXP(-B*X)+C", Model::EXP, 3, {2.5, 1.3, 0.7}, {1.0, 0.5, 0.0}, 5.0, false},
    {"rat6",
     "(A+B*X+C*X^2)/(1+D*X+E*X^2+F*X^3)",
     Model::RATIONAL,
     6,
     {1.0, 2.0, 0.5, 0.3, 0.1, 0.01},
     {1.1, 1.8, 0.55, 0.33, 0.09, 0.011},
     4.0,
     false},
    {"rat6-cppdata",
     "(A+B*X+C*X^2)/(1+D*X+E*X^2+F*X^3)",
     Model::RATIONAL,
     6,
     {1.0, 2.0, 0.5, 0.3, 0.1, 0.01},
     {1.1, 1.8, 0.55, 0.33, 0.09, 0.011},
     4.0,
     true},
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
        const double f = problem.cppData ? NativeValue(problem.model, problem.truth, x[i])
                                         : RealEvaluateAt(data->function.program, x[i], 0,
                                                          data->function.coef, error);
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

// What one fit ended with; the label carries S to the last bit (the counters round it).
struct Outcome {
    std::string status;
    bool converged = false;
    int iterations = 0;
    double evaluationsPerPoint = 0.0;
    double sum = 0.0;
    double coef[MAX_COEF] = {};
};

// The minimum of a problem, reached tightly once (outside any timing), to show how far each row
// stopped from it: S / S* - 1 and the largest relative difference of a coefficient.
struct Minimum {
    double sum = 0.0;
    double coef[MAX_COEF] = {};
};

const Minimum& ReferenceMinimum(int problem);

void Report(benchmark::State& state, int problem, const Outcome& outcome) {
    char label[160];
    std::snprintf(label, sizeof label, "%s, %s, S = %.17g", outcome.status.c_str(),
                  outcome.converged ? "converged" : "not converged", outcome.sum);
    state.SetLabel(label);
    state.counters["iterations"] = outcome.iterations;
    state.counters["evals/point"] = outcome.evaluationsPerPoint;
    state.counters["converged"] = outcome.converged ? 1 : 0;
    const Minimum& minimum = ReferenceMinimum(problem);
    double gap = 0.0;
    for (int k = 0; k < PROBLEMS[problem].nCoef; ++k)
        gap = std::max(gap,
                       std::fabs(outcome.coef[k] - minimum.coef[k]) / std::fabs(minimum.coef[k]));
    state.counters["coef_gap"] = gap;
    state.counters["S_excess"] = outcome.sum / minimum.sum - 1.0;
}

enum class Method { GAUSS_NEWTON, LEVENBERG_MARQUARDT };

// One fit of ours in place; answers the message and sets the iterations it made where the fit
// says (the Gauss-Newton fit does not: its passes follow from the evaluations).
std::string RunFit(Method method, FitData* data, int& iterations) {
    if (method == Method::GAUSS_NEWTON) {
        iterations = 0;
        return LeastSquaresFitA(data);
    }
    LmSolver solver;
    std::string message;
    solver.Run(data, message);
    // An answer "" leaves the loop inside its iteration; "?" after maxIter of them.
    iterations = message.empty() ? solver.iteration + 1 : solver.iteration;
    return message;
}

// One fit point by point, outside the timing: its evaluations (the batch makes the same ones, a
// chunk at a time) and its results, which the batch must reproduce to the bit.
struct Reference {
    int64_t evaluations = 0;
    FitData result;
    std::string answer;
};

const Reference& PerPointReference(Method method, int problem) {
    static std::map<std::pair<Method, int>, std::unique_ptr<Reference>> cache;
    auto& entry = cache[{method, problem}];
    if (!entry) {
        entry = std::make_unique<Reference>();
        entry->result = *MakeData(PROBLEMS[problem]);
        int iterations = 0;
        SetFitEvaluationsPerPoint(true);
        evaluations = 0;
        entry->answer = RunFit(method, &entry->result, iterations);
        entry->evaluations = evaluations;
        SetFitEvaluationsPerPoint(false);
    }
    return *entry;
}

bool SameBits(const FitData& a, const FitData& b) {
    return std::memcmp(a.function.coef, b.function.coef, sizeof a.function.coef) == 0 &&
           std::memcmp(&a.fitDistance, &b.fitDistance, sizeof a.fitDistance) == 0 &&
           a.fitDone == b.fitDone;
}

void RunOurs(benchmark::State& state, Method method, bool perPoint, int problemIndex) {
    const Problem& problem = PROBLEMS[problemIndex];
    const auto original = MakeData(problem);
    auto data = std::make_unique<FitData>();
    std::string answer;
    int iterations = 0;
    evaluations = 0;
    SetFitEvaluationsPerPoint(perPoint);
    for (auto _ : state) {
        state.PauseTiming();
        *data = *original;
        state.ResumeTiming();
        answer = RunFit(method, data.get(), iterations);
    }
    SetFitEvaluationsPerPoint(false);
    int64_t perFit = evaluations / int64_t(state.iterations());
    if (!perPoint) {
        const Reference& reference = PerPointReference(method, problemIndex);
        if (reference.answer != answer || !SameBits(reference.result, *data)) {
            state.SkipWithError("the batch and point by point differ");
            return;
        }
        perFit = reference.evaluations;
    }
    if (method == Method::GAUSS_NEWTON) {
        // A pass evaluates f and f with each free coefficient shifted up and down at every point.
        iterations = int(perFit / (int64_t(POINTS) * (1 + 2 * problem.nCoef)));
    }
    Outcome outcome;
    outcome.status = "answer \"" + answer + "\"";
    outcome.converged = answer.empty();
    outcome.iterations = iterations;
    outcome.evaluationsPerPoint = double(perFit) / POINTS;
    outcome.sum = SumOfSquares(*data);
    std::copy(data->function.coef, data->function.coef + MAX_COEF, outcome.coef);
    Report(state, problemIndex, outcome);
    if (!answer.empty() && answer != "?") state.SkipWithError("the fit failed");
}

#ifdef KURVOMAT_HAVE_GSL

int64_t residualCalls = 0;

// Residuals f_i = model(X_i) - Y_i in plain C++: the model is inlined in the loop.
template <typename M>
int NativeResiduals(const gsl_vector* c, void* params, gsl_vector* f) {
    ++residualCalls;
    const FitData& data = *static_cast<const FitData*>(params);
    double coef[MAX_COEF] = {};
    for (size_t k = 0; k < c->size; ++k) coef[k] = gsl_vector_get(c, k);
    for (int i = 0; i < data.nPoints; ++i)
        gsl_vector_set(f, i, M::Value(coef, data.pointX[i]) - data.pointY[i]);
    return GSL_SUCCESS;
}

// The same residuals through our evaluator, point by point.
int EvaluateAtResiduals(const gsl_vector* c, void* params, gsl_vector* f) {
    ++residualCalls;
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

// gsl_multifit_nlinear on one problem's data: the trust-region Levenberg-Marquardt step with its
// forward-difference Jacobian (df = NULL), the residuals in plain C++ or through EvaluateAt.
class GslFit {
  public:
    GslFit(int problemIndex, bool native)
        : problem_(PROBLEMS[problemIndex]), data_(MakeData(problem_)) {
        const size_t n = size_t(problem_.nCoef);
        gsl_multifit_nlinear_parameters parameters = gsl_multifit_nlinear_default_parameters();
        parameters.trs = gsl_multifit_nlinear_trs_lm;
        if (native)
            fdf_.f = problem_.model == Model::EXP ? NativeResiduals<ExpModel>
                                                  : NativeResiduals<RationalModel>;
        else
            fdf_.f = EvaluateAtResiduals;
        fdf_.df = nullptr;
        fdf_.fvv = nullptr;
        fdf_.n = POINTS;
        fdf_.p = n;
        fdf_.params = data_.get();
        work_ = gsl_multifit_nlinear_alloc(gsl_multifit_nlinear_trust, &parameters, POINTS, n);
        start_ = gsl_vector_alloc(n);
    }
    GslFit(const GslFit&) = delete;
    GslFit& operator=(const GslFit&) = delete;
    ~GslFit() {
        gsl_vector_free(start_);
        gsl_multifit_nlinear_free(work_);
    }

    // From the problem's start; answers the driver's status, info its reason to stop.
    int Solve(size_t maxIter, double xtol, double gtol, double ftol, int& info) {
        for (int k = 0; k < problem_.nCoef; ++k) gsl_vector_set(start_, k, problem_.start[k]);
        gsl_multifit_nlinear_init(start_, &fdf_, work_);
        return gsl_multifit_nlinear_driver(maxIter, xtol, gtol, ftol, nullptr, nullptr, &info,
                                           work_);
    }

    double Sum() const {
        double sum = 0.0;
        gsl_blas_ddot(work_->f, work_->f, &sum);
        return sum;
    }
    double Coefficient(int k) const { return gsl_vector_get(work_->x, k); }
    int Iterations() const { return int(gsl_multifit_nlinear_niter(work_)); }

  private:
    const Problem& problem_;
    std::unique_ptr<FitData> data_;
    gsl_multifit_nlinear_fdf fdf_ = {};  // the workspace keeps its address
    gsl_multifit_nlinear_workspace* work_ = nullptr;
    gsl_vector* start_ = nullptr;
};

// The driver with 200 iterations, xtol = gtol = 1e-8, ftol = 0.
void RunGsl(benchmark::State& state, bool native, int problemIndex) {
    GslFit fit(problemIndex, native);
    int status = 0;
    int info = 0;
    residualCalls = 0;
    for (auto _ : state) status = fit.Solve(200, 1e-8, 1e-8, 0.0, info);
    Outcome outcome;
    outcome.status = std::string("status ") + gsl_strerror(status);
    if (status == GSL_SUCCESS) outcome.status += info == 1 ? " (small step)" : " (small gradient)";
    outcome.converged = status == GSL_SUCCESS;
    outcome.iterations = fit.Iterations();
    outcome.evaluationsPerPoint = double(residualCalls) / double(state.iterations());
    outcome.sum = fit.Sum();
    for (int k = 0; k < PROBLEMS[problemIndex].nCoef; ++k) outcome.coef[k] = fit.Coefficient(k);
    Report(state, problemIndex, outcome);
    if (status != GSL_SUCCESS && status != GSL_EMAXITER) state.SkipWithError("GSL failed");
}

#endif

// The smaller S of the Levenberg-Marquardt fit and of GSL driven as far as it goes (tolerances
// near the rounding of doubles, 1000 iterations). Near the minimum S changes in its last digits
// only, so coefficients within about 1e-5 of each other are equally good.
const Minimum& ReferenceMinimum(int problem) {
    static std::map<int, Minimum> cache;
    if (const auto found = cache.find(problem); found != cache.end()) return found->second;
    Minimum& minimum = cache[problem];
    const auto data = MakeData(PROBLEMS[problem]);
    int iterations = 0;
    RunFit(Method::LEVENBERG_MARQUARDT, data.get(), iterations);
    minimum.sum = SumOfSquares(*data);
    std::copy(data->function.coef, data->function.coef + MAX_COEF, minimum.coef);
#ifdef KURVOMAT_HAVE_GSL
    GslFit fit(problem, true);
    int info = 0;
    fit.Solve(1000, 1e-15, 1e-15, 1e-15, info);
    if (fit.Sum() < minimum.sum) {
        minimum.sum = fit.Sum();
        for (int k = 0; k < PROBLEMS[problem].nCoef; ++k) minimum.coef[k] = fit.Coefficient(k);
    }
#endif
    return minimum;
}

void RegisterAll() {
    for (int p = 0; p < int(std::size(PROBLEMS)); ++p) {
        const std::string suffix = std::string("/") + PROBLEMS[p].name;
        const auto add = [&](const std::string& name, auto run) {
            benchmark::RegisterBenchmark((name + suffix).c_str(), run)
                ->Unit(benchmark::kMillisecond);
        };
        add("GaussNewton",
            [p](benchmark::State& s) { RunOurs(s, Method::GAUSS_NEWTON, false, p); });
        add("GaussNewtonPerPoint",
            [p](benchmark::State& s) { RunOurs(s, Method::GAUSS_NEWTON, true, p); });
        add("LevenbergMarquardt",
            [p](benchmark::State& s) { RunOurs(s, Method::LEVENBERG_MARQUARDT, false, p); });
        add("LevenbergMarquardtPerPoint",
            [p](benchmark::State& s) { RunOurs(s, Method::LEVENBERG_MARQUARDT, true, p); });
#ifdef KURVOMAT_HAVE_GSL
        add("GslLmNative", [p](benchmark::State& s) { RunGsl(s, true, p); });
        add("GslLmEvaluateAt", [p](benchmark::State& s) { RunGsl(s, false, p); });
#endif
    }
}

// DIR/problems.tsv (name, formula, start values, data file, the reference minimum's S and
// coefficients) and one data file per problem, every number written so that it reads back to the
// same double.
int WriteData(const std::string& dir) {
    const std::string listName = dir + "/problems.tsv";
    FILE* list = std::fopen(listName.c_str(), "w");
    if (list == nullptr) {
        std::perror(listName.c_str());
        return 1;
    }
    for (int p = 0; p < int(std::size(PROBLEMS)); ++p) {
        const Problem& problem = PROBLEMS[p];
        const std::string file = std::string(problem.name) + ".dat";
        std::fprintf(list, "%s\t%s\t", problem.name, problem.formula);
        for (int k = 0; k < problem.nCoef; ++k)
            std::fprintf(list, "%s%.17g", k == 0 ? "" : " ", problem.start[k]);
        const Minimum& minimum = ReferenceMinimum(p);
        std::fprintf(list, "\t%s\t%.17g\t", file.c_str(), minimum.sum);
        for (int k = 0; k < problem.nCoef; ++k)
            std::fprintf(list, "%s%.17g", k == 0 ? "" : " ", minimum.coef[k]);
        std::fprintf(list, "\n");
        const auto data = MakeData(problem);
        FILE* out = std::fopen((dir + "/" + file).c_str(), "w");
        if (out == nullptr) {
            std::perror(file.c_str());
            std::fclose(list);
            return 1;
        }
        for (int i = 0; i < data->nPoints; ++i)
            std::fprintf(out, "%.17g %.17g\n", data->pointX[i], data->pointY[i]);
        if (std::fclose(out) != 0) {
            std::perror(file.c_str());
            std::fclose(list);
            return 1;
        }
    }
    return std::fclose(list) == 0 ? 0 : 1;
}

}  // namespace

double CountedEvaluateAt(const CompiledFormula& program, double X, int flag, const double* coef,
                         int& error) {
    ++evaluations;
    return RealEvaluateAt(program, X, flag, coef, error);
}

int main(int argc, char** argv) {
    const char* option = "--write-data=";
    if (argc == 2 && std::strncmp(argv[1], option, std::strlen(option)) == 0)
        return WriteData(argv[1] + std::strlen(option));
    RegisterAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
