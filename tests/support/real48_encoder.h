// Encodes doubles into the legacy 6-byte real, to build legacy files byte by byte in tests.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

namespace testing_support {

// b0 = binary exponent + 129 (0 for zero), b1..b5 the 39-bit fraction below the hidden 1, least
// significant byte first, sign in bit 7 of b5. The fraction is rounded to nearest.
inline std::array<uint8_t, 6> EncodeReal48(double value) {
    std::array<uint8_t, 6> bytes{};
    if (value == 0.0) return bytes;
    int exponent = 0;
    double fraction = std::frexp(std::fabs(value), &exponent);  // value = fraction * 2^exponent
    // |value| = (1 + m / 2^39) * 2^(exponent - 1), so b0 = exponent - 1 + 129.
    double scaled = std::ldexp(2.0 * fraction - 1.0, 39);
    uint64_t mantissa = static_cast<uint64_t>(std::llround(scaled));
    if (mantissa == (uint64_t{1} << 39)) {  // rounding carried into the hidden bit
        mantissa = 0;
        ++exponent;
    }
    bytes[0] = static_cast<uint8_t>(exponent + 128);
    for (int i = 1; i <= 5; ++i) {
        bytes[i] = static_cast<uint8_t>(mantissa & 0xFF);
        mantissa >>= 8;
    }
    if (value < 0) bytes[5] |= 0x80;
    return bytes;
}

}  // namespace testing_support
