#include "evaluate/evaluate.h"

#include "expr/expression.h"
#include "reports/reports.h"
#include "text/format.h"
#include "text/text.h"
#include "tool/format.h"

namespace ovra {
namespace {

void ClearText(char16_t* text, int32_t capacity) {
    if (capacity >= 1) text[0] = 0;
}

void AppendOutputLines(const Tool& tool, const double* outputValues, char16_t* report, int32_t reportCapacity) {
    for (int32_t j = 0; j < tool.outputCount; ++j) {
        const OutputField& output = tool.outputs[j];
        char16_t valueText[128];
        FormatValue(output.format, outputValues[j], valueText, 128);
        char16_t line[256];
        if (TextLength(output.unit) > 0) {
            FormatText(line, 256, u"%ls：%ls %ls\r\n", output.label, valueText, output.unit);
        } else {
            FormatText(line, 256, u"%ls：%ls\r\n", output.label, valueText);
        }
        AppendText(report, reportCapacity, line);
    }
}

// A rule whose condition fails to evaluate never fires.
void ApplyFirstFiringRule(const Tool& tool, const double* inputValues, const double* outputValues,
                          char16_t* verdict, int32_t verdictCapacity, int32_t& level) {
    for (int32_t r = 0; r < tool.ruleCount; ++r) {
        const VerdictRule& rule = tool.rules[r];
        bool fires = rule.condition == nullptr || rule.condition[0] == '\0';
        if (!fires) {
            int32_t error = 0;
            const double value = EvaluateExpression(tool, rule.condition, inputValues, outputValues, error);
            fires = error == 0 && value != 0.0;
        }
        if (fires) {
            CopyText(verdict, verdictCapacity, rule.text);
            level = rule.level;
            return;
        }
    }
}

}  // namespace

int32_t EvaluateTool(const Tool& tool, const double* inputValues, char16_t* report, int32_t reportCapacity,
                     char16_t* verdict, int32_t verdictCapacity, int32_t& level, char16_t* detail,
                     int32_t detailCapacity) {
    ClearText(detail, detailCapacity);
    ClearText(verdict, verdictCapacity);
    ClearText(report, reportCapacity);
    level = 0;

    if (tool.customReport != 0) {
        level = BuildCustomReport(tool.customReport, tool, inputValues, report, reportCapacity, verdict,
                                  verdictCapacity);
        CopyText(detail, detailCapacity, report);
        return level;
    }

    // Passed live: formula i reads the outputs computed before it and 0 for itself and later ones.
    double outputValues[MaxOutputs] = {};
    bool anyError = false;
    for (int32_t i = 0; i < tool.outputCount; ++i) {
        int32_t error = 0;
        outputValues[i] = EvaluateExpression(tool, tool.outputs[i].formula, inputValues, outputValues, error);
        anyError = anyError || error != 0;
    }
    AppendOutputLines(tool, outputValues, report, reportCapacity);
    if (anyError) AppendText(report, reportCapacity, u"（部分结果无法计算，请检查输入是否合理）\r\n");

    ApplyFirstFiringRule(tool, inputValues, outputValues, verdict, verdictCapacity, level);
    if (verdictCapacity >= 1 && verdict[0] == 0) CopyText(verdict, verdictCapacity, u"请核对输入参数后重新计算");

    CopyText(detail, detailCapacity, report);
    return level;
}

}  // namespace ovra
