// Tests of the formula evaluator: values, guards at their boundaries, error codes and texts.
#include "formula/evaluator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "formula_test_util.h"

namespace {

using formula_test::COEF;
using formula_test::CompileAndRun;
using formula_test::Outcome;
using formula_test::Program;

const double HALF_PI = 2.0 * std::atan(1.0);

double Up(double x) {
    return std::nextafter(x, std::numeric_limits<double>::infinity());
}
double Down(double x) {
    return std::nextafter(x, -std::numeric_limits<double>::infinity());
}

struct ValueCase {
    std::string text;
    double X;
    double expected;
    // Relative tolerance; 0 asks for the exact bits.
    double tolerance;
};

void ExpectValues(const std::vector<ValueCase>& cases) {
    for (const ValueCase& c : cases) {
        const Outcome outcome = CompileAndRun(c.text, c.X);
        ASSERT_EQ(outcome.syntax, 0) << c.text;
        EXPECT_EQ(outcome.error, 0) << c.text << " at X = " << c.X;
        if (c.tolerance == 0.0) {
            EXPECT_EQ(outcome.value, c.expected) << c.text << " at X = " << c.X;
        } else {
            EXPECT_NEAR(outcome.value, c.expected, std::fabs(c.expected) * c.tolerance)
                << c.text << " at X = " << c.X;
        }
    }
}

// Coefficients are A = 1 ... F = 6 throughout.
TEST(EvaluatorTest, Values) {
    ExpectValues({
        {"A+B*X", 3, 7, 0},
        {"-2^2", 0, -4, 1e-15},
        {"(-2)^3", 0, -8, 1e-15},
        {"(-2)^(-1)", 0, -0.5, 1e-15},
        {"2^0.5", 0, std::sqrt(2.0), 1e-15},
        {"0^(-1)", 0, 0, 0},
        {"0^2.5", 0, 0, 0},
        {"X^0", -3, 1, 0},
        {"10^34", 0, 1e34, 1e-13},
        {"1E-20*1E-20+5", 0, 5, 0},
        {"1E-20/1E20+5", 0, 5, 0},
        {"1E18*1E18", 0, 1e36, 0},
        {"EXP(80)", 0, std::exp(80.0), 0},
        {"EXP(-80)", 0, std::exp(-80.0), 0},
        {"EXP(-81)", 0, 0, 0},
        {"SQRT(0)", 0, 0, 0},
        {"ASIN(1)", 0, HALF_PI, 0},
        {"ASIN(-1)", 0, -HALF_PI, 0},
        {"ACOS(0)", 0, HALF_PI, 0},
        {"ACOS(1)", 0, 0, 0},
        {"ACOS(-1)", 0, 4.0 * std::atan(1.0), 0},
        {"ACOSH(1)", 0, 0, 0},
        {"ATANH(0.5)", 0, 0.5493061443340549, 1e-15},
        {"COTANH(1)", 0, 1.3130352854993312, 1e-15},
        {"TAN(0)", 0, 0, 0},
        {"FACT(3.7)", 0, 6, 0},
        {"FACT(0)", 0, 1, 0},
        {"FACT(0.5)", 0, 1, 0},
        {"FACT(32)", 0, 263130836933693530167218012160000000.0, 1e-15},
        {"ANINT(2.5)", 0, 3, 0},
        {"ANINT(-2.5)", 0, -2, 0},
        {"ANINT(-2.7)", 0, -2, 0},
        {"INT(-2.7)", 0, -2, 0},
        {"AINT(2.7)", 0, 2, 0},
        {"SIGN(-5)", 0, -1, 0},
        {"SIGN(0)", 0, 0, 0},
        {"SIGN(X)", 1e-30, 1, 0},
        {"NEG(0)", 0, 0, 0},
        {"NEG(-1E-30)", 0, 1, 0},
        {"POS(0)", 0, 1, 0},
        {"POS(-1E-30)", 0, 0, 0},
        {"ABS(-3)", 0, 3, 0},
        {"SIN(1E-40)*1E30", 0, 0, 0},
        {"A/B/X", 4, 0.125, 0},
        {"A-B-X", 4, -5, 0},
        {"-X*Y+X", 2, 2, 0},
        {"PI", 0, 4.0 * std::atan(1.0), 0},
        {"E", 0, 5, 0},
        {"F+X", 1, 7, 0},
        {"12.E5/1E+5", 0, 12, 0},
        {"sin.5", 0, std::sin(0.5), 0},
    });
}

// Where the bits come from the formula of each step and not from a library shortcut.
TEST(EvaluatorTest, BitsFollowTheFormulas) {
    const Outcome power = CompileAndRun("2^3^2");
    EXPECT_EQ(power.value, 63.99999999999998) << "e^(2 ln(e^(3 ln 2))), not pow";
    EXPECT_NEAR(power.value, 64.0, 64.0 * 1e-15) << "left associative: (2^3)^2";
    const Outcome log = CompileAndRun("LOG(1000)");
    EXPECT_EQ(log.value, 2.9999999999999996) << "ln x / ln 10, not log10";
    EXPECT_EQ(CompileAndRun("X^2", 3).value, std::exp(2.0 * std::log(3.0)));
    EXPECT_EQ(CompileAndRun("X^3", -3).value, -std::exp(3.0 * std::log(3.0)));
    EXPECT_EQ(CompileAndRun("SINH(X)", 0.5).value, (std::exp(0.5) - std::exp(-0.5)) * 0.5);
    EXPECT_EQ(CompileAndRun("COSH(X)", 0.5).value, (std::exp(-0.5) + std::exp(0.5)) * 0.5);
}

// The worked run of a compiled formula, with its own coefficients.
TEST(EvaluatorTest, WorkedRun) {
    const Outcome outcome = CompileAndRun("A*EXP(-B*X)", 2.0, {2.0, 0.5, 0, 0, 0, 0});
    EXPECT_EQ(outcome.error, 0);
    EXPECT_EQ(outcome.value, 2.0 * std::exp(-1.0));
}

struct ErrorCase {
    std::string text;
    int error;
};

TEST(EvaluatorTest, ErrorCodes) {
    const std::vector<ErrorCase> cases = {
        {"2X", 20},
        {"(X)(Y)", 20},
        {"X+", 3},
        {"*X", 3},
        {"X+SIN", 3},
        {"G*X", 3},
        {"H+I+J+K+L+M+N+O+P+Q+R+S+T+U+V+W", 3},
        {"1/0", 4},
        {"0/0", 4},
        {"X/(X-X)", 4},
        {"(-8)^(1/3)", 5},
        {"0^0", 5},
        {"10^35", 5},
        {"1E20*1E20", 21},
        {"1E30/1E-10", 21},
        {"1E36*10", 21},
        {"1E37", 21},
        {"ASIN(2)", 7},
        {"ASIN(1E40)", 21},
        {"ACOS(1.5)", 8},
        {"ACOS(-1E40)", 21},
        {"ACOSH(0.5)", 9},
        {"ACOSH(-2)", 9},
        {"ATANH(1)", 10},
        {"ATANH(-1)", 10},
        {"EXP(81)", 11},
        {"EXP(1E37)", 21},
        {"LN(0)", 12},
        {"LN(-1)", 12},
        {"LOG(0)", 12},
        {"SQRT(-1)", 13},
        {"COTAN(0)", 14},
        {"COTANH(0)", 15},
        {"FACT(33)", 21},
        {"FACT(33.5)", 16},
        {"FACT(-1)", 16},
        {"TANH(1000)", 21},
        {"COTANH(1000)", 21},
        {"SINH(100)", 21},
    };
    for (const ErrorCase& c : cases) {
        const Outcome outcome = CompileAndRun(c.text, 1.0);
        ASSERT_EQ(outcome.syntax, 0) << c.text;
        EXPECT_EQ(outcome.error, c.error) << c.text;
        EXPECT_EQ(outcome.value, 0.0) << c.text << ": a failure answers 0";
    }
}

struct ProgramCase {
    const char* what;
    CompiledFormula program;
    int error;
    double value;
};

template <size_t N>
void ExpectPrograms(const ProgramCase (&cases)[N]) {
    for (const ProgramCase& c : cases) {
        int error = -1;
        const double value = EvaluateAt(c.program, 1.0, 0, COEF.data(), error);
        EXPECT_EQ(error, c.error) << c.what;
        EXPECT_EQ(value, c.value) << c.what;
    }
}

// Boundaries a decimal constant cannot reach, as hand-made programs.
TEST(EvaluatorTest, GuardsAtTheirExactBoundaries) {
    const double e80 = std::exp(80.0);
    const ProgramCase cases[] = {
        {"final 1e36 passes", Program({OP_PUSHCONST}, {1e36}), 0, 1e36},
        {"final above 1e36 fails", Program({OP_PUSHCONST}, {Up(1e36)}), 21, 0},
        {"final -1e36 passes", Program({OP_PUSHCONST}, {-1e36}), 0, -1e36},
        {"final 1e-36 stays", Program({OP_PUSHCONST}, {1e-36}), 0, 1e-36},
        {"final below 1e-36 is 0", Program({OP_PUSHCONST}, {Down(1e-36)}), 0, 0},
        {"final NaN fails", Program({OP_PUSHCONST}, {std::nan("")}), 21, 0},
        {"ABS 1e36 passes", Program({OP_PUSHCONST, OP_ABS}, {-1e36}), 0, 1e36},
        {"ABS above 1e36 fails", Program({OP_PUSHCONST, OP_ABS, OP_X, OP_MUL}, {Up(1e36)}), 21, 0},
        {"ABS 1e-36 stays", Program({OP_PUSHCONST, OP_ABS, OP_PUSHCONST, OP_MUL}, {-1e-36, 1e30}),
         0, 1e-36 * 1e30},
        {"ABS below 1e-36 is 0",
         Program({OP_PUSHCONST, OP_ABS, OP_PUSHCONST, OP_MUL}, {-Down(1e-36), 1e30}), 0, 0},
        {"EXP 80", Program({OP_PUSHCONST, OP_EXP}, {80.0}), 0, e80},
        {"EXP above 80", Program({OP_PUSHCONST, OP_EXP}, {Up(80.0)}), 11, 0},
        {"EXP below -80 is 0",
         Program({OP_PUSHCONST, OP_EXP, OP_PUSHCONST, OP_MUL}, {Down(-80.0), 1e30}), 0, 0},
        {"FACT above 33", Program({OP_PUSHCONST, OP_FACT}, {Up(33.0)}), 16, 0},
        {"ATANH below 1", Program({OP_PUSHCONST, OP_ATANH}, {Down(1.0)}), 0,
         0.5 * std::log((Down(1.0) + 1.0) / (1.0 - Down(1.0)))},
        {"ACOSH below 1", Program({OP_PUSHCONST, OP_ACOSH}, {Down(1.0)}), 9, 0},
        {"ASIN above 1", Program({OP_PUSHCONST, OP_ASIN}, {Up(1.0)}), 7, 0},
        {"failed step on 1e36", Program({OP_PUSHCONST, OP_ASIN}, {1e36}), 7, 0},
        {"failed step above 1e36", Program({OP_PUSHCONST, OP_ASIN}, {Up(1e36)}), 21, 0},
        {"2^115: exponent below 80", Program({OP_PUSHCONST, OP_PUSHCONST, OP_POW}, {2.0, 115.0}), 0,
         std::exp(115.0 * std::log(2.0))},
        {"2^116: exponent above 80", Program({OP_PUSHCONST, OP_PUSHCONST, OP_POW}, {2.0, 116.0}), 5,
         0},
        {"2^-115 stays", Program({OP_PUSHCONST, OP_PUSHCONST, OP_POW}, {2.0, -115.0}), 0,
         std::exp(-115.0 * std::log(2.0))},
        {"2^-116 is 0", Program({OP_PUSHCONST, OP_PUSHCONST, OP_POW, OP_X, OP_ADD}, {2.0, -116.0}),
         0, 1.0},
        // b ln|a| exactly -80 (ln e is 1) keeps e^-80; just below it the power is 0. Times 1e30 so
        // the final clamp cannot hide either.
        {"power exponent -80 stays",
         Program({OP_PUSHCONST, OP_PUSHCONST, OP_POW, OP_PUSHCONST, OP_MUL}, {M_E, -80.0, 1e30}), 0,
         std::exp(-80.0) * 1e30},
        {"power exponent below -80 is 0",
         Program({OP_PUSHCONST, OP_PUSHCONST, OP_POW, OP_PUSHCONST, OP_MUL},
                 {M_E, Down(-80.0), 1e30}),
         0, 0},
        // Products and quotients of an operand outside 1e-18..1e18 whose decimal orders add up to
        // exactly -36 are kept; one unit further they are 0.
        {"product of order -36 stays",
         Program({OP_PUSHCONST, OP_PUSHCONST, OP_MUL, OP_PUSHCONST, OP_MUL},
                 {1e-20, 9.9999999999998778e-17, 1e30}),
         0, (1e-20 * 9.9999999999998778e-17) * 1e30},
        {"product of order below -36 is 0",
         Program({OP_PUSHCONST, OP_PUSHCONST, OP_MUL, OP_PUSHCONST, OP_MUL},
                 {1e-20, 9.9999999999998765e-17, 1e30}),
         0, 0},
        {"quotient of order -36 stays",
         Program({OP_PUSHCONST, OP_PUSHCONST, OP_DIV, OP_PUSHCONST, OP_MUL},
                 {1e-20, 10000000000000122.0, 1e30}),
         0, (1e-20 / 10000000000000122.0) * 1e30},
        {"quotient of order below -36 is 0",
         Program({OP_PUSHCONST, OP_PUSHCONST, OP_DIV, OP_PUSHCONST, OP_MUL},
                 {1e-20, 10000000000000124.0, 1e30}),
         0, 0},
        {"odd power of -1 at the 32-bit limit",
         Program({OP_PUSHCONST, OP_PUSHCONST, OP_POW}, {-1.0, 2147483647.0}), 0, -1.0},
        {"power of -1 beyond the 32-bit limit is not an integer",
         Program({OP_PUSHCONST, OP_PUSHCONST, OP_POW}, {-1.0, 2147483648.0}), 5, 0},
        {"even power of -1 at the lower 32-bit limit",
         Program({OP_PUSHCONST, OP_PUSHCONST, OP_POW}, {-1.0, -2147483648.0}), 0, 1.0},
        {"power of -1 below the 32-bit limit",
         Program({OP_PUSHCONST, OP_PUSHCONST, OP_POW}, {-1.0, -2147483649.0}), 5, 0},
        {"INT beyond 32 bits truncates exactly", Program({OP_PUSHCONST, OP_INT}, {1e15 + 0.5}), 0,
         1e15},
        {"AINT beyond 32 bits", Program({OP_PUSHCONST, OP_AINT}, {-4294967296.75}), 0,
         -4294967296.0},
        {"ANINT at the 32-bit limit", Program({OP_PUSHCONST, OP_ANINT}, {2147483647.0}), 0,
         2147483647.0},
        {"ANINT beyond the 32-bit limit", Program({OP_PUSHCONST, OP_ANINT}, {2147483648.0}), 0,
         2147483648.0},
        {"INT of 1e30", Program({OP_PUSHCONST, OP_INT}, {1e30}), 0, 1e30},
        {"INT of a NaN", Program({OP_PUSHCONST, OP_INT}, {std::nan("")}), 21, 0},
    };
    ExpectPrograms(cases);
}

TEST(EvaluatorTest, MalformedPrograms) {
    std::vector<int32_t> hundredX(100, OP_X);
    std::vector<int32_t> hundredOneX(101, OP_X);
    std::vector<int32_t> sum(100, OP_X);
    sum.push_back(OP_ADD);
    // Records no compilation writes: counts beyond the arrays, more pushes than constants.
    CompiledFormula overlong = Program(hundredOneX);
    overlong.opCount = 5000;
    CompiledFormula negative = Program({OP_X});
    negative.opCount = -1;
    CompiledFormula constantsOnly = Program(std::vector<int32_t>(101, OP_PUSHCONST));
    const ProgramCase cases[] = {
        {"empty program", Program({}), 20, 0},
        {"function alone", Program({OP_SIN}), 3, 0},
        {"operator with one value", Program({OP_X, OP_POW}), 3, 0},
        {"letter without value", Program({OP_W}), 3, 0},
        {"unused code 21", Program({OP_X, 21}), 3, 0},
        {"unused code 59", Program({OP_X, 59}), 3, 0},
        {"unused code 70", Program({OP_X, 70}), 3, 0},
        {"code 0", Program({OP_X, 0}), 3, 0},
        {"negative code", Program({OP_X, -13}), 3, 0},
        {"code above 88", Program({OP_X, 89}), 3, 0},
        {"100 values fill the stack", Program(hundredX), 20, 0},
        {"101st value", Program(hundredOneX), 20, 0},
        {"100 values then one sum", Program(sum), 20, 0},
        {"opCount beyond the array", overlong, 20, 0},
        {"negative opCount", negative, 20, 0},
        {"101st constant of a pool of 100", constantsOnly, 3, 0},
    };
    ExpectPrograms(cases);
}

TEST(EvaluatorTest, NonzeroFlagIsRefused) {
    CompiledFormula program;
    ASSERT_EQ(formula_test::Compile("A+B*X", program), 0);
    for (int flag : {1, -1, 2, 100}) {
        int error = -1;
        EXPECT_EQ(EvaluateAt(program, 3.0, flag, COEF.data(), error), 0.0) << flag;
        EXPECT_EQ(error, 100) << flag;
        error = -1;
        EvaluateFormula(Program({OP_SIN}), flag, COEF.data(), 1, 2, 3, error);
        EXPECT_EQ(error, 100) << "refused before the program runs, flag " << flag;
    }
}

TEST(EvaluatorTest, LettersTakeTheirValues) {
    CompiledFormula program;
    ASSERT_EQ(formula_test::Compile("A+10*B+100*C+1000*D+1E4*E+1E5*F+X*1E6+Y*1E7+Z*1E8", program),
              0);
    int error = -1;
    EXPECT_EQ(EvaluateFormula(program, 0, COEF.data(), 7, 8, 9, error), 987654321.0);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(EvaluateAt(program, 7, 0, COEF.data(), error), 7654321.0) << "Y and Z are 0";
    EXPECT_EQ(error, 0);
}

TEST(EvaluatorTest, ErrorTexts) {
    const std::pair<int, std::string> texts[] = {
        {2, "Erreur de resolution systeme"},
        {3, "On ne peut effectuer une  operation  ->  erreur  compilation"},
        {4, "division par zero"},
        {5, "Erreur dans une puissance"},
        {6, "Erreur dans le calcul d'une tangente"},
        {7, "Arc Sin d'un nombre de module plus grand que 1"},
        {8, "Arc Cos d'un nombre de module plus grand que 1"},
        {9, "Erreur de calcul dans Arc Cos Hyp. l'argument est < 1"},
        {10, "Erreur de calcul dans Arc Tan Hyp. l'argument est >=1"},
        {11, "Erreur dans le calcul d'une Exponentielle : Depassement Capacite"},
        {12, "Erreur de calcul dans LN"},
        {13, "Erreur de calcul dans SQRT"},
        {14, "Erreur de calcul dans COTAN"},
        {15, "Erreur de calcul dans COTANH"},
        {16, "Erreur dans le calcul d'une factorielle"},
        {20, "Erreur dans le stockage -> erreur de compilation"},
        {21, "Depassement Capacite Calcul"},
        {100, "Calcul des derivees Impossible !"},
        {0, ""},
        {1, ""},
        {17, ""},
        {19, ""},
        {22, ""},
        {99, ""},
        {-3, ""},
    };
    for (const auto& [code, text] : texts) EXPECT_EQ(EvalErrorText(code), text) << "code " << code;
}

}  // namespace

