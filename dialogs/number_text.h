// Reading a number from a dialog field, as every input dialog does.
#pragma once

#include <cmath>
#include <cstddef>
#include <cwchar>
#include <string>

#include "common/decimal_comma.h"
#include "framework/cstring.h"

// True when "%lf" reads a finite number from the start of `text` (leading blanks skipped, the
// rest ignored: "12abc" reads 12); `value` then holds it and `used`, when given, the count of
// characters read. A decimal comma reads as the point ("2,5" is 2.5, "-0,5e3" -500); the C
// locale's point always does. "nan", "inf" and values beyond the double range ("1e999") do not
// read: one of them in a point or a coefficient would poison the fits, the page and the files.
inline bool ReadNumber(const CString& text, double& value, std::size_t* used = nullptr) {
    std::wstring copy = text.GetString();
    const std::ptrdiff_t comma = DecimalCommaAt(copy.c_str());
    if (comma >= 0) copy[static_cast<std::size_t>(comma)] = L'.';
    double read = 0.0;
    int count = 0;
    if (std::swscanf(copy.c_str(), L"%lf%n", &read, &count) != 1 || !std::isfinite(read)) {
        return false;
    }
    value = read;
    if (used != nullptr) *used = static_cast<std::size_t>(count);
    return true;
}
