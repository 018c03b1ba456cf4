// The expression engine beside a plain evaluator of the same grammar, written here as the yardstick. Machines
// drift, so only ratios within one run count: run with --benchmark_repetitions=10
// --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true and divide the medians.
#include <benchmark/benchmark.h>

#include <cctype>
#include <cmath>
#include <cstring>

#include "expr/expression.h"
#include "expr/number.h"

namespace ovra {
namespace {

// The plainest reader: one function per level, no depth bound, no failure values; enough for well-formed
// texts. It reads numbers with the engine's reader, so the ratio measures the parser alone.
namespace plain {

struct Reader {
    const Tool& tool;
    const double* inputs;
    const double* outputs;
    const char* p;
    bool failed;
};

double Conditional(Reader& r);

void Skip(Reader& r) {
    while (*r.p == ' ' || *r.p == '\t' || *r.p == '\n' || *r.p == '\r') ++r.p;
}

// Takes the operator `a`, or `a` `b` when `b` is given.
bool Take(Reader& r, char a, char b = '\0') {
    Skip(r);
    if (r.p[0] != a || (b != '\0' && r.p[1] != b)) return false;
    r.p += b != '\0' ? 2 : 1;
    return true;
}

bool IsNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

double Variable(Reader& r, const char* name) {
    for (int32_t i = 0; i < r.tool.inputCount; ++i) {
        if (std::strcmp(r.tool.inputs[i].name, name) == 0) return r.inputs[i];
    }
    for (int32_t i = 0; i < r.tool.outputCount; ++i) {
        if (std::strcmp(r.tool.outputs[i].name, name) == 0) return r.outputs[i];
    }
    r.failed = true;
    return 0.0;
}

double Call(Reader& r, const char* name) {
    const double a = Conditional(r);
    const bool two = Take(r, ',');
    const double b = two ? Conditional(r) : 0.0;
    r.failed |= !Take(r, ')');
    if (!two && std::strcmp(name, "abs") == 0) return std::fabs(a);
    if (!two && std::strcmp(name, "sqrt") == 0) return std::sqrt(a);
    if (two && std::strcmp(name, "min") == 0) return a < b ? a : b;
    if (two && std::strcmp(name, "max") == 0) return a > b ? a : b;
    r.failed = true;
    return 0.0;
}

// primary := "(" conditional ")" | number | name | call;  unary := ( "-" | "+" | "!" ) unary | primary
double Unary(Reader& r) {
    Skip(r);
    if (Take(r, '-')) return -Unary(r);
    if (Take(r, '+')) return Unary(r);
    if (Take(r, '!')) return Unary(r) == 0.0 ? 1.0 : 0.0;
    if (Take(r, '(')) {
        const double inner = Conditional(r);
        r.failed |= !Take(r, ')');
        return inner;
    }
    if (std::isdigit(static_cast<unsigned char>(*r.p)) || *r.p == '.') {
        const NumberRead number = ReadNumber(r.p);
        r.p = number.end;
        return number.value;
    }
    char name[64];
    size_t n = 0;
    while (n < 63 && IsNameChar(*r.p)) name[n++] = *r.p++;
    name[n] = '\0';
    if (Take(r, '(')) return Call(r, name);
    return Variable(r, name);
}

double Power(Reader& r) {
    const double base = Unary(r);
    return Take(r, '^') ? std::pow(base, Power(r)) : base;
}

double Multiplicative(Reader& r) {
    double value = Power(r);
    for (;;) {
        if (Take(r, '*'))
            value *= Power(r);
        else if (Take(r, '/'))
            value /= Power(r);
        else if (Take(r, '%'))
            value = std::fmod(value, Power(r));
        else
            return value;
    }
}

double Additive(Reader& r) {
    double value = Multiplicative(r);
    for (;;) {
        if (Take(r, '+'))
            value += Multiplicative(r);
        else if (Take(r, '-'))
            value -= Multiplicative(r);
        else
            return value;
    }
}

double Comparison(Reader& r) {
    const double a = Additive(r);
    if (Take(r, '<', '=')) return a <= Additive(r) ? 1.0 : 0.0;
    if (Take(r, '>', '=')) return a >= Additive(r) ? 1.0 : 0.0;
    if (Take(r, '=', '=')) return a == Additive(r) ? 1.0 : 0.0;
    if (Take(r, '!', '=')) return a != Additive(r) ? 1.0 : 0.0;
    if (Take(r, '<')) return a < Additive(r) ? 1.0 : 0.0;
    if (Take(r, '>')) return a > Additive(r) ? 1.0 : 0.0;
    return a;
}

double And(Reader& r) {
    double value = Comparison(r);
    while (Take(r, '&', '&')) value = (Comparison(r) != 0.0 && value != 0.0) ? 1.0 : 0.0;
    return value;
}

double Or(Reader& r) {
    double value = And(r);
    while (Take(r, '|', '|')) value = (And(r) != 0.0 || value != 0.0) ? 1.0 : 0.0;
    return value;
}

double Conditional(Reader& r) {
    const double condition = Or(r);
    if (!Take(r, '?')) return condition;
    const double whenTrue = Conditional(r);
    r.failed |= !Take(r, ':');
    const double whenFalse = Conditional(r);
    return condition != 0.0 ? whenTrue : whenFalse;
}

double Evaluate(const Tool& tool, const char* text, const double* inputs, const double* outputs, int32_t& error) {
    Reader r{tool, inputs, outputs, text, false};
    const double value = Conditional(r);
    Skip(r);
    error = r.failed || *r.p != '\0' || !std::isfinite(value);
    return value;
}

}  // namespace plain

const double defaults[MaxInputs] = {60, 130, 80, 1, 1, 0};
const double outputs[MaxOutputs] = {};
const char* Abcd2Formula() { return ActiveTool().outputs[0].formula; }
const char* SeventyCharacters() { return "(age*2+sbp/10-dbp)*(clinical+duration)/(dm+1.0)+age-sbp*0.5+dbp/4-3.25"; }

using Evaluator = double (*)(const Tool&, const char*, const double*, const double*, int32_t&);

void Time(benchmark::State& state, Evaluator evaluate, const char* (*textOf)()) {
    const char* const text = textOf();
    int32_t error = 1;
    // The yardstick must read the text as the engine does, or the ratio means nothing.
    const double expected = EvaluateExpression(ActiveTool(), text, defaults, outputs, error);
    int32_t plainError = 1;
    if (error != 0 || plain::Evaluate(ActiveTool(), text, defaults, outputs, plainError) != expected ||
        plainError != 0) {
        state.SkipWithError("the plain evaluator disagrees with the engine");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(text);
        double value = evaluate(ActiveTool(), text, defaults, outputs, error);
        benchmark::DoNotOptimize(value);
        benchmark::DoNotOptimize(error);
    }
}

BENCHMARK_CAPTURE(Time, EngineAbcd2, EvaluateExpression, Abcd2Formula);
BENCHMARK_CAPTURE(Time, PlainAbcd2, plain::Evaluate, Abcd2Formula);
BENCHMARK_CAPTURE(Time, EngineSeventy, EvaluateExpression, SeventyCharacters);
BENCHMARK_CAPTURE(Time, PlainSeventy, plain::Evaluate, SeventyCharacters);

}  // namespace
}  // namespace ovra
