// The formula evaluator: runs a postfix program on a fixed local stack, with its guards.
#include "formula/evaluator.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr int STACK_SIZE = 100;
// Function results and the final value: above CLAMP_HIGH fails, below CLAMP_LOW becomes 0.
constexpr double CLAMP_HIGH = 1e36;
constexpr double CLAMP_LOW = 1e-36;
// Products and quotients with an operand outside [PRODUCT_LOW, PRODUCT_HIGH] are first tested
// by their decimal order of magnitude against ORDER_LIMIT.
constexpr double PRODUCT_LOW = 1e-18;
constexpr double PRODUCT_HIGH = 1e18;
constexpr double ORDER_LIMIT = 36.0;
// Limit of EXP's argument and of the power's exponent in natural logarithms.
constexpr double EXPONENT_LIMIT = 80.0;
constexpr double FACT_LIMIT = 33.0;

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
bool AboveClamp(double value) {
    return !(std::fabs(value) <= CLAMP_HIGH);
}

bool InsideProductRange(double value) {
    const double magnitude = std::fabs(value);
    return magnitude >= PRODUCT_LOW && magnitude <= PRODUCT_HIGH;
}

// Both operands inside the range is the common case and needs no test of the order of magnitude.
double Multiply(double a, double b, int& error) {
    if ((InsideProductRange(a) && InsideProductRange(b)) || a == 0.0 || b == 0.0) return a * b;
    const double order = std::log10(std::fabs(a)) + std::log10(std::fabs(b));
    if (order > ORDER_LIMIT) {
        error = EVAL_OVERFLOW;
        return 0.0;
    }
    return order < -ORDER_LIMIT ? 0.0 : a * b;
}

double Divide(double a, double b, int& error) {
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

// a^b as e^(b·ln|a|), with the sign of a for an odd integer b; never std::pow, so that the bits
// are those of this formula on every machine.
double Power(double a, double b, PowerCache& cache, int& error) {
    if (a == 0.0) {
        if (b == 0.0) error = EVAL_POWER;
        return 0.0;
    }
    if (b == 0.0) return 1.0;
    const bool integer = b >= -2147483648.0 && b <= 2147483647.0 && b == std::trunc(b);
    // For a non-integer b only a positive a is allowed, and then ln a = ln|a|.
    if (!integer && a < 0.0) {
        error = EVAL_POWER;
        return 0.0;
    }
    const double exponent = b * cache.LogOf(std::fabs(a));
    if (exponent < -EXPONENT_LIMIT) return 0.0;
    if (exponent > EXPONENT_LIMIT) {
        error = EVAL_POWER;
        return 0.0;
    }
    double result = cache.ExpOf(exponent);
    if (integer && (static_cast<int32_t>(b) & 1) != 0) result *= a / std::fabs(a);
    return result;
}

double Fail(int& error, int code) {
    error = code;
    return 0.0;
}

}  // namespace

