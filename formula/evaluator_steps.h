// The guarded steps shared by the point evaluator and the batch evaluator: products, quotients,
// powers and functions with their error codes, so that both give the same bits and codes.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "formula/compiled_formula.h"

namespace evaluator_steps {

// Function results and the final value: above CLAMP_HIGH fails, below CLAMP_LOW becomes 0.
inline constexpr double CLAMP_HIGH = 1e36;
inline constexpr double CLAMP_LOW = 1e-36;
// Products and quotients with an operand outside [PRODUCT_LOW, PRODUCT_HIGH] are first tested
// by their decimal order of magnitude against ORDER_LIMIT.
inline constexpr double PRODUCT_LOW = 1e-18;
inline constexpr double PRODUCT_HIGH = 1e18;
inline constexpr double ORDER_LIMIT = 36.0;
// Limit of EXP's argument and of the power's exponent in natural logarithms.
inline constexpr double EXPONENT_LIMIT = 80.0;
inline constexpr double FACT_LIMIT = 33.0;
inline constexpr double HALF_PI = 1.5707963267948966;  // 2·atan(1), the same bits

enum EvalErrorCode {
    EVAL_OK = 0,
    EVAL_NO_OPERAND = 3,
    EVAL_DIVISION_BY_ZERO = 4,
    EVAL_POWER = 5,
    EVAL_TAN = 6,
    EVAL_ASIN = 7,
    EVAL_ACOS = 8,
    EVAL_ACOSH = 9,
    EVAL_ATANH = 10,
    EVAL_EXP = 11,
    EVAL_LN = 12,
    EVAL_SQRT = 13,
    EVAL_COTAN = 14,
    EVAL_COTANH = 15,
    EVAL_FACT = 16,
    EVAL_STACK = 20,
    EVAL_OVERFLOW = 21,
    EVAL_DERIVATIVE = 100,
};

// A NaN fails as well: it compares false with everything, so test the passing side.
inline bool AboveClamp(double value) {
    return !(std::fabs(value) <= CLAMP_HIGH);
}

// A value that passed the clamp, with a magnitude below CLAMP_LOW made 0.0 (-0.0 included).
inline double ClampLow(double value) {
    return std::fabs(value) < CLAMP_LOW ? 0.0 : value;
}

inline bool InsideProductRange(double value) {
    const double magnitude = std::fabs(value);
    return magnitude >= PRODUCT_LOW && magnitude <= PRODUCT_HIGH;
}

// Both operands inside the range is the common case and needs no test of the order of magnitude.
inline double Multiply(double a, double b, int& error) {
    if ((InsideProductRange(a) && InsideProductRange(b)) || a == 0.0 || b == 0.0) return a * b;
    const double order = std::log10(std::fabs(a)) + std::log10(std::fabs(b));
    if (order > ORDER_LIMIT) {
        error = EVAL_OVERFLOW;
        return 0.0;
    }
    return order < -ORDER_LIMIT ? 0.0 : a * b;
}

inline double Divide(double a, double b, int& error) {
    if (b == 0.0) {
        error = EVAL_DIVISION_BY_ZERO;
        return 0.0;
    }
    if ((InsideProductRange(a) && InsideProductRange(b)) || a == 0.0) return a / b;
    const double order = std::log10(std::fabs(a)) - std::log10(std::fabs(b));
    if (order > ORDER_LIMIT) {
        error = EVAL_OVERFLOW;
        return 0.0;
    }
    return order < -ORDER_LIMIT ? 0.0 : a / b;
}

// ln|a| of the last base and e^y of the last exponent, so that X^2 and X^3 in one formula take
// the logarithm of X once and a repeated X^2 its exponential once too; the bits are those of fresh
// calls. A NaN never equals itself, so it is recomputed every time, which a first call needs.
struct PowerCache {
    double base = std::numeric_limits<double>::quiet_NaN();
    double log = 0.0;
    double exponent = std::numeric_limits<double>::quiet_NaN();
    double exp = 0.0;

    double LogOf(double magnitude) {
        if (magnitude != base) {
            base = magnitude;
            log = std::log(magnitude);
        }
        return log;
    }

