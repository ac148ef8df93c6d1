// The number-to-text rule of every display and of the point-table file; the legacy 6-byte real.
#pragma once

#include <cstdint>
#include <string>

// "%013.6lf" (padded) or "%13.6lf" (unpadded); exponent forms "%013.6le" / "%13.6le" above 999999
// and for 0 < x < 0.0001, "%012.5le" / "%12.5le" below -99999 and for -0.0001 < x < 0.
std::string FormatNumberA(int padded, double value);

// The padded form as wide text.
std::wstring FormatNumber(double value);

// The 6-byte real of the legacy files: bytes[0] the exponent biased by 129 (0 means 0.0),
// bytes[1..5] a 39-bit mantissa fraction (least significant first), sign in bit 7 of bytes[5].
double Real48ToDouble(const uint8_t* bytes);
