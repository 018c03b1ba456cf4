#include "text/text.h"

#include <gtest/gtest.h>

#include <string>

namespace ovra {
namespace {

TEST(Text, BoundedAppendFillsToCapacityMinusOneAndThenStops) {
    struct Case {
        const char16_t* start;
        const char16_t* add;
        int32_t capacity;
        const char16_t* result;
    };
    const Case cases[] = {
        {u"", u"abc", 10, u"abc"},   {u"ab", u"cdef", 5, u"abcd"}, {u"abcd", u"ef", 5, u"abcd"},
        {u"", u"abc", 1, u""},       {u"a", nullptr, 5, u"a"},     {u"abc", u"", 4, u"abc"},
        {u"", u"公式：", 3, u"公式"},
    };
    for (const Case& c : cases) {
        char16_t buffer[16];
        for (char16_t& u : buffer) u = u'#';
        CopyText(buffer, 16, c.start);
        const int32_t length = AppendText(buffer, c.capacity, c.add);
        EXPECT_EQ(std::u16string(buffer), c.result);
        EXPECT_EQ(length, TextLength(c.result));
        EXPECT_EQ(buffer[length + 1], u'#');  // nothing written past the terminator
    }
}

TEST(Text, CopyCutsAndTreatsNullAsEmpty) {
    char16_t buffer[8] = {u'x', u'y', 0};
    CopyText(buffer, 4, u"abcdef");
    EXPECT_EQ(std::u16string(buffer), u"abc");
    CopyText(buffer, 8, nullptr);
    EXPECT_EQ(std::u16string(buffer), u"");
    CopyText(buffer, 0, u"abc");  // a capacity below 1 writes nothing
    EXPECT_EQ(std::u16string(buffer), u"");
    EXPECT_EQ(TextLength(nullptr), 0);
    EXPECT_TRUE(TextEquals(nullptr, u""));
    EXPECT_FALSE(TextEquals(u"ab", u"abc"));
}

TEST(Text, AppendUnitsTakesAtMostTheCount) {
    char16_t buffer[8] = {};
    AppendUnits(buffer, 8, u"abcdef", 2);
    AppendUnits(buffer, 8, u"x", 5);
    EXPECT_EQ(std::u16string(buffer), u"abx");
}

}  // namespace
}  // namespace ovra
