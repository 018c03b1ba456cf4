// Tool 204, the laboratory critical values (custom report 4).
#include "tool/catalogue/catalogue.h"

namespace ovra {
namespace {

const InputField inputs[] = {
    {"kind", u"类别(1电解质 2血糖血气 3血细胞 4凝血 5微生物 6心肌胰酶 0其他)", u"", 1,
     "kind>=0&&kind<=6&&kind==floor(kind)", u"0 至 6 的整数"},
};

}  // namespace

const Tool tool204 = {
    204,
    u"检验危急值",
    u"常见危急值界限与报告处置流程",
    u"检验科",
    u"危急值界限参照常用标准，须以本院《危急值报告目录》为准",
    u"危急值 15 分钟内电话通知临床，医师 30 分钟内处理并记录，形成闭环。",
    sizeof inputs / sizeof inputs[0],
    inputs,
    0,
    nullptr,
    0,
    nullptr,
    4,
};

}  // namespace ovra
