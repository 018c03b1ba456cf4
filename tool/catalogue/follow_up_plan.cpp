// Tool 207, the follow-up plan (custom report 7).
#include "tool/catalogue/catalogue.h"

namespace ovra {
namespace {

// A plan starts today or later; the builder would date visits before today.
const InputField inputs[] = {
    {"start", u"首次随访(距今)", u"天", 7, "start>=0&&start<=3650&&start==floor(start)", u"0 至 3650 的整数"},
    {"gap", u"随访间隔", u"天", 30, "gap>=1&&gap<=365&&gap==floor(gap)", u"1 至 365 的整数"},
    {"times", u"随访次数", u"次", 6, "times>=1&&times<=20&&times==floor(times)", u"1 至 20 的整数"},
};

}  // namespace

const Tool tool207 = {
    207,
    u"随访计划",
    u"以今天为基准排出随访日期",
    u"门诊",
    u"随访日期 = 今天 + 首次天数 +（第 n 次 − 1）× 间隔天数，按公历推算",
    u"随访内容：症状体征、用药依从性、复查项目与并发症预警；可按日期短信提醒患者。",
    sizeof inputs / sizeof inputs[0],
    inputs,
    0,
    nullptr,
    0,
    nullptr,
    7,
};

}  // namespace ovra
