#include "tests/reports/report_harness.h"

#include <memory>

#include "evaluate/evaluate.h"
#include "tests/support/utf8_text.h"

namespace ovra::testing {

ReportTool::ReportTool(int32_t customReport, std::initializer_list<NamedValue> named) : inputs{}, values{}, tool{} {
    int32_t count = 0;
    for (const NamedValue& entry : named) {
        if (count == MaxInputs) break;
        inputs[count] = InputField{entry.name, u"", nullptr, 0.0};
        values[count] = entry.value;
        ++count;
    }
    tool.id = 900;
    tool.title = u"报告";
    tool.inputCount = count;
    tool.inputs = inputs;
    tool.customReport = customReport;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

ReportResult Evaluate(const ReportTool& reportTool, int32_t reportCapacity) {
    auto report = std::make_unique<char16_t[]>(reportCapacity);
    auto detail = std::make_unique<char16_t[]>(8192);
    char16_t verdict[512];
    int32_t level = -99;
    EvaluateTool(reportTool.tool, reportTool.values, report.get(), reportCapacity, verdict, 512, level, detail.get(),
                 8192);
    ReportResult result{Utf8(report.get()), {}, Utf8(verdict), level};
    size_t begin = 0;
    for (size_t end; (end = result.report.find("\r\n", begin)) != std::string::npos; begin = end + 2) {
        result.lines.push_back(result.report.substr(begin, end - begin));
    }
    if (begin < result.report.size()) result.lines.push_back(result.report.substr(begin));
    return result;
}

ReportResult Evaluate(int32_t customReport, std::initializer_list<NamedValue> named) {
    const ReportTool reportTool(customReport, named);
    return Evaluate(reportTool);
}

}  // namespace ovra::testing
