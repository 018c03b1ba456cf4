#include <gtest/gtest.h>

#include "tests/reports/report_harness.h"

namespace ovra::testing {
namespace {

TEST(InfusionCard, PrintsTheValuesAsTheyComeWithTheFlowInMlPerHour) {
    const struct {
        bool hasInputs;
        double bed;
        double dose;
        double volume;
        double gtt;
        const char* bedLine;
        const char* solutionLine;
        const char* rateLine;
    } cases[] = {
        {false, 0, 0, 0, 0, "床号：0", "药液：医嘱药量 0.00 ，加入溶媒 0 ml", "滴速：0 滴/分（约 0 ml/h）"},
        {true, 12.7, 2.5, 250, 40, "床号：12", "药液：医嘱药量 2.50 ，加入溶媒 250 ml",
         "滴速：40 滴/分（约 120 ml/h）"},
        {true, 3, 0.125, 100.4, 25, "床号：3", "药液：医嘱药量 0.12 ，加入溶媒 100 ml", "滴速：25 滴/分（约 75 ml/h）"},
        {true, -4.9, -1, -50, -10, "床号：-4", "药液：医嘱药量 -1.00 ，加入溶媒 -50 ml",
         "滴速：-10 滴/分（约 -30 ml/h）"},
        {true, 1e10, 1, 1, 33.5, "床号：-2147483648", "药液：医嘱药量 1.00 ，加入溶媒 1 ml",
         "滴速：34 滴/分（约 100 ml/h）"},
    };
    for (const auto& c : cases) {
        const ReportResult result =
            c.hasInputs ? Evaluate(10, {{"bed", c.bed}, {"dose", c.dose}, {"volume", c.volume}, {"gtt", c.gtt}})
                        : Evaluate(10, {});
        EXPECT_EQ(result.report, Joined({"静脉输液卡", c.bedLine, c.solutionLine, c.rateLine,
                                         "核对：药名/剂量/浓度/有效期/配伍；双人签名。",
                                         "观察：穿刺点、滴速、输注反应；每 30 分钟巡视并记录。"}));
        EXPECT_EQ(result.verdict, "输液卡已生成，双人核对后执行");
        EXPECT_EQ(result.level, 0);
    }
}

}  // namespace
}  // namespace ovra::testing
