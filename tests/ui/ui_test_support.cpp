#include "tests/ui/ui_test_support.h"

#include <unistd.h>
#ifdef _WIN32
#include <windows.h>
#endif

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
    // Only a folder this process made itself: Wine gives a new process the number of one that has ended, and
    // a folder that one left behind would be taken for this one's.
    std::filesystem::path made;
    do {
        made = std::filesystem::temp_directory_path() /
               ("ovra_ui_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
    } while (!std::filesystem::create_directories(made));
    path = made.generic_string();  // "/" between names on every system, as the tests spell paths
}

#ifdef _WIN32
namespace {

// std::filesystem lists a folder through the C runtime, which stops at 260 units (and under Wine then lists
// another folder); the system's own calls take the \\?\ form of a path, which has no such limit. Some tests make
// deeper paths than that.
void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring inside = folder + L"\\" + name;
            const DWORD kind = found.dwFileAttributes;
            if ((kind & FILE_ATTRIBUTE_DIRECTORY) && !(kind & FILE_ATTRIBUTE_REPARSE_POINT))
                RemoveTree(inside);
            else if (kind & FILE_ATTRIBUTE_DIRECTORY)
                RemoveDirectoryW(inside.c_str());  // a link: only the link goes
            else
                DeleteFileW(inside.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace
#endif

ScratchFolder::~ScratchFolder() {
#ifdef _WIN32
    RemoveTree(L"\\\\?\\" + std::filesystem::path(path).make_preferred().wstring());
#else
    std::error_code error;
    std::filesystem::remove_all(path, error);
#endif
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
