// Writes the sample documents of examples/ (and, with --pages, their results pages as bitmaps):
// made by the program's own writer from generated measurements and the program's own fits, so
// that they can be made again at any time.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "common/text_conversion.h"
#include "fitdata/fit_data.h"
#include "numerics/gauss_newton.h"
#include "numerics/levenberg_marquardt.h"
#include "plot/file_cdc.h"
#include "plot/results_page.h"

namespace {

// Measurement noise from a fixed linear congruential sequence: the same numbers on every
// machine, uniform in -1..1.
class Noise {
  public:
    double Next() {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(state_ >> 11) / 4503599627370496.0 - 1.0;
    }

  private:
    uint64_t state_ = 20261209;
};

struct Example {
    const char* name;
    const char* function;         // "" for points alone
    std::vector<double> start;    // coefficients the fit starts from
    double (*truth)(double x);    // the law the measurements follow
    double xFirst, xLast, noise;  // abscissas and noise amplitude
    int count;                    // number of points
    bool levenbergMarquardt;      // which fit adjusts the coefficients
};

// clang-format off
const Example kExamples[] = {
    {"decay", "A*EXP(-B*X)+C", {4, 0.5, 0.5},
     [](double x) { return 5 * std::exp(-0.6 * x) + 1; },
     0, 10, 0.12, 40, false},
    {"sine", "A*SIN(B*X+C)+D", {1.8, 1.1, 0.4, 0.2},
     [](double x) { return 2 * std::sin(1.2 * x + 0.5) + 0.3; },
     0, 12, 0.15, 60, true},
    {"rational", "(A+B*X+C*X*X+D*X*X*X)/(1+E*X+F*X*X)", {1, 1, 0, 0, 0, 0.1},
     [](double x) { return (2 + 3 * x - 0.5 * x * x + 0.05 * x * x * x) / (1 + 0.2 * x * x); },
     -4, 6, 0.05, 80, true},
    {"points", "", {},
     [](double x) { return 20 + 15 * std::tanh((x - 30) / 12); },
     0, 60, 0.6, 31, false},
};
// clang-format on

std::unique_ptr<FitData> MakeDocument(const Example& example) {
    auto data = std::make_unique<FitData>();
    data->Reset();
    Noise noise;
    std::vector<double> x(static_cast<size_t>(example.count)), y(x.size());
    for (int i = 0; i < example.count; ++i) {
        x[size_t(i)] = example.xFirst + (example.xLast - example.xFirst) * i / (example.count - 1);
        y[size_t(i)] = example.truth(x[size_t(i)]) + example.noise * noise.Next();
    }
    data->SetPoints(example.count, x.data(), y.data());
    if (*example.function == '\0') return data;

    const std::string answer = data->function.SetTextA(example.function);
    if (answer != "Ok") {
        std::fprintf(stderr, "%s: %s\n", example.function, answer.c_str());
        return nullptr;
    }
    for (size_t i = 0; i < example.start.size(); ++i) data->function.coef[i] = example.start[i];
    const std::wstring message = example.levenbergMarquardt ? LevenbergMarquardtFit(data.get())
                                                            : LeastSquaresFit(data.get());
    std::printf("%s: fit answered \"%s\", distance %.6g\n", example.name,
                WideToNarrow(message).c_str(), data->fitDistance);
    return data;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_examples FOLDER [--pages]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const bool pages = argc > 2 && std::string(argv[2]) == "--pages";
    int status = 0;
    for (const Example& example : kExamples) {
        auto data = MakeDocument(example);
        const std::string base = folder + "/" + example.name;
        if (!data || data->WriteGen(base + ".gen") != 0) {
            std::fprintf(stderr, "%s: not written\n", example.name);
            status = 1;
            continue;
        }
        if (pages) {
            // The bitmap export: 2000 x 1333 pixels over 28.3 cm by 18.86 cm, line factor 2.
            CMyFileCDC dc(179.5053003533569, 179.52386002120892);
            DrawResultsPage(0, 2000, 0, 1333, data.get(), &dc, 2);
            dc.SaveBitmap(base + ".bmp");
        }
    }
    return status;
}
