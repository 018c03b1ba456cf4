// Tool 203, the blood-collection order (custom report 3).
#include "tool/catalogue/catalogue.h"

namespace ovra {
namespace {

const InputField inputs[] = {
    {"kind", u"项目(1血常规 2凝血 3生化 4血气 5血培养 6血糖乳酸 0其他)", u"", 1, "kind>=0&&kind<=6&&kind==floor(kind)",
     u"0 至 6 的整数"},
};

}  // namespace

const Tool tool203 = {
    203,
    u"采血顺序",
    u"真空采血管的标准采集顺序与本次项目要点",
    u"检验科",
    u"采血顺序：血培养 → 凝血（蓝）→ 血清（红/金黄）→ 肝素（绿）→ EDTA（紫）→ 氟化钠（灰）",
    u"按顺序采血可避免添加剂交叉污染；凝血管须采满刻度，标本及时送检。",
    sizeof inputs / sizeof inputs[0],
    inputs,
    0,
    nullptr,
    0,
    nullptr,
    3,
};

}  // namespace ovra