// Threaded dispatch: each step ends by jumping straight to the code of the next opcode through
// STEPS (a GCC and clang extension), so that every step has its own well-predicted indirect jump
// instead of all of them sharing one. The pushes and the operators finish in their own code; the
// functions leave theirs with `result` and `failure` set and meet their common guards at
// `function`.
double EvaluateFormula(const CompiledFormula& program, int flag, const double* coef, double X,
                       double Y, double Z, int& error) {
    if (flag != 0) return Fail(error, EVAL_DERIVATIVE);
    error = EVAL_OK;

    // Opcode -> its code, by decades; every code that is never emitted (and the letters without a
    // value) fails like a step without operand.
    // clang-format off
    static const void* const STEPS[OP_POS + 1] = {
        &&bad, &&bad, &&bad, &&bad, &&bad, &&bad, &&bad, &&bad, &&bad, &&bad,
        &&bad, &&add, &&sub, &&mul, &&div, &&pow, &&bad, &&bad, &&bad, &&bad,
        &&pushconst, &&bad, &&bad, &&bad, &&bad, &&bad, &&bad, &&bad, &&bad, &&bad,
        &&bad, &&coefficient, &&coefficient, &&coefficient, &&coefficient, &&coefficient,
        &&coefficient, &&bad, &&bad, &&bad,
        &&bad, &&bad, &&bad, &&bad, &&bad, &&bad, &&bad, &&bad, &&bad, &&bad,
        &&bad, &&bad, &&bad, &&bad, &&bad, &&bad, &&x, &&y, &&z, &&bad,
        &&bad, &&sin, &&cos, &&tan, &&sinh, &&cosh, &&tanh, &&asin, &&acos, &&atan,
        &&bad, &&asinh, &&acosh, &&atanh, &&exp, &&ln, &&log, &&sqrt, &&cotan, &&cotanh,
        &&bad, &&aint, &&abs, &&anint, &&sign, &&aint, &&fact, &&neg, &&pos,
    };
    // clang-format on

    // The top value lives in `top`; the values under it in below[1..depth-1]. below[0] is a
    // landing place for the first push, so that a push needs no test of an empty stack.
    double top = 0.0;
    double below[STACK_SIZE + 1];
    int depth = 0;
    int constIndex = 0;
    PowerCache powers;
    constexpr double halfPi = 1.5707963267948966;  // 2·atan(1), the same bits
    // A record is only ever filled by the compiler, but never read past its arrays whatever it
    // holds.
    const int32_t* next = program.code;
    const int32_t* const end =
        program.code + (program.opCount < 0                     ? 0
                        : program.opCount > FORMULA_MAX_OPCODES ? FORMULA_MAX_OPCODES
                                                                : program.opCount);
    int32_t opcode;
    double value;
    // A step that fails returns at once, so `failure` is EVAL_OK whenever a step begins.
    int failure = EVAL_OK;
    double result = 0.0;
    double x;

#define NEXT_STEP                                                               \
    do {                                                                        \
        if (next == end) goto done;                                             \
        opcode = *next++;                                                       \
        goto*(static_cast<uint32_t>(opcode) <= OP_POS ? STEPS[opcode] : &&bad); \
    } while (false)
// A function step: x is its argument; it sets `result`, or `failure` and leaves `result` alone.
#define FUNCTION_STEP(label) \
    label:                   \
    x = top;

    NEXT_STEP;

pushconst:
    if (constIndex >= FORMULA_MAX_CONSTANTS) return Fail(error, EVAL_NO_OPERAND);
    value = program.constants[constIndex++];
    goto push;
coefficient:
    value = coef[opcode - OP_A];
    goto push;
x:
    value = X;
    goto push;
y:
    value = Y;
    goto push;
z:
    value = Z;
    goto push;
push:
    if (depth == STACK_SIZE) return Fail(error, EVAL_STACK);
    below[depth++] = top;
    top = value;
    NEXT_STEP;

// Binary operators: the value under the top is the left operand.
add:
    if (depth < 2) return Fail(error, EVAL_NO_OPERAND);
    top = below[--depth] + top;
    NEXT_STEP;
sub:
    if (depth < 2) return Fail(error, EVAL_NO_OPERAND);
    top = below[--depth] - top;
    NEXT_STEP;
mul:
    if (depth < 2) return Fail(error, EVAL_NO_OPERAND);
    top = Multiply(below[--depth], top, failure);
    if (failure != EVAL_OK) return Fail(error, failure);
    NEXT_STEP;
div:
    if (depth < 2) return Fail(error, EVAL_NO_OPERAND);
    top = Divide(below[--depth], top, failure);
    if (failure != EVAL_OK) return Fail(error, failure);
    NEXT_STEP;
pow:
    if (depth < 2) return Fail(error, EVAL_NO_OPERAND);
    top = Power(below[--depth], top, powers, failure);
    if (failure != EVAL_OK) return Fail(error, failure);
    NEXT_STEP;

    // Functions of the top value x.
    FUNCTION_STEP(sin)
    result = std::sin(x);
    goto function;
    FUNCTION_STEP(cos)
    result = std::cos(x);
    goto function;
    FUNCTION_STEP(tan) {
        const double cosine = std::cos(x);
        if (cosine == 0.0) {
            failure = EVAL_TAN;
        } else {
            result = std::sin(x) / cosine;
        }
        goto function;
    }
    FUNCTION_STEP(sinh)
    result = (std::exp(x) - std::exp(-x)) * 0.5;
    goto function;
    FUNCTION_STEP(cosh)
    result = (std::exp(-x) + std::exp(x)) * 0.5;
    goto function;
    // Beyond |x| ~ 709.78 this is inf/inf, a NaN that the clamp refuses.
    FUNCTION_STEP(tanh)
    result = (std::exp(x) - std::exp(-x)) / (std::exp(-x) + std::exp(x));
    goto function;
    FUNCTION_STEP(asin)
    if (std::fabs(x) > 1.0) {
        failure = EVAL_ASIN;
    } else {
        result = x == 1.0 ? halfPi : x == -1.0 ? -halfPi : std::asin(x);
    }
    goto function;
    FUNCTION_STEP(acos)
    if (std::fabs(x) > 1.0) {
        failure = EVAL_ACOS;
    } else {
        result = x == 0.0 ? halfPi : x == 1.0 ? 0.0 : x == -1.0 ? 2.0 * halfPi : std::acos(x);
    }
    goto function;
    FUNCTION_STEP(atan)
    result = std::atan(x);
    goto function;
    FUNCTION_STEP(asinh)
    result = std::log(x + std::sqrt(x * x + 1.0));
    goto function;
    FUNCTION_STEP(acosh)
    if (x < 1.0) {
        failure = EVAL_ACOSH;
    } else {
        result = std::log(x + std::sqrt(x * x - 1.0));
    }
    goto function;
    FUNCTION_STEP(atanh)
    if (std::fabs(x) >= 1.0) {
        failure = EVAL_ATANH;
    } else {
        result = 0.5 * std::log((x + 1.0) / (1.0 - x));
    }
    goto function;
    FUNCTION_STEP(exp)
    if (x > EXPONENT_LIMIT) {
        failure = EVAL_EXP;
    } else {
        result = x < -EXPONENT_LIMIT ? 0.0 : std::exp(x);
    }
    goto function;
    FUNCTION_STEP(ln)
    if (x <= 0.0) {
        failure = EVAL_LN;
    } else {
        result = std::log(x);
    }
    goto function;
    FUNCTION_STEP(log)
    if (x <= 0.0) {
        failure = EVAL_LN;
    } else {
        result = std::log(x) / std::log(10.0);
    }
    goto function;
    FUNCTION_STEP(sqrt)
    if (x < 0.0) {
        failure = EVAL_SQRT;
    } else {
        result = std::sqrt(x);
    }
    goto function;
    FUNCTION_STEP(cotan) {
        const double sine = std::sin(x);
        if (sine == 0.0) {
            failure = EVAL_COTAN;
        } else {
            result = std::cos(x) / sine;
        }
        goto function;
    }
    FUNCTION_STEP(cotanh)
    if (x == 0.0) {
        failure = EVAL_COTANH;
    } else {
        result = (std::exp(x) + std::exp(-x)) / (std::exp(x) - std::exp(-x));
    }
    goto function;
    // INT and AINT: exact truncation, also beyond the 32-bit range where an integer conversion
    // would overflow; a -0.0 it may give becomes 0.0 in the clamp.
    FUNCTION_STEP(aint)
    result = std::trunc(x);
    goto function;
    FUNCTION_STEP(anint)
    result = std::trunc(x + 0.5);
    goto function;
    FUNCTION_STEP(abs)
    result = std::fabs(x);
    goto function;
    FUNCTION_STEP(sign)
    result = x == 0.0 ? 0.0 : x / std::fabs(x);
    goto function;
    FUNCTION_STEP(fact)
    // Written so that a NaN is refused too (its argument then fails the clamp).
    if (!(x >= 0.0 && x <= FACT_LIMIT)) {
        failure = EVAL_FACT;
    } else {
        const int n = x < 1.0 ? 1 : static_cast<int>(x);
        result = 1.0;
        for (int k = 1; k <= n; ++k) result *= k;
    }
    goto function;
    FUNCTION_STEP(neg)
    result = x < 0.0 ? 1.0 : 0.0;
    goto function;
    FUNCTION_STEP(pos)
    result = x >= 0.0 ? 1.0 : 0.0;
    goto function;

function:
    // Without a value the function had no argument (it computed on a placeholder).
    if (depth < 1) return Fail(error, EVAL_NO_OPERAND);
    // A failed function leaves its argument on the stack, which meets the clamp first.
    if (failure != EVAL_OK) return Fail(error, AboveClamp(x) ? EVAL_OVERFLOW : failure);
    if (AboveClamp(result)) return Fail(error, EVAL_OVERFLOW);
    top = std::fabs(result) < CLAMP_LOW ? 0.0 : result;
    NEXT_STEP;

#undef NEXT_STEP
#undef FUNCTION_STEP

bad:
    return Fail(error, EVAL_NO_OPERAND);

done:
    if (depth != 1) return Fail(error, EVAL_STACK);
    if (AboveClamp(top)) return Fail(error, EVAL_OVERFLOW);
    return std::fabs(top) < CLAMP_LOW ? 0.0 : top;
}

