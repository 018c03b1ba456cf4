#pragma once
// Custom reports: tools whose result is a generated text rather than formulas and rules.
#include <cstdint>

#include "tool/tool.h"

namespace ovra {

// Empties report and verdict, runs the builder of `number` and returns its level.
int32_t BuildCustomReport(int32_t number, const Tool& tool, const double* inputValues, char16_t* report,
                          int32_t reportCapacity, char16_t* verdict, int32_t verdictCapacity);

// The value of the first input named `name`; 0 when the tool has none.
double InputValueByName(const Tool& tool, const double* inputValues, const char* name);

// Truncates toward zero; NaN and values outside the int32_t range give INT32_MIN.
int32_t ToSelector(double value);

}  // namespace ovra
