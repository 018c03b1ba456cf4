// A printable infusion card for one bed.
#include "reports/append_line.h"
#include "reports/builders.h"
#include "reports/reports.h"
#include "text/text.h"

namespace ovra {

int32_t BuildInfusionCard(const Tool& tool, const double* inputValues, char16_t* report, int32_t reportCapacity,
                          char16_t* verdict, int32_t verdictCapacity) {
    const int32_t bed = ToSelector(InputValueByName(tool, inputValues, "bed"));
    const double dose = InputValueByName(tool, inputValues, "dose");
    const double volume = InputValueByName(tool, inputValues, "volume");
    const double gtt = InputValueByName(tool, inputValues, "gtt");
    AppendFixedLine(report, reportCapacity, u"静脉输液卡");
    AppendLine(report, reportCapacity, u"床号：%d", bed);
    AppendLine(report, reportCapacity, u"药液：医嘱药量 %.2f ，加入溶媒 %.0f ml", dose, volume);
    // A fixed factor of 3 ml/h per drop a minute; the card reads no drip-set size.
    AppendLine(report, reportCapacity, u"滴速：%.0f 滴/分（约 %.0f ml/h）", gtt, gtt * 3.0);
    AppendFixedLine(report, reportCapacity, u"核对：药名/剂量/浓度/有效期/配伍；双人签名。");
    AppendFixedLine(report, reportCapacity, u"观察：穿刺点、滴速、输注反应；每 30 分钟巡视并记录。");
    CopyText(verdict, verdictCapacity, u"输液卡已生成，双人核对后执行");
    return 0;
}

}  // namespace ovra
