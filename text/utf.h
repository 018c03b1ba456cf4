#pragma once
// UTF-8 <-> UTF-16. Unpaired surrogates and malformed UTF-8 become U+FFFD, as the platform converters do.
#include <cstdint>

namespace ovra {

// Writes the UTF-8 form of `text` and a terminating zero byte into `out`. Returns the number of bytes without
// the terminator, or -1 when the whole text does not fit (then `out` holds an empty string).
int32_t Utf8FromUtf16(const char16_t* text, char* out, int32_t capacity);

// Writes the UTF-16 form of the first `length` bytes of `text` (a negative length: up to the zero byte) into
// `out`, cut at capacity - 1 units and terminated. Returns the number of units written.
int32_t Utf16FromUtf8(const char* text, int32_t length, char16_t* out, int32_t capacity);

}  // namespace ovra
