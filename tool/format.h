#pragma once
// Display formats of output values and the proleptic Gregorian calendar over signed 64-bit day numbers
// (day 0 is 1970-01-01).
#include <cstdint>

namespace ovra {

// code: "f0" "f1" "f2" "f3" "int" "pct" "date"; absent or anything else renders as "f2".
// A value that is not finite renders as "--".
void FormatValue(const char* code, double value, char16_t* out, int32_t capacity);

// Components are not validated: out-of-range months and days roll over arithmetically.
int64_t DaysFromCivil(int32_t year, int32_t month, int32_t day);

// Writes "%04lld-%02lld-%02lld"; defined for every 64-bit day number.
void CivilFromDays(int64_t dayNumber, char16_t* out, int32_t capacity);

}  // namespace ovra
