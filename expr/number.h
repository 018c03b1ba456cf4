#pragma once
// Number literals of the expression language: exactly the value and the characters strtod takes.
#include <cstdint>

#include "expr/characters.h"

namespace ovra {

// The general reader: exponents, hex forms, long digit strings; the same value and length as strtod.
const char* ReadAnyNumber(const char* at, double& value);

// Powers of ten that a double holds exactly.
inline constexpr double ExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                              1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

inline bool IsDecimalDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

// Reads the literal at `at` (a digit or '.'). Returns the first unread character: `at` itself when nothing
// forms a number.
inline const char* ReadNumber(const char* at, double& value) {
    // Most literals are short plain decimals. With at most 15 digits the mantissa and the power of ten are both
    // exact doubles, so one division is strtod's correctly rounded value; strtod stops where they stop unless
    // an exponent, a hex prefix or more digits follow.
    const char* p = at;
    uint64_t mantissa = 0;
    int32_t digits = 0;
    int32_t fraction = 0;
    for (; IsDecimalDigit(*p) && digits < 15; ++p, ++digits) mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
    if (*p == '.') {
        for (++p; IsDecimalDigit(*p) && digits < 15; ++p, ++digits, ++fraction) {
            mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
        }
    }
    if (digits == 0 || Is(*p, NumberGoesOn)) {
        return ReadAnyNumber(at, value);
    }
    value = static_cast<double>(mantissa);
    if (fraction != 0) value /= ExactPowersOfTen[fraction];  // a division is slow; whole numbers skip it
    return p;
}

}  // namespace ovra
