#include "reports/builders.h"
#include "reports/reports.h"
#include "text/text.h"

namespace ovra {
namespace {

// Each number runs either its own builder or the reference builder over its list.
struct ReportEntry {
    CustomReportBuilder builder;
    const ReferenceList* list;
};

// Indexed by custom report number - 1.
static const ReportEntry reports[] = {
    {BuildNurseRoster, nullptr},  {BuildDosingSchedule, nullptr}, {nullptr, &bloodCollectionOrder},
    {nullptr, &criticalValues},   {nullptr, &highAlertDrugs},     {BuildDrugCompatibility, nullptr},
    {BuildFollowUpPlan, nullptr}, {nullptr, &safetyChecklist},    {BuildHandoverTemplate, nullptr},
    {BuildInfusionCard, nullptr}, {nullptr, &labPanels},
};
constexpr int32_t reportCount = static_cast<int32_t>(sizeof reports / sizeof reports[0]);

}  // namespace

int32_t BuildCustomReport(int32_t number, const Tool& tool, const double* inputValues, char16_t* report,
                          int32_t reportCapacity, char16_t* verdict, int32_t verdictCapacity) {
    if (reportCapacity >= 1) report[0] = 0;
    if (verdictCapacity >= 1) verdict[0] = 0;
    if (number >= 1 && number <= reportCount) {
        const ReportEntry& entry = reports[number - 1];
        if (entry.list != nullptr) {
            return BuildReferenceList(*entry.list, tool, inputValues, report, reportCapacity, verdict, verdictCapacity);
        }
        return entry.builder(tool, inputValues, report, reportCapacity, verdict, verdictCapacity);
    }
    CopyText(report, reportCapacity, u"（该工具暂无自定义报告）");
    CopyText(verdict, verdictCapacity, u"暂无报告内容");
    return 0;
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
