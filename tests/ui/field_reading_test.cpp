#include "ui/field_reading.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string_view>

#include "tests/ui/ui_test_support.h"

namespace ovra {
namespace {

struct ReadCase {
    const char16_t* text;
    double value;
};

TEST(FieldReading, AcceptsOneNumberBetweenSpaces) {
    static const ReadCase cases[] = {
        {u"60", 60},   {u"   60", 60},        {u"60   ", 60}, {u"", 0},       {u"    ", 0},       {u"-1.5", -1.5},
        {u"+2", 2},    {u".5", 0.5},          {u"5.", 5},     {u"1e3", 1000}, {u"1.5E-2", 0.015}, {u"0", 0},
        {u"-0", -0.0}, {u"1.7e308", 1.7e308},
    };
    for (const ReadCase& c : cases) {
        double value = -12345;
        const bool blank = std::u16string_view(c.text).find_first_not_of(u' ') == std::u16string_view::npos;
        EXPECT_EQ(ReadFieldText(c.text, value), blank ? FieldReading::Blank : FieldReading::Number) << Utf8(c.text);
        EXPECT_EQ(value, c.value) << Utf8(c.text);
    }
}

TEST(FieldReading, RefusesAnythingButOneFiniteNumber) {
    static const char16_t* const refused[] = {
        u"abc",  u"60abc", u"60 kg", u"6 0", u"1e999", u"-1e999", u"inf",  u"-inf", u"nan", u"infinity",
        u"0x10", u"+",     u"-",     u"+-5", u"1,5",   u"\t60",   u"６０", u"60。", u"e5",  u".",
    };
    for (const char16_t* text : refused) {
        double value = 42;
        EXPECT_EQ(ReadFieldText(text, value), FieldReading::NotANumber) << Utf8(text);
        EXPECT_EQ(value, 42) << "a refusal keeps the old value: " << Utf8(text);
    }
}

TEST(FieldReading, ReadsUpTo127UnitsWholeAndRefusesLonger) {
    const struct {
        size_t spaces;
        FieldReading reading;
    } cases[] = {{126, FieldReading::Number}, {127, FieldReading::NotANumber}, {300, FieldReading::NotANumber}};
    for (const auto& c : cases) {
        const std::u16string text = std::u16string(c.spaces, u' ') + u"7";
        double value = 42;
        EXPECT_EQ(ReadFieldText(text.c_str(), value), c.reading) << text.size();
        EXPECT_EQ(value, c.reading == FieldReading::Number ? 7 : 42) << text.size();
    }
}

}  // namespace
}  // namespace ovra
