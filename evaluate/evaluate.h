#pragma once
// The single evaluation path: one input vector in, report, verdict, level and detail out, into the caller's
// buffers. The verdict capacity must be at least 13 (the fallback verdict).
#include <cstdint>

#include "tool/tool.h"

namespace ovra {

int32_t EvaluateTool(const Tool& tool, const double* inputValues, char16_t* report, int32_t reportCapacity,
                     char16_t* verdict, int32_t verdictCapacity, int32_t& level, char16_t* detail,
                     int32_t detailCapacity);

}  // namespace ovra
