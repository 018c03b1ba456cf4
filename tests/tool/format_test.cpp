#include "tool/format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace ovra {
namespace {

std::u16string Format(const char* code, double value, int32_t capacity = 128) {
    char16_t out[256];
    for (char16_t& c : out) c = u'#';
    FormatValue(code, value, out, capacity);
    EXPECT_LT(std::char_traits<char16_t>::length(out), static_cast<size_t>(capacity));
    return out;
}

TEST(FormatValue, Codes) {
    struct Case {
        const char* code;
        double value;
        const char16_t* text;
    };
    const Case cases[] = {
        {"f0", 3, u"3"},         {"f1", 3.14159, u"3.1"},  {"f2", 3.14159, u"3.14"}, {"f3", 3.14159, u"3.142"},
        {"int", 2.7, u"3"},      {"f0", 2.7, u"3"},        {"int", -2.7, u"-3"},     {"f0", -0.4, u"-0"},
        {"f0", -0.0, u"-0"},     {"pct", 0.5, u"0.5%"},    {"pct", 12.34, u"12.3%"}, {nullptr, 3.14159, u"3.14"},
        {"", 1, u"1.00"},        {"F0", 3, u"3.00"},       {"f0 ", 3, u"3.00"},      {"date", 0, u"1970-01-01"},
        {"date", -1, u"1969-12-31"}, {"date", 11016, u"2000-02-29"}, {"date", 19723, u"2024-01-01"},
        {"date", 19723.9, u"2024-01-01"}, {"date", -0.5, u"1970-01-01"}, {"date", -1.5, u"1969-12-31"},
        {"date", -719162, u"0001-01-01"}, {"date", -719528, u"0000-01-01"}, {"date", -719893, u"-001-01-01"},
        {"date", 2932896, u"9999-12-31"},
    };
    for (const Case& c : cases) EXPECT_EQ(Format(c.code, c.value), c.text) << (c.code ? c.code : "null") << c.value;
}

TEST(FormatValue, NonFiniteIsTwoDashesForEveryCode) {
    const char* codes[] = {"f0", "f1", "f2", "f3", "int", "pct", "date", nullptr, "x"};
    for (const char* code : codes) {
        for (double v : {NAN, INFINITY, -INFINITY}) EXPECT_EQ(Format(code, v), u"--");
    }
}

TEST(FormatValue, HugeValuesStayReadableAndBounded) {
    // Fixed-point text of 1e308 would not fit 80 bytes; exponent form is shown rather than a cut number.
    EXPECT_EQ(Format("f3", 1e308), u"1e+308");
    EXPECT_EQ(Format("pct", -1e300), u"-1e+300%");
    EXPECT_EQ(Format("f3", -1e73).find(u'e'), std::u16string::npos);  // below 1e74 the fixed form fits
    for (double v : {1e308, -1e308, 9.3e18, -9.3e18, 1e19, 5e-324}) {
        for (const char* code : {"f0", "f3", "pct", "date"}) {
            for (int32_t capacity : {1, 2, 3, 7, 80, 128}) Format(code, v, capacity);
        }
    }
    // Beyond the 64-bit day range the day number saturates instead of overflowing.
    EXPECT_EQ(Format("date", 1e300, 128), Format("date", 9.3e18, 128));
}

TEST(FormatValue, SmallCapacitiesCut) {
    EXPECT_EQ(Format("f2", 3.14159, 3), u"3.");
    EXPECT_EQ(Format("date", 0, 5), u"1970");
    EXPECT_EQ(Format("f0", NAN, 2), u"-");
    EXPECT_EQ(Format("f0", 3, 1), u"");
}

TEST(CivilDates, KnownDays) {
    EXPECT_EQ(DaysFromCivil(1970, 1, 1), 0);
    EXPECT_EQ(DaysFromCivil(2000, 3, 1), 11017);
    EXPECT_EQ(DaysFromCivil(2100, 2, 29), DaysFromCivil(2100, 3, 1));
    EXPECT_EQ(DaysFromCivil(2100, 3, 1), 47541);
    EXPECT_EQ(DaysFromCivil(1, 1, 1), -719162);
    EXPECT_EQ(DaysFromCivil(2023, 2, 29), DaysFromCivil(2023, 3, 1));  // rolls over
    EXPECT_EQ(DaysFromCivil(2024, 3, 0), DaysFromCivil(2024, 2, 29));  // day 0: last day of the month before
    EXPECT_EQ(DaysFromCivil(2024, 13, 1), DaysFromCivil(2025, 1, 1));  // month 13: January next year
}

TEST(CivilDates, ExtremeArgumentsDoNotOverflow) {
    // Under UBSan any signed overflow here aborts the test.
    DaysFromCivil(INT32_MIN, INT32_MIN, INT32_MIN);
    DaysFromCivil(INT32_MAX, INT32_MAX, INT32_MAX);
    char16_t out[64];
    for (int64_t z : {INT64_MIN, INT64_MIN + 1, int64_t{-1}, INT64_MAX - 719468, INT64_MAX}) {
        CivilFromDays(z, out, 64);
        EXPECT_GT(std::char_traits<char16_t>::length(out), 9u);
    }
    CivilFromDays(INT64_MAX, out, 64);
    EXPECT_EQ(std::u16string(out), u"25252734927768524-07-27");
    CivilFromDays(INT64_MIN, out, 64);
    EXPECT_EQ(std::u16string(out), u"-25252734927764585-06-07");
}

TEST(CivilDates, EveryDayFromYearOneToNineThousandNineHundredNinetyNineRoundTrips) {
    char16_t out[32];
    for (int64_t z = -719162; z <= 2932896; ++z) {
        CivilFromDays(z, out, 32);
        // Parse the "YYYY-MM-DD" just written.
        int32_t y = 0, m = 0, d = 0;
        for (int i = 0; i < 4; ++i) y = y * 10 + (out[i] - u'0');
        m = (out[5] - u'0') * 10 + (out[6] - u'0');
        d = (out[8] - u'0') * 10 + (out[9] - u'0');
        ASSERT_EQ(DaysFromCivil(y, m, d), z) << z;
        ASSERT_EQ(out[10], 0) << z;
    }
}

}  // namespace
}  // namespace ovra
