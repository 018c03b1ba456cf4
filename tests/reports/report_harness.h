#pragma once
// Small custom-report tools for the tests, evaluated through EvaluateTool, with results in UTF-8 for readable
// failure messages.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "tool/tool.h"

namespace ovra::testing {

struct NamedValue {
    const char* name;
    double value;
};

// A tool whose inputs carry the given names and values, in that order (at most MaxInputs).
struct ReportTool {
    ReportTool(int32_t customReport, std::initializer_list<NamedValue> named);
    ReportTool(const ReportTool&) = delete;
    ReportTool& operator=(const ReportTool&) = delete;

    InputField inputs[MaxInputs];
    double values[MaxInputs];
    Tool tool;
};

struct ReportResult {
    std::string report;
    std::vector<std::string> lines;  // split at CR LF; a text after the last CR LF is the last entry
    std::string verdict;
    int32_t level;
};

ReportResult Evaluate(const ReportTool& reportTool, int32_t reportCapacity = 8192);
ReportResult Evaluate(int32_t customReport, std::initializer_list<NamedValue> named = {});

// The lines joined, each followed by CR LF.
std::string Joined(const std::vector<std::string>& lines);

}  // namespace ovra::testing