// Where a function's formula is the C library's own, the bits agree; where it is an equivalent
// formula, the values agree within a tolerance set by the formula's rounding.
TEST(EvaluatorTest, AgreesWithTheCLibrary) {
    struct Case {
        std::string text;
        double (*reference)(double);
        double from;
        double to;
        // Relative; 0 asks for the exact bits.
        double tolerance;
    };
    const Case cases[] = {
        {"SIN(X)", [](double x) { return std::sin(x); }, -20, 20, 0},
        {"COS(X)", [](double x) { return std::cos(x); }, -20, 20, 0},
        {"ATAN(X)", [](double x) { return std::atan(x); }, -50, 50, 0},
        {"EXP(X)", [](double x) { return std::exp(x); }, -79, 79, 0},
        {"LN(X)", [](double x) { return std::log(x); }, 1e-3, 1e3, 0},
        {"SQRT(X)", [](double x) { return std::sqrt(x); }, 0, 1e6, 0},
        {"ABS(X)", [](double x) { return std::fabs(x); }, -5, 5, 0},
        {"ASIN(X)", [](double x) { return std::asin(x); }, -0.999, 0.999, 0},
        {"ACOS(X)", [](double x) { return std::acos(x); }, -0.999, 0.999, 0},
        {"INT(X)", [](double x) { return std::trunc(x); }, -1e6, 1e6, 0},
        // 4 ulp: one rounding in the quotient, one in each library call.
        {"TAN(X)", [](double x) { return std::tan(x); }, -1.5, 1.5, 1e-15},
        {"COTAN(X)", [](double x) { return 1.0 / std::tan(x); }, 0.01, 3.1, 1e-15},
        {"LOG(X)", [](double x) { return std::log10(x); }, 1e-3, 1e3, 1e-15},
        {"X^2.5", [](double x) { return std::pow(x, 2.5); }, 0.01, 100, 1e-14},
        {"X^3", [](double x) { return std::pow(x, 3.0); }, -100, 100, 1e-14},
        {"X^(-2)", [](double x) { return std::pow(x, -2.0); }, 0.5, 100, 1e-14},
        // Away from 0, where the difference of exponentials cancels.
        {"SINH(X)", [](double x) { return std::sinh(x); }, 0.5, 40, 1e-15},
        {"COSH(X)", [](double x) { return std::cosh(x); }, -40, 40, 1e-15},
        {"TANH(X)", [](double x) { return std::tanh(x); }, 0.5, 20, 1e-15},
        {"COTANH(X)", [](double x) { return 1.0 / std::tanh(x); }, 0.5, 20, 1e-15},
        {"ASINH(X)", [](double x) { return std::asinh(x); }, 0, 1e6, 1e-15},
        {"ACOSH(X)", [](double x) { return std::acosh(x); }, 1.5, 1e6, 1e-15},
        {"ATANH(X)", [](double x) { return std::atanh(x); }, 0.1, 0.9, 1e-15},
    };
    const int steps = 400;
    for (const Case& c : cases) {
        CompiledFormula program;
        ASSERT_EQ(formula_test::Compile(c.text, program), 0) << c.text;
        for (int i = 0; i <= steps; ++i) {
            const double x = c.from + (c.to - c.from) * i / steps;
            int error = -1;
            const double value = EvaluateAt(program, x, 0, COEF.data(), error);
            const double expected = c.reference(x);
            ASSERT_EQ(error, 0) << c.text << " at X = " << x;
            if (c.tolerance == 0.0) {
                EXPECT_EQ(value, expected) << c.text << " at X = " << x;
            } else {
                EXPECT_NEAR(value, expected, std::fabs(expected) * c.tolerance)
                    << c.text << " at X = " << x;
            }
        }
    }
}

