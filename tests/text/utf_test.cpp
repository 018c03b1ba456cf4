#include "text/utf.h"

#include <gtest/gtest.h>

#include <string>

namespace ovra {
namespace {

TEST(Utf, RoundTripsEveryPlane) {
    const std::u16string text = u"ABCD2：3 分 ≥ 😀 é";
    char bytes[64];
    const int32_t size = Utf8FromUtf16(text.c_str(), bytes, sizeof bytes);
    EXPECT_EQ(std::string(bytes, size), std::string("ABCD2\xEF\xBC\x9A" "3 \xE5\x88\x86 \xE2\x89\xA5 \xF0\x9F\x98\x80 \xC3\xA9"));
    char16_t back[64];
    EXPECT_EQ(Utf16FromUtf8(bytes, -1, back, 64), static_cast<int32_t>(text.size()));
    EXPECT_EQ(std::u16string(back), text);
}

TEST(Utf, Utf8RefusesWhatDoesNotFitWhole) {
    char bytes[4];
    EXPECT_EQ(Utf8FromUtf16(u"abc", bytes, 4), 3);
    EXPECT_EQ(Utf8FromUtf16(u"abcd", bytes, 4), -1);
    EXPECT_EQ(bytes[0], 0);
    EXPECT_EQ(Utf8FromUtf16(u"分", bytes, 3), -1);  // three bytes and the terminator need four
}

TEST(Utf, MalformedInputBecomesReplacementCharacters) {
    const char16_t lone[] = {u'a', 0xD800, u'b', 0xDC00, 0};
    char bytes[32];
    EXPECT_EQ(std::string(bytes, Utf8FromUtf16(lone, bytes, 32)), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
    struct Case {
        const char* utf8;
        std::u16string utf16;
    };
    const Case cases[] = {
        {"\xFF", u"\uFFFD"},           {"\xC0\xAF", u"\uFFFD\uFFFD"},  // overlong
        {"\xE2\x82", u"\uFFFD"},       {"\xED\xA0\x80", u"\uFFFD"},    // truncated; encoded surrogate
        {"a\x80z", u"a\uFFFDz"},       {"\xF4\x90\x80\x80", u"\uFFFD"},  // past U+10FFFF
    };
    for (const Case& c : cases) {
        char16_t out[16];
        Utf16FromUtf8(c.utf8, -1, out, 16);
        EXPECT_EQ(std::u16string(out), c.utf16) << c.utf8;
    }
}

TEST(Utf, Utf16CutNeverSplitsAPair) {
    char16_t out[3];
    EXPECT_EQ(Utf16FromUtf8("a\xF0\x9F\x98\x80", -1, out, 3), 1);
    EXPECT_EQ(std::u16string(out), u"a");
    EXPECT_EQ(Utf16FromUtf8("abc", 2, out, 3), 2);  // a byte length stops early
}

}  // namespace
}  // namespace ovra
