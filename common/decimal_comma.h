// The decimal comma: which comma of a typed or loaded number stands for its decimal point.
#pragma once

#include <cstddef>

// The index, in `text`, of the comma that stands for the decimal point of the number at its start
// (after white space and a sign): a comma right after the number's first digits and followed by a
// digit, as in "2,5" or "-0,5e3". -1 when there is none ("2.5", ",5", "2,", "1.5,2", "x,5"). The
// number is then read with the comma taken as a point; everything else about reading stays.
template <typename Char>
std::ptrdiff_t DecimalCommaAt(const Char* text) {
    auto isDigit = [](Char c) { return c >= '0' && c <= '9'; };
    const Char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    if (*p == '+' || *p == '-') ++p;
    const Char* digits = p;
    while (isDigit(*p)) ++p;
    if (p == digits || *p != ',' || !isDigit(p[1])) return -1;
    return p - text;
}
