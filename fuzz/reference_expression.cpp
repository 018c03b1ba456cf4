#include "fuzz/reference_expression.h"

#include <cmath>
#include <cstring>

#include "expr/number.h"

// The oracle for differential fuzzing: the plainest reading of the language, one function per precedence
// level, skipping whitespace wherever a level looks. The product evaluator must agree with it bit for bit.

namespace ovra::reference {
namespace {

// Deep enough for any sensible formula, shallow enough for the stack of a sanitizer build.
constexpr int32_t MaxDepth = 512;
constexpr int32_t MaxNameLength = 63;

struct EvaluatorState {
    const Tool& tool;
    const double* inputValues;
    const double* outputValues;
    const char* cursor;
    int32_t error;
    int32_t depth;
    bool tooDeep;
};

double Conditional(EvaluatorState& s);
double Unary(EvaluatorState& s);

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsNameChar(char c) { return IsLetter(c) || IsDigit(c); }

void SkipSpace(EvaluatorState& s) {
    while (IsSpace(*s.cursor)) ++s.cursor;
}

// Consumes the two-character operator `a` `b` when it stands at the cursor.
bool AcceptPair(EvaluatorState& s, char a, char b) {
    if (s.cursor[0] != a || s.cursor[1] != b) return false;
    s.cursor += 2;
    return true;
}

void Fail(EvaluatorState& s) { s.error = 1; }

double Truth(bool b) { return b ? 1.0 : 0.0; }

// The depth bound counts parentheses, unary operators and "^" operands; past it the text fails with 0.0.
bool Enter(EvaluatorState& s) {
    if (++s.depth > MaxDepth) s.tooDeep = true;
    if (s.tooDeep) Fail(s);
    return !s.tooDeep;
}
void Leave(EvaluatorState& s) { --s.depth; }

// Expects ")" after whitespace; without it the flag is set and the cursor stays.
void ExpectClose(EvaluatorState& s) {
    SkipSpace(s);
    if (*s.cursor == ')') ++s.cursor;
    else Fail(s);
}

struct Function1 {
    const char* name;
    double (*apply)(EvaluatorState&, double);
};
struct Function2 {
    const char* name;
    double (*apply)(EvaluatorState&, double, double);
};

double FailWithZero(EvaluatorState& s) {
    Fail(s);
    return 0.0;
}

// Compared in this order. Domain tests are ordered comparisons, so a NaN passes them.
const Function1 functions1[] = {
    {"sqrt", [](EvaluatorState& s, double x) { return x < 0 ? FailWithZero(s) : std::sqrt(x); }},
    {"abs", [](EvaluatorState&, double x) { return std::fabs(x); }},
    {"log", [](EvaluatorState& s, double x) { return x <= 0 ? FailWithZero(s) : std::log(x); }},
    {"log10", [](EvaluatorState& s, double x) { return x <= 0 ? FailWithZero(s) : std::log10(x); }},
    {"exp", [](EvaluatorState&, double x) { return std::exp(x); }},
    {"floor", [](EvaluatorState&, double x) { return std::floor(x); }},
    {"ceil", [](EvaluatorState&, double x) { return std::ceil(x); }},
    {"round", [](EvaluatorState&, double x) { return std::floor(x + 0.5); }},
    {"cbrt",
     [](EvaluatorState&, double x) { return x >= 0 ? std::pow(x, 1.0 / 3.0) : -std::pow(-x, 1.0 / 3.0); }},
    {"sign", [](EvaluatorState&, double x) { return x > 0 ? 1.0 : x < 0 ? -1.0 : 0.0; }},
};

const Function2 functions2[] = {
    {"min", [](EvaluatorState&, double a, double b) { return a < b ? a : b; }},
    {"max", [](EvaluatorState&, double a, double b) { return a > b ? a : b; }},
    {"pow", [](EvaluatorState&, double a, double b) { return std::pow(a, b); }},
    {"mod", [](EvaluatorState& s, double a, double b) { return b == 0 ? FailWithZero(s) : std::fmod(a, b); }},
};

// call := name "(" conditional [ "," conditional ] ")"      (the cursor stands after the "(")
double Call(EvaluatorState& s, const char* name) {
    const double a = Conditional(s);
    SkipSpace(s);
    if (*s.cursor == ',') {
        ++s.cursor;
        const double b = Conditional(s);
        ExpectClose(s);
        for (const Function2& f : functions2) {
            if (std::strcmp(name, f.name) == 0) return f.apply(s, a, b);
        }
        return FailWithZero(s);
    }
    ExpectClose(s);
    for (const Function1& f : functions1) {
        if (std::strcmp(name, f.name) == 0) return f.apply(s, a);
    }
    return FailWithZero(s);
}

// An input hides an output of the same name; an unknown name fails.
double Variable(EvaluatorState& s, const char* name) {
    for (int32_t i = 0; i < s.tool.inputCount; ++i) {
        if (std::strcmp(name, s.tool.inputs[i].name) == 0) return s.inputValues[i];
    }
    for (int32_t j = 0; j < s.tool.outputCount; ++j) {
        if (std::strcmp(name, s.tool.outputs[j].name) == 0) return s.outputValues[j];
    }
    return FailWithZero(s);
}

// name := letter { letter | digit }, at most 63 read; longer names leave their tail in the text.
double Name(EvaluatorState& s) {
    char name[MaxNameLength + 1];
    int32_t n = 0;
    while (n < MaxNameLength && IsNameChar(*s.cursor)) name[n++] = *s.cursor++;
    name[n] = '\0';
    SkipSpace(s);
    if (*s.cursor == '(') {
        ++s.cursor;
        return Call(s, name);
    }
    return Variable(s, name);
}

// primary := "(" conditional ")" | number | name | call
double Primary(EvaluatorState& s) {
    const char c = *s.cursor;
    if (c == '(') {
        ++s.cursor;
        const double inner = Conditional(s);
        ExpectClose(s);
        return inner;
    }
    if (IsDigit(c) || c == '.') {
        const NumberRead number = ReadNumber(s.cursor);
        if (number.end == s.cursor) return FailWithZero(s);
        s.cursor = number.end;
        return number.value;
    }
    if (IsLetter(c)) return Name(s);
    return FailWithZero(s);  // end of text included; the cursor stays
}

// unary := ( "-" | "+" | "!" ) unary | primary
double Unary(EvaluatorState& s) {
    if (!Enter(s)) return 0.0;
    double value;
    SkipSpace(s);
    while (*s.cursor == '+') {
        ++s.cursor;
        SkipSpace(s);
    }
    if (*s.cursor == '-') {
        ++s.cursor;
        value = -Unary(s);
    } else if (*s.cursor == '!') {
        ++s.cursor;
        value = Truth(Unary(s) == 0.0);
    } else {
        value = Primary(s);
    }
    Leave(s);
    return value;
}

// power := unary [ "^" power ]
double Power(EvaluatorState& s) {
    const double base = Unary(s);
    SkipSpace(s);
    if (*s.cursor != '^') return base;
    ++s.cursor;
    if (!Enter(s)) return 0.0;
    const double exponent = Power(s);
    Leave(s);
    return std::pow(base, exponent);
}

// multiplicative := power { ( "*" | "/" | "%" ) power }; "**" ends the level in front of itself
double Multiplicative(EvaluatorState& s) {
    double value = Power(s);
    for (;;) {
        SkipSpace(s);
        const char op = *s.cursor;
        if (op == '*' && s.cursor[1] != '*') {
            ++s.cursor;
            value *= Power(s);
        } else if (op == '/' || op == '%') {
            ++s.cursor;
            const double right = Power(s);
            // A zero divisor ends the level with 0.0, dropping what was accumulated.
            if (right == 0.0) return FailWithZero(s);
            value = op == '/' ? value / right : std::fmod(value, right);
        } else {
            return value;
        }
    }
}

// additive := multiplicative { ( "+" | "-" ) multiplicative }
double Additive(EvaluatorState& s) {
    double value = Multiplicative(s);
    for (;;) {
        SkipSpace(s);
        const char op = *s.cursor;
        if (op != '+' && op != '-') return value;
        ++s.cursor;
        const double right = Multiplicative(s);
        value = op == '+' ? value + right : value - right;
    }
}

// comparison := additive [ ( "<=" | ">=" | "==" | "!=" | "<" | ">" ) additive ]; comparisons do not chain
double Comparison(EvaluatorState& s) {
    const double left = Additive(s);
    SkipSpace(s);
    if (AcceptPair(s, '<', '=')) return Truth(left <= Additive(s));
    if (AcceptPair(s, '>', '=')) return Truth(left >= Additive(s));
    if (AcceptPair(s, '=', '=')) return Truth(left == Additive(s));
    if (AcceptPair(s, '!', '=')) return Truth(left != Additive(s));
    const char op = *s.cursor;
    if (op != '<' && op != '>') return left;
    ++s.cursor;
    const double right = Additive(s);
    return Truth(op == '<' ? left < right : left > right);
}

// and := comparison { "&&" comparison }
double And(EvaluatorState& s) {
    double value = Comparison(s);
    for (;;) {
        SkipSpace(s);
        if (!AcceptPair(s, '&', '&')) return value;
        const double right = Comparison(s);
        value = Truth(value != 0.0 && right != 0.0);
    }
}

// or := and { "||" and }
double Or(EvaluatorState& s) {
    double value = And(s);
    for (;;) {
        SkipSpace(s);
        if (!AcceptPair(s, '|', '|')) return value;
        const double right = And(s);
        value = Truth(value != 0.0 || right != 0.0);
    }
}

// conditional := or [ "?" conditional ":" conditional ]; both branches are evaluated
double Conditional(EvaluatorState& s) {
    const double condition = Or(s);
    SkipSpace(s);
    if (*s.cursor != '?') return condition;
    ++s.cursor;
    const double whenTrue = Conditional(s);
    SkipSpace(s);
    if (*s.cursor == ':') ++s.cursor;
    else Fail(s);
    const double whenFalse = Conditional(s);
    return condition != 0.0 ? whenTrue : whenFalse;
}

}  // namespace

double EvaluateExpressionReference(const Tool& tool, const char* text, const double* inputValues,
                          const double* outputValues, int32_t& error) {
    if (text == nullptr || text[0] == '\0') {
        error = 1;
        return 0.0;
    }
    EvaluatorState s{tool, inputValues, outputValues, text, 0, 0, false};
    double value = Conditional(s);
    if (s.tooDeep) value = 0.0;
    SkipSpace(s);
    error = (*s.cursor != '\0' || s.error != 0 || !std::isfinite(value)) ? 1 : 0;
    return value;
}

}  // namespace ovra::reference
