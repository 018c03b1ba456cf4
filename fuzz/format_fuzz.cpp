// Any format code, any double, any capacity from 1 up; any day number; any command line. Every text written
// must be terminated within its capacity (buffers are allocated to the exact capacity so ASan sees overruns).
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "entry/command_line.h"
#include "text/text.h"
#include "tool/format.h"

namespace {

template <class T>
T Take(const uint8_t*& data, size_t& size) {
    T value{};
    const size_t n = size < sizeof(T) ? size : sizeof(T);
    std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

void CheckTerminated(const char16_t* text, int32_t capacity) {
    for (int32_t i = 0; i < capacity; ++i) {
        if (text[i] == 0) return;
    }
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const double value = Take<double>(data, size);
    const int64_t day = Take<int64_t>(data, size);
    const int32_t capacity = 1 + Take<uint16_t>(data, size) % 300;

    // The rest: a format code up to its first zero byte, then a command line of UTF-16 units.
    const size_t codeLength = strnlen(reinterpret_cast<const char*>(data), size);
    char* code = static_cast<char*>(std::malloc(codeLength + 1));
    std::memcpy(code, data, codeLength);
    code[codeLength] = 0;
    data += codeLength < size ? codeLength + 1 : codeLength;
    size -= codeLength < size ? codeLength + 1 : codeLength;

    char16_t* out = static_cast<char16_t*>(std::malloc(sizeof(char16_t) * capacity));
    ovra::FormatValue(code, value, out, capacity);
    CheckTerminated(out, capacity);
    ovra::CivilFromDays(day, out, capacity);
    CheckTerminated(out, capacity);
    ovra::DaysFromCivil(static_cast<int32_t>(day), static_cast<int32_t>(day >> 32), static_cast<int32_t>(day >> 16));

    const size_t units = size / 2;
    char16_t* line = static_cast<char16_t*>(std::malloc(sizeof(char16_t) * (units + 1)));
    std::memcpy(line, data, units * 2);
    line[units] = 0;
    const ovra::StartRequest request = ovra::ReadCommandLine(line);
    CheckTerminated(request.reportPath, ovra::ReportPathCapacity);
    // Empty is a refused path; a path taken never holds a quote, which would make it ambiguous.
    for (const char16_t* p = request.reportPath; *p != 0; ++p) {
        if (*p == u'"') std::abort();
    }

    std::free(line);
    std::free(out);
    std::free(code);
    return 0;
}