double EvaluateAt(const CompiledFormula& program, double X, int flag, const double* coef,
                  int& error) {
    return EvaluateFormula(program, flag, coef, X, 0.0, 0.0, error);
}

std::string EvalErrorText(int code) {
    switch (code) {
        case 2:
            return "Erreur de resolution systeme";
        case EVAL_NO_OPERAND:
            return "On ne peut effectuer une  operation  ->  erreur  compilation";
        case EVAL_DIVISION_BY_ZERO:
            return "division par zero";
        case EVAL_POWER:
            return "Erreur dans une puissance";
        case EVAL_TAN:
            return "Erreur dans le calcul d'une tangente";
        case EVAL_ASIN:
            return "Arc Sin d'un nombre de module plus grand que 1";
        case EVAL_ACOS:
            return "Arc Cos d'un nombre de module plus grand que 1";
        case EVAL_ACOSH:
            return "Erreur de calcul dans Arc Cos Hyp. l'argument est < 1";
        case EVAL_ATANH:
            return "Erreur de calcul dans Arc Tan Hyp. l'argument est >=1";
        case EVAL_EXP:
            return "Erreur dans le calcul d'une Exponentielle : Depassement Capacite";
        case EVAL_LN:
            return "Erreur de calcul dans LN";
        case EVAL_SQRT:
            return "Erreur de calcul dans SQRT";
        case EVAL_COTAN:
            return "Erreur de calcul dans COTAN";
        case EVAL_COTANH:
            return "Erreur de calcul dans COTANH";
        case EVAL_FACT:
            return "Erreur dans le calcul d'une factorielle";
        case EVAL_STACK:
            return "Erreur dans le stockage -> erreur de compilation";
        case EVAL_OVERFLOW:
            return "Depassement Capacite Calcul";
        case EVAL_DERIVATIVE:
            return "Calcul des derivees Impossible !";
        default:
            return "";
    }
}
