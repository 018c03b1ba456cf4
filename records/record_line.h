#pragma once
// One line of the per-tool CSV log: UTF-8 once written, CR LF at its end, cells that need it quoted (RFC 4180),
// every cell cut to its limit before it is quoted, so quoting never changes what is kept.
#include <cstdint>

#include "tool/tool.h"

namespace ovra {

struct LocalTime {
    int32_t year, month, day, hour, minute, second;
};

// Room for the longest record of the data model with every cell quoted; longer lines are cut.
constexpr int32_t RecordLineCapacity = 4096;
constexpr int32_t ReportCellLimit = 254;  // units of the report that reach the file
constexpr int32_t InputCellLimit = 126;   // units of "label=value" and of a header label

void BuildHeaderLine(const Tool& tool, char16_t* out, int32_t capacity);
// Each input as "label=value", the value in the shortest "%g"-like text that reads back as the same double.
void BuildRecordLine(const Tool& tool, const LocalTime& time, const double* inputValues, const char16_t* report,
                     char16_t* out, int32_t capacity);

}  // namespace ovra
