// The evaluation path: run with --benchmark_repetitions=10 --benchmark_report_aggregates_only=true and read
// the medians.
#include <benchmark/benchmark.h>

#include "entry/selftest.h"
#include "evaluate/evaluate.h"

namespace ovra {
namespace {

const double defaults[MaxInputs] = {60, 130, 80, 1, 1, 0};

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
