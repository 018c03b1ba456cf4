#include "expr/expression.h"

#include <cmath>

#include "expr/characters.h"
#include "expr/number.h"

// A recursive-descent parser that evaluates while it reads. Every operand is evaluated, every failure only
// sets the flag, and the cursor only moves forward. Each step takes the cursor and returns its value with the
// cursor after it, so the cursor travels in registers rather than through memory.

namespace ovra {
namespace {

// Deep enough for any sensible formula, shallow enough for the stack of a sanitizer build.
constexpr int32_t MaxDepth = 512;
constexpr int32_t MaxNameLength = 63;

struct EvaluatorState {
    const Tool& tool;
    const double* inputValues;
    const double* outputValues;
    int32_t error;
    int32_t depth;
    bool tooDeep;
};

// A value read and the cursor after it.
struct Step {
    double value;
    const char* next;
};

Step Conditional(EvaluatorState& s, const char* p);
Step Unary(EvaluatorState& s, const char* p);

// Whitespace is skipped after every token, so the cursor always rests on a character that is not whitespace:
// the same as skipping it wherever a level looks for its operator or operand, since no token holds any.
const char* SkipSpace(const char* p) {
    while (Is(*p, Space)) ++p;
    return p;
}

const char* Consume(const char* p, int32_t length) { return SkipSpace(p + length); }

double Fail(EvaluatorState& s, double value = 0.0) {
    s.error = 1;
    return value;
}

double Truth(bool b) { return b ? 1.0 : 0.0; }

// The depth bound counts parentheses, calls, conditional branches, unary operators and "^" operands; past it
// the text fails with 0.0.
bool Enter(EvaluatorState& s) {
    if (++s.depth > MaxDepth) s.tooDeep = true;
    if (s.tooDeep) Fail(s);
    return !s.tooDeep;
}
void Leave(EvaluatorState& s) { --s.depth; }

// ")" must follow; without it the flag is set and the cursor stays.
const char* ExpectClose(EvaluatorState& s, const char* p) {
    if (*p == ')') return Consume(p, 1);
    Fail(s);
    return p;
}

struct Function1 {
    const char* name;
    double (*apply)(EvaluatorState&, double);
};
struct Function2 {
    const char* name;
    double (*apply)(EvaluatorState&, double, double);
};

// Compared in this order. Domain tests are ordered comparisons, so a NaN passes them.
const Function1 functions1[] = {
    {"sqrt", [](EvaluatorState& s, double x) { return x < 0 ? Fail(s) : std::sqrt(x); }},
    {"abs", [](EvaluatorState&, double x) { return std::fabs(x); }},
    {"log", [](EvaluatorState& s, double x) { return x <= 0 ? Fail(s) : std::log(x); }},
    {"log10", [](EvaluatorState& s, double x) { return x <= 0 ? Fail(s) : std::log10(x); }},
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
    {"mod", [](EvaluatorState& s, double a, double b) { return b == 0 ? Fail(s) : std::fmod(a, b); }},
};

// A name as it stands in the text: it is compared in place rather than copied.
struct NameSpan {
    const char* start;
    int32_t length;
};

bool Matches(const char* defined, NameSpan name) {
    if (defined[0] != name.start[0]) return false;  // most names differ at once
    for (int32_t i = 1; i < name.length; ++i) {
        if (defined[i] != name.start[i]) return false;  // also stops at the end of a shorter name
    }
    return defined[name.length] == '\0';
}

// call := name "(" conditional [ "," conditional ] ")"      (p stands after the "(")
[[gnu::noinline]] Step Call(EvaluatorState& s, NameSpan name, const char* p) {
    const Step a = Conditional(s, p);
    if (*a.next == ',') {
        const Step b = Conditional(s, Consume(a.next, 1));
        p = ExpectClose(s, b.next);
        for (const Function2& f : functions2) {
            if (Matches(f.name, name)) return {f.apply(s, a.value, b.value), p};
        }
        return {Fail(s), p};
    }
    p = ExpectClose(s, a.next);
    for (const Function1& f : functions1) {
        if (Matches(f.name, name)) return {f.apply(s, a.value), p};
    }
    return {Fail(s), p};
}

// An input hides an output of the same name; an unknown name fails.
double Variable(EvaluatorState& s, NameSpan name) {
    for (int32_t i = 0; i < s.tool.inputCount; ++i) {
        if (Matches(s.tool.inputs[i].name, name)) return s.inputValues[i];
    }
    for (int32_t j = 0; j < s.tool.outputCount; ++j) {
        if (Matches(s.tool.outputs[j].name, name)) return s.outputValues[j];
    }
    return Fail(s);
}

// name := letter { letter | digit }, at most 63 read; longer names leave their tail in the text.
Step Name(EvaluatorState& s, const char* p) {
    // The run ends at the terminator at the latest, so it is measured whole and then held to 63.
    int32_t run = 0;
    while (Is(p[run], Letter | Digit)) ++run;
    const NameSpan name{p, run < MaxNameLength ? run : MaxNameLength};
    p = Consume(p, name.length);
    if (*p != '(') return {Variable(s, name), p};
    // Calls nest like parentheses and count towards the same bound.
    if (!Enter(s)) return {0.0, p + 1};
    const Step call = Call(s, name, Consume(p, 1));
    Leave(s);
    return call;
}

// "(" conditional ")"                                 (p stands on the "(")
[[gnu::noinline]] Step Parenthesised(EvaluatorState& s, const char* p) {
    if (!Enter(s)) return {0.0, p + 1};
    const Step inner = Conditional(s, Consume(p, 1));
    Leave(s);
    return {inner.value, ExpectClose(s, inner.next)};
}

// primary := "(" conditional ")" | number | name | call
[[gnu::always_inline]] inline Step Primary(EvaluatorState& s, const char* p) {
    const char c = *p;
    if (Is(c, NumberStart)) {
        double value = 0.0;
        const char* end = ReadNumber(p, value);
        if (end == p) return {Fail(s), p};
        return {value, SkipSpace(end)};
    }
    if (Is(c, Letter)) return Name(s, p);
    if (c == '(') return Parenthesised(s, p);
    return {Fail(s), p};  // end of text included; the cursor stays
}

// ( "-" | "!" ) unary                                  (p stands on the operator)
[[gnu::noinline]] Step Negated(EvaluatorState& s, const char* p) {
    const char op = *p;
    if (!Enter(s)) return {0.0, p + 1};
    const Step operand = Unary(s, Consume(p, 1));
    Leave(s);
    return {op == '-' ? -operand.value : Truth(operand.value == 0.0), operand.next};
}

// unary := ( "-" | "+" | "!" ) unary | primary        ("+" is dropped, so a run of them costs no depth)
[[gnu::always_inline]] inline Step Unary(EvaluatorState& s, const char* p) {
    while (*p == '+') p = Consume(p, 1);
    if (*p == '-' || *p == '!') return Negated(s, p);
    return Primary(s, p);
}

// The binary levels, lowest first. Each level's operand is an expression of the next level; every level but
// power is left-associative; a comparison does not chain.
//   or             := and { "||" and }
//   and            := comparison { "&&" comparison }
//   comparison     := additive [ ( "<=" | ">=" | "==" | "!=" | "<" | ">" ) additive ]
//   additive       := multiplicative { ( "+" | "-" ) multiplicative }
//   multiplicative := power { ( "*" | "/" | "%" ) power }       "**" is no operator
//   power          := unary [ "^" power ]
// They are read by precedence climbing: one loop takes every operator of the levels from `lowest` up, and
// the right operand of an operator is read from the next level up. So an operand costs a few calls instead of
// one per level. Where a level would return and leave an operator of a higher level unread, the loop lowers
// its ceiling to match: after a comparison, after "^", and after a zero divisor.
enum Level : int8_t { NoLevel, OrLevel, AndLevel, ComparisonLevel, AdditiveLevel, MultiplicativeLevel, PowerLevel };

enum class Op : int8_t { None, Or, And, LessEqual, GreaterEqual, Equal, NotEqual, Less, Greater, Add, Subtract,
                         Multiply, Divide, Remainder, Power };

struct BinaryOperator {
    Op op;
    Level level;
    int8_t length;
};

// Two-character operators are tested before their one-character prefixes.
[[gnu::always_inline]] inline BinaryOperator PeekOperator(const char* at) {
    switch (at[0]) {
        case '|': return at[1] == '|' ? BinaryOperator{Op::Or, OrLevel, 2} : BinaryOperator{};
        case '&': return at[1] == '&' ? BinaryOperator{Op::And, AndLevel, 2} : BinaryOperator{};
        case '<': return at[1] == '=' ? BinaryOperator{Op::LessEqual, ComparisonLevel, 2}
                                      : BinaryOperator{Op::Less, ComparisonLevel, 1};
        case '>': return at[1] == '=' ? BinaryOperator{Op::GreaterEqual, ComparisonLevel, 2}
                                      : BinaryOperator{Op::Greater, ComparisonLevel, 1};
        case '=': return at[1] == '=' ? BinaryOperator{Op::Equal, ComparisonLevel, 2} : BinaryOperator{};
        case '!': return at[1] == '=' ? BinaryOperator{Op::NotEqual, ComparisonLevel, 2} : BinaryOperator{};
        case '+': return {Op::Add, AdditiveLevel, 1};
        case '-': return {Op::Subtract, AdditiveLevel, 1};
        case '*': return at[1] == '*' ? BinaryOperator{} : BinaryOperator{Op::Multiply, MultiplicativeLevel, 1};
        case '/': return {Op::Divide, MultiplicativeLevel, 1};
        case '%': return {Op::Remainder, MultiplicativeLevel, 1};
        case '^': return {Op::Power, PowerLevel, 1};
        default: return {};
    }
}

double Apply(Op op, double a, double b) {
    switch (op) {
        case Op::Or: return Truth(a != 0.0 || b != 0.0);
        case Op::And: return Truth(a != 0.0 && b != 0.0);
        case Op::LessEqual: return Truth(a <= b);
        case Op::GreaterEqual: return Truth(a >= b);
        case Op::Equal: return Truth(a == b);
        case Op::NotEqual: return Truth(a != b);
        case Op::Less: return Truth(a < b);
        case Op::Greater: return Truth(a > b);
        case Op::Add: return a + b;
        case Op::Subtract: return a - b;
        case Op::Multiply: return a * b;
        case Op::Divide: return a / b;
        case Op::Remainder: return std::fmod(a, b);
        case Op::Power: return std::pow(a, b);
        case Op::None: break;
    }
    return 0.0;
}

// Continues the expression whose first operand `value` was just read and is followed by the operator `o`,
// taking the operators of the levels from `lowest` up. A right operand gets a loop of its own only when a
// tighter operator follows it.
Step Climb(EvaluatorState& s, double value, const char* p, BinaryOperator o, Level lowest) {
    Level ceiling = PowerLevel;
    for (;;) {
        if (o.level < lowest || o.level > ceiling) return {value, p};  // NoLevel is below every level
        p = Consume(p, o.length);
        Step right = Unary(s, p);
        BinaryOperator next = PeekOperator(right.next);
        if (o.level == PowerLevel) {
            // The right operand of "^" is a whole power expression: right-associative, and one level deeper.
            if (!Enter(s)) return {0.0, right.next};
            if (next.level == PowerLevel) right = Climb(s, right.value, right.next, next, PowerLevel);
            Leave(s);
            value = std::pow(value, right.value);
            p = right.next;
            ceiling = MultiplicativeLevel;
            o = PeekOperator(p);
            continue;
        }
        if (next.level > o.level) {
            right = Climb(s, right.value, right.next, next, static_cast<Level>(o.level + 1));
            next = PeekOperator(right.next);
        }
        p = right.next;
        if ((o.op == Op::Divide || o.op == Op::Remainder) && right.value == 0.0) {
            // A zero divisor ends the multiplicative expression with 0.0, dropping what it had accumulated.
            value = Fail(s);
            ceiling = AdditiveLevel;
        } else {
            value = Apply(o.op, value, right.value);
            ceiling = o.level == ComparisonLevel ? AndLevel : o.level;
        }
        o = next;
    }
}

// conditional := or [ "?" conditional ":" conditional ]; both branches are evaluated
Step Conditional(EvaluatorState& s, const char* p) {
    Step condition = Unary(s, p);
    const BinaryOperator o = PeekOperator(condition.next);
    if (o.level != NoLevel) condition = Climb(s, condition.value, condition.next, o, OrLevel);
    if (*condition.next != '?') return condition;
    // Branches nest like parentheses and count towards the same bound.
    if (!Enter(s)) return {0.0, condition.next};
    const Step whenTrue = Conditional(s, Consume(condition.next, 1));
    p = whenTrue.next;
    if (*p == ':') p = Consume(p, 1);
    else Fail(s);
    const Step whenFalse = Conditional(s, p);
    Leave(s);
    return {condition.value != 0.0 ? whenTrue.value : whenFalse.value, whenFalse.next};
}

}  // namespace

double EvaluateExpression(const Tool& tool, const char* text, const double* inputValues,
                          const double* outputValues, int32_t& error) {
    if (text == nullptr || text[0] == '\0') {
        error = 1;
        return 0.0;
    }
    EvaluatorState s{tool, inputValues, outputValues, 0, 0, false};
    const Step result = Conditional(s, SkipSpace(text));
    const double value = s.tooDeep ? 0.0 : result.value;
    error = (*result.next != '\0' || s.error != 0 || !std::isfinite(value)) ? 1 : 0;
    return value;
}

}  // namespace ovra
