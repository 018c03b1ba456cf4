#pragma once
// How a field's text becomes an input value, and whether that value is one its input accepts. A field reads
// as exactly one finite decimal number after leading and trailing spaces, or as nothing at all; anything else
// is refused rather than guessed at.
#include <cstdint>

#include "tool/tool.h"

namespace ovra {

// Only the first FieldTextCapacity - 1 units of a field are read.
constexpr int32_t FieldTextCapacity = 128;

enum class FieldReading { Number, Blank, NotANumber };

// Blank (nothing but spaces) sets `value` to 0; NotANumber leaves it as it was.
FieldReading ReadFieldText(const char16_t* text, double& value);

// True when input `index` has no check, or its check holds over `inputValues`; a check that fails to
// evaluate refuses.
bool PassesInputCheck(const Tool& tool, int32_t index, const double* inputValues);

}  // namespace ovra
