// Tests of the calculations on the function: value, derivative, integral, bisection, Newton.
#include "numerics/calculations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "numerics/fit_support.h"
#include "tests/numerics/evaluation_log.h"
#include "tests/numerics/fit_fixture.h"

namespace {

const std::string BAD_BOUNDS = "Erreur de definition des bornes";

TEST(EvaluateFTest, ValueAndErrorInBothTextForms) {
    auto data = MakeFunction("A/X+B", {6.0, 1.0});
    std::string message = "old";
    EXPECT_EQ(EvaluateFA(data.get(), 2.0, message), 4.0);
    EXPECT_EQ(message, "");
    std::wstring wide = L"old";
    EXPECT_EQ(EvaluateF(data.get(), 3.0, wide), 3.0);
    EXPECT_EQ(wide, L"");
    EXPECT_EQ(EvaluateF(data.get(), 0.0, wide), 0.0);
    EXPECT_EQ(wide, L"division par zero");
    EXPECT_EQ(EvaluateFA(data.get(), 0.0, message), 0.0);
    EXPECT_EQ(message, "division par zero");
}

TEST(DerivativeFTest, CentralDifferenceAndItsStep) {
    struct Case {
        double x, h;
    };
    const Case cases[] = {{0.0, 1e-7}, {1000.0, 0.01}, {-2.0, 2e-5}, {0.005, 1e-7}};
    auto data = MakeFunction("A*X^3+B", {2.0, 0.0});
    for (const Case& c : cases) {
        ClearEvaluationLog();
        std::string message = "old";
        const double d = DerivativeF(data.get(), c.x, message);
        EXPECT_EQ(message, "");
        ASSERT_EQ(EvaluationLog().size(), 2u);
        EXPECT_EQ(EvaluationLog()[0].x, c.x + DerivativeStep(c.x)) << "f(x + h) first";
        EXPECT_EQ(EvaluationLog()[1].x, c.x - DerivativeStep(c.x));
        EXPECT_NEAR(DerivativeStep(c.x), c.h, c.h * 1e-12) << "x = " << c.x;
        // 6x^2, with the central difference's error 2h^2 (and rounding, relative 1e-9 here).
        EXPECT_NEAR(d, 6 * c.x * c.x + 2 * c.h * c.h, 1e-9 * (1 + 6 * c.x * c.x)) << c.x;
    }
    auto failing = MakeFunction("SQRT(X)");
    std::string message;
    EXPECT_EQ(DerivativeF(failing.get(), 0.0, message), 0.0);
    EXPECT_EQ(message, "Erreur de calcul dans SQRT") << "f(0 - 1e-7) fails";
}

TEST(IntegrateSimpsonTest, ExactOnCubics) {
    struct Case {
        const char* formula;
        double a, b, exact;
    };
    const Case cases[] = {
        {"X^3-2*X+1", 0.0, 2.0, 4.0 - 4.0 + 2.0},
        {"3*X^2", -1.0, 3.0, 28.0},
        {"5+0*X", 2.0, 2.5, 2.5},
        {"X^3", -2.0, 2.0, 0.0},
    };
    for (const Case& c : cases) {
        auto data = MakeFunction(c.formula);
        std::string message = "old";
        EXPECT_NEAR(IntegrateSimpson(data.get(), c.a, c.b, message), c.exact, 1e-12) << c.formula;
        EXPECT_EQ(message, "");
        EXPECT_EQ(EvaluationLog().size(), 102u);
        ClearEvaluationLog();
    }
    // Not exact on a quartic: the rule's error is -(b-a) h^4 f''''/180 = -24 * 0.02^4 * 2 / 180.
    auto quartic = MakeFunction("X^4");
    std::string message;
    EXPECT_NEAR(IntegrateSimpson(quartic.get(), 0.0, 2.0, message), 6.4 + 4.266666666666e-8, 1e-12);
}

TEST(IntegrateSimpsonTest, RefusesBoundsWithoutEvaluating) {
    auto data = MakeFunction("X");
    const double bounds[][2] = {{1.0, 1.0}, {2.0, 1.0}, {0.0, NAN}};
    for (const auto& b : bounds) {
        std::string message;
        EXPECT_EQ(IntegrateSimpson(data.get(), b[0], b[1], message), 0.0);
        EXPECT_EQ(message, BAD_BOUNDS);
    }
    EXPECT_TRUE(EvaluationLog().empty());
    auto failing = MakeFunction("1/X");
    std::string message;
    EXPECT_EQ(IntegrateSimpson(failing.get(), -50.0, 50.0, message), 0.0);
    EXPECT_EQ(message, "division par zero") << "h = 1: the 50th abscissa is 0 exactly";
    EXPECT_EQ(EvaluationLog().size(), 51u);
}

TEST(SolveBisectionTest, HalvingsAndRefusals) {
    struct Case {
        const char* formula;
        double a, b, y, answer, tolerance;
        std::string message;
    };
    const Case cases[] = {
        // 20 halvings of a width of 4: the answer lies within 4 / 2^21 of the root.
        {"X^2", 0.0, 4.0, 2.0, std::sqrt(2.0), 4.0 / (1 << 21), ""},
        {"X^2", 4.0, 0.0, 2.0, std::sqrt(2.0), 4.0 / (1 << 21), ""},  // exchanged bounds
        {"X", -1.0, 3.0, 1.0, 1.0, 0.0, ""},  // f(m) = y exactly: the interval stays
        // A root exactly on a bound, no strict sign change: that bound, a before b.
        {"X", 0.0, 10.0, 0.0, 0.0, 0.0, ""},
        {"X", -10.0, 0.0, 0.0, 0.0, 0.0, ""},
        {"X*(X-1)", 0.0, 1.0, 0.0, 0.0, 0.0, ""},
        {"X*(X-1)", 1.0, 0.0, 0.0, 1.0, 0.0, ""},
        // A root on a with a strict sign change inside: halving goes on towards the inner root.
        {"X*(X-2)", 0.0, 3.0, 0.0, 2.0, 3.0 / (1 << 21), ""},
        // (X-1)(X-2) - 0 is > 0 at 0, 3 and 6 although two roots lie inside.
        {"(X-1)*(X-2)", 0.0, 6.0, 0.0, 0.0, 0.0, BAD_BOUNDS},
        {"X^2", -1.0, 1.0, -1.0, 0.0, 0.0, BAD_BOUNDS},  // all three above y
        {"X", -1.0, 3.0, NAN, 0.0, 0.0, BAD_BOUNDS},     // y typed as "nan": no root
    };
    for (const Case& c : cases) {
        auto data = MakeFunction(c.formula);
        std::string message = "old";
        EXPECT_NEAR(SolveBisection(data.get(), c.a, c.b, c.y, message), c.answer, c.tolerance)
            << c.formula << " on " << c.a << ", " << c.b;
        EXPECT_EQ(message, c.message) << c.formula;
    }
    auto data = MakeFunction("X");
    std::string message;
    SolveBisection(data.get(), -1.0, 3.0, 1.0, message);
    EXPECT_EQ(EvaluationLog().size(), 60u) << "three evaluations in each of 20 halvings";
    EXPECT_EQ(EvaluationLog()[59].x, 3.0) << "the bounds never moved";
}

TEST(SolveNewtonTest, ConvergesAndFails) {
    auto data = MakeFunction("X^2");
    std::string message = "";
    const double root = SolveNewton(data.get(), 1.0, 2.0, message);
    EXPECT_EQ(message, "");
    EXPECT_NEAR(root, std::sqrt(2.0), 1e-6);
    EXPECT_LE(std::fabs(root * root - 2.0), 1e-6);

    message = "";
    EXPECT_EQ(SolveNewton(data.get(), 1.0, NAN, message), 0.0);
    EXPECT_EQ(message, BAD_BOUNDS) << "y not a number: no success at x0";

    auto noRoot = MakeFunction("X^2+1");
    EXPECT_EQ(SolveNewton(noRoot.get(), 1.0, 0.0, message), 0.0);
    EXPECT_EQ(message, BAD_BOUNDS);
    EXPECT_EQ(EvaluationLog().size(), 801u) << "1 + 4 evaluations in each of 200 steps";
}

TEST(SolveNewtonTest, AnswersTheStartWithoutAStep) {
    auto data = MakeFunction("X^3");
    std::string message = "kept";
    EXPECT_EQ(SolveNewton(data.get(), 2.0, 8.0000005, message), 2.0);
    EXPECT_EQ(message, "kept") << "success leaves the caller's message as it was";
    EXPECT_EQ(EvaluationLog().size(), 1u);
}

TEST(SolveNewtonTest, StepOrderAndTheStepAtZero) {
    auto data = MakeFunction("X+1");
    std::string message;
    // The slope is 1 up to the rounding of f(5e-7) - f(-5e-7).
    EXPECT_NEAR(SolveNewton(data.get(), 0.0, 3.0, message), 2.0, 1e-9);
    const auto& log = EvaluationLog();
    ASSERT_GE(log.size(), 5u);
    EXPECT_EQ(log[0].x, 0.0);
    EXPECT_EQ(log[1].x, 5e-7) << "h = 1e-6 at x = 0, f(x + h/2) first";
    EXPECT_EQ(log[2].x, -5e-7);
    EXPECT_EQ(log[3].x, 0.0) << "f at the current x again";
    EXPECT_NEAR(log[4].x, 2.0, 1e-9);

    auto failing = MakeFunction("LN(X)");
    EXPECT_EQ(SolveNewton(failing.get(), -1.0, 0.0, message), 0.0);
    EXPECT_EQ(message, "Erreur de calcul dans LN");
}

TEST(SolveNewtonTest, ZeroSlopeIsReplaced) {
    // f = 5 is flat: slope 1e-6, x = 0 - (5 - 6) / 1e-6 = 1e6, where f is still 5.
    auto data = MakeFunction("5+0*X");
    std::string message;
    EXPECT_EQ(SolveNewton(data.get(), 0.0, 6.0, message), 0.0);
    EXPECT_EQ(message, BAD_BOUNDS);
    ASSERT_GE(EvaluationLog().size(), 5u);
    EXPECT_NEAR(EvaluationLog()[4].x, 1e6, 1e-6);
}

}  // namespace
