// The formula evaluator: runs a postfix program on a fixed local stack, with its guards.
#include "formula/evaluator.h"

#include <cmath>
#include <cstdint>

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

bool OutsideProductRange(double value) {
    const double magnitude = std::fabs(value);
    return !(magnitude >= PRODUCT_LOW && magnitude <= PRODUCT_HIGH);
}

double Multiply(double a, double b, int& error) {
    if (a != 0.0 && b != 0.0 && (OutsideProductRange(a) || OutsideProductRange(b))) {
        const double order = std::log10(std::fabs(a)) + std::log10(std::fabs(b));
        if (order > ORDER_LIMIT) {
            error = EVAL_OVERFLOW;
            return 0.0;
        }
        if (order < -ORDER_LIMIT) return 0.0;
    }
    return a * b;
}

double Divide(double a, double b, int& error) {
    if (b == 0.0) {
        error = EVAL_DIVISION_BY_ZERO;
        return 0.0;
    }
    if (a != 0.0 && (OutsideProductRange(a) || OutsideProductRange(b))) {
        const double order = std::log10(std::fabs(a)) - std::log10(std::fabs(b));
        if (order > ORDER_LIMIT) {
            error = EVAL_OVERFLOW;
            return 0.0;
        }
        if (order < -ORDER_LIMIT) return 0.0;
    }
    return a / b;
}

// a^b as e^(b·ln|a|), with the sign of a for an odd integer b; never std::pow, so that the bits
// are those of this formula on every machine.
double Power(double a, double b, int& error) {
    if (a == 0.0) {
        if (b == 0.0) error = EVAL_POWER;
        return 0.0;
    }
    if (b == 0.0) return 1.0;
    const bool integer = b >= -2147483648.0 && b <= 2147483647.0 && b == std::trunc(b);
    double exponent;
    if (integer) {
        exponent = b * std::log(std::fabs(a));
    } else {
        if (a < 0.0) {
            error = EVAL_POWER;
            return 0.0;
        }
        exponent = b * std::log(a);
    }
    if (exponent < -EXPONENT_LIMIT) return 0.0;
    if (exponent > EXPONENT_LIMIT) {
        error = EVAL_POWER;
        return 0.0;
    }
    double result = std::exp(exponent);
    if (integer && (static_cast<int32_t>(b) & 1) != 0) result *= a / std::fabs(a);
    return result;
}

// Writes f(x) into result and answers 0, or answers the function's own error code.
int ApplyFunction(int32_t opcode, double x, double& result) {
    const double halfPi = 2.0 * std::atan(1.0);
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
            result = x == 1.0 ? halfPi : x == -1.0 ? -halfPi : std::asin(x);
            return EVAL_OK;
        case OP_ACOS:
            if (std::fabs(x) > 1.0) return EVAL_ACOS;
            result = x == 0.0    ? halfPi
                     : x == 1.0  ? 0.0
                     : x == -1.0 ? 4.0 * std::atan(1.0)
                                 : std::acos(x);
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
        // Exact truncation, also beyond the 32-bit range where an integer conversion would
        // overflow; a -0.0 it may give becomes 0.0 in the clamp.
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
            double product = 1.0;
            for (int k = 1; k <= n; ++k) product *= k;
            result = product;
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

double Fail(int& error, int code) {
    error = code;
    return 0.0;
}

}  // namespace

double EvaluateFormula(const CompiledFormula& program, int flag, const double* coef, double X,
                       double Y, double Z, int& error) {
    if (flag != 0) return Fail(error, EVAL_DERIVATIVE);
    error = EVAL_OK;

    double stack[STACK_SIZE];
    int count = 0;
    int constIndex = 0;
    // A record is only ever filled by the compiler, but never read past its arrays whatever it
    // holds.
    const int opCount = program.opCount < 0                     ? 0
                        : program.opCount > FORMULA_MAX_OPCODES ? FORMULA_MAX_OPCODES
                                                                : program.opCount;
    for (int i = 0; i < opCount; ++i) {
        const int32_t opcode = program.code[i];
        double value;
        switch (opcode) {
            case OP_PUSHCONST:
                if (constIndex >= FORMULA_MAX_CONSTANTS) return Fail(error, EVAL_NO_OPERAND);
                value = program.constants[constIndex++];
                break;
            case OP_A:
            case OP_B:
            case OP_C:
            case OP_D:
            case OP_E:
            case OP_F:
                value = coef[opcode - OP_A];
                break;
            case OP_X:
                value = X;
                break;
            case OP_Y:
                value = Y;
                break;
            case OP_Z:
                value = Z;
                break;

            case OP_ADD:
            case OP_SUB:
            case OP_MUL:
            case OP_DIV:
            case OP_POW: {
                if (count < 2) return Fail(error, EVAL_NO_OPERAND);
                const double b = stack[--count];
                const double a = stack[count - 1];
                double result;
                switch (opcode) {
                    case OP_ADD:
                        result = a + b;
                        break;
                    case OP_SUB:
                        result = a - b;
                        break;
                    case OP_MUL:
                        result = Multiply(a, b, error);
                        break;
                    case OP_DIV:
                        result = Divide(a, b, error);
                        break;
                    default:
                        result = Power(a, b, error);
                        break;
                }
                if (error != EVAL_OK) return 0.0;
                stack[count - 1] = result;
                continue;
            }

            case OP_SIN:
            case OP_COS:
            case OP_TAN:
            case OP_SINH:
            case OP_COSH:
            case OP_TANH:
            case OP_ASIN:
            case OP_ACOS:
            case OP_ATAN:
            case OP_ASINH:
            case OP_ACOSH:
            case OP_ATANH:
            case OP_EXP:
            case OP_LN:
            case OP_LOG:
            case OP_SQRT:
            case OP_COTAN:
            case OP_COTANH:
            case OP_INT:
            case OP_ABS:
            case OP_ANINT:
            case OP_SIGN:
            case OP_AINT:
            case OP_FACT:
            case OP_NEG:
            case OP_POS: {
                if (count < 1) return Fail(error, EVAL_NO_OPERAND);
                const double x = stack[count - 1];
                double result = 0.0;
                if (const int code = ApplyFunction(opcode, x, result)) {
                    // The argument stays on the stack and meets the clamp first.
                    return Fail(error, AboveClamp(x) ? EVAL_OVERFLOW : code);
                }
                if (AboveClamp(result)) return Fail(error, EVAL_OVERFLOW);
                if (std::fabs(result) < CLAMP_LOW) result = 0.0;
                stack[count - 1] = result;
                continue;
            }

            default:
                return Fail(error, EVAL_NO_OPERAND);
        }
        // Only the pushes get here.
        if (count == STACK_SIZE) return Fail(error, EVAL_STACK);
        stack[count++] = value;
    }

    if (count != 1) return Fail(error, EVAL_STACK);
    double result = stack[0];
    if (AboveClamp(result)) return Fail(error, EVAL_OVERFLOW);
    if (std::fabs(result) < CLAMP_LOW) result = 0.0;
    return result;
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
