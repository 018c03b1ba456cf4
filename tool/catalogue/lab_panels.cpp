// Tool 211, the laboratory panels (custom report 11).
#include "tool/catalogue/catalogue.h"

namespace ovra {
namespace {

const InputField inputs[] = {
    {"panel", u"套餐(1血常规 2生化 3凝血 4甲功 5心肌 6尿常规)", u"", 1, "panel>=1&&panel<=6&&panel==floor(panel)",
     u"1 至 6 的整数"},
};

}  // namespace

const Tool tool211 = {
    211,
    u"检验套餐",
    u"常用检验套餐的项目、采血管与注意事项",
    u"检验科",
    u"常用套餐：血常规、生化全套、凝血四项、甲状腺功能、心肌损伤标志物、尿常规",
    u"按采血顺序采集，标本标识清楚并及时送检；空腹项目提前告知患者。",
    sizeof inputs / sizeof inputs[0],
    inputs,
    0,
    nullptr,
    0,
    nullptr,
    11,
};

}  // namespace ovra
