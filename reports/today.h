#pragma once
// Today's local calendar date, the one clock the core reads. Tests fix it with SetTodayForTesting.
#include <cstdint>

namespace ovra {

struct LocalDate {
    int32_t year;
    int32_t month;  // 1 to 12
    int32_t day;    // 1 to 31
};

using TodaySource = LocalDate (*)();

// The date from the installed source, else from the platform clock in local time.
LocalDate LocalToday();

// Installs `source` in place of the platform clock; nullptr restores the clock. Set it before evaluating: the
// evaluation path runs on one thread and reads it unguarded.
void SetTodayForTesting(TodaySource source);

}  // namespace ovra
