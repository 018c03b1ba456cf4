#include "expr/number.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace ovra {
namespace {

// ReadNumber must agree with strtod bit for bit and in the characters it consumes.
void ExpectSameAsStrtod(const std::string& text) {
    const NumberRead read = ReadNumber(text.c_str());
    const double fast = read.value;
    const char* end = read.end;
    char* strtodEnd = nullptr;
    const double slow = std::strtod(text.c_str(), &strtodEnd);
    EXPECT_EQ(end - text.c_str(), strtodEnd - text.c_str()) << text;
    if (end != text.c_str()) {
        EXPECT_EQ(std::memcmp(&fast, &slow, sizeof fast), 0) << text;
    }
}

TEST(Number, HandPickedFormsMatchStrtod) {
    const char* texts[] = {"0",      "7",        "60",       "130.0",  "0.1",          "3.25",     "5.",
                           ".5",     "00012",    "1e3",      "2e",     "2.5E-2",       "0x1F",     "0X1f.8p1",
                           "0x",     "1.5.5",    "9007199254740992",   "9007199254740993",     "0.30000000000000004",
                           "1e999",  "1e-400",   "123456789012345678901234567890", "0.0000000000000000000001",
                           "0.00000000000000000000001", "4.9406564584124654e-324", "1.7976931348623157e308",
                           "99999999999999999999", "18446744073709551616", "1.2e+", "1e-", ".e1", "9.e1x"};
    for (const char* text : texts) ExpectSameAsStrtod(text);
}

TEST(Number, RandomDecimalsMatchStrtod) {
    std::mt19937_64 random(146);
    std::uniform_int_distribution<int> length(1, 24);
    std::uniform_int_distribution<int> digit(0, 9);
    for (int i = 0; i < 200000; ++i) {
        std::string text;
        const int integerDigits = length(random) % 18;
        for (int k = 0; k < integerDigits; ++k) text += static_cast<char>('0' + digit(random));
        if (random() % 2 == 0 || integerDigits == 0) {
            text += '.';
            const int fractionDigits = length(random);
            for (int k = 0; k < fractionDigits; ++k) text += static_cast<char>('0' + digit(random));
        }
        if (random() % 8 == 0) text += "e" + std::to_string(static_cast<int>(random() % 40) - 20);
        text += "+x";
        ExpectSameAsStrtod(text);
    }
}

}  // namespace
}  // namespace ovra
