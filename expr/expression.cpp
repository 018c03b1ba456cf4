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
constexpr int32_t TooDeep = MaxDepth * 1024;
constexpr int32_t MaxNameLength = 63;

struct EvaluatorState {
    const Tool& tool;
    const InputField* inputs;
    const InputField* inputsEnd;
    const double* inputValues;
    const double* outputValues;
    int32_t error;
    int32_t depth;  // past MaxDepth for good once the bound is crossed
};

// A value read and the cursor after it.
struct Step {
    double value;
    const char* next;
};

Step Conditional(EvaluatorState& s, const char* p);
Step Choose(EvaluatorState& s, double condition, const char* p);

// Whitespace is skipped after every token, so the cursor always rests on a character that is not whitespace:
// the same as skipping it wherever a level looks for its operator or operand, since no token holds any.
const char* SkipSpace(const char* p) {
    if (static_cast<unsigned char>(*p) > ' ') [[likely]] return p;  // the four all lie at or below ' '
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
    if (++s.depth <= MaxDepth) return true;
    s.depth = TooDeep;  // so that the frames still open cannot bring it back under the bound
    Fail(s);
    return false;
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
[[gnu::noinline]] Step SpelledName(EvaluatorState& s, const char* p) {
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

// Most names are an input's, written out whole and not called: each input is compared in place while the
// name is measured, and the first that is spelled out whole answers. Anything else takes the general path.
[[gnu::always_inline]] inline Step Name(EvaluatorState& s, const char* p) {
    const double* value = s.inputValues;
    for (const InputField* input = s.inputs; input < s.inputsEnd; ++input, ++value) {
        const char* const defined = input->name;
        if (defined[0] != p[0]) continue;
        intptr_t k = 1;
        while (p[k] == defined[k] && Is(p[k], Letter | Digit)) ++k;
        if (k >= MaxNameLength) break;  // where the name is cut
        if (defined[k] == '\0' && !Is(p[k], Letter | Digit)) {
            const char* const after = SkipSpace(p + k);
            if (*after != '(') return {*value, after};
            break;
        }
    }
    return SpelledName(s, p);
}

// "(" conditional ")"                                 (p stands on the "(")
[[gnu::noinline]] Step Parenthesised(EvaluatorState& s, const char* p) {
    if (!Enter(s)) return {0.0, p + 1};
    const Step inner = Conditional(s, Consume(p, 1));
    Leave(s);
    return {inner.value, ExpectClose(s, inner.next)};
}

Step Prefixed(EvaluatorState& s, const char* p);

// unary   := ( "-" | "+" | "!" ) unary | primary
// primary := "(" conditional ")" | number | name | call
// Operands without a prefix are read here; the rest, and what is no operand, go to Prefixed.
[[gnu::always_inline]] inline Step Unary(EvaluatorState& s, const char* p) {
    const char c = *p;
    if (Is(c, NumberStart)) {
        const NumberRead number = ReadNumber(p);
        if (number.end == p) return {Fail(s), p};
        return {number.value, SkipSpace(number.end)};
    }
    if (Is(c, Letter)) return Name(s, p);
    if (c == '(') return Parenthesised(s, p);
    return Prefixed(s, p);
}

// "+" is dropped, so a run of them costs no depth; "-" and "!" count towards the bound.
[[gnu::noinline]] Step Prefixed(EvaluatorState& s, const char* p) {
    while (*p == '+') p = Consume(p, 1);
    const char op = *p;
    if (op == '-' || op == '!') {
        if (!Enter(s)) return {0.0, p + 1};
        const Step operand = Unary(s, Consume(p, 1));
        Leave(s);
        return {op == '-' ? -operand.value : Truth(operand.value == 0.0), operand.next};
    }
    if (Is(op, NumberStart | Letter) || op == '(') return Unary(s, p);
    return {Fail(s), p};  // end of text included; the cursor stays
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
enum Level : uint8_t { NoLevel, ConditionalLevel, OrLevel, AndLevel, ComparisonLevel, AdditiveLevel, MultiplicativeLevel,
                       PowerLevel };

// An operator's code carries its level and length, so one byte travels between the steps.
constexpr uint8_t OperatorCode(Level level, int32_t length, int32_t index) {
    return static_cast<uint8_t>(level << 4 | (length - 1) << 3 | index);
}

enum class Op : uint8_t {
    None = 0,
    Choose = OperatorCode(ConditionalLevel, 1, 0),
    Or = OperatorCode(OrLevel, 2, 0),
    And = OperatorCode(AndLevel, 2, 0),
    LessEqual = OperatorCode(ComparisonLevel, 2, 0),
    GreaterEqual = OperatorCode(ComparisonLevel, 2, 1),
    Equal = OperatorCode(ComparisonLevel, 2, 2),
    NotEqual = OperatorCode(ComparisonLevel, 2, 3),
    Less = OperatorCode(ComparisonLevel, 1, 0),
    Greater = OperatorCode(ComparisonLevel, 1, 1),
    Add = OperatorCode(AdditiveLevel, 1, 0),
    Subtract = OperatorCode(AdditiveLevel, 1, 1),
    Multiply = OperatorCode(MultiplicativeLevel, 1, 0),
    Divide = OperatorCode(MultiplicativeLevel, 1, 1),
    Remainder = OperatorCode(MultiplicativeLevel, 1, 2),
    Power = OperatorCode(PowerLevel, 1, 0),
};

Level LevelOf(Op op) { return static_cast<Level>(static_cast<uint8_t>(op) >> 4); }
int32_t LengthOf(Op op) { return 1 + (static_cast<uint8_t>(op) >> 3 & 1); }

// Two-character operators are tested before their one-character prefixes.
[[gnu::always_inline]] inline Op PeekOperator(const char* at) {
    switch (at[0]) {
        case '|': return at[1] == '|' ? Op::Or : Op::None;
        case '&': return at[1] == '&' ? Op::And : Op::None;
        case '<': return at[1] == '=' ? Op::LessEqual : Op::Less;
        case '>': return at[1] == '=' ? Op::GreaterEqual : Op::Greater;
        case '=': return at[1] == '=' ? Op::Equal : Op::None;
        case '!': return at[1] == '=' ? Op::NotEqual : Op::None;
        case '+': return Op::Add;
        case '-': return Op::Subtract;
        case '*': return at[1] == '*' ? Op::None : Op::Multiply;
        case '/': return Op::Divide;
        case '%': return Op::Remainder;
        case '^': return Op::Power;
        case '?': return Op::Choose;
        default: return Op::None;
    }
}

Step Climb(EvaluatorState& s, double value, const char* p, Op o, Level lowest);

// The same as Climb from the multiplicative level, for the commonest nesting, "a + b * c", without a call.
[[gnu::always_inline]] inline Step Product(EvaluatorState& s, double value, const char* p, Op o) {
    for (;;) {
        p = Consume(p, 1);
        Step right = Unary(s, p);
        Op next = PeekOperator(right.next);
        if (next == Op::Power) {
            right = Climb(s, right.value, right.next, next, PowerLevel);
            next = PeekOperator(right.next);
        }
        p = right.next;
        const double b = right.value;
        if (o == Op::Multiply) value = value * b;
        else if (b == 0.0) return {Fail(s), p};  // a zero divisor ends the product with 0.0
        else if (o == Op::Divide) value = value / b;
        else value = std::fmod(value, b);
        if (LevelOf(next) != MultiplicativeLevel) return {value, p};
        o = next;
    }
}

// Continues the expression whose first operand `value` was just read and is followed by the operator `o`,
// taking the operators of the levels from `lowest` up. A right operand gets a loop of its own only when a
// tighter operator follows it.
Step Climb(EvaluatorState& s, double value, const char* p, Op o, Level lowest) {
    Level ceiling = PowerLevel;
    for (;;) {
        const Level level = LevelOf(o);
        if (level < lowest || level > ceiling) return {value, p};  // NoLevel is below every level
        if (level == ConditionalLevel) return Choose(s, value, p);
        p = Consume(p, LengthOf(o));
        Step right = Unary(s, p);
        Op next = PeekOperator(right.next);
        if (level == PowerLevel) {
            // The right operand of "^" is a whole power expression: right-associative, and one level deeper.
            if (!Enter(s)) return {0.0, right.next};
            if (next == Op::Power) right = Climb(s, right.value, right.next, next, PowerLevel);
            Leave(s);
            value = std::pow(value, right.value);
            p = right.next;
            ceiling = MultiplicativeLevel;
            o = PeekOperator(p);
            continue;
        }
        if (LevelOf(next) > level) {
            right = level == AdditiveLevel && LevelOf(next) == MultiplicativeLevel
                        ? Product(s, right.value, right.next, next)
                        : Climb(s, right.value, right.next, next, static_cast<Level>(level + 1));
            next = PeekOperator(right.next);
        }
        p = right.next;
        const double b = right.value;
        // A comparison does not chain; a zero divisor ends the multiplicative expression with 0.0, dropping
        // what it had accumulated.
        switch (o) {
            case Op::Or: value = Truth(value != 0.0 || b != 0.0), ceiling = OrLevel; break;
            case Op::And: value = Truth(value != 0.0 && b != 0.0), ceiling = AndLevel; break;
            case Op::LessEqual: value = Truth(value <= b), ceiling = AndLevel; break;
            case Op::GreaterEqual: value = Truth(value >= b), ceiling = AndLevel; break;
            case Op::Equal: value = Truth(value == b), ceiling = AndLevel; break;
            case Op::NotEqual: value = Truth(value != b), ceiling = AndLevel; break;
            case Op::Less: value = Truth(value < b), ceiling = AndLevel; break;
            case Op::Greater: value = Truth(value > b), ceiling = AndLevel; break;
            case Op::Add: value = value + b, ceiling = AdditiveLevel; break;
            case Op::Subtract: value = value - b, ceiling = AdditiveLevel; break;
            case Op::Multiply: value = value * b, ceiling = MultiplicativeLevel; break;
            case Op::Divide:
                if (b == 0.0) value = Fail(s), ceiling = AdditiveLevel;
                else value = value / b, ceiling = MultiplicativeLevel;
                break;
            case Op::Remainder:
                if (b == 0.0) value = Fail(s), ceiling = AdditiveLevel;
                else value = std::fmod(value, b), ceiling = MultiplicativeLevel;
                break;
            case Op::Power:  // read above
            case Op::Choose:
            case Op::None: break;
        }
        o = next;
    }
}

// conditional := or [ "?" conditional ":" conditional ]
[[gnu::always_inline]] inline Step Conditional(EvaluatorState& s, const char* p) {
    const Step first = Unary(s, p);
    const Op o = PeekOperator(first.next);
    if (o == Op::None) return first;
    if (o == Op::Choose) return Choose(s, first.value, first.next);  // a plain condition needs no operator loop
    return Climb(s, first.value, first.next, o, ConditionalLevel);
}

// The branches of a conditional whose condition `condition` ends at the "?" at p. Both are evaluated, and
// they nest like parentheses, counting towards the same bound.
[[gnu::noinline]] Step Choose(EvaluatorState& s, double condition, const char* p) {
    if (!Enter(s)) return {0.0, p};
    const Step whenTrue = Conditional(s, Consume(p, 1));
    p = whenTrue.next;
    if (*p == ':') p = Consume(p, 1);
    else Fail(s);
    const Step whenFalse = Conditional(s, p);
    Leave(s);
    return {condition != 0.0 ? whenTrue.value : whenFalse.value, whenFalse.next};
}

}  // namespace

double EvaluateExpression(const Tool& tool, const char* text, const double* inputValues,
                          const double* outputValues, int32_t& error) {
    if (text == nullptr || text[0] == '\0') {
        error = 1;
        return 0.0;
    }
    const int32_t inputCount = tool.inputCount > 0 ? tool.inputCount : 0;
    EvaluatorState s{tool, tool.inputs, tool.inputs + inputCount, inputValues, outputValues, 0, 0};
    const Step result = Conditional(s, SkipSpace(text));
    const double value = s.depth > MaxDepth ? 0.0 : result.value;
    error = (*result.next != '\0' || s.error != 0 || !std::isfinite(value)) ? 1 : 0;
    return value;
}

}  // namespace ovra
