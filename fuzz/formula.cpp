// Fuzz target: any text through both compile entry points, then evaluated at a few points.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/text_conversion.h"
#include "formula/compiler.h"
#include "formula/evaluator.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

void Evaluate(const CompiledFormula& record) {
    Check(record.opCount >= 0 && record.opCount <= FORMULA_MAX_OPCODES);
    Check(record.constCount >= 0 && record.constCount <= FORMULA_MAX_CONSTANTS);
    static const double xs[] = {0.0, -1.5, 2.0, 1e-300, 1e300, -1e20};
    static const double coefs[][6] = {
        {1, 2, 3, 4, 5, 6},
        {0, 0, 0, 0, 0, 0},
        {-1e30, 1e-30, -0.5, 33, 80, -2147483648.0},
    };
    for (const double x : xs) {
        for (const auto& coef : coefs) {
            int error = -1;
            const double value = EvaluateFormula(record, 0, coef, x, -x, x * 0.5, error);
            if (error != 0) {
                Check(value == 0.0);
                Check(!EvalErrorText(error).empty());
            } else {
                // Every result passed the final clamp.
                Check(std::fabs(value) <= 1e36);
                Check(value == 0.0 || std::fabs(value) >= 1e-36);
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    CompiledFormula function;
    int nCoef = -1;
    int error = -1;
    function.CompileFunction(text, nCoef, error);
    Check(error == 0 || !SyntaxErrorText(error).empty());
    if (error == 0) {
        Check(nCoef >= 1 && nCoef <= 6);
        Evaluate(function);
    }

    // The wide entry point, once with the bytes read as text and once with raw wide values.
    CompiledFormula expression;
    expression.CompileExpression(NarrowToWide(text), error);
    Check(error == 0 || !SyntaxErrorText(error).empty());
    if (error == 0) Evaluate(expression);

    std::wstring wide(size / sizeof(wchar_t), L'\0');
    std::memcpy(wide.data(), data, wide.size() * sizeof(wchar_t));
    expression.CompileExpression(wide, error);
    Check(error == 0 || !SyntaxErrorText(error).empty());
    if (error == 0) Evaluate(expression);
    return 0;
}