    double ExpOf(double y) {
        if (y != exponent) {
            exponent = y;
            exp = std::exp(y);
        }
        return exp;
    }
};

// What Power needs to know of its exponent b: whether it counts as an integer (a whole number
// within the signed 32-bit range; any other b, however large, does not) and whether it is odd.
struct ExponentKind {
    bool integer;
    bool odd;
};

inline ExponentKind KindOfExponent(double b) {
    const bool integer = b >= -2147483648.0 && b <= 2147483647.0 && b == std::trunc(b);
    return {integer, integer && (static_cast<int32_t>(b) & 1) != 0};
}

// a^b as e^(b·ln|a|), with the sign of a for an odd integer b; never std::pow, so that the bits
// are those of this formula on every machine. `kind` is KindOfExponent(b); `logs` gives ln|a|
// (LogOf) and e^y (ExpOf).
template <typename Logs>
inline double Power(double a, double b, ExponentKind kind, Logs& logs, int& error) {
    if (a == 0.0) {
        if (b == 0.0) error = EVAL_POWER;
        return 0.0;
    }
    if (b == 0.0) return 1.0;
    // For a non-integer b only a positive a is allowed, and then ln a = ln|a|.
    if (!kind.integer && a < 0.0) {
        error = EVAL_POWER;
        return 0.0;
    }
    const double exponent = b * logs.LogOf(std::fabs(a));
    if (exponent < -EXPONENT_LIMIT) return 0.0;
    if (exponent > EXPONENT_LIMIT) {
        error = EVAL_POWER;
        return 0.0;
    }
    double result = logs.ExpOf(exponent);
    if (kind.odd) result *= a / std::fabs(a);
    return result;
}

template <typename Logs>
inline double Power(double a, double b, Logs& logs, int& error) {
    return Power(a, b, KindOfExponent(b), logs, error);
}

// The function `opcode` (OP_SIN..OP_POS) of x before the clamp: sets `result` and answers
// EVAL_OK, or answers the function's own code and leaves `result` alone. Written to be folded
// where the opcode is a constant.
[[gnu::always_inline]] inline int FunctionOf(int32_t opcode, double x, double& result) {
    switch (opcode) {
        case OP_SIN:
            result = std::sin(x);
            return EVAL_OK;
        case OP_COS:
            result = std::cos(x);
            return EVAL_OK;
        case OP_TAN: {
            const double cosine = std::cos(x);
            if (cosine == 0.0) return EVAL_TAN;
            result = std::sin(x) / cosine;
            return EVAL_OK;
        }
        case OP_SINH:
            result = (std::exp(x) - std::exp(-x)) * 0.5;
            return EVAL_OK;
        case OP_COSH:
            result = (std::exp(-x) + std::exp(x)) * 0.5;
            return EVAL_OK;
        case OP_TANH:
            // Beyond |x| ~ 709.78 this is inf/inf, a NaN that the clamp refuses.
            result = (std::exp(x) - std::exp(-x)) / (std::exp(-x) + std::exp(x));
            return EVAL_OK;
        case OP_ASIN:
            if (std::fabs(x) > 1.0) return EVAL_ASIN;
            result = x == 1.0 ? HALF_PI : x == -1.0 ? -HALF_PI : std::asin(x);
            return EVAL_OK;
        case OP_ACOS:
            if (std::fabs(x) > 1.0) return EVAL_ACOS;
            result = x == 0.0 ? HALF_PI : x == 1.0 ? 0.0 : x == -1.0 ? 2.0 * HALF_PI : std::acos(x);
            return EVAL_OK;
        case OP_ATAN:
            result = std::atan(x);
            return EVAL_OK;
        case OP_ASINH:
            result = std::log(x + std::sqrt(x * x + 1.0));
            return EVAL_OK;
        case OP_ACOSH:
            if (x < 1.0) return EVAL_ACOSH;
            result = std::log(x + std::sqrt(x * x - 1.0));
            return EVAL_OK;
        case OP_ATANH:
            if (std::fabs(x) >= 1.0) return EVAL_ATANH;
            result = 0.5 * std::log((x + 1.0) / (1.0 - x));
            return EVAL_OK;
        case OP_EXP:
            if (x > EXPONENT_LIMIT) return EVAL_EXP;
            result = x < -EXPONENT_LIMIT ? 0.0 : std::exp(x);
            return EVAL_OK;
        case OP_LN:
            if (x <= 0.0) return EVAL_LN;
            result = std::log(x);
            return EVAL_OK;
        case OP_LOG:
            if (x <= 0.0) return EVAL_LN;
            result = std::log(x) / std::log(10.0);
            return EVAL_OK;
        case OP_SQRT:
            if (x < 0.0) return EVAL_SQRT;
            result = std::sqrt(x);
            return EVAL_OK;
        case OP_COTAN: {
            const double sine = std::sin(x);
            if (sine == 0.0) return EVAL_COTAN;
            result = std::cos(x) / sine;
            return EVAL_OK;
        }
        case OP_COTANH:
            if (x == 0.0) return EVAL_COTANH;
            result = (std::exp(x) + std::exp(-x)) / (std::exp(x) - std::exp(-x));
            return EVAL_OK;
        // INT and AINT: exact truncation, also beyond the 32-bit range where an integer
        // conversion would overflow; a -0.0 it may give becomes 0.0 in the clamp.
        case OP_INT:
        case OP_AINT:
            result = std::trunc(x);
            return EVAL_OK;
        case OP_ANINT:
            result = std::trunc(x + 0.5);
            return EVAL_OK;
        case OP_ABS:
            result = std::fabs(x);
            return EVAL_OK;
        case OP_SIGN:
            result = x == 0.0 ? 0.0 : x / std::fabs(x);
            return EVAL_OK;
        case OP_FACT: {
            // Written so that a NaN is refused too (its argument then fails the clamp).
            if (!(x >= 0.0 && x <= FACT_LIMIT)) return EVAL_FACT;
            const int n = x < 1.0 ? 1 : static_cast<int>(x);
            result = 1.0;
            for (int k = 1; k <= n; ++k) result *= k;
            return EVAL_OK;
        }
        case OP_NEG:
            result = x < 0.0 ? 1.0 : 0.0;
            return EVAL_OK;
        case OP_POS:
            result = x >= 0.0 ? 1.0 : 0.0;
            return EVAL_OK;
        default:
            return EVAL_NO_OPERAND;
    }
}

// The clamp after a function of x that answered `failure` and `result`: the code of the step
// (a failed function leaves its argument, which meets the clamp first), with `result` made 0.0
// below CLAMP_LOW when the step passes.
inline int ClampFunction(double x, int failure, double& result) {
    if (failure != EVAL_OK) return AboveClamp(x) ? EVAL_OVERFLOW : failure;
    if (AboveClamp(result)) return EVAL_OVERFLOW;
    result = ClampLow(result);
    return EVAL_OK;
}

}  // namespace evaluator_steps
