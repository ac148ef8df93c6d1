// Tests of the coefficient and function files, current and legacy forms.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/text_conversion.h"
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

std::unique_ptr<FitData> DocumentWith(const std::string& formula, std::vector<double> values,
                                      std::vector<int> fixed) {
    auto data = std::make_unique<FitData>();
    data->Reset();
    EXPECT_EQ(data->function.SetTextA(formula), "Ok");
    values.resize(MAX_COEF);
    fixed.resize(MAX_COEF);
    data->function.SetCoefficients(values.data(), fixed.data());
    data->fitDone = 1;
    return data;
}

TEST(CoefficientFileTest, RoundTripAndCountMismatch) {
    TempDir dir;
    std::string path = dir.File("c.coe");
    auto source = DocumentWith("A+B*X+C*X*X", {1.5, -2.0, 0.125}, {0, 1, 0});
    source->function.coef[5] = 99.0;  // beyond the count, still stored
    ASSERT_EQ(source->function.WriteCoef(path), 0);
    std::vector<uint8_t> bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), 76u);
    EXPECT_EQ(I32At(bytes, 0), 3);
    EXPECT_EQ(F64At(bytes, 4 + 8), -2.0);
    EXPECT_EQ(F64At(bytes, 4 + 40), 99.0);
    EXPECT_EQ(I32At(bytes, 52 + 4), 1);

    auto target = DocumentWith("A*X+B*X*X+C", {}, {});
    EXPECT_EQ(target->LoadCoef(NarrowToWide(path)), 0);
    EXPECT_EQ(target->fitDone, 0);
    EXPECT_EQ(target->function.coef[0], 1.5);
    EXPECT_EQ(target->function.coef[2], 0.125);
    EXPECT_EQ(target->function.coefFixed[1], 1);
    EXPECT_EQ(target->function.nFree, 2);
    EXPECT_EQ(target->function.freeIndex[1], 2);
    EXPECT_EQ(target->function.functionText, "A*X+B*X*X+C") << "the formula stays";

    // A failed load changes nothing, the fit result included.
    auto two = DocumentWith("A*X+B", {7.0, 8.0}, {1, 1});
    EXPECT_EQ(two->LoadCoef(NarrowToWide(path)), 2);
    EXPECT_EQ(two->fitDone, 1);
    EXPECT_EQ(two->function.coef[0], 7.0);
    EXPECT_EQ(two->function.coefFixed[0], 1);
    EXPECT_EQ(two->function.nFree, 0);
    EXPECT_EQ(two->function.nCoef, 2);
}

ByteBuilder LegacyCoef(uint16_t count, const std::vector<uint16_t>& flags) {
    ByteBuilder b;
    b.U16(count);
    for (int i = 0; i < 6; ++i) b.R48(0.75 * (i + 1));
    for (uint16_t flag : flags) b.U16(flag);
    return b;
}

TEST(CoefficientFileTest, LegacyFormInvertsTheFlags) {
    TempDir dir;
    std::string path = dir.File("old.coe");
    ByteBuilder legacy = LegacyCoef(3, {0, 1, 1, 0, 0, 0});
    ASSERT_EQ(legacy.size(), 50u);
    WriteBytes(path, legacy.bytes());
    auto data = DocumentWith("A+B*X+C*X*X", {}, {});
    EXPECT_EQ(data->function.ReadCoef(path), 0);
    EXPECT_EQ(data->function.coefFixed[0], 1);
    EXPECT_EQ(data->function.coefFixed[1], 0);
    EXPECT_EQ(data->function.coefFixed[2], 0);
    EXPECT_EQ(data->function.nFree, 2);
    EXPECT_EQ(data->function.freeIndex[0], 1);
    EXPECT_EQ(data->function.freeIndex[1], 2);
    EXPECT_EQ(data->function.coef[2], 2.25);

    // A count that does not match answers 2 but the legacy form still replaces values and flags.
    auto two = DocumentWith("A*X+B", {7.0, 8.0}, {0, 0});
    EXPECT_EQ(two->function.ReadCoef(path), 2);
    EXPECT_EQ(two->function.coef[0], 0.75);
    EXPECT_EQ(two->function.coefFixed[0], 1);
    EXPECT_EQ(two->function.nFree, 1);
    EXPECT_EQ(two->function.nCoef, 2);

    // The loader refuses it as a whole: the document keeps its coefficients and flags.
    auto kept = DocumentWith("A*X+B", {7.0, 8.0}, {0, 0});
    EXPECT_EQ(kept->LoadCoef(NarrowToWide(path)), 2);
    EXPECT_EQ(kept->function.coef[0], 7.0);
    EXPECT_EQ(kept->function.coefFixed[0], 0);
    EXPECT_EQ(kept->function.nFree, 2);
    EXPECT_EQ(kept->fitDone, 1);
}

