// The handover template: one line to fill in per bed, between fixed lines.
#include "reports/append_line.h"
#include "reports/builders.h"
#include "text/text.h"

namespace ovra {

static const char16_t* const handoverHead[] = {u"交班报告（床号 / 诊断 / 本班病情 / 治疗与管路 / 需下一班关注）：",
                                               nullptr};
static const char16_t* const handoverTail[] = {
    u"",
    u"危重患者须床旁交接；新入院、手术、输血、病情变化患者逐一交接并双签名。",
    nullptr,
};

int32_t BuildHandoverTemplate(const Tool& tool, const double* inputValues, char16_t* report, int32_t reportCapacity,
                              char16_t* verdict, int32_t verdictCapacity) {
    const int32_t beds = ClampedSelector(tool, inputValues, "beds", 1, 30);
    AppendLines(report, reportCapacity, handoverHead);
    for (int32_t bed = 1; bed <= beds; ++bed) {
        AppendLine(report, reportCapacity,
                   u"%02d 床：诊断＿＿；体温＿℃ 脉搏＿次/分 呼吸＿次/分 血压＿/＿mmHg SpO2＿%%；本班处置＿＿；"
                   u"管路（静脉/引流/导尿/吸氧）＿＿；下一班关注＿＿。",
                   bed);
    }
    AppendLines(report, reportCapacity, handoverTail);
    CopyText(verdict, verdictCapacity, u"模板已生成，床旁交接并双方签名");
    return 0;
}

}  // namespace ovra
