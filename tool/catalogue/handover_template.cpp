// Tool 209, the handover template (custom report 9).
#include "tool/catalogue/catalogue.h"

namespace ovra {
namespace {

const InputField inputs[] = {
    {"beds", u"交班床数", u"床", 5, "beds>=1&&beds<=30&&beds==floor(beds)", u"1 至 30 的整数"},
};

}  // namespace

const Tool tool209 = {
    209,
    u"交班报告模板",
    u"按床位生成交接班记录模板",
    u"护理部",
    u"交接班内容：床号、诊断、本班病情、治疗与管路、下一班关注事项",
    u"危重、新入院、手术、输血及病情变化患者须床旁交接，交接双方签名。",
    sizeof inputs / sizeof inputs[0],
    inputs,
    0,
    nullptr,
    0,
    nullptr,
    9,
};

}  // namespace ovra
