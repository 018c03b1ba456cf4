#pragma once
// Today's local calendar date, the one clock the core reads. Tests fix it with SetTodayForTesting.
#include <cstdint>

namespace ovra {

struct LocalDate {
    int32_t year;
    int32_t month;  // 1 to 12; 0 in UnknownDate
    int32_t day;    // 1 to 31
};

// What the clock gives when the platform cannot say what day it is: no date, rather than an invented one.
constexpr LocalDate UnknownDate = {0, 0, 0};
constexpr bool IsKnownDate(const LocalDate& date) { return date.month != 0; }

using TodaySource = LocalDate (*)();

// The date from the installed source, else from the platform clock in local time; UnknownDate when the clock
// or its conversion to local time fails.
LocalDate LocalToday();

// Installs `source` in place of the platform clock; nullptr restores the clock. Set it before evaluating: the
// evaluation path runs on one thread and reads it unguarded.
void SetTodayForTesting(TodaySource source);

}  // namespace ovra
