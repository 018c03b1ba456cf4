#include "tests/ui/ui_test_support.h"

namespace ovra {

std::string Abcd2Head() {
    return "\xEF\xBB\xBF时间,工具,年龄,收缩压,舒张压,症状(2单侧无力/1言语/0其他),持续时间(0<10min/1 10-59/2≥60),"
           "糖尿病(1/0),结果\r\n";
}

std::string Abcd2Record(const std::string& time, const std::string& age) {
    return time + ",ABCD2 评分,年龄=" + age +
           ",收缩压=130,舒张压=80,症状(2单侧无力/1言语/0其他)=1,持续时间(0<10min/1 10-59/2≥60)=1,糖尿病(1/0)=0,"
           "\"ABCD2：3 分\r\n\"\r\n";
}

FieldTexts Abcd2Fields(const char16_t* age, const char16_t* sbp, const char16_t* dbp, const char16_t* clinical,
                       const char16_t* duration, const char16_t* dm) {
    return FieldTexts{{age, sbp, dbp, clinical, duration, dm}};
}

}  // namespace ovra