TEST(CoefficientFileTest, OtherSizesAreRefused) {
    TempDir dir;
    std::string path = dir.File("bad.coe");
    auto data = DocumentWith("A*X+B", {7.0, 8.0}, {0, 1});
    for (size_t size : {0, 49, 51, 75, 77}) {
        WriteBytes(path, std::vector<uint8_t>(size, 0));
        EXPECT_EQ(data->function.ReadCoef(path), 1) << size;
        EXPECT_EQ(data->function.coef[1], 8.0) << size;
    }
    EXPECT_EQ(data->function.ReadCoef(dir.File("missing.coe")), 1);
}

TEST(FunctionFileTest, RoundTripReplacesFormulaAndCoefficients) {
    TempDir dir;
    std::string path = dir.File("f.fon");
    auto source = DocumentWith("A*EXP(B*X)+C", {2.0, -0.5, 1.0}, {1, 0, 0});
    ASSERT_EQ(source->function.WriteFon(path), 0);
    std::vector<uint8_t> bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), 331u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data())), "A*EXP(B*X)+C");
    for (size_t i = 12; i < 255; ++i) ASSERT_EQ(bytes[i], 0) << i;
    EXPECT_EQ(I32At(bytes, 255), 3);
    EXPECT_EQ(F64At(bytes, 259 + 8), -0.5);
    EXPECT_EQ(I32At(bytes, 307), 1);

    auto target = DocumentWith("A*X", {5.0}, {0});
    const double x[] = {1.0};
    target->SetPoints(1, x, x);
    EXPECT_EQ(target->LoadFon(NarrowToWide(path)), 0);
    EXPECT_EQ(target->fitDone, 0);
    EXPECT_EQ(target->function.isCompiled, 1);
    EXPECT_EQ(target->function.functionText, "A*EXP(B*X)+C");
    EXPECT_EQ(target->function.nCoef, 3);
    EXPECT_EQ(target->function.coef[0], 2.0);
    EXPECT_EQ(target->function.coefFixed[0], 1);
    EXPECT_EQ(target->function.nFree, 2);
    EXPECT_EQ(target->function.freeIndex[0], 1);
    EXPECT_EQ(target->hasPoints, 1) << "the table is not touched";
}

TEST(FunctionFileTest, UncompiledOrBrokenFormulas) {
    TempDir dir;
    std::string path = dir.File("f.fon");
    auto source = DocumentWith("A*X+B", {3.0, 4.0}, {0, 1});
    source->function.isCompiled = 0;
    ASSERT_EQ(source->function.WriteFon(path), 0);
    EXPECT_EQ(source->function.functionText, "");
    EXPECT_EQ(ReadBytes(path)[0], 0);

    auto target = DocumentWith("A*X", {}, {});
    EXPECT_EQ(target->function.ReadFon(path), 0);
    EXPECT_EQ(target->function.isCompiled, 0);
    EXPECT_EQ(target->function.coef[1], 4.0);

    ByteBuilder broken;
    broken.Text("A*(X", 255).I32(1);
    for (int i = 0; i < 6; ++i) broken.F64(i);
    for (int i = 0; i < 6; ++i) broken.I32(0);
    WriteBytes(path, broken.bytes());
    target = DocumentWith("A*X", {}, {});
    EXPECT_EQ(target->function.ReadFon(path), 0);
    EXPECT_EQ(target->function.isCompiled, 0);
    EXPECT_EQ(target->function.GetText(), L"");
}

