// Tool 201, the nurse roster (custom report 1).
#include "tool/catalogue/catalogue.h"

namespace ovra {
namespace {

const InputField inputs[] = {
    {"nurses", u"护士人数", u"人", 6, "nurses>=1&&nurses<=40&&nurses==floor(nurses)", u"1 至 40 的整数"},
    {"days", u"排班天数", u"天", 7, "days>=1&&days<=31&&days==floor(days)", u"1 至 31 的整数"},
};

}  // namespace

const Tool tool201 = {
    201,
    u"护士排班表",
    u"白班、夜班、休息三班轮转",
    u"护理部",
    u"三班轮转：每人按 白班 D → 休息 R → 夜班 N 循环，三人即可保证每日各班有人",
    u"生成后核对连续夜班与夜班后休息，按科室实际人数与护士能级调整。",
    sizeof inputs / sizeof inputs[0],
    inputs,
    0,
    nullptr,
    0,
    nullptr,
    1,
};

}  // namespace ovra
