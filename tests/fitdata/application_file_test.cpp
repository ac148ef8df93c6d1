// Tests of the application file: both current forms, the legacy form, and refused files.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fitdata/fit_data.h"
#include "support/byte_builder.h"
#include "support/temp_dir.h"

namespace {

using testing_support::ByteBuilder;
using testing_support::F64At;
using testing_support::I32At;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

std::unique_ptr<FitData> DocumentWithPoints(int n) {
    auto data = std::make_unique<FitData>();
    data->Reset();
    std::vector<double> x(n), y(n);
    for (int i = 0; i < n; ++i) {
        x[i] = 0.25 * i - 3.0;
        y[i] = 1.0 / (i + 1.0);
    }
    data->SetPoints(n, x.data(), y.data());
    EXPECT_EQ(data->function.SetTextA("A+B*X+C*X*X"), "Ok");
    const double values[MAX_COEF] = {1.25, -2.5, 3.75, 0, 0, 0};
    const int fixed[MAX_COEF] = {0, 1, 0, 0, 0, 0};
    data->function.SetCoefficients(values, fixed);
    data->fitDistance = 0.015625;
    data->fitDone = 1;
    data->equation.SetA(2, "-Y+SIN(X)");
    return data;
}

struct FormLayout {
    int points;
    long size;
    size_t text, nCoef, coef, fixed, distance, order, equation;
};

TEST(ApplicationFileTest, RoundTripsBothFormsWithTheirExactLayout) {
    const FormLayout forms[] = {
        {100, 2202, 1604, 1859, 1863, 1911, 1935, 1943, 1947},
        {101, 80602, 80004, 80259, 80263, 80311, 80335, 80343, 80347},
        {5000, 80602, 80004, 80259, 80263, 80311, 80335, 80343, 80347},
    };
    TempDir dir;
    for (const FormLayout& form : forms) {
        auto data = DocumentWithPoints(form.points);
        data->scale.autoScale = 0;
        std::string path = dir.File("doc.gen");
        ASSERT_EQ(data->WriteGen(path), 0) << form.points;
        std::vector<uint8_t> bytes = ReadBytes(path);
        ASSERT_EQ(static_cast<long>(bytes.size()), form.size) << form.points;
        EXPECT_EQ(I32At(bytes, 0), form.points);
        EXPECT_EQ(F64At(bytes, 4 + 8 * (form.points - 1)), data->pointX[form.points - 1]);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[form.text])), "A+B*X+C*X*X");
        for (size_t i = form.text + 11; i < form.text + 255; ++i) {
            ASSERT_EQ(bytes[i], 0) << "text field byte " << i - form.text;
        }
        EXPECT_EQ(I32At(bytes, form.nCoef), 3);
        EXPECT_EQ(F64At(bytes, form.coef + 8), -2.5);
        EXPECT_EQ(I32At(bytes, form.fixed + 4), 1);
        EXPECT_EQ(F64At(bytes, form.distance), 0.015625);
        EXPECT_EQ(I32At(bytes, form.order), 2);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[form.equation])), "-Y+SIN(X)");
        EXPECT_EQ(bytes.back(), 0);

        auto back = std::make_unique<FitData>();
        ASSERT_EQ(back->ReadGen(path), 0) << form.points;
        EXPECT_EQ(back->hasPoints, 1);
        ASSERT_EQ(back->nPoints, form.points);
        for (int i = 0; i < form.points; ++i) {
            ASSERT_EQ(back->pointX[i], data->pointX[i]) << i;
            ASSERT_EQ(back->pointY[i], data->pointY[i]) << i;
        }
        EXPECT_EQ(back->function.isCompiled, 1);
        EXPECT_EQ(back->function.functionText, "A+B*X+C*X*X");
        EXPECT_EQ(back->function.nCoef, 3);
        EXPECT_EQ(back->function.coef[0], 1.25);
        EXPECT_EQ(back->function.coef[2], 3.75);
        EXPECT_EQ(back->function.coefFixed[1], 1);
        EXPECT_EQ(back->function.nFree, 2);
        EXPECT_EQ(back->function.freeIndex[1], 2);
        EXPECT_EQ(back->fitDone, 1);
        EXPECT_EQ(back->fitDistance, 0.015625);
        EXPECT_EQ(back->equation.hasEquation, 1);
        EXPECT_EQ(back->equation.equationOrder, 2);
        EXPECT_EQ(back->equation.equationText, "-Y+SIN(X)");
        EXPECT_EQ(back->scale.autoScale, 1) << "the scale is not stored";
    }
}

