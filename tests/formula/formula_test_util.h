// Helpers shared by the formula tests: compile a text, run it, print a program.
#pragma once

#include <array>
#include <sstream>
#include <string>
#include <vector>

#include "formula/compiler.h"
#include "formula/evaluator.h"

namespace formula_test {

// Compiles 8-bit text (any letters, as CompileExpression would) and answers the syntax code.
inline int Compile(const std::string& text, CompiledFormula& record) {
    char letters[100];
    int error = -1;
    CompileFormula(record, text, letters, record.letterCount, error);
    return error;
}

inline std::vector<int32_t> Code(const CompiledFormula& record) {
    return std::vector<int32_t>(record.code, record.code + record.opCount);
}

inline std::vector<double> Constants(const CompiledFormula& record) {
    return std::vector<double>(record.constants, record.constants + record.constCount);
}

inline constexpr std::array<double, 6> COEF = {1.0, 2.0, 3.0, 4.0, 5.0, 6.0};

struct Outcome {
    int syntax = 0;
    int error = 0;
    double value = 0.0;
};

// Compiles and evaluates at X with the given coefficients; a syntax error stops before evaluation.
inline Outcome CompileAndRun(const std::string& text, double X = 0.0,
                             const std::array<double, 6>& coef = COEF) {
    CompiledFormula record;
    Outcome outcome;
    outcome.syntax = Compile(text, record);
    if (outcome.syntax == 0) outcome.value = EvaluateAt(record, X, 0, coef.data(), outcome.error);
    return outcome;
}

// A hand-made program, for what the compiler cannot produce.
inline CompiledFormula Program(const std::vector<int32_t>& code,
                               const std::vector<double>& constants = {}) {
    CompiledFormula record;
    record.opCount = static_cast<int32_t>(code.size());
    record.constCount = static_cast<int32_t>(constants.size());
    for (size_t i = 0; i < code.size(); ++i) record.code[i] = code[i];
    for (size_t i = 0; i < constants.size(); ++i) record.constants[i] = constants[i];
    return record;
}

template <typename T>
std::string Join(const std::vector<T>& values) {
    std::ostringstream out;
    out.precision(17);
    for (size_t i = 0; i < values.size(); ++i) out << (i ? " " : "") << values[i];
    return out.str();
}

}  // namespace formula_test
