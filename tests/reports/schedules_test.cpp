#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "reports/reports.h"
#include "reports/today.h"
#include "tests/reports/report_harness.h"
#include "text/text.h"

namespace ovra::testing {
namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

const char* const rosterRule = "排班规则：三班轮转（白班 D / 夜班 N / 休息 R），每日每班 1 人，按人员顺序滚动。";
const char* const rosterTip = "提示：连续夜班不超过 2 个，夜班后应安排休息；请按科室实际人数与能级调整。";

TEST(NurseRoster, WithoutInputsRostersOneNurseForOneDay) {
    const ReportResult result = Evaluate(1, {});
    EXPECT_EQ(result.report, Joined({rosterRule, "人员：1 人；周期：1 天", "", "护士01：", "  1日D ", "", rosterTip}));
    EXPECT_EQ(result.verdict, "已生成轮转排班表，可复制到排班本或表格");
    EXPECT_EQ(result.level, 0);
}

TEST(NurseRoster, EachNurseMovesTwoShiftsADay) {
    const ReportResult result = Evaluate(1, {{"nurses", 4}, {"days", 4}});
    EXPECT_EQ(result.report, Joined({rosterRule, "人员：4 人；周期：4 天", "", "护士01：", "  1日D 2日R 3日N 4日D ",
                                     "护士02：", "  1日N 2日D 3日R 4日N ", "护士03：", "  1日R 2日N 3日D 4日R ",
                                     "护士04：", "  1日D 2日R 3日N 4日D ", "", rosterTip}));
}

TEST(NurseRoster, ClampsNursesAndDays) {
    const struct {
        double nurses;
        double days;
        const char* staffLine;
        size_t lineCount;
    } cases[] = {{41, 0, "人员：40 人；周期：1 天", 85},
                 {0, 32, "人员：1 人；周期：31 天", 7},
                 {-5, 1e12, "人员：1 人；周期：1 天", 7},
                 {nan, inf, "人员：1 人；周期：1 天", 7},
                 {3.9, 2.9, "人员：3 人；周期：2 天", 11}};
    for (const auto& c : cases) {
        const ReportResult result = Evaluate(1, {{"nurses", c.nurses}, {"days", c.days}});
        ASSERT_EQ(result.lines.size(), c.lineCount) << c.nurses;
        EXPECT_EQ(result.lines[1], c.staffLine);
    }
    // Nurse 40 on day 1: (40 - 1) mod 3 = 0; thirty-one days end on day 31 with code (0 + 60) mod 3 = 0.
    const ReportResult most = Evaluate(1, {{"nurses", 41}, {"days", 0}});
    EXPECT_EQ(most.lines[81], "护士40：");
    EXPECT_EQ(most.lines[82], "  1日D ");
    const ReportResult longest = Evaluate(1, {{"days", 100}});
    EXPECT_EQ(longest.lines[4].substr(longest.lines[4].size() - 8), " 31日D ");
}

TEST(NurseRoster, TheFullRosterOverflowsAFourThousandUnitReport) {
    const ReportTool reportTool(1, {{"nurses", 40}, {"days", 31}});
    char16_t report[8192];
    char16_t verdict[512];
    BuildCustomReport(1, reportTool.tool, reportTool.values, report, 8192, verdict, 512);
    EXPECT_EQ(TextLength(report), 6390);
    const ReportResult cut = Evaluate(reportTool, 4096);
    EXPECT_EQ(cut.lines.back().rfind("  1日", 0), 0u);  // ends inside a cell line
    EXPECT_EQ(cut.verdict, "已生成轮转排班表，可复制到排班本或表格");
}

const char* const dosingNote = "说明：按等间隔给药；抗菌药物需结合半衰期与肾肝功能调整。";

TEST(DosingSchedule, PutsEveryDoseTimeOnOneLine) {
    const struct {
        double start;
        double interval;
        double times;
        const char* header;
        const char* cells;
    } cases[] = {
        {8, 8, 3, "首剂时间 8:00，间隔 8 小时，共 3 次：", "第1天 08:00  |  第1天 16:00  |  第2天 00:00"},
        {22, 1.5, 4, "首剂时间 22:00，间隔 2 小时，共 4 次：",
         "第1天 22:00  |  第1天 23:30  |  第2天 01:00  |  第2天 02:30"},
        {8, 0, 2, "首剂时间 8:00，间隔 8 小时，共 2 次：", "第1天 08:00  |  第1天 16:00"},
        {8, -4, 2, "首剂时间 8:00，间隔 8 小时，共 2 次：", "第1天 08:00  |  第1天 16:00"},
        {8, nan, 2, "首剂时间 8:00，间隔 8 小时，共 2 次：", "第1天 08:00  |  第1天 16:00"},
        {-5, 6, 2, "首剂时间 0:00，间隔 6 小时，共 2 次：", "第1天 00:00  |  第1天 06:00"},
        {nan, 6, 1, "首剂时间 0:00，间隔 6 小时，共 1 次：", "第1天 00:00"},
        {30, 8, 3, "首剂时间 30:00，间隔 8 小时，共 3 次：", "第2天 06:00  |  第2天 14:00  |  第2天 22:00"},
        {9, 8, 0, "首剂时间 9:00，间隔 8 小时，共 1 次：", "第1天 09:00"},
        {0, 24, 2.9, "首剂时间 0:00，间隔 24 小时，共 2 次：", "第1天 00:00  |  第2天 00:00"},
        // Minutes are cut: 0.999 h is 59.94 minutes.
        {0.999, 10, 1, "首剂时间 1:00，间隔 10 小时，共 1 次：", "第1天 00:59"},
        {240, 1, 1, "首剂时间 240:00，间隔 1 小时，共 1 次：", "第11天 00:00"},
        // Past the 32-bit day count, and past every finite value.
        {1e12, 1, 1, "首剂时间 1000000000000:00，间隔 1 小时，共 1 次：", "第--天 --:--"},
        {inf, 1, 1, "首剂时间 inf:00，间隔 1 小时，共 1 次：", "第--天 --:--"},
    };
    for (const auto& c : cases) {
        const ReportResult result = Evaluate(2, {{"start", c.start}, {"interval", c.interval}, {"times", c.times}});
        EXPECT_EQ(result.report, Joined({c.header, c.cells, dosingNote})) << c.start << " " << c.interval;
        EXPECT_EQ(result.verdict, "给药时间表已生成，注意首剂与夜间给药时间");
    }
}

TEST(DosingSchedule, ClampsTheCountToThirtyCells) {
    const ReportResult result = Evaluate(2, {{"start", 0}, {"interval", 1}, {"times", 45}});
    ASSERT_EQ(result.lines.size(), 3u);
    EXPECT_EQ(result.lines[0], "首剂时间 0:00，间隔 1 小时，共 30 次：");
    const std::string& cells = result.lines[1];
    EXPECT_EQ(cells.rfind("  |  第2天 05:00"), cells.size() - std::string("  |  第2天 05:00").size());
    size_t separators = 0;
    for (size_t at = 0; (at = cells.find('|', at)) != std::string::npos; ++at) ++separators;
    EXPECT_EQ(separators, 29u);
}

LocalDate fixedToday{2024, 2, 27};
LocalDate FixedToday() { return fixedToday; }

class FollowUpPlan : public ::testing::Test {
   protected:
    void SetUp() override { SetTodayForTesting(FixedToday); }
    void TearDown() override { SetTodayForTesting(nullptr); }
};

const char* const followUpContent = "内容：症状与体征、用药依从性、复查项目、并发症预警、是否需要提前复诊。";

TEST_F(FollowUpPlan, DatesFollowTheCalendarFromTodayWithDefaultsAndLimits) {
    const struct {
        LocalDate today;
        double start;
        double gap;
        double times;
        const char* heading;
        std::vector<std::string> visits;
    } cases[] = {
        // clang-format off
        {{2024, 2, 27}, 1, 1, 4, "起始第 1 天，间隔 1 天，共 4 次",
         {"第 1 次：2024-02-28", "第 2 次：2024-02-29", "第 3 次：2024-03-01", "第 4 次：2024-03-02"}},
        {{2023, 2, 27}, 1, 1, 2, "起始第 1 天，间隔 1 天，共 2 次", {"第 1 次：2023-02-28", "第 2 次：2023-03-01"}},
        {{2026, 12, 8}, 30, 0, 1, "起始第 30 天，间隔 7 天，共 1 次", {"第 1 次：2027-01-07"}},
        {{2026, 12, 8}, -3, -2, 0, "起始第 -3 天，间隔 7 天，共 1 次", {"第 1 次：2026-12-05"}},
        {{2026, 12, 31}, 0, 7.9, 2, "起始第 0 天，间隔 7 天，共 2 次", {"第 1 次：2026-12-31", "第 2 次：2027-01-07"}},
        {{2000, 2, 28}, 1, 365, 2, "起始第 1 天，间隔 365 天，共 2 次", {"第 1 次：2000-02-29", "第 2 次：2001-02-28"}},
        {{1900, 2, 28}, 1, 1, 1, "起始第 1 天，间隔 1 天，共 1 次", {"第 1 次：1900-03-01"}},
        // clang-format on
    };
    for (const auto& c : cases) {
        fixedToday = c.today;
        std::vector<std::string> expected = {std::string("随访节点（以今天为基准，") + c.heading + "）："};
        expected.insert(expected.end(), c.visits.begin(), c.visits.end());
        expected.push_back(followUpContent);
        const ReportResult result = Evaluate(7, {{"start", c.start}, {"gap", c.gap}, {"times", c.times}});
        EXPECT_EQ(result.report, Joined(expected));
        EXPECT_EQ(result.verdict, "随访计划已生成，可按日期短信提醒患者");
        EXPECT_EQ(result.level, 0);
    }
}

TEST_F(FollowUpPlan, ClampsTheVisitsToTwenty) {
    fixedToday = {2026, 12, 8};
    const ReportResult result = Evaluate(7, {{"times", 25}});
    ASSERT_EQ(result.lines.size(), 22u);
    EXPECT_EQ(result.lines[0], "随访节点（以今天为基准，起始第 0 天，间隔 7 天，共 20 次）：");
    EXPECT_EQ(result.lines[20], "第 20 次：2027-04-20");
}

TEST_F(FollowUpPlan, AnUnknownDateGivesNoDates) {
    fixedToday = UnknownDate;
    for (const double start : {0.0, 30.0, 1e12}) {
        const ReportResult result = Evaluate(7, {{"start", start}, {"times", 20}});
        EXPECT_EQ(result.report, Joined({"随访节点：无法读取本机日期，未列出随访日期；请核对系统日期后重新计算。"}));
        EXPECT_EQ(result.verdict, "日期未知，未生成随访日期");
        EXPECT_EQ(result.level, 0);
    }
}

TEST_F(FollowUpPlan, HugeDistancesStayIn64BitDays) {
    fixedToday = {2026, 12, 8};
    const ReportResult result = Evaluate(7, {{"start", 2147483647.0}, {"gap", 2147483647.0}, {"times", 20}});
    ASSERT_EQ(result.lines.size(), 22u);
    // 2^31 - 1 days is about 5.88 million years.
    EXPECT_EQ(result.lines[1], "第 1 次：5881637-06-17");
    EXPECT_EQ(result.lines[20], "第 20 次：117594237-06-05");
}

}  // namespace
}  // namespace ovra::testing
