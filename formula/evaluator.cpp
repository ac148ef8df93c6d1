// The formula evaluator: runs a postfix program on a fixed local stack, with its guards.
#include "formula/evaluator.h"

#include <cmath>
#include <cstdint>

#include "formula/evaluator_steps.h"

using namespace evaluator_steps;

namespace {

constexpr int STACK_SIZE = 100;

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
#define FUNCTION_STEP(label, opcode)         \
    label:                                   \
    x = top;                                 \
    failure = FunctionOf(opcode, x, result); \
    goto function;

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
    FUNCTION_STEP(sin, OP_SIN)
    FUNCTION_STEP(cos, OP_COS)
    FUNCTION_STEP(tan, OP_TAN)
    FUNCTION_STEP(sinh, OP_SINH)
    FUNCTION_STEP(cosh, OP_COSH)
    FUNCTION_STEP(tanh, OP_TANH)
    FUNCTION_STEP(asin, OP_ASIN)
    FUNCTION_STEP(acos, OP_ACOS)
    FUNCTION_STEP(atan, OP_ATAN)
    FUNCTION_STEP(asinh, OP_ASINH)
    FUNCTION_STEP(acosh, OP_ACOSH)
    FUNCTION_STEP(atanh, OP_ATANH)
    FUNCTION_STEP(exp, OP_EXP)
    FUNCTION_STEP(ln, OP_LN)
    FUNCTION_STEP(log, OP_LOG)
    FUNCTION_STEP(sqrt, OP_SQRT)
    FUNCTION_STEP(cotan, OP_COTAN)
    FUNCTION_STEP(cotanh, OP_COTANH)
    FUNCTION_STEP(aint, OP_AINT)
    FUNCTION_STEP(anint, OP_ANINT)
    FUNCTION_STEP(abs, OP_ABS)
    FUNCTION_STEP(sign, OP_SIGN)
    FUNCTION_STEP(fact, OP_FACT)
    FUNCTION_STEP(neg, OP_NEG)
    FUNCTION_STEP(pos, OP_POS)

function:
    // Without a value the function had no argument (it computed on a placeholder).
    if (depth < 1) return Fail(error, EVAL_NO_OPERAND);
    // A failed function leaves its argument on the stack, which meets the clamp first.
    failure = ClampFunction(x, failure, result);
    if (failure != EVAL_OK) return Fail(error, failure);
    top = result;
    NEXT_STEP;

#undef NEXT_STEP
#undef FUNCTION_STEP

bad:
    return Fail(error, EVAL_NO_OPERAND);

done:
    if (depth != 1) return Fail(error, EVAL_STACK);
    if (AboveClamp(top)) return Fail(error, EVAL_OVERFLOW);
    return ClampLow(top);
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
