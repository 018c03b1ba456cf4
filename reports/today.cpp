#include "reports/today.h"

#include <ctime>

namespace ovra {
namespace {

TodaySource todaySource = nullptr;

LocalDate ClockToday() {
    const std::time_t now = std::time(nullptr);
    if (now == static_cast<std::time_t>(-1)) return UnknownDate;
    std::tm local{};
#if defined(_WIN32)
    const bool ok = localtime_s(&local, &now) == 0;
#else
    const bool ok = localtime_r(&now, &local) != nullptr;
#endif
    if (!ok) return UnknownDate;
    return LocalDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

}  // namespace

LocalDate LocalToday() { return todaySource != nullptr ? todaySource() : ClockToday(); }

void SetTodayForTesting(TodaySource source) { todaySource = source; }

}  // namespace ovra
