// The cost of the results page of a 5000-point document with a six-coefficient function, drawn
// into the bitmap context (and saved), beside the formula evaluations the page makes, alone.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "fitdata/fit_data.h"
#include "numerics/calculations.h"
#include "plot/file_cdc.h"
#include "plot/results_page.h"

namespace {

constexpr double kDpiX = 179.5053003533569;
constexpr double kDpiY = 179.52386002120892;
// The frame of the 2000 x 1333 page runs from column 203 to 1596: one evaluation per column.
constexpr int kFirstColumn = 203;
constexpr int kLastColumn = 1596;

std::unique_ptr<FitData> Document() {
    auto data = std::make_unique<FitData>();
    data->Reset();
    for (int i = 0; i < MAX_POINTS; ++i) {
        const double x = -4 + 10.0 * i / (MAX_POINTS - 1);
        data->pointX[i] = x;
        data->pointY[i] = (2 + 3 * x - 0.5 * x * x + 0.05 * x * x * x) / (1 + 0.2 * x * x) +
                          0.05 * std::sin(37.0 * i);
    }
    data->nPoints = MAX_POINTS;
    data->hasPoints = 1;
    data->function.SetTextA("(A+B*X+C*X*X+D*X*X*X)/(1+E*X+F*X*X)");
    const double coef[] = {2, 3, -0.5, 0.05, 0, 0.2};
    for (int i = 0; i < 6; ++i) data->function.coef[i] = coef[i];
    data->fitDone = 1;
    data->fitDistance = 0.0094;
    return data;
}

void DrawPage(benchmark::State& state) {
    auto data = Document();
    for (auto _ : state) {
        CMyFileCDC dc(kDpiX, kDpiY);
        DrawResultsPage(0, 2000, 0, 1333, data.get(), &dc, 2);
        benchmark::DoNotOptimize(dc.Row(700));
    }
}

void DrawAndSavePage(benchmark::State& state) {
    auto data = Document();
    const std::string path = "/tmp/kurvomat-bench-page-" + std::to_string(getpid()) + ".bmp";
    for (auto _ : state) {
        CMyFileCDC dc(kDpiX, kDpiY);
        DrawResultsPage(0, 2000, 0, 1333, data.get(), &dc, 2);
        dc.SaveBitmap(path);
    }
    std::remove(path.c_str());
}

// The baseline: the evaluations of f that the curve makes, at the same abscissas, alone.
void EvaluationsAlone(benchmark::State& state) {
    auto data = Document();
    data->AutoScale();
    const ScaleDef& s = data->scale;
    const double pxPerX = (1597 - 203) / 7.0 / s.xStep;
    std::wstring message;
    for (auto _ : state) {
        double sum = 0;
        for (int c = kFirstColumn; c <= kLastColumn; ++c)
            sum += EvaluateF(data.get(), s.xMin + (c - kFirstColumn) / pxPerX, message);
        benchmark::DoNotOptimize(sum);
    }
}

}  // namespace

BENCHMARK(DrawPage)->Unit(benchmark::kMicrosecond);
BENCHMARK(DrawAndSavePage)->Unit(benchmark::kMicrosecond);
BENCHMARK(EvaluationsAlone)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
