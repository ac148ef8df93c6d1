// Evaluations per second of four fitting functions: our evaluator point by point and in batches,
// native C++ (called through a pointer, and inlined in the loop: the limit) and muparser (one
// point at a time and in its bulk mode).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "formula/batch_evaluator.h"
#include "formula/compiler.h"
#include "formula/evaluator.h"

#ifdef KURVOMAT_HAVE_MUPARSER
#include <muParser.h>
#endif
#ifdef KURVOMAT_HAVE_OPENMP
#include <omp.h>
#endif

namespace {

constexpr int POINTS = 5000;
const double COEF[6] = {1.5, 0.8, 0.3, 0.25, 0.1, 0.05};

// The formulas in C++, written as a user writes them (powers as products).
constexpr auto LINEAR = [](const double* c, double x) { return c[0] + c[1] * x; };
constexpr auto EXPONENTIAL = [](const double* c, double x) {
    return c[0] * std::exp(-c[1] * x) + c[2];
};
constexpr auto SINE = [](const double* c, double x) {
    return c[0] * std::sin(c[1] * x + c[2]) + c[3] * x * x;
};
constexpr auto RATIONAL = [](const double* c, double x) {
    return (c[0] + c[1] * x + c[2] * x * x) / (1 + c[3] * x + c[4] * x * x + c[5] * x * x * x);
};

struct Formula {
    const char* text;
    // The same formula for muparser, whose function names are lower-case.
    const char* muparserText;
    double (*native)(const double* c, double x);
};

const Formula FORMULAS[] = {
    {"A+B*X", "A+B*X", LINEAR},
    {"A*EXP(-B*X)+C", "A*exp(-B*X)+C", EXPONENTIAL},
    {"A*SIN(B*X+C)+D*X^2", "A*sin(B*X+C)+D*X^2", SINE},
    {"(A+B*X+C*X^2)/(1+D*X+E*X^2+F*X^3)", "(A+B*X+C*X^2)/(1+D*X+E*X^2+F*X^3)", RATIONAL},
    // The last two again with the powers written as products: how much of the time goes into
    // the power's e^(b ln|a|), which the other two compute as x*x.
    {"A*SIN(B*X+C)+D*X*X", "A*sin(B*X+C)+D*X*X", SINE},
    {"(A+B*X+C*X*X)/(1+D*X+E*X*X+F*X*X*X)", "(A+B*X+C*X*X)/(1+D*X+E*X*X+F*X*X*X)", RATIONAL},
};

const std::vector<double>& Xs() {
    static const std::vector<double> xs = [] {
        std::vector<double> values(POINTS);
        for (int i = 0; i < POINTS; ++i) values[i] = 0.001 + 10.0 * i / POINTS;
        return values;
    }();
    return xs;
}

bool Compile(benchmark::State& state, const Formula& formula, CompiledFormula& program) {
    int nCoef = 0;
    int error = 0;
    program.CompileFunction(formula.text, nCoef, error);
    if (error != 0) state.SkipWithError("the formula does not compile");
    return error == 0;
}

void Kurvomat(benchmark::State& state) {
    const Formula& formula = FORMULAS[state.range(0)];
    CompiledFormula program;
    if (!Compile(state, formula, program)) return;
    int error = 0;
    for (auto _ : state) {
        double sum = 0.0;
        int failures = 0;
        for (double x : Xs()) {
            sum += EvaluateAt(program, x, 0, COEF, error);
            failures += error != 0;
        }
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(failures);
    }
    state.SetItemsProcessed(state.iterations() * POINTS);
    state.SetLabel(formula.text);
}

// The batch evaluator over the 5000 points in one call; with `cached` the points are kept
// (CachePoints, once), so the steps of X alone are not computed again.
void RunBatch(benchmark::State& state, bool cached) {
    const Formula& formula = FORMULAS[state.range(0)];
    CompiledFormula program;
    if (!Compile(state, formula, program)) return;
    BatchEvaluator batch(program);
    if (cached) batch.CachePoints(Xs().data(), POINTS);
    std::vector<double> values(POINTS);
    std::vector<int> errors(POINTS);
    for (auto _ : state) {
        if (cached)
            batch.EvaluateCached(0, POINTS, 0, COEF, values.data(), errors.data());
        else
            batch.Evaluate(Xs().data(), POINTS, 0, COEF, values.data(), errors.data());
        double sum = 0.0;
        int failures = 0;
        for (int i = 0; i < POINTS; ++i) {
            sum += values[i];
            failures += errors[i] != 0;
        }
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(failures);
    }
    state.SetItemsProcessed(state.iterations() * POINTS);
    state.SetLabel(formula.text);
}

void Batch(benchmark::State& state) {
    RunBatch(state, false);
}

void BatchCached(benchmark::State& state) {
    RunBatch(state, true);
}

void Native(benchmark::State& state) {
    const Formula& formula = FORMULAS[state.range(0)];
    for (auto _ : state) {
        double sum = 0.0;
        for (double x : Xs()) sum += formula.native(COEF, x);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * POINTS);
    state.SetLabel(formula.text);
}

// The formula written in the loop, where the compiler inlines and may vectorise it: the limit.
template <typename F>
void NativeInline(benchmark::State& state, F native) {
    const Formula& formula = FORMULAS[state.range(0)];
    for (auto _ : state) {
        double sum = 0.0;
        for (double x : Xs()) sum += native(COEF, x);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * POINTS);
    state.SetLabel(formula.text);
}
BENCHMARK_CAPTURE(NativeInline, linear, LINEAR)->Arg(0);
BENCHMARK_CAPTURE(NativeInline, exponential, EXPONENTIAL)->Arg(1);
BENCHMARK_CAPTURE(NativeInline, sine, SINE)->Arg(2)->Arg(4);
BENCHMARK_CAPTURE(NativeInline, rational, RATIONAL)->Arg(3)->Arg(5);

#ifdef KURVOMAT_HAVE_MUPARSER
void Muparser(benchmark::State& state) {
    const Formula& formula = FORMULAS[state.range(0)];
    double c[6] = {COEF[0], COEF[1], COEF[2], COEF[3], COEF[4], COEF[5]};
    double x = 0.0;
    mu::Parser parser;
    try {
        const char* names[6] = {"A", "B", "C", "D", "E", "F"};
        for (int i = 0; i < 6; ++i) parser.DefineVar(names[i], &c[i]);
        parser.DefineVar("X", &x);
        parser.SetExpr(formula.muparserText);
        parser.Eval();
    } catch (const mu::Parser::exception_type& e) {
        state.SkipWithError(e.GetMsg().c_str());
        return;
    }
    for (auto _ : state) {
        double sum = 0.0;
        for (double value : Xs()) {
            x = value;
            sum += parser.Eval();
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * POINTS);
    state.SetLabel(formula.text);
}
BENCHMARK(Muparser)->DenseRange(0, 5);

// muparser's bulk mode: every variable is an array indexed by the point (the coefficients
// repeated), all 5000 results in one call, on one thread (Debian builds it with OpenMP).
void MuparserBulk(benchmark::State& state) {
#ifdef KURVOMAT_HAVE_OPENMP
    omp_set_num_threads(1);
#endif
    const Formula& formula = FORMULAS[state.range(0)];
    std::vector<std::vector<double>> c(6, std::vector<double>(POINTS));
    for (int k = 0; k < 6; ++k) c[k].assign(POINTS, COEF[k]);
    std::vector<double> x = Xs();
    std::vector<double> results(POINTS);
    mu::Parser parser;
    try {
        const char* names[6] = {"A", "B", "C", "D", "E", "F"};
        for (int k = 0; k < 6; ++k) parser.DefineVar(names[k], c[k].data());
        parser.DefineVar("X", x.data());
        parser.SetExpr(formula.muparserText);
        parser.Eval(results.data(), POINTS);
    } catch (const mu::Parser::exception_type& e) {
        state.SkipWithError(e.GetMsg().c_str());
        return;
    }
    for (auto _ : state) {
        parser.Eval(results.data(), POINTS);
        double sum = 0.0;
        for (const double value : results) sum += value;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * POINTS);
    state.SetLabel(formula.text);
}
BENCHMARK(MuparserBulk)->DenseRange(0, 5);
#endif

BENCHMARK(Kurvomat)->DenseRange(0, 5);
BENCHMARK(Batch)->DenseRange(0, 5);
BENCHMARK(BatchCached)->DenseRange(0, 5);
BENCHMARK(Native)->DenseRange(0, 5);

}  // namespace

BENCHMARK_MAIN();
