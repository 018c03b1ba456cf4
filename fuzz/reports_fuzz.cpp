// Random tools, input values, dates and capacities through every custom report builder. Every report and
// verdict must end within its capacity, and a cut report must be the start of the uncut one.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "reports/reports.h"
#include "reports/today.h"
#include "tool/tool.h"

namespace {

struct Bytes {
    const uint8_t* data;
    size_t size;
    uint8_t Next() {
        if (size == 0) return 0;
        --size;
        return *data++;
    }
    uint32_t Next32() {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) value = value << 8 | Next();
        return value;
    }
    double NextDouble() {
        uint64_t bits = static_cast<uint64_t>(Next32()) << 32 | Next32();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
};

const char* const names[] = {"nurses", "days", "start", "interval", "times",  "kind", "drugA", "drugB",
                             "gap",    "beds", "bed",   "dose",     "volume", "gtt",  "panel", "other"};
const double palette[] = {0.0,          -0.0,         1.0,           2.9,           -0.7,     9.7,       31.0, 41.0,
                          1e308,        -1e308,       1e12,          -1e12,         INFINITY, -INFINITY, NAN,  5e-324,
                          2147483647.0, 2147483648.0, -2147483648.0, -2147483649.0, 1.5,      22.0,      45.0, 100.0};
const int32_t oddNumbers[] = {0, 12, -1, 1000, INT32_MIN, INT32_MAX};

ovra::LocalDate fuzzToday{2026, 12, 8};
ovra::LocalDate FuzzToday() { return fuzzToday; }

// The terminator lies within the first `capacity` units.
bool Terminated(const char16_t* text, int32_t capacity) {
    for (int32_t i = 0; i < capacity; ++i) {
        if (text[i] == 0) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Bytes bytes{data, size};
    const uint8_t pick = bytes.Next();
    const int32_t number = pick < 220 ? 1 + pick % 11 : oddNumbers[pick % 6];
    const int32_t reportCapacity = 1 + static_cast<int32_t>((bytes.Next() << 8 | bytes.Next()) % 9000);
    const uint8_t verdictPick = bytes.Next();
    const int32_t verdictCapacity = verdictPick < 128 ? 512 : 1 + verdictPick % 32;
    fuzzToday = ovra::LocalDate{static_cast<int32_t>(bytes.Next32()), 1 + bytes.Next() % 12, 1 + bytes.Next() % 31};
    ovra::SetTodayForTesting(FuzzToday);

    ovra::InputField inputs[ovra::MaxInputs] = {};
    double values[ovra::MaxInputs] = {};
    const int32_t inputCount = bytes.Next() % (ovra::MaxInputs + 1);
    for (int32_t i = 0; i < inputCount; ++i) {
        inputs[i].name = names[bytes.Next() % 16];
        const uint8_t tag = bytes.Next();
        values[i] = tag < 200 ? palette[tag % 24] : bytes.NextDouble();
    }
    ovra::Tool tool{};
    tool.inputCount = inputCount;
    tool.inputs = inputs;
    tool.customReport = number;

    // Exactly sized heap buffers, so a write past the capacity is an ASan finding.
    char16_t* report = new char16_t[reportCapacity];
    char16_t* verdict = new char16_t[verdictCapacity];
    const int32_t level =
        ovra::BuildCustomReport(number, tool, values, report, reportCapacity, verdict, verdictCapacity);
    if (!Terminated(report, reportCapacity) || !Terminated(verdict, verdictCapacity)) std::abort();
    if (level < 0 || level > 3) std::abort();

    static char16_t whole[9001];
    static char16_t wholeVerdict[512];
    const int32_t wholeLevel = ovra::BuildCustomReport(number, tool, values, whole, 9001, wholeVerdict, 512);
    if (wholeLevel != level) std::abort();
    for (int32_t i = 0; report[i] != 0; ++i) {
        if (report[i] != whole[i]) std::abort();
    }
    delete[] verdict;
    delete[] report;
    return 0;
}
