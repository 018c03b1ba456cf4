#include "reports/append_line.h"

#include "text/text.h"

namespace ovra {

void AppendFixedLine(char16_t* report, int32_t capacity, const char16_t* line) {
    // The same cut as a formatted line gets from its scratch buffer: the scratch's terminator takes one unit.
    AppendUnits(report, capacity, line, LineScratchCapacity - 1);
    AppendText(report, capacity, u"\r\n");
}

void AppendLines(char16_t* report, int32_t capacity, Lines lines) {
    for (; lines != nullptr && *lines != nullptr; ++lines) AppendFixedLine(report, capacity, *lines);
}

}  // namespace ovra