TEST(ApplicationFileTest, WriterNormalisesByTheFlags) {
    TempDir dir;
    std::string path = dir.File("doc.gen");
    auto data = DocumentWithPoints(150);
    data->hasPoints = 0;
    data->fitDone = 0;
    data->function.isCompiled = 0;
    data->equation.hasEquation = 0;
    ASSERT_EQ(data->WriteGen(path), 0);
    EXPECT_EQ(data->nPoints, 0);
    EXPECT_EQ(data->fitDistance, -1.0);
    EXPECT_EQ(data->function.functionText, "");
    EXPECT_EQ(data->equation.equationOrder, 0);
    std::vector<uint8_t> bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), 2202u) << "an absent table takes the small form";
    EXPECT_EQ(I32At(bytes, 0), 0);
    EXPECT_EQ(bytes[1604], 0);

    auto back = std::make_unique<FitData>();
    ASSERT_EQ(back->ReadGen(path), 0);
    EXPECT_EQ(back->hasPoints, 0);
    EXPECT_EQ(back->fitDone, 0);
    EXPECT_EQ(back->fitDistance, -1.0);
    EXPECT_EQ(back->function.isCompiled, 0);
    EXPECT_EQ(back->function.GetText(), L"");
    EXPECT_EQ(back->function.coef[1], -2.5) << "values are kept without a formula";
    EXPECT_EQ(back->equation.hasEquation, 0);
}

// A current-form image with the given count, formula and coefficient count.
ByteBuilder CurrentForm(int capacity, int32_t count, const std::string& formula, int32_t nCoef) {
    ByteBuilder b;
    b.I32(count);
    for (int i = 0; i < 2 * capacity; ++i) b.F64(i);
    b.Text(formula, 255).I32(nCoef);
    for (int i = 0; i < 6; ++i) b.F64(10.0 + i);
    for (int i = 0; i < 6; ++i) b.I32(i % 2);
    b.F64(0.0).I32(0).Text("", 255);
    return b;
}

TEST(ApplicationFileTest, StoredFormulaAndCountsFromTheFile) {
    TempDir dir;
    std::string path = dir.File("doc.gen");
    auto data = std::make_unique<FitData>();

    // A formula that no longer compiles still reads, without a function.
    WriteBytes(path, CurrentForm(100, 3, "A*(X", 1).bytes());
    ASSERT_EQ(data->ReadGen(path), 0);
    EXPECT_EQ(data->function.isCompiled, 0);
    EXPECT_EQ(data->function.coef[0], 10.0);
    EXPECT_EQ(data->fitDone, 1) << "a stored distance of 0 is a fit result";
    EXPECT_EQ(data->hasPoints, 1);
    EXPECT_EQ(data->pointY[0], 100.0);

    // A coefficient count above six: read, and every loop stops at the six entries.
    WriteBytes(path, CurrentForm(100, 3, "", 1000).bytes());
    ASSERT_EQ(data->ReadGen(path), 0);
    EXPECT_EQ(data->function.nCoef, 1000);
    EXPECT_EQ(data->function.nFree, 3);
    EXPECT_EQ(data->function.freeIndex[2], 4);

    // The compiler's count wins over a stored one that disagrees with the formula.
    WriteBytes(path, CurrentForm(100, 3, "A*X", 6).bytes());
    ASSERT_EQ(data->ReadGen(path), 0);
    EXPECT_EQ(data->function.isCompiled, 1);
    EXPECT_EQ(data->function.nCoef, 1);
    EXPECT_EQ(data->function.nFree, 1);
    EXPECT_EQ(data->function.freeIndex[0], 0);

    // A text with bytes after its zero byte ends at the zero.
    ByteBuilder junk = CurrentForm(100, 0, "", 1);
    std::vector<uint8_t> bytes = junk.bytes();
    std::string text = "A*X+B";
    std::copy(text.begin(), text.end(), bytes.begin() + 1604);
    bytes[1604 + 5] = 0;
    std::fill(bytes.begin() + 1604 + 6, bytes.begin() + 1604 + 255, 'Q');
    WriteBytes(path, bytes);
    ASSERT_EQ(data->ReadGen(path), 0);
    EXPECT_EQ(data->function.functionText, "A*X+B");
    EXPECT_EQ(data->hasPoints, 0) << "count 0";
}

// A legacy image of 1371 bytes.
ByteBuilder LegacyForm(uint16_t nCoef, uint16_t nPoints, const std::vector<uint16_t>& flags,
                       uint8_t length, const std::string& textBytes) {
    ByteBuilder b;
    b.Fill(10, 0xEE).U16(nCoef).U16(nPoints);
    for (int i = 0; i < 100; ++i) b.R48(i * 0.5);
    for (int i = 0; i < 100; ++i) b.R48(-i * 0.25);
    for (int i = 0; i < 6; ++i) b.R48(1.5 * (i + 1));
    for (uint16_t flag : flags) b.U16(flag);
    b.U8(length).Text(textBytes, 101, 'Z').Fill(7, 0xEE);
    return b;
}

