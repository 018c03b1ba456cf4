#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "reports/append_line.h"
#include "reports/reports.h"
#include "tests/reports/report_harness.h"
#include "text/text.h"

namespace ovra::testing {
namespace {

constexpr double inf = std::numeric_limits<double>::infinity();

TEST(ToSelector, TruncatesTowardZeroAndMapsTheUnrepresentableToTheMinimum) {
    const struct {
        double value;
        int32_t expected;
    } cases[] = {
        {2.9, 2},
        {-0.7, 0},
        {-2.9, -2},
        {2147483647.9, INT32_MAX},
        {2147483648.0, INT32_MIN},
        {-2147483648.9, INT32_MIN},
        {-2147483649.0, INT32_MIN},
        {1e12, INT32_MIN},
        {-1e308, INT32_MIN},
        {inf, INT32_MIN},
        {-inf, INT32_MIN},
        {std::numeric_limits<double>::quiet_NaN(), INT32_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(ToSelector(c.value), c.expected) << c.value;
}

TEST(InputValueByName, TakesTheFirstExactNameAndZeroOtherwise) {
    const ReportTool reportTool(3, {{"kind", 2.0}, {"kinds", 5.0}, {"kind", 4.0}, {"Kind", 6.0}});
    const Tool& tool = reportTool.tool;
    EXPECT_EQ(InputValueByName(tool, reportTool.values, "kind"), 2.0);
    EXPECT_EQ(InputValueByName(tool, reportTool.values, "Kind"), 6.0);
    EXPECT_EQ(InputValueByName(tool, reportTool.values, "kin"), 0.0);
    const ReportTool empty(3, {});
    EXPECT_EQ(InputValueByName(empty.tool, empty.values, "kind"), 0.0);
    // A tool claiming more inputs than the value vector holds is read no further than the vector.
    InputField inputs[MaxInputs + 1] = {};
    for (InputField& input : inputs) input.name = "other";
    inputs[MaxInputs].name = "kind";
    Tool wide{};
    wide.inputCount = MaxInputs + 1;
    wide.inputs = inputs;
    EXPECT_EQ(InputValueByName(wide, empty.values, "kind"), 0.0);
}

TEST(BuildCustomReport, NumbersWithoutABuilderGiveTheMissingReportAnswer) {
    for (const int32_t number : {12, -1, 1000, INT32_MIN}) {
        const ReportResult result = Evaluate(number, {{"kind", 1.0}});
        EXPECT_EQ(result.report, "（该工具暂无自定义报告）") << number;
        EXPECT_EQ(result.verdict, "暂无报告内容") << number;
        EXPECT_EQ(result.level, 0) << number;
    }
}

TEST(AppendLine, CutsALineAt511UnitsBeforeItsLineEnd) {
    const std::u16string longText(600, u'长');
    for (const bool formatted : {true, false}) {
        char16_t report[2048] = {};
        formatted ? AppendLine(report, 2048, u"%ls", longText.c_str())
                  : AppendFixedLine(report, 2048, longText.c_str());
        EXPECT_EQ(std::u16string(report), longText.substr(0, 511) + u"\r\n");
    }
}

TEST(AppendLine, BoundsTheLineAndItsLineEndByTheFreePlaces) {
    const struct {
        int32_t capacity;
        const char16_t* expected;
    } cases[] = {{1, u""},        {2, u"a"},        {4, u"ab%"},           {5, u"ab%\r"},
                 {6, u"ab%\r\n"}, {7, u"ab%\r\nx"}, {10, u"ab%\r\nxy%\r"}, {20, u"ab%\r\nxy%\r\n"}};
    for (const auto& c : cases) {
        char16_t report[20] = {};
        AppendLine(report, c.capacity, u"%ls%%", u"ab");
        AppendFixedLine(report, c.capacity, u"xy%");
        EXPECT_TRUE(TextEquals(report, c.expected)) << c.capacity;
    }
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
            EXPECT_EQ(std::u16string(report), whole.substr(0, capacity - 1)) << number << " at " << capacity;
            EXPECT_TRUE(TextEquals(verdict, fullVerdict)) << number << " at " << capacity;
            EXPECT_EQ(level, fullLevel) << number;
        }
        char16_t report[64];
        char16_t verdict[5] = {u'x', u'x', u'x', u'x', u'x'};
        BuildCustomReport(number, reportTool.tool, reportTool.values, report, 64, verdict, 5);
        EXPECT_EQ(std::u16string(verdict), std::u16string(fullVerdict).substr(0, 4)) << number;
    }
}

}  // namespace
}  // namespace ovra::testing
