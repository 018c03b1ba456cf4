#include "expr/functions.h"

#include <cmath>
#include <cstring>

namespace ovra {
namespace {

double Fail(int32_t& error) {
    error = 1;
    return 0.0;
}

constexpr double oneThird = 1.0 / 3.0;  // the language's cube root is a power, not a cube-root routine

}  // namespace

// Sorted by name, each name once: the lookup stops at the first row past the name it seeks. Domain tests are
// ordered comparisons, so a NaN passes them.
static const Function functions[] = {
    {"abs", 1, [](double x, double, int32_t&) { return std::fabs(x); }},
    {"cbrt", 1, [](double x, double, int32_t&) { return x >= 0 ? std::pow(x, oneThird) : -std::pow(-x, oneThird); }},
    {"ceil", 1, [](double x, double, int32_t&) { return std::ceil(x); }},
    {"exp", 1, [](double x, double, int32_t&) { return std::exp(x); }},
    {"floor", 1, [](double x, double, int32_t&) { return std::floor(x); }},
    {"log", 1, [](double x, double, int32_t& error) { return x <= 0 ? Fail(error) : std::log(x); }},
    {"log10", 1, [](double x, double, int32_t& error) { return x <= 0 ? Fail(error) : std::log10(x); }},
    {"max", 2, [](double a, double b, int32_t&) { return a > b ? a : b; }},
    {"min", 2, [](double a, double b, int32_t&) { return a < b ? a : b; }},
    {"mod", 2, [](double a, double b, int32_t& error) { return b == 0 ? Fail(error) : std::fmod(a, b); }},
    {"pow", 2, [](double a, double b, int32_t&) { return std::pow(a, b); }},
    {"round", 1, [](double x, double, int32_t&) { return std::floor(x + 0.5); }},
    {"sign", 1, [](double x, double, int32_t&) { return x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0); }},
    {"sqrt", 1, [](double x, double, int32_t& error) { return x < 0 ? Fail(error) : std::sqrt(x); }},
};

std::span<const Function> BuiltInFunctions() { return functions; }

const Function* FindFunction(const char* name, int32_t arity) {
    for (const Function& f : functions) {
        const int order = std::strcmp(f.name, name);
        if (order > 0) break;
        if (order == 0) return f.arity == arity ? &f : nullptr;
    }
    return nullptr;
}

}  // namespace ovra
