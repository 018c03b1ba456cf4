#pragma once
// The line appender of every report builder. A line is cut at LineLimit units; the line and its CR LF then go
// into the report by the bounded-append rule, so with one free place only the CR fits and a full report drops
// everything after it without notice.
#include <cstdint>
#include <type_traits>

#include "text/format.h"

namespace ovra {

constexpr int32_t LineScratchCapacity = 512;

// Appends `line` verbatim (a '%' stays one '%'), then CR LF.
void AppendFixedLine(char16_t* report, int32_t capacity, const char16_t* line);

// Lists of lines end with nullptr; u"" is an empty line.
using Lines = const char16_t* const*;
void AppendLines(char16_t* report, int32_t capacity, Lines lines);

// Appends the formatted line, then CR LF. Fixed lines go through AppendFixedLine, never through here as a
// format, so the format check stays meaningful.
template <class... Args>
requires(sizeof...(Args) > 0) void AppendLine(char16_t* report, int32_t capacity,
                                              CheckedFormat<std::type_identity_t<Args>...> format,
                                              const Args&... args) {
    char16_t line[LineScratchCapacity];
    FormatText(line, LineScratchCapacity, format, args...);
    AppendFixedLine(report, capacity, line);
}

}  // namespace ovra
