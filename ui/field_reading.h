#pragma once
// How a field's text becomes an input value, and whether that value is one its input accepts. A field reads
// as exactly one finite decimal number after leading and trailing spaces, or as nothing at all; anything else
// is refused rather than guessed at.
#include <cstdint>

#include "tool/tool.h"

namespace ovra {

// A field is read whole or not at all: a text of FieldTextCapacity units or more is refused as not a number.
constexpr int32_t FieldTextCapacity = 128;
// What a shell reads a field into: one unit more than a field holds, so a longer text reaches ReadFieldText too
// long rather than cut to a shorter one.
constexpr int32_t FieldReadCapacity = FieldTextCapacity + 1;

enum class FieldReading { Number, Blank, NotANumber };

// Blank (nothing but spaces) sets `value` to 0; NotANumber leaves it as it was.
FieldReading ReadFieldText(const char16_t* text, double& value);

// True when input `index` has no check, or its check holds over `inputValues`; a check that fails to
// evaluate refuses.
bool PassesInputCheck(const Tool& tool, int32_t index, const double* inputValues);

}  // namespace ovra
