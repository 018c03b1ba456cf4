#include "tests/ui/ui_test_support.h"

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "text/text.h"
#include "text/utf.h"

namespace ovra {

std::string Utf8(const char16_t* text) {
    std::string out(static_cast<size_t>(TextLength(text)) * 3 + 1, '\0');
    const int32_t size = Utf8FromUtf16(text, out.data(), static_cast<int32_t>(out.size()));
    out.resize(size < 0 ? 0 : static_cast<size_t>(size));
    return out;
}

std::string Utf8(const std::u16string& text) { return Utf8(text.c_str()); }

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

ScratchFolder::ScratchFolder() {
    static std::atomic<int> counter{0};
    path = (std::filesystem::temp_directory_path() /
            ("ovra_ui_" + std::to_string(getpid()) + "_" + std::to_string(counter++)))
               .generic_string();  // "/" between names on every system, as the tests spell paths
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
}

ScratchFolder::~ScratchFolder() {
    std::error_code error;
    std::filesystem::remove_all(path, error);
}

std::u16string ScratchFolder::Path16() const { return std::filesystem::path(path).u16string(); }

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
