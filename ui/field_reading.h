#pragma once
// How a field's text becomes an input value: after leading and trailing spaces exactly one finite decimal
// number, or nothing at all (read as 0). Anything else is refused rather than guessed at.
#include <cstdint>

namespace ovra {

// Only the first FieldTextCapacity - 1 units of a field are read.
constexpr int32_t FieldTextCapacity = 128;

// False when the text is not one finite number; `value` is then left as it was.
bool NumberFromFieldText(const char16_t* text, double& value);

}  // namespace ovra
