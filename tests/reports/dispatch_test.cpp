#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "reports/append_line.h"
#include "reports/reports.h"
#include "tests/reports/report_harness.h"
#include "text/text.h"

namespace ovra::testing {
namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

TEST(ToSelector, TruncatesTowardZeroAndMapsTheUnrepresentableToTheMinimum) {
    const struct {
        double value;
        int32_t expected;
    } cases[] = {
        {2.9, 2},
        {-0.7, 0},
        {-2.9, -2},
        {0.0, 0},
        {-0.0, 0},
        {2147483647.0, INT32_MAX},
        {2147483647.9, INT32_MAX},
        {2147483648.0, INT32_MIN},
        {-2147483648.0, INT32_MIN},
        {-2147483648.9, INT32_MIN},
        {-2147483649.0, INT32_MIN},
        {1e12, INT32_MIN},
        {-1e308, INT32_MIN},
        {inf, INT32_MIN},
        {-inf, INT32_MIN},
        {nan, INT32_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(ToSelector(c.value), c.expected) << c.value;
}

TEST(InputValueByName, TakesTheFirstExactNameAndZeroOtherwise) {
    const ReportTool reportTool(3, {{"kind", 2.0}, {"kinds", 5.0}, {"kind", 4.0}, {"Kind", 6.0}});
    const Tool& tool = reportTool.tool;
    EXPECT_EQ(InputValueByName(tool, reportTool.values, "kind"), 2.0);
    EXPECT_EQ(InputValueByName(tool, reportTool.values, "kinds"), 5.0);
    EXPECT_EQ(InputValueByName(tool, reportTool.values, "Kind"), 6.0);
    EXPECT_EQ(InputValueByName(tool, reportTool.values, "kin"), 0.0);
    EXPECT_EQ(InputValueByName(tool, reportTool.values, "KIND"), 0.0);
    const ReportTool empty(3, {});
    EXPECT_EQ(InputValueByName(empty.tool, empty.values, "kind"), 0.0);
}

TEST(InputValueByName, ReadsNoFurtherThanTheSixteenEntriesOfTheValueVector) {
    InputField inputs[MaxInputs + 1] = {};
    for (InputField& input : inputs) input.name = "other";
    inputs[MaxInputs].name = "kind";
    const double values[MaxInputs] = {};
    Tool tool{};
    tool.inputCount = MaxInputs + 1;
    tool.inputs = inputs;
    EXPECT_EQ(InputValueByName(tool, values, "kind"), 0.0);
}

TEST(BuildCustomReport, NumbersWithoutABuilderGiveTheMissingReportAnswer) {
    for (const int32_t number : {12, -1, 1000, INT32_MIN, INT32_MAX}) {
        const ReportResult result = Evaluate(number, {{"kind", 1.0}});
        EXPECT_EQ(result.report, "（该工具暂无自定义报告）") << number;
        EXPECT_EQ(result.verdict, "暂无报告内容") << number;
        EXPECT_EQ(result.level, 0) << number;
    }
}

TEST(BuildCustomReport, EmptiesWhatTheBuffersHeldBefore) {
    const ReportTool reportTool(8, {});
    char16_t report[4096];
    char16_t verdict[64];
    CopyText(report, 4096, u"旧内容");
    CopyText(verdict, 64, u"旧结论");
    BuildCustomReport(8, reportTool.tool, reportTool.values, report, 4096, verdict, 64);
    EXPECT_EQ(Utf8(report).rfind("手术安全核查表", 0), 0u);
    EXPECT_EQ(Utf8(verdict), "三方核查缺一不可，签字后归档");
}

TEST(AppendLine, CutsALineAt511UnitsBeforeItsLineEnd) {
    std::u16string longText(600, u'长');
    char16_t report[2048] = {};
    AppendLine(report, 2048, u"%ls", longText.c_str());
    ASSERT_EQ(TextLength(report), 513);
    EXPECT_EQ(std::u16string(report, 511), longText.substr(0, 511));
    EXPECT_EQ(report[511], u'\r');
    EXPECT_EQ(report[512], u'\n');

    report[0] = 0;
    AppendFixedLine(report, 2048, longText.c_str());
    EXPECT_EQ(TextLength(report), 513);
}

TEST(AppendLine, BoundsTheLineAndItsLineEndByTheFreePlaces) {
    const struct {
        int32_t capacity;
        const char16_t* expected;
    } cases[] = {
        {1, u""},        {2, u"a"},        {3, u"ab"},         {4, u"abc"},           {5, u"abc\r"},
        {6, u"abc\r\n"}, {7, u"abc\r\nx"}, {9, u"abc\r\nxyz"}, {10, u"abc\r\nxyz\r"}, {20, u"abc\r\nxyz\r\n"},
    };
    for (const auto& c : cases) {
        char16_t report[20] = {};
        AppendLine(report, c.capacity, u"%ls", u"abc");
        AppendFixedLine(report, c.capacity, u"xyz");
        EXPECT_TRUE(TextEquals(report, c.expected)) << c.capacity;
    }
}

TEST(AppendLine, FixedLinesKeepTheirPercentSigns) {
    char16_t report[64] = {};
    AppendFixedLine(report, 64, u"10% 氯化钾 %d %%");
    EXPECT_TRUE(TextEquals(report, u"10% 氯化钾 %d %%\r\n"));
}

// Every builder cut at a small capacity holds exactly the start of its whole report, and still sets its verdict
// and level.
TEST(BuildCustomReport, SmallCapacitiesKeepThePrefixVerdictAndLevel) {
    const ReportTool reportTool(1, {{"nurses", 3},
                                    {"days", 5},
                                    {"start", 22},
                                    {"interval", 1.5},
                                    {"times", 4},
                                    {"kind", 1},
                                    {"drugA", 1},
                                    {"drugB", 2},
                                    {"gap", 7},
                                    {"beds", 3},
                                    {"bed", 12},
                                    {"dose", 2.5},
                                    {"volume", 250},
                                    {"gtt", 40},
                                    {"panel", 2}});
    for (int32_t number = 1; number <= 12; ++number) {
        char16_t full[8192];
        char16_t fullVerdict[512];
        const int32_t fullLevel =
            BuildCustomReport(number, reportTool.tool, reportTool.values, full, 8192, fullVerdict, 512);
        const std::u16string whole(full);
        for (const int32_t capacity : {1, 2, 3, 17, 100, static_cast<int32_t>(whole.size())}) {
            char16_t report[8192];
            char16_t verdict[512];
            const int32_t level =
                BuildCustomReport(number, reportTool.tool, reportTool.values, report, capacity, verdict, 512);
            const std::u16string cut(report);
            EXPECT_EQ(cut, whole.substr(0, capacity - 1)) << number << " at " << capacity;
            EXPECT_TRUE(TextEquals(verdict, fullVerdict)) << number << " at " << capacity;
            EXPECT_EQ(level, fullLevel) << number;
        }
    }
}

TEST(BuildCustomReport, TheVerdictIsCutToItsCapacityToo) {
    const ReportTool reportTool(8, {});
    char16_t report[1024];
    char16_t verdict[5] = {u'x', u'x', u'x', u'x', u'x'};
    BuildCustomReport(8, reportTool.tool, reportTool.values, report, 1024, verdict, 5);
    EXPECT_TRUE(TextEquals(verdict, u"三方核查"));
    char16_t none[1] = {u'x'};
    BuildCustomReport(6, reportTool.tool, reportTool.values, report, 1024, none, 1);
    EXPECT_EQ(none[0], 0);
}

TEST(BuildCustomReport, ChecklistCutAtOneHundredUnits) {
    const ReportTool reportTool(8, {});
    char16_t report[100];
    char16_t verdict[512];
    BuildCustomReport(8, reportTool.tool, reportTool.values, report, 100, verdict, 512);
    EXPECT_EQ(TextLength(report), 99);
    EXPECT_EQ(Utf8(verdict), "三方核查缺一不可，签字后归档");
}

}  // namespace
}  // namespace ovra::testing
