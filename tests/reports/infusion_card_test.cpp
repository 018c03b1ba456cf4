#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "tests/reports/report_harness.h"

namespace ovra::testing {
namespace {

const char* const checkLine = "核对：药名/剂量/浓度/有效期/配伍；双人签名。";
const char* const watchLine = "观察：穿刺点、滴速、输注反应；每 30 分钟巡视并记录。";

TEST(InfusionCard, PrintsTheValuesAsTheyComeWithTheFlowInMlPerHour) {
    const struct {
        std::vector<double> values;  // bed, dose, volume, gtt; empty: a tool without inputs
        const char* bedLine;
        const char* solutionLine;
        const char* rateLine;
    } cases[] = {
        {{}, "床号：0", "药液：医嘱药量 0.00 ，加入溶媒 0 ml", "滴速：0 滴/分（约 0 ml/h）"},
        {{12.7, 2.5, 250, 40}, "床号：12", "药液：医嘱药量 2.50 ，加入溶媒 250 ml", "滴速：40 滴/分（约 120 ml/h）"},
        {{3, 0.125, 100.4, 25}, "床号：3", "药液：医嘱药量 0.12 ，加入溶媒 100 ml", "滴速：25 滴/分（约 75 ml/h）"},
        {{-4.9, -1, -50, -10}, "床号：-4", "药液：医嘱药量 -1.00 ，加入溶媒 -50 ml", "滴速：-10 滴/分（约 -30 ml/h）"},
        {{1e10, 1, 1, 33.5},
         "床号：-2147483648",
         "药液：医嘱药量 1.00 ，加入溶媒 1 ml",
         "滴速：34 滴/分（约 100 ml/h）"},
    };
    for (const auto& c : cases) {
        const ReportResult result =
            c.values.empty()
                ? Evaluate(10, {})
                : Evaluate(
                      10, {{"bed", c.values[0]}, {"dose", c.values[1]}, {"volume", c.values[2]}, {"gtt", c.values[3]}});
        EXPECT_EQ(result.report, Joined({"静脉输液卡", c.bedLine, c.solutionLine, c.rateLine, checkLine, watchLine}));
        EXPECT_EQ(result.verdict, "输液卡已生成，双人核对后执行");
        EXPECT_EQ(result.level, 0);
    }
}

TEST(InfusionCard, AnOverlongLineIsCutAt511Units) {
    const ReportResult result = Evaluate(10, {{"dose", 1e308}, {"volume", 1e308}});
    ASSERT_EQ(result.lines.size(), 6u);
    // The line is ASCII apart from 7 units at its start and 5 of of " ，加入溶媒 " (all 3 bytes in UTF-8).
    EXPECT_EQ(result.lines[2].size(), 511u + 2u * (7u + 5u));
    EXPECT_EQ(
        result.lines[2].rfind("药液：医嘱药量 1000000000000000010979063629440455417404923096773118463368106829", 0),
        0u);
    EXPECT_EQ(result.lines[5], watchLine);
}

}  // namespace
}  // namespace ovra::testing