ByteBuilder LegacyFon(uint8_t length, const std::string& text, uint16_t nCoef,
                      const std::vector<uint16_t>& flags) {
    ByteBuilder b;
    b.U8(length).Text(text, 101, 'Z').U16(nCoef);
    for (int i = 0; i < 6; ++i) b.R48(-1.0 - i);
    for (uint16_t flag : flags) b.U16(flag);
    b.Fill(4, 0xEE);
    return b;
}

TEST(FunctionFileTest, ReadsTheLegacyForm) {
    TempDir dir;
    std::string path = dir.File("old.fon");
    ByteBuilder legacy = LegacyFon(7, "A*X+B*XQQQ", 2, {0, 5, 0, 0, 0, 0});
    ASSERT_EQ(legacy.size(), 156u);
    WriteBytes(path, legacy.bytes());
    auto data = DocumentWith("A*X", {}, {});
    EXPECT_EQ(data->function.ReadFon(path), 0);
    EXPECT_EQ(data->function.isCompiled, 1);
    EXPECT_EQ(data->function.functionText, "A*X+B*X");
    EXPECT_EQ(data->function.coef[1], -2.0);
    EXPECT_EQ(data->function.coefFixed[0], 1);
    EXPECT_EQ(data->function.coefFixed[1], 0);
    EXPECT_EQ(data->function.nFree, 1);
    EXPECT_EQ(data->function.freeIndex[0], 1);
}

TEST(FunctionFileTest, MalformedFilesLeaveNoFunction) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    ByteBuilder unterminated;
    unterminated.Text("", 255, 'A').I32(1).Fill(72);
    const Case cases[] = {
        {"330 bytes", std::vector<uint8_t>(330, 0)},
        {"332 bytes", std::vector<uint8_t>(332, 0)},
        {"formula field without its zero byte", unterminated.bytes()},
        {"legacy length byte 102", LegacyFon(102, "A*X", 1, {1, 0, 0, 0, 0, 0}).bytes()},
        {"legacy length byte 255", LegacyFon(255, "A*X", 1, {1, 0, 0, 0, 0, 0}).bytes()},
    };
    TempDir dir;
    std::string path = dir.File("bad.fon");
    for (const Case& c : cases) {
        WriteBytes(path, c.bytes);
        auto data = DocumentWith("A*X+B", {1.0, 2.0}, {0, 0});
        EXPECT_EQ(data->function.ReadFon(path), 1) << c.what;
        EXPECT_EQ(data->function.isCompiled, 0) << c.what;
        EXPECT_EQ(data->function.GetText(), L"") << c.what;
        EXPECT_LE(data->function.nFree, MAX_COEF) << c.what;
    }
}

TEST(FunctionFileTest, CountAboveSixStopsAtTheArrays) {
    TempDir dir;
    std::string path = dir.File("many.fon");
    ByteBuilder b;
    b.Text("", 255).I32(70000);
    for (int i = 0; i < 6; ++i) b.F64(i);
    for (int i = 0; i < 6; ++i) b.I32(0);
    WriteBytes(path, b.bytes());
    auto data = DocumentWith("A*X", {}, {});
    EXPECT_EQ(data->function.ReadFon(path), 0);
    EXPECT_EQ(data->function.nCoef, 70000);
    EXPECT_EQ(data->function.nFree, MAX_COEF);
    EXPECT_EQ(data->function.isCompiled, 0);
}

}  // namespace
