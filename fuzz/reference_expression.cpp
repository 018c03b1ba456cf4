#include "fuzz/reference_expression.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>

// The oracle for differential fuzzing, written from the language's definition with another technique than the
// engine's: a Pratt reader (one loop over binding powers, operators found in a table), whitespace skipped in
// front of each token, names compared where they stand, numbers read by strtod itself, and a function table
// of its own. Where the two disagree, one of them is wrong.

namespace ovra::reference {
namespace {

constexpr int MaxDepth = 512;
constexpr int MaxNameLength = 63;

// Binding powers, loosest first; an infix operator binds its left operand when its power exceeds the caller's.
enum Power { Outside, Choice, Either, Both, Compare, Sum, Product, Raise };

enum class Op { Choose, Or, And, LessEqual, GreaterEqual, Equal, NotEqual, Less, Greater, Add, Subtract,
                Multiply, Divide, Remainder, Raise };

struct Infix {
    const char* spelling;
    Op op;
    Power power;
};

// Two-character spellings first, so that "<=" is not read as "<".
const Infix infixes[] = {
    {"||", Op::Or, Either},
    {"&&", Op::And, Both},
    {"<=", Op::LessEqual, Compare},
    {">=", Op::GreaterEqual, Compare},
    {"==", Op::Equal, Compare},
    {"!=", Op::NotEqual, Compare},
    {"<", Op::Less, Compare},
    {">", Op::Greater, Compare},
    {"+", Op::Add, Sum},
    {"-", Op::Subtract, Sum},
    {"*", Op::Multiply, Product},
    {"/", Op::Divide, Product},
    {"%", Op::Remainder, Product},
    {"^", Op::Raise, Raise},
    {"?", Op::Choose, Choice},
};

// The language's own list, in its order; a name with the other arity is no function.
enum class Builtin { Sqrt, Abs, Log, Log10, Exp, Floor, Ceil, Round, Cbrt, Sign, Min, Max, Pow, Mod };
struct Named {
    const char* name;
    int arguments;
    Builtin builtin;
};
const Named builtins[] = {
    {"sqrt", 1, Builtin::Sqrt},
    {"abs", 1, Builtin::Abs},
    {"log", 1, Builtin::Log},
    {"log10", 1, Builtin::Log10},
    {"exp", 1, Builtin::Exp},
    {"floor", 1, Builtin::Floor},
    {"ceil", 1, Builtin::Ceil},
    {"round", 1, Builtin::Round},
    {"cbrt", 1, Builtin::Cbrt},
    {"sign", 1, Builtin::Sign},
    {"min", 2, Builtin::Min},
    {"max", 2, Builtin::Max},
    {"pow", 2, Builtin::Pow},
    {"mod", 2, Builtin::Mod},
};

struct Reader {
    const Tool& tool;
    const double* inputs;
    const double* outputs;
    const char* at;
    bool failed;
    int depth;
    bool tooDeep;
};

double Expression(Reader& r, int power);

bool IsWhite(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool IsNameStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '_'; }
bool IsNamePart(char c) { return IsNameStart(c) || std::isdigit(static_cast<unsigned char>(c)) != 0; }

const char* White(Reader& r) {
    while (IsWhite(*r.at)) ++r.at;
    return r.at;
}

double Failed(Reader& r) {
    r.failed = true;
    return 0.0;
}

bool Take(Reader& r, char c) {
    if (*White(r) != c) return false;
    ++r.at;
    return true;
}

bool Deeper(Reader& r) {
    if (r.tooDeep || ++r.depth > MaxDepth) r.tooDeep = true;
    return !r.tooDeep;
}

const Infix* InfixAt(const char* at) {
    if (at[0] == '*' && at[1] == '*') return nullptr;  // "**" is no operator
    for (const Infix& infix : infixes) {
        const size_t n = std::strlen(infix.spelling);
        if (std::strncmp(at, infix.spelling, n) == 0) return &infix;
    }
    return nullptr;
}

double Apply(Reader& r, Builtin b, double x, double y) {
    switch (b) {
        case Builtin::Sqrt: return x < 0 ? Failed(r) : std::sqrt(x);
        case Builtin::Abs: return std::copysign(x, 1.0);
        case Builtin::Log: return x <= 0 ? Failed(r) : std::log(x);
        case Builtin::Log10: return x <= 0 ? Failed(r) : std::log10(x);
        case Builtin::Exp: return std::exp(x);
        case Builtin::Floor: return std::floor(x);
        case Builtin::Ceil: return std::ceil(x);
        case Builtin::Round: return std::floor(x + 0.5);
        case Builtin::Cbrt: {
            const double third = 1.0 / 3.0;
            return x < 0 ? -std::pow(-x, third) : std::pow(x, third);  // NaN is not below zero
        }
        case Builtin::Sign: return x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0);
        case Builtin::Min: return x < y ? x : y;
        case Builtin::Max: return x > y ? x : y;
        case Builtin::Pow: return std::pow(x, y);
        case Builtin::Mod: return y == 0 ? Failed(r) : std::fmod(x, y);
    }
    return Failed(r);
}

bool SameName(const char* defined, const char* name, size_t length) {
    return std::strlen(defined) == length && std::memcmp(defined, name, length) == 0;
}

// A name stands at r.at: a call when "(" follows it, else a variable.
double NameOperand(Reader& r) {
    const char* const name = r.at;
    size_t length = 0;
    while (length < MaxNameLength && IsNamePart(name[length])) ++length;
    r.at += length;
    if (Take(r, '(')) {
        if (!Deeper(r)) return 0.0;
        const double x = Expression(r, Outside);
        const bool pair = Take(r, ',');
        const double y = pair ? Expression(r, Outside) : 0.0;
        --r.depth;
        if (!Take(r, ')')) r.failed = true;
        for (const Named& f : builtins) {
            if (f.arguments == (pair ? 2 : 1) && SameName(f.name, name, length)) return Apply(r, f.builtin, x, y);
        }
        return Failed(r);
    }
    for (int32_t i = 0; i < r.tool.inputCount; ++i) {
        if (SameName(r.tool.inputs[i].name, name, length)) return r.inputs[i];
    }
    for (int32_t i = 0; i < r.tool.outputCount; ++i) {
        if (SameName(r.tool.outputs[i].name, name, length)) return r.outputs[i];
    }
    return Failed(r);
}

// What stands where an operand is due: prefix operators, parentheses, numbers and names.
double Operand(Reader& r) {
    while (Take(r, '+')) {
    }
    const char c = *White(r);
    if (c == '-' || c == '!' || c == '(') {
        ++r.at;
        if (!Deeper(r)) return 0.0;
        double value = 0.0;
        if (c == '(') {
            value = Expression(r, Outside);
            if (!Take(r, ')')) r.failed = true;
        } else {
            const double operand = Operand(r);
            value = c == '-' ? -operand : (operand == 0.0 ? 1.0 : 0.0);
        }
        --r.depth;
        return value;
    }
    if (std::isdigit(static_cast<unsigned char>(c)) != 0 || c == '.') {
        char* end = nullptr;
        const double value = std::strtod(r.at, &end);
        if (end == r.at) return Failed(r);
        r.at = end;
        return value;
    }
    if (IsNameStart(c)) return NameOperand(r);
    return Failed(r);
}

double Truth(bool b) { return b ? 1.0 : 0.0; }

// Reads an operand and every infix operator that binds tighter than `power`. `ceiling` is the loosest power
// still open to the value read so far: a comparison takes no second comparison, a zero divisor ends the
// product, and a choice takes nothing after it.
double Expression(Reader& r, int power) {
    double left = Operand(r);
    int ceiling = Raise;
    for (;;) {
        const Infix* infix = InfixAt(White(r));
        if (infix == nullptr || infix->power <= power || infix->power > ceiling) return left;
        r.at += std::strlen(infix->spelling);
        if (infix->op == Op::Choose || infix->op == Op::Raise) {
            if (!Deeper(r)) return 0.0;
            if (infix->op == Op::Raise) {
                left = std::pow(left, Expression(r, Product));  // right-associative
            } else {
                const double yes = Expression(r, Outside);
                if (!Take(r, ':')) r.failed = true;
                const double no = Expression(r, Outside);
                left = left != 0.0 ? yes : no;
                ceiling = Outside;
            }
            --r.depth;
            continue;
        }
        const double right = Expression(r, infix->power);
        ceiling = infix->power;
        switch (infix->op) {
            case Op::Or: left = Truth(left != 0.0 || right != 0.0); break;
            case Op::And: left = Truth(left != 0.0 && right != 0.0); break;
            case Op::LessEqual: left = Truth(left <= right), ceiling = Both; break;
            case Op::GreaterEqual: left = Truth(left >= right), ceiling = Both; break;
            case Op::Equal: left = Truth(left == right), ceiling = Both; break;
            case Op::NotEqual: left = Truth(left != right), ceiling = Both; break;
            case Op::Less: left = Truth(left < right), ceiling = Both; break;
            case Op::Greater: left = Truth(left > right), ceiling = Both; break;
            case Op::Add: left += right; break;
            case Op::Subtract: left -= right; break;
            case Op::Multiply: left *= right; break;
            case Op::Divide:
            case Op::Remainder:
                if (right == 0.0) {
                    left = Failed(r);
                    ceiling = Sum;
                } else {
                    left = infix->op == Op::Divide ? left / right : std::fmod(left, right);
                }
                break;
            case Op::Choose:
            case Op::Raise: break;
        }
    }
}

}  // namespace

double EvaluateExpressionReference(const Tool& tool, const char* text, const double* inputValues,
                                   const double* outputValues, int32_t& error) {
    error = 1;
    if (text == nullptr || *text == '\0') return 0.0;
    Reader r{tool, inputValues, outputValues, text, false, 0, false};
    const double value = Expression(r, Outside);
    if (r.tooDeep) return 0.0;
    const bool whole = *White(r) == '\0';
    if (whole && !r.failed && std::isfinite(value)) error = 0;
    return value;
}

}  // namespace ovra::reference
