#pragma once
// Time from the creation of this process to the moment its window has nothing left to paint, and the processor
// time the process used until then (steadier on a busy machine), written to the file named on the command line
// as "<wall ms> <cpu ms>". The same clock for the calculator's window and for the bare yardstick.
#include <windows.h>

#include <cstdio>

namespace ovra {

// Runs the messages of the thread until none is waiting (every WM_PAINT of the window and its children
// done), then records the milliseconds since the process was created.
inline void ReportFirstPaint(const wchar_t* reportPath) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    FILETIME created, exited, kernel, user, now;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimePreciseAsFileTime(&now);
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    if (FILE* out = _wfopen(reportPath, L"w")) {
        std::fprintf(out, "%.2f %.2f\n", static_cast<double>(ticks(now) - ticks(created)) / 10000.0,
                     static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0);
        std::fclose(out);
    }
}

}  // namespace ovra