TEST(ApplicationFileTest, ReadsTheLegacyForm) {
    TempDir dir;
    std::string path = dir.File("old.gen");
    ByteBuilder legacy = LegacyForm(3, 4, {1, 0, 7, 0, 0, 0}, 11, "A+B*X+C*X*X");
    ASSERT_EQ(legacy.size(), 1371u);
    WriteBytes(path, legacy.bytes());
    auto data = std::make_unique<FitData>();
    data->fitDistance = 3.0;
    ASSERT_EQ(data->ReadGen(path), 0);
    EXPECT_EQ(data->hasPoints, 1);
    EXPECT_EQ(data->nPoints, 4);
    EXPECT_EQ(data->pointX[3], 1.5);
    EXPECT_EQ(data->pointY[99], -24.75);
    EXPECT_EQ(data->function.isCompiled, 1);
    EXPECT_EQ(data->function.functionText, "A+B*X+C*X*X");
    EXPECT_EQ(data->function.coef[0], 1.5);
    EXPECT_EQ(data->function.coef[5], 9.0);
    // Nonzero words mean adjusted: A and C adjusted, B fixed.
    EXPECT_EQ(data->function.coefFixed[0], 0);
    EXPECT_EQ(data->function.coefFixed[1], 1);
    EXPECT_EQ(data->function.coefFixed[2], 0);
    EXPECT_EQ(data->function.nFree, 2);
    EXPECT_EQ(data->function.freeIndex[0], 0);
    EXPECT_EQ(data->function.freeIndex[1], 2);
    EXPECT_EQ(data->fitDistance, -1.0);
    EXPECT_EQ(data->fitDone, 0);
    EXPECT_EQ(data->equation.hasEquation, 0);

    // The length byte counts, not the bytes that follow; a zero byte ends the text earlier.
    WriteBytes(path, LegacyForm(2, 0, {1, 1, 0, 0, 0, 0}, 5, "A*X+BZZZZ").bytes());
    ASSERT_EQ(data->ReadGen(path), 0);
    EXPECT_EQ(data->function.functionText, "A*X+B");
    EXPECT_EQ(data->hasPoints, 0);
    WriteBytes(path, LegacyForm(1, 0, {1, 0, 0, 0, 0, 0}, 101, std::string("A*X\0B", 5)).bytes());
    ASSERT_EQ(data->ReadGen(path), 0);
    EXPECT_EQ(data->function.functionText, "A*X");
}

TEST(ApplicationFileTest, RefusesMalformedFilesAndLeavesAnEmptyDocument) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    std::vector<uint8_t> oneByteTooMany = CurrentForm(100, 3, "A*X", 1).bytes();
    oneByteTooMany.push_back(0);
    std::vector<uint8_t> unterminatedFormula = CurrentForm(100, 3, "", 1).bytes();
    std::fill(unterminatedFormula.begin() + 1604, unterminatedFormula.begin() + 1859, 'A');
    std::vector<uint8_t> unterminatedEquation = CurrentForm(100, 3, "A*X", 1).bytes();
    std::fill(unterminatedEquation.begin() + 1947, unterminatedEquation.end(), 'Y');
    const Case cases[] = {
        {"2203 bytes", oneByteTooMany},
        {"empty file", {}},
        {"2202 bytes with 101 points", CurrentForm(100, 101, "A*X", 1).bytes()},
        {"2202 bytes with a negative count", CurrentForm(100, -1, "A*X", 1).bytes()},
        {"80602 bytes with 5001 points", CurrentForm(5000, 5001, "A*X", 1).bytes()},
        {"80602 bytes with a negative count", CurrentForm(5000, -5, "A*X", 1).bytes()},
        {"formula field without its zero byte", unterminatedFormula},
        {"equation field without its zero byte", unterminatedEquation},
        {"legacy file with 101 points", LegacyForm(1, 101, {1, 0, 0, 0, 0, 0}, 3, "A*X").bytes()},
        {"legacy length byte 102", LegacyForm(1, 2, {1, 0, 0, 0, 0, 0}, 102, "A*X").bytes()},
    };
    TempDir dir;
    std::string path = dir.File("bad.gen");
    for (const Case& c : cases) {
        WriteBytes(path, c.bytes);
        auto data = DocumentWithPoints(20);
        data->scale.autoScale = 0;
        EXPECT_EQ(data->ReadGen(path), 1) << c.what;
        EXPECT_EQ(data->hasPoints, 0) << c.what;
        EXPECT_EQ(data->function.isCompiled, 0) << c.what;
        EXPECT_EQ(data->function.GetText(), L"") << c.what;
        EXPECT_EQ(data->equation.hasEquation, 0) << c.what;
        EXPECT_EQ(data->fitDone, 0) << c.what;
        EXPECT_EQ(data->scale.autoScale, 1) << c.what;
        EXPECT_LE(data->function.nFree, MAX_COEF) << c.what;
        EXPECT_GE(data->nPoints, 0) << c.what;
        EXPECT_LE(data->nPoints, MAX_POINTS) << c.what;
    }
    auto data = DocumentWithPoints(3);
    EXPECT_EQ(data->ReadGen(dir.File("missing.gen")), 1);
    EXPECT_EQ(data->hasPoints, 0);
}

}  // namespace
