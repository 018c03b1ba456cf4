#pragma once
// Number literals of the expression language: exactly the value and the characters strtod takes.
#include <cstdint>

namespace ovra {

// The general reader: decimals with a fraction or an exponent, hex forms, long digit strings.
const char* ReadAnyNumber(const char* at, double& value);

// Reads the literal at `at` (a digit or '.'). Returns the first unread character: `at` itself when nothing
// forms a number.
inline const char* ReadNumber(const char* at, double& value) {
    // Most literals are short integers: up to 15 digits are exact, and strtod stops where they stop unless a
    // fraction, an exponent or a hex prefix follows.
    const char* p = at;
    uint64_t whole = 0;
    while (static_cast<unsigned char>(*p - '0') < 10 && p - at < 15) whole = whole * 10 + static_cast<uint64_t>(*p++ - '0');
    const char c = *p;
    const bool goesOn = static_cast<unsigned char>(c - '0') < 10 || c == '.' || (c | 0x20) == 'e' || (c | 0x20) == 'x';
    if (p == at || goesOn) return ReadAnyNumber(at, value);
    value = static_cast<double>(whole);
    return p;
}

}  // namespace ovra
