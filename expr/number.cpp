#include "expr/number.h"

#include <cstdint>
#include <cstdlib>

namespace ovra {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Powers of ten that a double holds exactly.
constexpr double exactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                       1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

}  // namespace

const char* ReadAnyNumber(const char* at, double& value) {
    // Fast path for plain decimals: a mantissa below 2^53 divided by an exact power of ten is one correctly
    // rounded operation on exact operands, so it equals strtod's correctly rounded result. Exponents, hex forms
    // and long digit strings go to strtod itself.
    const char* p = at;
    uint64_t mantissa = 0;
    int32_t significant = 0;
    int32_t fractionDigits = 0;
    bool anyDigit = false;
    for (; IsDigit(*p); ++p) {
        anyDigit = true;
        if (mantissa != 0 || *p != '0') ++significant;
        if (significant <= 19) mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
    }
    if (*p == '.') {
        ++p;
        for (; IsDigit(*p); ++p) {
            anyDigit = true;
            ++fractionDigits;
            if (mantissa != 0 || *p != '0') ++significant;
            if (significant <= 19) mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
        }
    }
    if (!anyDigit) {
        value = 0.0;
        return at;
    }
    const bool slowForm = *p == 'e' || *p == 'E' || *p == 'x' || *p == 'X';
    if (!slowForm && significant <= 19 && mantissa <= (uint64_t{1} << 53) && fractionDigits <= 22) {
        value = static_cast<double>(mantissa) / exactPowersOfTen[fractionDigits];
        return p;
    }
    char* end = nullptr;
    value = std::strtod(at, &end);
    return end;
}

}  // namespace ovra
