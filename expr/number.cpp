#include "expr/number.h"

#include <cstdint>
#include <cstdlib>

namespace ovra {

NumberRead ReadAnyNumber(const char* at) {
    // Plain decimals with leading zeros or long fractions: a mantissa below 2^53 divided by an exact power of
    // ten is still one correctly rounded operation on exact operands. Exponents, hex forms and long digit
    // strings go to strtod itself.
    const char* p = at;
    uint64_t mantissa = 0;
    int32_t significant = 0;
    int32_t fractionDigits = 0;
    bool anyDigit = false;
    for (; DigitValue(*p) < 10; ++p) {
        anyDigit = true;
        if (mantissa != 0 || *p != '0') ++significant;
        if (significant <= 19) mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
    }
    if (*p == '.') {
        ++p;
        for (; DigitValue(*p) < 10; ++p) {
            anyDigit = true;
            ++fractionDigits;
            if (mantissa != 0 || *p != '0') ++significant;
            if (significant <= 19) mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
        }
    }
    if (!anyDigit) return {0.0, at};
    const bool slowForm = *p == 'e' || *p == 'E' || *p == 'x' || *p == 'X';
    if (!slowForm && significant <= 19 && mantissa <= (uint64_t{1} << 53) && fractionDigits <= 22) {
        return {static_cast<double>(mantissa) / ExactPowersOfTen[fractionDigits], p};
    }
    char* end = nullptr;
    const double value = std::strtod(at, &end);
    return {value, end};
}

}  // namespace ovra
