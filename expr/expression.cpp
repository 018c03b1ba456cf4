#include "expr/expression.h"

#include <cmath>
#include <cstring>

#include "expr/characters.h"
#include "expr/functions.h"
#include "expr/number.h"

// A recursive-descent parser that evaluates while it reads: one function per precedence level, lowest first,
// each headed by its rule. Every operand is evaluated, every failure only sets the flag, and the cursor only
// moves forward. Whitespace is skipped after every token, so the cursor always rests on the next token.

namespace ovra {
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
    bool tooDeep;  // the text then fails with 0.0, whatever the rest of it gives
};

double Conditional(EvaluatorState& s);

void SkipSpace(EvaluatorState& s) {
    while (Is(*s.cursor, Space)) ++s.cursor;
}

// Moves past a token of `length` characters and the whitespace after it.
void Next(EvaluatorState& s, int32_t length) {
    s.cursor += length;
    SkipSpace(s);
}

// Consumes the operator `op` (or `op` `second`) when it stands at the cursor.
bool Accept(EvaluatorState& s, char op, char second = '\0') {
    if (s.cursor[0] != op || (second != '\0' && s.cursor[1] != second)) return false;
    Next(s, second != '\0' ? 2 : 1);
    return true;
}

double Fail(EvaluatorState& s) {
    s.error = 1;
    return 0.0;
}

// `close` must follow; without it the flag is set and the cursor stays.
void Expect(EvaluatorState& s, char close) {
    if (!Accept(s, close)) Fail(s);
}

double Truth(bool b) { return b ? 1.0 : 0.0; }

// Parentheses, calls, conditional branches, unary operators and "^" operands each nest one level deeper. A text
// nested past the bound fails, instead of running out of stack.
bool EnterLevel(EvaluatorState& s) {
    if (s.depth == MaxDepth) {
        s.tooDeep = true;
        Fail(s);
        return false;
    }
    ++s.depth;
    return true;
}

void LeaveLevel(EvaluatorState& s) { --s.depth; }

// An input hides an output of the same name; an unknown name fails.
double Variable(EvaluatorState& s, const char* name) {
    for (int32_t i = 0; i < s.tool.inputCount; ++i) {
        if (std::strcmp(name, s.tool.inputs[i].name) == 0) return s.inputValues[i];
    }
    for (int32_t j = 0; j < s.tool.outputCount; ++j) {
        if (std::strcmp(name, s.tool.outputs[j].name) == 0) return s.outputValues[j];
    }
    return Fail(s);
}

// call := name "(" conditional [ "," conditional ] ")"      (the cursor stands after the "(")
// The function is applied even when an argument failed.
double Call(EvaluatorState& s, const char* name) {
    if (!EnterLevel(s)) return 0.0;
    const double a = Conditional(s);
    const bool two = Accept(s, ',');
    const double b = two ? Conditional(s) : 0.0;
    LeaveLevel(s);
    Expect(s, ')');
    const Function* function = FindFunction(name, two ? 2 : 1);
    return function != nullptr ? function->apply(a, b, s.error) : Fail(s);
}

// name := letter { letter | digit }      at most 63 read; a longer name leaves its tail in the text
double NameOrCall(EvaluatorState& s) {
    char name[MaxNameLength + 1];
    int32_t length = 0;
    while (length < MaxNameLength && Is(*s.cursor, Letter | Digit)) name[length++] = *s.cursor++;
    name[length] = '\0';
    SkipSpace(s);
    return Accept(s, '(') ? Call(s, name) : Variable(s, name);
}

// primary := "(" conditional ")" | number | name | call
double Primary(EvaluatorState& s) {
    if (Accept(s, '(')) {
        if (!EnterLevel(s)) return 0.0;
        const double inner = Conditional(s);
        LeaveLevel(s);
        Expect(s, ')');
        return inner;
    }
    if (Is(*s.cursor, NumberStart)) {
        const NumberRead number = ReadNumber(s.cursor);
        if (number.end == s.cursor) return Fail(s);  // a lone "."
        Next(s, static_cast<int32_t>(number.end - s.cursor));
        return number.value;
    }
    if (Is(*s.cursor, Letter)) return NameOrCall(s);
    return Fail(s);  // no operand here, the end of the text included; the cursor stays
}

