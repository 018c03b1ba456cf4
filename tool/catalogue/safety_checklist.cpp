// Tool 208, the surgical safety checklist (custom report 8).
#include "tool/catalogue/catalogue.h"

namespace ovra {

const Tool tool208 = {
    208,
    u"手术安全核查",
    u"麻醉实施前、手术开始前、患者离室前三步核查",
    u"手术室",
    u"手术安全核查：外科、麻醉、护理三方在三个时点共同核对并签字",
    u"任一核查项缺失不得开台；核查表签字后随病历归档。",
    0,
    nullptr,
    0,
    nullptr,
    0,
    nullptr,
    8,
};

}  // namespace ovra
