// The evaluation path: run with --benchmark_repetitions=10 --benchmark_report_aggregates_only=true and read
// the medians.
#include <benchmark/benchmark.h>

#include "entry/selftest.h"
#include "evaluate/evaluate.h"
#include "expr/expression.h"

namespace ovra {
namespace {

const double defaults[MaxInputs] = {60, 130, 80, 1, 1, 0};

void EvaluateText(benchmark::State& state, const char* text) {
    const double outputs[MaxOutputs] = {};
    for (auto _ : state) {
        int32_t error = 0;
        benchmark::DoNotOptimize(text);
        double value = EvaluateExpression(ActiveTool(), text, defaults, outputs, error);
        benchmark::DoNotOptimize(value);
        benchmark::DoNotOptimize(error);
    }
}

void Abcd2Formula(benchmark::State& state) { EvaluateText(state, ActiveTool().outputs[0].formula); }
BENCHMARK(Abcd2Formula);

void SeventyCharacterFormula(benchmark::State& state) {
    EvaluateText(state, "(age*2+sbp/10-dbp)*(clinical+duration)/(dm+1.0)+age-sbp*0.5+dbp/4-3.25");
}
BENCHMARK(SeventyCharacterFormula);

void EvaluateToolDefaults(benchmark::State& state) {
    char16_t report[4096], verdict[512], detail[8192];
    for (auto _ : state) {
        int32_t level = 0;
        EvaluateTool(ActiveTool(), defaults, report, 4096, verdict, 512, level, detail, 8192);
        benchmark::DoNotOptimize(report);
        benchmark::DoNotOptimize(level);
    }
}
BENCHMARK(EvaluateToolDefaults);

void SelfTestText(benchmark::State& state) {
    static char16_t text[SelfTestTextCapacity];
    for (auto _ : state) {
        benchmark::DoNotOptimize(BuildSelfTestReport(ActiveTool(), text, SelfTestTextCapacity));
    }
}
BENCHMARK(SelfTestText);

}  // namespace
}  // namespace ovra
