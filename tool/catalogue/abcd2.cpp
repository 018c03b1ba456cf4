// Tool 146, the ABCD2 score.
#include "tool/catalogue/catalogue.h"

namespace ovra {
namespace {

// The symptom label gives unilateral weakness 2 points, as the published score does; the formula adds the
// code as entered. The checks refuse typing slips before evaluation; the ranges are wide on purpose.
const InputField abcd2Inputs[] = {
    {"age", u"年龄", u"岁", 60, "age>=0&&age<=130", u"0 至 130 之间的数"},
    {"sbp", u"收缩压", u"mmHg", 130, "sbp>=40&&sbp<=300", u"40 至 300 之间的数"},
    {"dbp", u"舒张压", u"mmHg", 80, "dbp>=20&&dbp<=200", u"20 至 200 之间的数"},
    {"clinical", u"症状(2单侧无力/1言语/0其他)", u"", 1, "clinical==0||clinical==1||clinical==2", u"0、1 或 2"},
    {"duration", u"持续时间(0<10min/1 10-59/2≥60)", u"", 1, "duration==0||duration==1||duration==2", u"0、1 或 2"},
    {"dm", u"糖尿病(1/0)", u"", 0, "dm==0||dm==1", u"0 或 1"},
};

const OutputField abcd2Outputs[] = {
    {"score", u"ABCD2", u"分", "(age>=60?1:0)+((sbp>=140||dbp>=90)?1:0)+clinical+duration+(dm?1:0)", "f0"},
};

const VerdictRule abcd2Rules[] = {
    {"score>=6", 3, u"高危，2 天内卒中风险高，住院评估"},
    {"score>=4", 2, u"中危，尽快完成血管与心源评估"},
    {"", 0, u"低危，门诊随访"},
};

}  // namespace

const Tool tool146 = {
    146,
    u"ABCD2 评分",
    u"短暂性脑缺血发作后卒中风险",
    u"神经科",
    u"ABCD2：0-3 低危，4-5 中危，6-7 高危（2 天内卒中风险）",
    u"高危 TIA 建议住院评估，尽快启动抗血小板与危险因素干预。",
    sizeof abcd2Inputs / sizeof abcd2Inputs[0],
    abcd2Inputs,
    sizeof abcd2Outputs / sizeof abcd2Outputs[0],
    abcd2Outputs,
    sizeof abcd2Rules / sizeof abcd2Rules[0],
    abcd2Rules,
    0,
};

}  // namespace ovra
