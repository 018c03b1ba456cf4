#pragma once
// Number literals of the expression language: exactly the value and the characters strtod takes.
#include <cstdint>

#include "expr/characters.h"

namespace ovra {

// A literal's value and the first character after it; `end` is where reading began when nothing forms a number.
struct NumberRead {
    double value;
    const char* end;
};

// The general reader: exponents, hex forms, long digit strings; the same value and length as strtod.
NumberRead ReadAnyNumber(const char* at);

// Powers of ten that a double holds exactly.
inline constexpr double ExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                              1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The digit's value, or 10 and above for any other character.
inline uint32_t DigitValue(char c) { return static_cast<uint32_t>(static_cast<unsigned char>(c)) - '0'; }

// Reads the literal at `at` (a digit or '.').
inline NumberRead ReadNumber(const char* at) {
    // Most literals are short plain decimals. With at most 15 digits the mantissa and the power of ten are both
    // exact doubles, so one division is strtod's correctly rounded value; strtod stops where they stop unless
    // an exponent, a hex prefix or more digits follow.
    constexpr int32_t FastDigits = 15;
    const char* p = at;
    int64_t mantissa = 0;  // signed converts to double in one instruction
    for (uint32_t d; p != at + FastDigits && (d = DigitValue(*p)) < 10; ++p) mantissa = mantissa * 10 + d;
    int32_t fraction = 0;
    if (*p == '.') {
        const char* const first = ++p;
        const char* const limit = at + FastDigits + 1;  // the point is not a digit
        for (uint32_t d; p != limit && (d = DigitValue(*p)) < 10; ++p) mantissa = mantissa * 10 + d;
        fraction = static_cast<int32_t>(p - first);
        if (fraction == 0 && first == at + 1) return ReadAnyNumber(at);  // a lone "."
    }
    if (Is(*p, NumberGoesOn)) return ReadAnyNumber(at);
    const double whole = static_cast<double>(mantissa);
    return {fraction != 0 ? whole / ExactPowersOfTen[fraction] : whole, p};  // whole numbers skip the division
}

}  // namespace ovra
