#include "text/format.h"

#include <gtest/gtest.h>

#include <string>

namespace ovra {
namespace {

template <class... Args>
std::u16string Formatted(int32_t capacity, CheckedFormat<std::type_identity_t<Args>...> format, const Args&... args) {
    char16_t out[1024];
    for (char16_t& c : out) c = u'#';
    const int32_t length = FormatText<Args...>(out, capacity, format, args...);
    EXPECT_EQ(length, static_cast<int32_t>(std::u16string(out).size()));
    if (capacity >= 1) {
        EXPECT_LT(length, capacity);
    }
    return out;
}

TEST(Formatter, Conversions) {
    EXPECT_EQ(Formatted(64, u"TOOL|%d|%ls|%ls\r\n", 146, u"ABCD2 评分", u"神经科"), u"TOOL|146|ABCD2 评分|神经科\r\n");
    EXPECT_EQ(Formatted(64, u"%02d:%02d", 7, 5), u"07:05");
    EXPECT_EQ(Formatted(64, u"%04lld-%02lld-%02lld", int64_t{-1}, int64_t{1}, int64_t{1}), u"-001-01-01");
    EXPECT_EQ(Formatted(64, u"%04lld", int64_t{25252734927768524}), u"25252734927768524");
    EXPECT_EQ(Formatted(64, u"%g|%g|%g", 1234567.0, 0.5, 60.0), u"1.23457e+06|0.5|60");
    EXPECT_EQ(Formatted(64, u"%.6g", 0.0001), u"0.0001");
    EXPECT_EQ(Formatted(64, u"%.0f|%.2f", 2.5, -0.004), u"2|-0.00");
    EXPECT_EQ(Formatted(64, u"100%%%c", u'！'), u"100%！");
    EXPECT_EQ(Formatted(64, u"[%ls]", static_cast<const char16_t*>(nullptr)), u"[]");
    EXPECT_EQ(Formatted(64, u"%d", INT32_MIN), u"-2147483648");
}

TEST(Formatter, CutsAtCapacityMinusOne) {
    EXPECT_EQ(Formatted(5, u"%ls=%d", u"年龄", 60), u"年龄=6");
    EXPECT_EQ(Formatted(2, u"%.3f", 3.14159), u"3");
    EXPECT_EQ(Formatted(1, u"abc"), u"");
    EXPECT_EQ(Formatted(4, u"%.300f", 1e300).size(), 3u);
}

TEST(Formatter, AppendKeepsWhatIsThere) {
    char16_t out[16] = u"LEVEL|";
    AppendFormat(out, 16, u"%d\r\n", 3);
    EXPECT_EQ(std::u16string(out), u"LEVEL|3\r\n");
    AppendFormat(out, 12, u"%ls", u"abcdef");
    EXPECT_EQ(std::u16string(out), u"LEVEL|3\r\nab");
}

// Mismatched formats do not compile; these lines stay here as documentation of what the check refuses:
//   FormatText(out, 8, u"%d", 1.5);        double for %d
//   FormatText(out, 8, u"%ls", 3);         int for %ls
//   FormatText(out, 8, u"%d %d", 3);       missing argument
//   FormatText(out, 8, u"%s", "narrow");   no narrow strings
//   FormatText(out, 8, u"%-5ls", u"a");    no flags, width or precision for a text or a character

}  // namespace
}  // namespace ovra
