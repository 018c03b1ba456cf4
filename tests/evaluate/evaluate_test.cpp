#include "evaluate/evaluate.h"

#include <gtest/gtest.h>

#include <string>

namespace ovra {
namespace {

struct Result {
    std::u16string report;
    std::u16string verdict;
    std::u16string detail;
    int32_t level;
    int32_t returned;
};

Result Evaluate(const Tool& tool, const double* inputs, int32_t reportCapacity = 4096) {
    char16_t report[4096];
    char16_t verdict[512];
    char16_t detail[8192];
    Result r{};
    r.level = -99;
    r.returned = EvaluateTool(tool, inputs, report, reportCapacity, verdict, 512, r.level, detail, 8192);
    r.report = report;
    r.verdict = verdict;
    r.detail = detail;
    return r;
}

// The published score, written independently of the formula in the catalogue.
int PublishedAbcd2(int age, int sbp, int dbp, int clinical, int duration, int dm) {
    return (age >= 60 ? 1 : 0) + (sbp >= 140 || dbp >= 90 ? 1 : 0) + clinical + duration + (dm != 0 ? 1 : 0);
}

TEST(EvaluateAbcd2, OverTheWholeGridOfCodedInputs) {
    const Tool& tool = ActiveTool();
    for (int age : {18, 59, 60, 90}) {
        for (int sbp : {120, 139, 140}) {
            for (int dbp : {70, 89, 90}) {
                for (int clinical = 0; clinical <= 2; ++clinical) {
                    for (int duration = 0; duration <= 2; ++duration) {
                        for (int dm : {0, 1}) {
                            const double inputs[MaxInputs] = {double(age), double(sbp), double(dbp),
                                                              double(clinical), double(duration), double(dm)};
                            const int score = PublishedAbcd2(age, sbp, dbp, clinical, duration, dm);
                            const Result r = Evaluate(tool, inputs);
                            const std::u16string scoreText(1, char16_t(u'0' + score));
                            ASSERT_EQ(r.report, u"ABCD2：" + scoreText + u" 分\r\n");
                            ASSERT_EQ(r.detail, r.report);
                            const int32_t level = score >= 6 ? 3 : score >= 4 ? 2 : 0;
                            ASSERT_EQ(r.level, level);
                            ASSERT_EQ(r.returned, level);
                            ASSERT_EQ(r.verdict, level == 3   ? u"高危，2 天内卒中风险高，住院评估"
                                                 : level == 2 ? u"中危，尽快完成血管与心源评估"
                                                              : u"低危，门诊随访");
                        }
                    }
                }
            }
        }
    }
}

TEST(EvaluateAbcd2, CodesAreAddedAsEntered) {
    struct Case {
        double inputs[6];
        const char16_t* report;
        int32_t level;
    };
    const Case cases[] = {
        {{60, 130, 80, 1, 1, 0}, u"ABCD2：3 分\r\n", 0},
        {{70, 150, 80, 2, 2, 1}, u"ABCD2：7 分\r\n", 3},
        {{50, 120, 70, 5, 0, 0}, u"ABCD2：5 分\r\n", 2},       // 5 for clinical adds 5
        {{50, 120, 70, 1.5, 2, 0}, u"ABCD2：4 分\r\n", 0},     // shows 3.5 rounded; the rules see 3.5
        {{50, 120, 70, 0, 0, -3}, u"ABCD2：1 分\r\n", 0},      // any non-zero diabetes entry is one point
        {{50, 120, 70, 0, 0, 0.001}, u"ABCD2：1 分\r\n", 0},
    };
    for (const Case& c : cases) {
        double inputs[MaxInputs] = {};
        for (int i = 0; i < 6; ++i) inputs[i] = c.inputs[i];
        const Result r = Evaluate(ActiveTool(), inputs);
        EXPECT_EQ(r.report, c.report);
        EXPECT_EQ(r.level, c.level);
    }
}

TEST(EvaluateAbcd2, NonFiniteInputsShowAsFailedNotAsAScore) {
    const double inputs[MaxInputs] = {60, 130, 80, 1, 1e308 * 10, 0};
    const Result r = Evaluate(ActiveTool(), inputs);
    EXPECT_EQ(r.report, u"ABCD2：-- 分\r\n（部分结果无法计算，请检查输入是否合理）\r\n");
    EXPECT_EQ(r.level, 3);  // infinity compares >= 6; the warning line tells the user not to trust it
}

// Small tools for the evaluation path itself.
const InputField xInput[] = {{"x", u"X", nullptr, 2}};

const OutputField chainOutputs[] = {
    {"a", u"A", u"", "b + 1", "f0"},       // reads b before it is computed: 0
    {"b", u"B", u"mg", "x * 10", "f1"},
    {"c", u"C", nullptr, "a + b", nullptr},
};
const Tool chainTool = {1, u"t", nullptr, u"c", u"r", nullptr, 1, xInput, 3, chainOutputs, 0, nullptr, 0};

TEST(EvaluateTool, LaterFormulasSeeEarlierOutputsOnly) {
    const double inputs[MaxInputs] = {2};
    const Result r = Evaluate(chainTool, inputs);
    EXPECT_EQ(r.report, u"A：1\r\nB：20.0 mg\r\nC：21.00\r\n");
    EXPECT_EQ(r.verdict, u"请核对输入参数后重新计算");  // no rules: fallback verdict, level 0
    EXPECT_EQ(r.level, 0);
}

const OutputField failingOutputs[] = {
    {"a", u"A", nullptr, "1/0", "f0"},
    {"b", u"B", nullptr, "log(0) + a + 5", "f0"},
    {"c", u"C", nullptr, "exp(1000)", "f0"},
    {"d", u"D", nullptr, nullptr, "f0"},
    {"e", u"E", nullptr, "nope", "f0"},
};
const VerdictRule failingRules[] = {
    {"1/0 + 1", 9, u"never: the condition fails"},
    {"missing", 8, u"never: unknown name"},
    {"a == 0", 1, u"fires"},
};
const Tool failingTool = {2, u"t", nullptr, u"c", u"r", nullptr, 1, xInput, 5, failingOutputs, 3, failingRules, 0};

TEST(EvaluateTool, FailedFormulasKeepTheirValueAndAddOneWarning) {
    const double inputs[MaxInputs] = {2};
    const Result r = Evaluate(failingTool, inputs);
    EXPECT_EQ(r.report, u"A：0\r\nB：5\r\nC：--\r\nD：0\r\nE：0\r\n（部分结果无法计算，请检查输入是否合理）\r\n");
    EXPECT_EQ(r.verdict, u"fires");
    EXPECT_EQ(r.level, 1);
}

const OutputField oneOutput[] = {{"a", u"A", nullptr, "x", "f0"}};
const VerdictRule alwaysFirst[] = {{"", 4, u"first"}, {"1/0", 5, u"second"}};
const VerdictRule emptyText[] = {{"a > 1", 6, u""}, {"", 0, u"default"}};
const Tool alwaysFirstTool = {3, u"t", nullptr, u"c", u"r", nullptr, 1, xInput, 1, oneOutput, 2, alwaysFirst, 0};
const Tool emptyTextTool = {4, u"t", nullptr, u"c", u"r", nullptr, 1, xInput, 1, oneOutput, 2, emptyText, 0};

TEST(EvaluateTool, RulesFirstFiringWinsAndAnEmptyTextGetsTheFallback) {
    const double inputs[MaxInputs] = {2};
    Result r = Evaluate(alwaysFirstTool, inputs);
    EXPECT_EQ(r.verdict, u"first");
    EXPECT_EQ(r.level, 4);
    r = Evaluate(emptyTextTool, inputs);
    EXPECT_EQ(r.verdict, u"请核对输入参数后重新计算");
    EXPECT_EQ(r.level, 6);
}

TEST(EvaluateTool, ASmallReportCapacityCutsMidLineAndDetailCopiesTheCut) {
    const double inputs[MaxInputs] = {2};
    for (int32_t capacity = 1; capacity <= 30; ++capacity) {
        const Result r = Evaluate(chainTool, inputs, capacity);
        const std::u16string whole = u"A：1\r\nB：20.0 mg\r\nC：21.00\r\n";
        EXPECT_EQ(r.report, whole.substr(0, capacity - 1)) << capacity;
        EXPECT_EQ(r.detail, r.report);
    }
}

const Tool customTool = {5, u"t", nullptr, u"c", u"r", nullptr, 1, xInput, 1, failingOutputs, 1, alwaysFirst, 99};

TEST(EvaluateTool, ACustomReportToolRunsNoFormulaAndNoRule) {
    const double inputs[MaxInputs] = {2};
    const Result r = Evaluate(customTool, inputs);
    EXPECT_EQ(r.report, u"（该工具暂无自定义报告）");
    EXPECT_EQ(r.verdict, u"暂无报告内容");
    EXPECT_EQ(r.detail, r.report);
    EXPECT_EQ(r.level, 0);
}

}  // namespace
}  // namespace ovra
