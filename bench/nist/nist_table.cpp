// Runs both fits from both NIST starting points on every problem of a folder of NIST StRD
// nonlinear-regression files and prints a Markdown table of the answers and of the log relative
// errors (correct significant digits) of the coefficients and of the residual sum of squares.
//
// Usage: nist_table FOLDER > table.md   (FOLDER holds <Name>.txt files and README.md)
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "fitdata/fit_data.h"
#include "formula/evaluator.h"
#include "numerics/gauss_newton.h"
#include "numerics/levenberg_marquardt.h"

namespace {

struct Problem {
    std::string name;
    std::string difficulty;
    std::string formula;
    std::vector<double> start[2];
    std::vector<double> certified;
    double certifiedRss = 0.0;
    std::vector<double> x, y;
};

std::vector<double> ReadNumbers(std::istringstream& line) {
    std::vector<double> values;
    double v = 0.0;
    while (line >> v) values.push_back(v);
    return values;
}

bool ReadProblem(const std::filesystem::path& path, Problem& problem) {
    std::ifstream in(path);
    std::string text;
    while (std::getline(in, text)) {
        std::istringstream line(text);
        std::string key;
        line >> key;
        if (key == "#") {
            line >> problem.name >> problem.difficulty;
        } else if (key == "formula") {
            line >> problem.formula;
        } else if (key == "start1") {
            problem.start[0] = ReadNumbers(line);
        } else if (key == "start2") {
            problem.start[1] = ReadNumbers(line);
        } else if (key == "certified") {
            problem.certified = ReadNumbers(line);
        } else if (key == "certified_rss") {
            line >> problem.certifiedRss;
        } else if (key != "certified_sd" && !key.empty()) {
            std::istringstream pair(text);
            double x = 0.0, y = 0.0;
            if (pair >> x >> y) {
                problem.x.push_back(x);
                problem.y.push_back(y);
            }
        }
    }
    return !problem.name.empty() && !problem.certified.empty() &&
           problem.start[0].size() == problem.certified.size() &&
           problem.start[1].size() == problem.certified.size() && !problem.x.empty() &&
           problem.x.size() <= size_t(MAX_POINTS);
}

// Correct significant digits of value against the certified one: -log10(|v - c| / |c|), from 0
// up to 11 (the certified values carry 11 digits).
double LogRelativeError(double value, double certified) {
    if (!std::isfinite(value)) return 0.0;
    const double relative = std::fabs(value - certified) / std::fabs(certified);
    if (relative == 0.0) return 11.0;
    return std::clamp(-std::log10(relative), 0.0, 11.0) + 0.0;  // + 0.0: no "-0.0"
}

double ResidualSumOfSquares(const FitData& data) {
    double s = 0.0;
    for (int i = 0; i < data.nPoints; ++i) {
        int error = 0;
        const double r = data.pointY[i] - EvaluateAt(data.function.program, data.pointX[i], 0,
                                                     data.function.coef, error);
        if (error != 0) return NAN;
        s += r * r;
    }
    return s;
}

struct Tally {
    int runs = 0, converged = 0, limit = 0, failed = 0, fourDigits = 0, sixDigits = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    std::vector<Problem> problems;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1])) {
        if (entry.path().extension() != ".txt") continue;
        Problem problem;
        if (!ReadProblem(entry.path(), problem)) {
            std::fprintf(stderr, "%s: not a problem file\n", entry.path().c_str());
            return 1;
        }
        problems.push_back(problem);
    }
    // The README's order: by difficulty, then by name.
    auto rank = [](const std::string& d) { return d == "lower" ? 0 : d == "average" ? 1 : 2; };
    std::sort(problems.begin(), problems.end(), [&](const Problem& a, const Problem& b) {
        return rank(a.difficulty) != rank(b.difficulty) ? rank(a.difficulty) < rank(b.difficulty)
                                                        : a.name < b.name;
    });

    std::printf(
        "# Both fits on the NIST StRD nonlinear-regression problems\n\n"
        "Made by `build/bench/nist/nist_table FOLDER` (see bench/README.md). GN: "
        "LeastSquaresFitA; LM: LmSolver::Run; every coefficient free, started from NIST's start "
        "1 or start 2. Answer: \"\" converged, \"?\" iteration limit, otherwise the error "
        "text. Distance: fitDistance when the fit answered \"\" or \"?\". LRE: log relative "
        "error, -log10(|value - certified| / |certified|), the number of correct significant "
        "digits (0 to 11), of each coefficient A..F at the end of the run (whatever the answer) "
        "and of the residual sum of squares computed at those coefficients. Lanczos1's "
        "certified RSS cannot be reproduced from its 11-digit certified values (see the "
        "reference's README): judge it by its coefficients.\n\n");
    const char* methods[2] = {"GN", "LM"};
    Tally tally[2][2];
    std::printf(
        "| Problem | Difficulty | Method | Start | Answer | Distance | LRE A..F | "
        "min LRE | LRE RSS |\n");
    std::printf("|---|---|---|---|---|---:|---|---:|---:|\n");
    for (const Problem& problem : problems) {
        for (int method = 0; method < 2; ++method) {
            for (int start = 0; start < 2; ++start) {
                auto data = std::make_unique<FitData>();
                data->Reset();
                const std::string compiled = data->function.SetTextA(problem.formula);
                if (compiled != "Ok" || data->function.nCoef != int(problem.certified.size())) {
                    std::fprintf(stderr, "%s: formula refused: %s\n", problem.name.c_str(),
                                 compiled.c_str());
                    return 1;
                }
                double values[MAX_COEF] = {};
                int fixed[MAX_COEF] = {};
                std::copy(problem.start[start].begin(), problem.start[start].end(), values);
                data->function.SetCoefficients(values, fixed);
                data->SetPoints(int(problem.x.size()), problem.x.data(), problem.y.data());

                std::string answer;
                if (method == 0) {
                    answer = LeastSquaresFitA(data.get());
                } else {
                    LmSolver solver;
                    solver.Run(data.get(), answer);
                }

                Tally& t = tally[method][start];
                ++t.runs;
                std::string shown;
                if (answer.empty()) {
                    shown = "\"\"";
                    ++t.converged;
                } else if (answer == "?") {
                    shown = "\"?\"";
                    ++t.limit;
                } else {
                    shown = answer;
                    ++t.failed;
                }
                std::string lres;
                double minLre = 11.0;
                for (size_t k = 0; k < problem.certified.size(); ++k) {
                    const double lre =
                        LogRelativeError(data->function.coef[k], problem.certified[k]);
                    minLre = std::min(minLre, lre);
                    char cell[16];
                    std::snprintf(cell, sizeof cell, "%s%.1f", k ? " " : "", lre);
                    lres += cell;
                }
                const bool success = answer.empty() || answer == "?";
                if (success && minLre >= 4.0) ++t.fourDigits;
                if (success && minLre >= 6.0) ++t.sixDigits;
                const double rssLre =
                    LogRelativeError(ResidualSumOfSquares(*data), problem.certifiedRss);
                char distance[32] = "-";
                if (success) std::snprintf(distance, sizeof distance, "%.6e", data->fitDistance);
                std::printf("| %s | %s | %s | %d | %s | %s | %s | %.1f | %.1f |\n",
                            problem.name.c_str(), problem.difficulty.c_str(), methods[method],
                            start + 1, shown.c_str(), distance, lres.c_str(), minLre, rssLre);
            }
        }
    }

    std::printf(
        "\nSummary (\"solved\": answer \"\" or \"?\" with every coefficient correct to "
        "the digits shown):\n");
    std::printf(
        "\n| Method | Start | Runs | \"\" | \"?\" | error text | min LRE >= 4 | "
        "min LRE >= 6 |\n|---|---|---:|---:|---:|---:|---:|---:|\n");
    for (int method = 0; method < 2; ++method)
        for (int start = 0; start < 2; ++start) {
            const Tally& t = tally[method][start];
            std::printf("| %s | %d | %d | %d | %d | %d | %d | %d |\n", methods[method], start + 1,
                        t.runs, t.converged, t.limit, t.failed, t.fourDigits, t.sixDigits);
        }
    return 0;
}
