// The batch evaluator against EvaluateAt: random compiled texts and raw records over the guards'
// boundary values, every value compared bit for bit and every code equal.
#include "formula/batch_evaluator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "formula/evaluator.h"
#include "tests/formula/formula_test_util.h"

namespace {

using formula_test::Compile;
using formula_test::Program;

constexpr double INF = std::numeric_limits<double>::infinity();
constexpr double NAN_VALUE = std::numeric_limits<double>::quiet_NaN();
constexpr double SUBNORMAL = std::numeric_limits<double>::denorm_min();

// Values at and beside the guards: the product range, the clamps, the limits of EXP, FACT and
// the integer exponents, zeros of both signs, subnormals, huge values, infinities and NaN.
const std::vector<double>& BoundaryValues() {
    static const std::vector<double> values = [] {
        std::vector<double> v = {0.0,
                                 1.0,
                                 2.0,
                                 3.0,
                                 0.5,
                                 1.5,
                                 10.0,
                                 33.0,
                                 33.5,
                                 32.0,
                                 80.0,
                                 81.0,
                                 1e-18,
                                 1e18,
                                 1e-36,
                                 1e36,
                                 1e300,
                                 1e-300,
                                 INF,
                                 SUBNORMAL,
                                 1e-310,
                                 709.8,
                                 1.0 / 3,
                                 2147483647.0,
                                 2147483648.0,
                                 1.5707963267948966,
                                 3.141592653589793};
        for (const double edge : {1e-18, 1e18, 1e-36, 1e36, 80.0, 1.0}) {
            v.push_back(std::nextafter(edge, 0.0));
            v.push_back(std::nextafter(edge, INF));
        }
        const size_t positive = v.size();
        for (size_t i = 0; i < positive; ++i) v.push_back(-v[i]);
        v.push_back(NAN_VALUE);
        return v;
    }();
    return values;
}

double Pick(std::mt19937_64& random) {
    const auto& edges = BoundaryValues();
    switch (random() % 4) {
        case 0:
            return std::uniform_real_distribution<double>(-4.0, 4.0)(random);
        case 1:
            return std::ldexp(std::uniform_real_distribution<double>(-1.0, 1.0)(random),
                              static_cast<int>(random() % 260) - 130);
        default:
            return edges[random() % edges.size()];
    }
}

const char* const FUNCTIONS[] = {"SIN",  "COS",  "TAN",   "SINH",   "COSH",  "TANH", "ASIN",
                                 "ACOS", "ATAN", "ASINH", "ACOSH",  "ATANH", "EXP",  "LN",
                                 "LOG",  "SQRT", "COTAN", "COTANH", "INT",   "ABS",  "ANINT",
                                 "SIGN", "AINT", "FACT",  "NEG",    "POS"};
const char* const OPERATORS[] = {"+", "-", "*", "/", "^", "**"};
const char* const OPERANDS[] = {"X",    "X",     "X",    "A",     "B",  "C",  "D",
                                "E",    "F",     "Y",    "Z",     "PI", "2",  "0.5",
                                "1E18", "1E-18", "1E36", "1E-20", "33", "80", "0"};

// A formula text of about `budget` leaves; now and then a malformed piece or a letter without a
// value, which the compiler accepts and the evaluator refuses.
std::string RandomText(std::mt19937_64& random, int budget) {
    if (budget <= 1 || random() % 4 == 0) {
        switch (random() % 24) {
            case 0:
                return "G";
            case 1:
                return "2X";
            default:
                return OPERANDS[random() % std::size(OPERANDS)];
        }
    }
    if (random() % 3 == 0) {
        const std::string inner = RandomText(random, budget - 1);
        const std::string sign = random() % 5 == 0 ? "-" : "";
        return sign + FUNCTIONS[random() % std::size(FUNCTIONS)] + "(" + inner + ")";
    }
    const int left = 1 + static_cast<int>(random() % budget);
    const std::string a = RandomText(random, left);
    const std::string b = RandomText(random, budget - left);
    const std::string text = a + OPERATORS[random() % std::size(OPERATORS)] + b;
    return random() % 3 == 0 ? "(" + text + ")" : text;
}

// Opcodes a record may hold: every valid one, and some that no compilation writes.
int32_t RandomOpcode(std::mt19937_64& random) {
    static const int32_t VALID[] = {OP_ADD, OP_SUB,  OP_MUL,  OP_DIV, OP_POW,  OP_PUSHCONST,
                                    OP_A,   OP_B,    OP_C,    OP_D,   OP_E,    OP_F,
                                    OP_X,   OP_X,    OP_Y,    OP_Z,   OP_SIN,  OP_EXP,
                                    OP_LN,  OP_SQRT, OP_FACT, OP_ABS, OP_TANH, OP_ACOS};
    switch (random() % 8) {
        case 0:
            return static_cast<int32_t>(random() % 100) - 5;
        case 1:
            return OP_SIN + static_cast<int32_t>(random() % 28);
        default:
            return VALID[random() % std::size(VALID)];
    }
}

CompiledFormula RandomRecord(std::mt19937_64& random) {
    CompiledFormula record;
    const int length = static_cast<int>(random() % 24);
    record.opCount = random() % 50 == 0 ? static_cast<int32_t>(random() % 300) - 100 : length;
    record.constCount = static_cast<int32_t>(random() % 10);
    for (int i = 0; i < FORMULA_MAX_OPCODES; ++i) record.code[i] = RandomOpcode(random);
    for (int i = 0; i < FORMULA_MAX_CONSTANTS; ++i) record.constants[i] = Pick(random);
    // Deep pushes: the 101st value fails.
    if (random() % 40 == 0) {
        record.opCount = FORMULA_MAX_OPCODES;
        for (int i = 0; i < FORMULA_MAX_OPCODES; ++i) record.code[i] = OP_X;
    }
    return record;
}

struct Mismatch {
    bool found = false;
    std::string what;
};

// Compares `count` points from `first` of a batch answer with EvaluateAt.
void Compare(const CompiledFormula& record, const double* x, int count, int flag,
             const double* coef, const double* values, const int* errors, Mismatch& mismatch) {
    for (int i = 0; i < count && !mismatch.found; ++i) {
        int error = -1;
        const double value = EvaluateAt(record, x[i], flag, coef, error);
        if (error != errors[i] || std::memcmp(&value, &values[i], sizeof value) != 0) {
            mismatch.found = true;
            mismatch.what = "X = " + std::to_string(x[i]) + ": EvaluateAt " +
                            std::to_string(value) + " code " + std::to_string(error) + ", batch " +
                            std::to_string(values[i]) + " code " + std::to_string(errors[i]) +
                            ", program " + formula_test::Join(formula_test::Code(record));
        }
    }
}

// Every record against EvaluateAt at `points` abscissas (more than two blocks) with several
// coefficient vectors, directly and through the kept points (a sub-range and the whole).
int CheckRecord(const CompiledFormula& record, std::mt19937_64& random, int points,
                Mismatch& mismatch) {
    std::vector<double> x(points);
    for (double& value : x) value = Pick(random);
    std::vector<double> values(points);
    std::vector<int> errors(points);
    BatchEvaluator batch(record);
    batch.CachePoints(x.data(), points);
    int checked = 0;
    for (int trial = 0; trial < 4 && !mismatch.found; ++trial) {
        double coef[6];
        for (double& c : coef) c = Pick(random);
        const int flag = random() % 64 == 0 ? 1 : 0;
        batch.Evaluate(x.data(), points, flag, coef, values.data(), errors.data());
        Compare(record, x.data(), points, flag, coef, values.data(), errors.data(), mismatch);
        const int first = static_cast<int>(random() % points);
        const int count = static_cast<int>(random() % (points - first + 1));
        batch.EvaluateCached(first, count, flag, coef, values.data(), errors.data());
        Compare(record, x.data() + first, count, flag, coef, values.data(), errors.data(),
                mismatch);
        batch.EvaluateCached(0, points, flag, coef, values.data(), errors.data());
        Compare(record, x.data(), points, flag, coef, values.data(), errors.data(), mismatch);
        checked += 2 * points + count;
    }
    return checked;
}

#ifdef NDEBUG
constexpr int PROGRAMS = 1500;
#else
constexpr int PROGRAMS = 300;  // sanitizer builds run several times slower
#endif

TEST(BatchEvaluatorTest, CompiledTextsGiveTheBitsAndCodesOfEvaluateAt) {
    std::mt19937_64 random(20261209);
    Mismatch mismatch;
    int checked = 0;
    int compiled = 0;
    for (int i = 0; i < PROGRAMS && !mismatch.found; ++i) {
        const std::string text = RandomText(random, 2 + static_cast<int>(random() % 14));
        CompiledFormula record;
        if (Compile(text, record) != 0) continue;
        ++compiled;
        checked += CheckRecord(record, random, 300, mismatch);
        if (mismatch.found) mismatch.what = text + ": " + mismatch.what;
    }
    EXPECT_FALSE(mismatch.found) << mismatch.what;
    EXPECT_GT(compiled, PROGRAMS / 2);
    EXPECT_GT(checked, PROGRAMS * 1000);
}

TEST(BatchEvaluatorTest, RawRecordsGiveTheBitsAndCodesOfEvaluateAt) {
    std::mt19937_64 random(9122026);
    Mismatch mismatch;
    int checked = 0;
    for (int i = 0; i < PROGRAMS && !mismatch.found; ++i)
        checked += CheckRecord(RandomRecord(random), random, 160, mismatch);
    EXPECT_FALSE(mismatch.found) << mismatch.what;
    EXPECT_GT(checked, PROGRAMS * 500);
}

// The first failure in the order of the program decides, whichever kind of step it is: a step of
// X alone, of both, or of the coefficients alone (kept points or not).
TEST(BatchEvaluatorTest, FirstFailureInProgramOrder) {
    struct Case {
        const char* text;
        double coefA;
    };
    const Case cases[] = {
        {"SQRT(X)+LN(A)", -1.0},    {"LN(A)+SQRT(X)", -1.0},  {"SQRT(A*X)+1/(A-A)", 1.0},
        {"1/(A-A)+SQRT(A*X)", 1.0}, {"FACT(X)*EXP(A)", 81.0}, {"EXP(A)*FACT(X)", 81.0},
        {"X^0.5+ACOS(A)", 2.0},     {"(X+A)^(X-A)", 0.0},     {"X*X*1E30*A", 1e30},
    };
    const std::vector<double> x = {-2.0, -1.0, -0.0, 0.0, 0.5, 1.0, 34.0, 1e20, NAN_VALUE};
    for (const Case& c : cases) {
        CompiledFormula record;
        ASSERT_EQ(Compile(c.text, record), 0) << c.text;
        const double coef[6] = {c.coefA, 2.0, 3.0, 4.0, 5.0, 6.0};
        const int n = static_cast<int>(x.size());
        std::vector<double> values(n);
        std::vector<int> errors(n);
        Mismatch mismatch;
        BatchEvaluator batch(record);
        batch.Evaluate(x.data(), n, 0, coef, values.data(), errors.data());
        Compare(record, x.data(), n, 0, coef, values.data(), errors.data(), mismatch);
        batch.CachePoints(x.data(), n);
        batch.EvaluateCached(0, n, 0, coef, values.data(), errors.data());
        Compare(record, x.data(), n, 0, coef, values.data(), errors.data(), mismatch);
        EXPECT_FALSE(mismatch.found) << c.text << ": " << mismatch.what;
    }
}

}  // namespace
