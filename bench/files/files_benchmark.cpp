// The 5000-point application file and point table, beside plain stdio moving the same bytes.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "fitdata/fit_data.h"

namespace {

// One temporary folder for the whole run, removed at exit.
class BenchFolder {
  public:
    BenchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kurvomat-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        path_ = pattern;
    }
    ~BenchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

std::string Folder() {
    static const BenchFolder folder;
    return folder.path();
}

std::unique_ptr<FitData> LargeDocument() {
    auto data = std::make_unique<FitData>();
    data->Reset();
    std::vector<double> x(MAX_POINTS), y(MAX_POINTS);
    for (int i = 0; i < MAX_POINTS; ++i) {
        x[i] = i * 0.013 - 20.0;
        y[i] = 1000.0 / (i + 3.0) - 0.5;
    }
    data->SetPoints(MAX_POINTS, x.data(), y.data());
    data->function.SetTextA("A*EXP(B*X)+C");
    return data;
}

long SizeOf(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::fseek(file, 0, SEEK_END);
    long size = std::ftell(file);
    std::fclose(file);
    return size;
}

void BM_WriteGen(benchmark::State& state) {
    auto data = LargeDocument();
    std::string path = Folder() + "/doc.gen";
    for (auto _ : state) {
        if (data->WriteGen(path) != 0) state.SkipWithError("WriteGen failed");
    }
    state.SetBytesProcessed(state.iterations() * SizeOf(path));
}

void BM_ReadGen(benchmark::State& state) {
    auto data = LargeDocument();
    std::string path = Folder() + "/doc.gen";
    data->WriteGen(path);
    for (auto _ : state) {
        if (data->ReadGen(path) != 0) state.SkipWithError("ReadGen failed");
    }
    state.SetBytesProcessed(state.iterations() * SizeOf(path));
}

void BM_WritePointsText(benchmark::State& state) {
    auto data = LargeDocument();
    std::string path = Folder() + "/points.dat";
    for (auto _ : state) {
        if (data->WritePointsText(path) != 0) state.SkipWithError("WritePointsText failed");
    }
    if (SizeOf(path) != 140005) state.SkipWithError("the baselines assume a 140005-byte table");
    state.SetBytesProcessed(state.iterations() * SizeOf(path));
}

void BM_ReadPointsText(benchmark::State& state) {
    auto data = LargeDocument();
    std::string path = Folder() + "/points.dat";
    data->WritePointsText(path);
    for (auto _ : state) {
        if (data->ReadPointsText(path) != 0) state.SkipWithError("ReadPointsText failed");
    }
    state.SetBytesProcessed(state.iterations() * SizeOf(path));
}

// Baselines: one fopen, one fwrite or fread of the whole byte count, one fclose.
void BM_PlainFwrite(benchmark::State& state) {
    std::vector<char> bytes(static_cast<size_t>(state.range(0)), 'x');
    std::string path = Folder() + "/plain.bin";
    for (auto _ : state) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

// The same with what a safe replacement costs at least: fsync and a rename over the target.
void BM_PlainFwriteSyncRename(benchmark::State& state) {
    std::vector<char> bytes(static_cast<size_t>(state.range(0)), 'x');
    std::string path = Folder() + "/plain.bin";
    std::string temporary = Folder() + "/plain.tmp";
    for (auto _ : state) {
        std::FILE* file = std::fopen(temporary.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fflush(file);
        fsync(fileno(file));
        std::fclose(file);
        std::rename(temporary.c_str(), path.c_str());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_PlainFread(benchmark::State& state) {
    std::vector<char> bytes(static_cast<size_t>(state.range(0)), 'x');
    std::string path = Folder() + "/plain-read.bin";
    std::FILE* out = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
    for (auto _ : state) {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
        benchmark::DoNotOptimize(got);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

// 80602: the 5000-point application file; 140005: the 5000-point table (5 + 5000 x 28 bytes).
BENCHMARK(BM_WriteGen);
BENCHMARK(BM_PlainFwrite)->Arg(80602);
BENCHMARK(BM_PlainFwriteSyncRename)->Arg(80602);
BENCHMARK(BM_ReadGen);
BENCHMARK(BM_PlainFread)->Arg(80602);
BENCHMARK(BM_WritePointsText);
BENCHMARK(BM_PlainFwrite)->Arg(140005);
BENCHMARK(BM_PlainFwriteSyncRename)->Arg(140005);
BENCHMARK(BM_ReadPointsText);
BENCHMARK(BM_PlainFread)->Arg(140005);

}  // namespace
