// Tests of the number-to-text rule and the legacy 6-byte real.
#include "fitdata/number_format.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "support/real48_encoder.h"

namespace {

struct FormatCase {
    double value;
    const char* padded;
    const char* unpadded;
};

TEST(NumberFormatTest, PaddedAndUnpaddedTexts) {
    const FormatCase cases[] = {
        {0.0, "000000.000000", "     0.000000"},
        {1.5, "000001.500000", "     1.500000"},
        {-2.25, "-00002.250000", "    -2.250000"},
        // The positive threshold: 999999 stays fixed, anything above goes to the exponent form.
        {999999.0, "999999.000000", "999999.000000"},
        {999999.5, "09.999995e+05", " 9.999995e+05"},
        // The negative threshold, one decimal less in the exponent form.
        {-99999.0, "-99999.000000", "-99999.000000"},
        {-99999.5, "-9.99995e+04", "-9.99995e+04"},
        {-123456.0, "-1.23456e+05", "-1.23456e+05"},
        // The small-magnitude threshold on both sides of zero.
        {0.0001, "000000.000100", "     0.000100"},
        {0.00009, "09.000000e-05", " 9.000000e-05"},
        {0.00005, "05.000000e-05", " 5.000000e-05"},
        {-0.0001, "-00000.000100", "    -0.000100"},
        {-0.00005, "-5.00000e-05", "-5.00000e-05"},
        // A three-digit exponent fills the width exactly.
        {1e-300, "1.000000e-300", "1.000000e-300"},
        {-1e-300, "-1.00000e-300", "-1.00000e-300"},
    };
    for (const FormatCase& c : cases) {
        EXPECT_EQ(FormatNumberA(1, c.value), c.padded) << "value " << c.value;
        EXPECT_EQ(FormatNumberA(0, c.value), c.unpadded) << "value " << c.value;
        EXPECT_EQ(FormatNumber(c.value), std::wstring(c.padded, c.padded + std::strlen(c.padded)))
            << "value " << c.value;
    }
}

TEST(NumberFormatTest, NanInfinitiesAndExtremes) {
    // NaN is neither above nor below a threshold; the C library writes it right-aligned.
    EXPECT_EQ(FormatNumberA(0, std::numeric_limits<double>::quiet_NaN()).size(), 13u);
    // Far beyond the buffer a fixed-width display would use: the exponent form keeps it short.
    EXPECT_EQ(FormatNumberA(1, std::numeric_limits<double>::max()), "1.797693e+308");
    EXPECT_EQ(FormatNumberA(1, -std::numeric_limits<double>::max()), "-1.79769e+308");
    EXPECT_EQ(FormatNumberA(1, std::numeric_limits<double>::infinity()), "          inf");
    EXPECT_EQ(FormatNumberA(0, -std::numeric_limits<double>::infinity()), "        -inf");
}

TEST(Real48Test, ByteExamples) {
    struct Case {
        std::array<uint8_t, 6> bytes;
        double value;
    };
    const Case cases[] = {
        {{0x81, 0, 0, 0, 0, 0}, 1.0},
        {{0x82, 0, 0, 0, 0, 0}, 2.0},
        {{0x80, 0, 0, 0, 0, 0}, 0.5},
        {{0x81, 0, 0, 0, 0, 0x80}, -1.0},
        {{0x84, 0, 0, 0, 0, 0x20}, 10.0},
        {{0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, 0.0},
        // The least significant mantissa bit is 2^-39 of the leading 1.
        {{0x81, 1, 0, 0, 0, 0}, 1.0 + std::ldexp(1.0, -39)},
        {{0x01, 0, 0, 0, 0, 0}, std::ldexp(1.0, -128)},
        {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}, (2.0 - std::ldexp(1.0, -39)) * std::ldexp(1.0, 126)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Real48ToDouble(c.bytes.data()), c.value)
            << "bytes " << std::hex << int(c.bytes[0]) << " .. " << int(c.bytes[5]);
    }
}

TEST(Real48Test, EncoderRoundTripsWithinTheMantissaPrecision) {
    std::mt19937_64 generator(12345);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-100, 100);
    for (int i = 0; i < 2000; ++i) {
        double value = std::ldexp(mantissa(generator), exponent(generator));
        auto bytes = testing_support::EncodeReal48(value);
        // 39 fraction bits: the rounding error is at most half a unit of 2^-39 relative.
        EXPECT_NEAR(Real48ToDouble(bytes.data()), value, std::fabs(value) * std::ldexp(1.0, -39))
            << value;
    }
}

}  // namespace
