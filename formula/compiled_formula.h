// The compiled form of a formula: a postfix program of opcodes with a pool of constants.
#pragma once

#include <cstdint>
#include <string>

// Opcodes, numbered by decades: the decade selects the kind of step.
enum OpCode : int32_t {
    OP_ADD = 11,
    OP_SUB = 12,
    OP_MUL = 13,
    OP_DIV = 14,
    OP_POW = 15,
    OP_PUSHCONST = 20,
    // 31..39, 41..49, 51..58: the letters A..Z (see the letter table); 61..69, 71..79, 81..88:
    // the functions (see the function table).
};

inline constexpr int FORMULA_MAX_CONSTANTS = 100;
inline constexpr int FORMULA_MAX_OPCODES = 101;

// Plain record without pointers. `constants` and `code` are numbered from 1 in the design: entry k
// is stored at index k - 1.
struct CompiledFormula {
    int32_t opCount = 0;
    int32_t constCount = 0;
    int32_t letterCount = 0;
    double constants[FORMULA_MAX_CONSTANTS] = {};
    int32_t code[FORMULA_MAX_OPCODES] = {};

    // Compiles the fitting function y = f(X): X and the coefficients A, B, ... in unbroken order.
    // error 0: nCoef is 1..6. error 99: only the letter rule failed, nCoef = distinct letters - 1.
    // Any other nonzero error: nCoef is not written.
    void CompileFunction(const std::string& text, int& nCoef, int& error);

    // Compiles any formula (any letters); the wide text is converted to 8-bit text first.
    void CompileExpression(const std::wstring& text, int& error);
};
