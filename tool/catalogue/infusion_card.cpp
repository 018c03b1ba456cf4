// Tool 210, the infusion card (custom report 10).
#include "tool/catalogue/catalogue.h"

namespace ovra {
namespace {

// The card prints the dose without a unit, so the label asks for the order's own.
const InputField inputs[] = {
    {"bed", u"床号", u"", 1, "bed>=1&&bed<=999&&bed==floor(bed)", u"1 至 999 的整数"},
    {"dose", u"医嘱药量(医嘱单位)", u"", 1, "dose>0&&dose<=100000", u"大于 0、不超过 100000 的数"},
    {"volume", u"溶媒量", u"ml", 250, "volume>=1&&volume<=3000", u"1 至 3000 之间的数"},
    {"gtt", u"滴速", u"滴/分", 40, "gtt>=1&&gtt<=200", u"1 至 200 之间的数"},
};

}  // namespace

const Tool tool210 = {
    210,
    u"静脉输液卡",
    u"床旁输液卡：药量、溶媒、滴速与流速",
    u"护理部",
    u"滴速换算按 20 滴/ml 输液器：ml/h = 滴/分 × 60 ÷ 20 = 滴/分 × 3",
    u"输液卡双人核对后执行；每 30 分钟巡视，观察穿刺点与输注反应。",
    sizeof inputs / sizeof inputs[0],
    inputs,
    0,
    nullptr,
    0,
    nullptr,
    10,
};

}  // namespace ovra
