#include "entry/selftest.h"

#include "evaluate/evaluate.h"
#include "expr/expression.h"
#include "io/whole_file.h"
#include "text/format.h"
#include "text/text.h"
#include "text/utf.h"
#include "tool/format.h"

namespace ovra {
namespace {

constexpr int32_t MaxDetailCharacters = 8000;

// The report with every CR dropped and every LF shown as a space, at most 8000 characters.
void AppendFlattened(char16_t* fileText, int32_t capacity, const char16_t* report) {
    int32_t taken = 0;
    for (const char16_t* p = report; *p != 0 && taken < MaxDetailCharacters; ++p) {
        if (*p == u'\r') continue;
        const char16_t c = *p == u'\n' ? u' ' : *p;
        AppendUnits(fileText, capacity, &c, 1);
        ++taken;
    }
}

}  // namespace

int32_t BuildSelfTestReport(const Tool& tool, char16_t* fileText, int32_t capacity) {
    double inputs[MaxInputs] = {};
    for (int32_t i = 0; i < tool.inputCount; ++i) inputs[i] = tool.inputs[i].defaultValue;
    char16_t report[8192];
    char16_t detail[8192];
    char16_t verdict[512];
    int32_t level = 0;
    EvaluateTool(tool, inputs, report, 8192, verdict, 512, level, detail, 8192);

    FormatText(fileText, capacity, u"TOOL|%d|%ls|%ls\r\n", tool.id, tool.title, tool.category);
    AppendFormat(fileText, capacity, u"LEVEL|%d\r\n", level);
    int32_t errors = 0;
    if (tool.customReport != 0) {
        AppendText(fileText, capacity, u"OUT|报告文本|见 DETAIL|\r\n");
    } else {
        for (int32_t j = 0; j < tool.outputCount; ++j) {
            // Each output on its own, against zeros: a formula naming another output reads 0 here.
            const double noOutputs[MaxOutputs] = {};
            int32_t error = 0;
            const double value = EvaluateExpression(tool, tool.outputs[j].formula, inputs, noOutputs, error);
            errors += error != 0 ? 1 : 0;
            char16_t valueText[128];
            FormatValue(tool.outputs[j].format, value, valueText, 128);
            char16_t line[512];
            FormatText(line, 512, u"OUT|%ls|%ls|%ls\r\n", tool.outputs[j].label, valueText, tool.outputs[j].unit);
            AppendText(fileText, capacity, line);
        }
    }
    AppendFormat(fileText, capacity, u"VERDICT|%ls\r\n", verdict);
    AppendText(fileText, capacity, u"DETAIL|");
    AppendFlattened(fileText, capacity, report);
    AppendText(fileText, capacity, u"\r\n");
    AppendFormat(fileText, capacity, u"ERRORS|%d\r\n", errors);
    return errors;
}

bool WriteUtf8File(const char16_t* path, const char16_t* text) {
    // Every UTF-16 unit takes at most three bytes.
    char bytes[SelfTestTextCapacity * 3 + 1];
    const int32_t size = Utf8FromUtf16(text, bytes, sizeof bytes);
    return size >= 0 && ReplaceFileWhole(path, bytes, size);
}

int32_t RunSelfTest(const char16_t* reportPath) {
    char16_t fileText[SelfTestTextCapacity];
    const int32_t errors = BuildSelfTestReport(ActiveTool(), fileText, SelfTestTextCapacity);
    if (!WriteUtf8File(reportPath, fileText)) return SelfTestNotWritten;
    return errors != 0 ? SelfTestOutputFailed : SelfTestPassed;
}

}  // namespace ovra
