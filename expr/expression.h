#pragma once
// The expression language of formulas and conditions, evaluated while it is read.
#include <cstdint>

#include "tool/tool.h"

namespace ovra {

// Always writes `error`: 0 on success (the value is then finite), 1 on any failure. The value returned with a
// failure is part of the contract: callers show it.
double EvaluateExpression(const Tool& tool, const char* text, const double* inputValues,
                          const double* outputValues, int32_t& error);

}  // namespace ovra
