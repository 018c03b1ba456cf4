#include <cstring>

#include "reports/builders.h"
#include "reports/reports.h"
#include "text/text.h"

namespace ovra {
namespace {

// Indexed by custom report number - 1.
static const CustomReportBuilder builders[] = {
    BuildNurseRoster,       BuildDosingSchedule, BuildBloodCollectionOrder, BuildCriticalValues,   BuildHighAlertDrugs,
    BuildDrugCompatibility, BuildFollowUpPlan,   BuildSafetyChecklist,      BuildHandoverTemplate, BuildInfusionCard,
    BuildLabPanels,
};
constexpr int32_t builderCount = static_cast<int32_t>(sizeof builders / sizeof builders[0]);

}  // namespace

int32_t BuildCustomReport(int32_t number, const Tool& tool, const double* inputValues, char16_t* report,
                          int32_t reportCapacity, char16_t* verdict, int32_t verdictCapacity) {
    if (reportCapacity >= 1) report[0] = 0;
    if (verdictCapacity >= 1) verdict[0] = 0;
    if (number >= 1 && number <= builderCount) {
        return builders[number - 1](tool, inputValues, report, reportCapacity, verdict, verdictCapacity);
    }
    CopyText(report, reportCapacity, u"（该工具暂无自定义报告）");
    CopyText(verdict, verdictCapacity, u"暂无报告内容");
    return 0;
}

double InputValueByName(const Tool& tool, const double* inputValues, const char* name) {
    if (inputValues == nullptr || name == nullptr) return 0.0;
    // The value vector holds MaxInputs entries whatever the tool claims.
    for (int32_t i = 0; i < tool.inputCount && i < MaxInputs; ++i) {
        const char* inputName = tool.inputs[i].name;
        if (inputName != nullptr && std::strcmp(inputName, name) == 0) return inputValues[i];
    }
    return 0.0;
}

int32_t ToSelector(double value) {
    // Compared before the cast, which is undefined outside the range; NaN fails both tests.
    if (!(value > -2147483649.0 && value < 2147483648.0)) return INT32_MIN;
    return static_cast<int32_t>(value);
}

int32_t ClampedSelector(const Tool& tool, const double* inputValues, const char* name, int32_t low, int32_t high) {
    const int32_t value = ToSelector(InputValueByName(tool, inputValues, name));
    return value < low ? low : (value > high ? high : value);
}

}  // namespace ovra
