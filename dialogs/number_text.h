// Reading a number from a dialog field, as every input dialog does.
#pragma once

#include <cwchar>

#include "framework/cstring.h"

// True when "%lf" reads a number from the start of `text` (leading blanks skipped, the rest
// ignored: "1,5" reads 1, "12abc" 12); `value` then holds it. Always the C locale's point.
inline bool ReadNumber(const CString& text, double& value) {
    return std::swscanf(text.GetString(), L"%lf", &value) == 1;
}
