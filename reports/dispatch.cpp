#include "reports/reports.h"

#include "text/text.h"

namespace ovra {

int32_t BuildCustomReport(int32_t number, const Tool& tool, const double* inputValues, char16_t* report,
                          int32_t reportCapacity, char16_t* verdict, int32_t verdictCapacity) {
    (void)number, (void)tool, (void)inputValues;
    CopyText(report, reportCapacity, u"（该工具暂无自定义报告）");
    CopyText(verdict, verdictCapacity, u"暂无报告内容");
    return 0;
}

}  // namespace ovra