// unary := ( "-" | "+" | "!" ) unary | primary      "+" is dropped, so a run of them nests nothing
double Unary(EvaluatorState& s) {
    while (Accept(s, '+')) {
    }
    const char op = *s.cursor;
    if (op != '-' && op != '!') return Primary(s);
    Next(s, 1);
    if (!EnterLevel(s)) return 0.0;
    const double operand = Unary(s);
    LeaveLevel(s);
    return op == '-' ? -operand : Truth(operand == 0.0);
}

// power := unary [ "^" power ]
double Power(EvaluatorState& s) {
    const double base = Unary(s);
    if (!Accept(s, '^')) return base;
    if (!EnterLevel(s)) return 0.0;
    const double exponent = Power(s);
    LeaveLevel(s);
    return std::pow(base, exponent);
}

// multiplicative := power { ( "*" | "/" | "%" ) power }      "**" is no operator: the level ends in front of it
double Multiplicative(EvaluatorState& s) {
    double value = Power(s);
    for (char op = *s.cursor; (op == '*' && s.cursor[1] != '*') || op == '/' || op == '%'; op = *s.cursor) {
        Next(s, 1);
        const double right = Power(s);
        if (op == '*') value *= right;
        else if (right == 0.0) return Fail(s);  // a zero divisor ends the level with 0.0, dropping what it held
        else if (op == '/') value /= right;
        else value = std::fmod(value, right);
    }
    return value;
}

// additive := multiplicative { ( "+" | "-" ) multiplicative }
double Additive(EvaluatorState& s) {
    double value = Multiplicative(s);
    for (char op = *s.cursor; op == '+' || op == '-'; op = *s.cursor) {
        Next(s, 1);
        const double right = Multiplicative(s);
        value = op == '+' ? value + right : value - right;
    }
    return value;
}

// comparison := additive [ ( "<=" | ">=" | "==" | "!=" | "<" | ">" ) additive ]      comparisons do not chain
double Comparison(EvaluatorState& s) {
    const double left = Additive(s);
    if (Accept(s, '<', '=')) return Truth(left <= Additive(s));
    if (Accept(s, '>', '=')) return Truth(left >= Additive(s));
    if (Accept(s, '=', '=')) return Truth(left == Additive(s));
    if (Accept(s, '!', '=')) return Truth(left != Additive(s));
    if (Accept(s, '<')) return Truth(left < Additive(s));
    if (Accept(s, '>')) return Truth(left > Additive(s));
    return left;
}

// and := comparison { "&&" comparison }
double And(EvaluatorState& s) {
    double value = Comparison(s);
    while (Accept(s, '&', '&')) {
        const double right = Comparison(s);
        value = Truth(value != 0.0 && right != 0.0);
    }
    return value;
}

// or := and { "||" and }
double Or(EvaluatorState& s) {
    double value = And(s);
    while (Accept(s, '|', '|')) {
        const double right = And(s);
        value = Truth(value != 0.0 || right != 0.0);
    }
    return value;
}

// conditional := or [ "?" conditional ":" conditional ]      both branches are evaluated
double Conditional(EvaluatorState& s) {
    const double condition = Or(s);
    if (!Accept(s, '?')) return condition;
    if (!EnterLevel(s)) return 0.0;
    const double whenTrue = Conditional(s);
    Expect(s, ':');  // without it the second branch is read from where the first ended
    const double whenFalse = Conditional(s);
    LeaveLevel(s);
    return condition != 0.0 ? whenTrue : whenFalse;
}

}  // namespace

double EvaluateExpression(const Tool& tool, const char* text, const double* inputValues,
                          const double* outputValues, int32_t& error) {
    if (text == nullptr || text[0] == '\0') {
        error = 1;
        return 0.0;
    }
    EvaluatorState s{tool, inputValues, outputValues, text, 0, 0, false};
    SkipSpace(s);
    const double value = Conditional(s);
    if (s.tooDeep) {
        error = 1;
        return 0.0;
    }
    error = (*s.cursor != '\0' || s.error != 0 || !std::isfinite(value)) ? 1 : 0;
    return value;
}

}  // namespace ovra
