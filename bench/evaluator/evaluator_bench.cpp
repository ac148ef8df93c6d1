// Evaluations per second of four fitting functions: our evaluator, native C++ and muparser.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "formula/compiler.h"
#include "formula/evaluator.h"

#ifdef KURVOMAT_HAVE_MUPARSER
#include <muParser.h>
#endif

namespace {

constexpr int POINTS = 5000;
const double COEF[6] = {1.5, 0.8, 0.3, 0.25, 0.1, 0.05};

struct Formula {
    const char* text;
    // The same formula for muparser, whose function names are lower-case.
    const char* muparserText;
    double (*native)(const double* c, double x);
};

const Formula FORMULAS[] = {
    {"A+B*X", "A+B*X", [](const double* c, double x) { return c[0] + c[1] * x; }},
    {"A*EXP(-B*X)+C", "A*exp(-B*X)+C",
     [](const double* c, double x) { return c[0] * std::exp(-c[1] * x) + c[2]; }},
    {"A*SIN(B*X+C)+D*X^2", "A*sin(B*X+C)+D*X^2",
     [](const double* c, double x) { return c[0] * std::sin(c[1] * x + c[2]) + c[3] * x * x; }},
    {"(A+B*X+C*X^2)/(1+D*X+E*X^2+F*X^3)", "(A+B*X+C*X^2)/(1+D*X+E*X^2+F*X^3)",
     [](const double* c, double x) {
         return (c[0] + c[1] * x + c[2] * x * x) / (1 + c[3] * x + c[4] * x * x + c[5] * x * x * x);
     }},
    // The last two again with the powers written as products: how much of the time goes into
    // the power's e^(b ln|a|), which the other two compute as x*x.
    {"A*SIN(B*X+C)+D*X*X", "A*sin(B*X+C)+D*X*X",
     [](const double* c, double x) { return c[0] * std::sin(c[1] * x + c[2]) + c[3] * x * x; }},
    {"(A+B*X+C*X*X)/(1+D*X+E*X*X+F*X*X*X)", "(A+B*X+C*X*X)/(1+D*X+E*X*X+F*X*X*X)",
     [](const double* c, double x) {
         return (c[0] + c[1] * x + c[2] * x * x) / (1 + c[3] * x + c[4] * x * x + c[5] * x * x * x);
     }},
};

const std::vector<double>& Xs() {
    static const std::vector<double> xs = [] {
        std::vector<double> values(POINTS);
        for (int i = 0; i < POINTS; ++i) values[i] = 0.001 + 10.0 * i / POINTS;
        return values;
    }();
    return xs;
}

void Kurvomat(benchmark::State& state) {
    const Formula& formula = FORMULAS[state.range(0)];
    CompiledFormula program;
    int nCoef = 0;
    int error = 0;
    program.CompileFunction(formula.text, nCoef, error);
    if (error != 0) {
        state.SkipWithError("the formula does not compile");
        return;
    }
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
#endif

BENCHMARK(Kurvomat)->DenseRange(0, 5);
BENCHMARK(Native)->DenseRange(0, 5);

}  // namespace

BENCHMARK_MAIN();
