// Tool 206, the drug compatibility check (custom report 6).
#include "tool/catalogue/catalogue.h"

namespace ovra {
namespace {

// The ten numbers do not fit one label, so the two labels share the list; both inputs take all ten.
const InputField inputs[] = {
    {"drugA", u"药物A(1-10：1头孢曲松 2葡萄糖酸钙 3万古霉素 4呋塞米 5氨溴索…)", u"", 1,
     "drugA>=1&&drugA<=10&&drugA==floor(drugA)", u"1 至 10 的整数"},
    {"drugB", u"药物B(1-10：…6奥美拉唑 7维生素C 8胰岛素 9碳酸氢钠 10多巴胺)", u"", 2,
     "drugB>=1&&drugB<=10&&drugB==floor(drugB)", u"1 至 10 的整数"},
};

}  // namespace

const Tool tool206 = {
    206,
    u"输液配伍查询",
    u"两种静脉药物能否同瓶输注",
    u"药学部",
    u"收录 10 种常用静脉药物的已知配伍禁忌；未收录的组合仍须查本院配伍表",
    u"两项均填 1 至 10 的编号：1头孢曲松 2葡萄糖酸钙 3万古霉素 4呋塞米 5氨溴索 6奥美拉唑 7维生素C 8胰岛素 9碳酸氢钠 "
    u"10多巴胺。不宜同瓶时分开输注，两药之间冲管。",
    sizeof inputs / sizeof inputs[0],
    inputs,
    0,
    nullptr,
    0,
    nullptr,
    6,
};

}  // namespace ovra
