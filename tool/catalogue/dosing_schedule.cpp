// Tool 202, the dosing timetable (custom report 2).
#include "tool/catalogue/catalogue.h"

namespace ovra {
namespace {

// Whole hours only: the timetable's heading shows the first dose and the interval rounded to the hour.
const InputField inputs[] = {
    {"start", u"首剂时间(整点)", u"时", 8, "start>=0&&start<=23&&start==floor(start)", u"0 至 23 的整数"},
    {"interval", u"给药间隔", u"小时", 8, "interval>=1&&interval<=72&&interval==floor(interval)", u"1 至 72 的整数"},
    {"times", u"给药次数", u"次", 6, "times>=1&&times<=30&&times==floor(times)", u"1 至 30 的整数"},
};

}  // namespace

const Tool tool202 = {
    202,
    u"给药时间表",
    u"按固定间隔推算每次给药的日期与时刻",
    u"临床药学",
    u"等间隔给药：第 n 次 = 首剂时间 +（n−1）× 间隔，跨过 24 点计入下一天",
    u"抗菌药物按半衰期与肝肾功能调整间隔；夜间给药时间请在交班时交接。",
    sizeof inputs / sizeof inputs[0],
    inputs,
    0,
    nullptr,
    0,
    nullptr,
    2,
};

}  // namespace ovra
