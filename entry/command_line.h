#pragma once
// The command-line rule: "--selftest" anywhere (case-sensitive, even inside a longer word) selects the
// self-test; the report path follows it, quoted or up to the next space.
#include <cstdint>

namespace ovra {

constexpr int32_t ReportPathCapacity = 520;
// The longest command line the platform passes, with its terminator.
constexpr int32_t CommandLineCapacity = 32768;

struct StartRequest {
    bool selfTest;
    char16_t reportPath[ReportPathCapacity];  // "selftest.txt" when none is given; empty without --selftest
};

StartRequest ReadCommandLine(const char16_t* commandLine);

// The whole command line as the platform would give it: arguments joined by spaces, each empty argument or
// one holding a space or a tab wrapped in double quotes. UTF-8 arguments; cut at the capacity.
void CommandLineFromArgs(int argc, const char* const* argv, char16_t* out, int32_t capacity);

}  // namespace ovra
