#include "tool/format.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "text/format.h"
#include "text/text.h"

namespace ovra {
namespace {

struct CodeFormat {
    const char* code;
    const char* format;
};

// Compared in this order; no match gives "%.2f". "date" is handled apart.
const CodeFormat codeFormats[] = {
    {"f0", "%.0f"},
    {"f1", "%.1f"},
    {"f3", "%.3f"},
    {"int", "%.0f"},
    {"pct", "%.1f%%"},
};

struct CivilDate {
    int64_t year, month, day;
};

CivilDate CivilDateFromDays(int64_t z) {
    // Split off whole eras before adding the epoch offset, so no step can overflow for any 64-bit input.
    int64_t era = z / 146097;
    int64_t doe = z % 146097;
    if (doe < 0) doe += 146097, era -= 1;
    doe += 719468;
    era += doe / 146097;
    doe %= 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int64_t day = doy - (153 * mp + 2) / 5 + 1;
    const int64_t month = mp < 10 ? mp + 3 : mp - 9;
    return {yoe + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

// Truncation toward zero into the 64-bit range; values beyond it saturate.
int64_t DayNumberFromValue(double value) {
    if (value >= 9223372036854775808.0) return INT64_MAX;
    if (value <= -9223372036854775808.0) return INT64_MIN;
    return static_cast<int64_t>(value);
}

}  // namespace

int64_t DaysFromCivil(int32_t year, int32_t month, int32_t day) {
    // 64-bit throughout: month and day are not validated and may be anything an int32_t holds.
    int64_t y = year;
    const int64_t m = month;
    if (m <= 2) y -= 1;
    const int64_t era = (y < 0 ? y - 399 : y) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t mp = m > 2 ? m - 3 : m + 9;
    const int64_t doy = (153 * mp + 2) / 5 + day - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t dayNumber, char16_t* out, int32_t capacity) {
    const CivilDate date = CivilDateFromDays(dayNumber);
    FormatText(out, capacity, u"%04lld-%02lld-%02lld", date.year, date.month, date.day);
}

void FormatValue(const char* code, double value, char16_t* out, int32_t capacity) {
    if (capacity < 1) return;
    if (!std::isfinite(value)) {
        CopyText(out, capacity, u"--");
        return;
    }
    if (code == nullptr) code = "f2";
    if (std::strcmp(code, "date") == 0) {
        CivilFromDays(DayNumberFromValue(value), out, capacity);
        return;
    }
    const char* format = "%.2f";
    for (const CodeFormat& entry : codeFormats) {
        if (std::strcmp(code, entry.code) == 0) {
            format = entry.format;
            break;
        }
    }
    char narrow[80];
    int written = std::snprintf(narrow, sizeof narrow, format, value);
    if (written < 0 || written >= static_cast<int>(sizeof narrow)) {
        // Fixed-point text of a huge value would be cut into a different-looking number; show it in
        // exponent form instead, with the percent sign where the code has one.
        std::snprintf(narrow, sizeof narrow, std::strcmp(code, "pct") == 0 ? "%.6g%%" : "%.6g", value);
    }
    out[0] = 0;
    for (int32_t i = 0; narrow[i] != 0 && i < capacity - 1; ++i) {
        out[i] = static_cast<char16_t>(narrow[i]);
        out[i + 1] = 0;
    }
}

}  // namespace ovra
