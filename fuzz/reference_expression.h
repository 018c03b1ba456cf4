#pragma once
#include <cstdint>

#include "tool/tool.h"

namespace ovra::reference {

double EvaluateExpressionReference(const Tool& tool, const char* text, const double* inputValues,
                                   const double* outputValues, int32_t& error);

}  // namespace ovra::reference
