#pragma once
// Character classes of the expression language, as the default locale sees them: no byte above 0x7F is a
// letter, digit or space.
#include <cstdint>
#include <initializer_list>

namespace ovra {

enum CharClass : uint8_t {
    Space = 1,       // only these four: vertical tab and form feed are not whitespace here
    Letter = 2,      // letters and "_"
    Digit = 4,
    NumberStart = 8,   // a digit or "."
    NumberGoesOn = 16  // what may continue a number past a plain decimal: a digit, ".", an exponent, a hex "x"
};

inline constexpr auto CharClasses = [] {
    struct Table {
        uint8_t of[256];
    } table{};
    for (int c = 'a'; c <= 'z'; ++c) table.of[c] = Letter;
    for (int c = 'A'; c <= 'Z'; ++c) table.of[c] = Letter;
    for (int c = '0'; c <= '9'; ++c) table.of[c] = Digit | NumberStart | NumberGoesOn;
    table.of[static_cast<int>('_')] = Letter;
    table.of[static_cast<int>('.')] = NumberStart | NumberGoesOn;
    for (const char c : {'e', 'E', 'x', 'X'}) table.of[static_cast<unsigned char>(c)] |= NumberGoesOn;
    for (const char c : {' ', '\t', '\n', '\r'}) table.of[static_cast<unsigned char>(c)] |= Space;
    return table;
}();

inline bool Is(char c, uint8_t classes) { return (CharClasses.of[static_cast<unsigned char>(c)] & classes) != 0; }

}  // namespace ovra
