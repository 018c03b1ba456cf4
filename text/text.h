#pragma once
// Bounded UTF-16 texts. A capacity counts code units and includes the terminator; every writer leaves a
// terminated text of at most capacity - 1 units and cuts what does not fit. A capacity below 1 writes nothing.
#include <cstdint>

namespace ovra {

int32_t TextLength(const char16_t* text);  // nullptr counts as the empty text

// Replaces `out` with `text` (nullptr: empty), cut to capacity - 1 units.
void CopyText(char16_t* out, int32_t capacity, const char16_t* text);

// Appends `text` (nullptr: nothing) after the current content, cut at capacity - 1 units; a full buffer is
// left as it is. Returns the new length.
int32_t AppendText(char16_t* out, int32_t capacity, const char16_t* text);
// The same for the first `count` units of `text`.
int32_t AppendUnits(char16_t* out, int32_t capacity, const char16_t* text, int32_t count);

bool TextEquals(const char16_t* a, const char16_t* b);

}  // namespace ovra
