// Reading a number from a dialog field, as every input dialog does.
#pragma once

#include <cmath>
#include <cwchar>

#include "framework/cstring.h"

// True when "%lf" reads a finite number from the start of `text` (leading blanks skipped, the
// rest ignored: "1,5" reads 1, "12abc" 12); `value` then holds it. Always the C locale's point.
// "nan", "inf" and values beyond the double range ("1e999") do not read: one of them in a point
// or a coefficient would poison the fits, the page and the files.
inline bool ReadNumber(const CString& text, double& value) {
    double read = 0.0;
    if (std::swscanf(text.GetString(), L"%lf", &read) != 1 || !std::isfinite(read)) return false;
    value = read;
    return true;
}
