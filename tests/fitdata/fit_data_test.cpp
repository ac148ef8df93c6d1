// Tests of the fit data record's operations and their flag rules.
#include "fitdata/fit_data.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "common/text_conversion.h"
#include "formula/compiler.h"

namespace {

std::unique_ptr<FitData> NewData() {
    auto data = std::make_unique<FitData>();
    data->Reset();
    return data;
}

int SyntaxCodeOf(const std::string& text) {
    CompiledFormula program;
    int nCoef = 0;
    int code = 0;
    program.CompileFunction(text, nCoef, code);
    return code;
}

TEST(FitDataTest, ResetClearsFlagsCountsAndTextsOnly) {
    auto data = std::make_unique<FitData>();
    EXPECT_EQ(data->scale.autoScale, 0);  // a fresh record is all zero until Reset
    data->hasPoints = 1;
    data->nPoints = 2;
    data->pointX[0] = 7.0;
    ASSERT_EQ(data->function.SetTextA("A*X+B"), "Ok");
    data->function.coef[0] = 3.0;
    data->function.coefFixed[1] = 1;
    data->equation.SetA(2, "Y+X");
    data->fitDistance = 0.5;
    data->fitDone = 1;
    data->scale.xMin = -4.0;

    data->Reset();
    EXPECT_EQ(data->hasPoints, 0);
    EXPECT_EQ(data->nPoints, 0);
    EXPECT_EQ(data->function.isCompiled, 0);
    EXPECT_EQ(data->function.nCoef, 0);
    EXPECT_EQ(data->function.nFree, 0);
    EXPECT_EQ(data->function.GetText(), L"");
    EXPECT_EQ(data->function.functionText, "");
    EXPECT_EQ(data->equation.hasEquation, 0);
    EXPECT_EQ(data->equation.equationOrder, 0);
    EXPECT_EQ(data->equation.equationText, "");
    EXPECT_EQ(data->scale.autoScale, 1);
    EXPECT_EQ(data->fitDistance, -1.0);
    EXPECT_EQ(data->fitDone, 0);
    // Values without a flag of their own stay in memory.
    EXPECT_EQ(data->pointX[0], 7.0);
    EXPECT_EQ(data->function.coef[0], 3.0);
    EXPECT_EQ(data->function.coefFixed[1], 1);
    EXPECT_EQ(data->scale.xMin, -4.0);
}

TEST(FitDataTest, SetPointsAnswersWhetherTheTableChanged) {
    auto data = NewData();
    const double x[] = {1.0, 2.0, 3.0};
    const double y[] = {4.0, 5.0, 6.0};
    EXPECT_EQ(data->SetPoints(3, x, y), 1);
    EXPECT_EQ(data->hasPoints, 1);
    EXPECT_EQ(data->nPoints, 3);
    EXPECT_EQ(data->pointY[2], 6.0);
    EXPECT_EQ(data->SetPoints(3, x, y), 0) << "same count and values";

    const double y2[] = {4.0, 5.5, 6.0};
    EXPECT_EQ(data->SetPoints(3, x, y2), 1) << "one ordinate changed";
    EXPECT_EQ(data->SetPoints(2, x, y2), 1) << "same values, shorter count";
    EXPECT_EQ(data->pointX[2], 3.0) << "entries beyond the count keep their values";

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double xn[] = {nan, 2.0};
    EXPECT_EQ(data->SetPoints(2, xn, y2), 1);
    EXPECT_EQ(data->SetPoints(2, xn, y2), 1) << "a NaN never equals itself";

    EXPECT_EQ(data->SetPoints(0, x, y), 1);
    EXPECT_EQ(data->hasPoints, 0);
    EXPECT_EQ(data->SetPoints(0, x, y), 0);

    std::vector<double> many(MAX_POINTS + 1, 1.0);
    ASSERT_EQ(data->SetPoints(2, x, y), 1);
    EXPECT_EQ(data->SetPoints(MAX_POINTS + 1, many.data(), many.data()), -100);
    EXPECT_EQ(data->SetPoints(-1, x, y), -100);
    EXPECT_EQ(data->nPoints, 2);
    EXPECT_EQ(data->hasPoints, 1);
    EXPECT_EQ(data->pointX[0], 1.0);
    EXPECT_EQ(data->SetPoints(MAX_POINTS, many.data(), many.data()), 1);
    EXPECT_EQ(data->nPoints, MAX_POINTS);
}

TEST(FunctionDefTest, SetTextAAcceptsANewTextWithFreshCoefficients) {
    auto data = NewData();
    FunctionDef& f = data->function;
    f.coef[0] = 9.0;
    f.coefFixed[0] = 1;
    f.coef[3] = 4.0;
    f.coefFixed[3] = 1;
    EXPECT_EQ(f.SetTextA("A*X+B"), "Ok");
    EXPECT_EQ(f.isCompiled, 1);
    EXPECT_EQ(f.functionText, "A*X+B");
    EXPECT_EQ(f.GetText(), L"A*X+B");
    EXPECT_EQ(f.nCoef, 2);
    EXPECT_EQ(f.nFree, 2);
    EXPECT_EQ(f.coef[0], 0.0);
    EXPECT_EQ(f.coefFixed[0], 0);
    EXPECT_EQ(f.freeIndex[0], 0);
    EXPECT_EQ(f.freeIndex[1], 1);
    // Beyond the formula's count nothing is touched.
    EXPECT_EQ(f.coef[3], 4.0);
    EXPECT_EQ(f.coefFixed[3], 1);
}

TEST(FunctionDefTest, SetTextAWithTheStoredTextKeepsValuesAndFlags) {
    auto data = NewData();
    FunctionDef& f = data->function;
    ASSERT_EQ(f.SetTextA("A+B*X+C*X*X"), "Ok");
    const double values[MAX_COEF] = {1.5, 2.5, 3.5, 0, 0, 0};
    const int fixed[MAX_COEF] = {0, 1, 0, 0, 0, 0};
    f.SetCoefficients(values, fixed);
    EXPECT_EQ(f.SetTextA("A+B*X+C*X*X"), "");
    EXPECT_EQ(f.coef[1], 2.5);
    EXPECT_EQ(f.coefFixed[1], 1);
    EXPECT_EQ(f.nFree, 2);

    // Also when no function was compiled: the stored text compiles and the values stay.
    f.isCompiled = 0;
    EXPECT_EQ(f.GetText(), L"");
    EXPECT_EQ(f.SetTextA("A+B*X+C*X*X"), "");
    EXPECT_EQ(f.isCompiled, 1);
    EXPECT_EQ(f.coef[2], 3.5);
}

TEST(FunctionDefTest, SetTextAWithASyntaxErrorRestoresThePreviousFunction) {
    auto data = NewData();
    FunctionDef& f = data->function;
    ASSERT_EQ(f.SetTextA("A*EXP(B*X)"), "Ok");
    const double values[MAX_COEF] = {2.0, -0.5, 0, 0, 0, 0};
    const int fixed[MAX_COEF] = {1, 0, 0, 0, 0, 0};
    f.SetCoefficients(values, fixed);
    CompiledFormula before = f.program;

    const std::string bad = "A*(X+B+C";
    int code = SyntaxCodeOf(bad);
    ASSERT_NE(code, 0);
    std::string answer = f.SetTextA(bad);
    EXPECT_EQ(answer, SyntaxErrorText(code));
    EXPECT_NE(answer, "");
    EXPECT_EQ(f.isCompiled, 1);
    EXPECT_EQ(f.functionText, "A*EXP(B*X)");
    EXPECT_EQ(f.nCoef, 2);
    EXPECT_EQ(f.nFree, 1);
    EXPECT_EQ(f.coef[0], 2.0);
    EXPECT_EQ(f.coefFixed[0], 1);
    EXPECT_EQ(f.program.opCount, before.opCount);
    EXPECT_EQ(std::memcmp(f.program.code, before.code, sizeof before.code), 0);
    EXPECT_EQ(std::memcmp(f.program.constants, before.constants, sizeof before.constants), 0);

    // Without a compiled function the record stays without one.
    data->Reset();
    EXPECT_EQ(f.SetTextA(bad), SyntaxErrorText(code));
    EXPECT_EQ(f.isCompiled, 0);
    EXPECT_EQ(f.functionText, "");
}

TEST(FunctionDefTest, WideSetTextConvertsBothWays) {
    auto data = NewData();
    EXPECT_EQ(data->function.SetText(L"A*X"), L"Ok");
    EXPECT_EQ(data->function.GetText(), L"A*X");
    int code = SyntaxCodeOf("A*(X");
    ASSERT_NE(code, 0);
    EXPECT_EQ(data->function.SetText(L"A*(X"), NarrowToWide(SyntaxErrorText(code)));
}

TEST(FunctionDefTest, SetCoefficientsRebuildsTheFreeList) {
    auto data = NewData();
    FunctionDef& f = data->function;
    ASSERT_EQ(f.SetTextA("A+B*X+C*X*X"), "Ok");
    const double values[MAX_COEF] = {1.0, 2.0, 3.0, 40.0, 50.0, 60.0};
    const int fixed[MAX_COEF] = {1, 0, 1, 1, 1, 1};
    EXPECT_EQ(f.SetCoefficients(values, fixed), 1);
    EXPECT_EQ(f.nFree, 1);
    EXPECT_EQ(f.freeIndex[0], 1);
    EXPECT_EQ(f.coef[2], 3.0);
    EXPECT_EQ(f.coef[3], 0.0) << "entries beyond nCoef are not stored";
    EXPECT_EQ(f.coefFixed[3], 0);
    EXPECT_EQ(f.SetCoefficients(values, fixed), 0) << "same values and flags";

    const int otherFixed[MAX_COEF] = {2, 0, 1, 0, 0, 0};  // flags compare as integers
    EXPECT_EQ(f.SetCoefficients(values, otherFixed), 1);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double nanValues[MAX_COEF] = {nan, 2.0, 3.0, 0, 0, 0};
    EXPECT_EQ(f.SetCoefficients(nanValues, otherFixed), 1);
    EXPECT_EQ(f.SetCoefficients(nanValues, otherFixed), 1) << "a NaN never equals itself";

    const int allFree[MAX_COEF] = {0, 0, 0, 1, 1, 1};
    f.SetCoefficients(values, allFree);
    EXPECT_EQ(f.nFree, 3);
    EXPECT_EQ(f.freeIndex[2], 2);

    // A count above the arrays (left by a file or a failed compile) stops at six entries.
    f.nCoef = 1000;
    const int noneFixed[MAX_COEF] = {};
    f.SetCoefficients(values, noneFixed);
    EXPECT_EQ(f.nFree, MAX_COEF);
    EXPECT_EQ(f.freeIndex[5], 5);
}

TEST(EquationDefTest, SetAAnswersTrueOnlyForTheFirstDefinition) {
    auto data = NewData();
    EquationDef& e = data->equation;
    std::wstring text = L"junk";
    EXPECT_EQ(e.Get(text), 0);
    EXPECT_EQ(text, L"");

    EXPECT_TRUE(e.SetA(3, "Y1+X"));
    EXPECT_EQ(e.Get(text), 3);
    EXPECT_EQ(text, L"Y1+X");
    EXPECT_FALSE(e.SetA(2, "Y*2"));
    EXPECT_EQ(e.equationOrder, 2);
    EXPECT_EQ(e.equationText, "Y*2");
    for (int order : {0, 7, -1}) {
        EXPECT_FALSE(e.SetA(order, "Z")) << order;
        EXPECT_EQ(e.equationOrder, 2) << order;
        EXPECT_EQ(e.equationText, "Y*2") << order;
    }
    data->Reset();
    EXPECT_FALSE(e.SetA(9, "Z"));
    EXPECT_EQ(e.hasEquation, 0);
    EXPECT_TRUE(e.Set(1, L"X\u00e9"));
    EXPECT_EQ(e.equationText, "X\xc3\xa9");
}

}  // namespace
