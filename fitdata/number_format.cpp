// The number-to-text rule and the legacy 6-byte real.
#include "fitdata/number_format.h"

#include <cmath>
#include <cstdio>

#include "common/text_conversion.h"

namespace {

enum class NumberForm { Fixed, ExponentPositive, ExponentNegative };

NumberForm ChooseForm(double x) {
    if (x > 999999) return NumberForm::ExponentPositive;
    if (x < -99999) return NumberForm::ExponentNegative;
    if (std::fabs(x) < 0.0001 && x != 0) {
        return x > 0 ? NumberForm::ExponentPositive : NumberForm::ExponentNegative;
    }
    return NumberForm::Fixed;  // 0 and NaN included
}

const char* PrintfFormat(NumberForm form, bool padded) {
    switch (form) {
        case NumberForm::ExponentPositive:
            return padded ? "%013.6le" : "%13.6le";
        case NumberForm::ExponentNegative:
            return padded ? "%012.5le" : "%12.5le";
        case NumberForm::Fixed:
            break;
    }
    return padded ? "%013.6lf" : "%13.6lf";
}

}  // namespace

std::string FormatNumberA(int padded, double value) {
    const char* format = PrintfFormat(ChooseForm(value), padded != 0);
    char buffer[64];
    int length = std::snprintf(buffer, sizeof buffer, format, value);
    if (length < 0) return std::string();
    if (static_cast<size_t>(length) < sizeof buffer)
        return std::string(buffer, static_cast<size_t>(length));
    // No value chosen for these formats gets this long; kept so that none can be cut.
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, value);
    text.resize(static_cast<size_t>(length));
    return text;
}

std::wstring FormatNumber(double value) {
    return NarrowToWide(FormatNumberA(1, value));
}

double Real48ToDouble(const uint8_t* bytes) {
    if (bytes[0] == 0) return 0.0;
    double mantissa = static_cast<double>(bytes[5] & 0x7F) * 4294967296.0 +
                      static_cast<double>(bytes[4]) * 16777216.0 +
                      static_cast<double>(bytes[3]) * 65536.0 +
                      static_cast<double>(bytes[2]) * 256.0 + static_cast<double>(bytes[1]);
    double value = (1.0 + mantissa / 549755813888.0) * std::pow(2.0, bytes[0] - 129);
    return (bytes[5] & 0x80) ? -value : value;
}