// Values of whole fitting functions, against the same formula written in C++.
TEST(EvaluatorTest, FittingFunctionsAgreeWithNativeCode) {
    struct Case {
        std::string text;
        double (*native)(const double* c, double x);
    };
    const Case cases[] = {
        {"A+B*X", [](const double* c, double x) { return c[0] + c[1] * x; }},
        {"A*EXP(-B*X)+C",
         [](const double* c, double x) { return c[0] * std::exp(-c[1] * x) + c[2]; }},
        {"A*SIN(B*X+C)+D*X^2",
         [](const double* c, double x) { return c[0] * std::sin(c[1] * x + c[2]) + c[3] * x * x; }},
        {"(A+B*X+C*X^2)/(1+D*X+E*X^2+F*X^3)",
         [](const double* c, double x) {
             return (c[0] + c[1] * x + c[2] * x * x) /
                    (1 + c[3] * x + c[4] * x * x + c[5] * x * x * x);
         }},
    };
    const double coef[6] = {1.5, -0.25, 0.75, 0.125, 0.5, 0.0625};
    for (const Case& c : cases) {
        CompiledFormula program;
        int nCoef = 0;
        int error = -1;
        program.CompileFunction(c.text, nCoef, error);
        ASSERT_EQ(error, 0) << c.text;
        for (double x = 0.05; x < 10.0; x += 0.1) {
            const double value = EvaluateAt(program, x, 0, coef, error);
            ASSERT_EQ(error, 0) << c.text << " at X = " << x;
            // The power's e^(b ln x) costs a few ulp over x*x.
            EXPECT_NEAR(value, c.native(coef, x), std::fabs(c.native(coef, x)) * 1e-14)
                << c.text << " at X = " << x;
        }
    }
}
