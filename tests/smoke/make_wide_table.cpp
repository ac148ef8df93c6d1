// Writes a document of 1200 points whose numbers take the widest forms of the number format, for
// the point table's picture: make_wide_table FILE.
#include <memory>
#include <vector>

#include "fitdata/fit_data.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const double forms[] = {-123456.7, 1.234568e+100, -99999.5, 0.5, -1.23457e-100, 999999.0};
    constexpr int kPoints = 1200;
    std::vector<double> x(kPoints), y(kPoints);
    for (int i = 0; i < kPoints; ++i) {
        x[static_cast<std::size_t>(i)] = forms[i % 6];
        y[static_cast<std::size_t>(i)] = forms[(i + 3) % 6];
    }
    auto data = std::make_unique<FitData>();
    if (data->SetPoints(kPoints, x.data(), y.data()) < 0) return 1;
    return data->WriteGen(argv[1]) == 0 ? 0 : 1;
}
