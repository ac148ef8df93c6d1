// Fuzz target: the batch evaluator against EvaluateAt on any record (a compiled text or raw
// opcodes and constants), abscissas and coefficients, directly and through the kept points; a
// value that differs in one bit or a code that differs aborts.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "formula/batch_evaluator.h"
#include "formula/compiler.h"
#include "formula/evaluator.h"

namespace {

// Guards' boundaries and the values beside them, zeros of both signs, subnormals, infinities, NaN.
const double SPECIAL[] = {0.0,
                          -0.0,
                          1.0,
                          -1.0,
                          2.0,
                          0.5,
                          33.0,
                          80.0,
                          -80.0,
                          81.0,
                          1e-18,
                          -1e-18,
                          1e18,
                          -1e18,
                          1e-36,
                          1e36,
                          -1e36,
                          1.0000000000000002e36,
                          9.999999999999999e-37,
                          1e300,
                          -1e300,
                          1e-300,
                          std::numeric_limits<double>::denorm_min(),
                          -std::numeric_limits<double>::denorm_min(),
                          2.2250738585072014e-308 / 2,
                          std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity(),
                          std::numeric_limits<double>::quiet_NaN(),
                          2147483647.0,
                          2147483648.0,
                          -2147483648.0,
                          709.8,
                          1.5707963267948966};

double Value(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange<int>(0, 3)) {
        case 0:
            return SPECIAL[in.ConsumeIntegralInRange<size_t>(0, std::size(SPECIAL) - 1)];
        case 1: {
            // Any bits: NaN payloads and signs, subnormals.
            const uint64_t bits = in.ConsumeIntegral<uint64_t>();
            double value;
            std::memcpy(&value, &bits, sizeof value);
            return value;
        }
        case 2:
            return in.ConsumeFloatingPoint<double>();
        default:
            return in.ConsumeFloatingPointInRange<double>(-4.0, 4.0);
    }
}

void Compare(const CompiledFormula& record, const double* x, int count, int flag,
             const double* coef, const double* values, const int* errors) {
    for (int i = 0; i < count; ++i) {
        int error = -1;
        const double value = EvaluateAt(record, x[i], flag, coef, error);
        if (error != errors[i] || std::memcmp(&value, &values[i], sizeof value) != 0) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    CompiledFormula record;
    if (in.ConsumeBool()) {
        char letters[100];
        int error = -1;
        CompileFormula(record, in.ConsumeRandomLengthString(120), letters, record.letterCount,
                       error);
        if (error != 0) return 0;
    } else {
        record.opCount = in.ConsumeIntegralInRange<int32_t>(-2, FORMULA_MAX_OPCODES + 2);
        record.constCount = in.ConsumeIntegralInRange<int32_t>(0, FORMULA_MAX_CONSTANTS);
        const int length = std::min<int>(record.opCount, FORMULA_MAX_OPCODES);
        for (int i = 0; i < length; ++i)
            record.code[i] = in.ConsumeIntegralInRange<int32_t>(-2, OP_POS + 3);
        const int constants = in.ConsumeIntegralInRange<int>(0, FORMULA_MAX_CONSTANTS);
        for (int i = 0; i < constants; ++i) record.constants[i] = Value(in);
    }
    double coef[2][6];
    for (auto& vector : coef)
        for (double& c : vector) c = Value(in);
    const int flag = in.ConsumeIntegralInRange<int>(0, 31) == 0 ? 1 : 0;
    const int count = in.ConsumeIntegralInRange<int>(0, 3 * BatchEvaluator::BLOCK);
    std::vector<double> x(count);
    for (double& value : x) value = Value(in);
    const int first = in.ConsumeIntegralInRange<int>(0, count);

    std::vector<double> values(count);
    std::vector<int> errors(count);
    BatchEvaluator batch(record);
    batch.Evaluate(x.data(), count, flag, coef[0], values.data(), errors.data());
    Compare(record, x.data(), count, flag, coef[0], values.data(), errors.data());
    batch.CachePoints(x.data(), count);
    for (const auto& vector : coef) {
        batch.EvaluateCached(0, count, flag, vector, values.data(), errors.data());
        Compare(record, x.data(), count, flag, vector, values.data(), errors.data());
    }
    batch.EvaluateCached(first, count - first, 0, coef[1], values.data(), errors.data());
    Compare(record, x.data() + first, count - first, 0, coef[1], values.data(), errors.data());
    return 0;
}
