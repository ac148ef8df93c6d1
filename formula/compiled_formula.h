// The compiled form of a formula: a postfix program of opcodes with a pool of constants.
#pragma once

#include <cstdint>
#include <string>

// Opcodes, numbered by decades: the decade selects the kind of step. No other code is ever
// emitted (nothing ending in 0 except 20, nothing in 16..19, 21..29 or 59, nothing below 11 or
// above 88).
enum OpCode : int32_t {
    // Binary operators: pop b, pop a, push a op b.
    OP_ADD = 11,
    OP_SUB = 12,
    OP_MUL = 13,
    OP_DIV = 14,
    OP_POW = 15,
    // Pushes the next constant of the pool.
    OP_PUSHCONST = 20,
    // Letters. Only A..F (the coefficients) and X, Y, Z have a value when evaluated.
    OP_A = 31,
    OP_B = 32,
    OP_C = 33,
    OP_D = 34,
    OP_E = 35,
    OP_F = 36,
    OP_G = 37,
    OP_H = 38,
    OP_I = 39,
    OP_J = 41,
    OP_K = 42,
    OP_L = 43,
    OP_M = 44,
    OP_N = 45,
    OP_O = 46,
    OP_P = 47,
    OP_Q = 48,
    OP_R = 49,
    OP_S = 51,
    OP_T = 52,
    OP_U = 53,
    OP_V = 54,
    OP_W = 55,
    OP_X = 56,
    OP_Y = 57,
    OP_Z = 58,
    // Functions: replace the top value by the function of it.
    OP_SIN = 61,
    OP_COS = 62,
    OP_TAN = 63,
    OP_SINH = 64,
    OP_COSH = 65,
    OP_TANH = 66,
    OP_ASIN = 67,
    OP_ACOS = 68,
    OP_ATAN = 69,
    OP_ASINH = 71,
    OP_ACOSH = 72,
    OP_ATANH = 73,
    OP_EXP = 74,
    OP_LN = 75,
    OP_LOG = 76,
    OP_SQRT = 77,
    OP_COTAN = 78,
    OP_COTANH = 79,
    OP_INT = 81,
    OP_ABS = 82,
    OP_ANINT = 83,
    OP_SIGN = 84,
    OP_AINT = 85,
    OP_FACT = 86,
    OP_NEG = 87,
    OP_POS = 88,
};

inline constexpr int FORMULA_MAX_CONSTANTS = 100;
inline constexpr int FORMULA_MAX_OPCODES = 101;

// Letter table: the opcode of the letter 'A' + i is LETTER_OPCODES[i].
inline constexpr int32_t LETTER_OPCODES[26] = {
    OP_A, OP_B, OP_C, OP_D, OP_E, OP_F, OP_G, OP_H, OP_I, OP_J, OP_K, OP_L, OP_M,
    OP_N, OP_O, OP_P, OP_Q, OP_R, OP_S, OP_T, OP_U, OP_V, OP_W, OP_X, OP_Y, OP_Z,
};

// Operator table. All operators associate to the left; a higher class binds tighter.
struct FormulaOperator {
    const char* text;
    int32_t opcode;
    int precedence;
};
inline constexpr FormulaOperator FORMULA_OPERATORS[6] = {
    {"+", OP_ADD, 1}, {"-", OP_SUB, 1}, {"*", OP_MUL, 2},
    {"/", OP_DIV, 2}, {"^", OP_POW, 3}, {"**", OP_POW, 3},
};

// Function table, matched whole against an upper-cased identifier.
struct FormulaFunction {
    const char* name;
    int32_t opcode;
};
inline constexpr FormulaFunction FORMULA_FUNCTIONS[26] = {
    {"SIN", OP_SIN},     {"COS", OP_COS},       {"TAN", OP_TAN},     {"SINH", OP_SINH},
    {"COSH", OP_COSH},   {"TANH", OP_TANH},     {"ASIN", OP_ASIN},   {"ACOS", OP_ACOS},
    {"ATAN", OP_ATAN},   {"ASINH", OP_ASINH},   {"ACOSH", OP_ACOSH}, {"ATANH", OP_ATANH},
    {"EXP", OP_EXP},     {"LN", OP_LN},         {"LOG", OP_LOG},     {"SQRT", OP_SQRT},
    {"COTAN", OP_COTAN}, {"COTANH", OP_COTANH}, {"INT", OP_INT},     {"ABS", OP_ABS},
    {"ANINT", OP_ANINT}, {"SIGN", OP_SIGN},     {"AINT", OP_AINT},   {"FACT", OP_FACT},
    {"NEG", OP_NEG},     {"POS", OP_POS},
};

// Plain record without pointers. `constants` and `code` are numbered from 1 in the design: entry k
// is stored at index k - 1. After a failed compilation the record is partial and must not be
// evaluated.
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
