#include <gtest/gtest.h>

#include <limits>

#include "evaluate/evaluate.h"
#include "reports/reports.h"
#include "reports/today.h"
#include "tests/reports/report_harness.h"
#include "tests/support/allocation_counter.h"
#include "text/text.h"

namespace ovra::testing {
namespace {

LocalDate FixedToday() { return LocalDate{2024, 2, 28}; }

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

// Per input of the tool below: values that take the long paths (the full roster, thirty dose cells, twenty visits,
// overlong lines), then odd ones.
const double valueSets[][15] = {
    {40, 31, 22, 1.5, 45, 2, 1, 2, 0, 100, 12.7, 1e308, 1e308, 40, 2},
    {nan, -1e308, inf, -4, 0.5, 9.7, 3, 6, -3, 2.5, -7, -1e308, 5e-324, 0, 7},
};

TEST(ReportAllocations, NoBuilderAllocates) {
    ReportTool reportTool(1, {{"nurses", 0},
                              {"days", 0},
                              {"start", 0},
                              {"interval", 0},
                              {"times", 0},
                              {"kind", 0},
                              {"drugA", 0},
                              {"drugB", 0},
                              {"gap", 0},
                              {"beds", 0},
                              {"bed", 0},
                              {"dose", 0},
                              {"volume", 0},
                              {"gtt", 0},
                              {"panel", 0}});
    static char16_t report[8192];
    static char16_t detail[8192];
    static char16_t verdict[512];
    // The first reading of the clock may load the time zone; later readings must not allocate.
    SetTodayForTesting(nullptr);
    LocalToday();
    for (const TodaySource source : {TodaySource{nullptr}, TodaySource{FixedToday}}) {
        SetTodayForTesting(source);
        for (const auto& values : valueSets) {
            for (int32_t i = 0; i < 15; ++i) reportTool.values[i] = values[i];
            for (int32_t number = 1; number <= 12; ++number) {
                reportTool.tool.customReport = number;
                int32_t level = 0;
                const int64_t allocations = AllocationsDuring([&] {
                    EvaluateTool(reportTool.tool, reportTool.values, report, 8192, verdict, 512, level, detail, 8192);
                    BuildCustomReport(number, reportTool.tool, reportTool.values, report, 40, verdict, 7);
                });
                EXPECT_EQ(allocations, 0) << "report " << number;
                EXPECT_GT(TextLength(report), 0) << "report " << number;
            }
        }
    }
    SetTodayForTesting(nullptr);
}

}  // namespace
}  // namespace ovra::testing
