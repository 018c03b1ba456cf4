// Tool 205, the high-alert drugs (custom report 5).
#include "tool/catalogue/catalogue.h"

namespace ovra {
namespace {

const InputField inputs[] = {
    {"kind", u"类别(1高浓度电解质 2降糖药 3抗凝化疗 4麻醉肌松)", u"", 1, "kind>=1&&kind<=4&&kind==floor(kind)",
     u"1 至 4 的整数"},
};

}  // namespace

const Tool tool205 = {
    205,
    u"高警示药品",
    u"高警示药品分类与管理要点",
    u"药学部",
    u"高警示药品：使用不当可致严重伤害或死亡，实行专区存放、专用标识、双人核对",
    u"高浓度电解质严禁直接静脉推注；胰岛素、抗凝药用药前双人核对剂量。",
    sizeof inputs / sizeof inputs[0],
    inputs,
    0,
    nullptr,
    0,
    nullptr,
    5,
};

}  // namespace ovra
