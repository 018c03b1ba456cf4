#pragma once
// The built-in functions of the expression language.
#include <cstdint>
#include <span>

namespace ovra {

struct Function {
    const char* name;
    int32_t arity;  // 1 or 2; each name has one, so "sqrt(4, 2)" and "min(3)" find no function
    // A one-argument function ignores b. A failure sets error and yields 0.0.
    double (*apply)(double a, double b, int32_t& error);
};

// Every built-in function, sorted by name with each name once.
std::span<const Function> BuiltInFunctions();

// The function of that name and arity, or nullptr; names are compared exactly and case-sensitively.
const Function* FindFunction(const char* name, int32_t arity);

}  // namespace ovra
