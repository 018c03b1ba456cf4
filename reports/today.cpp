#include "reports/today.h"

#include <ctime>

namespace ovra {
namespace {

TodaySource todaySource = nullptr;

LocalDate ClockToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    const bool ok = localtime_s(&local, &now) == 0;
#else
    const bool ok = localtime_r(&now, &local) != nullptr;
#endif
    // A clock the C library cannot break down still needs some date; the epoch is as good as any.
    if (!ok) return LocalDate{1970, 1, 1};
    return LocalDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

}  // namespace

LocalDate LocalToday() { return todaySource != nullptr ? todaySource() : ClockToday(); }

void SetTodayForTesting(TodaySource source) { todaySource = source; }

}  // namespace ovra
