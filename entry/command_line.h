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
    // "selftest.txt" when none is given. Empty without --selftest, and empty when the path given cannot be held
    // whole (longer than 519 units, a double quote inside it, or more text right after its closing quote):
    // the self-test then writes nothing and exits with SelfTestNotWritten.
    char16_t reportPath[ReportPathCapacity];
};

StartRequest ReadCommandLine(const char16_t* commandLine);

// The whole command line as the platform would give it: arguments joined by spaces, each empty argument or
// one holding a space, a tab or a double quote wrapped in double quotes, with its quotes doubled. UTF-8
// arguments. A line cut at the capacity ends in three double quotes.
void CommandLineFromArgs(int argc, const char* const* argv, char16_t* out, int32_t capacity);

}  // namespace ovra
