// The evaluation path allocates nothing: formulas, conditions, formats, the report and the self-test text.
#include <gtest/gtest.h>

#include <cmath>

#include "entry/selftest.h"
#include "evaluate/evaluate.h"
#include "expr/expression.h"
#include "tests/support/allocation_counter.h"
#include "tool/format.h"

namespace ovra {
namespace {

TEST(Allocation, NoneOnTheEvaluationPath) {
    const Tool& tool = ActiveTool();
    static char16_t report[4096], verdict[512], detail[8192], text[SelfTestTextCapacity];
    const double inputSets[][MaxInputs] = {
        {60, 130, 80, 1, 1, 0}, {70, 150, 95, 2, 2, 1}, {NAN, INFINITY, -1e308, 1.5, -0.0, 5e-324}};
    const char* texts[] = {"(1+2", "sqrt(-1)", "0x1F * 2.5e3", "min(3, pow(-8,0.5))", "nope(1)", "1e999"};
    const int64_t count = testing::AllocationsDuring([&] {
        for (const auto& inputs : inputSets) {
            int32_t level = 0;
            EvaluateTool(tool, inputs, report, 4096, verdict, 512, level, detail, 8192);
            const double outputs[MaxOutputs] = {};
            for (const char* t : texts) {
                int32_t error = 0;
                EvaluateExpression(tool, t, inputs, outputs, error);
            }
        }
        for (const char* code : {"f0", "pct", "date", "x"}) {
            char16_t value[128];
            FormatValue(code, 1e300, value, 128);
            FormatValue(code, -12.345, value, 128);
        }
        BuildSelfTestReport(tool, text, SelfTestTextCapacity);
    });
    EXPECT_EQ(count, 0);
}

TEST(Allocation, TheCounterSeesAllocations) {
    static int* volatile kept = nullptr;  // volatile, so the compiler cannot drop the pair
    EXPECT_GT(testing::AllocationsDuring([] { kept = new int(3); }), 0);
    delete kept;
}

}  // namespace
}  // namespace ovra
